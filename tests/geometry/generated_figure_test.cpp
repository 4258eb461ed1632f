// The benchmark figures recomputed as a whole: every kind of the mix checked against the
// textbook value of its group.
#include <gtest/gtest.h>

#include <cmath>

#include "../../bench/figure_generator.h"
#include "geometry/recompute.h"

namespace kv {
namespace {

TEST(GeneratedFigure, EveryGroupComputesItsTextbookValues) {
  Figure fig = bench::GenerateFigure(20 * bench::kGroupSteps + 5);  // ends in a partial group
  RecomputeAll(fig);
  EXPECT_EQ(fig.pass.passCount, 1);
  auto out = [&](int32_t s, int k = 1) { return fig.Output(s, k).index; };
  for (int32_t first = 1; first + bench::kGroupSteps - 1 <= fig.StepCount();
       first += bench::kGroupSteps) {
    const PointRec &a = fig.points[out(first)], &b = fig.points[out(first + 1)],
                   &c = fig.points[out(first + 2)], &m = fig.points[out(first + 3)];
    EXPECT_DOUBLE_EQ(m.x, (a.x + b.x) / 2);
    EXPECT_DOUBLE_EQ(m.y, (a.y + b.y) / 2);
    const PointRec& cross = fig.points[out(first + 7)];  // AB meets the median CM in M
    EXPECT_NEAR(cross.x, m.x, 1e-9);
    EXPECT_NEAR(cross.y, m.y, 1e-9);
    const CircleRec& circle = fig.circles[out(first + 8)];
    for (const PointRec* p : {&a, &b, &c})
      EXPECT_NEAR(std::hypot(p->x - circle.cx, p->y - circle.cy), circle.radius, 1e-9);
    // The line AB meets the circle through A and B in A and B.
    const PointRec &q1 = fig.points[out(first + 9)], &q2 = fig.points[out(first + 9, 2)];
    EXPECT_NEAR(std::min(std::hypot(q1.x - a.x, q1.y - a.y), std::hypot(q2.x - a.x, q2.y - a.y)), 0,
                1e-6);
    const double d = std::hypot(b.x - a.x, b.y - a.y);
    EXPECT_DOUBLE_EQ(fig.numbers[out(first + 10)].value, d);
    const double angle = std::acos(((a.x - b.x) * (c.x - b.x) + (a.y - b.y) * (c.y - b.y)) /
                                   (d * std::hypot(c.x - b.x, c.y - b.y))) *
                         180 / 3.14159265358979;
    EXPECT_NEAR(fig.numbers[out(first + 11)].value, angle, 1e-9);
    EXPECT_NEAR(fig.numbers[out(first + 12)].value, d + angle / d, 1e-9);
    for (int32_t s = first; s < first + bench::kGroupSteps; ++s)
      EXPECT_NE(fig.GetValid(fig.Output(s, 1)), 0) << "step " << s;
  }
}

}  // namespace
}  // namespace kv
