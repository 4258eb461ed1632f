#include "geometry/primitives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kv {
namespace {

LineRec Line(double x1, double y1, double x2, double y2) {
  LineRec g;
  g.x1 = x1, g.y1 = y1, g.x2 = x2, g.y2 = y2;
  LineDirection(g);
  return g;
}

TEST(Primitives, NormaliseVectorStopsBelowOneHundredth) {
  Vec2 ok{0.01, 0};  // exactly at the limit still normalises
  EXPECT_TRUE(NormaliseVector(ok));
  EXPECT_DOUBLE_EQ(ok.x, 1);
  Vec2 shortVec{0.005, 0.008};  // length about 0.0094
  EXPECT_FALSE(NormaliseVector(shortVec));
  EXPECT_EQ(shortVec.x, 0.005);  // left as it was
  EXPECT_EQ(shortVec.y, 0.008);
}

TEST(Primitives, DirectionAngleQuadrantsAndStraightDown) {
  struct Case {
    Vec2 v;
    double expected;
  } cases[] = {
      {{1, 0}, 0},
      {{1, 1}, kPi / 4},
      {{-1, 0}, kPi},
      {{-1, -1}, 5 * kPi / 4},
      {{1, -1}, 7 * kPi / 4},
      {{0, 2}, kHalfPi},
      {{0, -1}, -kHalfPi},  // not brought into 0..2pi
      {{0.001, 0.001}, 0},  // cannot be normalised
  };
  for (const Case& c : cases)
    EXPECT_NEAR(DirectionAngle(c.v), c.expected, 1e-12) << c.v.x << "," << c.v.y;
}

TEST(Primitives, AngleModuloRoundsOperandsBeforeDividing) {
  // 2pi rounds to 6 and 12.5 to 12 (half to even): 12 \ 6 = 2, 12.5 - 4pi < 0, so + 2pi.
  EXPECT_NEAR(AngleModulo(12.5, kTwoPi), 12.5 - kTwoPi, 1e-12);
  EXPECT_NEAR(AngleModulo(6.2, kTwoPi), 6.2, 1e-12);  // 6 \ 6 = 1, then corrected back
  for (double a = -12.5; a < 12.5; a += 0.37) {
    const double r = AngleModulo(a, kTwoPi);
    EXPECT_GE(r, 0) << a;
    EXPECT_LT(r, kTwoPi) << a;
    EXPECT_NEAR(std::remainder(r - a, kTwoPi), 0, 1e-9) << a;
  }
}

TEST(Primitives, PointsNearUsesTheSumOfDifferences) {
  EXPECT_TRUE(PointsNear({0, 0}, {0.0005, 0.0004}));
  EXPECT_FALSE(PointsNear({0, 0}, {0.0007, 0.0004}));  // Euclidean 0.0008, sum 0.0011
}

TEST(Primitives, Inverse2AndLineIntersectionTolerances) {
  Mat2 a, inv;
  a.m[1][1] = 2, a.m[1][2] = 1, a.m[2][1] = 1, a.m[2][2] = 3;  // det 5
  ASSERT_TRUE(Inverse2(a, inv));
  const Vec2 back = MatVec2(inv, MatVec2(a, {1, 2}));
  EXPECT_NEAR(back.x, 1, 1e-12);
  EXPECT_NEAR(back.y, 2, 1e-12);
  a.m[1][1] = 0.09, a.m[2][2] = 0.1, a.m[1][2] = a.m[2][1] = 0;  // det 0.009
  EXPECT_FALSE(Inverse2(a, inv));

  // The intersection tolerance is an angle: 0.5 degrees apart are parallel, 1 degree not.
  const LineRec base = Line(0, 0, 1, 0);
  const double deg = kPi / 180;
  PointRec p;
  p.x = 7;
  IntersectLines(base, Line(5, 0, 5 + std::cos(0.5 * deg), std::sin(0.5 * deg)), p);
  EXPECT_EQ(p.valid, 0);
  EXPECT_EQ(p.x, 7);  // an undefined output keeps its position
  IntersectLines(base, Line(5, 0, 5 + std::cos(1 * deg), std::sin(1 * deg)), p);
  EXPECT_EQ(p.valid, kTrue);
  EXPECT_NEAR(p.x, 5, 1e-9);
}

// The perpendicular's second point is the foot on g, which the caller may take as well; a
// point beyond the range of doubles (a damaged record) gives neither, and both keep their
// places.
TEST(Primitives, PerpendicularThroughAPointAndItsFoot) {
  LineRec g;
  g.x1 = 1, g.y1 = 1, g.x2 = 4, g.y2 = 5, g.valid = kTrue;
  LineDirection(g);  // (0.6, 0.8)
  PointRec p = PointAt({8, 1});
  LineRec perpendicular;
  PointRec foot;
  PerpendicularThrough(g, p, perpendicular, &foot);
  ASSERT_EQ(foot.valid, kTrue);
  // The foot of (8, 1) on the line through (1, 1) along (0.6, 0.8): 4.2 along it.
  EXPECT_NEAR(foot.x, 1 + 4.2 * 0.6, 1e-12);
  EXPECT_NEAR(foot.y, 1 + 4.2 * 0.8, 1e-12);
  EXPECT_EQ(perpendicular.x2, foot.x);
  EXPECT_EQ(perpendicular.y2, foot.y);
  EXPECT_NEAR(perpendicular.dx, -0.8, 1e-15);

  p.x = std::numeric_limits<double>::infinity();
  PerpendicularThrough(g, p, perpendicular, &foot);
  EXPECT_EQ(perpendicular.valid, kFalse);
  EXPECT_EQ(foot.valid, kFalse);
  EXPECT_NEAR(foot.x, 1 + 4.2 * 0.6, 1e-12);
}

TEST(Primitives, LineFromCoefficients) {
  struct Case {
    double a, b, c;
    bool defined;
    double x1, y1, dx, dy;
  } cases[] = {
      {0, 2, -6, true, 0, 3, 1, 0},   // y = 3
      {3, 0, 6, true, -2, 0, 0, -1},  // x = -2
      {1, 1, -2, true, 0, 2, std::sqrt(0.5), -std::sqrt(0.5)},
      {0, 0, 1, false, 0, 0, 0, 0},
      {0.005, 0.008, 1, false, 0, 0, 0, 0},  // normal too short to normalise
  };
  for (const Case& c : cases) {
    NumberRec a, b, cc;
    a.valid = b.valid = cc.valid = kTrue;
    a.value = c.a, b.value = c.b, cc.value = c.c;
    LineRec g;
    LineFromCoefficients(a, b, cc, g);
    SCOPED_TRACE(::testing::Message() << c.a << " " << c.b << " " << c.c);
    EXPECT_EQ(g.valid != 0, c.defined);
    if (!c.defined) continue;
    EXPECT_NEAR(g.x1, c.x1, 1e-12);
    EXPECT_NEAR(g.y1, c.y1, 1e-12);
    EXPECT_NEAR(g.x2, c.x1 + c.dx, 1e-12);
    EXPECT_NEAR(g.dy, c.dy, 1e-12);
  }
}

}  // namespace
}  // namespace kv
