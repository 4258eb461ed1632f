// The expression numbers (CALC): a flat sequence of operands N<index> and the operators
// + - * / ^, evaluated by repeated rewriting of a working form x1+x2*x3.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "model/figure.h"

namespace kv {

constexpr int kOperandTableSize = 51;  // entries 0..50
constexpr int kOperandTableLast = kOperandTableSize - 1;
// Below this magnitude a divisor or a base gives 0 instead of a quotient or a power.
constexpr double kExpressionGuard = 0.01;

using OperandTable = std::array<double, kOperandTableSize>;

// Evaluates the expression of output 1 of CALC step s into that number. The number becomes
// undefined (valid 0, value kept) when the expression names no number, cannot be read, needs
// more entries than the operand table holds, or gives a result that is not finite. Allocates
// nothing.
void EvaluateCalcStep(Figure& fig, int32_t s);

// The working form of a stored expression: the text x1+x2*x3 and the operand table with the
// referenced numbers' values in entries 1..k. `ok` is false when an operand names no number
// of the figure or cannot be read, or when the table is too small for the expression.
struct WorkingForm {
  std::string text;
  OperandTable table{};
  bool ok = false;
};
WorkingForm BuildWorkingForm(const Figure& fig, std::string_view expression);

// Reduces a working form by rewriting it until one token remains and returns that token's
// entry. `text` is rewritten while it works. Gives NaN for a text that names entries outside
// the table or would need more entries than it has.
double EvaluateWorkingForm(std::string& text, OperandTable& table);

// The operator characters of an expression.
inline bool IsOperatorChar(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}
// How many times the operator character op occurs in text.
int CountOperator(std::string_view text, char op);
// 0-based position of the n-th occurrence of op (n >= 1), or of the last one for n = 0;
// npos when there is no such occurrence.
size_t NthOperatorPosition(std::string_view text, char op, int n);
// Total number of operator characters in text.
int OperatorCount(std::string_view text);

// Calls f(index) for the number index of every operand of a stored expression that reads
// as one ("N12" gives 12); other operands are skipped.
template <typename F>
void ForEachOperand(std::string_view expression, F&& f);

// True when step s reads one of its own outputs: a parent slot that is also an output slot,
// or an expression that names its own number. Such a step can never settle (each recompute
// would feed it its last result), so it stays undefined and keeps its name.
bool StepReadsOwnOutput(const Figure& fig, int32_t s);

// Reads an operand such as "N12": leading spaces skipped, the first character dropped, the
// rest a decimal index (trailing spaces allowed). Returns -1 when it is not such a text.
int32_t ParseOperandIndex(std::string_view operand);

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
