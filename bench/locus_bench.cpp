// The cost the loci and the measurement record add to a drag step: the two deformation hooks
// around the dependents-only recompute, on generated figures, with the locus switch off, with
// it on and the record open, and with every moving line traced as well.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "allocation_counter.h"
#include "figure_generator.h"
#include "geometry/drag_recompute.h"
#include "geometry/recompute.h"
#include "session/headless_port.h"
#include "session/session.h"

namespace kv::bench {
namespace {

namespace fs = std::filesystem;

// 0: switch off; 1: switch on, record open, nothing traced; 2: also every moving line traced.
void BM_DeformHooks(benchmark::State& state) {
  const fs::path folder = fs::temp_directory_path() / "kv_locus_bench";
  fs::create_directories(folder);
  std::ostringstream out;
  HeadlessPort port(out);
  Session session(port);
  Session::StartupArgs args;
  args.programFolder = folder.string();
  args.canvasWidth = 1000;
  args.canvasHeight = 700;
  session.Startup(args);
  session.figure = GenerateFigure(static_cast<int>(state.range(0)));
  RecomputeAll(session.figure);
  const ObjRef moving{kClassPoint, 1};
  const DragPlan plan = StartDrag(session.figure, {&moving, 1});
  const int mode = static_cast<int>(state.range(1));
  if (mode == 2)
    for (const int32_t i : plan.indices[kClassLine]) session.figure.lines[i].locusColour = 4;
  if (mode >= 1) session.Command(MenuCommand::mnuLocusSW);

  double offset = 0.001;
  long long allocations = 0;
  int64_t steps = 0;
  for (auto _ : state) {
    if (session.loci.lineCount > 20000) {
      state.PauseTiming();
      session.loci.Reset();
      state.ResumeTiming();
    }
    const long long before = AllocationCount();
    session.BeforeDeformStep(1);
    SnapshotDragged(session.figure, plan);
    session.figure.points[1].x += offset;
    offset = -offset;
    DragRecompute(session.figure, plan);
    session.AfterDeformStep(1, plan);
    allocations += AllocationCount() - before;
    ++steps;
  }
  state.counters["moving"] = static_cast<double>(plan.ObjectCount());
  int recorded = 0;
  for (int32_t i = 1; i <= session.figure.classCount[kClassNumber]; ++i)
    if (IsRecordedNumber(session.figure.numbers[i])) ++recorded;
  state.counters["recorded"] = recorded;
  state.counters["allocs_per_step"] = static_cast<double>(allocations) / static_cast<double>(steps);
  session.Command(MenuCommand::mnuLocusSW);
  fs::remove_all(folder);
}

BENCHMARK(BM_DeformHooks)->ArgsProduct({{1000, 10000}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kv::bench
