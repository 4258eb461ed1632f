#include "draw/recording_canvas.h"

namespace kv {

void RecordingCanvas::Clear(Rgb background) {
  calls.push_back(Call{Op::kClear, Pen{background}, {}, 0, {}, {}, 0});
}

void RecordingCanvas::Line(DevicePoint a, DevicePoint b, const Pen& pen) {
  calls.push_back(Call{Op::kLine, pen, {a, b}, 0, {}, {}, 0});
}

void RecordingCanvas::Polyline(std::span<const DevicePoint> points, const Pen& pen) {
  calls.push_back(Call{Op::kPolyline, pen, {points.begin(), points.end()}, 0, {}, {}, 0});
}

void RecordingCanvas::Circle(DevicePoint centre, double radius, const Pen& pen) {
  calls.push_back(Call{Op::kCircle, pen, {centre}, radius, {}, {}, 0});
}

void RecordingCanvas::Dot(DevicePoint p, Rgb colour, int width) {
  calls.push_back(Call{Op::kDot, Pen{colour, width}, {p}, 0, {}, {}, 0});
}

void RecordingCanvas::FillRect(DevicePoint corner1, DevicePoint corner2, Rgb colour) {
  calls.push_back(Call{Op::kFillRect, Pen{colour}, {corner1, corner2}, 0, {}, {}, 0});
}

void RecordingCanvas::Text(DevicePoint topLeft, std::string_view utf8, const TextStyle& style) {
  calls.push_back(Call{Op::kText,
                       Pen{style.colour},
                       {topLeft},
                       0,
                       std::string(utf8),
                       std::string(style.fontName),
                       style.fontSize});
}

std::vector<const RecordingCanvas::Call*> RecordingCanvas::Of(Op op) const {
  std::vector<const Call*> out;
  for (const Call& c : calls)
    if (c.op == op) out.push_back(&c);
  return out;
}

size_t RecordingCanvas::Count(Op op) const {
  size_t n = 0;
  for (const Call& c : calls) n += c.op == op;
  return n;
}

}  // namespace kv
