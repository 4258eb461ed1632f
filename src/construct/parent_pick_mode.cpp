// Picking the parents of the pending step.
#include "construct/parent_pick_mode.h"

#include "construct/construction.h"
#include "expr/number_dialog.h"
#include "session/input_modes.h"
#include "session/ui_port.h"

namespace kv {

ParentPickMode::ParentPickMode(Constructor& constructor)
    : Mode(kModeConstructSelect), constructor_(constructor) {}

void ParentPickMode::AskObject(ModeHost& host, SelectionRules rules) {
  if (!picker_.Start(host.Fig(), std::move(rules)) || picker_.Current().index == 0) {
    picker_.Clear();
    constructor_.Cancel(host);
    return;
  }
  host.SetPanelText(11, PickStatusText(host.Fig(), picker_.Current(), host.Texts()));
  host.RepaintNeeded();
}

void ParentPickMode::AskNumber(ModeHost& host, Kind kind) {
  picker_.Clear();
  host.SetPanelText(11, {});
  host.OpenDialog(std::make_unique<NumberDialog>(host.Fig(), SelNumCaller::kConstruction, kind,
                                                 host.Decimals(), host.Texts()));
}

void ParentPickMode::Press(ModeHost& host, const PointerEvent& e) {
  if (!picker_.Active()) return;
  Apply(host, picker_.Click(host.Fig(), e.x, e.y));
}

void ParentPickMode::Key(ModeHost& host, int code, int /*shift*/) {
  if (!picker_.Active()) {
    if (code == kKeyEscape) constructor_.Cancel(host);
    return;
  }
  switch (code) {
    case kKeyUp:
      Apply(host, picker_.Previous(host.Fig()));
      break;
    case kKeyDown:
      Apply(host, picker_.Next(host.Fig()));
      break;
    case kKeyEnter:
      Apply(host, picker_.Confirm(host.Fig()));
      break;
    case kKeyEscape:
      Apply(host, picker_.Cancel());
      break;
    default:
      break;
  }
}

void ParentPickMode::Apply(ModeHost& host, const SelectionStep& step) {
  switch (step.action) {
    case SelectionAction::kNone:
      return;
    case SelectionAction::kMoved:
      host.SetPanelText(11, PickStatusText(host.Fig(), step.current, host.Texts()));
      host.RepaintNeeded();
      return;
    case SelectionAction::kConfirm:
      picker_.Clear();
      host.SetPanelText(11, {});
      constructor_.AcceptParent(host, step.current);
      return;
    case SelectionAction::kCancel:
      picker_.Clear();
      host.SetPanelText(11, {});
      constructor_.Cancel(host);
      return;
  }
}

void ParentPickMode::DialogClosed(ModeHost& host, DialogModel& dialog) {
  constructor_.NumberChosen(host, dialog);
}

void ParentPickMode::AddMarks(const Figure& /*fig*/, std::vector<ObjectMark>& marks) const {
  if (!picker_.Active() || picker_.Current().index == 0) return;
  marks.push_back({picker_.Current(), kStyleHighlight, 1, 1});
}

}  // namespace kv
