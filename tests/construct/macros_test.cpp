#include "construct/macros.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "figure_builder.h"
#include "geometry/recompute.h"

namespace kv {
namespace {

using testing::FreePoint;
using testing::Ln;
using testing::Nm;
using testing::Pt;
using testing::Variable;

constexpr ObjRef kMarker{kPendingMacroClass, 0};

// The pending macro step as the construction command leaves it once the inputs before the
// marker are given.
int32_t PendingMacro(Figure& fig, std::string_view code, std::initializer_list<ObjRef> parents) {
  return fig.AppendStep(code, parents, {});
}

std::vector<std::string> KindsFrom(const Figure& fig, int32_t first) {
  std::vector<std::string> kinds;
  for (int32_t s = first; s <= fig.StepCount(); ++s) kinds.emplace_back(fig.KindCode(s));
  return kinds;
}

struct Expanded {
  Figure fig;
  Translator tr;
  PolygonPicking polygon;
  MacroOutcome Expand() { return ExpandMacro(fig, polygon, tr); }
};

TEST(Macros, NSectionAddsDivisionStepsWithCountPairsBetweenOpeningAndClosingStep) {
  Expanded e;
  Figure& fig = e.fig;
  const int32_t a = FreePoint(fig, 0, 0), b = FreePoint(fig, 8, 4);
  const int32_t n = Variable(fig, 4);
  const int32_t open = PendingMacro(fig, "PNEQ", {Pt(a), Pt(b), Nm(n), kMarker});
  ASSERT_EQ(e.Expand(), MacroOutcome::kDone);

  EXPECT_EQ(KindsFrom(fig, open), (std::vector<std::string>{"PNEQ", "PN", "PN", "PN", "PNEQ"}));
  // The opening step keeps its inputs and its marker; the closing step has no slots.
  EXPECT_EQ(fig.Parent(open, 4).cls, kPendingMacroClass);
  EXPECT_TRUE(fig.Output(open, 1).IsEmpty());
  EXPECT_TRUE(fig.Parent(fig.StepCount(), 1).IsEmpty());
  EXPECT_TRUE(fig.Output(fig.StepCount(), 1).IsEmpty());

  RecomputeAll(fig);
  const double pairs[3][2] = {{1, 3}, {2, 2}, {3, 1}};
  for (int k = 0; k < 3; ++k) {
    const int32_t s = open + 1 + k;
    EXPECT_EQ(fig.Parent(s, 1), Pt(a));
    EXPECT_EQ(fig.Parent(s, 2), Pt(b));
    EXPECT_DOUBLE_EQ(fig.numbers[fig.Parent(s, 3).index].value, pairs[k][0]);
    EXPECT_DOUBLE_EQ(fig.numbers[fig.Parent(s, 4).index].value, pairs[k][1]);
    // The k-th quarter point of AB, drawn as a cross.
    const PointRec& p = fig.points[fig.Output(s, 1).index];
    EXPECT_EQ(p.marker, 1);
    EXPECT_NE(p.valid, 0);
    EXPECT_NEAR(p.x, 2.0 * (k + 1), 1e-12);
    EXPECT_NEAR(p.y, 1.0 * (k + 1), 1e-12);
  }
}

TEST(Macros, ConstantsTheMacrosAddStayOffTheNumberList) {
  struct Case {
    const char* kind;
    int addedNumbers;
  } cases[] = {{"PNEQ", 2 * 3}, {"LH2+", 2 * 3}, {"LRGN", 4 - 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Expanded e;
    Figure& fig = e.fig;
    const int32_t a = FreePoint(fig, 4, 0), v = FreePoint(fig, 0, 0), b = FreePoint(fig, 0, 4);
    const int32_t n = Variable(fig, 4);
    const std::string kind = c.kind;
    if (kind == "PNEQ") PendingMacro(fig, "PNEQ", {Pt(a), Pt(b), Nm(n), kMarker});
    if (kind == "LH2+") PendingMacro(fig, "LH2+", {Pt(a), Pt(v), Pt(b), Nm(n), kMarker});
    if (kind == "LRGN") PendingMacro(fig, "LRGN", {Nm(n), Pt(a), Pt(v), kMarker});
    ASSERT_EQ(e.Expand(), MacroOutcome::kDone);
    ASSERT_EQ(fig.classCount[kClassNumber], n + c.addedNumbers);
    // The count the user chose stays listed as before; every added constant is hidden.
    EXPECT_EQ(fig.numbers[n].hidden, 0);
    for (int32_t i = n + 1; i <= fig.classCount[kClassNumber]; ++i)
      EXPECT_EQ(fig.numbers[i].hidden, 7) << "number " << i;
  }
}

TEST(Macros, AngleNSectionMakesHalfLinesAtEqualAngles) {
  Expanded e;
  Figure& fig = e.fig;
  // A right angle at V, split in three.
  const int32_t a = FreePoint(fig, 5, 0), v = FreePoint(fig, 0, 0), b = FreePoint(fig, 0, 5);
  const int32_t n = Variable(fig, 3);
  const int32_t open = PendingMacro(fig, "LH2+", {Pt(a), Pt(v), Pt(b), Nm(n), kMarker});
  ASSERT_EQ(e.Expand(), MacroOutcome::kDone);
  EXPECT_EQ(KindsFrom(fig, open), (std::vector<std::string>{"LH2+", "LH2", "LH2", "LH2+"}));
  RecomputeAll(fig);
  const double pi = 3.14159265358979;
  for (int k = 1; k <= 2; ++k) {
    const int32_t s = open + k;
    EXPECT_DOUBLE_EQ(fig.numbers[fig.Parent(s, 4).index].value, 3);
    EXPECT_DOUBLE_EQ(fig.numbers[fig.Parent(s, 5).index].value, k);
    const LineRec& h = fig.lines[fig.Output(s, 1).index];
    EXPECT_EQ(h.lineType, 2);
    ASSERT_NE(h.valid, 0);
    const double angle = std::atan2(h.dy, h.dx);
    EXPECT_NEAR(angle, k * pi / 6, 1e-9) << "half-line " << k;
  }
}

TEST(Macros, PerpendicularFootIsASegmentFromThePointToItsFoot) {
  Expanded e;
  Figure& fig = e.fig;
  const int32_t a = FreePoint(fig, 0, 0), b = FreePoint(fig, 4, 0), p = FreePoint(fig, 1, 3);
  const int32_t g = fig.AllocObject(kClassLine);
  fig.AppendStep("L1", {Pt(a), Pt(b)}, {Ln(g)});
  const int32_t open = PendingMacro(fig, "L3+", {Ln(g), Pt(p), kMarker});
  ASSERT_EQ(e.Expand(), MacroOutcome::kDone);
  EXPECT_EQ(KindsFrom(fig, open), (std::vector<std::string>{"L3+", "L3", "PC1", "L3+"}));

  // The L3 step has its line as only output.
  const int32_t perpendicularStep = open + 1;
  EXPECT_EQ(fig.Output(perpendicularStep, 1).cls, kClassLine);
  EXPECT_TRUE(fig.Output(perpendicularStep, 2).IsEmpty());
  const int32_t perpendicular = fig.Output(perpendicularStep, 1).index;
  EXPECT_EQ(fig.lines[perpendicular].lineType, 1);
  EXPECT_EQ(fig.Parent(open + 2, 1), Ln(g));
  EXPECT_EQ(fig.Parent(open + 2, 2), Ln(perpendicular));
  EXPECT_EQ(fig.points[fig.Output(open + 2, 1).index].marker, 1);
}

TEST(Macros, PerpendicularFootLiesOnTheLineBelowThePoint) {
  Expanded e;
  Figure& fig = e.fig;
  const int32_t a = FreePoint(fig, 0, 0), b = FreePoint(fig, 4, 0), p = FreePoint(fig, 1, 3);
  const int32_t g = fig.AllocObject(kClassLine);
  fig.AppendStep("L1", {Pt(a), Pt(b)}, {Ln(g)});
  const int32_t open = PendingMacro(fig, "L3+", {Ln(g), Pt(p), kMarker});
  ASSERT_EQ(e.Expand(), MacroOutcome::kDone);
  RecomputeAll(fig);
  EXPECT_NE(fig.lines[fig.Output(open + 1, 1).index].valid, 0);
  const PointRec& foot = fig.points[fig.Output(open + 2, 1).index];
  ASSERT_NE(foot.valid, 0);
  EXPECT_NEAR(foot.x, 1, 1e-12);
  EXPECT_NEAR(foot.y, 0, 1e-12);
}

TEST(Macros, RegularPolygonTurnsEachSideByTheExteriorAngle) {
  struct Case {
    double n;
    int sides;
    double interior;
  };
  // A count below 3 (or not a number) is taken as 3.
  const Case cases[] = {{3, 3, 60},
                        {4, 4, 90},
                        {6, 6, 120},
                        {5.6, 6, 120},
                        {0, 3, 60},
                        {-4, 3, 60},
                        {std::numeric_limits<double>::quiet_NaN(), 3, 60}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    Expanded e;
    Figure& fig = e.fig;
    const int32_t a = FreePoint(fig, 0, 0), b = FreePoint(fig, 1, 0);
    const int32_t n = Variable(fig, c.n);
    const int32_t open = PendingMacro(fig, "LRGN", {Nm(n), Pt(a), Pt(b), kMarker});
    ASSERT_EQ(e.Expand(), MacroOutcome::kDone);
    // Opening step, n - 2 rotations, n sides, closing step.
    ASSERT_EQ(fig.StepCount() - open + 1, 1 + (c.sides - 2) + c.sides + 1);
    EXPECT_EQ(fig.classCount[kClassPoint], c.sides);
    EXPECT_EQ(fig.classCount[kClassLine], c.sides);
    RecomputeAll(fig);

    // Every vertex lies on the circumcircle of the regular polygon with side AB, and every
    // side has length 1.
    const double pi = 3.14159265358979;
    const double r = 0.5 / std::sin(pi / c.sides);
    const int32_t first = open + 1;
    for (int32_t s = first; s < first + c.sides - 2; ++s) {
      EXPECT_EQ(fig.KindCode(s), "PT1");
      EXPECT_DOUBLE_EQ(fig.numbers[fig.Parent(s, 3).index].value, c.interior);
    }
    const int32_t firstSide = first + c.sides - 2;
    for (int k = 0; k < c.sides; ++k) {
      const int32_t s = firstSide + k;
      ASSERT_EQ(fig.KindCode(s), "L1");
      const LineRec& side = fig.lines[fig.Output(s, 1).index];
      EXPECT_EQ(side.lineType, 1);
      const PointRec& p = fig.points[fig.Parent(s, 1).index];
      const PointRec& q = fig.points[fig.Parent(s, 2).index];
      EXPECT_NEAR(std::hypot(q.x - p.x, q.y - p.y), 1, 1e-9);
      EXPECT_NEAR(std::hypot(p.x - 0.5, p.y + 0.5 / std::tan(pi / c.sides)), r, 1e-9);
    }
    // The last side comes back to A.
    EXPECT_EQ(fig.Parent(firstSide + c.sides - 1, 2), Pt(a));
  }
}

TEST(Macros, RegularSquareHasTheHandComputedCorners) {
  Expanded e;
  Figure& fig = e.fig;
  const int32_t a = FreePoint(fig, 0, 0), b = FreePoint(fig, 1, 0);
  PendingMacro(fig, "LRGN", {Nm(Variable(fig, 4)), Pt(a), Pt(b), kMarker});
  ASSERT_EQ(e.Expand(), MacroOutcome::kDone);
  RecomputeAll(fig);
  // A turned about B by +90 degrees, then B about C.
  EXPECT_NEAR(fig.points[3].x, 1, 1e-12);
  EXPECT_NEAR(fig.points[3].y, -1, 1e-12);
  EXPECT_NEAR(fig.points[4].x, 0, 1e-12);
  EXPECT_NEAR(fig.points[4].y, -1, 1e-12);
  EXPECT_EQ(fig.points[3].marker, 1);
  // The sides are named after their end points.
  EXPECT_EQ(fig.lines[1].name, "AB");
  EXPECT_EQ(fig.lines[4].name, "DA");
}

TEST(Macros, HugeCountIsCapped) {
  Expanded e;
  Figure& fig = e.fig;
  const int32_t a = FreePoint(fig, 0, 0), b = FreePoint(fig, 1, 0);
  PendingMacro(fig, "PNEQ", {Pt(a), Pt(b), Nm(Variable(fig, 1e12)), kMarker});
  ASSERT_EQ(e.Expand(), MacroOutcome::kDone);
  EXPECT_EQ(fig.classCount[kClassPoint], 2 + kMaxMacroParts - 1);
}

TEST(Macros, IncompleteOrOrdinaryStepIsNotExpanded) {
  Expanded e;
  Figure& fig = e.fig;
  const int32_t a = FreePoint(fig, 0, 0), b = FreePoint(fig, 1, 0);
  // The count is still to be chosen.
  PendingMacro(fig, "PNEQ", {Pt(a), Pt(b), {kPendingNumberClass, 0}, kMarker});
  const int32_t steps = fig.StepCount();
  EXPECT_EQ(e.Expand(), MacroOutcome::kNotAMacro);
  EXPECT_EQ(fig.StepCount(), steps);
  fig.RemoveLastStep();
  // A count that names no number.
  PendingMacro(fig, "PNEQ", {Pt(a), Pt(b), Nm(7), kMarker});
  EXPECT_EQ(e.Expand(), MacroOutcome::kNotAMacro);
  fig.RemoveLastStep();
  fig.AppendStep("L1", {Pt(a), Pt(b)}, {Ln(fig.AllocObject(kClassLine))});
  EXPECT_EQ(e.Expand(), MacroOutcome::kNotAMacro);
}

// A polygon of n vertices on a figure of `points` free points, with the count as variable 1.
struct PolygonFigure : Expanded {
  int32_t open = 0;
  PolygonFigure(int points, double n) {
    for (int i = 0; i < points; ++i) FreePoint(fig, std::cos(i * 1.3), std::sin(i * 1.3));
    open = PendingMacro(fig, "LPGN", {Nm(Variable(fig, n)), kMarker});
  }
};

TEST(Macros, PolygonIsPickedVertexByVertexAndClosedBackToTheFirst) {
  PolygonFigure f(5, 4);
  Figure& fig = f.fig;
  ASSERT_EQ(f.Expand(), MacroOutcome::kPickVertex);
  EXPECT_EQ(f.polygon.polygonVertexCount, 4);
  EXPECT_EQ(f.polygon.polygonVertexNo, 1);
  EXPECT_EQ(fig.KindCode(fig.StepCount()), "LPG+");

  const int32_t order[] = {2, 5, 1, 4};
  for (int k = 0; k < 3; ++k) {
    ASSERT_EQ(AddPolygonVertex(fig, f.polygon, order[k], f.tr), MacroOutcome::kPickVertex);
    EXPECT_EQ(f.polygon.polygonVertexNo, k + 2);
    // The sides drawn so far show while the next vertex is picked.
    RecomputeAll(fig);
    EXPECT_EQ(fig.classCount[kClassLine], k);
    if (k > 0) {
      EXPECT_NE(fig.lines[k].valid, 0);
    }
    EXPECT_EQ(fig.KindCode(fig.StepCount()), "LPG+");
    // A vertex already used is not taken again, nor a point that does not exist.
    EXPECT_EQ(AddPolygonVertex(fig, f.polygon, order[k], f.tr), MacroOutcome::kPickVertex);
    EXPECT_EQ(AddPolygonVertex(fig, f.polygon, 6, f.tr), MacroOutcome::kPickVertex);
    EXPECT_EQ(f.polygon.polygonVertexNo, k + 2);
  }
  EXPECT_EQ(f.polygon.PickedVertices(), (std::vector<int32_t>{2, 5, 1}));
  ASSERT_EQ(AddPolygonVertex(fig, f.polygon, order[3], f.tr), MacroOutcome::kDone);
  EXPECT_FALSE(f.polygon.Active());

  EXPECT_EQ(KindsFrom(fig, f.open),
            (std::vector<std::string>{"LPGN", "L1", "L1", "L1", "L1", "LPGN"}));
  const int32_t ends[4][2] = {{2, 5}, {5, 1}, {1, 4}, {4, 2}};
  for (int k = 0; k < 4; ++k) {
    const int32_t s = f.open + 1 + k;
    EXPECT_EQ(fig.Parent(s, 1), Pt(ends[k][0]));
    EXPECT_EQ(fig.Parent(s, 2), Pt(ends[k][1]));
    EXPECT_EQ(fig.lines[fig.Output(s, 1).index].lineType, 1);
  }
  EXPECT_EQ(fig.classCount[kClassLine], 4);
  RecomputeAll(fig);
  for (int32_t i = 1; i <= 4; ++i) EXPECT_NE(fig.lines[i].valid, 0);
  EXPECT_EQ(fig.lines[1].name, "BE");
}

TEST(Macros, PolygonWithMoreVerticesThanPointsIsRemoved) {
  PolygonFigure f(4, 5);
  const int32_t before = f.open - 1;
  EXPECT_EQ(f.Expand(), MacroOutcome::kTooFewVertices);
  EXPECT_EQ(f.fig.StepCount(), before);
  EXPECT_FALSE(f.polygon.Active());
}

TEST(Macros, CancelledPolygonLeavesTheFigureAsItWas) {
  for (int picked = 0; picked <= 3; ++picked) {
    SCOPED_TRACE(picked);
    PolygonFigure f(5, 4);
    Figure& fig = f.fig;
    const int32_t steps = f.open - 1;
    const auto counts = fig.classCount;
    ASSERT_EQ(f.Expand(), MacroOutcome::kPickVertex);
    for (int k = 1; k <= picked; ++k) AddPolygonVertex(fig, f.polygon, k, f.tr);
    CancelPolygon(fig, f.polygon);
    EXPECT_EQ(fig.StepCount(), steps);
    // The count typed for the polygon stays, as new variables do.
    EXPECT_EQ(fig.classCount, counts);
    EXPECT_FALSE(f.polygon.Active());
    EXPECT_EQ(AddPolygonVertex(fig, f.polygon, 1, f.tr), MacroOutcome::kNotAMacro);
  }
}

}  // namespace
}  // namespace kv
