// Conversion between the UTF-8 text the program holds and the Shift_JIS (code page 932) text of
// figure files, settings and other text files on disk, through iconv.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Converts UTF-8 to Shift_JIS. Characters without a Shift_JIS form become "?" so that a
// write never fails on a name; invalid UTF-8 bytes are replaced the same way.
std::string Utf8ToShiftJis(std::string_view utf8);
// Converts Shift_JIS to UTF-8; nullopt when the bytes are not valid Shift_JIS.
std::optional<std::string> ShiftJisToUtf8(std::string_view sjis);

// Converts many short Shift_JIS texts (the fields of one file) through one conversion
// descriptor; texts in plain ASCII are passed through without conversion.
class ShiftJisDecoder {
 public:
  ShiftJisDecoder();
  ~ShiftJisDecoder();
  ShiftJisDecoder(const ShiftJisDecoder&) = delete;
  ShiftJisDecoder& operator=(const ShiftJisDecoder&) = delete;
  // nullopt when the bytes are not valid Shift_JIS.
  std::optional<std::string> operator()(std::string_view sjis);

 private:
  void* cd_;  // iconv_t
};

// True when the bytes are valid UTF-8 with at least one character outside ASCII.
bool IsUtf8WithNonAscii(std::string_view bytes);
// True when a text file is almost certainly UTF-8 rather than Shift_JIS: every byte outside
// ASCII belongs to a valid UTF-8 sequence, and either a sequence of three or more bytes occurs
// (every Japanese character and sign takes three) or the bytes are not valid Shift_JIS at all.
// Shift_JIS text practically never passes: its kana and most kanji begin with bytes that
// cannot begin a UTF-8 character. Two-byte sequences alone are not enough, since pairs of
// half-width katakana in Shift_JIS can form them.
bool LooksLikeUtf8(std::string_view bytes);

// The same judgement over a file read in pieces. Each piece must end at a line end (or the
// file's end): no character of either encoding holds a CR or LF byte, so none is cut there.
class Utf8Judgement {
 public:
  void Add(std::string_view piece);
  bool LooksLikeUtf8() const;

 private:
  bool validUtf8_ = true;
  bool shiftJisStructure_ = true;
  size_t longest_ = 0;
};

}  // namespace kv
