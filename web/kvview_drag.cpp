// Dragging in the web viewer: the hover picker chooses, the deformation core moves.
#include "kvview_drag.h"

#include "construct/picker.h"
#include "geometry/recompute.h"

namespace kvview {

DragTarget PageDrag::Draggable(const kv::Figure& fig, const kv::View& view, double x, double y) {
  const kv::HoverResult hover = kv::HoverPick(fig, view, x, y);
  if (!hover.draggable) return DragTarget::kNothing;
  if (hover.object.cls == kv::kClassPoint) {
    // A point that coincides with another point stays with it.
    return fig.points[hover.object.index].boundClass == kv::kClassPoint ? DragTarget::kNothing
                                                                        : DragTarget::kPoint;
  }
  return hover.object.cls == kv::kClassLine ? DragTarget::kLine : DragTarget::kNothing;
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
