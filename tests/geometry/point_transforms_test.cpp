#include "geometry/point_transforms.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <span>
#include <vector>

#include "figure_builder.h"

namespace kv {
namespace {

using namespace kv::testing;

constexpr double kEps = 1e-9;

// A constructed point, whether it should be defined and, if so, where.
struct PointCase {
  int32_t point;
  bool defined;
  double x, y;
};

// Every point of the table after a recompute; an undefined one must still hold a finite
// position (it keeps where it was).
void ExpectPoints(Figure& fig, std::span<const PointCase> cases) {
  RecomputeAll(fig);
  int row = 0;
  for (const PointCase& c : cases) {
    SCOPED_TRACE(row++);
    const PointRec& p = fig.points[c.point];
    EXPECT_EQ(p.valid != 0, c.defined);
    EXPECT_TRUE(std::isfinite(p.x));
    EXPECT_TRUE(std::isfinite(p.y));
    if (c.defined) ExpectAt(p, c.x, c.y);
  }
}

TEST(PointTransforms, GeometricTransformsOfPoints) {
  Figure fig;
  const int32_t p = FreePoint(fig, 3, 1), o = FreePoint(fig, 1, 1), unit = FreePoint(fig, 1, 0);
  const int32_t origin = FreePoint(fig, 0, 0), inside = FreePoint(fig, 3, 2);
  const int32_t centre = FreePoint(fig, 1, 2);
  const int32_t ninety = Variable(fig, 90), half = Variable(fig, 180);
  const int32_t noAngle = Variable(fig, 30, kFalse);
  const int32_t diagonal = FixedLine(fig, 0, 0, 1, 1), vector = FixedLine(fig, 2, 2, 5, 6);
  const int32_t vertical = FixedLine(fig, 4, 0, 4, 1), throughCentre = FixedLine(fig, -1, -1, 1, 1);
  const int32_t circle = FixedCircle(fig, 1, 2, 4), atOrigin = FixedCircle(fig, 0, 0, 2);
  const PointCase cases[] = {
      {Construct(fig, "PT1", {Pt(unit), Pt(origin), Nm(ninety)}), true, 0, 1},
      {Construct(fig, "PT1", {Pt(p), Pt(o), Nm(half)}), true, -1, 1},
      {Construct(fig, "PT1", {Pt(p), Pt(o), Nm(noAngle)}), false, 0, 0},
      {Construct(fig, "PT2", {Pt(p), Ln(diagonal)}), true, 1, 3},  // y = x swaps coordinates
      {Construct(fig, "PT3", {Pt(p), Pt(o)}), true, -1, 1},
      {Construct(fig, "PT4", {Pt(inside), Ci(circle)}), true, 9, 2},  // r/2 from the centre -> 2r
      {Construct(fig, "PT4", {Pt(centre), Ci(circle)}), false, 0, 0},
      {Construct(fig, "PT8", {Pt(p), Ln(vector)}), true, 6, 5},
      {Construct(fig, "PT9", {Ln(vertical), Ci(atOrigin)}), true, 1, 0},  // pole of x = 4: r^2/4
      {Construct(fig, "PT9", {Ln(throughCentre), Ci(atOrigin)}), false, 0, 0},
  };
  ExpectPoints(fig, cases);
}

TEST(PointTransforms, ComplexNumberPoints) {
  Figure fig;
  const int32_t z = FreePoint(fig, 1, 2), w = FreePoint(fig, 3, -1), i = FreePoint(fig, 0, 1);
  const int32_t tiny = FreePoint(fig, 0.005, 0.005), small = FreePoint(fig, 0.02, 0);
  const int32_t one = FreePoint(fig, 1, 0), oneOne = FreePoint(fig, 1, 1);
  const int32_t minusOne = FreePoint(fig, -1, 0), down = FreePoint(fig, 0, -2);
  const int32_t zero = FreePoint(fig, 0, 0);
  const int32_t two = Variable(fig, 2), three = Variable(fig, 3), root = Variable(fig, 0.5);
  const int32_t negative = Variable(fig, -1), nothing = Variable(fig, 0);
  const int32_t huge = Variable(fig, 2000);
  const PointCase cases[] = {
      {Construct(fig, "PO+", {Pt(z), Pt(w)}), true, 4, 1},
      {Construct(fig, "PO-", {Pt(z), Pt(w)}), true, -2, 3},
      {Construct(fig, "PO*", {Pt(z), Pt(w)}), true, 5, 5},      // (1+2i)(3-i)
      {Construct(fig, "PO/", {Pt(z), Pt(w)}), true, 0.1, 0.7},  // (1+2i)(3+i)/10
      // The divisor is refused coordinate by coordinate: |w| = 0.007 fails, 0.02 does not.
      {Construct(fig, "PO/", {Pt(one), Pt(tiny)}), false, 0, 0},
      {Construct(fig, "PO/", {Pt(one), Pt(small)}), true, 50, 0},
      {Construct(fig, "PO-1", {Pt(i)}), true, 0, -1},
      {Construct(fig, "PO-1", {Pt(tiny)}), false, 0, 0},
      {Construct(fig, "PO^", {Pt(i), Nm(two)}), true, -1, 0},
      {Construct(fig, "PO^", {Pt(oneOne), Nm(three)}), true, -2, 2},
      {Construct(fig, "PO^", {Pt(minusOne), Nm(root)}), true, 0, 1},
      {Construct(fig, "PO^", {Pt(down), Nm(two)}), true, -4, 0},
      {Construct(fig, "PO^", {Pt(zero), Nm(two)}), true, 0, 0},
      {Construct(fig, "PO^", {Pt(zero), Nm(nothing)}), true, 1, 0},
      {Construct(fig, "PO^", {Pt(zero), Nm(negative)}), false, 0, 0},  // 0 to a negative power
      {Construct(fig, "PO^", {Pt(w), Nm(huge)}), false, 0, 0},         // overflows: no position
  };
  ExpectPoints(fig, cases);
}

// The matrix maps, laid out as the macros make them: the map step and, for the affine and
// projective maps, its continuation step.
struct MatrixMap {
  int32_t step = 0, image = 0;
  std::vector<int32_t> numbers;
};

MatrixMap AddMatrixMap(Figure& fig, const char* code, std::initializer_list<Vec2> points,
                       bool continuation = true) {
  std::vector<ObjRef> parents;
  for (Vec2 v : points) parents.push_back(Pt(FreePoint(fig, v.x, v.y)));
  MatrixMap map;
  map.image = fig.AllocObject(kClassPoint);
  const std::string_view kind = code;
  const int count = kind == "PT5" ? 4 : 9;
  for (int k = 0; k < count; ++k) map.numbers.push_back(fig.AllocObject(kClassNumber));
  const auto& n = map.numbers;
  const auto& p = parents;
  map.step = fig.AppendStep(code, {p[0], p[1], p[2], p[3], p[4]},
                            {Pt(map.image), Nm(n[0]), Nm(n[1]), Nm(n[2]), Nm(n[3])});
  if (!continuation || count == 4) return map;
  if (kind == "PT7")
    fig.AppendStep("PT62", {p[5], p[6], p[7], p[8]},
                   {Nm(n[4]), Nm(n[5]), Nm(n[6]), Nm(n[7]), Nm(n[8])});
  else
    fig.AppendStep("PT62", {p[5], p[6]}, {Nm(n[4]), Nm(n[5]), Nm(n[6]), Nm(n[7]), Nm(n[8])});
  return map;
}

void ExpectMatrix(const Figure& fig, const MatrixMap& map, std::initializer_list<double> entries,
                  double eps = kEps) {
  int k = 0;
  for (double e : entries) {
    const NumberRec& n = fig.numbers[map.numbers[k++]];
    EXPECT_EQ(n.valid, kTrue) << k;
    EXPECT_NEAR(n.value, e, eps) << k;
  }
}

TEST(PointTransforms, LinearMapSendsTheBasisToItsImages) {
  Figure fig;
  // A1, A2 the unit vectors: the matrix has B1 and B2 as columns.
  const MatrixMap basis = AddMatrixMap(fig, "PT5", {{1, 1}, {1, 0}, {0, 1}, {2, 3}, {-1, 4}});
  // A1 = (1,1) -> (2,0), A2 = (1,-1) -> (0,2): M = [[1, 1], [1, -1]].
  const MatrixMap skew = AddMatrixMap(fig, "PT5", {{3, 1}, {1, 1}, {1, -1}, {2, 0}, {0, 2}});
  const MatrixMap flat = AddMatrixMap(fig, "PT5", {{3, 1}, {1, 1}, {2, 2}, {2, 0}, {0, 2}});
  for (int32_t n : flat.numbers) fig.numbers[n].value = 9;
  RecomputeAll(fig);
  ExpectMatrix(fig, basis, {2, -1, 3, 4});
  ExpectAt(fig.points[basis.image], 1, 7);
  ExpectMatrix(fig, skew, {1, 1, 1, -1});
  ExpectAt(fig.points[skew.image], 4, 2);
  EXPECT_EQ(fig.points[flat.image].valid, 0);  // A1, A2 dependent
  for (int32_t n : flat.numbers) EXPECT_EQ(fig.numbers[n].value, 9);
}

TEST(PointTransforms, AffineMapFromThreePairs) {
  Figure fig;
  // Every point moved by (1, 2): identity linear part, translation column (1, 2).
  const MatrixMap shift =
      AddMatrixMap(fig, "PT6", {{7, -3}, {1, 1}, {4, 1}, {2, 5}, {2, 3}, {5, 3}, {3, 7}});
  // Quarter turn about the origin followed by a shift of (1, 1).
  const MatrixMap turn =
      AddMatrixMap(fig, "PT6", {{2, 0}, {0, 0}, {1, 0}, {0, 1}, {1, 1}, {1, 2}, {0, 1}});
  RecomputeAll(fig);
  ExpectMatrix(fig, shift, {1, 0, 1, 0, 1, 2, 0, 0, 1});
  ExpectAt(fig.points[shift.image], 8, -1);
  ExpectMatrix(fig, turn, {0, -1, 1, 1, 0, 1, 0, 0, 1});
  ExpectAt(fig.points[turn.image], 1, 3);
}

TEST(PointTransforms, MatrixMapsNeedTheirContinuationStep) {
  {
    Figure fig;  // the map is the last step: nothing to read after it
    const MatrixMap last =
        AddMatrixMap(fig, "PT6", {{7, -3}, {1, 1}, {4, 1}, {2, 5}, {2, 3}, {5, 3}, {3, 7}}, false);
    RecomputeAll(fig);
    EXPECT_EQ(fig.points[last.image].valid, 0);
  }
  {
    Figure fig;  // followed by a step of another kind
    const MatrixMap wrong = AddMatrixMap(
        fig, "PT7", {{0, 0}, {0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}, {2, 0}, {2, 2}, {0, 2}});
    fig.SetStepKind(wrong.step + 1, "PT5");
    RecomputeAll(fig);
    EXPECT_EQ(fig.points[wrong.image].valid, 0);
  }
  {
    Figure fig;  // a continuation whose parent is a line
    const MatrixMap map =
        AddMatrixMap(fig, "PT6", {{7, -3}, {1, 1}, {4, 1}, {2, 5}, {2, 3}, {5, 3}, {3, 7}});
    fig.SetStepParent(map.step + 1, 2, Ln(FixedLine(fig, 0, 0, 1, 0)));
    RecomputeAll(fig);
    EXPECT_EQ(fig.points[map.image].valid, 0);
  }
}

// The homography (x, y) -> 10 (x, y) / (x + y + 1), matrix [[10,0,0],[0,10,0],[1,1,1]]
// (scaled so that its images are drawn at a size the 0.01 tolerances allow).
Vec2 H(Vec2 p) { return {10 * p.x / (p.x + p.y + 1), 10 * p.y / (p.x + p.y + 1)}; }

TEST(PointTransforms, ProjectiveMapMatchesAKnownHomography) {
  // Source quadrilaterals covering each way the vanishing line is found: both pairs of
  // opposite sides meeting, one pair parallel (and a vanishing line through the origin),
  // and a parallelogram. Sides within 0.57 degrees of parallel count as parallel, which
  // only approximates the map, so the images avoid nearly parallel sides.
  const std::array<Vec2, 4> quads[] = {
      {{{1, 0}, {5, 1}, {3, 4}, {0, 2}}},
      {{{0, 0}, {4, 0}, {3, 2}, {1, 2}}},
      {{{2, 0}, {3, 1}, {4, 3}, {3.5, 2.5}}},
      {{{0, 0}, {2, 0}, {3, 1}, {1, 1}}},
  };
  const Vec2 probes[] = {{2, 2}, {1, 0.5}, {0.3, 4}};
  for (const auto& from : quads) {
    std::array<Vec2, 4> to;
    for (int i = 0; i < 4; ++i) to[i] = H(from[i]);
    for (Vec2 probe : probes) {
      Mat3 m;
      PointRec image;
      ASSERT_TRUE(ProjectiveMap3(probe, from, to, m, image));
      const Vec2 expected = H(probe);
      SCOPED_TRACE(::testing::Message() << from[1].x << " " << probe.x);
      ExpectAt(image, expected.x, expected.y, 1e-9);
      // The matrix is the homography's up to a factor.
      const double f = m.m[3][3];
      EXPECT_NEAR(m.m[1][1] / f, 10, 1e-9);
      EXPECT_NEAR(m.m[1][2] / f, 0, 1e-9);
      EXPECT_NEAR(m.m[3][1] / f, 1, 1e-9);
      EXPECT_NEAR(m.m[3][2] / f, 1, 1e-9);
    }
  }
}

TEST(PointTransforms, ProjectiveMapStepAndItsFailures) {
  Figure fig;
  const Vec2 q1 = H({0, 0}), q2 = H({1, 0}), q3 = H({1, 1}), q4 = H({0, 1});
  const MatrixMap ok =
      AddMatrixMap(fig, "PT7", {{2, 3}, {0, 0}, {1, 0}, {1, 1}, {0, 1}, q1, q2, q3, q4});
  // (-1, 0) lies on the line the map sends to infinity: no image, but the matrix is kept.
  const MatrixMap infinite =
      AddMatrixMap(fig, "PT7", {{-1, 0}, {0, 0}, {1, 0}, {1, 1}, {0, 1}, q1, q2, q3, q4});
  // Three source corners on one line.
  const MatrixMap collinear =
      AddMatrixMap(fig, "PT7", {{2, 3}, {0, 0}, {1, 0}, {2, 0}, {0, 1}, q1, q2, q3, q4});
  for (int32_t n : collinear.numbers) fig.numbers[n].value = 9;
  RecomputeAll(fig);
  ExpectAt(fig.points[ok.image], 10.0 / 3, 5);
  EXPECT_EQ(fig.points[infinite.image].valid, 0);
  for (int32_t n : infinite.numbers) EXPECT_EQ(fig.numbers[n].valid, kTrue);
  EXPECT_EQ(fig.points[collinear.image].valid, 0);
  for (int32_t n : collinear.numbers) EXPECT_EQ(fig.numbers[n].value, 9);
}

TEST(PointTransforms, MatrixIsShownOncePerRecomputeWhenAskedFor) {
  Figure fig;
  CountingHooks hooks;
  fig.pass.hooks = &hooks;
  AddMatrixMap(fig, "PT5", {{1, 1}, {1, 0}, {0, 1}, {2, 3}, {-1, 4}});
  // A bound point makes the recompute run a second pass.
  BoundPoint(fig, Ln(FixedLine(fig, 0, 0, 1, 0)));
  RecomputeAll(fig);
  EXPECT_EQ(hooks.matrices, 0);  // display switched off
  hooks.showMatrices = true;
  RecomputeAll(fig);
  EXPECT_EQ(fig.pass.passCount, 2);
  EXPECT_EQ(hooks.matrices, 1);
  EXPECT_EQ(hooks.lastKind, Kind::kPT5);
  EXPECT_EQ(hooks.lastRows, 2);
  EXPECT_EQ(hooks.lastEntries[0], 2);
  EXPECT_EQ(hooks.lastEntries[2], 3);
  AddMatrixMap(fig, "PT6", {{7, -3}, {1, 1}, {4, 1}, {2, 5}, {2, 3}, {5, 3}, {3, 7}});
  RecomputeAll(fig);
  EXPECT_EQ(hooks.matrices, 3);
  EXPECT_EQ(hooks.lastKind, Kind::kPT6);
  EXPECT_EQ(hooks.lastRows, 3);
  EXPECT_NEAR(hooks.lastEntries[5], 2, kEps);
}

}  // namespace
}  // namespace kv
