#include "geometry/recompute.h"

#include <gtest/gtest.h>

#include <cmath>

#include "figure_builder.h"
#include "io/kv4_file.h"
#include "model/names.h"

namespace kv {
namespace {

using namespace kv::testing;

TEST(Recompute, PassCountFollowsBindingsAndLaterReferences) {
  {
    Figure empty;
    RecomputeAll(empty);
    EXPECT_EQ(empty.pass.passCount, 0);
  }
  {
    KindTestFigure t;  // steps naming only older steps: one pass
    const ObjRef a = t.Point(0, 0), b = t.Point(4, 0), c = t.Point(0, 3);
    t.Step("P3", {a, b, c}, kClassPoint);
    t.Line(a, b);
    t.Recompute();
    EXPECT_EQ(t.fig.pass.passCount, 1);
  }
  {
    // A free point bound to a line made after it, with a centroid built on the point
    // before the line exists: the second pass recomputes the centroid from the bound
    // position.
    KindTestFigure t;
    const ObjRef p = t.Point(9, 9);
    const ObjRef a = t.Point(0, 0), b = t.Point(3, 0);
    const ObjRef centroid = t.Step("P3", {p, a, b}, kClassPoint);
    const ObjRef g = t.Line(t.Point(0, 1), t.Point(4, 1));
    t.P(p).boundClass = kClassLine;
    t.P(p).boundIndex = g.index;
    t.P(p).boundParam = 3;
    t.Recompute();
    EXPECT_EQ(t.fig.pass.passCount, 2);
    EXPECT_NEAR(t.P(p).x, 3, 1e-12);
    EXPECT_NEAR(t.P(p).y, 1, 1e-12);
    EXPECT_NEAR(t.P(centroid).x, 2, 1e-12);
    EXPECT_NEAR(t.P(centroid).y, 1.0 / 3, 1e-12);
  }
}

TEST(Recompute, ParallelLinesUndefineTheirIntersectionAndWhatIsBuiltOnIt) {
  KindTestFigure t;
  const ObjRef a = t.Point(0, 0), b = t.Point(4, 0);
  const ObjRef c = t.Point(0, 2), d = t.Point(4, 2);
  const ObjRef g = t.Line(a, b), h = t.Line(c, d);
  const ObjRef x = t.Step("PC1", {g, h}, kClassPoint);
  const ObjRef through = t.Line(x, t.Point(5, 5));
  t.Recompute();
  EXPECT_EQ(t.P(x).valid, 0);
  EXPECT_EQ(t.L(through).valid, 0);
  t.Move(d, 4, 6);  // h now rises with slope 1 from (0, 2): it meets g at (-2, 0)
  t.Recompute();
  EXPECT_NE(t.P(x).valid, 0);
  EXPECT_NEAR(t.P(x).x, -2, 1e-9);
  EXPECT_NEAR(t.P(x).y, 0, 1e-9);
  EXPECT_NE(t.L(through).valid, 0);
  EXPECT_NEAR(t.L(through).x1, -2, 1e-9);
  t.Move(d, 4, 2);  // parallel again: undefined, and the line keeps its last place
  t.Recompute();
  EXPECT_EQ(t.P(x).valid, 0);
  EXPECT_EQ(t.L(through).valid, 0);
  EXPECT_NEAR(t.L(through).x1, -2, 1e-9);
}

TEST(Recompute, CyclicReferencesTerminate) {
  KindTestFigure t;
  const ObjRef a = t.Point(0, 0), b = t.Point(3, 0);
  // A step that names its own output as a parent.
  const ObjRef self{kClassPoint, t.fig.AllocObject(kClassPoint)};
  t.fig.AppendStep("P3", {self, a, b}, {self});
  // Two steps that name each other's outputs.
  const ObjRef first{kClassPoint, t.fig.AllocObject(kClassPoint)};
  const ObjRef second{kClassPoint, t.fig.AllocObject(kClassPoint)};
  t.fig.AppendStep("P3", {second, a, b}, {first});
  t.fig.AppendStep("P3", {first, a, b}, {second});
  for (ObjRef p : {self, first, second}) t.P(p).valid = kTrue;
  t.Recompute();
  EXPECT_LE(t.fig.pass.passCount, t.fig.StepCount() + 2);
  for (ObjRef p : {self, first, second}) {
    EXPECT_TRUE(std::isfinite(t.P(p).x));
    EXPECT_TRUE(std::isfinite(t.P(p).y));
  }
}

TEST(Recompute, DamagedReferencesUndefineTheStepWithoutCrashing) {
  KindTestFigure t;
  const ObjRef a = t.Point(0, 0), b = t.Point(3, 0), c = t.Point(0, 3);
  const ObjRef farParent = t.Step("P3", {a, b, ObjRef{kClassPoint, 999}}, kClassPoint);
  const ObjRef wrongClass = t.Step("P3", {a, b, ObjRef{kClassLine, 1}}, kClassPoint);
  const ObjRef oddClass = t.Step("P3", {a, b, ObjRef{7, 1}}, kClassPoint);
  const ObjRef pc2Out{kClassPoint, t.fig.AllocObject(kClassPoint)};
  const ObjRef g = t.Line(a, b);
  const ObjRef circle = t.Circle(0, 0, 1);
  t.fig.AppendStep("PC2", {g, circle}, {pc2Out, ObjRef{kClassPoint, 5000}});
  const ObjRef good = t.Step("P3", {a, b, c}, kClassPoint);
  // A bound point whose binding names nothing.
  const ObjRef lost = t.Point(1, 1);
  t.P(lost).boundClass = kClassLine;
  t.P(lost).boundIndex = 4000;
  for (ObjRef p : {farParent, wrongClass, oddClass, pc2Out}) t.P(p).valid = kTrue;
  t.Recompute();
  for (ObjRef p : {farParent, wrongClass, oddClass, pc2Out, lost})
    EXPECT_EQ(t.P(p).valid, 0) << p.index;
  EXPECT_NE(t.P(good).valid, 0);  // the rest of the figure goes on
  EXPECT_NEAR(t.P(good).x, 1, 1e-12);

  // A step replaced after the analysis (undone, then a damaged one appended in its slot) is
  // checked again before a pass runs it, not trusted from the old analysis.
  t.fig.RemoveLastStep();
  t.fig.RemoveLastStep();
  const ObjRef replaced = t.Step("P3", {a, b, ObjRef{kClassPoint, 999}}, kClassPoint);
  t.P(replaced).valid = kTrue;
  RunPasses(t.fig);
  EXPECT_EQ(t.P(replaced).valid, 0);
}

// A slot changed after the analysis must be checked again before the next pass reads it: a
// circumcentre whose third parent is moved past the point table, or to a line, becomes
// undefined instead of reading outside the tables; set back, it is computed again.
TEST(Recompute, SlotChangedAfterTheAnalysisIsCheckedBeforeThePassReadsIt) {
  KindTestFigure t;
  const ObjRef a = t.Point(0, 0), b = t.Point(4, 0), c = t.Point(0, 2);
  const ObjRef centre = t.Step("P1", {a, b, c}, kClassPoint);
  const int32_t s = t.fig.StepCount();
  t.Recompute();
  ExpectAt(t.P(centre), 2, 1);

  for (const ObjRef bad : {ObjRef{kClassPoint, 100000}, ObjRef{kClassLine, 1}, ObjRef{9, 1}}) {
    t.fig.SetStepParent(s, 3, bad);
    RunPasses(t.fig);
    EXPECT_EQ(t.P(centre).valid, 0) << bad.cls << " " << bad.index;
  }
  // An output moved past its table is not written either.
  t.fig.SetStepParent(s, 3, c);
  t.fig.SetStepOutput(s, 1, ObjRef{kClassPoint, 100000});
  RunPasses(t.fig);
  t.fig.SetStepOutput(s, 1, centre);
  t.Move(c, 0, 6);
  RunPasses(t.fig);
  ExpectAt(t.P(centre), 2, 3);
}

TEST(Recompute, BoundPointOnADegenerateCircleStaysUndefined) {
  KindTestFigure t;
  const ObjRef radius = t.Number(0);
  const ObjRef circle = t.Step("C1", {t.Point(1, 1), radius}, kClassCircle);
  const ObjRef p = Pt(BoundPoint(t.fig, circle, 2));
  t.fig.AppendStep("PBND", {circle}, {p});
  const ObjRef image = t.Step("PT3", {p, t.Point(0, 0)}, kClassPoint);
  t.Recompute();
  EXPECT_EQ(t.P(p).valid, 0);
  EXPECT_EQ(t.P(image).valid, 0);
  // Given a radius the point is placed again, by its arc length.
  t.N(radius).value = 2;
  t.Recompute();
  EXPECT_NE(t.P(p).valid, 0);
  EXPECT_NEAR(t.P(p).x, 1 + 2 * std::cos(1.0), 1e-9);
  EXPECT_NEAR(t.P(p).y, 1 + 2 * std::sin(1.0), 1e-9);
}

// The analysis belongs to the steps, the bindings and the validity it started from: a redraw of
// an unchanged figure replays it, and any of those changes runs it again.
TEST(Recompute, AnalysisIsKeptUntilTheStepsBindingsOrValidityChange) {
  KindTestFigure t;
  const ObjRef a = t.Point(0, 0), b = t.Point(4, 0), c = t.Point(0, 3);
  const ObjRef g = t.Line(a, b);
  const ObjRef centroid = t.Step("P3", {a, b, c}, kClassPoint);
  const ObjRef p = Pt(BoundPoint(t.fig, g, 1));
  t.fig.AppendStep("PBND", {g}, {p});
  const int64_t& analyses = t.fig.pass.analysisCount;

  // The first recompute starts from records never computed; the second from computed ones.
  t.Recompute();
  t.Recompute();
  const int64_t first = analyses;
  EXPECT_EQ(first, 2);
  t.Move(a, 3, 3);  // moving a point is not a change of structure
  t.Recompute();
  t.Recompute();
  EXPECT_EQ(analyses, first);
  ExpectAt(t.P(centroid), 7.0 / 3, 2);
  // One unit from A = (3, 3) towards B = (4, 0), along (1, -3) / sqrt 10.
  ExpectAt(t.P(p), 3 + 1 / std::sqrt(10.0), 3 - 3 / std::sqrt(10.0), 1e-12);

  t.fig.SetStepParent(t.fig.StepCount() - 1, 3, a);  // a step changed
  t.Recompute();
  EXPECT_EQ(analyses, first + 1);
  t.P(p).boundParam = 2;  // a parameter is not a binding
  t.Recompute();
  EXPECT_EQ(analyses, first + 1);
  t.P(p).boundClass = 0;  // the binding dropped
  t.Recompute();
  EXPECT_EQ(analyses, first + 2);
  t.Number(5);  // a new variable
  t.Recompute();
  EXPECT_EQ(analyses, first + 3);
  // The line collapses: the next analysis starts from its new validity.
  t.Move(b, 3, 3);
  t.Recompute();
  EXPECT_EQ(analyses, first + 3);
  t.Recompute();
  EXPECT_EQ(analyses, first + 4);
  EXPECT_EQ(t.L(g).valid, 0);
}

// The passes read each expression when the steps change: an expression step undone and made
// again in the same place with another expression computes the new one, and a variable made
// after the expression (no step changes) is read once it exists.
TEST(Recompute, ExpressionsFollowTheStepsThatComputeThem) {
  KindTestFigure t;
  const ObjRef two = t.Number(2), three = t.Number(3);
  auto calc = [&](std::string_view expression) {
    const ObjRef n = testing::Construct(t.fig, "CALC", {}, kClassNumber);
    t.fig.numbers[n.index].expression = std::string(expression);
    return n;
  };
  const ObjRef sum = calc("N1+N2*N2");
  t.Recompute();
  EXPECT_EQ(t.fig.numbers[sum.index].value, 11);
  t.fig.numbers[three.index].value = 4;  // a variable changed: the same program, new values
  t.Recompute();
  EXPECT_EQ(t.fig.numbers[sum.index].value, 18);

  t.fig.RemoveLastStep();
  const ObjRef later = calc("N2/N1-N4");  // N4 does not exist yet
  t.Recompute();
  EXPECT_EQ(t.fig.numbers[later.index].valid, kFalse);
  const int64_t analyses = t.fig.pass.analysisCount;
  t.Number(1);  // N4
  t.Recompute();
  t.Recompute();
  EXPECT_EQ(t.fig.numbers[later.index].value, 1);
  EXPECT_EQ(t.fig.numbers[later.index].valid, kTrue);
  EXPECT_EQ(t.fig.numbers[two.index].value, 2);
  EXPECT_GT(t.fig.pass.analysisCount, analyses);
}

// A replayed analysis leaves every record as a fresh one would, markers included.
TEST(Recompute, ReplayedAnalysisLeavesTheSameRecordsAsAFreshOne) {
  KindTestFigure kept, fresh;
  for (KindTestFigure* t : {&kept, &fresh}) {
    const ObjRef a = t->Point(0, 0), b = t->Point(4, 1), c = t->Point(1, 3);
    const ObjRef circle = t->Step("C3", {a, b, c}, kClassCircle);
    const ObjRef p = Pt(BoundPoint(t->fig, circle, 2));
    t->fig.AppendStep("PBND", {circle}, {p});
    t->Step2("PC2", {t->Line(a, p), circle}, kClassPoint, kClassPoint);
    t->fig.AppendStep("ZZZ", {a}, {Pt(t->fig.AllocObject(kClassPoint))});  // computes nothing
    t->Recompute();
    t->Recompute();
  }
  kept.Recompute();
  fresh.fig.pass.kept = false;
  fresh.Recompute();
  EXPECT_EQ(kept.fig.pass.analysisCount, 2);
  EXPECT_EQ(fresh.fig.pass.analysisCount, 3);
  EXPECT_EQ(FigureFileText(kept.fig), FigureFileText(fresh.fig));
}

// A step that reads its own output would feed on its last result on every recompute; it stays
// undefined, keeps its name and its value, so that saving twice writes the same text.
TEST(Recompute, StepReadingItsOwnOutputStaysUndefinedAndKeepsItsName) {
  KindTestFigure t;
  const ObjRef a = t.Point(0, 0), b = t.Point(3, 0);
  const ObjRef square{kClassNumber, t.fig.AllocObject(kClassNumber)};
  t.N(square).value = 3;
  t.N(square).valid = kTrue;
  t.N(square).expression = "N" + std::to_string(square.index) + "*N" + std::to_string(square.index);
  t.fig.AppendStep("CALC", {}, {square});
  t.fig.SetObjectName(square, "x");
  const ObjRef loop{kClassLine, t.fig.AllocObject(kClassLine)};
  t.fig.AppendStep("L1", {loop, b}, {loop});
  t.fig.SetObjectName(loop, "g");
  const ObjRef after = t.Line(a, b);  // the rest of the figure goes on

  std::string texts[3];
  for (std::string& text : texts) {
    RelabelAll(t.fig, Translator{});
    t.Recompute();
    text = FigureFileText(t.fig);
  }
  EXPECT_EQ(texts[0], texts[1]);
  EXPECT_EQ(texts[1], texts[2]);
  EXPECT_EQ(t.N(square).valid, 0);
  EXPECT_EQ(t.N(square).value, 3);
  EXPECT_EQ(t.fig.GetName(square), "x");
  EXPECT_EQ(t.L(loop).valid, 0);
  EXPECT_EQ(t.fig.GetName(loop), "g");
  EXPECT_NE(t.L(after).valid, 0);
  EXPECT_EQ(t.fig.GetName(after), "AB");
}

// Each step of a backward chain reads the output of the step after it. Settling it would need
// as many passes as steps; the passes are capped, the end of the chain nearest its defined
// start is computed, and the rest stays undefined.
TEST(Recompute, BackwardChainIsCappedAndLeavesTheUnsettledUndefined) {
  constexpr int kChain = 5000;
  KindTestFigure t;
  const ObjRef o = t.Point(0, 0);
  // Lines 1..kChain; step i makes line i through O and the second point of line i + 1.
  for (int i = 1; i <= kChain + 1; ++i) t.fig.AllocObject(kClassLine);
  for (int i = 1; i <= kChain; ++i)
    t.fig.AppendStep("LT2", {Ln(i + 1), o}, {Ln(i)});  // reflection of line i + 1 in O
  const ObjRef start = Ln(kChain + 1);
  LineRec& first = t.L(start);
  first.x1 = 1, first.y1 = 1, first.x2 = 2, first.y2 = 1, first.dx = 1, first.dy = 0;
  first.valid = kTrue;
  t.Recompute();
  EXPECT_LE(t.fig.pass.passCount, kMaxPasses);
  EXPECT_NE(t.L(Ln(kChain)).valid, 0);
  EXPECT_NEAR(t.L(Ln(kChain)).x1, -1, 1e-12);  // the reflection of (1, 1) in O
  EXPECT_NEAR(t.L(Ln(kChain - 1)).x1, 1, 1e-12);
  EXPECT_EQ(t.L(Ln(1)).valid, 0);
}

}  // namespace
}  // namespace kv
