// Starting, filling and finishing the pending construction step.
#include "construct/construction.h"

#include "construct/expression_mode.h"
#include "construct/new_point_mode.h"
#include "construct/parent_pick_mode.h"
#include "construct/transform_macros.h"
#include "construct/undo.h"
#include "expr/number_dialog.h"
#include "geometry/recompute.h"
#include "lang/translate.h"
#include "model/names.h"
#include "session/input_modes.h"
#include "session/ui_port.h"

namespace kv {

namespace {

constexpr int32_t kCrossMarker = 1;  // "×"

int32_t ClassOfLetter(char letter) {
  switch (letter) {
    case 'P':
      return kClassPoint;
    case 'L':
      return kClassLine;
    case 'C':
      return kClassCircle;
    case 'N':
      return kPendingNumberClass;
    default:
      return 0;
  }
}

// Macro steps: their inputs, then the marker that starts the expansion.
struct MacroTemplate {
  Kind kind;
  std::array<int32_t, 6> parents;
};
constexpr int32_t P = kClassPoint, L = kClassLine, N = kPendingNumberClass, M = kPendingMacroClass;
constexpr MacroTemplate kMacroTemplates[] = {
    {Kind::kPNEQ, {0, P, P, N, M, 0}},    {Kind::kLH2Macro, {0, P, P, P, N, M}},
    {Kind::kL3Macro, {0, L, P, M, 0, 0}}, {Kind::kLPGN, {0, N, M, 0, 0, 0}},
    {Kind::kLRGN, {0, N, P, P, M, 0}},
};

// Parent slots that must hold a segment.
struct SegmentSlot {
  Kind kind;
  int slot;
};
constexpr SegmentSlot kSegmentSlots[] = {
    {Kind::kL4, 1}, {Kind::kPT8, 2}, {Kind::kLT3, 2}, {Kind::kCT3, 2}, {Kind::kC4, 1}};

// Menu commands that make a segment or a half-line of their line output.
struct LineStyleCommand {
  MenuCommand cmd;
  int32_t style;
};
constexpr LineStyleCommand kLineStyleCommands[] = {{MenuCommand::mnuS2P, kLineSegment},
                                                   {MenuCommand::mnuH2P, kLineHalf}};

// Kinds whose own menu item runs another path than the parent picking.
bool PickingKind(Kind kind) {
  switch (kind) {
    case Kind::kNone:
    case Kind::kUnknown:
    case Kind::kPNEW:
    case Kind::kPBND:
    case Kind::kCALC:
    case Kind::kLPGPending:
    case Kind::kPT5:
    case Kind::kPT6:
    case Kind::kPT7:
    case Kind::kPT62:
      return false;
    default:
      return true;
  }
}

}  // namespace

bool TemplateOf(Kind kind, StepTemplate& out) {
  if (!PickingKind(kind)) return false;
  const KindInfo& info = InfoOf(kind);
  out = StepTemplate{};
  if (info.macro) {
    bool found = false;
    for (const MacroTemplate& m : kMacroTemplates)
      if (m.kind == kind) out.parents = m.parents, found = true;
    if (!found) return false;
  } else {
    for (size_t k = 0; k < info.parents.size() && k < 5; ++k)
      out.parents[k + 1] = ClassOfLetter(info.parents[k]);
    // The perpendicular command makes the line only; the foot is the macro's business.
    const std::string_view outputs = kind == Kind::kL3 ? std::string_view("L") : info.outputs;
    for (size_t k = 0; k < outputs.size() && k < 5; ++k)
      out.outputs[k + 1] = ClassOfLetter(outputs[k]);
  }
  for (const SegmentSlot& s : kSegmentSlots)
    if (s.kind == kind) out.requiredLineType[s.slot] = kLineSegment;
  for (int k = 1; k <= 5; ++k) {
    if (info.family == KindFamily::kPoint && out.outputs[k] == kClassPoint)
      out.outputStyle[k] = kCrossMarker;
  }
  if (kind == Kind::kLH1 || kind == Kind::kLHRO) out.outputStyle[1] = kLineHalf;
  return true;
}

CommandKind ClassifyCommand(MenuCommand cmd) {
  using C = MenuCommand;
  switch (cmd) {
    case C::mnuCundo:
    case C::mnuMundo:
      return CommandKind::kUndo;
    case C::mnuCredo:
    case C::mnuMredo:
      return CommandKind::kRepeat;
    case C::mnuPboundL:
    case C::mnuPboundC:
      return CommandKind::kBoundPoint;
    case C::mnuPnewFreeP:
      return CommandKind::kNewPoint;
    case C::mnuMcalc:
      return CommandKind::kExpression;
    case C::mnuCMacroLinear:
    case C::mnuCMacroAffine:
    case C::mnuCMacroProjective:
      return CommandKind::kTransformMacro;
    default:
      break;
  }
  StepTemplate t;
  const Kind kind = KindOfCommand(cmd);
  if (!TemplateOf(kind, t)) return CommandKind::kNone;
  return CommandKind::kPicking;
}

bool IsConstructionCommand(MenuCommand cmd) { return ClassifyCommand(cmd) != CommandKind::kNone; }

std::string NotEnoughObjectsMessage(Kind kind, const Translator& tr) {
  return std::string(tr("「")) + std::string(KindDescription(kind, tr)) + std::string(tr("」")) +
         std::string(tr("の元にするものが足りません。まず,それを作ってください。"));
}

bool Constructor::Command(ModeHost& host, MenuCommand cmd) {
  switch (ClassifyCommand(cmd)) {
    case CommandKind::kNone:
      return false;
    case CommandKind::kPicking: {
      int32_t lineStyle = -1;
      for (const LineStyleCommand& c : kLineStyleCommands)
        if (c.cmd == cmd) lineStyle = c.style;
      pending_.repeatRequest = false;
      StartConstruction(host, KindOfCommand(cmd), lineStyle);
      break;
    }
    case CommandKind::kNewPoint:
      StartNewPoint(host);
      break;
    case CommandKind::kBoundPoint:
      StartBoundPoint(host, cmd == MenuCommand::mnuPboundL ? kClassLine : kClassCircle);
      break;
    case CommandKind::kExpression:
      ExpressionMode::Start(host);
      break;
    case CommandKind::kTransformMacro: {
      const TransformMacro which = cmd == MenuCommand::mnuCMacroLinear ? TransformMacro::kLinear
                                   : cmd == MenuCommand::mnuCMacroAffine
                                       ? TransformMacro::kAffine
                                       : TransformMacro::kProjective;
      BuildTransformMacro(host.Fig(), which);
      host.RedrawAll();
      break;
    }
    case CommandKind::kUndo:
      UndoLast(host);
      break;
    case CommandKind::kRepeat:
      RepeatLastCommand(host);
      break;
  }
  return true;
}

namespace {

// Whether the figure holds enough objects of each class and line type for the template.
bool EnoughObjects(const Figure& fig, const StepTemplate& t) {
  std::array<int32_t, 4> wanted{};
  int32_t segmentsWanted = 0;
  for (int k = 1; k <= 5; ++k) {
    const int32_t cls = t.parents[k] % 100;
    if (cls >= kClassPoint && cls <= kClassCircle) ++wanted[cls];
    if (t.requiredLineType[k] == kLineSegment) ++segmentsWanted;
  }
  for (int cls = kClassPoint; cls <= kClassCircle; ++cls)
    if (wanted[cls] > fig.classCount[cls]) return false;
  if (segmentsWanted > 0) {
    int32_t segments = 0;
    for (int32_t i = 1; i <= fig.classCount[kClassLine]; ++i)
      if (fig.lines[i].lineType == kLineSegment) ++segments;
    if (segmentsWanted > segments) return false;
  }
  return true;
}

}  // namespace

void Constructor::StartConstruction(ModeHost& host, Kind kind, int32_t lineStyle) {
  Figure& fig = host.Fig();
  StepTemplate t;
  if (!TemplateOf(kind, t)) {
    host.Ui().Beep();
    return;
  }
  host.PushMode(std::make_unique<Mode>(kModeConstruct));
  const int32_t s = fig.AppendStep();
  fig.SetStepKind(s, CodeOf(kind));
  if (pending_.repeatRequest) {
    // A repeated segment or half-line command makes segments or half-lines again.
    pending_.repeatRequest = false;
  } else {
    pending_.Reset();
    pending_.requiredLineType = t.requiredLineType;
    pending_.outputStyle = t.outputStyle;
    if (lineStyle >= 0) pending_.outputStyle[1] = lineStyle;
  }
  for (int k = 1; k <= 5; ++k) {
    fig.SetStepParent(s, k, {t.parents[k], 0});
    fig.SetStepOutput(s, k, {t.outputs[k], 0});
  }
  if (!EnoughObjects(fig, t)) {
    // Nothing of the command stays behind: no pending step, no mode.
    fig.RemoveLastStep();
    host.ShowMessage(NotEnoughObjectsMessage(kind, host.Texts()));
    host.PopMode();
    return;
  }
  host.PushMode(std::make_unique<ParentPickMode>(*this));
  AskNext(host);
}

void Constructor::AskNext(ModeHost& host) {
  Figure& fig = host.Fig();
  const int32_t s = fig.StepCount();
  auto* picking = dynamic_cast<ParentPickMode*>(host.TopMode());
  if (!picking) return;
  for (int k = 1; k <= 5; ++k) {
    const ObjRef slot = fig.Parent(s, k);
    if (slot.cls == kPendingMacroClass) {
      ExpandMacro(host);
      return;
    }
    if (slot.cls == 0 || slot.index != 0) continue;
    if (slot.cls == kPendingNumberClass) {
      picking->AskNumber(host, fig.KindOf(s));
    } else {
      picking->AskObject(host, ParentRules(fig, s, k, pending_.requiredLineType[k]));
    }
    return;
  }
  Finish(host, s);
}

void Constructor::AcceptParent(ModeHost& host, ObjRef ref) {
  Figure& fig = host.Fig();
  if (ref.index == 0) {
    Cancel(host);
    return;
  }
  const int32_t s = fig.StepCount();
  if (fig.KindOf(s) == Kind::kPBND) {
    AcceptBoundTarget(host, ref);
    return;
  }
  if (polygon_.Active()) {
    AddVertex(host, ref.index);
    return;
  }
  for (int k = 1; k <= 5; ++k) {
    const ObjRef slot = fig.Parent(s, k);
    if (slot.cls == 0 || slot.cls == kPendingMacroClass || slot.index != 0) continue;
    const int32_t cls = slot.cls == kPendingNumberClass ? kClassNumber : slot.cls;
    fig.SetStepParent(s, k, {cls, ref.index});
    break;
  }
  AskNext(host);
}

void Constructor::Cancel(ModeHost& host) {
  Figure& fig = host.Fig();
  if (polygon_.Active()) {
    CancelPolygon(fig, polygon_);
  } else if (fig.StepCount() > 0) {
    // The pending step and whatever it had allocated (the point of a bound point) go.
    fig.RemoveLastStep();
  }
  EndCommand(host);
}

void Constructor::EndCommand(ModeHost& host) {
  // Modes 15 and 17 (or 15 and 29) of the command.
  host.PopMode();
  host.PopMode();
  host.RedrawAll();
}

void Constructor::Finish(ModeHost& host, int32_t s) {
  Figure& fig = host.Fig();
  for (int k = 1; k <= 5; ++k) {
    const ObjRef slot = fig.Output(s, k);
    if (slot.cls <= 0) continue;
    const int32_t cls = slot.cls == kPendingNumberClass ? kClassNumber : slot.cls;
    if (cls > kClassCircle) continue;
    fig.SetStepOutput(s, k, {cls, fig.AllocObject(cls)});
  }
  ApplyOutputStyles(fig, s);
  RelabelAll(fig, host.Texts());
  EndCommand(host);
}

void Constructor::ApplyOutputStyles(Figure& fig, int32_t s) const {
  for (int k = 1; k <= 5; ++k) {
    const ObjRef out = fig.Output(s, k);
    if (pending_.outputStyle[k] == -1 || !fig.InTable(out)) continue;
    if (out.cls == kClassPoint) fig.points[out.index].marker = pending_.outputStyle[k];
    if (out.cls == kClassLine) fig.lines[out.index].lineType = pending_.outputStyle[k];
  }
  // A moved or mirrored line keeps the kind of line it came from.
  const Kind kind = fig.KindOf(s);
  if (kind == Kind::kLT1 || kind == Kind::kLT2 || kind == Kind::kLT3 || kind == Kind::kLRO) {
    const ObjRef source = fig.Parent(s, 1);
    const ObjRef out = fig.Output(s, 1);
    if (source.cls == kClassLine && fig.InTable(source) && out.cls == kClassLine &&
        fig.InTable(out))
      fig.lines[out.index].lineType = fig.lines[source.index].lineType;
  }
}

void Constructor::ExpandMacro(ModeHost& host) {
  Figure& fig = host.Fig();
  switch (kv::ExpandMacro(fig, polygon_, host.Texts())) {
    case MacroOutcome::kPickVertex:
      if (auto* picking = dynamic_cast<ParentPickMode*>(host.TopMode()))
        picking->AskObject(host, VertexRules(polygon_.PickedVertices()));
      host.RedrawAll();
      return;
    case MacroOutcome::kTooFewVertices:
      host.ShowMessage(kPolygonTooFewVerticesMessage);
      break;
    case MacroOutcome::kNotAMacro:
      // A marker without a known expansion: the step cannot be built.
      fig.RemoveLastStep();
      host.Ui().Beep();
      break;
    case MacroOutcome::kDone:
      break;
  }
  EndCommand(host);
}

void Constructor::AddVertex(ModeHost& host, int32_t point) {
  Figure& fig = host.Fig();
  const MacroOutcome outcome = AddPolygonVertex(fig, polygon_, point, host.Texts());
  if (outcome == MacroOutcome::kPickVertex) {
    if (auto* picking = dynamic_cast<ParentPickMode*>(host.TopMode()))
      picking->AskObject(host, VertexRules(polygon_.PickedVertices()));
    host.RedrawAll();
    return;
  }
  EndCommand(host);
}

void Constructor::NumberChosen(ModeHost& host, DialogModel& dialog) {
  auto* numbers = dynamic_cast<NumberDialog*>(&dialog);
  if (numbers && numbers->Outcome() == DialogOutcome::kChosen && numbers->ChosenNumber() > 0) {
    AcceptParent(host, {kClassNumber, numbers->ChosenNumber()});
  } else {
    Cancel(host);
  }
}

}  // namespace kv
