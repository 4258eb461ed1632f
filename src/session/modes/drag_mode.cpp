// Dragging points and lines.
#include "session/modes/drag_mode.h"

#include "geometry/recompute.h"
#include "session/input_modes.h"

namespace kv {

bool DragMode::MovesWithMouse() const {
  const int16_t code = Code();
  return code == kModeDrag || code == kModeDeform || code == kModePlacePoint ||
         code == kModeMultiDeform;
}

void DragMode::Press(ModeHost& host, const PointerEvent& e) {
  // A press in the number change steps the number; that command lands with the deformation
  // work, so the press only keeps its place here.
  if (Code() == kModeNumberChange) return;
  if (MovesWithMouse()) DragStep(host, e.x, e.y);
}

void DragMode::Move(ModeHost& host, const PointerEvent& e) {
  if ((e.button & kLeftButton) && MovesWithMouse()) DragStep(host, e.x, e.y);
}

void DragMode::Release(ModeHost& host, const PointerEvent& /*e*/) {
  if (Code() != kModeDrag) return;
  host.PopMode();
  host.RedrawAll();
}

void DragMode::Key(ModeHost& host, int code, int shift) {
  if (Code() == kModeDrag) {
    Mode::Key(host, code, shift);
    return;
  }
  // Placing a new point on its line or circle also ends with Enter.
  const bool ends = code == kKeyEscape || (code == kKeyEnter && Code() == kModePlacePoint);
  if (!ends) return;
  host.PopMode();
  host.RedrawAll();
}

void DragMode::DragStep(ModeHost& host, double x, double y) {
  Figure& fig = host.Fig();
  if (drag_.dragPoint != 0) {
    if (!fig.InTable({kClassPoint, drag_.dragPoint})) return;
    PointRec& p = fig.points[drag_.dragPoint];
    p.x = x;
    p.y = y;
  } else if (drag_.dragLine != 0) {
    if (!fig.InTable({kClassLine, drag_.dragLine})) return;
    const LineRec& line = fig.lines[drag_.dragLine];
    if (!fig.InTable({kClassPoint, line.endA}) || !fig.InTable({kClassPoint, line.endB})) return;
    PointRec& a = fig.points[line.endA];
    PointRec& b = fig.points[line.endB];
    // Only free ends move; a constructed end keeps its construction.
    if (a.free == kTrue) a.x = x + drag_.offsets[0], a.y = y + drag_.offsets[1];
    if (b.free == kTrue) b.x = x + drag_.offsets[2], b.y = y + drag_.offsets[3];
  } else {
    return;
  }
  RecomputeAll(fig);
  host.RepaintNeeded();
}

void DragMode::AddMarks(const Figure& /*fig*/, std::vector<ObjectMark>& marks) const {
  if (Code() == kModePlacePoint && drag_.dragPoint != 0)
    marks.push_back({{kClassPoint, drag_.dragPoint}, kStyleHighlight, 1, 1});
}

}  // namespace kv
