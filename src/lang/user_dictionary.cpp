// Reading the user dictionary and appending to the list of untranslated texts.
#include "lang/user_dictionary.h"

#include <iconv.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <vector>

#include "lang/translate.h"

namespace kv {
namespace {

// Only an "=" among the first characters of a line separates key and translation, so that a
// long text with an "=" far inside it is not mistaken for an entry.
constexpr int kSeparatorWindow = 99;

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    auto c = static_cast<unsigned char>(s[i]);
    std::size_t extra;
    if (c < 0x80)
      extra = 0;
    else if (c >= 0xC2 && c <= 0xDF)
      extra = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      extra = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      extra = 3;
    else
      return false;
    if (s.size() - i - 1 < extra) return false;
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

// Converts with iconv; unconvertible input is replaced by "?" so that a damaged file still
// yields its readable lines.
std::string Convert(std::string_view in, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  std::vector<char> buf(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  while (srcLeft > 0) {
    char* dst = buf.data();
    std::size_t dstLeft = buf.size();
    std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf.data(), dst);
    if (r == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // Invalid or incomplete sequence: skip one byte (or one UTF-8 character) and go on.
      out += '?';
      std::size_t skip = 1;
      if (std::string_view(from) == "UTF-8")
        while (skip < srcLeft && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
      src += skip;
      srcLeft -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

// Byte offset of the first "=" among the first kSeparatorWindow characters, or npos.
std::size_t SeparatorOffset(std::string_view line) {
  int chars = 0;
  for (std::size_t i = 0; i < line.size() && chars < kSeparatorWindow; ++i) {
    auto c = static_cast<unsigned char>(line[i]);
    if ((c & 0xC0) == 0x80) continue;  // continuation byte of the same character
    if (c == '=') return i;
    ++chars;
  }
  return std::string_view::npos;
}

}  // namespace

std::string DecodeTextFile(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Convert(bytes, "CP932", "UTF-8");
}

std::string EncodeShiftJis(std::string_view utf8) { return Convert(utf8, "UTF-8", "CP932"); }

int ParseUserDictionary(std::string_view text, DictionaryMap& dict) {
  int added = 0;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::size_t eq = SeparatorOffset(line);
    if (eq == std::string_view::npos) continue;
    std::string_view key = TrimBlanks(line.substr(0, eq));
    std::string_view value = TrimBlanks(line.substr(eq + 1));
    if (key.empty() || value.empty()) continue;
    if (dict.try_emplace(std::string(key), std::string(value)).second) ++added;
  }
  return added;
}

bool LoadUserDictionary(const std::filesystem::path& path, DictionaryMap& dict) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string_view rest(bytes);
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
  // Decoded line by line: a user may have pasted lines of the Shift_JIS needed list into a
  // UTF-8 dictionary. Neither "=" nor a line end occurs inside a Shift_JIS character.
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    ParseUserDictionary(DecodeTextFile(rest.substr(0, end)), dict);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
  }
  return true;
}

bool AppendNeededText(const std::filesystem::path& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) return false;
  out << EncodeShiftJis(std::string(text) + " = ") << "\r\n";
  return static_cast<bool>(out);
}

}  // namespace kv
