// A file read front to back through a window of whole lines: a reader holds a chunk of a large
// file at a time instead of all of it, and never sees a line cut at the window's end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kv {

class LineWindowFile {
 public:
  static constexpr size_t kDefaultChunkBytes = size_t{256} << 10;

  explicit LineWindowFile(size_t chunkBytes = kDefaultChunkBytes)
      : chunkBytes_(chunkBytes == 0 ? 1 : chunkBytes) {}
  ~LineWindowFile();
  LineWindowFile(const LineWindowFile&) = delete;
  LineWindowFile& operator=(const LineWindowFile&) = delete;

  // Opens the file and fills the first window; false when it cannot be opened.
  bool Open(const std::string& path);
  // The file's size when it was opened.
  uint64_t size() const { return size_; }

  // The bytes read and not yet dropped. Unless the file's end has been read, the window holds
  // at least one line end that is not its last byte, so that a CR LF pair is never split.
  std::string_view view() const { return {buffer_.data() + start_, end_ - start_}; }
  // Offset in the file of the window's first byte.
  uint64_t offset() const { return offset_; }
  // The window reaches the end of the file (or a read error ended it early).
  bool atEnd() const { return atEnd_; }

  // Drops the first `consumed` bytes of the window and reads on until the window again holds a
  // whole line, or the rest of the file.
  void Advance(size_t consumed);

 private:
  bool HoldsWholeLine();
  void ReadChunk();

  std::FILE* file_ = nullptr;
  size_t chunkBytes_;
  std::string buffer_;
  size_t start_ = 0, end_ = 0;
  // Bytes of the window already searched for a line end without finding a whole line, so
  // that a very long line is searched once, not once per chunk.
  size_t searched_ = 0;
  uint64_t offset_ = 0;
  uint64_t size_ = 0;
  bool atEnd_ = false;
};

}  // namespace kv
