// Deformation of a figure: moving free points, a line through two points, several points at
// once, or an independent number, one step at a time. The mouse positions are quantised to the
// pixel grid, bound points follow their line or circle, a snapping step finds the nearest fixed
// line or circle (or lattice point). The Deformer holds what a drag moves and the plan of its
// dependents, built once when the drag starts; each step recomputes only those and allocates
// nothing. The window's modes and the web viewer both drive it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/drag_recompute.h"
#include "geometry/primitives.h"
#include "model/figure.h"

namespace kv {

// The snapping rule of a Shift-drag.
enum SnapKind : int32_t { kSnapLineOrCircle = 0, kSnapLine = 1, kSnapLattice = 2 };

enum class ArrowKey { kUp, kDown, kLeft, kRight };

// A mouse coordinate moved onto the pixel grid of `scaleUnit` world units per pixel: positive
// values go to the next grid value strictly above, the others down to the grid value at or
// below. A unit of 0 leaves the value as it is.
double QuantiseToPixel(double v, double scaleUnit);

// Whether the point may be moved by dragging (a free point that is not locked).
bool DraggablePoint(const Figure& fig, int32_t point);
// Whether the line may be dragged by its body (through two points).
bool DraggableLine(const Figure& fig, int32_t line);

// Moves point p towards (x, y): a free point takes the position, a point bound to a line or
// circle is put on it at the nearest place (a segment or half-line stops at its end, with a
// beep), a point bound to another point stays. Returns false when the point did not move.
bool MovePointTo(Figure& fig, int32_t p, double x, double y);

// One key step of `step` world units: a free point moves up, down, left or right; a bound
// point moves along its line or circle (up and right forward).
bool KeyStepPoint(Figure& fig, int32_t p, ArrowKey key, double step);

// The perpendicular distance of a position to a line, and to a circle's circumference.
double DistanceToLine(const LineRec& g, Vec2 p);
double DistanceToCircle(const CircleRec& c, Vec2 p);

// Where a snapping step puts the mouse position (x, y): the nearest lattice point for
// kSnapLattice; otherwise the place nearest to it on the nearest line (or line or circle) that
// does not move with the drag. Without such a line or circle the position stays.
Vec2 SnapPosition(const Figure& fig, const DragPlan& plan, SnapKind kind, Vec2 pos);

// Told around every deformation step: before the moved objects get their new place, and after
// their dependents were recomputed. `dragged` is the point that follows the mouse (0 for a
// line's body or a number).
class DeformObserver {
 public:
  virtual ~DeformObserver() = default;
  virtual void BeforeStep(int32_t dragged) = 0;
  virtual void AfterStep(int32_t dragged, const DragPlan& plan) = 0;
};

struct DeformSettings {
  double scaleUnit = 0.05;  // world units per pixel
  int32_t delta = 10;       // key step in pixels; 0 means 10
  double deltaVar = 0.5;    // step of a number change
  SnapKind snapKind = kSnapLineOrCircle;
};

class Deformer {
 public:
  enum class Target { kNone, kPoint, kLine, kPoints, kNumber };

  // Each start builds the plan of what moves with the target (the figure must be recomputed)
  // and returns false, leaving nothing started, when the target cannot move.
  bool StartPoint(Figure& fig, int32_t point);
  // `press` is the mouse position the line is held at; its two points keep their offsets.
  bool StartLine(Figure& fig, int32_t line, Vec2 press);
  bool StartPoints(Figure& fig, std::span<const int32_t> points);
  bool StartNumber(Figure& fig, int32_t number);
  void End();

  Target Kind() const { return target_; }
  bool Active() const { return target_ != Target::kNone; }
  // The point that follows the mouse: the dragged point or the first of several; 0 otherwise.
  int32_t DragPoint() const;
  int32_t DragLine() const { return target_ == Target::kLine ? line_ : 0; }
  int32_t Number() const { return target_ == Target::kNumber ? number_ : 0; }
  std::span<const int32_t> Points() const { return points_; }
  const DragPlan& Plan() const { return plan_; }
  // The offsets of the line's two points from the press.
  Vec2 OffsetA() const { return offsetA_; }
  Vec2 OffsetB() const { return offsetB_; }

  // A mouse step to (x, y), quantised first; snapping when asked (never for several points).
  void MouseStep(Figure& fig, double x, double y, const DeformSettings& s, bool snapping,
                 DeformObserver* observer = nullptr);
  // An arrow key: the plain, snapping or multi-point keyboard step by `delta` pixels.
  void KeyStep(Figure& fig, ArrowKey key, const DeformSettings& s, bool snapping,
               DeformObserver* observer = nullptr);
  // A number step: up adds deltaVar, down subtracts it.
  void NumberStep(Figure& fig, bool up, const DeformSettings& s,
                  DeformObserver* observer = nullptr);
  // Moves the target to (x, y) as given (no quantisation, no snapping) and recomputes.
  void StepTo(Figure& fig, Vec2 pos, DeformObserver* observer = nullptr);

 private:
  bool Start(Figure& fig, Target target);
  // Rebuilds the plan when the figure's steps or tables changed since it was made.
  void KeepPlanCurrent(Figure& fig);
  void BeginStep(Figure& fig, DeformObserver* observer);
  void EndStep(Figure& fig, DeformObserver* observer);
  void MoveTo(Figure& fig, Vec2 pos);

  Target target_ = Target::kNone;
  int32_t point_ = 0, line_ = 0, number_ = 0;
  std::vector<int32_t> points_;
  std::vector<ObjRef> moving_;
  Vec2 offsetA_, offsetB_;
  DragPlan plan_;
  int32_t planSteps_ = 0;
  std::array<int32_t, 4> planCounts_{};
};

}  // namespace kv
