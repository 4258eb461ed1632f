// The expression dialog "KVExpress" ("数式の入力"): builds the expression of a new expression
// number by alternating a choice of number and a choice of operator, so that the expression
// can only end right after a number. Numbers can be created on the spot; 入力終了 appends the
// CALC step with its new number, キャンセル adds nothing (new variables stay).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "expr/number_dialog.h"
#include "lang/translate.h"
#include "model/figure.h"
#include "session/dialog_model.h"

namespace kv {

class ExpressionDialog : public DialogModel {
 public:
  ExpressionDialog(Figure& fig, int decimals, const Translator& tr);

  std::string_view FormName() const override { return "KVExpress"; }
  // Buttons: NumSelectOK, cmdAddNum, cmdNewNumOK, cmdCancel, cmdReInput, cmdInputEnd,
  // cmdOpAdd, cmdOpMinus, cmdOpMulti, cmdOpDiv, cmdOpPower.
  bool Click(std::string_view control) override;
  // The text box Text1 (value of a new number).
  bool Type(std::string_view control, std::string_view text) override;
  // The list NumList.
  bool SelectLine(std::string_view control, int line) override;
  // In the new-number state Up/Down change Text1 by 1 and Enter presses cmdNewNumOK. Otherwise
  // the keys act as on cmdInputEnd: "+", "-", "*", "/", "^" press the operator buttons, "="
  // presses cmdInputEnd, Enter presses NumSelectOK in the number state; Esc presses cmdCancel.
  bool Key(int code, int shift) override;
  // Text1, LabelNewNumCheck, LabelExpress (the working expression with names), or a caption.
  std::string Text(std::string_view control) const override;
  std::vector<std::string> Lines(std::string_view control) const override;
  int SelectedLine(std::string_view control) const override;
  bool Closed() const override { return outcome_ != ExpressionOutcome::kOpen; }

  bool Visible(std::string_view control) const;

  enum class ExpressionOutcome { kOpen, kBuilt, kCancelled };
  ExpressionOutcome Outcome() const { return outcome_; }
  // After kBuilt: the appended CALC step; its output 1 is the new number.
  int32_t BuiltStep() const { return builtStep_; }
  // The expression in stored form ("N2+N1").
  const std::string& WorkingExpression() const { return expression_; }

 private:
  enum class State { kNumber, kOperator, kNewNumber };
  void Init();
  void FillList();
  bool ChooseNumber();
  bool AppendOperator(char op);
  bool AcceptNewNumber();
  bool InputEnd();
  bool StepEntry(double delta);
  bool OperandFits() const;

  Figure& fig_;
  const Translator& tr_;
  int decimals_;
  State state_ = State::kNumber;
  std::vector<std::string> lines_;
  int selected_ = 0;  // 1-based list line, 0 none
  std::string expression_;
  std::string text1_;
  ExpressionOutcome outcome_ = ExpressionOutcome::kOpen;
  int32_t builtStep_ = 0;
};

}  // namespace kv
