// Timing of the hover picker (run on every mouse move in the standard mode) and of a click in a
// selection over every point, on generated figures of about 1,000, 10,000 and 100,000 points,
// lines and circles, with the allocations per move (there must be none).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "allocation_counter.h"
#include "construct/picker.h"
#include "figure_generator.h"
#include "geometry/recompute.h"

namespace kv::bench {
namespace {

// A generated group holds 8 points, 3 lines and 1 circle in 13 steps.
constexpr int kPickableObjectsPerGroup = 12;

struct PickScene {
  Figure fig;
  View view;
  std::vector<std::pair<double, double>> mouse;  // positions over the figure, some on objects
};

PickScene MakeScene(int objects) {
  PickScene scene{GenerateFigure(objects / kPickableObjectsPerGroup * kGroupSteps), View{}, {}};
  RecomputeAll(scene.fig);
  scene.fig.RefreshLineEnds();
  scene.view.SetScreen(1024, 768);
  // Half of the positions right next to a point, half anywhere over the groups' area.
  std::mt19937 rng(7);
  const int32_t points = scene.fig.classCount[kClassPoint];
  std::uniform_int_distribution<int32_t> anyPoint(1, points);
  double maxX = 0, maxY = 0;
  for (int32_t i = 1; i <= points; ++i) {
    maxX = std::max(maxX, scene.fig.points[i].x);
    maxY = std::max(maxY, scene.fig.points[i].y);
  }
  std::uniform_real_distribution<double> ux(-1, maxX + 1), uy(-1, maxY + 1), near(-0.2, 0.2);
  for (int i = 0; i < 1024; ++i) {
    if (i % 2 == 0) {
      const PointRec& p = scene.fig.points[anyPoint(rng)];
      scene.mouse.emplace_back(p.x + near(rng), p.y + near(rng));
    } else {
      scene.mouse.emplace_back(ux(rng), uy(rng));
    }
  }
  return scene;
}

void SetObjectCounters(benchmark::State& state, const Figure& fig, long long allocations,
                       long long moves) {
  state.counters["objects"] =
      fig.classCount[kClassPoint] + fig.classCount[kClassLine] + fig.classCount[kClassCircle];
  state.counters["allocs_per_move"] = double(allocations) / double(moves);
}

template <HoverResult (*Pick)(const Figure&, const View&, double, double)>
void BM_Hover(benchmark::State& state) {
  PickScene scene = MakeScene(static_cast<int>(state.range(0)));
  size_t next = 0;
  long long found = 0, moves = 0;
  const long long before = AllocationCount();
  for (auto _ : state) {
    const auto [x, y] = scene.mouse[next];
    next = (next + 1) % scene.mouse.size();
    const HoverResult r = Pick(scene.fig, scene.view, x, y);
    benchmark::DoNotOptimize(r);
    found += r.IsNothing() ? 0 : 1;
    ++moves;
  }
  SetObjectCounters(state, scene.fig, AllocationCount() - before, moves);
  state.counters["found_pct"] = 100.0 * double(found) / double(moves);
}

// A click in a selection of one of all points (the multi-point drag of a big figure).
void BM_SelectionClick(benchmark::State& state) {
  PickScene scene = MakeScene(static_cast<int>(state.range(0)));
  SelectionPicker picker;
  picker.Start(scene.fig, SelectionRules{});
  size_t next = 0;
  long long moves = 0;
  const long long before = AllocationCount();
  for (auto _ : state) {
    const auto [x, y] = scene.mouse[next];
    next = (next + 1) % scene.mouse.size();
    benchmark::DoNotOptimize(picker.Click(scene.fig, x, y));
    ++moves;
  }
  SetObjectCounters(state, scene.fig, AllocationCount() - before, moves);
}

BENCHMARK(BM_Hover<HoverPick>)
    ->Name("BM_HoverPick")
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hover<HoverPickPoints>)
    ->Name("BM_HoverPickPoints")
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectionClick)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kv::bench
