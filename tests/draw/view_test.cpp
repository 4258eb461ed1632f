// The view transform, the zoom commands with their limit, and the grid.
#include "draw/view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "draw/grid.h"
#include "draw/recording_canvas.h"

namespace kv {
namespace {

using Op = RecordingCanvas::Op;

TEST(View, OriginAtCanvasCentreWithYUp) {
  View v;
  v.SetScreen(201, 101);  // 200 x 100 pixel steps at 20 pixels per unit
  EXPECT_DOUBLE_EQ(v.HalfWidth, 5.0);
  EXPECT_DOUBLE_EQ(v.HalfHeight, 2.5);
  struct Case {
    double x, y, px, py;
  } cases[] = {{0, 0, 100, 50}, {-5, 2.5, 0, 0}, {5, -2.5, 200, 100}, {1, 1, 120, 30}};
  for (const Case& c : cases) {
    EXPECT_NEAR(v.DeviceX(c.x), c.px, 1e-9) << c.x;
    EXPECT_NEAR(v.DeviceY(c.y), c.py, 1e-9) << c.y;
    EXPECT_NEAR(v.WorldX(c.px), c.x, 1e-12);
    EXPECT_NEAR(v.WorldY(c.py), c.y, 1e-12);
  }
  EXPECT_TRUE(v.IsVisible(5, -2.5));
  EXPECT_FALSE(v.IsVisible(5.01, 0));
}

TEST(View, ResizeKeepsOriginCentredAndUnitSize) {
  View v;
  v.SetScreen(201, 101);
  v.SetScreen(401, 301);
  EXPECT_NEAR(v.DeviceX(0), 200, 1e-9);
  EXPECT_NEAR(v.DeviceY(0), 150, 1e-9);
  EXPECT_NEAR(v.DeviceX(1) - v.DeviceX(0), 20, 1e-9);
  // A minimised window reports no size; the view stays finite.
  v.SetScreen(0, 0);
  EXPECT_TRUE(std::isfinite(v.DeviceX(1)));
  EXPECT_GE(v.HalfWidth, 0);
}

TEST(View, ZoomInStopsAtTheLimitWithItsMessage) {
  View v;
  v.SetScreen(201, 101);
  std::string shown;
  int messages = 0;
  auto message = [&](std::string_view t) {
    shown = t;
    ++messages;
  };
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(v.ZoomIn(message));
  EXPECT_DOUBLE_EQ(v.ScaleUnit, 0.05 / 256);
  EXPECT_EQ(messages, 0);
  EXPECT_NEAR(v.HalfWidth, 200 * 0.05 / 256 / 2, 1e-15);
  EXPECT_FALSE(v.ZoomIn(message));
  EXPECT_EQ(messages, 1);
  EXPECT_EQ(shown, "そろそろ限界ですので,元の画面に戻します");
  EXPECT_DOUBLE_EQ(v.ScaleUnit, 0.05);
  EXPECT_DOUBLE_EQ(v.HalfWidth, 5.0);
}

TEST(View, ZoomOutDefaultAndComplex) {
  View v;
  v.SetScreen(201, 101);
  v.ZoomOut();
  EXPECT_DOUBLE_EQ(v.ScaleUnit, 0.1);
  EXPECT_DOUBLE_EQ(v.HalfWidth, 10.0);
  v.ZoomDefault();
  EXPECT_DOUBLE_EQ(v.ScaleUnit, 0.05);
  v.ZoomComplex();
  EXPECT_DOUBLE_EQ(v.ScaleUnit, 0.0125);
  EXPECT_NEAR(v.DeviceX(1) - v.DeviceX(0), 80, 1e-9);
  EXPECT_TRUE(v.axissw);
  // Zooming out again and again never makes the view infinite.
  for (int i = 0; i < 3000; ++i) v.ZoomOut();
  EXPECT_TRUE(std::isfinite(v.HalfWidth));
  EXPECT_TRUE(v.ZoomIn(nullptr));
  EXPECT_TRUE(std::isfinite(v.ScaleUnit));
}

// Stored colours are red + 256 green + 65536 blue; a value with the top bit set names a
// system colour (the button face, stored as -2147483633) and must not read as near black.
TEST(View, StoredColourValues) {
  struct Case {
    int64_t stored;
    Rgb colour;
  } cases[] = {{11184810, {170, 170, 170}},
               {197121, {1, 2, 3}},
               {16777215, {255, 255, 255}},
               {-2147483633, {240, 240, 240}},
               {-2147483643, {255, 255, 255}}};
  for (const Case& c : cases) {
    const Rgb read = FromColorRef(static_cast<uint32_t>(c.stored));
    EXPECT_EQ(read, c.colour) << c.stored;
    if (c.stored >= 0) {
      EXPECT_EQ(int64_t(ToColorRef(read)), c.stored);
    }
  }
}

TEST(Grid, OrthogonalLinesEveryUnitThenSolidAxes) {
  View v;
  v.SetScreen(201, 101);  // x in [-5, 5], y in [-2.5, 2.5]
  v.AxisColor = {128, 128, 128};
  RecordingCanvas canvas;
  DrawGrid(v, canvas);
  auto lines = canvas.Of(Op::kLine);
  ASSERT_EQ(lines.size(), 11u + 5u + 2u);
  for (int k = 0; k < 11; ++k) {  // x = -5 .. 5
    const auto* l = lines[k];
    EXPECT_NEAR(l->points[0].x, 20.0 * k, 1e-9);
    EXPECT_NEAR(l->points[1].x, 20.0 * k, 1e-9);
    EXPECT_NEAR(l->points[0].y, 100, 1e-9);  // from the bottom edge
    EXPECT_NEAR(l->points[1].y, 0, 1e-9);
    EXPECT_EQ(l->pen.style, LineStyle::kDotted);
    EXPECT_EQ(l->pen.width, 1);
    EXPECT_EQ(l->pen.colour, (Rgb{128, 128, 128}));
  }
  for (int k = 0; k < 5; ++k) {  // y = -2 .. 2
    EXPECT_NEAR(lines[11 + k]->points[0].y, 50 + 20.0 * (2 - k), 1e-9);
    EXPECT_NEAR(lines[11 + k]->points[0].x, 0, 1e-9);
    EXPECT_NEAR(lines[11 + k]->points[1].x, 200, 1e-9);
  }
  EXPECT_EQ(lines[16]->pen.style, LineStyle::kSolid);  // y axis
  EXPECT_NEAR(lines[16]->points[0].x, 100, 1e-9);
  EXPECT_EQ(lines[17]->pen.style, LineStyle::kSolid);  // x axis
  EXPECT_NEAR(lines[17]->points[0].y, 50, 1e-9);
}

TEST(Grid, PolarCirclesAndSevenRays) {
  View v;
  v.SetScreen(201, 101);
  v.AxisKind = kAxisPolar;
  RecordingCanvas canvas;
  DrawGrid(v, canvas);
  auto circles = canvas.Of(Op::kCircle);
  ASSERT_EQ(circles.size(), 10u);  // radii 1 .. int(2 * 5)
  for (size_t k = 0; k < circles.size(); ++k) {
    EXPECT_NEAR(circles[k]->radius, 20.0 * (k + 1), 1e-9);
    EXPECT_NEAR(circles[k]->points[0].x, 100, 1e-9);
    EXPECT_EQ(circles[k]->pen.style, LineStyle::kDotted);
  }
  auto rays = canvas.Of(Op::kLine);
  ASSERT_EQ(rays.size(), 7u);
  for (size_t k = 0; k < rays.size(); ++k) {
    const double angle = 3.14159265358979 / 6 * double(k);
    const double x = 15 * std::cos(angle), y = 15 * std::sin(angle);  // 3 x HalfWidth
    EXPECT_NEAR(rays[k]->points[0].x, (x + 5) * 20, 1e-6) << k;
    EXPECT_NEAR(rays[k]->points[0].y, (2.5 - y) * 20, 1e-6) << k;
    EXPECT_NEAR(rays[k]->points[1].x, (-x + 5) * 20, 1e-6) << k;
    EXPECT_EQ(rays[k]->pen.style, LineStyle::kDotted);
  }
}

TEST(Grid, FarZoomOutKeepsTheWorkBounded) {
  View v;
  v.SetScreen(801, 601);
  for (int i = 0; i < 30; ++i) v.ZoomOut();  // a world unit is far below a pixel
  for (int kind : {kAxisOrthogonal, kAxisPolar}) {
    v.AxisKind = kind;
    RecordingCanvas canvas;
    DrawGrid(v, canvas);
    EXPECT_LT(canvas.calls.size(), 4000u);
    EXPECT_GT(canvas.calls.size(), 300u);  // still a dense grid, one line per pixel or so
  }
}

}  // namespace
}  // namespace kv
