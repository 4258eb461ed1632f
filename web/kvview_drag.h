// The drag of the web viewer: a press on a draggable point (or on a line through two draggable
// points) starts it, each move puts what is dragged under the pointer and recomputes only what
// depends on it, the release ends it with a full recompute. Only the core is used, so the page
// shows the same numbers as the desktop program for the same drag.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "draw/view.h"
#include "geometry/drag_recompute.h"
#include "model/figure.h"

namespace kvview {

enum class DragTarget { kNothing = 0, kPoint = 1, kLine = 2 };

class PageDrag {
 public:
  // The object under (x, y) (world units) that a press would drag; kNothing when none.
  static DragTarget Draggable(const kv::Figure& fig, const kv::View& view, double x, double y);

  // Starts dragging the object under (x, y), if it can be dragged.
  DragTarget Press(kv::Figure& fig, const kv::View& view, double x, double y);
  // Puts the dragged object at the mouse position, quantised to the pixel grid, and
  // recomputes its dependents. False when nothing is dragged.
  bool Move(kv::Figure& fig, const kv::View& view, double x, double y);
  // Ends the drag with the full recompute every finished change gets.
  void Release(kv::Figure& fig);

  bool Active() const { return target_ != DragTarget::kNothing; }
  // What moves during the drag; valid while Active().
  const kv::DragPlan& Plan() const { return plan_; }
  int32_t DragPoint() const { return dragPoint_; }

 private:
  void MovePoint(kv::Figure& fig, int32_t index, double x, double y);

  DragTarget target_ = DragTarget::kNothing;
  int32_t dragPoint_ = 0;
  int32_t dragLine_ = 0;
  std::array<double, 4> offsets_{};  // endA - press (x, y), endB - press (x, y)
  kv::DragPlan plan_;
  std::vector<kv::ObjRef> moving_;
};

// The pixel grid of mouse positions: a coordinate goes to the next grid value strictly above
// when positive, to the grid value at or below otherwise; unchanged when the scale is 0.
double QuantiseToPixel(double v, double scaleUnit);

}  // namespace kvview
