#include "construct/transform_macros.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "figure_builder.h"
#include "geometry/recompute.h"

namespace kv {
namespace {

struct PointRow {
  const char* name;
  double x, y;
  int32_t free, marker, colour, locusColour;
};

void ExpectPoints(const Figure& fig, int32_t base, const std::vector<PointRow>& rows) {
  for (size_t k = 0; k < rows.size(); ++k) {
    const PointRow& r = rows[k];
    const PointRec& p = fig.points[base + 1 + static_cast<int32_t>(k)];
    SCOPED_TRACE(r.name);
    EXPECT_EQ(p.name, r.name);
    EXPECT_DOUBLE_EQ(p.x, r.x);
    EXPECT_DOUBLE_EQ(p.y, r.y);
    EXPECT_EQ(p.free, r.free);
    EXPECT_EQ(p.marker, r.marker);
    EXPECT_EQ(p.colour, r.colour);
    EXPECT_EQ(p.locusColour, r.locusColour);
    EXPECT_NE(p.valid, 0);
  }
}

std::vector<std::string> Kinds(const Figure& fig, int32_t first) {
  std::vector<std::string> kinds;
  for (int32_t s = first; s <= fig.StepCount(); ++s) kinds.emplace_back(fig.KindCode(s));
  return kinds;
}

const PointRec& ImagePoint(const Figure& fig, int32_t index) {
  EXPECT_EQ(fig.points[index].name, "φ(P)");
  EXPECT_EQ(fig.points[index].marker, 1);
  EXPECT_EQ(fig.points[index].colour, 1);
  EXPECT_EQ(fig.points[index].locusColour, 1);
  return fig.points[index];
}

TEST(TransformMacros, LinearMapOnEmptyFigure) {
  Figure fig;
  BuildTransformMacro(fig, TransformMacro::kLinear);
  ExpectPoints(fig, 0,
               {{"P", 1, 1, -1, 1, 2, 2},
                {"O", 0, 0, 1, 0, 7, 0},
                {"P1", 1, 0, -1, 0, 7, 0},
                {"P2", 0, 1, -1, 0, 7, 0},
                {"Q1", 2, 1, -1, 0, 7, 0},
                {"Q2", 1, 2, -1, 0, 7, 0}});
  // Each free point is followed by its own step.
  EXPECT_EQ(Kinds(fig, 1), (std::vector<std::string>{"PNEW", "PNEW", "PNEW", "PNEW", "PNEW", "PNEW",
                                                     "L1", "L1", "L1", "L1", "PT5"}));
  for (int32_t s = 1; s <= 6; ++s) EXPECT_EQ(fig.Output(s, 1), testing::Pt(s));
  // O-P1, O-P2 green; O-Q1, O-Q2 red; all segments.
  const int32_t ends[4] = {3, 4, 5, 6};
  const int32_t colours[4] = {2, 2, 1, 1};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(fig.Parent(7 + k, 1), testing::Pt(2));
    EXPECT_EQ(fig.Parent(7 + k, 2), testing::Pt(ends[k]));
    EXPECT_EQ(fig.lines[k + 1].colour, colours[k]);
    EXPECT_EQ(fig.lines[k + 1].lineType, 1);
  }
  // O is not a parent of the map.
  const int32_t parents[5] = {1, 3, 4, 5, 6};
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(fig.Parent(11, k), testing::Pt(parents[k - 1]));
  EXPECT_EQ(fig.Output(11, 1), testing::Pt(7));
  const char* names[4] = {"A(1,1)", "A(1,2)", "A(2,1)", "A(2,2)"};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(fig.Output(11, k + 2), testing::Nm(k + 1));
    EXPECT_EQ(fig.numbers[k + 1].name, names[k]);
    EXPECT_EQ(fig.numbers[k + 1].hidden, 7);
  }
  EXPECT_EQ(fig.classCount[kClassPoint], 7);
  EXPECT_EQ(fig.classCount[kClassLine], 4);
  EXPECT_EQ(fig.classCount[kClassNumber], 4);

  RecomputeAll(fig);
  // (1, 1) = (1, 0) + (0, 1) goes to (2, 1) + (1, 2).
  const PointRec& image = ImagePoint(fig, 7);
  EXPECT_NEAR(image.x, 3, 1e-12);
  EXPECT_NEAR(image.y, 3, 1e-12);
}

TEST(TransformMacros, AffineMapIsATranslationAtFirst) {
  Figure fig;
  BuildTransformMacro(fig, TransformMacro::kAffine);
  ExpectPoints(fig, 0,
               {{"P", -2, 2, -1, 1, 2, 2},
                {"P1", -4, 0, -1, 0, 2, 0},
                {"P2", -3, 0, -1, 0, 2, 0},
                {"P3", -4, 1, -1, 0, 2, 0},
                {"Q1", 4, 0, -1, 0, 1, 0},
                {"Q2", 5, 0, -1, 0, 1, 0},
                {"Q3", 4, 1, -1, 0, 1, 0}});
  ASSERT_EQ(fig.StepCount(), 13);
  EXPECT_EQ(fig.KindCode(12), "PT6");
  EXPECT_EQ(fig.KindCode(13), "PT62");
  EXPECT_EQ(fig.Parent(12, 5), testing::Pt(5));
  EXPECT_EQ(fig.Parent(13, 1), testing::Pt(6));
  EXPECT_EQ(fig.Parent(13, 2), testing::Pt(7));
  EXPECT_TRUE(fig.Parent(13, 3).IsEmpty());
  EXPECT_EQ(fig.numbers[fig.Output(12, 5).index].name, "A(2,1)");
  EXPECT_EQ(fig.numbers[fig.Output(13, 1).index].name, "A(2,2)");
  EXPECT_EQ(fig.numbers[fig.Output(13, 5).index].name, "A(3,3)");
  EXPECT_EQ(fig.lines[3].colour, 1);
  EXPECT_EQ(fig.Parent(10, 1), testing::Pt(5));  // Q1-Q2
  RecomputeAll(fig);
  const PointRec& image = ImagePoint(fig, 8);
  EXPECT_NEAR(image.x, 6, 1e-9);
  EXPECT_NEAR(image.y, 2, 1e-9);
}

TEST(TransformMacros, ProjectiveMapOfTwoSquaresIsATranslation) {
  Figure fig;
  BuildTransformMacro(fig, TransformMacro::kProjective);
  ExpectPoints(fig, 0,
               {{"P", -2, 2, -1, 1, 2, 2},
                {"P1", -8, 0, -1, 1, 1, 0},
                {"P2", -4, 0, -1, 1, 2, 0},
                {"P3", -4, 4, -1, 1, 3, 0},
                {"P4", -8, 4, -1, 1, 4, 0},
                {"Q1", 2, 0, -1, 1, 1, 0},
                {"Q2", 6, 0, -1, 1, 2, 0},
                {"Q3", 6, 4, -1, 1, 3, 0},
                {"Q4", 2, 4, -1, 1, 4, 0}});
  ASSERT_EQ(fig.StepCount(), 11);
  EXPECT_EQ(fig.classCount[kClassLine], 0);
  EXPECT_EQ(fig.KindCode(10), "PT7");
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(fig.Parent(11, k), testing::Pt(5 + k));
  RecomputeAll(fig);
  // The unit squares (-8..-4) and (2..6) differ by a shift of 10.
  const PointRec& image = ImagePoint(fig, 10);
  EXPECT_NEAR(image.x, 8, 1e-9);
  EXPECT_NEAR(image.y, 2, 1e-9);
}

TEST(TransformMacros, SecondRunContinuesTheIndicesAndReusesTheNames) {
  Figure fig;
  const int32_t x = testing::FreePoint(fig, 9, 9);
  BuildTransformMacro(fig, TransformMacro::kLinear);
  BuildTransformMacro(fig, TransformMacro::kLinear);
  EXPECT_EQ(fig.classCount[kClassPoint], 1 + 14);
  EXPECT_EQ(fig.points[x + 7 + 1].name, "P");
  EXPECT_EQ(fig.points[x + 7 + 2].name, "O");
  EXPECT_EQ(fig.StepCount(), 1 + 22);
  // The second map reads the second set of points.
  EXPECT_EQ(fig.Parent(fig.StepCount(), 1), testing::Pt(x + 8));
  RecomputeAll(fig);
  EXPECT_NEAR(fig.points[fig.classCount[kClassPoint]].x, 3, 1e-12);
}

TEST(TransformMacros, OnlyDependentNumbersAreHidden) {
  Figure fig;
  const int32_t variable = testing::Variable(fig, 2);
  const int32_t measured = fig.AllocObject(kClassNumber);
  fig.numbers[measured].independent = 0;
  BuildTransformMacro(fig, TransformMacro::kLinear);
  EXPECT_EQ(fig.numbers[variable].hidden, 0);
  EXPECT_EQ(fig.numbers[measured].hidden, 7);
  EXPECT_EQ(fig.numbers[measured + 1].name, "A(1,1)");
}

}  // namespace
}  // namespace kv
