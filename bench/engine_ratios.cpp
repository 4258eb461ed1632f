// Engine against reference, measured in the same process and interleaved: the full recompute,
// the drag step with a few, half and all objects moving, the memory a figure holds, and the
// backward chain of a damaged figure. Printed as absolute times and engine/reference ratios.
#include "engine_ratios.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "allocation_counter.h"
#include "figure_generator.h"
#include "geometry/drag_recompute.h"
#include "geometry/recompute.h"
#include "reference_loop.h"

namespace kv::bench {
namespace {

// CPU time of this thread: on a machine shared with other work, wall time counts the moments
// the thread waited for a core, which say nothing about the code.
double ThreadNanoseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// Best time of `repeats` rounds of `iterations` calls, in nanoseconds per call.
template <typename F>
double BestTime(int repeats, int iterations, F&& f) {
  double best = 1e300;
  for (int r = 0; r < repeats; ++r) {
    const double start = ThreadNanoseconds();
    for (int i = 0; i < iterations; ++i) f();
    best = std::min(best, (ThreadNanoseconds() - start) / iterations);
  }
  return best;
}

int ObjectCount(const Figure& fig) {
  return fig.classCount[0] + fig.classCount[1] + fig.classCount[2] + fig.classCount[3];
}

// Times one drag step of `plan` (snapshot, move, dependents-only passes).
double DragStepTime(Figure& fig, const DragPlan& plan, int iterations, ObjRef moved) {
  double offset = 1e-4;
  return BestTime(5, iterations, [&] {
    SnapshotDragged(fig, plan);
    if (moved.cls == kClassPoint)
      fig.points[moved.index].x += offset;
    else
      fig.numbers[moved.index].value += offset * 1e-3;
    offset = -offset;
    DragRecompute(fig, plan);
  });
}

void ReportSize(int steps) {
  const long long before = LiveBytes();
  Figure fig = GenerateFigure(steps);
  RecomputeAll(fig);
  RecomputeAll(fig);
  const double bytes = static_cast<double>(LiveBytes() - before);
  const int objects = ObjectCount(fig);
  const int iterations = std::max(1, 2000000 / steps);
  ReferenceLoop reference(fig);
  double offset = 1e-4;
  auto referenceTime = [&] {
    return BestTime(5, iterations, [&] {
      reference.MovePoint(1, offset);
      offset = -offset;
      reference.Recompute();
    });
  };
  double ref = referenceTime();
  const double full = BestTime(5, iterations, [&] { RecomputeAll(fig); });

  // All objects moving: every free point and the ratio every midpoint reads.
  std::vector<ObjRef> all{ObjRef{kClassNumber, 1}};
  for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p)
    if (fig.points[p].free != 0) all.push_back(ObjRef{kClassPoint, p});
  const DragPlan wholePlan = StartDrag(fig, all);
  const double whole = DragStepTime(fig, wholePlan, iterations, ObjRef{kClassPoint, 1});
  RecomputeAll(fig);
  const ObjRef ratio{kClassNumber, 1};
  const DragPlan halfPlan = StartDrag(fig, {&ratio, 1});
  const double half = DragStepTime(fig, halfPlan, iterations, ratio);
  RecomputeAll(fig);
  const ObjRef corner{kClassPoint, 3};
  const DragPlan fewPlan = StartDrag(fig, {&corner, 1});
  const double few = DragStepTime(fig, fewPlan, 20000, corner);
  RecomputeAll(fig);
  // The reference is timed before and after the engine; the better round counts.
  ref = std::min(ref, referenceTime());
  // Both recompute the same move from the same state: their values agree to the last bit.
  ReferenceLoop check(fig);
  fig.points[1].x += 0.25;
  check.MovePoint(1, 0.25);
  RecomputeAll(fig);
  check.Recompute();
  const double difference = check.DifferenceFrom(fig);

  std::printf(
      "%7d steps %7d objects | reference %8.1f us (%5.2f ns/obj) | RecomputeAll %8.1f us "
      "x%.2f | drag all %8.1f us x%.2f | drag half (%zu steps) %8.1f us x%.2f | drag few (%zu "
      "steps) %.2f us | %.3f MB per 1000 objects | reference differs by %g\n",
      steps, objects, ref / 1e3, ref / objects, full / 1e3, full / ref, whole / 1e3, whole / ref,
      halfPlan.steps.size(), half / 1e3, half / ref, fewPlan.steps.size(), few / 1e3,
      bytes / objects * 1000 / 1e6, difference);
}

// A damaged figure: every step reflects the line of the step after it.
void ReportBackwardChain(int steps) {
  Figure fig(steps + 10);
  for (int i = 1; i <= steps + 1; ++i) fig.AllocObject(kClassLine);
  const int32_t o = fig.AllocObject(kClassPoint);
  fig.points[o].valid = kTrue;
  fig.points[o].free = kTrue;
  fig.AppendStep("PNEW", {}, {ObjRef{kClassPoint, o}});
  for (int i = 1; i < steps; ++i)
    fig.AppendStep("LT2", {ObjRef{kClassLine, i + 1}, ObjRef{kClassPoint, o}},
                   {ObjRef{kClassLine, i}});
  LineRec& first = fig.lines[steps];
  first.x1 = 1, first.y1 = 1, first.x2 = 2, first.y2 = 1, first.dx = 1, first.valid = kTrue;
  const double ns = BestTime(3, 1, [&] {
    fig.pass.kept = false;
    RecomputeAll(fig);
  });
  std::printf("backward chain %7d steps: analysis and passes %9.1f us (%.1f ns per step)\n", steps,
              ns / 1e3, ns / steps);
}

}  // namespace

void ReportEngineRatios() {
  std::printf("engine / reference (x = ratio), best of 5 interleaved rounds, thread CPU time\n");
  for (int steps : {1000, 10000, 100000}) ReportSize(steps);
  for (int steps : {1000, 10000, 100000}) ReportBackwardChain(steps);
}

}  // namespace kv::bench
