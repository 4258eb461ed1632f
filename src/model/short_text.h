// A text in eight bytes, for the texts of the number records: up to seven bytes are held in
// the object itself and longer texts in one heap block. Almost every number has an empty or
// short name and no expression, so a figure of a million numbers needs tens of megabytes for
// its number table instead of a hundred.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

class ShortText {
 public:
  ShortText() noexcept { SetEmpty(); }
  // Converts from and to string views implicitly, as a string does.
  ShortText(std::string_view text) { Store(text); }
  ShortText(const std::string& text) : ShortText(std::string_view(text)) {}
  ShortText(const char* text) : ShortText(std::string_view(text)) {}
  ShortText(const ShortText& other) { Store(other.view()); }
  ShortText(ShortText&& other) noexcept {
    std::memcpy(bytes_, other.bytes_, sizeof bytes_);
    other.SetEmpty();
  }
  ~ShortText() { Release(); }

  ShortText& operator=(const ShortText& other) {
    if (this != &other) *this = other.view();
    return *this;
  }
  ShortText& operator=(ShortText&& other) noexcept {
    if (this != &other) {
      Release();
      std::memcpy(bytes_, other.bytes_, sizeof bytes_);
      other.SetEmpty();
    }
    return *this;
  }
  // The text may be a part of this one: the new text is made before the old one goes.
  ShortText& operator=(std::string_view text) {
    ShortText made(text);
    return *this = std::move(made);
  }
  ShortText& operator=(const std::string& text) { return *this = std::string_view(text); }
  ShortText& operator=(const char* text) { return *this = std::string_view(text); }

  std::string_view view() const noexcept {
    if (IsInline()) return {reinterpret_cast<const char*>(bytes_) + 1, size_t{bytes_[0]} >> 1};
    const char* block = Block();
    uint32_t size;
    std::memcpy(&size, block, sizeof size);
    return {block + sizeof size, size};
  }
  operator std::string_view() const noexcept { return view(); }
  std::string str() const { return std::string(view()); }
  bool empty() const noexcept { return view().empty(); }
  size_t size() const noexcept { return view().size(); }

  friend bool operator==(const ShortText& a, const ShortText& b) noexcept {
    return a.view() == b.view();
  }
  friend bool operator==(const ShortText& a, std::string_view b) noexcept { return a.view() == b; }
  friend bool operator==(const ShortText& a, const std::string& b) noexcept {
    return a.view() == b;
  }
  friend bool operator==(const ShortText& a, const char* b) noexcept {
    return a.view() == std::string_view(b);
  }

 private:
  // Inline: byte 0 holds the length times two plus one, bytes 1 to 7 the text. Otherwise the
  // bytes hold the pointer to a block (a 32-bit length, then the text), whose lowest bit is 0
  // because blocks are aligned; on a little-endian machine that bit lies in byte 0.
  static_assert(std::endian::native == std::endian::little);
  static_assert(sizeof(char*) <= 8);
  static constexpr size_t kInlineBytes = 7;

  bool IsInline() const noexcept { return (bytes_[0] & 1) != 0; }
  void SetEmpty() noexcept {
    std::memset(bytes_, 0, sizeof bytes_);
    bytes_[0] = 1;
  }
  char* Block() const noexcept {
    char* block;
    std::memcpy(&block, bytes_, sizeof block);
    return block;
  }
  void Store(std::string_view text) {
    if (text.size() <= kInlineBytes) {
      SetEmpty();
      bytes_[0] = static_cast<unsigned char>(text.size() << 1 | 1);
      if (!text.empty()) std::memcpy(bytes_ + 1, text.data(), text.size());
      return;
    }
    if (text.size() > UINT32_MAX) throw std::length_error("ShortText");
    const auto size = static_cast<uint32_t>(text.size());
    char* block = static_cast<char*>(::operator new(sizeof size + text.size()));
    std::memcpy(block, &size, sizeof size);
    std::memcpy(block + sizeof size, text.data(), text.size());
    std::memset(bytes_, 0, sizeof bytes_);
    std::memcpy(bytes_, &block, sizeof block);
  }
  void Release() noexcept {
    if (!IsInline()) ::operator delete(Block());
  }

  alignas(8) unsigned char bytes_[8];
};

std::ostream& operator<<(std::ostream& out, const ShortText& text);

}  // namespace kv
