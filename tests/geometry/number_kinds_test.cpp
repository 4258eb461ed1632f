#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "figure_builder.h"
#include "geometry/kinds.h"

namespace kv {
namespace {

using testing::KindTestFigure;

constexpr double kEps = 1e-9;
const double kPiRef = std::acos(-1.0);

struct Expected {
  ObjRef number;
  double value;
  std::string what;
};

void ExpectValues(KindTestFigure& t, const std::vector<Expected>& cases) {
  for (const Expected& e : cases) {
    SCOPED_TRACE(e.what);
    EXPECT_NE(t.N(e.number).valid, 0);
    EXPECT_NEAR(t.N(e.number).value, e.value, 1e-7);
  }
}

TEST(NumberKinds, DistancesAreasCoordinatesAndLengths) {
  KindTestFigure t;
  const ObjRef o = t.Point(0, 0);
  const ObjRef g = t.Line(0, 0, 4, 0);
  const ObjRef c = t.Circle(3, 4, 2);
  const double r3 = std::sqrt(3.0);
  const auto n = [&](const char* code, std::initializer_list<ObjRef> parents) {
    return t.Step(code, parents, kClassNumber);
  };
  const auto pt = [&](double x, double y) { return t.Point(x, y); };
  const auto line = [&](double x1, double y1, double x2, double y2) {
    return t.Line(x1, y1, x2, y2);
  };
  const std::vector<Expected> cases = {
      {n("ND2P", {o, pt(3, 4)}), 5, "ND2P 3-4-5"},
      {n("NDPL", {pt(1, 3), g}), 3, "NDPL above"},
      {n("NDPL", {pt(0, 2), line(0, 0, 1, 1)}), std::sqrt(2.0), "NDPL oblique"},
      {n("NPL2", {pt(1, 3), g}), 3, "NPL2 left of the direction"},
      {n("NPL2", {pt(1, -3), g}), -3, "NPL2 right of the direction"},
      {n("NDPC", {o, c}), 3, "NDPC outside"},
      {n("NDPC", {pt(4, 4), c}), 1, "NDPC inside"},
      {n("ND2L", {line(0, 0, 1, 0), line(0, 2, 5, 2)}), 2, "ND2L same orientation"},
      {n("ND2L", {line(0, 0, 1, 0), line(5, 2, 0, 2)}), 0, "ND2L opposite orientation"},
      {n("ND2L", {line(0, 0, 1, 0), line(0, 0, 1, 1)}), 0, "ND2L crossing"},
      {n("NDLC", {line(-1, 9, 1, 9), c}), 3, "NDLC apart"},
      {n("NDLC", {line(0, 0, 3, 4), c}), -2, "NDLC through the centre"},
      {n("ND2C", {t.Circle(0, 0, 1), t.Circle(10, 0, 3)}), 6, "ND2C apart"},
      {n("ND2C", {t.Circle(0, 0, 2), t.Circle(3, 0, 2)}), 0, "ND2C intersecting"},
      {n("ND2C", {t.Circle(0, 0, 5), t.Circle(1, 0, 1)}), 0, "ND2C nested"},
      {n("NAR3", {o, pt(4, 0), pt(0, 3)}), 6, "NAR3"},
      {n("NAR3", {o, pt(0, 3), pt(4, 0)}), 6, "NAR3 clockwise"},
      {n("NAR+", {o, pt(1, 0), pt(0, 1)}), 0.5, "NAR+ counter-clockwise"},
      {n("NAR+", {o, pt(0, 1), pt(1, 0)}), -0.5, "NAR+ clockwise"},
      {n("NAR4", {o, pt(2, 0), pt(2, 2), pt(0, 2)}), 4, "NAR4 square"},
      {n("NAR4", {o, pt(0, 2), pt(2, 2), pt(2, 0)}), 4, "NAR4 square clockwise"},
      {n("NAR4", {o, pt(4, 0), pt(1, 1), pt(0, 4)}), 4, "NAR4 dart"},
      {n("NPX", {pt(2.5, -1.5)}), 2.5, "NPX"},
      {n("NPX2", {pt(2.5, -1.5)}), 2.5, "NPX2"},
      {n("NPY", {pt(2.5, -1.5)}), -1.5, "NPY"},
      {n("NLC", {c}), 4 * kPiRef, "NLC"},
      {n("NRC", {c}), 2, "NRC"},
      {n("NA2L", {g, line(3, 3, 3, 4)}), 90, "NA2L perpendicular"},
      {n("NA2L", {g, line(3, 3, 2, 3 + r3)}), 60, "NA2L at 120 degrees"},
      {n("NA2L", {g, line(3, 3, 3 - r3, 2)}), 30, "NA2L at 210 degrees"},
      {n("NA2L", {g, line(3, 3, 2, 3)}), 0, "NA2L antiparallel"},
  };
  t.Recompute();
  ExpectValues(t, cases);
}

TEST(NumberKinds, AnglesOfThreePointsInTheirRanges) {
  struct Case {
    double ax, ay, vx, vy, bx, by;
  };
  const Case cases[] = {
      {1, 0, 0, 0, 0, 1},     {0, 1, 0, 0, 1, 0},         {1, 0, 0, 0, -1, 0}, {-1, 0, 0, 0, 1, 0},
      {1, 0, 0, 0, -1, 0.01}, {1, 0, 0, 0, -1, -0.01},    {2, 2, 1, 1, 1, 3},  {3, 0, 0, 0, -1, -1},
      {5, 5, 2, 1, 2, -7},    {1.004, 1.004, 1, 1, 3, 2},  // an arm shorter than 0.01 measures 0
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << "(" << k.ax << "," << k.ay << ") (" << k.vx << "," << k.vy
                                      << ") (" << k.bx << "," << k.by << ")");
    // Counter-clockwise from V->A to V->B is positive; a straight angle is +180.
    const double ux = k.ax - k.vx, uy = k.ay - k.vy, wx = k.bx - k.vx, wy = k.by - k.vy;
    double expected = std::atan2(ux * wy - uy * wx, ux * wx + uy * wy) * 180 / kPiRef;
    if (expected <= -180 + 1e-9) expected = 180;
    if (std::hypot(ux, uy) < 0.01) expected = 0;
    KindTestFigure t;
    const ObjRef a = t.Point(k.ax, k.ay), v = t.Point(k.vx, k.vy), b = t.Point(k.bx, k.by);
    const ObjRef plus = t.Step("NA3+", {a, v, b}, kClassNumber);
    const ObjRef half = t.Step("NA3P", {a, v, b}, kClassNumber);
    const ObjRef legacy = t.Step("NA3M", {a, v, b}, kClassNumber);
    const ObjRef full = t.Step("NA3*", {a, v, b}, kClassNumber);
    t.Recompute();
    EXPECT_NEAR(t.N(plus).value, expected, 1e-6);
    EXPECT_NEAR(t.N(half).value, std::fabs(expected), 1e-6);
    EXPECT_NEAR(t.N(legacy).value, std::fabs(expected), 1e-6);
    EXPECT_NEAR(t.N(full).value, expected < 0 ? expected + 360 : expected, 1e-6);
    for (const ObjRef n : {plus, half, legacy, full}) EXPECT_EQ(t.N(n).valid, kTrue);
  }
}

TEST(NumberKinds, AngleOfPositionsOutOfRangeIsUndefined) {
  KindTestFigure t;
  const ObjRef far = t.Point(HUGE_VAL, 0), v = t.Point(0, 0), b = t.Point(0, 1);
  const ObjRef angle = t.Step("NA3+", {far, v, b}, kClassNumber);
  t.Recompute();
  EXPECT_EQ(t.N(angle).valid, kFalse);
  EXPECT_EQ(t.fig.angleMarkCount, 0);
}

TEST(NumberKinds, ClampedArccosIsNegativeForObtuseAndZeroNearBothEnds) {
  EXPECT_NEAR(ClampedArccos(0), kPiRef / 2, 1e-12);
  EXPECT_NEAR(ClampedArccos(0.5), kPiRef / 3, 1e-12);
  EXPECT_NEAR(ClampedArccos(-0.5), -kPiRef / 3, 1e-12);
  EXPECT_EQ(ClampedArccos(0.99999999), 0);
  EXPECT_EQ(ClampedArccos(-0.99999999), 0);
  EXPECT_GT(ClampedArccos(0.9999), 0);
}

TEST(NumberKinds, TrigonometricValuesAndTheTangentPoles) {
  struct Case {
    const char* code;
    double degrees;
    bool defined;
  };
  const Case cases[] = {
      {"NSIN", 30, true},   {"NSIN", -90, true},   {"NCOS", 60, true},     {"NCOS", 180, true},
      {"NTAN", 45, true},   {"NTAN", 135, true},   {"NTAN", 0.6, true},    {"NTAN", 89.4, true},
      {"NTAN", 0, false},   {"NTAN", 90.4, false}, {"NTAN", -89.6, false}, {"NTAN", 180, false},
      {"NTAN", 0.5, false},  // rounds half to even: 0
      {"NTAN", 1.5, true},   // rounds to 2
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.code << " " << k.degrees);
    KindTestFigure t;
    const ObjRef n = t.Step(k.code, {t.Number(k.degrees)}, kClassNumber);
    t.N(n).value = 12345;
    t.Recompute();
    const double radians = k.degrees * kPiRef / 180;
    const std::string code = k.code;
    const double expected = code == "NSIN"   ? std::sin(radians)
                            : code == "NCOS" ? std::cos(radians)
                                             : std::tan(radians);
    if (k.defined) {
      EXPECT_NE(t.N(n).valid, 0);
      EXPECT_NEAR(t.N(n).value, expected, 1e-9);
    } else {
      EXPECT_EQ(t.N(n).valid, 0);
      EXPECT_EQ(t.N(n).value, 0);
    }
  }
}

// The trigonometric numbers and the distance of crossing lines never declare themselves
// defined: once undefined during a drag they stay so until the next full recompute.
TEST(NumberKinds, TrigonometricNumbersRecoverOnlyAtTheNextAnalysis) {
  KindTestFigure t;
  const ObjRef a = t.Point(0, 0), b = t.Point(3, 0);
  const ObjRef g = t.Line(a, b);
  const ObjRef angle = t.Step("NA2L", {g, t.Line(0, 0, 0, 1)}, kClassNumber);
  const ObjRef sine = t.Step("NSIN", {angle}, kClassNumber);
  const ObjRef gap = t.Step("ND2L", {g, t.Line(0, 1, 1, 1)}, kClassNumber);
  t.Recompute();
  EXPECT_NE(t.N(sine).valid, 0);
  EXPECT_NEAR(t.N(sine).value, 1, kEps);
  EXPECT_EQ(t.N(gap).valid, kTrue);
  EXPECT_NEAR(t.N(gap).value, 1, kEps);

  t.Move(b, 0.001, 0);
  t.Recompute();
  EXPECT_EQ(t.N(angle).valid, kFalse);
  EXPECT_EQ(t.N(sine).valid, kFalse);
  EXPECT_EQ(t.N(gap).valid, kFalse);
  EXPECT_NEAR(t.N(sine).value, 1, kEps);  // an undefined number keeps its value

  // A drag step: passes only, no new analysis.
  t.Move(b, 3, 3);
  RunPasses(t.fig);
  EXPECT_EQ(t.N(angle).valid, kTrue);
  EXPECT_NEAR(t.N(angle).value, 45, 1e-9);
  EXPECT_EQ(t.N(sine).valid, kFalse);
  EXPECT_NEAR(t.N(sine).value, std::sqrt(0.5), 1e-9);
  EXPECT_EQ(t.N(gap).valid, kFalse);
  EXPECT_EQ(t.N(gap).value, 0);

  t.Recompute();
  EXPECT_NE(t.N(sine).valid, 0);
  EXPECT_NEAR(t.N(sine).value, std::sqrt(0.5), 1e-9);
  EXPECT_NE(t.N(gap).valid, 0);
}

TEST(NumberKinds, UndefinedParentsMakeUndefinedNumbers) {
  KindTestFigure t;
  const ObjRef p = t.Point(0, 0), q = t.Point(2, 0);
  const ObjRef g = t.Line(p, q);  // collapses below
  const ObjRef foot = t.Step2("L3", {g, t.Point(1, 1)}, kClassLine, kClassPoint).second;
  const ObjRef radius = t.Number(1);
  const ObjRef c = t.Step("C1", {p, radius}, kClassCircle);  // negative radius below
  const ObjRef h = t.Line(0, 5, 1, 5);
  const ObjRef r = t.Point(7, 7), s = t.Point(8, 9);
  const auto n = [&](const char* code, std::initializer_list<ObjRef> parents) {
    return t.Step(code, parents, kClassNumber);
  };
  const ObjRef numbers[] = {
      n("ND2P", {foot, r}),
      n("NDPL", {r, g}),
      n("NDPL", {foot, h}),
      n("NPL2", {r, g}),
      n("NDPC", {r, c}),
      n("NDPC", {foot, t.Circle(0, 0, 1)}),
      n("ND2L", {g, h}),
      n("ND2L", {h, g}),
      n("NDLC", {g, t.Circle(0, 0, 1)}),
      n("NDLC", {h, c}),
      n("ND2C", {c, t.Circle(9, 9, 1)}),
      n("NA3+", {r, foot, s}),
      n("NA3P", {foot, r, s}),
      n("NA3*", {r, s, foot}),
      n("NA2L", {g, h}),
      n("NAR3", {r, s, foot}),
      n("NAR+", {foot, r, s}),
      n("NAR4", {r, s, p, foot}),
      n("NPX", {foot}),
      n("NPY", {foot}),
      n("NLC", {c}),
      n("NRC", {c}),
  };
  t.Recompute();
  for (const ObjRef k : numbers) EXPECT_NE(t.N(k).valid, 0) << "number " << k.index;
  const int marks = t.fig.angleMarkCount;
  EXPECT_EQ(marks, 3);

  t.Move(q, 0, 0.005);
  t.N(radius).value = -1;
  t.Recompute();
  for (const ObjRef k : numbers) EXPECT_EQ(t.N(k).valid, kFalse) << "number " << k.index;
  EXPECT_EQ(t.fig.angleMarkCount, 0);  // undefined angles leave no mark
}

TEST(NumberKinds, AngleMeasurementsLeaveMarks) {
  KindTestFigure t;
  const ObjRef a = t.Point(1, 0), v = t.Point(0, 0), b = t.Point(0, 1);
  t.Step("NA3+", {a, v, b}, kClassNumber);
  t.Step("NA3*", {b, v, a}, kClassNumber);
  t.Step("NA3P", {b, v, a}, kClassNumber);
  t.Step("NPL2", {a, t.Line(0, 0, 0, 1)}, kClassNumber);
  t.Recompute();
  t.Recompute();  // every full recompute starts the list again
  ASSERT_EQ(t.fig.angleMarkCount, 3);
  const AngleMarkRec& first = t.fig.angleMarks[1];
  EXPECT_EQ(first.p1.x, 0);  // the vertex
  EXPECT_EQ(first.p2.x, 1);  // the point on the first arm
  EXPECT_NEAR(first.angle.value, 90, 1e-9);
  EXPECT_NEAR(first.d1, 0, 1e-9);
  EXPECT_NEAR(first.d2, kPiRef / 2, 1e-9);
  // The 0-360 measurement marks its own value, running counter-clockwise from A.
  const AngleMarkRec& reflex = t.fig.angleMarks[2];
  EXPECT_NEAR(reflex.angle.value, 270, 1e-9);
  EXPECT_EQ(reflex.p2.y, 1);
  EXPECT_NEAR(reflex.d1, kPiRef / 2, 1e-9);
  EXPECT_NEAR(reflex.d2, 2 * kPiRef, 1e-9);
  // The 0-180 measurement marks the signed angle.
  EXPECT_NEAR(t.fig.angleMarks[3].angle.value, -90, 1e-9);

  t.fig.angleMarksOn = false;
  t.Recompute();
  EXPECT_EQ(t.fig.angleMarkCount, 0);
  EXPECT_FALSE(t.fig.angleMarksOn);
}

TEST(NumberKinds, AngleMarkListGrowsWhenFull) {
  KindTestFigure t;
  const ObjRef v = t.Point(0, 0);
  constexpr int kCount = 130;
  for (int i = 1; i <= kCount; ++i)
    t.Step("NA3+", {t.Point(1, 0), v, t.Point(std::cos(i * 0.01), std::sin(i * 0.01))},
           kClassNumber);
  t.Recompute();
  ASSERT_EQ(t.fig.angleMarkCount, kCount);
  EXPECT_GE(t.fig.angleMarks.size(), static_cast<size_t>(kCount) + 1);
  for (int i : {1, 50, 51, kCount})
    EXPECT_NEAR(t.fig.angleMarks[i].angle.value, i * 0.01 * 180 / kPiRef, 1e-6) << i;
}

}  // namespace
}  // namespace kv
