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

ShiftJisDecoder::ShiftJisDecoder() : cd_(iconv_open("UTF-8", FileCodePage())) {}

ShiftJisDecoder::~ShiftJisDecoder() {
  if (cd_ != reinterpret_cast<void*>(-1)) iconv_close(static_cast<iconv_t>(cd_));
}

std::optional<std::string> ShiftJisDecoder::operator()(std::string_view sjis) {
  if (std::all_of(sjis.begin(), sjis.end(), [](char c) { return (c & 0x80) == 0; }))
    return std::string(sjis);
  if (cd_ == reinterpret_cast<void*>(-1)) return std::nullopt;
  iconv_t cd = static_cast<iconv_t>(cd_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  const char* in = sjis.data();
  size_t left = sjis.size();
  char buffer[256];
  while (left > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t rc = iconv(cd, const_cast<char**>(&in), &left, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) return std::nullopt;
  }
  return out;
}

namespace {

// Length of the valid UTF-8 sequence at bytes[i], 0 when there is none.
size_t Utf8SequenceAt(std::string_view bytes, size_t i) {
  const unsigned char lead = static_cast<unsigned char>(bytes[i]);
  size_t len;
  unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + len > bytes.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const unsigned char c = static_cast<unsigned char>(bytes[i + k]);
    if (k == 1 ? (c < low || c > high) : (c < 0x80 || c > 0xBF)) return 0;
  }
  return len;
}

// Valid UTF-8; `longest` is the length of the longest sequence met.
bool ScanUtf8(std::string_view bytes, size_t& longest) {
  longest = 0;
  for (size_t i = 0; i < bytes.size();) {
    const size_t len = Utf8SequenceAt(bytes, i);
    if (len == 0) return false;
    longest = std::max(longest, len);
    i += len;
  }
  return true;
}

// Shift_JIS structure as code page 932 defines it: single bytes 00-7F and A1-DF, double bytes
// with a lead in 81-9F or E0-FC and a trail in 40-7E or 80-FC.
bool IsShiftJisStructure(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) continue;
    if (!((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))) return false;
    if (++i >= bytes.size()) return false;
    const unsigned char t = static_cast<unsigned char>(bytes[i]);
    if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
  }
  return true;
}

}  // namespace

bool IsUtf8WithNonAscii(std::string_view bytes) {
  size_t longest = 0;
  return ScanUtf8(bytes, longest) && longest > 1;
}

bool LooksLikeUtf8(std::string_view bytes) {
  size_t longest = 0;
  if (!ScanUtf8(bytes, longest) || longest < 2) return false;
  return longest >= 3 || !IsShiftJisStructure(bytes);
}

void Utf8Judgement::Add(std::string_view piece) {
  if (!validUtf8_) return;
  size_t longest = 0;
  validUtf8_ = ScanUtf8(piece, longest);
  longest_ = std::max(longest_, longest);
  // Only needed when no piece has a three-byte character; the scan is cheap next to reading.
  if (shiftJisStructure_ && longest_ < 3) shiftJisStructure_ = IsShiftJisStructure(piece);
}

bool Utf8Judgement::LooksLikeUtf8() const {
  if (!validUtf8_ || longest_ < 2) return false;
  return longest_ >= 3 || !shiftJisStructure_;
}

}  // namespace kv
