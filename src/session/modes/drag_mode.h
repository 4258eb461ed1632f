// Modes that move points with the mouse or the keyboard: the drag of a free point or a
// two-point line from the standard mode (72), keyboard deformation (6), the placing of a new
// point on a line or circle (30), the multi-point drag (61) and the change of a number (22).
// Each keeps what it moves in a Deformer, started on the first step; the drag ends with the
// release, Esc or (placing) Enter, and one full recompute.
#pragma once

#include <array>
#include <vector>

#include "geometry/deform.h"
#include "session/mode.h"

namespace kv {

// What a drag moves: one point, the two end points of a line kept at their offsets from the
// mouse, several points, or a number.
struct DragState {
  int32_t dragPoint = 0;
  int32_t dragLine = 0;
  std::array<double, 4> offsets{};  // endA - press (x, y), endB - press (x, y)
  std::vector<int32_t> points;      // the multi-point drag's selection, in pick order
  int32_t number = 0;               // the number a number change steps
};

// Hands the deformer's step notices to the session (loci, measurement records).
class ModeHostObserver final : public DeformObserver {
 public:
  explicit ModeHostObserver(ModeHost& host) : host_(host) {}
  void BeforeStep(int32_t dragged) override { host_.BeforeDeformStep(dragged); }
  void AfterStep(int32_t dragged, const DragPlan& plan) override {
    host_.AfterDeformStep(dragged, plan);
  }

 private:
  ModeHost& host_;
};

class DragMode : public Mode {
 public:
  DragMode(int16_t code, DragState state) : Mode(code), drag_(std::move(state)) {}

  void Press(ModeHost& host, const PointerEvent& e) override;
  void Move(ModeHost& host, const PointerEvent& e) override;
  void Release(ModeHost& host, const PointerEvent& e) override;
  void Key(ModeHost& host, int code, int shift) override;
  void AddMarks(const Figure& fig, std::vector<ObjectMark>& marks) const override;

  const DragState& State() const { return drag_; }
  // What the picker of the deformation commands chose.
  void SetPoint(int32_t point);
  void AddPoint(int32_t point);
  void SetNumber(int32_t number);
  // The plan of the deformation in progress, or null before its first step.
  const DragPlan* Plan() const { return deformer_.Active() ? &deformer_.Plan() : nullptr; }
  // How many deformers were started in this mode (the window's cached layer follows it).
  int Starts() const { return starts_; }

  // One keyboard step of an arrow key as this mode takes it (snapping when asked).
  void ArrowStep(ModeHost& host, int code, bool snapping);

 private:
  // Starts the deformer on what the state names; false when nothing can move.
  bool EnsureStarted(ModeHost& host);
  void MouseStep(ModeHost& host, const PointerEvent& e);
  bool MovesWithMouse() const;

  DragState drag_;
  Deformer deformer_;
  int starts_ = 0;
};

}  // namespace kv
