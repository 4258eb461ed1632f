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
  const size_t from = std::max<size_t>(runnable.size(), 1);
  runnable.resize(static_cast<size_t>(fig.StepCount()) + 1, 0);
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

bool SameValid(Figure& fig, const std::vector<int32_t>& saved) {
  if (saved.size() != ObjectCount(fig)) return false;
  size_t i = 0;
  bool same = true;
  ForEachValid(fig, [&](int32_t& v) { same = same && v == saved[i++]; });
  return same;
}

void ReadBindings(const Figure& fig, std::vector<int32_t>& into) {
  into.clear();
  for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p) {
    const PointRec& pt = fig.points[p];
    if (pt.free == 0) continue;
    into.insert(into.end(), {p, pt.free, pt.boundClass, pt.boundIndex});
  }
}

bool SameBindings(const Figure& fig, const std::vector<int32_t>& saved) {
  size_t i = 0;
  for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p) {
    const PointRec& pt = fig.points[p];
    if (pt.free == 0) continue;
    if (i + 4 > saved.size() || saved[i] != p || saved[i + 1] != pt.free ||
        saved[i + 2] != pt.boundClass || saved[i + 3] != pt.boundIndex)
      return false;
    i += 4;
  }
  return i == saved.size();
}

// Puts back what a kept analysis left: the bound points placed on their targets, then the
// markers on every object.
void ReplayAnalysis(Figure& fig) {
  for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p)
    if (fig.points[p].free != 0 && fig.points[p].boundClass >= 1 && fig.points[p].boundClass <= 3)
      ApplyBinding(fig, p);
  size_t i = 0;
  const std::vector<int32_t>& saved = fig.pass.endValid;
  ForEachValid(fig, [&](int32_t& v) { v = saved[i++]; });
}

}  // namespace

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
  ReadValid(fig, pass.startValid);
  ReadBindings(fig, pass.bindings);

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
  PassScratch& pass = fig.pass;
  const Kind kind = fig.KindOf(s);
  if (!pass.stepRunnable[s]) {
    fig.SetOutputsValid(s, 0);
    return;
  }
  if (kind == Kind::kCALC) EvaluateCalcStep(fig, s);
  pass.currentStep = s;
  const StepRec& step = fig.Step(s);
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

bool AnalysisCurrent(const Figure& fig) {
  return fig.pass.kept && fig.pass.stepRunnable.size() == static_cast<size_t>(fig.StepCount()) + 1;
}

void RunPasses(Figure& fig) {
  if (!AnalysisCurrent(fig)) AnalyseDependencies(fig);
  PassScratch& pass = fig.pass;
  for (int32_t p = 1; p <= pass.passCount; ++p) {
    pass.lastPass = p == pass.passCount;
    const int32_t count = fig.StepCount();
    for (int32_t s = 1; s <= count; ++s)
      if (pass.stepState[s] != kStepSkipped) RecomputeStep(fig, s);
    for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i) {
      PointRec& pt = fig.points[i];
      if (pt.free == 0) continue;
      const int32_t t = BindingTarget(fig, i);
      if (pt.valid > t) pt.valid = t;
    }
  }
  pass.lastPass = false;
}

void RecomputeQuiet(Figure& fig) { RunPasses(fig); }

void RecomputeAll(Figure& fig) {
  fig.angleMarkCount = 0;
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i)
    if (fig.numbers[i].valid != 0) fig.numbers[i].valid = kTrue;
  for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i)
    if (fig.points[i].valid != 0) fig.points[i].valid = kTrue;
  const bool keep = AnalysisCurrent(fig) && SameValid(fig, fig.pass.startValid) &&
                    SameBindings(fig, fig.pass.bindings);
  if (keep)
    ReplayAnalysis(fig);
  else
    AnalyseDependencies(fig);
  RunPasses(fig);
  fig.SnapshotPrevious();
  // The line ends follow the steps alone: unchanged steps leave them as they are.
  if (!keep) fig.RefreshLineEnds();
}

}  // namespace kv
