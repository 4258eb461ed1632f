#include "draw/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "draw/draw_settings.h"

namespace kv {

namespace {

constexpr int kSignificant = 15;  // the digits a double shows in decimal

// Writes |value| rounded to `decimals` places as integer digits, ".", and exactly `decimals`
// digits into buf (large enough for any double). Returns the length.
int FormatMagnitude(double magnitude, int decimals, char* buf) {
  char sci[40];
  std::snprintf(sci, sizeof sci, "%.*e", kSignificant - 1, magnitude);
  // sci = d.dddddddddddddde[+-]XX
  char mant[kSignificant];
  int m = 0;
  const char* p = sci;
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9' && m < kSignificant) mant[m++] = *p;
  int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
  if (magnitude == 0) exponent = 0;

  // Digits of the number in positional form: integer part then fraction, with the point after
  // intLen digits. Enough room for 309 integer digits plus 20 decimals and a carry.
  int intLen = exponent + 1;
  constexpr int kRoom = 360;
  char digits[kRoom];
  int n = 0;
  digits[n++] = '0';                                // room for a carry into a new leading digit
  int leadingZeros = intLen <= 0 ? 1 - intLen : 0;  // "0" integer, then zeros of the fraction
  if (intLen <= 0) {
    for (int i = 0; i < leadingZeros; ++i) digits[n++] = '0';
    intLen = 1;
  }
  for (int i = 0; i < m && n < kRoom - 1; ++i) digits[n++] = mant[i];
  int pointAt = 1 + intLen;  // digits before the point, counting the carry slot
  int wanted = pointAt + decimals;
  while (n < wanted + 1 && n < kRoom) digits[n++] = '0';
  // Round half away from zero at the last shown decimal.
  if (n > wanted && digits[wanted] >= '5') {
    int i = wanted - 1;
    while (i >= 0) {
      if (digits[i] == '9') {
        digits[i] = '0';
        --i;
      } else {
        ++digits[i];
        break;
      }
    }
  }
  // Drop leading zeros of the integer part, keeping one digit.
  int first = 0;
  while (first < pointAt - 1 && digits[first] == '0') ++first;
  int len = 0;
  for (int i = first; i < pointAt; ++i) buf[len++] = digits[i];
  buf[len++] = '.';
  for (int i = pointAt; i < wanted; ++i) buf[len++] = digits[i];
  return len;
}

}  // namespace

void AppendNumberText(std::string& out, double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxKetaDecimal) decimals = kMaxKetaDecimal;
  char sign = value >= 0 ? ' ' : '-';
  if (!std::isfinite(value)) {
    // Not a number a measurement can show; keep the column layout.
    out.append("   ");
    out += std::isnan(value) ? ' ' : sign;
    out.append(std::isnan(value) ? "NaN" : "Inf");
    return;
  }
  char buf[400];
  int len = FormatMagnitude(std::fabs(value), decimals, buf);
  int point = 1;
  while (point <= len && buf[point - 1] != '.') ++point;
  if (point < 4) out.append(std::size_t(4 - point), ' ');
  out += sign;
  out.append(buf, std::size_t(len));
}

std::string NumberText(double value, int decimals) {
  std::string out;
  AppendNumberText(out, value, decimals);
  return out;
}

}  // namespace kv
