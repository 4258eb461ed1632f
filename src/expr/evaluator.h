// The expression numbers (CALC): a flat sequence of operands N<index> and the operators
// + - * / ^, evaluated by repeated rewriting of a working form x1+x2*x3.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/expression_text.h"
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

// The passes read each expression once, when the steps change: its program holds the numbers
// its operands name and the order its operators apply in, so that evaluating it reads no text.
// Appends the program of `expression` to `code`.
void CompileExpression(std::string_view expression, std::vector<int32_t>& code);
// Evaluates the program at `code` with the figure's current numbers into `number`, with the
// checks and the rounding of EvaluateCalcStep. Allocates nothing.
void RunCompiledExpression(const Figure& fig, const int32_t* code, NumberRec& number);

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

// How many times the operator character op occurs in text.
int CountOperator(std::string_view text, char op);
// 0-based position of the n-th occurrence of op (n >= 1), or of the last one for n = 0;
// npos when there is no such occurrence.
size_t NthOperatorPosition(std::string_view text, char op, int n);
// Total number of operator characters in text.
int OperatorCount(std::string_view text);

}  // namespace kv
