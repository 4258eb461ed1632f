// Mode 15 of a construction command: waits for one parent of the pending step. An object is
// picked with the selection picker (a click moves the highlight to the nearest candidate, a
// second click or Enter confirms, Up and Down step through the candidates, Esc or the right
// button cancels the command); a number is chosen in the number dialog. What is confirmed goes
// to the Constructor, which asks for the next parent through this same mode.
#pragma once

#include "construct/picker.h"
#include "session/mode.h"

namespace kv {

class Constructor;

class ParentPickMode : public Mode {
 public:
  explicit ParentPickMode(Constructor& constructor);

  // Starts picking an object by `rules`; a selection without candidates cancels the command.
  void AskObject(ModeHost& host, SelectionRules rules);
  // Opens the number dialog for the pending step of `kind`.
  void AskNumber(ModeHost& host, Kind kind);

  void Press(ModeHost& host, const PointerEvent& e) override;
  void Key(ModeHost& host, int code, int shift) override;
  void DialogClosed(ModeHost& host, DialogModel& dialog) override;
  void AddMarks(const Figure& fig, std::vector<ObjectMark>& marks) const override;

  const SelectionPicker& Picker() const { return picker_; }

 private:
  void Apply(ModeHost& host, const SelectionStep& step);

  Constructor& constructor_;
  SelectionPicker picker_;
};

}  // namespace kv
