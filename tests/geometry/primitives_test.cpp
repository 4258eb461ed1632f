#include "geometry/primitives.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kv {
namespace {

PointRec Pt(double x, double y, int32_t valid = kTrue) {
  PointRec p;
  p.x = x;
  p.y = y;
  p.valid = valid;
  return p;
}

LineRec Line(double x1, double y1, double x2, double y2) {
  LineRec g;
  g.x1 = x1, g.y1 = y1, g.x2 = x2, g.y2 = y2;
  LineDirection(g);
  return g;
}

CircleRec Circle(double cx, double cy, double r) {
  CircleRec c;
  c.cx = cx, c.cy = cy, c.radius = r, c.valid = kTrue;
  return c;
}

constexpr double kEps = 1e-9;

TEST(Primitives, NormaliseVectorStopsBelowOneHundredth) {
  Vec2 ok{0.02, 0};
  EXPECT_TRUE(NormaliseVector(ok));
  EXPECT_DOUBLE_EQ(ok.x, 1);
  Vec2 shortVec{0.005, 0.008};  // length about 0.0094
  EXPECT_FALSE(NormaliseVector(shortVec));
  EXPECT_EQ(shortVec.x, 0.005);
  EXPECT_EQ(shortVec.y, 0.008);
  Vec2 edge{0.01, 0};  // exactly at the limit still normalises
  EXPECT_TRUE(NormaliseVector(edge));
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
  // 2pi rounds to 6; 12.5 rounds to 12 (half to even), 12 \ 6 = 2, 12.5 - 4pi < 0 so + 2pi.
  EXPECT_NEAR(AngleModulo(12.5, kTwoPi), 12.5 - 2 * kTwoPi + kTwoPi, 1e-12);
  EXPECT_NEAR(AngleModulo(7.0, kTwoPi), 7.0 - kTwoPi, 1e-12);
  EXPECT_NEAR(AngleModulo(-1.0, kTwoPi), kTwoPi - 1.0, 1e-12);
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
  EXPECT_FALSE(PointsNear({0, 0}, {0.0007, 0.0004}));
  EXPECT_FALSE(PointsNear({0, 0}, {-0.001, 0}));
}

TEST(Primitives, Inverse2RefusesNearlySingularMatrices) {
  Mat2 a;
  a.m[1][1] = 2, a.m[1][2] = 1, a.m[2][1] = 1, a.m[2][2] = 3;  // det 5
  Mat2 inv;
  ASSERT_TRUE(Inverse2(a, inv));
  EXPECT_NEAR(inv.m[1][1], 0.6, kEps);
  EXPECT_NEAR(inv.m[1][2], -0.2, kEps);
  EXPECT_NEAR(inv.m[2][1], -0.2, kEps);
  EXPECT_NEAR(inv.m[2][2], 0.4, kEps);
  const Vec2 v = MatVec2(a, {1, 2});
  EXPECT_EQ(v.x, 4);
  EXPECT_EQ(v.y, 7);
  Mat2 small;
  small.m[1][1] = 0.09, small.m[2][2] = 0.1;  // det 0.009
  EXPECT_FALSE(Inverse2(small, inv));
}

TEST(Primitives, LineIntersectionToleranceIsAnAngle) {
  const LineRec base = Line(0, 0, 1, 0);
  const double deg = kPi / 180;
  PointRec p = Pt(7, 7);
  IntersectLines(base, Line(5, 0, 5 + std::cos(0.5 * deg), std::sin(0.5 * deg)), p);
  EXPECT_EQ(p.valid, 0);
  EXPECT_EQ(p.x, 7);  // undefined output keeps its position
  IntersectLines(base, Line(5, 0, 5 + std::cos(1 * deg), std::sin(1 * deg)), p);
  EXPECT_EQ(p.valid, kTrue);
  EXPECT_NEAR(p.x, 5, 1e-9);
  EXPECT_NEAR(p.y, 0, 1e-9);
  IntersectLines(Line(0, 0, 2, 2), Line(0, 4, 4, 0), p);
  EXPECT_NEAR(p.x, 2, kEps);
  EXPECT_NEAR(p.y, 2, kEps);
}

TEST(Primitives, LineConstructions) {
  LineRec g;
  LineThroughPoints(Pt(1, 1), Pt(1.005, 1.005), g);
  EXPECT_EQ(g.valid, 0);  // closer than 0.01
  LineThroughPoints(Pt(1, 1), Pt(4, 5), g);
  EXPECT_EQ(g.valid, kTrue);
  EXPECT_NEAR(g.dx, 0.6, kEps);
  EXPECT_NEAR(g.dy, 0.8, kEps);

  LineRec perp;
  PerpendicularThrough(Line(0, 0, 10, 0), Pt(3, 4), perp);
  EXPECT_EQ(perp.x1, 3);
  EXPECT_EQ(perp.y1, 4);
  EXPECT_NEAR(perp.x2, 3, kEps);  // the foot on g
  EXPECT_NEAR(perp.y2, 0, kEps);
  EXPECT_NEAR(perp.dx, 0, kEps);
  EXPECT_NEAR(perp.dy, 1, kEps);
  PerpendicularThrough(Line(0, 0, 10, 0), Pt(3, 0), perp);  // P on g: foot is P, direction kept
  EXPECT_EQ(perp.valid, kTrue);
  EXPECT_NEAR(perp.dy, 1, kEps);

  LineRec bis;
  PerpendicularBisector(Line(0, 0, 4, 0), bis);
  EXPECT_NEAR(bis.x1, 2, kEps);
  EXPECT_NEAR(bis.y1, 0, kEps);
  EXPECT_NEAR(bis.x2, 2, kEps);
  EXPECT_NEAR(bis.y2, 1, kEps);

  NumberRec a, b, c;
  a.valid = b.valid = c.valid = kTrue;
  a.value = 0, b.value = 2, c.value = -6;  // y = 3
  LineFromCoefficients(a, b, c, g);
  EXPECT_EQ(g.valid, kTrue);
  EXPECT_NEAR(g.y1, 3, kEps);
  EXPECT_NEAR(g.y2, 3, kEps);
  a.value = 3, b.value = 0, c.value = 6;  // x = -2
  LineFromCoefficients(a, b, c, g);
  EXPECT_NEAR(g.x1, -2, kEps);
  EXPECT_NEAR(g.x2, -2, kEps);
  a.value = 0, b.value = 0;
  LineFromCoefficients(a, b, c, g);
  EXPECT_EQ(g.valid, 0);
}

TEST(Primitives, DivisionAndExtension) {
  PointRec p = Pt(9, 9);
  DivisionPoint(Pt(0, 0), Pt(6, 3), 1, 1, p);
  EXPECT_NEAR(p.x, 3, kEps);
  EXPECT_NEAR(p.y, 1.5, kEps);
  DivisionPoint(Pt(0, 0), Pt(6, 0), 2, -1, p);  // AP : PB = 2 : 1 externally
  EXPECT_NEAR(p.x, 12, kEps);
  DivisionPoint(Pt(0, 0), Pt(6, 0), 1, -1, p);
  EXPECT_EQ(p.valid, 0);
  ExtensionPoint(Pt(1, 1), Pt(3, 2), 0.5, p);
  EXPECT_NEAR(p.x, 4, kEps);
  EXPECT_NEAR(p.y, 2.5, kEps);
  DivisionPoint(Pt(0, 0, kFalse), Pt(6, 0), 1, 1, p);
  EXPECT_EQ(p.valid, 0);
}

TEST(Primitives, TriangleCentresOfA345Triangle) {
  // Right angle at A = (0,0), B = (4,0), C = (0,3): sides a = 5, b = 3, c = 4.
  const PointRec a = Pt(0, 0), b = Pt(4, 0), c = Pt(0, 3);
  PointRec p;
  Circumcentre(a, b, c, p);  // midpoint of the hypotenuse
  EXPECT_NEAR(p.x, 2, kEps);
  EXPECT_NEAR(p.y, 1.5, kEps);
  Orthocentre(a, b, c, p);  // the right-angle vertex
  EXPECT_NEAR(p.x, 0, kEps);
  EXPECT_NEAR(p.y, 0, kEps);
  Incentre(a, b, c, p);  // inradius (3 + 4 - 5) / 2 = 1
  EXPECT_NEAR(p.x, 1, kEps);
  EXPECT_NEAR(p.y, 1, kEps);
  Centroid(a, b, c, p);
  EXPECT_NEAR(p.x, 4.0 / 3, kEps);
  EXPECT_NEAR(p.y, 1, kEps);
  NinePointCentre(a, b, c, p);  // midpoint of circumcentre and orthocentre
  EXPECT_NEAR(p.x, 1, kEps);
  EXPECT_NEAR(p.y, 0.75, kEps);
  // Excentre opposite A: radius s = 6, at (6, 6) for the right angle at the origin.
  Excentre(a, b, c, p);
  EXPECT_EQ(p.valid, kTrue);
  EXPECT_NEAR(p.x, 6, 1e-9);
  EXPECT_NEAR(p.y, 6, 1e-9);
}

TEST(Primitives, TriangleCentresOfDegenerateTriangles) {
  PointRec p = Pt(5, 5);
  const PointRec a = Pt(0, 0), b = Pt(1, 1), c = Pt(3, 3);
  Circumcentre(a, b, c, p);
  EXPECT_EQ(p.valid, 0);
  EXPECT_EQ(p.x, 5);
  Orthocentre(a, b, c, p);
  EXPECT_EQ(p.valid, 0);
  Centroid(a, b, c, p);
  EXPECT_EQ(p.valid, kTrue);
  Incentre(a, b, c, p);
  EXPECT_EQ(p.valid, kTrue);
  Incentre(Pt(2, 3), Pt(2, 3), Pt(2, 3), p);
  EXPECT_EQ(p.valid, kTrue);
  EXPECT_EQ(p.x, 2);
  EXPECT_EQ(p.y, 3);
  Circumcentre(Pt(2, 3), Pt(2, 3), Pt(2, 3), p);
  EXPECT_EQ(p.valid, 0);
  Centroid(Pt(0, 0), Pt(1, 0), Pt(0, 1, kFalse), p);
  EXPECT_EQ(p.valid, 0);
}

TEST(Primitives, RotateReflectTranslate) {
  PointRec p;
  RotatePoint(Pt(1, 0), Pt(0, 0), 90, p);
  EXPECT_NEAR(p.x, 0, kEps);
  EXPECT_NEAR(p.y, 1, kEps);
  RotatePoint(Pt(3, 1), Pt(1, 1), 180, p);
  EXPECT_NEAR(p.x, -1, kEps);
  EXPECT_NEAR(p.y, 1, kEps);

  ReflectInLine(Pt(3, 1), Line(0, 0, 1, 1), p);  // mirror y = x swaps coordinates
  EXPECT_NEAR(p.x, 1, kEps);
  EXPECT_NEAR(p.y, 3, kEps);
  ReflectInPoint(Pt(1, 2), Pt(3, 3), p);
  EXPECT_NEAR(p.x, 5, kEps);
  EXPECT_NEAR(p.y, 4, kEps);
  TranslateByVector(Pt(1, 1), Line(2, 2, 5, 6), p);
  EXPECT_NEAR(p.x, 4, kEps);
  EXPECT_NEAR(p.y, 5, kEps);

  p = Pt(8, 8);
  LineRec undefinedLine = Line(0, 0, 1, 0);
  undefinedLine.valid = kFalse;
  ReflectInLine(Pt(3, 1), undefinedLine, p);
  EXPECT_EQ(p.valid, 0);
  EXPECT_EQ(p.x, 8);
}

TEST(Primitives, InversionInACircle) {
  PointRec p;
  const CircleRec c = Circle(1, 2, 4);
  InvertInCircle(Pt(1, 6), c, p);  // on the circle: fixed
  EXPECT_NEAR(p.x, 1, kEps);
  EXPECT_NEAR(p.y, 6, kEps);
  InvertInCircle(Pt(3, 2), c, p);  // distance r/2 goes to 2r on the same ray
  EXPECT_NEAR(p.x, 9, kEps);
  EXPECT_NEAR(p.y, 2, kEps);
  InvertInCircle(Pt(1 + 2 * std::sqrt(2.0), 2 + 2 * std::sqrt(2.0)), c, p);  // r^2 / 4 = 4 on 45°
  EXPECT_NEAR(p.x, 1 + 4 / std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(p.y, 2 + 4 / std::sqrt(2.0), 1e-9);
  p = Pt(7, 7);
  InvertInCircle(Pt(1.004, 2.005), c, p);  // within 0.01 of the centre
  EXPECT_EQ(p.valid, 0);
  EXPECT_EQ(p.x, 7);
}

TEST(Primitives, PoleOfALine) {
  PointRec p;
  // Circle at (1, 1), r = 2; line y = 3 touches it, so the pole is the contact point.
  PoleOfLine(Line(0, 3, 1, 3), Circle(1, 1, 2), p);
  EXPECT_NEAR(p.x, 1, kEps);
  EXPECT_NEAR(p.y, 3, kEps);
  // Centre (0, 0), r = 2: the pole of x = d is (r^2 / d, 0).
  PoleOfLine(Line(2, -5, 2, 5), Circle(0, 0, 2), p);
  EXPECT_NEAR(p.x, 2, kEps);
  EXPECT_NEAR(p.y, 0, kEps);
  PoleOfLine(Line(4, 0, 4, 1), Circle(0, 0, 2), p);
  EXPECT_NEAR(p.x, 1, kEps);
  EXPECT_NEAR(p.y, 0, kEps);
  p = Pt(9, 9);
  PoleOfLine(Line(-1, -1, 1, 1), Circle(0, 0, 2), p);  // through the centre
  EXPECT_EQ(p.valid, 0);
}

}  // namespace
}  // namespace kv
