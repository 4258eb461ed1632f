#include "construct/undo.h"

#include <gtest/gtest.h>

#include "construct/macros.h"
#include "construct/transform_macros.h"
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

struct UndoFigure {
  Figure fig;
  Translator tr;
  PolygonPicking polygon;
  int32_t a = 0, b = 0;
  UndoFigure() {
    a = FreePoint(fig, 0, 0);
    b = FreePoint(fig, 6, 0);
  }
  void Macro(std::string_view code, std::initializer_list<ObjRef> parents) {
    fig.AppendStep(code, parents, {});
    ExpandMacro(fig, polygon, tr);
  }
};

TEST(Undo, EmptyFigureHasNothingToRemove) {
  Figure fig;
  EXPECT_FALSE(UndoLast(fig));
  EXPECT_EQ(fig.StepCount(), 0);
  EXPECT_EQ(fig.classCount[kClassPoint], 0);
}

TEST(Undo, RemovesOneOrdinaryStepWithAllItsOutputs) {
  UndoFigure f;
  Figure& fig = f.fig;
  const int32_t g = fig.AllocObject(kClassLine);
  fig.AppendStep("L1", {Pt(f.a), Pt(f.b)}, {Ln(g)});
  const int32_t c = testing::FixedCircle(fig, 3, 0, 2);
  testing::IntersectionPoints(fig, "PC2", {Ln(g), testing::Ci(c)});
  ASSERT_EQ(fig.classCount[kClassPoint], 4);
  EXPECT_TRUE(UndoLast(fig));
  EXPECT_EQ(fig.classCount[kClassPoint], 2);
  EXPECT_EQ(fig.KindCode(fig.StepCount()), "L1");
  // Step by step back to the empty figure, then nothing more.
  while (fig.StepCount() > 0) EXPECT_TRUE(UndoLast(fig));
  EXPECT_EQ(fig.classCount[kClassPoint], 0);
  EXPECT_FALSE(UndoLast(fig));
}

TEST(Undo, RemovesANSectionGroupWithItsPointsAndNumbers) {
  UndoFigure f;
  Figure& fig = f.fig;
  const int32_t n = Variable(fig, 3);
  const int32_t steps = fig.StepCount();
  const auto counts = fig.classCount;
  f.Macro("PNEQ", {Pt(f.a), Pt(f.b), Nm(n), kMarker});
  // Opening step, two divisions, closing step; two points and four numbers.
  ASSERT_EQ(fig.StepCount(), steps + 4);
  ASSERT_EQ(fig.classCount[kClassPoint], counts[kClassPoint] + 2);
  ASSERT_EQ(fig.classCount[kClassNumber], counts[kClassNumber] + 4);
  EXPECT_TRUE(UndoLast(fig));
  EXPECT_EQ(fig.StepCount(), steps);
  // The count the user gave stays; the numbers the macro made are gone.
  EXPECT_EQ(fig.classCount, counts);
  EXPECT_DOUBLE_EQ(fig.numbers[n].value, 3);
  EXPECT_EQ(fig.numbers[n + 1].value, 0);
}

TEST(Undo, RemovesOnlyTheLastOfTwoGroupsOfTheSameMacro) {
  UndoFigure f;
  Figure& fig = f.fig;
  const int32_t g = fig.AllocObject(kClassLine);
  fig.AppendStep("L1", {Pt(f.a), Pt(f.b)}, {Ln(g)});
  const int32_t p = FreePoint(fig, 1, 2), q = FreePoint(fig, 4, -3);
  f.Macro("L3+", {Ln(g), Pt(p), kMarker});
  const int32_t afterFirst = fig.StepCount();
  const auto countsAfterFirst = fig.classCount;
  f.Macro("L3+", {Ln(g), Pt(q), kMarker});
  EXPECT_TRUE(UndoLast(fig));
  EXPECT_EQ(fig.StepCount(), afterFirst);
  EXPECT_EQ(fig.classCount, countsAfterFirst);
  EXPECT_TRUE(UndoLast(fig));
  EXPECT_EQ(fig.KindCode(fig.StepCount()), "PNEW");
}

TEST(Undo, RemovesARegularPolygonAndAPickedPolygonWhole) {
  UndoFigure f;
  Figure& fig = f.fig;
  FreePoint(fig, 3, 5);
  const int32_t steps = fig.StepCount();
  const int32_t n = Variable(fig, 5);
  const auto counts = fig.classCount;
  f.Macro("LRGN", {Nm(n), Pt(f.a), Pt(f.b), kMarker});
  EXPECT_TRUE(UndoLast(fig));
  EXPECT_EQ(fig.StepCount(), steps);
  EXPECT_EQ(fig.classCount, counts);

  fig.numbers[n].value = 3;
  f.Macro("LPGN", {Nm(n), kMarker});
  for (int32_t v = 1; v <= 3; ++v) AddPolygonVertex(fig, f.polygon, v, f.tr);
  ASSERT_EQ(fig.classCount[kClassLine], 3);
  EXPECT_TRUE(UndoLast(fig));
  EXPECT_EQ(fig.StepCount(), steps);
  EXPECT_EQ(fig.classCount, counts);
}

// A figure read from a file may end in a closing step whose opening step is missing: undo
// then stops at the first step instead of running off the table.
TEST(Undo, GroupWithoutOpeningStepStopsAtTheFirstStep) {
  Figure fig;
  FreePoint(fig, 0, 0);
  FreePoint(fig, 1, 1);
  fig.AppendStep("PNEQ", {}, {});
  EXPECT_TRUE(UndoLast(fig));
  EXPECT_EQ(fig.StepCount(), 1);
  EXPECT_EQ(fig.classCount[kClassPoint], 1);
}

TEST(Undo, TakesAMapDemonstrationApartOneStepAtATime) {
  Figure fig;
  BuildTransformMacro(fig, TransformMacro::kAffine);
  ASSERT_EQ(fig.StepCount(), 13);
  ASSERT_EQ(fig.classCount[kClassNumber], 9);
  EXPECT_TRUE(UndoLast(fig));  // the continuation step and its five numbers
  EXPECT_EQ(fig.StepCount(), 12);
  EXPECT_EQ(fig.classCount[kClassNumber], 4);
  EXPECT_TRUE(UndoLast(fig));  // φ(P) and the first four numbers
  EXPECT_EQ(fig.classCount[kClassNumber], 0);
  EXPECT_EQ(fig.classCount[kClassPoint], 7);
}

}  // namespace
}  // namespace kv
