// The dependents-only drag recompute. A step depends on the moving objects when one of its
// parents does, when its expression names a number that does, or (a map step) when the
// continuation step after it reads one that does; a bound point depends on its target. Steps
// that do not depend on the moving objects would compute the same values again, so a drag
// step skips them.
#include "geometry/drag_recompute.h"

#include "expr/evaluator.h"
#include "geometry/kinds.h"
#include "geometry/recompute.h"

namespace kv {

namespace {

struct Marks {
  std::vector<uint8_t>* table;  // per class
  bool Get(ObjRef ref) const {
    return ref.cls >= kClassNumber && ref.cls <= kClassCircle && ref.index >= 1 &&
           static_cast<size_t>(ref.index) < table[ref.cls].size() && table[ref.cls][ref.index];
  }
  // Returns true when the mark is new.
  bool Set(ObjRef ref) {
    if (ref.cls < kClassNumber || ref.cls > kClassCircle || ref.index < 1) return false;
    auto& t = table[ref.cls];
    if (static_cast<size_t>(ref.index) >= t.size() || t[ref.index]) return false;
    t[ref.index] = 1;
    return true;
  }
};

bool ParentsMarked(const Figure& fig, int32_t s, const Marks& marks) {
  const StepRec& step = fig.Step(s);
  for (int k = 1; k <= 5; ++k)
    if (marks.Get(step.parents[k])) return true;
  if (step.kind == Kind::kCALC) {
    const ObjRef out = step.outputs[1];
    if (out.cls == kClassNumber && fig.InTable(out)) {
      bool reads = false;
      ForEachOperand(fig.numbers[out.index].expression, [&](int32_t index) {
        reads = reads || marks.Get(ObjRef{kClassNumber, index});
      });
      if (reads) return true;
    }
  }
  // A map step reads the parents of its continuation step too.
  if ((step.kind == Kind::kPT6 || step.kind == Kind::kPT7) && fig.KindOf(s + 1) == Kind::kPT62) {
    const StepRec& next = fig.Step(s + 1);
    for (int k = 1; k <= 5; ++k)
      if (marks.Get(next.parents[k])) return true;
  }
  return false;
}

bool MarkOutputs(const Figure& fig, int32_t s, Marks& marks) {
  bool any = false;
  const StepRec& step = fig.Step(s);
  for (int k = 1; k <= 5; ++k) {
    if (step.outputs[k].IsEmpty()) break;
    any = marks.Set(step.outputs[k]) || any;
  }
  return any;
}

}  // namespace

DragPlan StartDrag(Figure& fig, std::span<const ObjRef> moving) {
  if (!AnalysisCurrent(fig)) AnalyseDependencies(fig, moving);
  DragPlan plan;
  plan.passCount = fig.pass.passCount;
  plan.moving[kClassNumber].assign(fig.numbers.size(), 0);
  plan.moving[kClassPoint].assign(fig.points.size(), 0);
  plan.moving[kClassLine].assign(fig.lines.size(), 0);
  plan.moving[kClassCircle].assign(fig.circles.size(), 0);
  Marks marks{plan.moving};
  for (const ObjRef& ref : moving) marks.Set(ref);

  const int32_t steps = fig.StepCount();
  std::vector<uint8_t> stepMarked(static_cast<size_t>(steps) + 2, 0);
  // Forward sweeps in construction order; only a binding to a later line or circle (or a
  // damaged figure reading later steps) needs another, as the passes do.
  bool grew = true;
  for (int sweep = 0; grew && sweep <= kMaxPasses; ++sweep) {
    grew = false;
    for (int32_t s = 1; s <= steps; ++s) {
      if (stepMarked[s] || !ParentsMarked(fig, s, marks)) continue;
      stepMarked[s] = 1;
      grew = MarkOutputs(fig, s, marks) || grew;
      const Kind kind = fig.KindOf(s);
      if ((kind == Kind::kPT6 || kind == Kind::kPT7) && fig.KindOf(s + 1) == Kind::kPT62 &&
          !stepMarked[s + 1]) {
        stepMarked[s + 1] = 1;
        grew = MarkOutputs(fig, s + 1, marks) || grew;
      }
    }
    for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p) {
      const PointRec& pt = fig.points[p];
      if (pt.free == 0 || pt.boundClass < 1 || pt.boundClass > 3) continue;
      if (marks.Get(ObjRef{pt.boundClass, pt.boundIndex}))
        grew = marks.Set(ObjRef{kClassPoint, p}) || grew;
    }
  }

  for (int32_t s = 1; s <= steps; ++s) {
    if (!stepMarked[s]) continue;
    plan.steps.push_back(s);
    if (fig.pass.stepState[s] != kStepSkipped) plan.ops.push_back(MakePassOp(fig, s));
  }
  for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p)
    if (fig.points[p].free != 0 && plan.moving[kClassPoint][p]) plan.boundPoints.push_back(p);
  for (int cls = kClassNumber; cls <= kClassCircle; ++cls)
    for (size_t i = 1; i < plan.moving[cls].size(); ++i)
      if (plan.moving[cls][i]) plan.indices[cls].push_back(static_cast<int32_t>(i));

  // The angle measurements that do not move leave the same marks on every pass; they are
  // recorded once, and each drag step appends the moving ones after them.
  fig.angleMarkCount = 0;
  for (int32_t pass = 1; pass <= plan.passCount; ++pass) {
    fig.pass.lastPass = pass == plan.passCount;
    for (int32_t s = 1; s <= steps; ++s)
      if (!stepMarked[s] && fig.pass.stepState[s] != kStepSkipped &&
          InfoOf(fig.KindOf(s)).family == KindFamily::kNumber)
        RecomputeStep(fig, s);
  }
  fig.pass.lastPass = false;
  plan.fixedAngleMarks = fig.angleMarkCount;
  return plan;
}

void SnapshotDragged(Figure& fig, const DragPlan& plan) {
  // The plan's objects lie inside their tables; the previous-pass tables are made as long
  // once, and each record is then copied straight across.
  if (fig.prevPoints.size() < fig.points.size() || fig.prevLines.size() < fig.lines.size() ||
      fig.prevCircles.size() < fig.circles.size()) {
    plan.ForEachObject([&](ObjRef ref) { fig.SnapshotPrevious(ref); });
    return;
  }
  auto copy = [](const auto& table, auto& previous, const std::vector<int32_t>& indices) {
    // In ascending order: the first outside the table (a table cut since) ends the copy.
    const size_t size = table.size();
    for (const int32_t i : indices) {
      if (static_cast<size_t>(i) >= size) break;
      CopyWithoutTexts(table[i], previous[i]);
    }
  };
  copy(fig.points, fig.prevPoints, plan.indices[kClassPoint]);
  copy(fig.lines, fig.prevLines, plan.indices[kClassLine]);
  copy(fig.circles, fig.prevCircles, plan.indices[kClassCircle]);
}

void DragRecompute(Figure& fig, const DragPlan& plan) {
  fig.angleMarkCount = plan.fixedAngleMarks;
  PassScratch& pass = fig.pass;
  for (int32_t p = 1; p <= plan.passCount; ++p) {
    pass.lastPass = p == plan.passCount;
    for (const PassOp& op : plan.ops) RunPassOp(fig, op);
    for (const int32_t i : plan.boundPoints) {
      PointRec& pt = fig.points[i];
      int32_t t = pt.valid;
      if (pt.boundClass >= 1 && pt.boundClass <= 3)
        t = ApplyBinding(fig, i) ? fig.GetValid(ObjRef{pt.boundClass, pt.boundIndex}) : 0;
      if (pt.valid > t) pt.valid = t;
    }
  }
  pass.lastPass = false;
}

}  // namespace kv
