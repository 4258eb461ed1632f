// The recompute pass. The dependency analysis marks every object with the step it waits for,
// decides how many passes the figure needs, and the passes then run the kind routines in
// construction order.
//
// The analysis is kept between recomputes: while the steps, the bindings and the validity it
// started from are unchanged, its result (the step states, the pass count and the markers it
// leaves on the objects) is the same, so RecomputeAll puts the markers back instead of sweeping.
#include "geometry/recompute.h"

#include <algorithm>

#include "expr/evaluator.h"
#include "geometry/kinds.h"
#include "geometry/primitives.h"

namespace kv {

namespace {

bool ClassMatches(char letter, int32_t cls) {
  switch (letter) {
    case 'N':
      return cls == kClassNumber;
    case 'P':
      return cls == kClassPoint;
    case 'L':
      return cls == kClassLine;
    case 'C':
      return cls == kClassCircle;
    case 'X':
      return cls == kClassLine || cls == kClassCircle;
    default:
      return false;
  }
}

// The valid value a bound point takes from its target; 0 when the binding failed or names
// no object.
int32_t BindingTarget(Figure& fig, int32_t p) {
  PointRec& pt = fig.points[p];
  if (pt.boundClass < 1 || pt.boundClass > 3) return pt.valid;
  if (!ApplyBinding(fig, p)) return 0;
  return fig.GetValid(ObjRef{pt.boundClass, pt.boundIndex});
}

// One sweep of the analysis over the steps and the bound points. Returns whether a step
// changed its state; `onlyLower` is the rule of the sweeps after the change test.
bool Sweep(Figure& fig, bool onlyLower, bool& bound) {
  bool changed = false;
  std::vector<int32_t>& state = fig.pass.stepState;
  for (int32_t s = 1; s <= fig.StepCount(); ++s) {
    const int32_t st = StepStatus(fig, s);
    if (st != state[s]) changed = true;
    state[s] = st;
    fig.SetOutputsValid(s, st == kStepUndefined ? kFalse : st == kStepSkipped ? kStepSkipped : -s);
  }
  for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p) {
    PointRec& pt = fig.points[p];
    if (pt.free == 0) continue;
    if (pt.boundClass != 0) bound = true;
    const int32_t t = BindingTarget(fig, p);
    if (!onlyLower || t < pt.valid) pt.valid = t;
  }
  return changed;
}

// The slot checks, once per change of the steps, so that the passes can index directly.
void CheckSteps(Figure& fig) {
  std::vector<uint8_t>& runnable = fig.pass.stepRunnable;
  std::vector<int32_t>& code = fig.pass.expressionCode;
  std::vector<int32_t>& codeAt = fig.pass.expressionAt;
  const size_t from = std::max<size_t>(runnable.size(), 1);
  runnable.resize(static_cast<size_t>(fig.StepCount()) + 1, 0);
  codeAt.resize(from, 0);
  for (size_t s = from; s < runnable.size(); ++s) {
    const int32_t step = static_cast<int32_t>(s);
    const Kind kind = fig.KindOf(step);
    const KindInfo& info = InfoOf(kind);
    // A continuation step computes nothing; its map step checks the slots it reads (an
    // affine map uses only two of its parents).
    const bool slotsOk =
        info.macro || kind == Kind::kPT62 ||
        StepSlotsValid(fig, step, info.parents, info.outputs, RequiredOutputs(kind));
    runnable[s] = slotsOk && !StepReadsOwnOutput(fig, step);
    codeAt.push_back(static_cast<int32_t>(code.size()));
    if (kind == Kind::kCALC && runnable[s])
      CompileExpression(fig.numbers[fig.Output(step, 1).index].expression, code);
  }
}

template <typename F>
void ForEachValid(Figure& fig, F&& f) {
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i) f(fig.numbers[i].valid);
  for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i) f(fig.points[i].valid);
  for (int32_t i = 1; i <= fig.classCount[kClassLine]; ++i) f(fig.lines[i].valid);
  for (int32_t i = 1; i <= fig.classCount[kClassCircle]; ++i) f(fig.circles[i].valid);
}

size_t ObjectCount(const Figure& fig) {
  size_t n = 0;
  for (int c = kClassNumber; c <= kClassCircle; ++c) n += static_cast<size_t>(fig.classCount[c]);
  return n;
}

void ReadValid(Figure& fig, std::vector<int32_t>& into) {
  into.resize(ObjectCount(fig));
  size_t i = 0;
  ForEachValid(fig, [&](int32_t& v) { into[i++] = v; });
}

void ReadStart(Figure& fig) {
  PassScratch& pass = fig.pass;
  const size_t flags = static_cast<size_t>(fig.classCount[kClassNumber]) +
                       static_cast<size_t>(fig.classCount[kClassPoint]);
  pass.startFlags.resize(flags);
  pass.startValid.resize(ObjectCount(fig) - flags);
  size_t i = 0;
  ForEachValid(fig, [&](int32_t& v) {
    if (i < flags)
      pass.startFlags[i] = static_cast<int8_t>(v == 0 || v == kTrue ? v : 1);
    else
      pass.startValid[i - flags] = v;
    ++i;
  });
}

void ReadBindings(const Figure& fig, std::vector<int32_t>& into) {
  into.clear();
  for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p) {
    const PointRec& pt = fig.points[p];
    if (pt.free == 0) continue;
    into.insert(into.end(), {p, pt.free, pt.boundClass, pt.boundIndex});
  }
}

bool IsBoundToObject(const PointRec& pt) {
  return pt.free != 0 && pt.boundClass >= 1 && pt.boundClass <= 3;
}

// Puts back what a kept analysis left, when the validity and the bindings it started from
// are as they were: the bound points placed on their targets, then the analysis' markers on
// every object. One sweep over the tables resets the numbers and points to defined, compares
// each object with the start and writes its marker; at the first difference the objects
// already written get their start value back and the rest are only reset. Returns whether
// the analysis could be kept.
bool ReplayKeptAnalysis(Figure& fig) {
  PassScratch& pass = fig.pass;
  if (!AnalysisCurrent(fig) ||
      pass.startFlags.size() + pass.startValid.size() != ObjectCount(fig)) {
    for (int32_t n = 1; n <= fig.classCount[kClassNumber]; ++n)
      if (fig.numbers[n].valid != 0) fig.numbers[n].valid = kTrue;
    for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p)
      if (fig.points[p].valid != 0) fig.points[p].valid = kTrue;
    return false;
  }
  // Placing a point decides its position only: its validity is the marker written below.
  for (const int32_t p : pass.boundPoints) {
    PointRec& pt = fig.points[p];
    const int32_t valid = pt.valid;
    if (IsBoundToObject(pt)) ApplyBinding(fig, p);
    pt.valid = valid;
  }
  const size_t flags = pass.startFlags.size();
  auto start = [&](size_t i) -> int32_t {
    return i < flags ? pass.startFlags[i] : pass.startValid[i - flags];
  };
  const int32_t* end = pass.endValid.data();
  const int32_t* bindings = pass.bindings.data();
  const size_t bindingCount = pass.bindings.size();
  size_t i = 0, b = 0;
  bool same = true;
  auto replay = [&](int32_t& valid, bool reset) {
    if (reset && valid != 0) valid = kTrue;
    if (!same) return;
    if (valid != start(i)) {
      same = false;
      return;
    }
    valid = end[i++];
  };
  for (int32_t n = 1; n <= fig.classCount[kClassNumber]; ++n) replay(fig.numbers[n].valid, true);
  for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p) {
    PointRec& pt = fig.points[p];
    replay(pt.valid, true);
    if (pt.free == 0 || !same) continue;
    if (b + 4 > bindingCount || bindings[b] != p || bindings[b + 1] != pt.free ||
        bindings[b + 2] != pt.boundClass || bindings[b + 3] != pt.boundIndex) {
      same = false;  // this point's marker is written: it is taken back below
      continue;
    }
    b += 4;
  }
  if (b != bindingCount) same = false;
  for (int32_t l = 1; l <= fig.classCount[kClassLine] && same; ++l)
    replay(fig.lines[l].valid, false);
  for (int32_t c = 1; c <= fig.classCount[kClassCircle] && same; ++c)
    replay(fig.circles[c].valid, false);
  if (same) return true;
  // Objects 0..i-1 carry markers; they matched their start values, which come back.
  size_t j = 0;
  auto restore = [&](int32_t& valid) {
    if (j < i) valid = start(j);
    ++j;
  };
  ForEachValid(fig, restore);
  return false;
}

// The slots of a step as the pass reads them: parent and output k (1-based) as table indices.
struct StepSlots {
  const StepRec& step;
  int32_t In(int k) const { return step.parents[k].index; }
  int32_t Out(int k) const { return step.outputs[k].index; }
  bool HasOut(int k) const { return !step.outputs[k].IsEmpty(); }
};
struct OpSlots {
  const PassOp& op;
  int32_t In(int k) const { return op.in[k - 1]; }
  int32_t Out(int k) const { return op.out[k - 1]; }
  bool HasOut(int k) const { return op.out[k - 1] != 0; }
};

// The kinds nearly every figure is made of are computed here directly from the step's slots;
// the others go through their family's routine. Both give the same records: these cases call
// the very operations the family routines call.
template <typename Slots>
void RunSlots(Figure& fig, int32_t s, Kind kind, const Slots& slot) {
  auto point = [&](int32_t i) -> PointRec& { return fig.points[i]; };
  switch (kind) {
    case Kind::kPNEW:
      return;  // a free point keeps the position the user gave it
    case Kind::kL1:
      LineThroughPoints(point(slot.In(1)), point(slot.In(2)), fig.lines[slot.Out(1)]);
      return;
    case Kind::kL3:
      PerpendicularThrough(fig.lines[slot.In(1)], point(slot.In(2)), fig.lines[slot.Out(1)],
                           slot.HasOut(2) ? &point(slot.Out(2)) : nullptr);
      return;
    case Kind::kND2P: {
      NumberRec& number = fig.numbers[slot.Out(1)];
      double value = 0;
      if (PointDistance(point(slot.In(1)), point(slot.In(2)), value)) {
        number.value = value;
        number.valid = kTrue;
      } else {
        number.valid = kFalse;
      }
      return;
    }
    case Kind::kNA3P:
    case Kind::kNA3M: {
      // The mark shows the turning sense, so it records the signed angle.
      NumberRec& number = fig.numbers[slot.Out(1)];
      SignedAngle(fig, point(slot.In(1)), point(slot.In(2)), point(slot.In(3)), number);
      if (number.valid != 0) number.value = std::fabs(number.value);
      return;
    }
    case Kind::kPC1:
      IntersectLines(fig.lines[slot.In(1)], fig.lines[slot.In(2)], point(slot.Out(1)));
      return;
    case Kind::kP1:
      Circumcentre(point(slot.In(1)), point(slot.In(2)), point(slot.In(3)), point(slot.Out(1)));
      return;
    case Kind::kPN: {
      const NumberRec& m = fig.numbers[slot.In(3)];
      const NumberRec& n = fig.numbers[slot.In(4)];
      PointRec& out = point(slot.Out(1));
      if (m.valid == 0 || n.valid == 0)
        out.valid = kFalse;
      else
        DivisionPoint(point(slot.In(1)), point(slot.In(2)), m.value, n.value, out);
      return;
    }
    case Kind::kPEXT:
      DivideOrExtend(fig, s, kind);
      return;
    case Kind::kPC2:
      IntersectLineCircle(fig, s);
      return;
    case Kind::kPC3:
      IntersectCircles(fig, s);
      return;
    case Kind::kC2:
      CircleThrough(fig.circles[slot.Out(1)], point(slot.In(1)), point(slot.In(2)));
      return;
    case Kind::kC3: {
      const PointRec& a = point(slot.In(1));
      PointRec centre;
      Circumcentre(a, point(slot.In(2)), point(slot.In(3)), centre);
      CircleThrough(fig.circles[slot.Out(1)], centre, a);
      return;
    }
    case Kind::kCALC:
      if (static_cast<size_t>(s) < fig.pass.expressionAt.size())
        RunCompiledExpression(fig, &fig.pass.expressionCode[fig.pass.expressionAt[s]],
                              fig.numbers[slot.Out(1)]);
      else
        EvaluateCalcStep(fig, s);
      return;
    case Kind::kP3:
      Centroid(point(slot.In(1)), point(slot.In(2)), point(slot.In(3)), point(slot.Out(1)));
      return;
    default:
      RunThroughFamily(fig, s);
      return;
  }
}

}  // namespace

void RunThroughFamily(Figure& fig, int32_t s) {
  const Kind kind = fig.KindOf(s);
  PassScratch& pass = fig.pass;
  if (kind == Kind::kCALC) EvaluateCalcStep(fig, s);
  pass.currentStep = s;
  const StepRec& step = fig.StepData()[s];
  for (int i = 1; i <= 5; ++i) pass.curOutputs[i] = step.outputs[i].index;
  if (pass.lastPass) pass.currentKind = kind;
  switch (InfoOf(kind).family) {
    case KindFamily::kPoint:
      RecomputePoint(fig, s);
      break;
    case KindFamily::kLine:
      RecomputeLine(fig, s);
      break;
    case KindFamily::kCircle:
      RecomputeCircle(fig, s);
      break;
    case KindFamily::kNumber:
      RecomputeNumber(fig, s);
      break;
    case KindFamily::kExpression:
    case KindFamily::kNone:
      break;
  }
  pass.currentKind = Kind::kNone;
}

void RunCheckedStep(Figure& fig, int32_t s, const StepRec& step) {
  RunSlots(fig, s, step.kind, StepSlots{step});
}

PassOp MakePassOp(const Figure& fig, int32_t s) {
  PassOp op;
  op.step = s;
  op.kind = fig.KindOf(s);
  op.runnable = static_cast<size_t>(s) < fig.pass.stepRunnable.size() && fig.pass.stepRunnable[s];
  for (int k = 0; k < 4; ++k) op.in[k] = fig.Parent(s, k + 1).index;
  for (int k = 0; k < 2; ++k) op.out[k] = fig.Output(s, k + 1).index;
  return op;
}

void RunPassOp(Figure& fig, const PassOp& op) {
  if (op.runnable)
    RunSlots(fig, op.step, op.kind, OpSlots{op});
  else
    fig.SetOutputsValid(op.step, 0);
}

bool StepSlotsValid(const Figure& fig, int32_t s, std::string_view parents,
                    std::string_view outputs, int requiredOutputs) {
  if (s < 1 || s > fig.StepCount()) return false;
  for (size_t k = 0; k < parents.size() && k < 5; ++k) {
    const ObjRef ref = fig.Parent(s, k + 1);
    if (!ClassMatches(parents[k], ref.cls) || !fig.InTable(ref)) return false;
  }
  for (size_t k = 0; k < outputs.size() && k < 5; ++k) {
    const ObjRef ref = fig.Output(s, k + 1);
    if (static_cast<int>(k) >= requiredOutputs && ref.IsEmpty()) break;
    if (!ClassMatches(outputs[k], ref.cls) || !fig.InTable(ref)) return false;
  }
  return true;
}

int32_t StepStatus(const Figure& fig, int32_t s) {
  int32_t st = kStepSkipped;
  const StepRec& step = fig.Step(s);
  for (int k = 1; k <= 5; ++k) {
    const ObjRef ref = step.parents[k];
    if (ref.index == 0 && ref.cls % 100 == 0) return k == 1 ? kStepNoParents : st;
    const int32_t v = fig.GetValid(ref);
    if (v == 0) return kStepUndefined;
    if (v < st) st = v;
  }
  return st;
}

void AnalyseDependencies(Figure& fig, std::span<const ObjRef> /*moving*/) {
  PassScratch& pass = fig.pass;
  ++pass.analysisCount;
  CheckSteps(fig);
  ReadStart(fig);
  ReadBindings(fig, pass.bindings);
  pass.boundPoints.clear();
  for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p)
    if (IsBoundToObject(fig.points[p])) pass.boundPoints.push_back(p);

  pass.stepState.assign(static_cast<size_t>(fig.StepCount()) + 1, 0);
  int32_t iteration = -1;
  bool bound = false;
  // Every figure built by the commands settles in a few sweeps: one, plus one for each level
  // of bound points waiting for a later line or circle. Only a damaged figure (steps reading
  // later steps in a long chain, or each other) goes on changing; its sweeps and passes are
  // capped, which keeps the analysis linear, and what has not settled stays undefined.
  bool changed = true;
  while (changed && iteration + 1 < kMaxAnalysisSweeps) {
    ++iteration;
    changed = Sweep(fig, false, bound);
  }
  pass.passCount = std::min(iteration + (bound ? 1 : 0), kMaxPasses);
  for (int32_t i = 0; i < pass.passCount; ++i) Sweep(fig, true, bound);

  ReadValid(fig, pass.endValid);
  pass.kept = true;
}

void RecomputeStep(Figure& fig, int32_t s) {
  if (s < 1 || s > fig.StepCount()) return;
  if (static_cast<size_t>(s) >= fig.pass.stepRunnable.size() || !fig.pass.stepRunnable[s]) {
    fig.SetOutputsValid(s, 0);
    return;
  }
  RunCheckedStep(fig, s, fig.StepData()[s]);
}

bool AnalysisCurrent(const Figure& fig) {
  return fig.pass.kept && fig.pass.stepRunnable.size() == static_cast<size_t>(fig.StepCount()) + 1;
}

namespace {

// The passes of the kept analysis; `boundOnly` when the bound points are those it listed.
void Passes(Figure& fig, bool boundOnly) {
  PassScratch& pass = fig.pass;
  for (int32_t p = 1; p <= pass.passCount; ++p) {
    pass.lastPass = p == pass.passCount;
    const int32_t count = fig.StepCount();
    const StepRec* steps = fig.StepData();
    for (int32_t s = 1; s <= count; ++s) {
      if (pass.stepState[s] == kStepSkipped) continue;
      if (pass.stepRunnable[s])
        RunCheckedStep(fig, s, steps[s]);
      else
        fig.SetOutputsValid(s, 0);
    }
    // A point bound to nothing keeps its validity; only the bound ones follow their targets.
    auto putBack = [&](int32_t i) {
      PointRec& pt = fig.points[i];
      if (pt.free == 0) return;
      const int32_t t = BindingTarget(fig, i);
      if (pt.valid > t) pt.valid = t;
    };
    if (boundOnly)
      for (const int32_t i : pass.boundPoints) putBack(i);
    else
      for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i) putBack(i);
  }
  pass.lastPass = false;
}

}  // namespace

void RunPasses(Figure& fig) {
  if (!AnalysisCurrent(fig)) AnalyseDependencies(fig);
  Passes(fig, false);
}

void RecomputeQuiet(Figure& fig) { RunPasses(fig); }

void RecomputeAll(Figure& fig) {
  fig.angleMarkCount = 0;
  const bool keep = ReplayKeptAnalysis(fig);
  if (!keep) AnalyseDependencies(fig);
  // The analysis just made or replayed lists the bound points as they are.
  Passes(fig, true);
  fig.SnapshotPrevious();
  // The line ends follow the steps alone: unchanged steps leave them as they are.
  if (!keep) fig.RefreshLineEnds();
}

}  // namespace kv
