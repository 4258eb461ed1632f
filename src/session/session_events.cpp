// The canvas events, handed to the mode on top of the stack, and the open dialog.
#include "session/modes/idle_selection_mode.h"
#include "session/session.h"

namespace kv {

void Session::Press(int button, int shift, double x, double y) {
  EventScope scope(*this);
  if (button == kReplayPress) {
    button = lastPress_.button;
    shift = lastPress_.shift;
    x = lastPress_.x;
    y = lastPress_.y;
  } else {
    lastPress_ = {button, shift, x, y};
  }
  Mode& mode = *modes_.TopMode();
  const PointerEvent e{button, shift, x, y};
  if (mode.TakesRightPress()) {
    mode.Press(*this, e);
    return;
  }
  if (button & kRightButton) {
    mode.Key(*this, kKeyEscape, shift);
    return;
  }
  if (!(button & (kLeftButton | kMiddleButton))) return;
  if (IsSelectionMode(mode.Code())) panels_[11].raised = true;
  statusDirty_ = true;
  mode.Press(*this, e);
}

void Session::Move(int button, int shift, double x, double y) {
  EventScope scope(*this);
  modes_.TopMode()->Move(*this, {button, shift, x, y});
}

void Session::Release(int button, int shift, double x, double y) {
  EventScope scope(*this);
  modes_.TopMode()->Release(*this, {button, shift, x, y});
}

void Session::DoubleClick() {
  EventScope scope(*this);
  // In the standard mode of the full menu a double click on a point or line opens its
  // attribute dialog, as the edit item of its object menu does; the first click of the pair
  // has already done what a press does there. Everywhere else it repeats the last press.
  if (CurrentInputMode() == kModeStandard && !EasyMenu() && lastPress_.button == kLeftButton) {
    const HoverResult hit = HoverPickFor(false, figure, view, lastPress_.x, lastPress_.y);
    if (!hit.IsNothing() && figure.InTable(hit.object)) {
      EditObject(hit.object);
      return;
    }
  }
  Press(kReplayPress, 0, 0, 0);
}

void Session::Key(int code, int shift) {
  EventScope scope(*this);
  Mode& mode = *modes_.TopMode();
  mode.Key(*this, code, shift);
  if (IsSelectionMode(mode.Code())) statusDirty_ = true;
}

void Session::TimerTick() {
  EventScope scope(*this);
  modes_.TopMode()->Timer(*this);
}

void Session::SetReplayInterval(int ms) {
  EventScope scope(*this);
  settings.redrawSlow = ms;
  statusDirty_ = true;
}

void Session::StartReplay() {
  EventScope scope(*this);
  // Starting again during a replay starts it over; a second mode 73 would outlive the replay.
  ReplayMode* replay = RunningReplay();
  if (!replay) {
    auto mode = std::make_unique<ReplayMode>();
    replay = mode.get();
    PushInputMode(std::move(mode));
    if (RunningReplay() != replay) return;  // the stack was full
  }
  replay->Start(*this, settings.redrawSlow);
}

void Session::OpenDialog(std::unique_ptr<DialogModel> dialog) {
  if (dialog_) ui_.DialogEnded();
  dialog_ = std::move(dialog);
  dialogOwner_ = modes_.TopMode();
  statusDirty_ = true;
  if (dialog_) ui_.ShowDialog(*dialog_);
}

void Session::OpenObjectMenu(ObjRef ref) {
  EventScope scope(*this);
  const PickResult target{ref.cls, ref.index};
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

bool Session::DialogClick(std::string_view control) {
  EventScope scope(*this);
  const bool done = dialog_ && dialog_->Click(control);
  AfterDialogAction();
  return done;
}

bool Session::DialogType(std::string_view control, std::string_view text) {
  EventScope scope(*this);
  const bool done = dialog_ && dialog_->Type(control, text);
  AfterDialogAction();
  return done;
}

bool Session::DialogSelect(std::string_view control, int line) {
  EventScope scope(*this);
  const bool done = dialog_ && dialog_->SelectLine(control, line);
  AfterDialogAction();
  return done;
}

bool Session::DialogKey(int code, int shift) {
  EventScope scope(*this);
  const bool done = dialog_ && dialog_->Key(code, shift);
  AfterDialogAction();
  return done;
}

void Session::AfterDialogAction() {
  if (dialog_ && dialog_->Closed()) {
    // The mode that opened the dialog reads its result; it may open the next one.
    std::unique_ptr<DialogModel> closed = std::move(dialog_);
    Mode* owner = dialogOwner_;
    dialogOwner_ = nullptr;
    ui_.DialogEnded();
    if (OnStack(owner)) owner->DialogClosed(*this, *closed);
  }
  statusDirty_ = true;
  repaintDirty_ = true;
}

}  // namespace kv
