// Timing of a full repaint of generated figures against a canvas that discards every call,
// which measures the renderer's own work per object, and its allocations per repaint.
#include <benchmark/benchmark.h>

#include "allocation_counter.h"
#include "draw/renderer.h"
#include "figure_generator.h"
#include "geometry/recompute.h"
#include "paint_scene.h"

namespace kv::bench {
namespace {

class NullCanvas : public Canvas {
 public:
  long long calls = 0;
  void Clear(Rgb) override { ++calls; }
  void Line(DevicePoint, DevicePoint, const Pen&) override { ++calls; }
  void Polyline(std::span<const DevicePoint>, const Pen&) override { ++calls; }
  void Circle(DevicePoint, double, const Pen&) override { ++calls; }
  void Dot(DevicePoint, Rgb, int) override { ++calls; }
  void FillRect(DevicePoint, DevicePoint, Rgb) override { ++calls; }
  void Text(DevicePoint, std::string_view, const TextStyle&) override { ++calls; }
};

void BM_Paint(benchmark::State& state) {
  Figure fig = GenerateFigure(int(state.range(0)));
  RecomputeAll(fig);
  View view;
  view.SetScreen(1024, 768);
  view.axissw = true;
  DrawSettings settings;
  const Scene scene = FigureScene(fig, view, settings);
  Renderer renderer;
  NullCanvas canvas;
  renderer.Paint(scene, canvas);  // warm the reused buffers
  const long long before = AllocationCount();
  long long paints = 0;
  for (auto _ : state) {
    renderer.Paint(scene, canvas);
    ++paints;
  }
  const double objects = ObjectCount(fig);
  state.counters["per_object"] = benchmark::Counter(
      objects, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["allocs_per_paint"] = double(AllocationCount() - before) / double(paints);
}

BENCHMARK(BM_Paint)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kv::bench
