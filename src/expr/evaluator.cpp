// The expression evaluator. An expression is reduced by applying one operator at a time and
// putting its result into the next free entry of the operand table; the operator is chosen
// as the first ^, else the first /, else the first *, else the first -, else the first +.
// That order fixes the floating-point result, so both the text form (EvaluateWorkingForm) and
// the allocation-free form used by the recompute pass (EvaluateCalcStep) follow it exactly.
#include "expr/evaluator.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

namespace kv {

namespace {

// An expression with k operands uses 2k - 1 entries (operands and intermediate results).
constexpr int kMaxOperands = (kOperandTableLast + 1) / 2;
constexpr char kOperatorPriority[] = {'^', '/', '*', '-', '+'};

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A token of the working form: "x" and an entry number.
int32_t ParseToken(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (text.empty() || text.front() != 'x') return -1;
  return ParseIndexDigits(text.substr(1));
}

double Apply(char op, double a, double b) {
  switch (op) {
    case '+':
      return a + b;
    case '-':
      return a - b;
    case '*':
      return a * b;
    case '/':
      return std::fabs(b) < kExpressionGuard ? 0.0 : a / b;
    case '^':
      return std::fabs(a) < kExpressionGuard ? 0.0 : std::pow(a, b);
  }
  return std::nan("");
}

// The value of the number an operand names, or false when it names none.
bool NumberValue(const Figure& fig, int32_t index, double& value) {
  if (index < 1 || index > fig.classCount[kClassNumber] ||
      static_cast<size_t>(index) >= fig.numbers.size())
    return false;
  value = fig.numbers[index].value;
  return true;
}

// The value of an operand of a stored expression, or false when it names no number.
bool OperandValue(const Figure& fig, std::string_view operand, double& value) {
  return NumberValue(fig, ParseOperandIndex(operand), value);
}

// Splits a stored expression into the number indices its operands name (-1 for an operand
// that cannot be read) and the operators between them. False when it has more operands than
// the table holds.
bool SplitExpression(std::string_view expression, int32_t* indices, char* ops, int& count) {
  const std::string_view text = TrimRight(expression);
  count = 0;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !IsOperatorChar(text[i])) continue;
    if (count == kMaxOperands) return false;
    indices[count] = ParseOperandIndex(text.substr(start, i - start));
    if (i < text.size()) ops[count] = text[i];
    ++count;
    start = i + 1;
  }
  return true;
}

// The order of the operators: calls apply(op, a, b) for each, with the table entries of its
// operands; the result of the j-th goes into entry count + j. Operands fill entries 1..count.
template <typename F>
void ForEachReduction(const char* opsIn, int count, F&& apply) {
  int32_t tokens[kMaxOperands];  // entry of each remaining operand
  char ops[kMaxOperands];        // ops[i] stands between tokens[i] and tokens[i + 1]
  for (int i = 0; i < count; ++i) tokens[i] = i + 1;
  std::copy(opsIn, opsIn + std::max(count - 1, 0), ops);
  int32_t last = count;  // last entry in use
  while (count > 1) {
    int chosen = -1;
    for (char op : kOperatorPriority) {
      for (int i = 0; i < count - 1 && chosen < 0; ++i)
        if (ops[i] == op) chosen = i;
      if (chosen >= 0) break;
    }
    apply(ops[chosen], tokens[chosen], tokens[chosen + 1]);
    tokens[chosen] = ++last;
    for (int i = chosen + 1; i < count - 1; ++i) tokens[i] = tokens[i + 1];
    for (int i = chosen; i < count - 2; ++i) ops[i] = ops[i + 1];
    --count;
  }
}

// Evaluates a stored expression on fixed arrays. False when it cannot be evaluated or its
// result (or any intermediate result) is not finite.
bool EvaluateExpression(const Figure& fig, std::string_view expression, double& result) {
  int32_t indices[kMaxOperands];
  char ops[kMaxOperands];
  int count = 0;
  if (!SplitExpression(expression, indices, ops, count)) return false;
  double table[kOperandTableSize];
  for (int i = 0; i < count; ++i)
    if (!NumberValue(fig, indices[i], table[i + 1])) return false;
  int32_t last = count;
  bool finite = true;
  ForEachReduction(ops, count, [&](char op, int32_t a, int32_t b) {
    table[++last] = Apply(op, table[a], table[b]);
    finite = finite && std::isfinite(table[last]);
  });
  result = table[last];
  return finite && std::isfinite(result);
}

}  // namespace

int CountOperator(std::string_view text, char op) {
  return static_cast<int>(std::count(text.begin(), text.end(), op));
}

size_t NthOperatorPosition(std::string_view text, char op, int n) {
  if (n == 0) return text.rfind(op);
  size_t pos = std::string_view::npos;
  for (int k = 0; k < n; ++k) {
    pos = text.find(op, pos == std::string_view::npos ? 0 : pos + 1);
    if (pos == std::string_view::npos) break;
  }
  return pos;
}

int OperatorCount(std::string_view text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), IsOperatorChar));
}

WorkingForm BuildWorkingForm(const Figure& fig, std::string_view expression) {
  WorkingForm form;
  const std::string_view text = TrimRight(expression);
  const int m = OperatorCount(text);
  if (m + 1 > kMaxOperands) return form;
  // Operator positions, gathered kind by kind and sorted into text order.
  std::vector<size_t> positions;
  for (char op : {'+', '-', '*', '/', '^'})
    for (int k = 1; k <= CountOperator(text, op); ++k)
      positions.push_back(NthOperatorPosition(text, op, k));
  std::sort(positions.begin(), positions.end());
  size_t start = 0;
  for (int k = 1; k <= m; ++k) {
    const size_t pos = positions[k - 1];
    if (!OperandValue(fig, text.substr(start, pos - start), form.table[k])) return form;
    form.text += 'x' + std::to_string(k) + text[pos];
    start = pos + 1;
  }
  if (!OperandValue(fig, text.substr(start), form.table[m + 1])) return form;
  form.text += 'x' + std::to_string(m + 1);
  form.ok = true;
  return form;
}

double EvaluateWorkingForm(std::string& text, OperandTable& table) {
  const double kFailed = std::nan("");
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  int32_t n = CountOperator(text, 'x');
  while (OperatorCount(text) > 0) {
    size_t pos = std::string::npos;
    for (char op : kOperatorPriority)
      if ((pos = NthOperatorPosition(text, op, 1)) != std::string::npos) break;
    size_t left = pos;
    while (left > 0 && !IsOperatorChar(text[left - 1])) --left;
    size_t right = pos + 1;
    while (right < text.size() && !IsOperatorChar(text[right])) ++right;
    const int32_t a = ParseToken(std::string_view(text).substr(left, pos - left));
    const int32_t b = ParseToken(std::string_view(text).substr(pos + 1, right - pos - 1));
    if (a < 0 || a > kOperandTableLast || b < 0 || b > kOperandTableLast) return kFailed;
    if (++n > kOperandTableLast) return kFailed;
    table[n] = Apply(text[pos], table[a], table[b]);
    if (!std::isfinite(table[n])) return kFailed;
    text.replace(left, right - left, 'x' + std::to_string(n));
  }
  if (text.find('x') == std::string::npos) return 0;
  const int32_t token = ParseToken(text);
  if (token < 0 || token > kOperandTableLast) return kFailed;
  return table[token];
}

void CompileExpression(std::string_view expression, std::vector<int32_t>& code) {
  int32_t indices[kMaxOperands];
  char ops[kMaxOperands];
  int count = 0;
  // A program of no operands never evaluates: the expression has too many for the table.
  if (!SplitExpression(expression, indices, ops, count)) count = 0;
  code.push_back(count);
  code.insert(code.end(), indices, indices + count);
  ForEachReduction(ops, count, [&](char op, int32_t a, int32_t b) {
    code.insert(code.end(), {op, a, b});
  });
}

void RunCompiledExpression(const Figure& fig, const int32_t* code, NumberRec& number) {
  const int32_t count = code[0];
  double table[kOperandTableSize];
  bool ok = count > 0;
  for (int32_t i = 1; i <= count && ok; ++i) ok = NumberValue(fig, code[i], table[i]);
  const int32_t* step = code + 1 + count;
  for (int32_t j = 1; j < count && ok; ++j, step += 3) {
    table[count + j] = Apply(static_cast<char>(step[0]), table[step[1]], table[step[2]]);
    ok = std::isfinite(table[count + j]);
  }
  if (!ok) {
    number.valid = kFalse;
    return;
  }
  number.value = table[2 * count - 1];
  number.valid = kTrue;
}

void EvaluateCalcStep(Figure& fig, int32_t s) {
  if (s < 1 || s > fig.StepCount()) return;
  const ObjRef out = fig.Output(s, 1);
  if (out.cls != kClassNumber || !fig.InTable(out)) return;
  NumberRec& number = fig.numbers[out.index];
  double result = 0;
  if (EvaluateExpression(fig, number.expression, result)) {
    number.value = result;
    number.valid = kTrue;
  } else {
    number.valid = kFalse;
  }
}

}  // namespace kv
