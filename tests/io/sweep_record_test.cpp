#include "io/sweep_record.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "figure_builder.h"

namespace kv {
namespace {

using namespace kv::testing;

std::vector<std::string> Split(const std::string& text, char by) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, by)) parts.push_back(part);
  return parts;
}

TEST(SweepRecord, GridOfTenPixelsOverTheCanvas) {
  const SweepGrid grid = SweepGridFor(0.05, 20.0, 14.99);
  EXPECT_DOUBLE_EQ(grid.spacing, 0.5);
  EXPECT_EQ(grid.nx, 40);
  EXPECT_EQ(grid.ny, 29);
}

// The distance from the swept point A to B(3, 4) at each grid position, and A put back.
TEST(SweepRecord, TableOfTheNumberOverTheGrid) {
  Figure fig;
  const int32_t a = FreePoint(fig, 0.2, 0.1);
  const int32_t b = FreePoint(fig, 3, 4);
  const int32_t d = fig.AllocObject(kClassNumber);
  fig.AppendStep("ND2P", {Pt(a), Pt(b)}, {Nm(d)});
  fig.numbers[d].name = "AB";
  fig.points[a].name = "A";
  RecomputeAll(fig);
  const SweepGrid grid = SweepGridFor(0.05, 1.0, 0.5);  // x -1..1, y -0.5..0.5 by 0.5
  ASSERT_EQ(grid.nx, 2);
  ASSERT_EQ(grid.ny, 1);

  const std::string text = RunPlaneSweep(fig, a, d, grid, nullptr, "figures/fig.kv4");
  const auto lines = Split(text, '\n');
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "ﾃﾞｰﾀ形式,1");
  EXPECT_EQ(lines[1], "KV file : figures/fig.kv4");
  EXPECT_EQ(lines[2], "点Aを平面内を動かしたときの次の変数の変化 : AB");
  EXPECT_EQ(lines[3], ",-1,-0.5,0,0.5,1");
  const double ys[] = {0.5, 0, -0.5};
  for (int row = 0; row < 3; ++row) {
    const auto cells = Split(lines[4 + row], ',');
    ASSERT_EQ(cells.size(), 6u) << lines[4 + row];
    EXPECT_DOUBLE_EQ(std::stod(cells[0]), ys[row]);
    for (int col = 0; col < 5; ++col) {
      const double x = -1 + 0.5 * col;
      EXPECT_NEAR(std::stod(cells[col + 1]), std::hypot(3 - x, 4 - ys[row]), 1e-12);
    }
  }
  ExpectAt(fig.points[a], 0.2, 0.1);
  EXPECT_NEAR(fig.numbers[d].value, std::hypot(2.8, 3.9), 1e-12);

  // Without a number nothing is written, but the point still goes round and comes back.
  EXPECT_EQ(RunPlaneSweep(fig, a, 0, grid, nullptr, "x"), "");
  ExpectAt(fig.points[a], 0.2, 0.1);
}

}  // namespace
}  // namespace kv
