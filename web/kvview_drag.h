// The drag of the web viewer: a press on a draggable point (or on the body of a line through two
// points) starts it, each move puts what is dragged under the pointer and recomputes only what
// depends on it, the release ends it with a full recompute. The moving itself is the desktop
// program's deformation core, so the page shows the same numbers for the same drag.
#pragma once

#include <cstdint>

#include "draw/view.h"
#include "geometry/deform.h"
#include "model/figure.h"

namespace kvview {

enum class DragTarget { kNothing = 0, kPoint = 1, kLine = 2 };

class PageDrag {
 public:
  // What a press at (x, y) (world units) would drag.
  static DragTarget Draggable(const kv::Figure& fig, const kv::View& view, double x, double y);

  // Starts dragging the object under (x, y), if it can be dragged.
  DragTarget Press(kv::Figure& fig, const kv::View& view, double x, double y);
  // Puts the dragged object at the mouse position, quantised to the pixel grid, and
  // recomputes its dependents. False when nothing is dragged.
  bool Move(kv::Figure& fig, const kv::View& view, double x, double y);
  // Ends the drag with the full recompute every finished change gets.
  void Release(kv::Figure& fig);

  bool Active() const { return deformer_.Active(); }
  // What moves during the drag; valid while Active().
  const kv::DragPlan& Plan() const { return deformer_.Plan(); }
  int32_t DragPoint() const { return deformer_.DragPoint(); }

 private:
  kv::Deformer deformer_;
};

}  // namespace kvview
