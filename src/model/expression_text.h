// The stored form of an expression number's text: operands "N<index>" naming numbers of the
// figure, joined by the operators + - * / ^. Names, descriptions, the dependency analysis and
// the evaluator all read expressions through these helpers.
#pragma once

#include <cstdint>
#include <string_view>

namespace kv {

// The operator characters of an expression.
inline bool IsOperatorChar(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

// Reads decimal digits followed only by spaces; -1 when there are none or too many.
int32_t ParseIndexDigits(std::string_view text);

// Reads an operand such as "N12": leading spaces skipped, the first character dropped, the
// rest a decimal index (trailing spaces allowed). Returns -1 when it is not such a text.
int32_t ParseOperandIndex(std::string_view operand);

// Calls f(index) for the number index of every operand of a stored expression that reads
// as one ("N12" gives 12); other operands are skipped.
template <typename F>
void ForEachOperand(std::string_view expression, F&& f) {
  size_t start = 0;
  while (start <= expression.size()) {
    size_t end = start;
    while (end < expression.size() && !IsOperatorChar(expression[end])) ++end;
    const int32_t index = ParseOperandIndex(expression.substr(start, end - start));
    if (index > 0) f(index);
    start = end + 1;
  }
}

}  // namespace kv
