// Modes that move points with the mouse or the keyboard: the drag of a free point or a
// two-point line from the standard mode (72), keyboard deformation (6), the placing of a new
// point on a line or circle (30), the multi-point drag (61) and the change of a number (22).
// Each keeps what it moves; the drag ends with the release or Esc.
#pragma once

#include <array>

#include "session/mode.h"

namespace kv {

// What a drag moves: one point, or the two end points of a line kept at their offsets from
// the mouse.
struct DragState {
  int32_t dragPoint = 0;
  int32_t dragLine = 0;
  std::array<double, 4> offsets{};  // endA - press (x, y), endB - press (x, y)
};

class DragMode : public Mode {
 public:
  DragMode(int16_t code, DragState state) : Mode(code), drag_(state) {}

  void Press(ModeHost& host, const PointerEvent& e) override;
  void Move(ModeHost& host, const PointerEvent& e) override;
  void Release(ModeHost& host, const PointerEvent& e) override;
  void Key(ModeHost& host, int code, int shift) override;
  void AddMarks(const Figure& fig, std::vector<ObjectMark>& marks) const override;

  const DragState& State() const { return drag_; }

 private:
  // Moves what is dragged to the mouse position and recomputes the figure.
  void DragStep(ModeHost& host, double x, double y);
  bool MovesWithMouse() const;

  DragState drag_;
};

}  // namespace kv
