// Dragging points, lines and numbers.
#include "session/modes/drag_mode.h"

#include <algorithm>

#include "session/input_modes.h"

namespace kv {

namespace {

bool ArrowOf(int code, ArrowKey& key) {
  switch (code) {
    case kKeyUp:
      key = ArrowKey::kUp;
      return true;
    case kKeyDown:
      key = ArrowKey::kDown;
      return true;
    case kKeyLeft:
      key = ArrowKey::kLeft;
      return true;
    case kKeyRight:
      key = ArrowKey::kRight;
      return true;
    default:
      return false;
  }
}

}  // namespace

bool DragMode::MovesWithMouse() const {
  const int16_t code = Code();
  return code == kModeDrag || code == kModeDeform || code == kModePlacePoint ||
         code == kModeMultiDeform;
}

void DragMode::SetPoint(int32_t point) {
  deformer_.End();
  drag_.dragPoint = point;
  drag_.dragLine = 0;
}

void DragMode::AddPoint(int32_t point) {
  deformer_.End();
  if (std::find(drag_.points.begin(), drag_.points.end(), point) == drag_.points.end())
    drag_.points.push_back(point);
}

void DragMode::SetNumber(int32_t number) {
  deformer_.End();
  drag_.number = number;
}

bool DragMode::EnsureStarted(ModeHost& host) {
  if (deformer_.Active()) return true;
  Figure& fig = host.Fig();
  bool started = false;
  if (Code() == kModeNumberChange) {
    started = drag_.number != 0 && deformer_.StartNumber(fig, drag_.number);
  } else if (Code() == kModeMultiDeform) {
    started = deformer_.StartPoints(fig, drag_.points);
  } else if (drag_.dragPoint != 0) {
    started = deformer_.StartPoint(fig, drag_.dragPoint);
  } else if (drag_.dragLine != 0) {
    // The press position is where the offsets were taken from.
    const int32_t line = drag_.dragLine;
    if (fig.InTable({kClassLine, line}) && fig.InTable({kClassPoint, fig.lines[line].endA})) {
      const PointRec& a = fig.points[fig.lines[line].endA];
      started = deformer_.StartLine(fig, line, {a.x - drag_.offsets[0], a.y - drag_.offsets[1]});
    }
  }
  if (started) ++starts_;
  return started;
}

void DragMode::MouseStep(ModeHost& host, const PointerEvent& e) {
  if (!EnsureStarted(host)) return;
  // Placing a point along its new object never snaps.
  const bool snapping = Code() != kModePlacePoint && host.ShiftHeld(e.shift);
  ModeHostObserver observer(host);
  deformer_.MouseStep(host.Fig(), e.x, e.y, host.DeformSetup(), snapping, &observer);
  host.RepaintNeeded();
}

void DragMode::Press(ModeHost& host, const PointerEvent& e) {
  if (Code() == kModeNumberChange) {
    // A left click alone steps the number up, as the Up key does.
    if (e.button == kLeftButton) ArrowStep(host, kKeyUp, false);
    return;
  }
  if (MovesWithMouse() && Code() != kModeDrag) MouseStep(host, e);
}

void DragMode::Move(ModeHost& host, const PointerEvent& e) {
  if ((e.button & kLeftButton) && MovesWithMouse()) MouseStep(host, e);
}

void DragMode::Release(ModeHost& host, const PointerEvent& /*e*/) {
  if (Code() != kModeDrag) return;
  deformer_.End();
  host.PopMode();
  host.RedrawAll();
}

void DragMode::ArrowStep(ModeHost& host, int code, bool snapping) {
  ArrowKey key;
  if (!ArrowOf(code, key) || !EnsureStarted(host)) return;
  ModeHostObserver observer(host);
  const DeformSettings setup = host.DeformSetup();
  if (Code() == kModeNumberChange) {
    // Left and right do nothing to a number.
    if (key != ArrowKey::kUp && key != ArrowKey::kDown) return;
    deformer_.NumberStep(host.Fig(), key == ArrowKey::kUp, setup, &observer);
  } else {
    deformer_.KeyStep(host.Fig(), key, setup, snapping && Code() == kModeDeform, &observer);
  }
  host.RepaintNeeded();
}

void DragMode::Key(ModeHost& host, int code, int shift) {
  if (Code() == kModeDrag) {
    Mode::Key(host, code, shift);
    return;
  }
  ArrowKey key;
  if (ArrowOf(code, key)) {
    ArrowStep(host, code, host.ShiftHeld(shift));
    return;
  }
  // Placing a new point on its line or circle also ends with Enter.
  if (code == kKeyEscape || (code == kKeyEnter && Code() == kModePlacePoint)) {
    deformer_.End();
    host.PopMode();
    host.RedrawAll();
    return;
  }
  host.DeformationKey(code, shift);
}

void DragMode::AddMarks(const Figure& fig, std::vector<ObjectMark>& marks) const {
  if (Code() == kModePlacePoint && drag_.dragPoint != 0)
    marks.push_back({{kClassPoint, drag_.dragPoint}, kStyleHighlight, 1, 1});
  // The point that follows the mouse or the keys is ringed while it moves.
  if ((Code() == kModeDrag || Code() == kModeDeform) && deformer_.Active() &&
      deformer_.DragPoint() != 0)
    marks.push_back({{kClassPoint, deformer_.DragPoint()}, kStyleOwn, 20, 0});
  // The selected points of a multi-point drag are drawn as selected while they move.
  if (Code() == kModeMultiDeform)
    for (const int32_t p : drag_.points)
      if (fig.InTable({kClassPoint, p})) marks.push_back({{kClassPoint, p}, kStyleHighlight, 2, 0});
}

}  // namespace kv
