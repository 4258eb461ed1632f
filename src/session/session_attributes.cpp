// The edit commands: picking the object to edit or to bind (modes 40, 52, 53), opening its
// attribute dialog or the binding dialog, and carrying out what the dialog decided once it
// closes. A binding ends in mode 30, where the point is placed along its new object.
#include "construct/attribute_dialogs.h"
#include "construct/picker.h"
#include "expr/number_dialog.h"
#include "session/session.h"

namespace kv {

// Every mode of the edit commands: the commands themselves (40 to 43, 51), which own their
// dialogs, and the selections (the object to edit, the point to bind, its new object), which
// pick with the session's attribute picker.
class AttributeMode : public Mode {
 public:
  AttributeMode(int16_t code, Session& session) : Mode(code), session_(session) {}

  void Press(ModeHost& host, const PointerEvent& e) override {
    if (!Picking()) {
      if (!IsSelection()) Mode::Press(host, e);
      return;
    }
    session_.AttributePickStep(session_.attributePicker_.Click(host.Fig(), e.x, e.y));
  }
  void Key(ModeHost& host, int code, int shift) override {
    if (Picking()) {
      session_.AttributePickKey(code);
    } else if (IsSelection()) {
      if (code == kKeyEscape) session_.CancelAttributePick();
    } else {
      Mode::Key(host, code, shift);
    }
  }
  void DialogClosed(ModeHost& /*host*/, DialogModel& dialog) override {
    // May pop this mode: nothing of it is touched afterwards.
    session_.FinishAttributeDialog(dialog);
  }
  void AddMarks(const Figure& /*fig*/, std::vector<ObjectMark>& marks) const override {
    if (!Picking()) return;
    const ObjRef current = session_.attributePicker_.Current();
    if (current.index != 0) marks.push_back({current, kStyleHighlight, 1, 1});
  }

 private:
  bool IsSelection() const {
    return Code() == kModeEditSelect || Code() == kModeBindPickPoint ||
           Code() == kModeBindPickTarget;
  }
  bool Picking() const { return IsSelection() && session_.attributePicker_.Active(); }

  Session& session_;
};

namespace {

int16_t EditModeOf(int cls) {
  switch (cls) {
    case kClassPoint:
      return kModePointEdit;
    case kClassLine:
      return kModeLineEdit;
    case kClassCircle:
      return kModeCircleEdit;
    default:
      return kModeNumberEdit;
  }
}

}  // namespace

void Session::EditObject(ObjRef target) {
  if (target.cls < kClassPoint || !figure.InTable(target)) return;
  PushAttributeMode(EditModeOf(target.cls));
  OpenShapeDialog(target);
}

bool Session::AttributeCommand(MenuCommand cmd) {
  using M = MenuCommand;
  switch (cmd) {
    case M::mnuEbasicPt:
      StartEditSelection(kClassPoint);
      return true;
    case M::mnuEbasicLine:
      StartEditSelection(kClassLine);
      return true;
    case M::mnuEbasicCircle:
      StartEditSelection(kClassCircle);
      return true;
    case M::mnuEbasicNum:
      if (figure.classCount[kClassNumber] < 1) return true;
      PushAttributeMode(kModeNumberEdit);
      PushAttributeMode(kModeEditSelect);
      RedrawAll();
      OpenDialog(std::make_unique<NumberDialog>(figure, SelNumCaller::kAttributeEdit, Kind::kNone,
                                                draw.KetaDecimal, translator));
      return true;
    case M::mnuEboundedPt:
      if (figure.classCount[kClassPoint] < 1) return true;
      PushAttributeMode(kModeBind);
      PushAttributeMode(kModeBindPickPoint);
      RedrawAll();
      StartAttributePick(DraggableRules());
      return true;
    case M::mnuEdit2_point_Edit:
      EditObject({objectMenu_.target.cls, objectMenu_.target.index});
      return true;
    case M::mnuEdit2_point_Bounded: {
      const ObjRef t{objectMenu_.target.cls, objectMenu_.target.index};
      if (t.cls != kClassPoint || !figure.InTable(t)) return true;
      PushAttributeMode(kModeBind);
      OpenBindingDialog(t.index);
      return true;
    }
    case M::mnuEVarDispAllOn:
    case M::mnuEVarDispAllOff:
      SetAllNumbersHidden(figure, cmd == M::mnuEVarDispAllOff);
      RedrawAll();
      statusDirty_ = true;
      return true;
    default:
      return false;
  }
}

void Session::PushAttributeMode(int16_t code) {
  PushInputMode(std::make_unique<AttributeMode>(code, *this));
}

void Session::StartEditSelection(int cls) {
  if (figure.classCount[cls] < 1) return;
  PushAttributeMode(EditModeOf(cls));
  PushAttributeMode(kModeEditSelect);
  RedrawAll();
  StartAttributePick(EditRules(cls));
}

void Session::StartAttributePick(SelectionRules rules) {
  if (!attributePicker_.Start(figure, std::move(rules))) {
    // Nothing to choose: leave as Esc would.
    CancelAttributePick();
    return;
  }
  SetPanelText(11, PickStatusText(figure, attributePicker_.Current(), translator));
  repaintDirty_ = true;
}

void Session::AttributePickStep(const SelectionStep& step) {
  switch (step.action) {
    case SelectionAction::kMoved:
      SetPanelText(11, PickStatusText(figure, step.current, translator));
      repaintDirty_ = true;
      break;
    case SelectionAction::kConfirm:
      attributePicker_.Clear();
      SetPanelText(11, {});
      AttributePicked(step.current);
      break;
    case SelectionAction::kCancel:
      CancelAttributePick();
      break;
    case SelectionAction::kNone:
      break;
  }
}

void Session::AttributePickKey(int code) {
  switch (code) {
    case kKeyUp:
      AttributePickStep(attributePicker_.Previous(figure));
      break;
    case kKeyDown:
      AttributePickStep(attributePicker_.Next(figure));
      break;
    case kKeyEnter:
      AttributePickStep(attributePicker_.Confirm(figure));
      break;
    case kKeyEscape:
      AttributePickStep(attributePicker_.Cancel());
      break;
    default:
      break;
  }
}

void Session::CancelAttributePick() {
  attributePicker_.Clear();
  SetPanelText(11, {});
  // Leave the selection and the command that pushed it; a binding keeps its old target.
  const int16_t mode = CurrentInputMode();
  if (mode == kModeEditSelect || mode == kModeBindPickPoint || mode == kModeBindPickTarget)
    PopInputMode();
  const int16_t task = CurrentInputMode();
  if (task == kModeBind || (task >= kModeNumberEdit && task <= kModeCircleEdit)) PopInputMode();
  bindPoint_ = 0;
  RedrawAll();
  statusDirty_ = true;
}

void Session::AttributePicked(ObjRef ref) {
  const int16_t mode = CurrentInputMode();
  PopInputMode();  // the selection mode
  if (mode == kModeEditSelect) {
    OpenShapeDialog(ref);
  } else if (mode == kModeBindPickPoint) {
    OpenBindingDialog(ref.index);
  } else {
    // The object to bind to: the point starts at parameter 0 on it and is then placed.
    BindPoint(figure, bindPoint_, ref);
    PopInputMode();  // the binding command
    RedrawAll();
    const int32_t point = bindPoint_;
    bindPoint_ = 0;
    StartPlacing(point);
  }
}

void Session::OpenShapeDialog(ObjRef target) {
  OpenDialog(std::make_unique<ShapeAttributeDialog>(figure, target, translator));
}

void Session::OpenBindingDialog(int32_t point) {
  bindPoint_ = point;
  OpenDialog(std::make_unique<BindingDialog>(figure, point, translator));
}

void Session::FinishAttributeDialog(DialogModel& dialog) {
  if (dynamic_cast<ShapeAttributeDialog*>(&dialog) != nullptr ||
      dynamic_cast<NumberAttributeDialog*>(&dialog) != nullptr) {
    PopInputMode();  // the edit mode (41 for a number)
    RedrawAll();
    return;
  }
  if (auto* select = dynamic_cast<NumberDialog*>(&dialog);
      select && select->Caller() == SelNumCaller::kAttributeEdit) {
    const bool chosen = select->Outcome() == DialogOutcome::kChosen;
    const int32_t n = select->ChosenNumber();
    PopInputMode();  // mode 40
    if (chosen) {
      OpenDialog(std::make_unique<NumberAttributeDialog>(figure, n, translator));
    } else {
      PopInputMode();  // mode 41
      RedrawAll();
    }
    return;
  }
  if (auto* bind = dynamic_cast<BindingDialog*>(&dialog)) {
    const BindingChoice choice = bind->Choice();
    const int cls = bind->TargetClass();
    switch (choice) {
      case BindingChoice::kPickTarget: {
        PushAttributeMode(kModeBindPickTarget);
        RedrawAll();
        SelectionRules rules = EditRules(cls);
        rules.excluded = BindingExclusions(figure, bindPoint_, cls);
        StartAttributePick(std::move(rules));
        return;
      }
      case BindingChoice::kNoTarget:
        ui_.MessageOk(Tr(kNoBindingTargetMessage), kProgramTitle);
        break;
      default:
        break;
    }
    PopInputMode();  // mode 51
    bindPoint_ = 0;
    RedrawAll();
  }
}

}  // namespace kv
