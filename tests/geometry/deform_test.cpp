#include "geometry/deform.h"

#include <gtest/gtest.h>

#include <cmath>

#include "figure_builder.h"

namespace kv {
namespace {

using namespace kv::testing;

TEST(Deform, QuantiseToPixelGoesUpForPositiveAndDownForOthers) {
  struct Case {
    double v, unit, expected;
  };
  const Case cases[] = {
      {0.05, 0.05, 0.10},    // already on the grid: one pixel up
      {-0.05, 0.05, -0.05},  // on the grid below zero: stays
      {0.07, 0.05, 0.10},   {-0.07, 0.05, -0.10},
      {0.0, 0.05, 0.0},     {1.234, 0.0, 1.234},  // no scale: unchanged
      {3.3, 1.0, 4.0},      {-3.3, 1.0, -4.0},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(QuantiseToPixel(c.v, c.unit), c.expected, 1e-12) << c.v << " / " << c.unit;
}

TEST(Deform, BoundPointsFollowTheirTarget) {
  Figure fig;
  CountingHooks hooks;
  fig.pass.hooks = &hooks;
  const int32_t circle = FixedCircle(fig, 1, 1, 2);
  const int32_t segment = FixedLine(fig, 0, 0, 4, 0, /*lineType=*/1);
  const int32_t onCircle = BoundPoint(fig, Ci(circle));
  const int32_t onSegment = BoundPoint(fig, Ln(segment));
  const int32_t free = FreePoint(fig, 0, 0);
  const int32_t coinciding = BoundPoint(fig, Pt(free));
  fig.points[coinciding].x = 5;

  // A circle keeps the point on its circumference, in the mouse's direction from the centre.
  ASSERT_TRUE(MovePointTo(fig, onCircle, 10, 1));
  ExpectAt(fig.points[onCircle], 3, 1);
  ASSERT_TRUE(MovePointTo(fig, onCircle, 1, -5));
  ExpectAt(fig.points[onCircle], 1, -1);
  EXPECT_NEAR(fig.points[onCircle].boundParam, 1.5 * kPi * 2, 1e-9);  // 270 degrees of r = 2
  // On the centre there is no direction: the point stays.
  EXPECT_FALSE(MovePointTo(fig, onCircle, 1, 1));
  ExpectAt(fig.points[onCircle], 1, -1);

  // A segment: the foot of the mouse, and past the end the end itself with a beep.
  ASSERT_TRUE(MovePointTo(fig, onSegment, 2, 5));
  ExpectAt(fig.points[onSegment], 2, 0);
  EXPECT_EQ(hooks.beeps, 0);
  MovePointTo(fig, onSegment, 6, 3);
  ExpectAt(fig.points[onSegment], 4, 0);
  EXPECT_DOUBLE_EQ(fig.points[onSegment].boundParam, 4);
  EXPECT_EQ(hooks.beeps, 1);
  MovePointTo(fig, onSegment, -1, -1);
  ExpectAt(fig.points[onSegment], 0, 0);
  EXPECT_EQ(hooks.beeps, 2);

  EXPECT_TRUE(MovePointTo(fig, free, -2.5, 7));
  ExpectAt(fig.points[free], -2.5, 7);
  EXPECT_FALSE(MovePointTo(fig, coinciding, 1, 1));
  EXPECT_EQ(fig.points[coinciding].x, 5);
}

TEST(Deform, KeyStepsMoveFreePointsByAxisAndBoundPointsAlongTheirTarget) {
  Figure fig;
  const int32_t free = FreePoint(fig, 1, 1);
  const int32_t circle = FixedCircle(fig, 0, 0, 2);
  const int32_t onCircle = BoundPoint(fig, Ci(circle), 0);
  const struct {
    ArrowKey key;
    double x, y;
  } moves[] = {{ArrowKey::kUp, 1, 1.5},
               {ArrowKey::kRight, 1.5, 1.5},
               {ArrowKey::kDown, 1.5, 1},
               {ArrowKey::kLeft, 1, 1}};
  for (const auto& m : moves) {
    KeyStepPoint(fig, free, m.key, 0.5);
    ExpectAt(fig.points[free], m.x, m.y);
  }
  // A quarter of the circumference forward, then back past the start (wraps round).
  KeyStepPoint(fig, onCircle, ArrowKey::kUp, kPi);
  ExpectAt(fig.points[onCircle], 0, 2);
  KeyStepPoint(fig, onCircle, ArrowKey::kLeft, 2 * kPi);
  ExpectAt(fig.points[onCircle], 0, -2);
}

// A at (0, 0) and B at (4, 0) with the line AB through them, a fixed line y = 1, a fixed circle
// of radius 2.5 about (2, -3).
struct SnapFigure {
  Figure fig;
  int32_t a, b, ab, fixedLine, circle;
  SnapFigure() {
    a = FreePoint(fig, 0, 0);
    b = FreePoint(fig, 4, 0);
    ab = fig.AllocObject(kClassLine);
    fig.AppendStep("L1", {Pt(a), Pt(b)}, {Ln(ab)});
    fixedLine = FixedLine(fig, -5, 1, 5, 1);
    circle = FixedCircle(fig, 2, -3, 2.5);
    RecomputeAll(fig);
  }
};

TEST(Deform, SnappingNeverPicksWhatMovesWithThePoint) {
  SnapFigure f;
  const ObjRef moving = Pt(f.a);
  const DragPlan plan = StartDrag(f.fig, {&moving, 1});
  ASSERT_TRUE(plan.Moves(Ln(f.ab)));
  const struct {
    SnapKind kind;
    Vec2 mouse, expected;
  } cases[] = {
      // AB is nearest (0.1 away) but moves with A: the fixed line (0.9) wins over nothing.
      {kSnapLine, {2, 0.1}, {2, 1}},
      // The circle (0.6 away) is nearer than the fixed line.
      {kSnapLineOrCircle, {2, 0.1}, {2, -0.5}},
      {kSnapLineOrCircle, {2, 0.8}, {2, 1}},
      // Lattice points, halves going up.
      {kSnapLattice, {2.4, -1.5}, {2, -1}},
      {kSnapLattice, {2.5, -2.6}, {3, -3}},
  };
  for (const auto& c : cases) {
    const Vec2 got = SnapPosition(f.fig, plan, c.kind, c.mouse);
    EXPECT_NEAR(got.x, c.expected.x, 1e-9) << c.kind << " " << c.mouse.x << "," << c.mouse.y;
    EXPECT_NEAR(got.y, c.expected.y, 1e-9) << c.kind << " " << c.mouse.x << "," << c.mouse.y;
  }
  // Dragging B instead: AB moves with B too, so it is never the target either.
  const ObjRef movingB = Pt(f.b);
  const DragPlan planB = StartDrag(f.fig, {&movingB, 1});
  const Vec2 got = SnapPosition(f.fig, planB, kSnapLine, {3, 0.01});
  EXPECT_NEAR(got.y, 1, 1e-9);
}

TEST(Deform, SnappingKeyStepOnTheLatticeMovesOneWorldUnit) {
  SnapFigure f;
  Deformer d;
  ASSERT_TRUE(d.StartPoint(f.fig, f.a));
  DeformSettings s;
  s.snapKind = kSnapLattice;
  for (int i = 1; i <= 3; ++i) {
    d.KeyStep(f.fig, ArrowKey::kRight, s, /*snapping=*/true);
    ExpectAt(f.fig.points[f.a], i, 0);
  }
  d.KeyStep(f.fig, ArrowKey::kDown, s, true);
  ExpectAt(f.fig.points[f.a], 3, -1);
}

// The line AB meets the circle of radius 3 about the origin; dragging B through A flips AB's
// direction. Each intersection output must stay on the solution it followed.
TEST(Deform, IntersectionOutputsKeepTheirSolutionsWhileTheLineFlips) {
  Figure fig;
  const int32_t a = FreePoint(fig, 0, 0);
  const int32_t b = FreePoint(fig, 2, 1);
  const int32_t ab = fig.AllocObject(kClassLine);
  fig.AppendStep("L1", {Pt(a), Pt(b)}, {Ln(ab)});
  const int32_t c = FixedCircle(fig, 0, 0, 3);
  const auto [p, q] = IntersectionPoints(fig, "PC2", {Ln(ab), Ci(c)});
  RecomputeAll(fig);
  const Vec2 p0 = PosOf(fig.points[p]), q0 = PosOf(fig.points[q]);
  ASSERT_GT(Distance(p0, q0), 5);

  Deformer d;
  ASSERT_TRUE(d.StartPoint(fig, b));
  for (double x = 2; x > -2; x -= 0.15) {
    d.StepTo(fig, {x, x / 2});
    EXPECT_LT(Distance(PosOf(fig.points[p]), p0), 1e-9) << "at x = " << x;
    EXPECT_LT(Distance(PosOf(fig.points[q]), q0), 1e-9) << "at x = " << x;
  }
}

TEST(Deform, DeformerMovesLinesSeveralPointsAndNumbers) {
  SnapFigure f;
  Deformer d;
  // The line's body held at (1, 0): both ends keep their offsets from the mouse.
  ASSERT_TRUE(d.StartLine(f.fig, f.ab, {1, 0}));
  d.StepTo(f.fig, {2, 3});
  ExpectAt(f.fig.points[f.a], 1, 3);
  ExpectAt(f.fig.points[f.b], 5, 3);
  EXPECT_NEAR(f.fig.lines[f.ab].y1, 3, 1e-12);
  EXPECT_NEAR(f.fig.lines[f.ab].y2, 3, 1e-12);

  const int32_t both[] = {f.b, f.a};
  ASSERT_TRUE(d.StartPoints(f.fig, both));
  d.StepTo(f.fig, {6, 3});  // the first selected point (B) follows the mouse
  ExpectAt(f.fig.points[f.b], 6, 3);
  ExpectAt(f.fig.points[f.a], 2, 3);

  const int32_t n = Variable(f.fig, 1);
  const int32_t dependent = f.fig.AllocObject(kClassNumber);
  f.fig.AppendStep("NSIN", {Nm(n)}, {Nm(dependent)});
  RecomputeAll(f.fig);
  DeformSettings s;
  s.deltaVar = 0.25;
  ASSERT_TRUE(d.StartNumber(f.fig, n));
  d.NumberStep(f.fig, true, s);
  d.NumberStep(f.fig, true, s);
  d.NumberStep(f.fig, false, s);
  EXPECT_DOUBLE_EQ(f.fig.numbers[n].value, 1.25);
  EXPECT_NEAR(f.fig.numbers[dependent].value, std::sin(1.25 * kPi / 180), 1e-9);

  // Nothing that cannot move starts.
  EXPECT_FALSE(d.StartNumber(f.fig, dependent));
  EXPECT_FALSE(d.Active());
  f.fig.points[f.a].free = 1;  // locked
  EXPECT_FALSE(d.StartPoint(f.fig, f.a));
}

}  // namespace
}  // namespace kv
