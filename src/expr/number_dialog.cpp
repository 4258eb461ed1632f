#include "expr/number_dialog.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "draw/number_text.h"
#include "session/input_modes.h"

namespace kv {
namespace {

// Full-width digits, signs and point as an input method types them, read as their ASCII
// counterparts (the full-width forms U+FF0B..U+FF19 lie 0xFEE0 above ASCII).
std::string HalfWidthDigits(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c0 = static_cast<unsigned char>(text[i]);
    if (c0 == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBC) {
      const auto c2 = static_cast<unsigned char>(text[i + 2]);
      if ((c2 >= 0x90 && c2 <= 0x99) || c2 == 0x8B || c2 == 0x8D || c2 == 0x8E) {
        out += static_cast<char>(c2 - 0x60);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view DefaultEntry(SelNumCaller caller, Kind kind) {
  if (caller != SelNumCaller::kConstruction) return "1";
  switch (kind) {
    case Kind::kLPGN:
      return "4";
    case Kind::kLRGN:
    case Kind::kLH2Macro:
      return "3";
    case Kind::kPNEQ:
    case Kind::kPOPow:
      return "2";
    case Kind::kPT1:
    case Kind::kLRO:
    case Kind::kLHRO:
    case Kind::kCRO:
      return "30";
    default:
      return "1";
  }
}

// The construction kinds whose number is usually a new value rather than a measurement.
bool OpensWithNewNumber(Kind kind) {
  switch (kind) {
    case Kind::kPN:
    case Kind::kLPGN:
    case Kind::kLH2Macro:
    case Kind::kLRGN:
    case Kind::kC1:
      return true;
    default:
      return false;
  }
}

}  // namespace

SelNumCaller SelNumCallerForMode(int mode) {
  constexpr int kModeNumberChoice = 60;
  switch (mode) {
    case kModeNumberChoice:
    case kModeNumberSelect:
      return SelNumCaller::kChangeNumber;
    case kModeLocusByNumber:
      return SelNumCaller::kLocusNumber;
    case kModeEditSelect:
      return SelNumCaller::kAttributeEdit;
    default:
      return SelNumCaller::kConstruction;
  }
}

double LeadingNumber(std::string_view raw) {
  const std::string text = HalfWidthDigits(raw);
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  std::string number = text.substr(start, i - start);
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      number += 'e';
      number += text.substr(i + 1, j - i - 1);
    }
  }
  const double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : 0;
}

std::string ValueText(double value) {
  if (value == 0 || !std::isfinite(value)) return "0";
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

std::string NumberListLine(const Figure& fig, int32_t index, int decimals) {
  std::string line = index >= 0 ? " " : "";
  line += std::to_string(index);
  line += ':';
  line += TrimSpaces(fig.GetName({kClassNumber, index}));
  line += " = ";
  AppendNumberText(line, fig.numbers[index].value, decimals);
  return line;
}

NumberDialog::NumberDialog(Figure& fig, SelNumCaller caller, Kind pendingKind, int decimals,
                           const Translator& tr)
    : fig_(fig), tr_(tr), caller_(caller), pendingKind_(pendingKind), decimals_(decimals) {
  FillList();
  // Nothing to choose from: the only way on is a new variable.
  const bool newFirst = lines_.empty() || (caller_ == SelNumCaller::kConstruction &&
                                           OpensWithNewNumber(pendingKind_));
  if (newFirst)
    OpenNewNumber();
  else
    ShowList();
}

// The change-a-number command moves a variable, so it lists only the independent ones; the
// others choose among all numbers (the number locus needs one that follows the dragged point).
void NumberDialog::FillList() {
  const bool independentOnly = caller_ == SelNumCaller::kChangeNumber;
  listed_.clear();
  lines_.clear();
  for (int32_t i = 1; i <= fig_.classCount[kClassNumber]; ++i) {
    if (independentOnly && fig_.numbers[i].independent == 0) continue;
    listed_.push_back(i);
    lines_.push_back(NumberListLine(fig_, i, decimals_));
  }
  if (selected_ > static_cast<int>(lines_.size()) || selected_ < 1)
    selected_ = lines_.empty() ? 0 : 1;
}

void NumberDialog::ShowList() { state_ = State::kList; }

void NumberDialog::OpenNewNumber() {
  state_ = State::kNewNumber;
  text1_ = DefaultEntry(caller_, pendingKind_);
}

int32_t NumberDialog::SelectedIndex() const {
  if (selected_ < 1 || selected_ > static_cast<int>(listed_.size())) return 0;
  return listed_[selected_ - 1];
}

bool NumberDialog::AcceptList() {
  const int32_t index = SelectedIndex();
  if (index == 0) return false;
  chosen_ = index;
  outcome_ = DialogOutcome::kChosen;
  return true;
}

bool NumberDialog::AcceptNewNumber() {
  const int32_t i = fig_.AllocObject(kClassNumber);
  NumberRec& rec = fig_.numbers[i];
  rec.value = LeadingNumber(text1_);
  rec.valid = kTrue;
  rec.independent = kTrue;
  chosen_ = i;
  outcome_ = DialogOutcome::kChosen;
  return true;
}

bool NumberDialog::AcceptReset() {
  const int32_t index = SelectedIndex();
  if (index == 0) return false;
  fig_.numbers[index].value = LeadingNumber(resetText_);
  lines_[selected_ - 1] = NumberListLine(fig_, index, decimals_);
  valueChanged_ = true;
  ShowList();
  return true;
}

bool NumberDialog::StepEntry(double delta) {
  std::string& entry = state_ == State::kReset ? resetText_ : text1_;
  entry = ValueText(LeadingNumber(entry) + delta);
  return true;
}

bool NumberDialog::Visible(std::string_view c) const {
  if (c == "NumList" || c == "Command1") return true;
  switch (state_) {
    case State::kList:
      return c == "Cmd_OK" || c == "Cmd_Cancel" || c == "NewNum" ||
             (c == "Reset" && caller_ == SelNumCaller::kChangeNumber);
    case State::kNewNumber:
      return c == "Text1" || c == "NewNumOK" || c == "NewNumCancel" || c == "Command2" ||
             c == "Command3";
    case State::kReset:
      return c == "ResetText" || c == "ResetOK" || c == "ResetCancel" || c == "Command2" ||
             c == "Command3";
  }
  return false;
}

bool NumberDialog::Click(std::string_view c) {
  if (Closed() || !Visible(c)) return false;
  if (c == "Cmd_OK") return AcceptList();
  if (c == "Cmd_Cancel") {
    outcome_ = DialogOutcome::kCancelled;
    return true;
  }
  if (c == "Command1" || c == "NewNumCancel" || c == "ResetCancel") {
    ShowList();
    return true;
  }
  if (c == "NewNum") {
    OpenNewNumber();
    return true;
  }
  if (c == "NewNumOK") return AcceptNewNumber();
  if (c == "Command2") return StepEntry(1);
  if (c == "Command3") return StepEntry(-1);
  if (c == "Reset") {
    const int32_t index = SelectedIndex();
    if (index == 0) return false;
    resetText_ = ValueText(fig_.numbers[index].value);
    state_ = State::kReset;
    return true;
  }
  if (c == "ResetOK") return AcceptReset();
  return false;
}

bool NumberDialog::Type(std::string_view c, std::string_view text) {
  if (Closed() || !Visible(c)) return false;
  if (c == "Text1") {
    text1_ = text;
    return true;
  }
  if (c == "ResetText") {
    resetText_ = text;
    return true;
  }
  return false;
}

bool NumberDialog::SelectLine(std::string_view c, int line) {
  if (Closed() || c != "NumList" || state_ != State::kList) return false;
  if (line < 1 || line > static_cast<int>(lines_.size())) return false;
  selected_ = line;
  return true;
}

bool NumberDialog::Key(int code, int /*shift*/) {
  if (Closed()) return false;
  const bool entry = state_ != State::kList;
  switch (code) {
    case kKeyEnter:
      return Click(state_ == State::kList        ? "Cmd_OK"
                   : state_ == State::kNewNumber ? "NewNumOK"
                                                 : "ResetOK");
    case kKeyEscape:
      return Click(state_ == State::kList        ? "Cmd_Cancel"
                   : state_ == State::kNewNumber ? "NewNumCancel"
                                                 : "ResetCancel");
    case kKeyUp:
      if (entry) return StepEntry(1);
      return SelectLine("NumList", selected_ - 1);
    case kKeyDown:
      if (entry) return StepEntry(-1);
      return SelectLine("NumList", selected_ + 1);
    default:
      return false;
  }
}

std::string NumberDialog::Text(std::string_view c) const {
  if (c == "Text1") return text1_;
  if (c == "ResetText") return resetText_;
  const bool change = caller_ == SelNumCaller::kChangeNumber;
  std::string_view caption;
  if (c == "Caption")
    caption = "数値の選択";
  else if (c == "Cmd_OK")
    caption = change ? "変化させる" : "OK";
  else if (c == "Cmd_Cancel")
    caption = change ? "元に戻る" : "キャンセル";
  else if (c == "Command1")
    caption = "既存の変数から選択する";
  else if (c == "NewNum")
    caption = "新しい変数を追加する";
  else if (c == "Command2")
    caption = "↑(+1)";
  else if (c == "Command3")
    caption = "↓(-1)";
  else if (c == "Reset")
    caption = "値の変更";
  else if (c == "NewNumOK" || c == "ResetOK")
    caption = "OK";
  else if (c == "NewNumCancel" || c == "ResetCancel")
    caption = "キャンセル";
  else
    return {};
  return std::string(tr_(caption));
}

std::vector<std::string> NumberDialog::Lines(std::string_view c) const {
  if (c == "NumList") return lines_;
  return {};
}

int NumberDialog::SelectedLine(std::string_view c) const { return c == "NumList" ? selected_ : 0; }

}  // namespace kv
