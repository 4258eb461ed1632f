#include "geometry/drag_recompute.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "../../bench/figure_generator.h"
#include "figure_builder.h"
#include "geometry/recompute.h"
#include "io/kv4_file.h"

namespace kv {
namespace {

using namespace kv::testing;

// Every record field except the texts; doubles compared exactly.
auto Fields(const PointRec& r) {
  return std::tie(r.x, r.y, r.colour, r.locusColour, r.valid, r.marker, r.free, r.boundClass,
                  r.boundIndex, r.boundParam);
}
auto Fields(const LineRec& r) {
  return std::tie(r.x1, r.y1, r.x2, r.y2, r.valid, r.lineType, r.dx, r.dy, r.colour, r.byTwoPoints,
                  r.endA, r.endB);
}
auto Fields(const CircleRec& r) { return std::tie(r.cx, r.cy, r.radius, r.valid, r.colour); }
auto Fields(const NumberRec& r) { return std::tie(r.value, r.valid, r.independent, r.hidden); }

template <typename Rec>
void ExpectSameTable(const std::vector<Rec>& a, const std::vector<Rec>& b, int32_t count,
                     const char* what) {
  for (int32_t i = 1; i <= count; ++i)
    EXPECT_TRUE(Fields(a[i]) == Fields(b[i])) << what << " " << i;
}

void ExpectSameFigure(const Figure& drag, const Figure& full) {
  ExpectSameTable(drag.points, full.points, full.classCount[kClassPoint], "point");
  ExpectSameTable(drag.lines, full.lines, full.classCount[kClassLine], "line");
  ExpectSameTable(drag.circles, full.circles, full.classCount[kClassCircle], "circle");
  ExpectSameTable(drag.numbers, full.numbers, full.classCount[kClassNumber], "number");
  ExpectSameTable(drag.prevPoints, full.prevPoints, full.classCount[kClassPoint], "prev point");
  for (int32_t s = 1; s <= full.StepCount(); ++s)
    EXPECT_EQ(drag.StepSwap(s), full.StepSwap(s)) << "swap " << s;
  EXPECT_EQ(drag.angleMarkCount, full.angleMarkCount);
}

// Drags `moving` along a path in both figures: one with the dependents-only recompute, one
// with the snapshot of everything and the full passes, and compares them after every step.
void DragBothWays(Figure& drag, Figure& full, ObjRef moving, double dx, double dy, int steps) {
  RecomputeAll(drag);
  RecomputeAll(full);
  const DragPlan plan = StartDrag(drag, {&moving, 1});
  for (int i = 0; i < steps; ++i) {
    SnapshotDragged(drag, plan);
    full.SnapshotPrevious();
    for (Figure* fig : {&drag, &full}) {
      if (moving.cls == kClassPoint) {
        fig->points[moving.index].x += dx;
        fig->points[moving.index].y += dy;
      } else {
        fig->numbers[moving.index].value += dx;
      }
    }
    DragRecompute(drag, plan);
    full.angleMarkCount = 0;
    RunPasses(full);
    ExpectSameFigure(drag, full);
    if (::testing::Test::HasFailure()) return;
  }
}

// A generated figure with a bound point on a later line, a circle through it, the two
// intersections of two circles and a measured angle on top, so that the binding pass, the
// keep-order rule and the expressions all take part.
Figure RichFigure() {
  Figure fig = bench::GenerateFigure(bench::kGroupSteps * 6 + 5);
  KindTestFigure t;
  t.fig = std::move(fig);
  const ObjRef p = Pt(BoundPoint(t.fig, Ln(1), 0.5));
  t.fig.AppendStep("PBND", {Ln(1)}, {p});
  const ObjRef around = t.Step("C2", {p, Pt(2)}, kClassCircle);
  const ObjRef other = t.Step("C2", {Pt(3), p}, kClassCircle);
  t.Step2("PC3", {around, other}, kClassPoint, kClassPoint);
  t.Step("NA3+", {p, Pt(1), Pt(3)}, kClassNumber);
  // A point bound to a line made after it, and what is built on it.
  const ObjRef early = Pt(BoundPoint(t.fig, Ln(t.fig.classCount[kClassLine] + 1), 1));
  t.Step("P3", {early, Pt(1), Pt(2)}, kClassPoint);
  t.Line(Pt(1), Pt(3));
  return std::move(t.fig);
}

TEST(DragRecompute, GivesTheStateOfAFullPassOnGeneratedFigures) {
  struct Case {
    ObjRef moving;
    double dx, dy;
  } cases[] = {
      {Pt(1), 0.05, 0.03},  // the first free point: its group and the bound points on AB
      {Pt(2), -0.4, 0.25},  // far enough that intersections trade places
      {Pt(3), 0.3, -0.5},  {Nm(1), 0.2, 0},  // the ratio every midpoint and expression reads
      {Pt(9), 0.01, 0.01},                   // a point of the second group only
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.moving.cls << ":" << c.moving.index);
    Figure drag = RichFigure(), full = RichFigure();
    DragBothWays(drag, full, c.moving, c.dx, c.dy, 12);
  }
}

TEST(DragRecompute, GivesTheStateOfAFullPassOnTheSamples) {
  const std::filesystem::path folder = std::filesystem::path(KV_SOURCE_DIR) / "samples";
  int dragged = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".kv4") continue;
    Figure drag, full;
    FigureFileIO io;
    ASSERT_TRUE(io.Read(drag, entry.path().string()).ok());
    ASSERT_TRUE(io.Read(full, entry.path().string()).ok());
    RecomputeAll(drag);
    RecomputeAll(full);
    for (int32_t p = 1; p <= drag.classCount[kClassPoint]; ++p) {
      if (drag.points[p].free != kTrue) continue;
      SCOPED_TRACE(::testing::Message() << entry.path().filename() << " point " << p);
      DragBothWays(drag, full, Pt(p), 0.13, -0.07, 8);
      ++dragged;
    }
  }
  EXPECT_GT(dragged, 20);
}

TEST(DragRecompute, RecomputesOnlyWhatDependsOnTheMovingPoint) {
  Figure fig = bench::GenerateFigure(10000);
  RecomputeAll(fig);
  const ObjRef c{kClassPoint, 3};  // the third free point of the first group
  const DragPlan plan = StartDrag(fig, {&c, 1});
  // It is read by CM, the perpendicular, the intersection of AB and CM, the circle, the
  // intersections of AB with the circle, the angle and the expression on the angle.
  EXPECT_EQ(plan.steps.size(), 7u);
  EXPECT_TRUE(plan.Moves(c));
  EXPECT_FALSE(plan.Moves(ObjRef{kClassPoint, 1}));
  EXPECT_EQ(plan.fixedAngleMarks, 10000 / bench::kGroupSteps - 1);  // all but the first group's
}

}  // namespace
}  // namespace kv
