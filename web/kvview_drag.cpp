// Dragging in the web viewer, over the core's drag recompute.
#include "kvview_drag.h"

#include <cmath>

#include "construct/picker.h"
#include "geometry/kinds.h"
#include "geometry/recompute.h"

namespace kvview {

using kv::kClassLine;
using kv::kClassPoint;

double QuantiseToPixel(double v, double scaleUnit) {
  if (scaleUnit == 0) return v;
  return v > 0 ? std::floor(v / scaleUnit + 1) * scaleUnit : std::floor(v / scaleUnit) * scaleUnit;
}

DragTarget PageDrag::Draggable(const kv::Figure& fig, const kv::View& view, double x, double y) {
  const kv::HoverResult hover = kv::HoverPick(fig, view, x, y);
  if (!hover.draggable) return DragTarget::kNothing;
  if (hover.object.cls == kClassPoint) {
    // A point that coincides with another point stays with it.
    return fig.points[hover.object.index].boundClass == 1 ? DragTarget::kNothing
                                                          : DragTarget::kPoint;
  }
  return hover.object.cls == kClassLine ? DragTarget::kLine : DragTarget::kNothing;
}

DragTarget PageDrag::Press(kv::Figure& fig, const kv::View& view, double x, double y) {
  if (Active()) Release(fig);
  const DragTarget target = Draggable(fig, view, x, y);
  if (target == DragTarget::kNothing) return target;
  const kv::HoverResult hover = kv::HoverPick(fig, view, x, y);
  moving_.clear();
  dragPoint_ = 0;
  dragLine_ = 0;
  if (target == DragTarget::kPoint) {
    dragPoint_ = hover.object.index;
    moving_.push_back({kClassPoint, dragPoint_});
  } else {
    dragLine_ = hover.object.index;
    const kv::LineRec& line = fig.lines[dragLine_];
    const kv::PointRec& a = fig.points[line.endA];
    const kv::PointRec& b = fig.points[line.endB];
    offsets_ = {a.x - x, a.y - y, b.x - x, b.y - y};
    moving_.push_back({kClassPoint, line.endA});
    moving_.push_back({kClassPoint, line.endB});
  }
  // The dependents are found once, on the figure as the last full recompute left it.
  plan_ = kv::StartDrag(fig, moving_);
  target_ = target;
  return target;
}

void PageDrag::MovePoint(kv::Figure& fig, int32_t index, double x, double y) {
  kv::PointRec& p = fig.points[index];
  p.x = x;
  p.y = y;
  p.valid = kv::kTrue;
  // A point bound to a line or circle goes to the foot of the pointer on it.
  if (p.boundClass == 2 || p.boundClass == 3) {
    kv::SetBoundParam(fig, index);
    if (!kv::ApplyBinding(fig, index)) p.valid = 0;
  }
}

bool PageDrag::Move(kv::Figure& fig, const kv::View& view, double x, double y) {
  if (!Active()) return false;
  x = QuantiseToPixel(x, view.ScaleUnit);
  y = QuantiseToPixel(y, view.ScaleUnit);
  kv::SnapshotDragged(fig, plan_);
  if (target_ == DragTarget::kPoint) {
    MovePoint(fig, dragPoint_, x, y);
  } else {
    const kv::LineRec& line = fig.lines[dragLine_];
    MovePoint(fig, line.endA, x + offsets_[0], y + offsets_[1]);
    MovePoint(fig, line.endB, x + offsets_[2], y + offsets_[3]);
  }
  kv::DragRecompute(fig, plan_);
  return true;
}

void PageDrag::Release(kv::Figure& fig) {
  if (!Active()) return;
  target_ = DragTarget::kNothing;
  dragPoint_ = 0;
  dragLine_ = 0;
  kv::RecomputeAll(fig);
}

}  // namespace kvview
