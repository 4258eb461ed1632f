// The number dialog "KVSelNum" ("数値の選択"): lists the figure's numbers and lets the user
// choose one, create a new independent variable on the spot, or change a variable's value.
// It serves a construction command waiting for a number parent, the change-a-number command,
// the choice of the number that drives a locus and the editing of a number's attributes; the
// caller decides what the chosen number is used for once the dialog has closed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lang/translate.h"
#include "model/figure.h"
#include "session/dialog_model.h"

namespace kv {

// Who opened the number dialog; it decides the list, the buttons and their captions.
enum class SelNumCaller {
  kConstruction,   // a construction command waits for a number parent (SelNumSet)
  kChangeNumber,   // the change-a-number command (mode 63): value change offered
  kLocusNumber,    // the number that drives a locus (mode 71)
  kAttributeEdit,  // the number whose attributes are edited (mode 40)
};

// The caller by the input mode on top when the dialog opens: 60 and 63 change a number, 71
// chooses the locus number, 40 edits a number's attributes; any other mode is a construction
// command waiting for a number.
SelNumCaller SelNumCallerForMode(int mode);

enum class DialogOutcome { kOpen, kChosen, kCancelled };

// The number of a text as a leading-number conversion reads it: blanks skipped, an optional
// sign, digits with an optional point and exponent; 0 when the text starts otherwise.
double LeadingNumber(std::string_view text);
// A value written back into an entry box: the shortest text that reads back the same
// ("4", "2.5", "-0.125").
std::string ValueText(double value);
// One line of a number list: the index (with a leading blank when not negative), ":", the
// trimmed name, " = " and the value with `decimals` decimals.
std::string NumberListLine(const Figure& fig, int32_t index, int decimals);

class NumberDialog : public DialogModel {
 public:
  // Opens the dialog. `pendingKind` is the kind of the construction step waiting for the
  // number (used only by kConstruction: for PN, LPGN, LH2+, LRGN and C1 the new-variable entry
  // opens at once). `decimals` is the number of decimals of the list lines.
  NumberDialog(Figure& fig, SelNumCaller caller, Kind pendingKind, int decimals,
               const Translator& tr);

  std::string_view FormName() const override { return "KVSelNum"; }
  // Buttons: Cmd_OK, Cmd_Cancel, Command1 (back to the list), NewNum, NewNumOK, NewNumCancel,
  // Command2 (+1), Command3 (-1), Reset, ResetOK, ResetCancel.
  bool Click(std::string_view control) override;
  // Text boxes: Text1 (new variable), ResetText (new value of the selected number).
  bool Type(std::string_view control, std::string_view text) override;
  // The list NumList.
  bool SelectLine(std::string_view control, int line) override;
  // Enter presses the default button of the present state, Esc its cancel button, Up and Down
  // add or subtract 1 in the entry box that is shown.
  bool Key(int code, int shift) override;
  // Text of a text box or the caption of a button or label ("Caption" is the form's title).
  std::string Text(std::string_view control) const override;
  std::vector<std::string> Lines(std::string_view control) const override;
  int SelectedLine(std::string_view control) const override;
  bool Closed() const override { return outcome_ != DialogOutcome::kOpen; }

  // Whether a control is shown (and usable) in the present state.
  bool Visible(std::string_view control) const;

  // After closing: kChosen with the chosen number's index, or kCancelled.
  DialogOutcome Outcome() const { return outcome_; }
  int32_t ChosenNumber() const { return chosen_; }
  SelNumCaller Caller() const { return caller_; }
  // True when a number's value was changed through 値の変更 while the dialog was open; the
  // caller recomputes.
  bool ValueChanged() const { return valueChanged_; }

 private:
  enum class State { kList, kNewNumber, kReset };
  void FillList();
  void ShowList();
  void OpenNewNumber();
  bool AcceptList();
  bool AcceptNewNumber();
  bool AcceptReset();
  bool StepEntry(double delta);
  int32_t SelectedIndex() const;

  Figure& fig_;
  const Translator& tr_;
  SelNumCaller caller_;
  Kind pendingKind_;
  int decimals_;
  State state_ = State::kList;
  std::vector<int32_t> listed_;  // number index of each list line
  std::vector<std::string> lines_;
  int selected_ = 0;  // 1-based list line, 0 none
  std::string text1_, resetText_;
  DialogOutcome outcome_ = DialogOutcome::kOpen;
  int32_t chosen_ = 0;
  bool valueChanged_ = false;
};

}  // namespace kv
