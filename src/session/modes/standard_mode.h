// The standard mode (2), the base of the mode stack: the object under the mouse is indicated,
// a press on a free point or a two-point line starts a drag, a press elsewhere shows what can
// be dragged, and a right press opens the object menu.
#pragma once

#include <vector>

#include "construct/picker.h"
#include "session/mode.h"

namespace kv {

// What the object under the mouse is: class 0 nothing, 1 point, 2 line, 3 circle.
struct PickResult {
  int32_t cls = 0;
  int32_t index = 0;
  bool IsNothing() const { return cls == 0 || index == 0; }
};

class StandardMode : public Mode {
 public:
  StandardMode();

  void Press(ModeHost& host, const PointerEvent& e) override;
  void Move(ModeHost& host, const PointerEvent& e) override;
  bool TakesRightPress() const override { return true; }
  void AddMarks(const Figure& fig, std::vector<ObjectMark>& marks) const override;

  // Every point the user may drag, marked until the next full redraw.
  void ShowDraggableCandidates(const Figure& fig);
  void ClearCandidates() { candidates_.clear(); }
  const std::vector<ObjRef>& Candidates() const { return candidates_; }
  // A new figure: nothing is under the mouse any more.
  void ForgetIndication();
  // Another mode takes the moves: the mark of the object under the mouse goes.
  void ForgetHover();

 private:
  PickResult HoverPick(ModeHost& host, double x, double y);
  void PressLeft(ModeHost& host, const PointerEvent& e, PickResult pick);

  std::vector<ObjRef> candidates_;
  HoverIndication indication_;
  ObjRef shownInStatus_;
  bool sizeAllPointer_ = false;
};

}  // namespace kv
