#include "draw/grid.h"

#include <cmath>

#include "geometry/primitives.h"

namespace kv {

namespace {

// When a world unit is smaller than a pixel, dotted lines one unit apart would cover every
// pixel anyway; drawing only every k-th of them gives the same picture with bounded work.
double GridStep(const View& view) {
  double step = std::floor(view.ScaleUnit);
  return step < 1 ? 1 : step;
}

// Integer part of a half extent, as a double so that huge views cannot overflow an int.
double IntegerPart(double v) { return std::trunc(v); }

}  // namespace

void DrawGrid(const View& view, Canvas& canvas) {
  const double hw = view.HalfWidth, hh = view.HalfHeight;
  if (!std::isfinite(hw) || !std::isfinite(hh) || view.ScaleUnit <= 0) return;
  const Pen dotted{view.AxisColor, 1, LineStyle::kDotted};
  const double step = GridStep(view);

  if (view.AxisKind != kAxisPolar) {
    const double nx = IntegerPart(hw), ny = IntegerPart(hh);
    for (double i = -std::floor(nx / step) * step; i <= nx; i += step)
      canvas.Line(view.ToDevice(i, -hh), view.ToDevice(i, hh), dotted);
    for (double j = -std::floor(ny / step) * step; j <= ny; j += step)
      canvas.Line(view.ToDevice(-hw, j), view.ToDevice(hw, j), dotted);
    const Pen solid{view.AxisColor, 1, LineStyle::kSolid};
    canvas.Line(view.ToDevice(0, -hh), view.ToDevice(0, hh), solid);
    canvas.Line(view.ToDevice(-hw, 0), view.ToDevice(hw, 0), solid);
    return;
  }

  const DevicePoint origin = view.ToDevice(0, 0);
  const double maxRadius = IntegerPart(2 * hw);
  for (double r = step; r <= maxRadius; r += step)
    canvas.Circle(origin, r / view.ScaleUnit, dotted);
  double x = 3 * hw, y = 0;
  const double c = std::cos(kPi / 6), s = std::sin(kPi / 6);
  for (int k = 0; k < 7; ++k) {
    canvas.Line(view.ToDevice(x, y), view.ToDevice(-x, -y), dotted);
    const double nx = x * c - y * s;
    y = x * s + y * c;
    x = nx;
  }
}

}  // namespace kv
