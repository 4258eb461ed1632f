// The commands that do not pick every parent: new free points, a new point on a line or circle,
// undo and repeat.
#include "construct/construction.h"
#include "construct/expression_mode.h"
#include "construct/new_point_mode.h"
#include "construct/parent_pick_mode.h"
#include "construct/undo.h"
#include "geometry/recompute.h"
#include "session/input_modes.h"
#include "session/ui_port.h"

namespace kv {

void Constructor::StartNewPoint(ModeHost& host) {
  pending_.Reset();
  auto mode = std::make_unique<NewPointMode>();
  NewPointMode* newPoint = mode.get();
  host.PushMode(std::move(mode));
  if (host.TopMode() == newPoint) newPoint->StartPoint(host);
}

void Constructor::StartBoundPoint(ModeHost& host, int cls) {
  Figure& fig = host.Fig();
  if (fig.classCount[cls] == 0) {
    host.ShowMessage("元にする対象がありません。キャンセルします。");
    return;
  }
  host.PushMode(std::make_unique<Mode>(kModeNewPointOnObject));
  pending_.repeatRequest = false;
  const int32_t s = fig.AppendStep();
  fig.SetStepKind(s, "PBND");
  pending_.Reset();
  for (int k = 1; k <= 5; ++k) {
    fig.SetStepParent(s, k, {});
    fig.SetStepOutput(s, k, {});
  }
  const int32_t point = fig.AllocObject(kClassPoint);
  fig.SetStepOutput(s, 1, {kClassPoint, point});
  fig.SetStepParent(s, 1, {cls, 0});
  PointRec& p = fig.points[point];
  p.marker = 0;
  p.free = kTrue;
  p.valid = kTrue;
  p.colour = kDefaultColour;
  p.boundClass = cls;
  p.boundIndex = 0;
  p.boundParam = 0;
  host.PushMode(std::make_unique<ParentPickMode>(*this));
  AskNext(host);
}

void Constructor::AcceptBoundTarget(ModeHost& host, ObjRef ref) {
  Figure& fig = host.Fig();
  const int32_t s = fig.StepCount();
  const ObjRef slot = fig.Parent(s, 1);
  const ObjRef out = fig.Output(s, 1);
  fig.SetStepParent(s, 1, {slot.cls, ref.index});
  if (fig.InTable(out)) fig.points[out.index].boundIndex = ref.index;
  host.PopMode();  // 15
  RecomputeAll(fig);
  host.PopMode();  // 29
  host.StartPlacing(out.index);
  host.RepaintNeeded();
}

void Constructor::RepeatLastCommand(ModeHost& host) {
  Figure& fig = host.Fig();
  if (fig.StepCount() < 1) {
    host.Ui().Beep();
    return;
  }
  const int32_t last = fig.StepCount();
  const Kind kind = fig.KindOf(last);
  if (kind == Kind::kPNEW) {
    StartNewPoint(host);
    return;
  }
  if (kind == Kind::kCALC) {
    ExpressionMode::Start(host);
    return;
  }
  if (kind == Kind::kPBND) {
    const int32_t cls = fig.Parent(last, 1).cls;
    if (cls == kClassLine || cls == kClassCircle) {
      StartBoundPoint(host, cls);
    } else {
      host.Ui().Beep();
    }
    return;
  }
  StepTemplate t;
  if (!TemplateOf(kind, t)) {
    // An expression, a map demonstration or a step no command builds: nothing to repeat here.
    host.Ui().Beep();
    return;
  }
  pending_.repeatRequest = true;
  StartConstruction(host, kind);
}

void Constructor::UndoLast(ModeHost& host) {
  if (!kv::UndoLast(host.Fig())) {
    host.Ui().Beep();
    return;
  }
  host.RedrawAll();
}

}  // namespace kv
