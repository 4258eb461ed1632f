// The edit commands: picking the object to edit or to bind (modes 40, 52, 53), opening its
// attribute dialog or the binding dialog, and carrying out what the dialog decided once it
// closes. A binding ends in mode 30, where the point is placed along its new object.
#include "construct/attribute_dialogs.h"
#include "expr/number_dialog.h"
#include "session/session.h"

namespace kv {

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
      PushInputMode(kModeNumberEdit);
      PushInputMode(kModeEditSelect);
      RedrawAll();
      dialog_ = std::make_unique<NumberDialog>(figure, SelNumCaller::kAttributeEdit, Kind::kNone,
                                               draw.KetaDecimal, translator);
      RefreshStatus();
      ui_.DialogOpened();
      return true;
    case M::mnuEboundedPt:
      if (figure.classCount[kClassPoint] < 1) return true;
      PushInputMode(kModeBind);
      PushInputMode(kModeBindPickPoint);
      RedrawAll();
      StartAttributePick(DraggableRules());
      return true;
    case M::mnuEdit2_point_Edit: {
      const ObjRef t{objectMenu_.target.cls, objectMenu_.target.index};
      if (t.cls < kClassPoint || !figure.InTable(t)) return true;
      PushInputMode(EditModeOf(t.cls));
      OpenShapeDialog(t);
      return true;
    }
    case M::mnuEdit2_point_Bounded: {
      const ObjRef t{objectMenu_.target.cls, objectMenu_.target.index};
      if (t.cls != kClassPoint || !figure.InTable(t)) return true;
      PushInputMode(kModeBind);
      OpenBindingDialog(t.index);
      return true;
    }
    case M::mnuEVarDispAllOn:
    case M::mnuEVarDispAllOff:
      SetAllNumbersHidden(figure, cmd == M::mnuEVarDispAllOff);
      RedrawAll();
      RefreshStatus();
      return true;
    default:
      return false;
  }
}

void Session::StartEditSelection(int cls) {
  if (figure.classCount[cls] < 1) return;
  PushInputMode(EditModeOf(cls));
  PushInputMode(kModeEditSelect);
  RedrawAll();
  StartAttributePick(EditRules(cls));
}

void Session::StartAttributePick(SelectionRules rules) {
  if (!attributePicker_.Start(figure, std::move(rules))) {
    // Nothing to choose: leave as Esc would.
    CancelAttributePick();
    return;
  }
  ShowAttributeCandidate();
  RefreshStatus();
}

void Session::ShowAttributeCandidate() {
  candidateMarks_.clear();
  const ObjRef current = attributePicker_.Current();
  if (!current.IsEmpty()) candidateMarks_.push_back(current);
  ui_.RequestRepaint();
}

bool Session::AttributePickActive() const {
  const int16_t mode = CurrentInputMode();
  return attributePicker_.Active() &&
         (mode == kModeEditSelect || mode == kModeBindPickPoint || mode == kModeBindPickTarget);
}

void Session::AttributePickStep(const SelectionStep& step) {
  switch (step.action) {
    case SelectionAction::kMoved:
      ShowAttributeCandidate();
      break;
    case SelectionAction::kConfirm:
      attributePicker_.Clear();
      ClearCandidates();
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
  ClearCandidates();
  // Leave the selection and the command that pushed it; a binding keeps its old target.
  const int16_t mode = CurrentInputMode();
  if (mode == kModeEditSelect || mode == kModeBindPickPoint || mode == kModeBindPickTarget)
    PopInputMode();
  const int16_t task = CurrentInputMode();
  if (task == kModeBind || (task >= kModeNumberEdit && task <= kModeCircleEdit)) PopInputMode();
  bindPoint_ = 0;
  RedrawAll();
  RefreshStatus();
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
    drag_.dragPoint = bindPoint_;
    bindPoint_ = 0;
    PushInputMode(kModePlacePoint);
    RefreshStatus();
  }
}

void Session::OpenShapeDialog(ObjRef target) {
  RefreshStatus();
  dialog_ = std::make_unique<ShapeAttributeDialog>(figure, target, translator);
  ui_.DialogOpened();
}

void Session::OpenBindingDialog(int32_t point) {
  bindPoint_ = point;
  RefreshStatus();
  dialog_ = std::make_unique<BindingDialog>(figure, point, translator);
  ui_.DialogOpened();
}

bool Session::FinishAttributeDialog() {
  if (auto* shape = dynamic_cast<ShapeAttributeDialog*>(dialog_.get())) {
    (void)shape;
    dialog_.reset();
    PopInputMode();  // the edit mode
    RedrawAll();
    RefreshStatus();
    return true;
  }
  if (auto* number = dynamic_cast<NumberAttributeDialog*>(dialog_.get())) {
    (void)number;
    dialog_.reset();
    PopInputMode();  // mode 41
    RedrawAll();
    RefreshStatus();
    return true;
  }
  if (auto* select = dynamic_cast<NumberDialog*>(dialog_.get());
      select && select->Caller() == SelNumCaller::kAttributeEdit) {
    const bool chosen = select->Outcome() == DialogOutcome::kChosen;
    const int32_t n = select->ChosenNumber();
    dialog_.reset();
    PopInputMode();  // mode 40
    if (chosen) {
      dialog_ = std::make_unique<NumberAttributeDialog>(figure, n, translator);
      RefreshStatus();
      ui_.DialogOpened();
    } else {
      PopInputMode();  // mode 41
      RedrawAll();
      RefreshStatus();
    }
    return true;
  }
  if (auto* bind = dynamic_cast<BindingDialog*>(dialog_.get())) {
    const BindingChoice choice = bind->Choice();
    const int cls = bind->TargetClass();
    dialog_.reset();
    switch (choice) {
      case BindingChoice::kPickTarget: {
        PushInputMode(kModeBindPickTarget);
        RedrawAll();
        SelectionRules rules = EditRules(cls);
        rules.excluded = BindingExclusions(figure, bindPoint_, cls);
        StartAttributePick(std::move(rules));
        return true;
      }
      case BindingChoice::kNoTarget:
        ui_.MessageOk(Tr(kNoBindingTargetMessage), kProgramTitle);
        break;
      default:
        break;
    }
    PopInputMode();  // mode 51
    bindPoint_ = 0;
    RefreshStatus();
    RedrawAll();
    return true;
  }
  return false;
}

}  // namespace kv
