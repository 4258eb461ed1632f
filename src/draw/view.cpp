#include "draw/view.h"

#include <cmath>

namespace kv {

void View::SetScreen(int width, int height) {
  // A minimised or not yet shown canvas reports no size; keep the view usable.
  widthPx = width < 1 ? 1 : width;
  heightPx = height < 1 ? 1 : height;
  HalfWidth = (widthPx - 1) * ScaleUnit / 2;
  HalfHeight = (heightPx - 1) * ScaleUnit / 2;
}

bool View::IsVisible(double x, double y) const {
  return std::fabs(x) <= HalfWidth && std::fabs(y) <= HalfHeight;
}

void View::ZoomDefault() {
  ScaleUnit = kDefaultScaleUnit;
  SetScreen();
}

bool View::ZoomIn(const ViewMessage& message) {
  ScaleUnit /= 2;
  bool ok = true;
  if (ScaleUnit < kZoomLimit) {
    if (message) message(kZoomLimitMessage);
    ScaleUnit = kDefaultScaleUnit;
    ok = false;
  }
  SetScreen();
  return ok;
}

void View::ZoomOut() {
  // Doubling has no designed limit, but past the largest double the view would become
  // infinite and could never zoom back; stop one step short of that.
  double next = ScaleUnit * 2;
  if (std::isfinite(next * 1e6)) ScaleUnit = next;
  SetScreen();
}

void View::ZoomComplex() {
  ScaleUnit = kDefaultScaleUnit / 2 / 2;
  SetScreen();
  axissw = true;
}

void View::ShowAxes(int kind) {
  AxisKind = kind == kAxisPolar ? kAxisPolar : kAxisOrthogonal;
  axissw = true;
}

void View::SetAxisColorPreset(int preset) {
  switch (preset) {
    case 2:
      AxisColor = kAxisColorMedium;
      break;
    case 3:
      AxisColor = kAxisColorDark;
      break;
    default:
      AxisColor = kAxisColorLight;
      break;
  }
}

}  // namespace kv
