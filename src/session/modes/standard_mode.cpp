// The standard mode's presses and moves.
#include "session/modes/standard_mode.h"

#include <algorithm>

#include "session/input_modes.h"
#include "session/modes/drag_mode.h"
#include "session/ui_port.h"

namespace kv {

StandardMode::StandardMode() : Mode(kModeStandard) {}

PickResult StandardMode::HoverPick(ModeHost& host, double x, double y) {
  const HoverResult result = HoverPickFor(host.EasyMenu(), host.Fig(), host.CurrentView(), x, y);
  if (indication_.Update(result).Any()) host.RepaintNeeded();
  const bool sizeAll = result.pointer == PointerShape::kSizeAll;
  if (sizeAll != sizeAllPointer_) {
    sizeAllPointer_ = sizeAll;
    host.Ui().SetDragPointer(sizeAll);
  }
  // The name in panel 11 changes only when the mouse meets another object, so that plain
  // moves do no string work.
  if (result.object != shownInStatus_) {
    shownInStatus_ = result.object;
    host.SetPanelText(11, PickStatusText(host.Fig(), result.object, host.Texts()));
  }
  return {result.object.cls, result.object.index};
}

void StandardMode::Move(ModeHost& host, const PointerEvent& e) { HoverPick(host, e.x, e.y); }

void StandardMode::Press(ModeHost& host, const PointerEvent& e) {
  const PickResult pick = HoverPick(host, e.x, e.y);
  if (e.button & kLeftButton) {
    PressLeft(host, e, pick);
    return;
  }
  if (e.button & kRightButton) {
    if (pick.IsNothing() || host.EasyMenu()) {
      host.RedrawAll();
    } else {
      host.OpenObjectMenu({pick.cls, pick.index});
    }
  }
}

void StandardMode::PressLeft(ModeHost& host, const PointerEvent& e, PickResult pick) {
  const Figure& fig = host.Fig();
  if (pick.cls == kClassPoint) {
    if (!fig.InTable({kClassPoint, pick.index}) || fig.points[pick.index].free != kTrue) return;
    ClearCandidates();
    DragState drag;
    drag.dragPoint = pick.index;
    host.PushMode(std::make_unique<DragMode>(kModeDrag, drag));
    return;
  }
  if (pick.cls == kClassLine) {
    if (!fig.InTable({kClassLine, pick.index})) return;
    const LineRec& line = fig.lines[pick.index];
    if (!line.byTwoPoints || !fig.InTable({kClassPoint, line.endA}) ||
        !fig.InTable({kClassPoint, line.endB}))
      return;
    const PointRec& a = fig.points[line.endA];
    const PointRec& b = fig.points[line.endB];
    DragState drag;
    drag.dragLine = pick.index;
    drag.offsets = {a.x - e.x, a.y - e.y, b.x - e.x, b.y - e.y};
    host.PushMode(std::make_unique<DragMode>(kModeDrag, drag));
    return;
  }
  // Empty canvas or a circle: show what can be dragged.
  ShowDraggableCandidates(fig);
  host.RepaintNeeded();
}

void StandardMode::ShowDraggableCandidates(const Figure& fig) {
  candidates_.clear();
  const int32_t count = std::min<int32_t>(fig.classCount[kClassPoint], fig.UpperBound(kClassPoint));
  for (int32_t i = 1; i <= count; ++i)
    if (fig.points[i].free == kTrue) candidates_.push_back({kClassPoint, i});
}

void StandardMode::AddMarks(const Figure& fig, std::vector<ObjectMark>& marks) const {
  for (const ObjRef& ref : candidates_) marks.push_back({ref, kStyleOwn + 7});
  const ObjRef indicated = indication_.Indicated();
  if (indicated.index != 0 && fig.InTable(indicated))
    marks.push_back({indicated, kStyleHighlight, -1, 1});
}

void StandardMode::ForgetHover() {
  indication_.Reset();
  shownInStatus_ = {};
}

void StandardMode::ForgetIndication() {
  indication_.Reset();
  shownInStatus_ = {};
  sizeAllPointer_ = false;
}

}  // namespace kv
