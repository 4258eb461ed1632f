// One mouse-move of a drag through the Session, as the window drives it: the position is
// quantised, the point moved, its dependents recomputed, and the moving objects painted over
// the kept image of the fixed ones into an offscreen 1000 x 700 antialiased image. Generated
// figures of 1,000, 10,000 and 100,000 objects, (a) with about ten objects depending on the
// dragged point and (b) with about half of them. Printed as times per event, allocations per
// event and ratios against the plain reference loop's full recompute, measured in this run.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "allocation_counter.h"
#include "figure_generator.h"
#include "geometry/recompute.h"
#include "qtcanvas/qt_canvas.h"
#include "reference_loop.h"
#include "session/headless_port.h"
#include "session/session.h"

namespace kv::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 1000, kHeight = 700;

template <typename F>
double BestTime(int repeats, int iterations, F&& f) {
  double best = 1e300;
  for (int r = 0; r < repeats; ++r) {
    const auto start = Clock::now();
    for (int i = 0; i < iterations; ++i) f();
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    best = std::min(best, ns / iterations);
  }
  return best;
}

int ObjectCount(const Figure& fig) {
  return fig.classCount[0] + fig.classCount[1] + fig.classCount[2] + fig.classCount[3];
}

// Makes the first free point of every group in the first half depend on point 1: it becomes
// the division point 1000 : 1 between point 1 and a new free point where it was, so that it
// stays in its own cell and moves a little with point 1.
void MakeHalfDependOnPointOne(Figure& fig) {
  const int32_t thousand = fig.AllocObject(kClassNumber);
  fig.numbers[thousand].value = 1000;
  fig.numbers[thousand].valid = kTrue;
  fig.numbers[thousand].independent = kTrue;
  const int32_t groups = fig.StepCount() / kGroupSteps;
  int32_t freeSeen = 0;
  for (int32_t s = 1; s <= fig.StepCount(); ++s) {
    if (fig.KindOf(s) != Kind::kPNEW) continue;
    const int32_t k = freeSeen++;
    const int32_t group = k / 3;
    if (k % 3 != 0 || group == 0 || group >= groups / 2) continue;
    const int32_t a = fig.Output(s, 1).index;
    const int32_t anchor = fig.AllocObject(kClassPoint);
    PointRec& z = fig.points[anchor];
    z.x = fig.points[a].x, z.y = fig.points[a].y;
    z.valid = kTrue;
    z.free = kTrue;
    fig.points[a].free = 0;
    fig.SetStepKind(s, "PN");
    fig.SetStepParent(s, 1, {kClassPoint, 1});
    fig.SetStepParent(s, 2, {kClassPoint, anchor});
    fig.SetStepParent(s, 3, {kClassNumber, thousand});
    fig.SetStepParent(s, 4, {kClassNumber, 1});  // the generator's ratio 1
  }
}

struct Result {
  int objects = 0;
  size_t moving = 0;
  double eventNs = 0, referenceNs = 0;
  double allocsPerEvent = 0;
  double moveNs = 0, moveAllocs = 0;  // the session's part alone: quantise, move, recompute
};

Result Measure(int objects, bool half) {
  Result r;
  const int steps = objects * kGroupSteps / 15;  // a group has 15 objects in 13 steps
  Figure fig = GenerateFigure(steps);
  if (half) MakeHalfDependOnPointOne(fig);
  RecomputeAll(fig);
  r.objects = ObjectCount(fig);

  ReferenceLoop reference(fig);
  double dx = 1e-4;
  r.referenceNs = BestTime(3, std::max(1, 200000 / objects), [&] {
    reference.MovePoint(1, dx);
    dx = -dx;
    reference.Recompute();
  });

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kv_drag_bench";
  std::filesystem::create_directories(folder);
  std::ostringstream sink;
  HeadlessPort port(sink);
  Session session(port);
  Session::StartupArgs args;
  args.programFolder = folder.string();
  args.canvasWidth = kWidth;
  args.canvasHeight = kHeight;
  session.Startup(args);
  session.figure = std::move(fig);
  session.RedrawAll();

  QImage target(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  QImage fixed(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  Renderer renderer;
  const PointRec& p1 = session.figure.points[1];
  const double x0 = p1.x, y0 = p1.y;
  session.Press(kLeftButton, 0, x0, y0);
  session.Move(kLeftButton, 0, x0 + 0.1, y0 + 0.1);
  const DragPlan* plan = session.ActiveDragPlan();
  if (!plan) {
    std::fprintf(stderr, "the press did not start a drag\n");
    std::exit(1);
  }
  r.moving = plan->ObjectCount();
  {
    QPainter painter(&fixed);
    QtCanvas canvas(painter, kWidth, kHeight, 96);
    Scene scene = session.MakeScene();
    scene.layer = PaintLayer::kFixed;
    renderer.Paint(scene, canvas);
  }
  int flip = 0;
  auto event = [&] {
    // One pixel either way, as a slow drag.
    const double offset = (flip ^= 1) ? 0.15 : 0.1;
    session.Move(kLeftButton, 0, x0 + offset, y0 + offset);
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, fixed);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QtCanvas canvas(painter, kWidth, kHeight, 96);
    Scene scene = session.MakeScene();
    scene.layer = PaintLayer::kMoving;
    renderer.Paint(scene, canvas);
  };
  for (int i = 0; i < 3; ++i) event();  // warm the reused buffers
  const long long before = AllocationCount();
  const int iterations = half ? std::max(3, 200000 / objects) : 200;
  for (int i = 0; i < iterations; ++i) event();
  r.allocsPerEvent = double(AllocationCount() - before) / iterations;
  r.eventNs = BestTime(3, iterations, event);
  auto move = [&] {
    const double offset = (flip ^= 1) ? 0.15 : 0.1;
    session.Move(kLeftButton, 0, x0 + offset, y0 + offset);
  };
  const long long beforeMoves = AllocationCount();
  for (int i = 0; i < iterations; ++i) move();
  r.moveAllocs = double(AllocationCount() - beforeMoves) / iterations;
  r.moveNs = BestTime(3, iterations, move);
  session.Release(kLeftButton, 0, x0, y0);
  return r;
}

}  // namespace
}  // namespace kv::bench

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  std::printf("drag event: quantise, move, dependents-only recompute, paint the moving layer\n");
  std::printf("over the fixed one (1000 x 700, antialiased); reference = plain full recompute\n");
  std::printf("%-6s %9s %8s %10s %10s %10s %8s %10s %10s\n", "case", "objects", "moving",
              "event us", "ref us", "ratio", "allocs", "move us", "move alc");
  for (const bool half : {false, true}) {
    for (const int objects : {1000, 10000, 100000}) {
      // KV_DRAG_CASE=b10000 runs one case (for profiling).
      if (const char* only = std::getenv("KV_DRAG_CASE");
          only && std::string(half ? "b" : "a") + std::to_string(objects) != only)
        continue;
      const kv::bench::Result r = kv::bench::Measure(objects, half);
      std::printf("%-6s %9d %8zu %10.1f %10.1f %10.2f %8.1f %10.1f %10.1f\n", half ? "(b)" : "(a)",
                  r.objects, r.moving, r.eventNs / 1000, r.referenceNs / 1000,
                  r.eventNs / r.referenceNs, r.allocsPerEvent, r.moveNs / 1000, r.moveAllocs);
    }
  }
  return 0;
}
