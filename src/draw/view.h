// The view onto the world plane: the canvas is always centred on the world origin, y up, and
// scaled by ScaleUnit world units per pixel. Also the zoom commands and the grid settings.
#pragma once

#include <functional>
#include <string_view>

#include "draw/canvas.h"

namespace kv {

constexpr double kDefaultScaleUnit = 0.05;  // 20 pixels per world unit
constexpr double kZoomLimit = 0.0001;       // zooming in below this returns to the default
constexpr Rgb kAxisColorLight{170, 170, 170};
constexpr Rgb kAxisColorMedium{128, 128, 128};
constexpr Rgb kAxisColorDark{10, 10, 10};

// Shown when zooming in goes past the limit; the caller translates it.
inline constexpr std::string_view kZoomLimitMessage = "そろそろ限界ですので,元の画面に戻します";

enum AxisKindCode : int { kAxisOrthogonal = 0, kAxisPolar = 1 };

// Shows a message with an OK button (the window passes its message box).
using ViewMessage = std::function<void(std::string_view)>;

class View {
 public:
  double ScaleUnit = kDefaultScaleUnit;
  double HalfWidth = 0, HalfHeight = 0;
  int widthPx = 1, heightPx = 1;  // canvas client size

  bool axissw = false;
  int AxisKind = kAxisOrthogonal;
  Rgb AxisColor = kAxisColorLight;

  // Takes the canvas client size in pixels and derives the visible half extents.
  void SetScreen(int width, int height);
  // The same after a change of ScaleUnit.
  void SetScreen() { SetScreen(widthPx, heightPx); }

  // Pixel centres run from 0 at the left edge (x = -HalfWidth) to width - 1 at the right edge
  // (x = +HalfWidth); y from 0 at the top (+HalfHeight) to height - 1 at the bottom.
  double DeviceX(double x) const { return (x + HalfWidth) / ScaleUnit; }
  double DeviceY(double y) const { return (HalfHeight - y) / ScaleUnit; }
  DevicePoint ToDevice(double x, double y) const { return {DeviceX(x), DeviceY(y)}; }
  double WorldX(double px) const { return px * ScaleUnit - HalfWidth; }
  double WorldY(double py) const { return HalfHeight - py * ScaleUnit; }
  double PixelsToWorld(double pixels) const { return pixels * ScaleUnit; }
  bool IsVisible(double x, double y) const;

  // Zoom commands; each ends with SetScreen. The caller recomputes and repaints.
  void ZoomDefault();
  // Returns false when the limit was passed: `message` was shown and the zoom reset.
  bool ZoomIn(const ViewMessage& message);
  void ZoomOut();
  void ZoomComplex();  // 80 pixels per unit and the axes on

  // Axis commands. The repaint shows the result; nothing is drawn here.
  void ToggleAxes() { axissw = !axissw; }
  void ShowAxes(int kind);  // orthogonal or polar grid, switched on
  // Presets 1 light (standard), 2 medium, 3 dark grey.
  void SetAxisColorPreset(int preset);
};

}  // namespace kv
