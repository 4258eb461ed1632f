// The recompute pass. The dependency analysis marks every object with the step it waits for,
// decides how many passes the figure needs, and the passes then run the kind routines in
// construction order.
#include "geometry/recompute.h"

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
int32_t BindingTarget(Figure& fig, int32_t p, bool apply) {
  PointRec& pt = fig.points[p];
  if (pt.boundClass == 0) return pt.valid;
  if (pt.boundClass < 1 || pt.boundClass > 3) return pt.valid;
  bool placed = apply ? ApplyBinding(fig, p) : true;
  if (!placed) return 0;
  return fig.GetValid(ObjRef{pt.boundClass, pt.boundIndex});
}

// One sweep of the analysis over the steps and the bound points. Returns whether a step
// changed its state; `onlyLower` is the rule of the sweeps after the change test.
bool Sweep(Figure& fig, bool onlyLower, bool& bound) {
  bool changed = false;
  for (int32_t s = 1; s <= fig.stepCount; ++s) {
    const int32_t st = StepStatus(fig, s);
    if (st != fig.stepState[s]) changed = true;
    fig.stepState[s] = st;
    fig.SetOutputsValid(s, st == 0 ? 0 : st == 2 ? 2 : -s);
  }
  for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p) {
    PointRec& pt = fig.points[p];
    if (pt.free == 0) continue;
    if (pt.boundClass != 0) bound = true;
    const int32_t t = BindingTarget(fig, p, true);
    if (!onlyLower || t < pt.valid) pt.valid = t;
  }
  return changed;
}

}  // namespace

bool StepSlotsValid(const Figure& fig, int32_t s, std::string_view parents,
                    std::string_view outputs) {
  if (s < 1 || s > fig.stepCount) return false;
  for (size_t k = 0; k < parents.size() && k < 5; ++k) {
    const ObjRef ref = fig.stepParents[s][k + 1];
    if (!ClassMatches(parents[k], ref.cls) || !fig.InTable(ref)) return false;
  }
  for (size_t k = 0; k < outputs.size() && k < 5; ++k) {
    const ObjRef ref = fig.stepOutputs[s][k + 1];
    if (!ClassMatches(outputs[k], ref.cls) || !fig.InTable(ref)) return false;
  }
  return true;
}

int32_t StepStatus(const Figure& fig, int32_t s) {
  int32_t st = 2;
  for (int k = 1; k <= 5; ++k) {
    const ObjRef ref = fig.stepParents[s][k];
    if (ref.index == 0 && ref.cls % 100 == 0) return k == 1 ? -1 : st;
    const int32_t v = fig.GetValid(ref);
    if (v == 0) return 0;
    if (v < st) st = v;
  }
  return st;
}

void AnalyseDependencies(Figure& fig, std::span<const ObjRef> /*moving*/) {
  // The slot check runs here, once per analysis, so that the passes can index directly.
  fig.stepSlotsOk.assign(static_cast<size_t>(fig.stepCount) + 1, 0);
  for (int32_t s = 1; s <= fig.stepCount; ++s) {
    const KindInfo& info = InfoOf(fig.stepKindId[s]);
    // A continuation step computes nothing; its map step checks the slots it reads (an
    // affine map uses only two of its parents).
    fig.stepSlotsOk[s] = info.macro || fig.stepKindId[s] == Kind::kPT62 ||
                         StepSlotsValid(fig, s, info.parents, info.outputs);
  }

  std::fill(fig.stepState.begin(), fig.stepState.end(), 0);
  int32_t iteration = -1;
  bool bound = false;
  // Steps that name later steps as parents need extra sweeps; a figure whose steps name
  // themselves could go on changing, so the sweeps are capped.
  const int32_t maxSweeps = fig.stepCount + 2;
  bool changed = true;
  while (changed && iteration + 1 < maxSweeps) {
    ++iteration;
    changed = Sweep(fig, false, bound);
  }
  fig.passCount = iteration + (bound ? 1 : 0);
  for (int32_t i = 0; i < fig.passCount; ++i) Sweep(fig, true, bound);
}

void RecomputeStep(Figure& fig, int32_t s) {
  const Kind kind = fig.stepKindId[s];
  if (!fig.stepSlotsOk[s]) {
    fig.SetOutputsValid(s, 0);
    return;
  }
  if (kind == Kind::kCALC) EvaluateCalcStep(fig, s);
  fig.currentStep = s;
  for (int i = 1; i <= 5; ++i) fig.curOutputs[i] = fig.stepOutputs[s][i].index;
  if (fig.lastPass) fig.currentKind = kind;
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
    default:
      break;
  }
  fig.currentKind = Kind::kNone;
}

void RunPasses(Figure& fig) {
  if (fig.stepSlotsOk.size() < static_cast<size_t>(fig.stepCount) + 1) AnalyseDependencies(fig);
  for (int32_t pass = 1; pass <= fig.passCount; ++pass) {
    fig.lastPass = pass == fig.passCount;
    const int32_t count = fig.stepCount;
    for (int32_t s = 1; s <= count; ++s)
      if (fig.stepState[s] != 2) RecomputeStep(fig, s);
    for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p) {
      PointRec& pt = fig.points[p];
      if (pt.free == 0) continue;
      const int32_t t = BindingTarget(fig, p, true);
      if (pt.valid > t) pt.valid = t;
    }
  }
  fig.lastPass = false;
}

void RecomputeQuiet(Figure& fig) { RunPasses(fig); }

void RecomputeAll(Figure& fig) {
  fig.angleMarkCount = 0;
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i)
    if (fig.numbers[i].valid != 0) fig.numbers[i].valid = kTrue;
  for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i)
    if (fig.points[i].valid != 0) fig.points[i].valid = kTrue;
  AnalyseDependencies(fig);
  RunPasses(fig);
  fig.SnapshotPrevious();
  fig.RefreshLineEnds();
}

}  // namespace kv
