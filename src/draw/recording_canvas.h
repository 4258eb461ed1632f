// A canvas that records every call, so that tests can check what the renderer draws
// without a display.
#pragma once

#include <string>
#include <vector>

#include "draw/canvas.h"

namespace kv {

class RecordingCanvas : public Canvas {
 public:
  enum class Op { kClear, kLine, kPolyline, kCircle, kDot, kFillRect, kText };

  struct Call {
    Op op;
    Pen pen;                          // colour, width, style (Dot: colour and width)
    std::vector<DevicePoint> points;  // Line: 2; Polyline: all; Circle/Dot/Text: 1; Rect: 2
    double radius = 0;                // Circle
    std::string text;                 // Text
    std::string fontName;             // Text
    double fontSize = 0;              // Text
  };

  std::vector<Call> calls;

  void Clear(Rgb background) override;
  void Line(DevicePoint a, DevicePoint b, const Pen& pen) override;
  void Polyline(std::span<const DevicePoint> points, const Pen& pen) override;
  void Circle(DevicePoint centre, double radius, const Pen& pen) override;
  void Dot(DevicePoint p, Rgb colour, int width) override;
  void FillRect(DevicePoint corner1, DevicePoint corner2, Rgb colour) override;
  void Text(DevicePoint topLeft, std::string_view utf8, const TextStyle& style) override;

  // The calls of one kind, in order.
  std::vector<const Call*> Of(Op op) const;
  size_t Count(Op op) const;
};

}  // namespace kv
