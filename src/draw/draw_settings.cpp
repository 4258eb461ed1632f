#include "draw/draw_settings.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace kv {

namespace {

// Entries 8..15 of the classic 16-colour console palette.
constexpr Rgb kConsoleBright[8] = {{128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                                   {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};

// Integer part of a value, kept inside the int range so that huge entries clamp instead of
// overflowing.
long long IntegerPart(double v) {
  if (!std::isfinite(v)) return 0;
  if (v > 1e9) return 1000000000;
  if (v < -1e9) return -1000000000;
  return static_cast<long long>(std::trunc(v));
}

}  // namespace

bool PaletteColour(const DrawSettings& settings, int index, Rgb& out) {
  // A strength outside 1..255 (0 from an old settings file) draws at full strength.
  int s = settings.ColorStrength;
  uint8_t a = (s < 1 || s > 255) ? 255 : uint8_t(s);
  switch (index) {
    case 0:
      out = settings.background;
      return true;
    case 1:
      out = {a, 0, 0};
      return true;
    case 2:
      out = {0, a, 0};
      return true;
    case 3:
      out = {a, a, 0};
      return true;
    case 4:
      out = {0, 0, a};
      return true;
    case 5:
      out = {a, 0, a};
      return true;
    case 6:
      out = {0, a, a};
      return true;
    case 7:
      out = kBlack;
      return true;
    default:
      if (index >= 8 && index <= 15) {
        out = kConsoleBright[index - 8];
        return true;
      }
      out = kBlack;
      return false;
  }
}

double EntryValue(std::string_view entry) {
  size_t i = 0;
  while (i < entry.size() && (entry[i] == ' ' || entry[i] == '\t')) ++i;
  std::string digits;
  size_t j = i;
  if (j < entry.size() && (entry[j] == '+' || entry[j] == '-')) digits += entry[j++];
  bool seenDigit = false, seenPoint = false;
  for (; j < entry.size(); ++j) {
    char ch = entry[j];
    if (ch >= '0' && ch <= '9') {
      digits += ch;
      seenDigit = true;
    } else if (ch == '.' && !seenPoint) {
      digits += ch;
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!seenDigit) return 0;
  // An exponent is taken only when digits follow it.
  if (j + 1 < entry.size() && (entry[j] == 'e' || entry[j] == 'E')) {
    size_t k = j + 1;
    std::string exponent = "e";
    if (entry[k] == '+' || entry[k] == '-') exponent += entry[k++];
    size_t start = k;
    while (k < entry.size() && entry[k] >= '0' && entry[k] <= '9') exponent += entry[k++];
    if (k > start) digits += exponent;
  }
  return std::strtod(digits.c_str(), nullptr);
}

int ColorStrengthFromEntry(std::string_view entry) {
  long long v = IntegerPart(EntryValue(entry));
  return (v < 1 || v > 255) ? 255 : int(v);
}

int DrawWidthFromEntry(std::string_view entry) {
  long long v = IntegerPart(EntryValue(entry));
  return v < 1 ? 1 : v > 10 ? 10 : int(v);
}

int FontSizeFromEntry(std::string_view entry) {
  double v = EntryValue(entry);
  if (!(v >= 6)) v = 6;  // also catches a non-number
  if (v > 100) v = 100;
  return int(std::trunc(v));
}

int KetaDecimalFromEntry(std::string_view entry) {
  long long v = IntegerPart(EntryValue(entry));
  return v < 0 ? 0 : v > kMaxKetaDecimal ? kMaxKetaDecimal : int(v);
}

}  // namespace kv
