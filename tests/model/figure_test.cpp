#include "model/figure.h"

#include <gtest/gtest.h>

#include "geometry/recompute.h"

namespace kv {
namespace {

TEST(Figure, NewFigureSetsDocumentedBoundsAndDefaultNames) {
  Figure fig;
  EXPECT_EQ(fig.UpperBound(kClassNumber), 50);
  EXPECT_EQ(fig.UpperBound(kClassPoint), 50);
  EXPECT_EQ(fig.UpperBound(kClassLine), 50);
  EXPECT_EQ(fig.UpperBound(kClassCircle), 50);
  EXPECT_EQ(fig.prevPoints.size(), 51u);
  EXPECT_EQ(fig.stepKind.size(), 101u);
  EXPECT_EQ(fig.stepParents.size(), 101u);
  EXPECT_EQ(fig.angleMarks.size(), 51u);
  EXPECT_EQ(fig.stepCount, 0);
  for (int c = 0; c <= 10; ++c) EXPECT_EQ(fig.classCount[c], 0);
  EXPECT_EQ(fig.points[1].name, "A");
  EXPECT_EQ(fig.points[3].name, "C");
  EXPECT_EQ(fig.points[26].name, "Z");
  EXPECT_EQ(fig.points[27].name, "27");
  EXPECT_EQ(fig.lines[1].name, "1");
  EXPECT_EQ(fig.circles[12].name, "12");
  EXPECT_EQ(fig.numbers[1].name, "");
  EXPECT_EQ(fig.points[5].colour, 7);
  EXPECT_TRUE(fig.angleMarksOn);
}

}  // namespace
}  // namespace kv
