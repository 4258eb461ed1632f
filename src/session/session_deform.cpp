// The deformation commands: dragging one point picked from the draggable ones (6 under 13),
// several points (61 under 62), changing a number (22 under 63), keyboard deformation from the
// object menu, the step sizes, and the deformation keys that act on the session (step sizes,
// axes, the timed run of a hundred steps, the plane sweep of the dragged point).
#include <charconv>
#include <chrono>
#include <cmath>

#include "expr/number_dialog.h"
#include "geometry/recompute.h"
#include "io/file_names.h"
#include "io/sweep_record.h"
#include "io/text_encoding.h"
#include "session/session.h"

namespace kv {

namespace {

constexpr int kKeyA = 'A', kKeyB = 'B', kKeyF = 'F', kKeyH = 'H', kKeyM = 'M', kKeyS = 'S',
              kKeyX = 'X';

DragMode* DragModeOn(ModeHost& host) { return dynamic_cast<DragMode*>(host.TopMode()); }

}  // namespace

// The picking of the point to drag (13) or of the points to drag together (62).
class DeformPickMode : public Mode {
 public:
  DeformPickMode(int16_t code, Session& session) : Mode(code), session_(session) {}

  bool Start(const Figure& fig) {
    return picker_.Start(fig, Code() == kModeSelect ? DraggableRules() : MultiPointRules({}));
  }
  void Press(ModeHost& host, const PointerEvent& e) override {
    Step(host, picker_.Click(host.Fig(), e.x, e.y));
  }
  void Key(ModeHost& host, int code, int /*shift*/) override {
    switch (code) {
      case kKeyUp:
        Step(host, picker_.Previous(host.Fig()));
        break;
      case kKeyDown:
        Step(host, picker_.Next(host.Fig()));
        break;
      case kKeyEnter:
        Step(host, picker_.Confirm(host.Fig()));
        break;
      case kKeyEscape:
        Step(host, picker_.Cancel());
        break;
      default:
        break;
    }
  }
  void AddMarks(const Figure& fig, std::vector<ObjectMark>& marks) const override {
    // Every point that can be chosen, and the current one highlighted.
    for (int32_t i = 1; i <= picker_.CandidateCount(); ++i)
      if (picker_.CanChoose(fig, i)) marks.push_back({picker_.Candidate(i), kStyleOwn + 7});
    const ObjRef current = picker_.Current();
    if (current.index != 0) marks.push_back({current, kStyleHighlight, 1, 1});
  }

 private:
  void Step(ModeHost& host, const SelectionStep& step) {
    switch (step.action) {
      case SelectionAction::kMoved:
        host.RepaintNeeded();
        break;
      case SelectionAction::kConfirm:
        Confirmed(host, step.current.index);
        break;
      case SelectionAction::kCancel:
        Cancelled(host);
        break;
      case SelectionAction::kNone:
        break;
    }
    host.StatusChanged();
  }

  void Confirmed(ModeHost& host, int32_t point) {
    Session& s = session_;
    if (Code() == kModeSelect) {
      picker_.Clear();
      host.PopMode();
      if (DragMode* deform = DragModeOn(host)) deform->SetPoint(point);
      s.panels_[11].raised = false;
      host.RedrawAll();
      return;
    }
    // The multi-point selection goes on with the next point until none is left.
    if (auto* below = dynamic_cast<DragMode*>(s.modes_.ModeAt(s.modes_.Top() - 1)))
      below->AddPoint(point);
    const SelectionStep next = picker_.ExcludeCurrentAndAdvance(host.Fig());
    if (next.current.index == 0) {
      picker_.Clear();
      host.PopMode();
    }
    host.RepaintNeeded();
  }

  void Cancelled(ModeHost& host) {
    picker_.Clear();
    session_.panels_[11].raised = false;
    host.PopMode();
    // A multi-point selection with points in it is finished by Esc; otherwise the command
    // ends, since there is nothing it could move.
    const auto* below = DragModeOn(host);
    if (below && (Code() == kModeSelect || below->State().points.empty())) host.PopMode();
    host.RedrawAll();
  }

  Session& session_;
  SelectionPicker picker_;
};

// The number dialog of the change-a-number command.
class NumberChoiceMode : public Mode {
 public:
  NumberChoiceMode() : Mode(kModeNumberSelect) {}
  void DialogClosed(ModeHost& host, DialogModel& dialog) override {
    auto* select = dynamic_cast<NumberDialog*>(&dialog);
    const bool chosen = select && select->Outcome() == DialogOutcome::kChosen;
    host.PopMode();
    DragMode* change = DragModeOn(host);
    if (chosen && change) {
      change->SetNumber(select->ChosenNumber());
    } else if (change) {
      host.PopMode();
    }
    host.RedrawAll();
  }
};

bool Session::ImplementsDeform(MenuCommand cmd) {
  using M = MenuCommand;
  switch (cmd) {
    case M::mnuDeform1Pt:
    case M::mnuDeformPts:
    case M::mnuDeformVar:
    case M::mnuEdit2_point_Deform:
    case M::mnuOdeformStandard:
    case M::mnuOdeformNarrow:
    case M::mnuOdeformManual:
    case M::mnuOdeformVarStandard:
    case M::mnuOdeformVarNarrow:
    case M::mnuOdeformVarWide:
    case M::mnuOdeformVarManual:
      return true;
    default:
      return false;
  }
}

namespace {

// The step-size boxes never refuse an entry: what lies out of range is replaced.
int32_t DeltaFromEntry(std::string_view entry) {
  const double v = std::trunc(EntryValue(entry));
  if (v > 60) return 60;
  if (!(v >= 1)) return 10;  // also a text that is no number
  return static_cast<int32_t>(v);
}

double DeltaVarFromEntry(std::string_view entry) {
  const double v = EntryValue(entry);
  if (v > 100) return 100;
  if (!(v > 0)) return 0.5;
  return v;
}

}  // namespace

bool Session::DeformCommand(MenuCommand cmd) {
  using M = MenuCommand;
  if (!ImplementsDeform(cmd)) return false;
  statusDirty_ = true;  // the mode, panel 11 and the step sizes' check marks
  switch (cmd) {
    case M::mnuDeform1Pt:
    case M::mnuDeformPts: {
      if (figure.classCount[kClassPoint] < 1) return true;
      const bool one = cmd == M::mnuDeform1Pt;
      PushInputMode(std::make_unique<DragMode>(one ? kModeDeform : kModeMultiDeform, DragState{}));
      auto pick =
          std::make_unique<DeformPickMode>(one ? kModeSelect : kModeMultiDeformSelect, *this);
      DeformPickMode* picker = pick.get();
      PushInputMode(std::move(pick));
      RedrawAll();
      if (!picker->Start(figure)) {
        // Nothing can be dragged: leave as if it never started.
        PopInputMode();
        PopInputMode();
        return true;
      }
      panels_[11].raised = true;
      return true;
    }
    case M::mnuDeformVar:
      if (figure.classCount[kClassNumber] < 1) return true;
      PushInputMode(std::make_unique<DragMode>(kModeNumberChange, DragState{}));
      PushInputMode(std::make_unique<NumberChoiceMode>());
      OpenDialog(std::make_unique<NumberDialog>(figure, SelNumCaller::kChangeNumber, Kind::kNone,
                                                draw.KetaDecimal, translator));
      return true;
    case M::mnuEdit2_point_Deform: {
      const PickResult& t = objectMenu_.target;
      if (t.cls != kClassPoint || !figure.InTable({kClassPoint, t.index})) return true;
      DragState drag;
      drag.dragPoint = t.index;
      PushInputMode(std::make_unique<DragMode>(kModeDeform, std::move(drag)));
      panels_[11].raised = true;
      return true;
    }
    case M::mnuOdeformStandard:
      settings.delta = 10;
      return true;
    case M::mnuOdeformNarrow:
      settings.delta = 1;
      return true;
    case M::mnuOdeformManual:
      if (auto e = AskEntry("1から60までの数を入力してください", "変形の幅の設定", settings.delta))
        settings.delta = DeltaFromEntry(*e);
      return true;
    case M::mnuOdeformVarStandard:
      settings.deltaVar = 0.5;
      return true;
    case M::mnuOdeformVarNarrow:
      settings.deltaVar = 0.1;
      return true;
    case M::mnuOdeformVarWide:
      settings.deltaVar = 1;
      return true;
    case M::mnuOdeformVarManual:
      if (auto e = AskEntry("0より大きく100以下の数を入力してください", "数値の変化の幅の設定",
                            settings.deltaVar))
        settings.deltaVar = DeltaVarFromEntry(*e);
      return true;
    default:
      return false;
  }
}

DeformSettings Session::DeformSetup() const {
  DeformSettings s;
  s.scaleUnit = view.ScaleUnit;
  s.delta = settings.delta;
  s.deltaVar = settings.deltaVar;
  s.snapKind = settings.sDeformKind == 1   ? kSnapLine
               : settings.sDeformKind == 2 ? kSnapLattice
                                           : kSnapLineOrCircle;
  return s;
}

bool Session::DeformationKey(int code, int /*shift*/) {
  const int16_t mode = CurrentInputMode();
  const bool number = mode == kModeNumberChange;
  statusDirty_ = true;  // the step sizes show as check marks
  if (code >= '0' && code <= '5') {
    const int digit = code - '0';
    if (number) {
      static constexpr double kSteps[] = {0.5, 1, 0.1, 0.01, 0.001, 0.0001};
      settings.deltaVar = kSteps[digit];
    } else {
      settings.delta = digit == 0 ? 10 : digit * 20;
    }
    return true;
  }
  switch (code) {
    case kKeyS:
      settings.delta = 1;
      return true;
    case kKeyM:
      settings.delta = 10;
      return true;
    case kKeyF:
      settings.delta = 20;
      return true;
    case kKeyA:
      view.ToggleAxes();
      RedrawAll();
      return true;
    case kKeyB:
      TimedDeformation();
      return true;
    case kKeyH:
      if (mode == kModeDeform) PlaneSweep(false);
      return true;
    case kKeyX:
      if (mode != kModeDeform) return true;
      if (!locusSw_ || SweepNumber() == 0) {
        ShowMessage("軌跡のスイッチがoffか, 変数の選択がしてありません。");
        return true;
      }
      if (!ui_.MessageOkCancel(Tr("数秒程度時間がかかります。"), kProgramTitle)) return true;
      PlaneSweep(true);
      PopInputMode();
      RedrawAll();
      return true;
    default:
      return false;
  }
}

void Session::TimedDeformation() {
  if (figure.classCount[kClassPoint] < 1 || figure.points[1].free != kTrue) return;
  // The keyboard deformation of a mode 6 goes on with point 1 afterwards.
  if (auto* deform = dynamic_cast<DragMode*>(modes_.TopMode());
      deform && deform->Code() == kModeDeform)
    deform->SetPoint(1);
  Deformer deformer;
  if (!deformer.StartPoint(figure, 1)) return;
  ModeHostObserver observer(*this);
  const DeformSettings setup = DeformSetup();
  static constexpr ArrowKey kRound[] = {ArrowKey::kUp, ArrowKey::kRight, ArrowKey::kDown,
                                        ArrowKey::kLeft};
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < 25; ++round)
    for (const ArrowKey key : kRound) deformer.KeyStep(figure, key, setup, false, &observer);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char buffer[32];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 3);
  SetPanelText(11, Tr("100回の変形") + "(" + std::string(buffer, end.ptr) + ")");
  RedrawAll();
}

void Session::PlaneSweep(bool writeFile) {
  auto* deform = dynamic_cast<DragMode*>(modes_.TopMode());
  const int32_t point = deform ? deform->State().dragPoint : 0;
  if (point == 0 || !figure.InTable({kClassPoint, point})) return;
  const SweepGrid grid = SweepGridFor(view.ScaleUnit, view.HalfWidth, view.HalfHeight);
  const int32_t number = writeFile ? SweepNumber() : 0;
  ModeHostObserver observer(*this);
  const std::string text = RunPlaneSweep(figure, point, number, grid, &observer, figureFileName_);
  RedrawAll();
  if (!writeFile) return;
  // A figure never saved has no folder of its own: its record goes to the program folder.
  std::string folder = FolderPart(figureFileName_);
  if (folder.empty()) folder = programFolder_;
  std::string base = FileNamePart(figureFileName_);
  base = base.substr(0, base.find('.'));
  const std::string path = (folder.empty() ? "" : folder + "/") + base + "_3D.csv";
  const std::string error = WriteFileAtomically(path, Utf8ToShiftJis(text));
  if (!error.empty()) ShowMessage(error);
}

}  // namespace kv

namespace kv {

const DragPlan* Session::ActiveDragPlan() const {
  const auto* drag = dynamic_cast<const DragMode*>(modes_.TopMode());
  return drag ? drag->Plan() : nullptr;
}

uint64_t Session::FixedLayerKey() const {
  const auto* drag = dynamic_cast<const DragMode*>(modes_.TopMode());
  const uint64_t starts = drag ? static_cast<uint64_t>(drag->Starts()) : 0;
  return (fullRedraws_ << 16) ^ (starts << 1) ^ reinterpret_cast<uintptr_t>(drag);
}

int32_t Session::SweepNumber() const {
  return figure.InTable({kClassNumber, locusNumber_}) ? locusNumber_ : 0;
}

}  // namespace kv
