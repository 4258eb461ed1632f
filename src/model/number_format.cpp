// Decimal text of numbers.
#include "model/number_format.h"

#include <cmath>
#include <cstdio>

namespace kv {

std::string FormatDouble(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  if (value == 0) value = 0;  // no "-0"
  // %G switches to the exponent below 1E-4 and from 1E15 on, drops trailing zeros and
  // writes at least two exponent digits: the form the figure shows.
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  return buffer;
}

std::string BasicStr(double value) {
  std::string text = FormatDouble(value);
  if (!text.empty() && text[0] != '-') text.insert(text.begin(), ' ');
  return text;
}

std::string BasicStrInt(int64_t value) {
  std::string text = std::to_string(value);
  if (value >= 0) text.insert(text.begin(), ' ');
  return text;
}

}  // namespace kv
