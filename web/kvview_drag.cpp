// Dragging in the web viewer: the hover picker chooses, the deformation core moves.
#include "kvview_drag.h"

#include "construct/picker.h"
#include "geometry/recompute.h"

namespace kvview {

DragTarget PageDrag::Draggable(const kv::Figure& fig, const kv::View& view, double x, double y) {
  // As a press in the desktop's standard mode: the nearest object, if it can move.
  const kv::ObjRef found = kv::HoverPick(fig, view, x, y).object;
  if (found.cls == kv::kClassPoint && kv::DraggablePoint(fig, found.index)) {
    // A point that coincides with another point stays with it.
    return fig.points[found.index].boundClass == kv::kClassPoint ? DragTarget::kNothing
                                                                 : DragTarget::kPoint;
  }
  if (found.cls == kv::kClassLine && kv::DraggableLine(fig, found.index)) {
    // Only its free points move; a line through two constructed points cannot.
    const kv::LineRec& line = fig.lines[found.index];
    if (kv::DraggablePoint(fig, line.endA) || kv::DraggablePoint(fig, line.endB))
      return DragTarget::kLine;
  }
  return DragTarget::kNothing;
}

DragTarget PageDrag::Press(kv::Figure& fig, const kv::View& view, double x, double y) {
  if (Active()) Release(fig);
  const DragTarget target = Draggable(fig, view, x, y);
  if (target == DragTarget::kNothing) return target;
  const int32_t index = kv::HoverPick(fig, view, x, y).object.index;
  // The dependents are found once, on the figure as the last full recompute left it.
  const bool started = target == DragTarget::kPoint
                           ? deformer_.StartPoint(fig, index)
                           : deformer_.StartLine(fig, index, kv::Vec2{x, y});
  return started ? target : DragTarget::kNothing;
}

bool PageDrag::Move(kv::Figure& fig, const kv::View& view, double x, double y) {
  if (!Active()) return false;
  kv::DeformSettings settings;
  settings.scaleUnit = view.ScaleUnit;
  deformer_.MouseStep(fig, x, y, settings, /*snapping=*/false);
  return true;
}

void PageDrag::Release(kv::Figure& fig) {
  if (!Active()) return;
  deformer_.End();
  kv::RecomputeAll(fig);
}

}  // namespace kvview
