#include <gtest/gtest.h>

#include <cmath>

#include "figure_builder.h"
#include "geometry/kinds.h"
#include "geometry/primitives.h"

namespace kv {
namespace {

using namespace kv::testing;

constexpr double kEps = 1e-9;

TEST(PointKinds, TriangleCentresOfARightTriangle) {
  // A = (0,0), B = (4,0), C = (0,3): right angle at A, sides 5, 3, 4.
  struct Case {
    const char* code;
    double x, y;
  } cases[] = {
      {"P1", 2, 1.5},      // midpoint of the hypotenuse
      {"P2", 1, 1},        // inradius (3 + 4 - 5) / 2
      {"P3", 4.0 / 3, 1},  // mean of the vertices
      {"P4", 0, 0},        // the right-angle vertex
      {"P5", 6, 6},        // excentre opposite A, exradius s = 6
      {"P6", 1, 0.75},     // halfway between circumcentre and orthocentre
  };
  for (const Case& c : cases) {
    Figure fig;
    const int32_t a = FreePoint(fig, 0, 0), b = FreePoint(fig, 4, 0), cc = FreePoint(fig, 0, 3);
    const int32_t p = Construct(fig, c.code, {Pt(a), Pt(b), Pt(cc)});
    RecomputeAll(fig);
    SCOPED_TRACE(c.code);
    EXPECT_EQ(fig.points[p].valid, kTrue);
    ExpectAt(fig.points[p], c.x, c.y);
  }
}

TEST(PointKinds, TriangleCentresOfCollinearAndCoincidentPoints) {
  struct Case {
    const char* code;
    double ax, ay, bx, by, cx, cy;
    bool defined;
  } cases[] = {
      {"P1", 0, 0, 1, 1, 3, 3, false}, {"P4", 0, 0, 1, 1, 3, 3, false},
      {"P3", 0, 0, 1, 1, 3, 3, true},  {"P2", 0, 0, 1, 1, 3, 3, true},
      {"P2", 2, 5, 2, 5, 2, 5, true},  {"P1", 2, 5, 2, 5, 2, 5, false},
  };
  for (const Case& c : cases) {
    Figure fig;
    const int32_t a = FreePoint(fig, c.ax, c.ay), b = FreePoint(fig, c.bx, c.by);
    const int32_t cc = FreePoint(fig, c.cx, c.cy);
    const int32_t p = Construct(fig, c.code, {Pt(a), Pt(b), Pt(cc)});
    fig.points[p].x = 77;
    RecomputeAll(fig);
    SCOPED_TRACE(c.code);
    EXPECT_EQ(fig.points[p].valid != 0, c.defined);
    if (!c.defined) {
      EXPECT_EQ(fig.points[p].x, 77);  // an undefined point keeps its place
    }
  }
  Figure fig;  // three coincident points: the incentre sits on them
  const int32_t a = FreePoint(fig, 2, 5), b = FreePoint(fig, 2, 5), c = FreePoint(fig, 2, 5);
  const int32_t p = Construct(fig, "P2", {Pt(a), Pt(b), Pt(c)});
  RecomputeAll(fig);
  ExpectAt(fig.points[p], 2, 5);
}

TEST(PointKinds, DivisionExtensionAndCoordinates) {
  Figure fig;
  const int32_t a = FreePoint(fig, 0, 0), b = FreePoint(fig, 6, 3);
  const int32_t one = Variable(fig, 1), two = Variable(fig, 2), minusOne = Variable(fig, -1);
  const int32_t half = Variable(fig, 0.5), undefinedNumber = Variable(fig, 4, kFalse);
  const int32_t mid = Construct(fig, "PN", {Pt(a), Pt(b), Nm(one), Nm(one)});
  const int32_t external = Construct(fig, "PN", {Pt(a), Pt(b), Nm(two), Nm(minusOne)});
  const int32_t noRatio = Construct(fig, "PN", {Pt(a), Pt(b), Nm(one), Nm(minusOne)});
  const int32_t undefinedRatio = Construct(fig, "PN", {Pt(a), Pt(b), Nm(one), Nm(undefinedNumber)});
  const int32_t extension = Construct(fig, "PEXT", {Pt(a), Pt(b), Nm(half)});
  const int32_t fromXY = Construct(fig, "PXY", {Nm(two), Nm(minusOne)});
  const int32_t undefinedXY = Construct(fig, "PXY", {Nm(two), Nm(undefinedNumber)});
  RecomputeAll(fig);
  ExpectAt(fig.points[mid], 3, 1.5);
  ExpectAt(fig.points[external], 12, 6);  // AP : PB = 2 : 1 beyond B
  EXPECT_EQ(fig.points[noRatio].valid, 0);
  EXPECT_EQ(fig.points[undefinedRatio].valid, 0);
  ExpectAt(fig.points[extension], 9, 4.5);  // B + (B - A) / 2
  ExpectAt(fig.points[fromXY], 2, -1);
  EXPECT_EQ(fig.points[undefinedXY].valid, 0);
}

TEST(PointKinds, LineCircleIntersectionTolerances) {
  struct Case {
    double lineY;
    bool defined;
    double x1, x2;  // expected x of outputs 1 and 2 (further along the line first)
  } cases[] = {
      {0, true, 5, -5},
      {3, true, 4, -4},
      {4.999995, true, 0, 0},  // D = 0.00005 counts as tangent: both at the contact point
      {5.00002, false, 0, 0},  // D = -0.0002: the line misses
  };
  for (const Case& c : cases) {
    Figure fig;
    const int32_t g = FixedLine(fig, -10, c.lineY, 10, c.lineY);
    const int32_t circle = FixedCircle(fig, 0, 0, 5);
    const auto [p, q] = IntersectionPoints(fig, "PC2", {Ln(g), Ci(circle)});
    RecomputeAll(fig);
    SCOPED_TRACE(c.lineY);
    EXPECT_EQ(fig.points[p].valid != 0, c.defined);
    EXPECT_EQ(fig.points[q].valid != 0, c.defined);
    if (!c.defined) continue;
    EXPECT_NEAR(fig.points[p].x, c.x1, 1e-6);
    EXPECT_NEAR(fig.points[q].x, c.x2, 1e-6);
    EXPECT_NEAR(fig.points[p].y, c.lineY, 1e-9);
  }
}

TEST(PointKinds, CircleCircleIntersectionCases) {
  struct Case {
    double c2x, r1, r2;
    bool defined;
    double x, y1;  // output 1 is left of the direction from centre 1 to centre 2
  } cases[] = {
      {6, 5, 5, true, 3, 4},   {5, 3, 2, true, 3, 0},  // touching from outside
      {11, 5, 5, false, 0, 0},                         // apart
      {0, 5, 3, false, 0, 0},                          // concentric
      {1, 5, 3, false, 0, 0},                          // one inside the other
  };
  for (const Case& c : cases) {
    Figure fig;
    const int32_t c1 = FixedCircle(fig, 0, 0, c.r1), c2 = FixedCircle(fig, c.c2x, 0, c.r2);
    const auto [p, q] = IntersectionPoints(fig, "PC3", {Ci(c1), Ci(c2)});
    RecomputeAll(fig);
    SCOPED_TRACE(c.c2x);
    EXPECT_EQ(fig.points[p].valid != 0, c.defined);
    EXPECT_EQ(fig.points[q].valid != 0, c.defined);
    if (!c.defined) continue;
    ExpectAt(fig.points[p], c.x, c.y1);
    ExpectAt(fig.points[q], c.x, -c.y1);
  }
}

TEST(PointKinds, LineCircleOutputsKeepTheirSolutionsWhenTheLineTurnsOver) {
  Figure fig;
  const int32_t g = FixedLine(fig, -1, 3, 1, 3);
  const int32_t circle = FixedCircle(fig, 0, 0, 5);
  const int32_t p = fig.AllocObject(kClassPoint), q = fig.AllocObject(kClassPoint);
  const int32_t s = fig.AppendStep("PC2", {Ln(g), Ci(circle)}, {Pt(p), Pt(q)});
  RecomputeAll(fig);
  ExpectAt(fig.points[p], 4, 3);  // further along the line's direction
  ExpectAt(fig.points[q], -4, 3);
  // The second defining point is dragged across the first: the line vanishes for a moment
  // (the points are too close), then comes back pointing the other way.
  SetLine(fig.lines[g], -1, 3, -0.995, 3);
  RecomputeAll(fig);
  EXPECT_EQ(fig.points[p].valid, 0);
  SetLine(fig.lines[g], -1, 3, -3, 3);
  RecomputeAll(fig);
  ExpectAt(fig.points[p], 4, 3);
  ExpectAt(fig.points[q], -4, 3);
  EXPECT_NE(fig.StepSwap(s), 0);
  // Turning it back over in one move undoes the exchange; a small drag keeps the order.
  SetLine(fig.lines[g], -1, 3, 1, 3);
  RecomputeAll(fig);
  ExpectAt(fig.points[p], 4, 3);
  EXPECT_EQ(fig.StepSwap(s), 0);
  SetLine(fig.lines[g], -1, 3.0002, 1, 3.0002);
  RecomputeAll(fig);
  EXPECT_NEAR(fig.points[p].x, 4, 0.001);
  EXPECT_NEAR(fig.points[q].x, -4, 0.001);
  // A jump to far-away solutions does not touch the flag.
  SetLine(fig.lines[g], 3, -1, 3, 1);
  RecomputeAll(fig);
  ExpectAt(fig.points[p], 3, 4);
  EXPECT_EQ(fig.StepSwap(s), 0);
}

TEST(PointKinds, CircleCircleOutputsKeepTheirSolutionsWhenCirclesTradePlaces) {
  Figure fig;
  const int32_t c1 = FixedCircle(fig, 0, 0, 5), c2 = FixedCircle(fig, 6, 0, 5);
  const auto [p, q] = IntersectionPoints(fig, "PC3", {Ci(c1), Ci(c2)});
  RecomputeAll(fig);
  ExpectAt(fig.points[p], 3, 4);
  fig.circles[c1].cx = 6;
  fig.circles[c2].cx = 0;  // the raw solutions change sides
  RecomputeAll(fig);
  ExpectAt(fig.points[p], 3, 4);
  ExpectAt(fig.points[q], 3, -4);
  // Pulled apart: both undefined and left in place; brought back: defined again, and the
  // order is kept because they return where they were.
  fig.circles[c2].cx = 20;
  RecomputeAll(fig);
  EXPECT_EQ(fig.points[p].valid, 0);
  EXPECT_EQ(fig.points[q].valid, 0);
  EXPECT_NEAR(fig.points[p].x, 3, kEps);
  EXPECT_NEAR(fig.points[p].y, 4, kEps);
  fig.circles[c2].cx = 0;
  RecomputeAll(fig);
  ExpectAt(fig.points[p], 3, 4);
  ExpectAt(fig.points[q], 3, -4);
}

// --- Bound points ---

struct BoundFixture {
  Figure fig;
  CountingHooks hooks;
  BoundFixture() { fig.pass.hooks = &hooks; }
  int32_t Bind(ObjRef target, double param) {
    const int32_t p = BoundPoint(fig, target, param);
    fig.AppendStep("PBND", {target}, {Pt(p)});
    return p;
  }
};

TEST(BoundPoints, OnEachKindOfLine) {
  struct Case {
    int32_t lineType;
    double param;
    double x, y, storedParam;
    int beeps;
  } cases[] = {
      // Line from (1, 1) to (4, 5): direction (0.6, 0.8), length 5.
      {0, 10, 7, 9, 10, 0},  // a straight line has no ends
      {0, -5, -2, -3, -5, 0},  {1, 2.5, 2.5, 3, 2.5, 0},
      {1, 7, 4, 5, 5, 1},       // past the end of the segment: stops there with a beep
      {1, -1, 1, 1, 0, 1},      // before its start
      {2, 10, 7, 9, 10, 0},     // a half-line goes on beyond its second point
      {2, -2, 1, 1, 0, 1},      // but not behind its first
      {5, 2, 0.5, 0.25, 2, 0},  // arrowed types leave the point where it was
  };
  for (const Case& c : cases) {
    BoundFixture f;
    const int32_t g = FixedLine(f.fig, 1, 1, 4, 5, c.lineType);
    const int32_t p = f.Bind(Ln(g), c.param);
    f.fig.points[p].x = 0.5, f.fig.points[p].y = 0.25;
    RecomputeAll(f.fig);
    SCOPED_TRACE(::testing::Message() << c.lineType << " " << c.param);
    ExpectAt(f.fig.points[p], c.x, c.y);
    EXPECT_NEAR(f.fig.points[p].boundParam, c.storedParam, kEps);
    EXPECT_EQ(f.hooks.beeps, c.beeps);  // clamped once, not again on every pass
  }
}

TEST(BoundPoints, OnAZeroLengthSegmentSitsAtItsFirstPoint) {
  BoundFixture f;
  const int32_t g = f.fig.AllocObject(kClassLine);
  LineRec& line = f.fig.lines[g];
  line.x1 = line.x2 = 2, line.y1 = line.y2 = 3;
  line.dx = 1, line.dy = 0, line.valid = kTrue, line.lineType = 1;
  const int32_t p = f.Bind(Ln(g), 1.5);
  RecomputeAll(f.fig);
  ExpectAt(f.fig.points[p], 2, 3);
  EXPECT_EQ(f.fig.points[p].boundParam, 0);
}

TEST(BoundPoints, OnACircleKeepsItsArcLength) {
  BoundFixture f;
  const int32_t c = FixedCircle(f.fig, 1, 1, 2);
  const int32_t p = f.Bind(Ci(c), kPi);  // a quarter of the circumference 4 pi
  RecomputeAll(f.fig);
  ExpectAt(f.fig.points[p], 1, 3);
  f.fig.circles[c].radius = 4;  // circumference 8 pi: the same arc is an eighth
  RecomputeAll(f.fig);
  ExpectAt(f.fig.points[p], 1 + 2 * std::sqrt(2.0), 1 + 2 * std::sqrt(2.0));
  EXPECT_NEAR(f.fig.points[p].boundParam, kPi, kEps);

  struct Wrap {
    double param, stored;
  } wraps[] = {{8 * kPi + 1, 1}, {-1, 8 * kPi - 1}};
  for (const Wrap& w : wraps) {
    f.fig.points[p].boundParam = w.param;
    RecomputeAll(f.fig);
    EXPECT_NEAR(f.fig.points[p].boundParam, w.stored, 1e-6);
    const double phi = w.stored / 4;
    ExpectAt(f.fig.points[p], 1 + 4 * std::cos(phi), 1 + 4 * std::sin(phi), 1e-6);
  }
  EXPECT_EQ(f.hooks.beeps, 0);
}

TEST(BoundPoints, UnplaceableBindingsLeaveThePointUndefined) {
  BoundFixture f;
  const int32_t flat = FixedCircle(f.fig, 0, 0, 0);
  const int32_t g = FixedLine(f.fig, 0, 0, 1, 0);
  f.fig.lines[g].valid = kFalse;
  const int32_t onFlat = f.Bind(Ci(flat), 1);
  const int32_t onUndefined = f.Bind(Ln(g), 1);
  const int32_t nowhere = f.Bind(Ln(g), 1);
  f.fig.points[nowhere].boundIndex = 999;  // outside the table (a damaged file)
  const int32_t odd = f.Bind(Ln(g), 1);
  f.fig.points[odd].boundClass = 7;
  for (int round = 0; round < 2; ++round) {
    RecomputeAll(f.fig);
    EXPECT_EQ(f.fig.points[onFlat].valid, 0);
    EXPECT_EQ(f.fig.points[onUndefined].valid, 0);
    EXPECT_EQ(f.fig.points[nowhere].valid, 0);
    EXPECT_FALSE(ApplyBinding(f.fig, nowhere));
    EXPECT_FALSE(ApplyBinding(f.fig, odd));
  }
  EXPECT_FALSE(ApplyBinding(f.fig, 0));
  EXPECT_FALSE(ApplyBinding(f.fig, 10000));
}

TEST(BoundPoints, CoincidentPointFollowsItsTarget) {
  BoundFixture f;
  const int32_t q = FreePoint(f.fig, 3, -2);
  const int32_t p = BoundPoint(f.fig, Pt(q));
  RecomputeAll(f.fig);
  ExpectAt(f.fig.points[p], 3, -2);
  f.fig.points[q].x = 5;
  RecomputeAll(f.fig);
  ExpectAt(f.fig.points[p], 5, -2);
}

TEST(BoundPoints, SetBoundParamIsTheInverseOfApplyBinding) {
  BoundFixture f;
  const int32_t g = FixedLine(f.fig, 1, 1, 4, 5);
  const int32_t c = FixedCircle(f.fig, 1, 1, 2);
  const int32_t onLine = f.Bind(Ln(g), 0);
  const int32_t onCircle = f.Bind(Ci(c), 0);
  // Behind the first point the distance is negative.
  f.fig.points[onLine].x = -2, f.fig.points[onLine].y = -3;
  SetBoundParam(f.fig, onLine);
  EXPECT_NEAR(f.fig.points[onLine].boundParam, -5, kEps);
  f.fig.points[onLine].x = 7, f.fig.points[onLine].y = 9;
  SetBoundParam(f.fig, onLine);
  EXPECT_NEAR(f.fig.points[onLine].boundParam, 10, kEps);

  // Straight below the centre the direction angle is -pi/2; the binding wraps it around.
  f.fig.points[onCircle].x = 1, f.fig.points[onCircle].y = -1;
  SetBoundParam(f.fig, onCircle);
  EXPECT_NEAR(f.fig.points[onCircle].boundParam, -kPi, kEps);
  ASSERT_TRUE(ApplyBinding(f.fig, onCircle));
  ExpectAt(f.fig.points[onCircle], 1, -1);
  EXPECT_NEAR(f.fig.points[onCircle].boundParam, 3 * kPi, 1e-6);

  f.fig.points[onCircle].x = 1.005, f.fig.points[onCircle].y = 1;  // too near the centre
  SetBoundParam(f.fig, onCircle);
  EXPECT_EQ(f.fig.points[onCircle].valid, 0);
  EXPECT_NEAR(f.fig.points[onCircle].boundParam, 3 * kPi, 1e-6);  // unchanged
}

}  // namespace
}  // namespace kv
