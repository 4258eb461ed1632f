// Shift_JIS <-> UTF-8 through iconv.
#include "io/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace kv {

namespace {

// iconv descriptor that is closed on every path out.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  // iconv_open reports failure with the pointer value -1.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as possible; on an invalid or unconvertible sequence returns false with
  // `in` pointing at it, unless the input simply ended.
  bool Step(const char*& in, size_t& inLeft, std::string& out) {
    char buffer[1024];
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t rc = iconv(cd_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (rc == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

size_t Utf8Length(unsigned char lead) {
  return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// The code page of the files; C libraries that do not know the Windows name (the one the web
// viewer is built with) know its Shift_JIS core.
const char* FileCodePage() {
  static const char* const name = [] {
    const Converter probe("UTF-8", "CP932");
    return probe.ok() ? "CP932" : "SHIFT_JIS";
  }();
  return name;
}

}  // namespace

std::string Utf8ToShiftJis(std::string_view utf8) {
  std::string out;
  Converter conv(FileCodePage(), "UTF-8");
  if (!conv.ok()) return std::string(utf8);
  const char* in = utf8.data();
  size_t left = utf8.size();
  while (!conv.Step(in, left, out)) {
    // Skip the character that has no Shift_JIS form.
    out.push_back('?');
    const size_t skip = std::min(left, Utf8Length(static_cast<unsigned char>(*in)));
    in += skip;
    left -= skip;
  }
  return out;
}

std::optional<std::string> ShiftJisToUtf8(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size());
  Converter conv("UTF-8", FileCodePage());
  if (!conv.ok()) return std::nullopt;
  // Figure files are mostly ASCII, which reads the same in both: only the runs of Shift_JIS
  // characters go through the converter. A lead byte takes its trail byte with it, which may
  // look like ASCII, so runs end only at character boundaries.
  size_t i = 0;
  while (i < sjis.size()) {
    size_t end = i;
    while (end < sjis.size() && static_cast<unsigned char>(sjis[end]) < 0x80) ++end;
    if (end > i) {
      out.append(sjis.data() + i, end - i);
      i = end;
      continue;
    }
    while (end < sjis.size() && static_cast<unsigned char>(sjis[end]) >= 0x80) {
      const unsigned char lead = static_cast<unsigned char>(sjis[end]);
      const bool twoBytes = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
      end += twoBytes ? 2 : 1;
    }
    end = std::min(end, sjis.size());
    const char* in = sjis.data() + i;
    size_t left = end - i;
    if (!conv.Step(in, left, out)) return std::nullopt;
    i = end;
  }
  return out;
}

}  // namespace kv
