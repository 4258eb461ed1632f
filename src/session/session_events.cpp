// Dispatch of the canvas events by the current input mode.
#include "session/session.h"

namespace kv {

void Session::Press(int button, int shift, double x, double y) {
  if (button == kReplayPress) {
    button = lastPress_.button;
    shift = lastPress_.shift;
    x = lastPress_.x;
    y = lastPress_.y;
  } else {
    lastPress_ = {button, shift, x, y};
  }
  const int16_t mode = CurrentInputMode();
  if (mode == kModeStandard) {
    PressStandard(button, shift, x, y);
    return;
  }
  if (button & kRightButton) {
    Key(kKeyEscape, shift);
    return;
  }
  if (!(button & (kLeftButton | kMiddleButton))) return;
  if (IsSelectionMode(mode)) {
    panels_[11].raised = true;
    RefreshStatus();
    SelectionPick(x, y);
    return;
  }
  switch (mode) {
    case kModeDeform:
      DragStepWithShift(shift, x, y);
      break;
    case kModePlacePoint:
      DragStep(x, y);
      break;
    case kModeMultiDeform:
      MultiDragStep(x, y);
      break;
    case kModeNumberChange:
      if (button == kLeftButton) NumberStepUp();
      break;
    case kModeNewPoint:
      NewPointPress(x, y);
      break;
    case kModeScribble:
      ScribblePress(x, y);
      break;
    case kModeReplay:
      StopReplayTimer();
      AdvanceReplay();
      break;
    default:
      RedrawAll();
      break;
  }
}

void Session::PressStandard(int button, int /*shift*/, double x, double y) {
  PickResult pick = HoverPick(x, y);
  if (button & kLeftButton) {
    if (pick.cls == kClassPoint) {
      if (!figure.InTable({kClassPoint, pick.index})) return;
      if (figure.points[pick.index].free != kTrue) return;
      ClearCandidates();
      PushInputMode(kModeDrag);
      RefreshStatus();
      drag_.dragPoint = pick.index;
      drag_.dragLine = 0;
      PrepareDragDependencies();
      return;
    }
    if (pick.cls == kClassLine) {
      if (!figure.InTable({kClassLine, pick.index})) return;
      const LineRec& line = figure.lines[pick.index];
      if (!line.byTwoPoints || !figure.InTable({kClassPoint, line.endA}) ||
          !figure.InTable({kClassPoint, line.endB}))
        return;
      const PointRec& a = figure.points[line.endA];
      const PointRec& b = figure.points[line.endB];
      drag_.dragLine = pick.index;
      drag_.dragPoint = 0;
      drag_.offsets = {a.x - x, a.y - y, b.x - x, b.y - y};
      PushInputMode(kModeDrag);
      RefreshStatus();
      return;
    }
    // Empty canvas or a circle: show what can be dragged.
    ShowDraggableCandidates();
    ui_.RequestRepaint();
    return;
  }
  if (button & kRightButton) {
    if (pick.IsNothing() || menuMode_ == -1) {
      RedrawAll();
    } else {
      OpenObjectMenu(pick);
    }
  }
}

void Session::OpenObjectMenu(PickResult target) {
  static constexpr std::string_view kClassWords[] = {"", "点", "線", "円"};
  if (target.cls < kClassPoint || target.cls > kClassCircle ||
      !figure.InTable({target.cls, target.index}))
    return;
  ObjectMenuState menu;
  menu.target = target;
  const std::string description =
      Tr(kClassWords[target.cls]) + " " +
      std::string(TrimSpaces(figure.GetName({target.cls, target.index})));
  if (target.cls == kClassPoint && figure.points[target.index].free == kTrue) {
    const PointRec& p = figure.points[target.index];
    menu.boundedVisible = true;
    menu.boundedCaption = Tr("束縛条件の編集") + ":" + description;
    if (p.boundClass != 0) {
      menu.setFreeVisible = true;
      menu.setFreeCaption = Tr("フリーにする") + ":" + description;
    }
    menu.deformVisible = true;
    menu.deformCaption = Tr("キーボード変形") + ":" + description;
  }
  menu.editCaption = Tr("編集") + ":" + description;
  objectMenu_ = std::move(menu);
  ui_.PopupObjectMenu();
}

void Session::Move(int button, int shift, double x, double y) {
  const bool left = (button & kLeftButton) != 0;
  switch (CurrentInputMode()) {
    case kModeStandard:
      HoverPick(x, y);
      break;
    case kModeDeform:
    case kModeDrag:
      if (left) DragStepWithShift(shift, x, y);
      break;
    case kModePlacePoint:
      if (left) DragStep(x, y);
      break;
    case kModeMultiDeform:
      if (left) MultiDragStep(x, y);
      break;
    case kModeScribble:
      ScribbleMove(x, y);
      break;
    default:
      break;
  }
}

void Session::Release(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {
  switch (CurrentInputMode()) {
    case kModeDrag:
      PopInputMode();
      drag_ = DragState{};
      RedrawAll();
      RefreshStatus();
      break;
    case kModeScribble:
      ScribbleRelease();
      break;
    default:
      break;
  }
}

void Session::DoubleClick() { Press(kReplayPress, 0, 0, 0); }

void Session::Key(int code, int shift) {
  const int16_t mode = CurrentInputMode();
  switch (mode) {
    case kModeDeform:
    case kModeNumberChange:
    case kModePlacePoint:
    case kModeMultiDeform:
      DeformationKeys(code, shift);
      break;
    case kModeSelect:
    case kModeMultiSelect:
    case kModeConstructSelect:
    case kModeEditSelect:
    case kModeBindPickPoint:
    case kModeBindPickTarget:
    case kModeMultiDeformSelect:
      SelectionKeys(code);
      RefreshStatus();
      break;
    case kModeNewPoint:
      NewPointKeys(code);
      RefreshStatus();
      break;
    case kModeScribble:
      ScribbleKeys(code);
      break;
    case kModeReplay:
      if (code == kKeyEscape) {
        FinishReplay();
      } else {
        StopReplayTimer();
        AdvanceReplay();
      }
      break;
    default:
      if (code == kKeyEscape) EscapeOtherMode(shift);
      break;
  }
}

void Session::EscapeOtherMode(int shift) {
  RedrawAll();
  if (ShiftHeld(shift)) {
    PopInputMode();
    RefreshStatus();
  }
}

bool Session::DialogClick(std::string_view control) {
  const bool done = dialog_ && dialog_->Click(control);
  AfterDialogAction();
  return done;
}

bool Session::DialogType(std::string_view control, std::string_view text) {
  const bool done = dialog_ && dialog_->Type(control, text);
  AfterDialogAction();
  return done;
}

bool Session::DialogSelect(std::string_view control, int line) {
  const bool done = dialog_ && dialog_->SelectLine(control, line);
  AfterDialogAction();
  return done;
}

bool Session::DialogKey(int code, int shift) {
  const bool done = dialog_ && dialog_->Key(code, shift);
  AfterDialogAction();
  return done;
}

void Session::AfterDialogAction() {
  if (dialog_ && dialog_->Closed() && !FinishAttributeDialog()) dialog_.reset();
  RefreshStatus();
  ui_.RequestRepaint();
}

}  // namespace kv
