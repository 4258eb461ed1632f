// Decimal text of numbers as the figure shows them in labels, descriptions and lists:
// up to 15 significant digits, no trailing zeros, an exponent for very small or large
// magnitudes, and a leading space in place of the sign for values that are not negative.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

// 15 significant digits without a sign slot: "2.5", "-1", "0.5", "1E-05",
// "1.23456789012346E+15". Negative zero is written as 0.
std::string FormatDouble(double value);
// FormatDouble with a leading space for values that are not negative: " 2.5", "-1".
std::string BasicStr(double value);
// An integer with a leading space when not negative: " 3", "-2".
std::string BasicStrInt(int64_t value);

}  // namespace kv
