// Timing of the full recompute and of the drag-time passes on generated figures, reported per
// construction step, and a check that the drag-time passes allocate nothing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "allocation_counter.h"
#include "engine_ratios.h"
#include "figure_generator.h"
#include "geometry/recompute.h"
#include "io/kv4_file.h"
#include "io/text_encoding.h"
#include "repaint_ratio.h"

namespace kv::bench {
namespace {

void SetStepCounters(benchmark::State& state, const Figure& fig) {
  const double steps = static_cast<double>(fig.StepCount());
  // Seconds per step (shown with an SI prefix, e.g. 40n = 40 ns).
  state.counters["per_step"] = benchmark::Counter(
      steps, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  int32_t defined = 0;
  for (int32_t s = 1; s <= fig.StepCount(); ++s)
    if (fig.GetValid(fig.Output(s, 1)) != 0) ++defined;
  state.counters["defined_pct"] = 100.0 * defined / steps;
}

void BM_RecomputeAll(benchmark::State& state) {
  Figure fig = GenerateFigure(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    RecomputeAll(fig);
    benchmark::ClobberMemory();
  }
  SetStepCounters(state, fig);
}

// A drag: the first free point moves back and forth, and the passes of the analysis made when
// the drag began run after every movement.
void BM_RunPasses(benchmark::State& state) {
  Figure fig = GenerateFigure(static_cast<int>(state.range(0)));
  RecomputeAll(fig);
  const ObjRef dragged{kClassPoint, 1};
  AnalyseDependencies(fig, {&dragged, 1});
  double offset = 0.001;
  for (auto _ : state) {
    fig.points[1].x += offset;
    offset = -offset;
    RunPasses(fig);
    benchmark::ClobberMemory();
  }
  SetStepCounters(state, fig);
}

BENCHMARK(BM_RecomputeAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RunPasses)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Counts the allocations of one RunPasses and one RecomputeAll after a first full recompute.
void ReportAllocations() {
  Figure fig = GenerateFigure(10000);
  RecomputeAll(fig);
  long long before = AllocationCount();
  RunPasses(fig);
  const long long passes = AllocationCount() - before;
  before = AllocationCount();
  RecomputeAll(fig);
  const long long full = AllocationCount() - before;
  std::printf("allocations on %d steps: RunPasses %lld, RecomputeAll %lld\n", fig.StepCount(),
              passes, full);
}

}  // namespace
}  // namespace kv::bench

int main(int argc, char** argv) {
  // kvbench --write-figure FILE STEPS: writes a generated figure, for timing kvtool on it.
  if (argc == 4 && std::string(argv[1]) == "--write-figure") {
    kv::Figure fig = kv::bench::GenerateFigure(std::atoi(argv[3]));
    kv::RecomputeAll(fig);
    std::ofstream(argv[2], std::ios::binary) << kv::Utf8ToShiftJis(kv::FigureFileText(fig));
    return 0;
  }
  kv::bench::ReportAllocations();
  kv::bench::ReportEngineRatios();
  kv::bench::ReportRepaintRatio();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
