#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "figure_builder.h"

namespace kv {
namespace {

using testing::KindTestFigure;

// Signed distance of (x, y) from the line: positive on the left of its direction.
double SideDistance(const LineRec& g, double x, double y) {
  return g.dx * (y - g.y1) - g.dy * (x - g.x1);
}

TEST(LineKinds, DefiningPointsAndDirectionOfEveryKind) {
  struct Expected {
    ObjRef line;
    double x1, y1, x2, y2, dx, dy;
  };
  KindTestFigure t;
  const double h = std::sqrt(0.5), r5 = std::sqrt(5.0), r3 = std::sqrt(3.0);
  const ObjRef o = t.Point(0, 0), a = t.Point(1, 0), b = t.Point(0, 1), p = t.Point(1, 3);
  const ObjRef g = t.Line(0, 0, 4, 0), diagonal = t.Line(o, t.Point(1, 1));
  const ObjRef circle3 = t.Circle(0, 0, 3), unit = t.Circle(1, 1, 1);
  const auto line = [&](const char* code, std::initializer_list<ObjRef> parents) {
    return t.Step(code, parents, kClassLine);
  };
  const auto pair = [&](const char* code, std::initializer_list<ObjRef> parents) {
    return t.Step2(code, parents, kClassLine, code[1] == '3' ? kClassPoint : kClassLine);
  };
  const auto [perp, foot] = pair("L3", {g, p});
  const auto [perpOn, footOn] = pair("L3", {g, t.Point(2, 0)});
  const auto [perpDiag, footDiag] = pair("L3", {diagonal, t.Point(0, 2)});
  const auto [tangent1, tangent2] = pair("L5", {t.Point(5, 0), circle3});
  const auto [onCircle1, onCircle2] = pair("L5", {t.Point(3, 0), circle3});
  const auto [external1, external2] = pair("L6", {t.Circle(0, 0, 1), t.Circle(4, 0, 1)});
  const auto [touching1, touching2] = pair("L7", {t.Circle(0, 0, 1), t.Circle(3, 0, 2)});
  const std::vector<Expected> cases = {
      {t.Line(1, 1, 1.02, 1), 1, 1, 1.02, 1, 1, 0},
      {line("L2", {diagonal, p}), 1, 3, 1 + h, 3 + h, h, h},
      // The perpendicular runs from P to its foot, in g's direction turned by +90 degrees.
      {perp, 1, 3, 1, 0, 0, 1},
      {perpOn, 2, 0, 2, 0, 0, 1},
      {perpDiag, 0, 2, 1, 1, -h, h},
      {line("L4", {t.Line(0, 0, 4, 2)}), 2, 1, 2 - 1 / r5, 1 + 2 / r5, -1 / r5, 2 / r5},
      // From (5, 0) to the circle of radius 3: contact where cos = 3/5.
      {tangent1, 5, 0, 5.8, 0.6, 0.8, 0.6},
      {tangent2, 5, 0, 5.8, -0.6, 0.8, -0.6},
      {onCircle1, 3, 0, 3, 1, 0, 1},
      {onCircle2, 3, 0, 3, -1, 0, -1},
      {external1, 0, 1, 1, 1, 1, 0},
      {external2, 0, -1, 1, -1, 1, 0},
      {touching1, 1, 0, 1, -1, 0, -1},
      {touching2, 1, 0, 1, 1, 0, 1},
      // Polar of (3, 1) in the unit circle about (1, 1): distance r^2 / 2 from the centre.
      {line("L8", {t.Point(3, 1), unit}), 1.5, 1, 1.5, 0, 0, -1},
      {line("L8", {t.Point(1, 2), unit}), 1, 2, 2, 2, 1, 0},  // the tangent at the pole
      // The bisector runs to the incentre (r, r), r = 2 - sqrt 2 the inradius.
      {line("LH1", {t.Point(2, 0), o, t.Point(0, 2)}), 0, 0, 2 - 2 * h, 2 - 2 * h, h, h},
      {line("LH2", {a, o, b, t.Number(3), t.Number(1)}), 0, 0, r3 / 2, 0.5, r3 / 2, 0.5},
      {line("LH2", {a, o, b, t.Number(4), t.Number(4)}), 0, 0, 0, 1, 0, 1},
      {line("LH2", {a, o, b, t.Number(4), t.Number(0)}), 0, 0, 1, 0, 1, 0},
      {line("LH2", {b, o, a, t.Number(3), t.Number(1)}), 0, 0, 0.5, r3 / 2, 0.5, r3 / 2},
      {line("LRO", {t.Line(1, 0, 2, 0), o, t.Number(90)}), 0, 1, 0, 2, 0, 1},
      {line("LHRO", {t.Line(0, 0, 1, 0), t.Number(60)}), 0, 0, 0.5, r3 / 2, 0.5, r3 / 2},
      {line("LT1", {t.Line(0, 1, 1, 1), diagonal}), 1, 0, 1, 1, 0, 1},
      {line("LT2", {t.Line(1, 0, 2, 1), o}), -1, 0, -2, -1, -h, -h},
      {line("LT3", {t.Line(0, 0, 1, 0), t.Line(0, 0, 2, 3)}), 2, 3, 3, 3, 1, 0},
  };
  t.Recompute();
  for (const Expected& e : cases) {
    SCOPED_TRACE(::testing::Message() << "line " << e.line.index);
    const LineRec& l = t.L(e.line);
    EXPECT_EQ(l.valid, kTrue);
    EXPECT_NEAR(l.x1, e.x1, 1e-9);
    EXPECT_NEAR(l.x2, e.x2, 1e-9);
    EXPECT_NEAR(l.y2, e.y2, 1e-9);
    EXPECT_NEAR(l.y1, e.y1, 1e-9);
    EXPECT_NEAR(l.dx, e.dx, 1e-9);
    EXPECT_NEAR(l.dy, e.dy, 1e-9);
  }
  for (const auto& [point, x, y] :
       {std::tuple{foot, 1.0, 0.0}, {footOn, 2.0, 0.0}, {footDiag, 1.0, 1.0}}) {
    EXPECT_EQ(t.P(point).valid, kTrue);
    EXPECT_NEAR(t.P(point).x, x, 1e-9);
    EXPECT_NEAR(t.P(point).y, y, 1e-9);
  }
  EXPECT_EQ(t.fig.angleMarkCount, 4);  // one per angle sector
}

TEST(LineKinds, DegenerateCasesAtTheirTolerances) {
  KindTestFigure t;
  const ObjRef o = t.Point(0, 0), a = t.Point(1, 0), b = t.Point(0, 1);
  const ObjRef big = t.Circle(0, 0, 5), unit = t.Circle(1, 1, 1);
  const auto tangent = [&](double x) {
    return t.Step2("L5", {t.Point(x, 0), big}, kClassLine, kClassLine).first;
  };
  const auto tangents = [&](const char* code, ObjRef c1, ObjRef c2) {
    return t.Step2(code, {c1, c2}, kClassLine, kClassLine).first;
  };
  struct Case {
    ObjRef line;
    bool defined;
    const char* what;
  };
  const Case cases[] = {
      {t.Line(1, 1, 1.005, 1), false, "L1 points 0.005 apart"},
      // Power of the point |PC|^2 - r^2 within -0.01 counts as on the circle.
      {tangent(std::sqrt(25 - 0.009)), true, "L5 power -0.009"},
      {tangent(std::sqrt(25 - 0.011)), false, "L5 power -0.011"},
      {tangent(4.9), false, "L5 inside"},
      {tangents("L6", t.Circle(0, 0, 1), t.Circle(0, 0, 2)), false, "L6 concentric"},
      {tangents("L6", t.Circle(0, 0, 3), t.Circle(0.5, 0, 1)), false, "L6 nested"},
      {tangents("L7", t.Circle(0, 0, 2), t.Circle(3, 0, 2)), false, "L7 intersecting"},
      // The squared distance of the centres overflows: no line rather than one of NaNs.
      {tangents("L6", t.Circle(0, 0, 1), t.Circle(1e155, 0, 1)), false, "L6 centres 1e155 apart"},
      {t.Step("L8", {t.Point(1, 1), unit}, kClassLine), false, "L8 pole at the centre"},
      {t.Step("L8", {t.Point(1.005, 1), unit}, kClassLine), false, "L8 pole 0.005 off"},
      {t.Step("LH2", {a, o, b, t.Number(0), t.Number(1)}, kClassLine), false, "LH2 n = 0"},
  };
  t.Recompute();
  for (const Case& k : cases) EXPECT_EQ(t.L(k.line).valid, k.defined ? kTrue : kFalse) << k.what;
  EXPECT_EQ(t.fig.angleMarkCount, 0);
}

// The polar is built about the origin (a X + b Y = r^2 with (a, b) the pole seen from the
// centre) and then moved back, so its second point is (first + direction) + centre. For this
// pole the other grouping differs in the last bit of y2.
TEST(LineKinds, PolarPointsAreMovedBackByTheCentreLast) {
  KindTestFigure t;
  const double cx = 0.3, cy = 0.7, r = 1.3, px = 2.7, py = 2.9;
  const ObjRef polar = t.Step("L8", {t.Point(px, py), t.Circle(cx, cy, r)}, kClassLine);
  t.Recompute();
  const double a = px - cx, b = py - cy, length = std::sqrt(b * b + a * a);
  const double dx = b / length, dy = -a / length, firstY = r * r / b;
  const LineRec& l = t.L(polar);
  ASSERT_EQ(l.valid, kTrue);
  EXPECT_EQ(l.x1, 0 + cx);
  EXPECT_EQ(l.y1, firstY + cy);
  EXPECT_EQ(l.x2, (0 + dx) + cx);
  EXPECT_EQ(l.y2, (firstY + dy) + cy);
}

TEST(LineKinds, CommonTangentsTouchBothCirclesOnTheRightSides) {
  struct Case {
    double x1, y1, r1, x2, y2, r2;
    bool external;  // L6, else L7
  };
  const Case cases[] = {
      {0, 0, 1, 7, 2, 3, true},
      {0, 0, 2, 2, 0, 1, true},  // overlapping circles still have external tangents
      {0, 0, 1, 7, 2, 3, false},
      {-2, 5, 0.5, 3, -1, 2, false},
  };
  for (const Case& k : cases) {
    KindTestFigure t;
    const ObjRef c1 = t.Circle(k.x1, k.y1, k.r1), c2 = t.Circle(k.x2, k.y2, k.r2);
    const auto [g1, g2] = t.Step2(k.external ? "L6" : "L7", {c1, c2}, kClassLine, kClassLine);
    t.Recompute();
    for (const ObjRef g : {g1, g2}) {
      SCOPED_TRACE(::testing::Message()
                   << (k.external ? "L6 " : "L7 ") << k.x2 << " line " << g.index);
      const LineRec& l = t.L(g);
      ASSERT_EQ(l.valid, kTrue);
      const double d1 = SideDistance(l, k.x1, k.y1), d2 = SideDistance(l, k.x2, k.y2);
      EXPECT_NEAR(std::fabs(d1), k.r1, 1e-9);
      EXPECT_NEAR(std::fabs(d2), k.r2, 1e-9);
      EXPECT_EQ(d1 * d2 > 0, k.external);
      EXPECT_NEAR(std::hypot(l.x1 - k.x1, l.y1 - k.y1), k.r1, 1e-9);  // contact on c1
    }
    EXPECT_GT(std::hypot(t.L(g1).x1 - t.L(g2).x1, t.L(g1).y1 - t.L(g2).y1), 0.1);
  }
}

TEST(LineKinds, UndefinedParentsMakeUndefinedLinesThatKeepTheirPlace) {
  KindTestFigure t;
  const ObjRef a = t.Point(0, 0), b = t.Point(3, 0), p = t.Point(1, 1);
  const ObjRef g = t.Line(a, b), good = t.Line(0, 0, 0, 1);
  const ObjRef badAngle = t.Step("NTAN", {t.Number(90)}, kClassNumber);
  const ObjRef foot = t.Step2("L3", {g, p}, kClassLine, kClassPoint).second;
  const auto line = [&](const char* code, std::initializer_list<ObjRef> parents) {
    return t.Step(code, parents, kClassLine);
  };
  const ObjRef lines[] = {
      line("L2", {g, p}),
      line("L4", {g}),
      line("LRO", {g, p, t.Number(30)}),
      line("LHRO", {g, t.Number(30)}),
      line("LT1", {g, good}),
      line("LT1", {good, g}),
      line("LT2", {g, p}),
      line("LT3", {g, good}),
      line("LT3", {good, g}),
      line("L8", {foot, t.Circle(5, 5, 1)}),
  };
  const ObjRef byBadAngle[] = {line("LRO", {good, p, badAngle}), line("LHRO", {good, badAngle}),
                               line("LH2", {a, p, b, t.Number(2), badAngle})};
  t.Recompute();
  for (const ObjRef l : lines) EXPECT_EQ(t.L(l).valid, kTrue) << "line " << l.index;
  for (const ObjRef l : byBadAngle) EXPECT_EQ(t.L(l).valid, kFalse) << "line " << l.index;
  const LineRec before = t.L(lines[0]);

  t.Move(b, 0.001, 0);  // g collapses
  t.Recompute();
  for (const ObjRef l : lines) EXPECT_EQ(t.L(l).valid, kFalse) << "line " << l.index;
  EXPECT_EQ(t.L(lines[0]).x1, before.x1);
  EXPECT_EQ(t.L(lines[0]).dy, before.dy);

  t.Move(b, 3, 0);
  t.Recompute();
  for (const ObjRef l : lines) EXPECT_EQ(t.L(l).valid, kTrue) << "line " << l.index;
}

// The foot macro leaves a perpendicular step with its line only. That step computes the line,
// and what is built on the line is defined; a foot slot holding an object of the wrong class
// still makes the step undefined.
TEST(LineKinds, PerpendicularWithoutItsFootStillComputesTheLine) {
  KindTestFigure t;
  const ObjRef g = t.Line(0, 0, 4, 2), p = t.Point(0, 5);
  const ObjRef perpendicular = t.Step("L3", {g, p}, kClassLine);
  // The foot, built separately, where the perpendicular meets g: (2, 1) by hand.
  const ObjRef foot = t.Step("PC1", {g, perpendicular}, kClassPoint);
  const ObjRef wrongFoot = t.Step2("L3", {g, p}, kClassLine, kClassCircle).first;
  t.Recompute();
  EXPECT_EQ(t.L(perpendicular).valid, kTrue);
  EXPECT_NEAR(t.L(perpendicular).x1, 0, 1e-12);
  EXPECT_NEAR(t.L(perpendicular).y1, 5, 1e-12);
  EXPECT_NEAR(t.L(perpendicular).dx * 2 + t.L(perpendicular).dy * 1, 0, 1e-12);
  testing::ExpectAt(t.P(foot), 2, 1, 1e-12);
  EXPECT_EQ(t.L(wrongFoot).valid, kFalse);
}

}  // namespace
}  // namespace kv
