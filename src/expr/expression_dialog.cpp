#include "expr/expression_dialog.h"

#include "model/names.h"
#include "session/input_modes.h"

namespace kv {
namespace {

// Keys that press an operator button or 入力終了: the characters themselves and the keypad's
// operator keys.
constexpr int kKeypadMultiply = 106;
constexpr int kKeypadAdd = 107;
constexpr int kKeypadSubtract = 109;
constexpr int kKeypadDivide = 111;

std::string_view OperatorButton(char op) {
  switch (op) {
    case '+':
      return "cmdOpAdd";
    case '-':
      return "cmdOpMinus";
    case '*':
      return "cmdOpMulti";
    case '/':
      return "cmdOpDiv";
    case '^':
      return "cmdOpPower";
    default:
      return {};
  }
}

char OperatorOfKey(int code) {
  switch (code) {
    case '+':
    case kKeypadAdd:
      return '+';
    case '-':
    case kKeypadSubtract:
      return '-';
    case '*':
    case kKeypadMultiply:
      return '*';
    case '/':
    case kKeypadDivide:
      return '/';
    case '^':
      return '^';
    default:
      return 0;
  }
}

int DecimalDigits(int32_t n) {
  int digits = 1;
  while (n >= 10) n /= 10, ++digits;
  return digits;
}

}  // namespace

ExpressionDialog::ExpressionDialog(Figure& fig, int decimals, const Translator& tr)
    : fig_(fig), tr_(tr), decimals_(decimals) {
  Init();
}

void ExpressionDialog::Init() {
  FillList();
  state_ = State::kNumber;
  expression_.clear();
  text1_.clear();
}

void ExpressionDialog::FillList() {
  lines_.clear();
  for (int32_t i = 1; i <= fig_.classCount[kClassNumber]; ++i)
    lines_.push_back(NumberListLine(fig_, i, decimals_));
  if (selected_ > static_cast<int>(lines_.size()) || selected_ < 1)
    selected_ = lines_.empty() ? 0 : 1;
}

// An operator is taken only when an operand after it still fits into the stored expression's
// 70 characters, counting the longest index a number can have then (a new number's); so the
// stored expression never has to be cut and never ends with an operator.
bool ExpressionDialog::OperandFits() const {
  const int longestOperand = 1 + DecimalDigits(fig_.classCount[kClassNumber] + 1);
  return static_cast<int>(expression_.size()) + 1 + longestOperand <= kExpressionWidth;
}

bool ExpressionDialog::ChooseNumber() {
  if (selected_ < 1 || selected_ > static_cast<int>(lines_.size())) return false;
  expression_ += 'N';
  expression_ += std::to_string(selected_);
  state_ = State::kOperator;
  return true;
}

bool ExpressionDialog::AppendOperator(char op) {
  if (!OperandFits()) return false;
  expression_ += op;
  state_ = State::kNumber;
  return true;
}

bool ExpressionDialog::AcceptNewNumber() {
  const int32_t i = fig_.AllocObject(kClassNumber);
  NumberRec& rec = fig_.numbers[i];
  rec.value = LeadingNumber(text1_);
  rec.valid = kTrue;
  rec.independent = kTrue;
  expression_ += 'N';
  expression_ += std::to_string(i);
  FillList();
  text1_.clear();
  state_ = State::kOperator;
  return true;
}

// The new number's name is the expression with names, as relabelling would write it, so
// that the number list shows it at once.
bool ExpressionDialog::InputEnd() {
  const int32_t s = fig_.AppendStep();
  fig_.SetStepKind(s, "CALC");
  for (int k = 1; k <= 5; ++k) {
    fig_.SetStepParent(s, k, {});
    fig_.SetStepOutput(s, k, {});
  }
  const ObjRef number{kClassNumber, fig_.AllocObject(kClassNumber)};
  fig_.numbers[number.index].expression = CutToWidth(expression_, kExpressionWidth);
  fig_.SetObjectName(number, ExpressionDisplay(fig_, expression_));
  fig_.SetStepOutput(s, 1, number);
  builtStep_ = s;
  outcome_ = ExpressionOutcome::kBuilt;
  return true;
}

bool ExpressionDialog::StepEntry(double delta) {
  text1_ = ValueText(LeadingNumber(text1_) + delta);
  return true;
}

bool ExpressionDialog::Visible(std::string_view c) const {
  if (c == "LabelExpress" || c == "cmdCancel") return true;
  switch (state_) {
    case State::kNumber:
      return c == "NumList" || c == "NumSelectOK" || c == "cmdAddNum" || c == "cmdReInput";
    case State::kOperator:
      return c == "NumList" || c == "cmdReInput" || c == "cmdInputEnd" || c == "cmdOpAdd" ||
             c == "cmdOpMinus" || c == "cmdOpMulti" || c == "cmdOpDiv" || c == "cmdOpPower";
    case State::kNewNumber:
      return c == "Text1" || c == "LabelNewNumCheck" || c == "cmdNewNumOK";
  }
  return false;
}

bool ExpressionDialog::Click(std::string_view c) {
  if (Closed() || !Visible(c)) return false;
  if (c == "NumSelectOK") return ChooseNumber();
  if (c == "cmdAddNum") {
    state_ = State::kNewNumber;
    text1_.clear();
    return true;
  }
  if (c == "cmdNewNumOK") return AcceptNewNumber();
  if (c == "cmdReInput") {
    Init();
    return true;
  }
  if (c == "cmdCancel") {
    outcome_ = ExpressionOutcome::kCancelled;
    return true;
  }
  if (c == "cmdInputEnd") return InputEnd();
  for (char op : std::string_view("+-*/^"))
    if (c == OperatorButton(op)) return AppendOperator(op);
  return false;
}

bool ExpressionDialog::Type(std::string_view c, std::string_view text) {
  if (Closed() || c != "Text1" || state_ != State::kNewNumber) return false;
  text1_ = text;
  return true;
}

bool ExpressionDialog::SelectLine(std::string_view c, int line) {
  if (Closed() || c != "NumList" || state_ == State::kNewNumber) return false;
  if (line < 1 || line > static_cast<int>(lines_.size())) return false;
  selected_ = line;
  return true;
}

bool ExpressionDialog::Key(int code, int /*shift*/) {
  if (Closed()) return false;
  if (code == kKeyEscape) return Click("cmdCancel");
  if (state_ == State::kNewNumber) {
    if (code == kKeyUp) return StepEntry(1);
    if (code == kKeyDown) return StepEntry(-1);
    if (code == kKeyEnter) return Click("cmdNewNumOK");
    return false;
  }
  if (code == kKeyEnter) return Click(state_ == State::kNumber ? "NumSelectOK" : "cmdInputEnd");
  if (code == '=') return Click("cmdInputEnd");
  if (const char op = OperatorOfKey(code)) return Click(OperatorButton(op));
  return false;
}

std::string ExpressionDialog::Text(std::string_view c) const {
  if (c == "Text1") return text1_;
  if (c == "LabelNewNumCheck") return ValueText(LeadingNumber(text1_));
  if (c == "LabelExpress") return ExpressionDisplay(fig_, expression_);
  std::string_view caption;
  if (c == "Caption")
    caption = "数式の入力";
  else if (c == "NumSelectOK")
    caption = "左の数値(OK)";
  else if (c == "cmdAddNum")
    caption = "新しい数値の追加";
  else if (c == "cmdCancel")
    caption = "キャンセル";
  else if (c == "cmdReInput")
    caption = "再入力";
  else if (c == "cmdInputEnd")
    caption = "入力終了";
  else if (c == "cmdNewNumOK")
    caption = "OK :確認";
  else if (c == "cmdOpAdd")
    return "+";
  else if (c == "cmdOpMinus")
    return "-";
  else if (c == "cmdOpMulti")
    return "×";
  else if (c == "cmdOpDiv")
    return "÷";
  else if (c == "cmdOpPower")
    return "^";
  else if (c == "LabelExpressTitle")
    caption = "式:";
  else
    return {};
  return std::string(tr_(caption));
}

std::vector<std::string> ExpressionDialog::Lines(std::string_view c) const {
  if (c == "NumList") return lines_;
  return {};
}

int ExpressionDialog::SelectedLine(std::string_view c) const {
  return c == "NumList" ? selected_ : 0;
}

}  // namespace kv
