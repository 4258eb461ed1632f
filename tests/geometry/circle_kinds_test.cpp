#include <gtest/gtest.h>

#include <vector>

#include "figure_builder.h"

namespace kv {
namespace {

using testing::KindTestFigure;

TEST(CircleKinds, CentreAndRadiusOfEveryKind) {
  struct Expected {
    ObjRef circle;
    double cx, cy, r;
  };
  KindTestFigure t;
  // A right triangle with legs 4 and 3 at A: hypotenuse 5, area 6, semiperimeter 6.
  const ObjRef a = t.Point(0, 0), b = t.Point(4, 0), c = t.Point(0, 3);
  const ObjRef moving = t.Circle(2, 0, 1);
  const auto circle = [&](const char* code, std::initializer_list<ObjRef> parents) {
    return t.Step(code, parents, kClassCircle);
  };
  const std::vector<Expected> cases = {
      {circle("C1", {t.Point(1, 2), t.Number(2.5)}), 1, 2, 2.5},
      {circle("C1", {t.Point(1, 2), t.Number(0)}), 1, 2, 0},  // a point-sized circle
      {circle("C2", {t.Point(1, 1), t.Point(4, 5)}), 1, 1, 5},
      // The circumcentre of a right triangle is the middle of the hypotenuse.
      {circle("C3", {a, b, c}), 2, 1.5, 2.5},
      {circle("C4", {t.Line(0, 0, 6, 8)}), 3, 4, 5},
      // Inradius (3 + 4 - 5) / 2; exradius opposite A area / (s - a) = 6 / (6 - 5).
      {circle("C5", {a, b, c}), 1, 1, 1},
      {circle("C6", {a, b, c}), 6, 6, 6},
      // Nine-point circle: halfway between circumcentre and orthocentre A, half the radius.
      {circle("C7", {a, b, c}), 1, 0.75, 1.25},
      {circle("CRO", {moving, t.Point(0, 0), t.Number(90)}), 0, 2, 1},
      {circle("CT1", {moving, t.Line(0, 0, 1, 1)}), 0, 2, 1},
      {circle("CT2", {moving, t.Point(1, 1)}), 0, 2, 1},
      {circle("CT3", {moving, t.Line(5, 5, 6, 7)}), 3, 2, 1},
  };
  t.Recompute();
  for (const Expected& e : cases) {
    SCOPED_TRACE(::testing::Message() << "circle " << e.circle.index);
    const CircleRec& k = t.C(e.circle);
    EXPECT_EQ(k.valid, kTrue);
    EXPECT_NEAR(k.cx, e.cx, 1e-9);
    EXPECT_NEAR(k.cy, e.cy, 1e-9);
    EXPECT_NEAR(k.radius, e.r, 1e-9);
  }
}

TEST(CircleKinds, DegenerateAndUndefinedParentsGiveNoCircle) {
  KindTestFigure t;
  const ObjRef a = t.Point(0, 0), b = t.Point(2, 0), c = t.Point(4, 0);  // collinear
  const ObjRef radius = t.Number(-1);
  const ObjRef q = t.Point(0, 0.002);
  const ObjRef tiny = t.Line(a, q);  // shorter than 0.01
  const ObjRef centred = t.Step("C1", {b, radius}, kClassCircle);
  const ObjRef good = t.Circle(0, 0, 1);
  const ObjRef badAngle = t.Step("NTAN", {t.Number(270)}, kClassNumber);
  const auto circle = [&](const char* code, std::initializer_list<ObjRef> parents) {
    return t.Step(code, parents, kClassCircle);
  };
  const ObjRef fromTriangle[] = {circle("C3", {a, b, c}), circle("C6", {a, b, c}),
                                 circle("C7", {a, b, c}), circle("C5", {a, q, c})};
  const ObjRef fromParents[] = {
      centred,
      circle("CRO", {centred, a, t.Number(10)}),
      circle("CT1", {centred, t.Line(0, 0, 1, 1)}),
      circle("CT2", {centred, a}),
      circle("CT3", {centred, t.Line(0, 0, 1, 1)}),
      circle("CT1", {good, tiny}),
      circle("CT3", {good, tiny}),
      circle("C4", {tiny}),
      circle("CRO", {good, a, badAngle}),
  };
  const CircleRec before = t.C(centred);
  t.Recompute();
  for (const ObjRef k : fromTriangle) EXPECT_EQ(t.C(k).valid, kFalse) << "circle " << k.index;
  for (const ObjRef k : fromParents) EXPECT_EQ(t.C(k).valid, kFalse) << "circle " << k.index;
  EXPECT_EQ(t.C(centred).cx, before.cx);  // an undefined circle keeps its place

  t.Move(c, 0, 3);
  t.Move(q, 0, 2);
  t.N(radius).value = 1;
  t.Recompute();
  for (const ObjRef k : fromTriangle) EXPECT_EQ(t.C(k).valid, kTrue) << "circle " << k.index;
  for (int i = 0; i < 8; ++i) EXPECT_EQ(t.C(fromParents[i]).valid, kTrue) << i;
}

}  // namespace
}  // namespace kv
