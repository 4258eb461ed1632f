// The canvas painted with QPainter (antialiased), used by the window and by image export, and
// the mapping of the font names the settings use to fonts installed on this machine.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPolygonF>
#include <QString>
#include <string>

#include "draw/canvas.h"

namespace kv {

// An installed font family for a font name from the settings: the name itself when it is
// installed; otherwise a Japanese-capable family of the same role — monospaced for
// "FixedSys" and the other fixed-pitch names, proportional sans for the rest
// ("ＭＳ Ｐゴシック").
QString CanvasFontFamily(const QString& name);
// A font of that family at `pointSize` (widgets and dialogs can use it too).
QFont CanvasFont(const QString& name, double pointSize);

class QtCanvas : public Canvas {
 public:
  // Paints on `painter`, whose device is width x height pixels at `dpi` dots per inch
  // (font sizes are in points).
  QtCanvas(QPainter& painter, int width, int height, double dpi = 96);

  void Clear(Rgb background) override;
  void Line(DevicePoint a, DevicePoint b, const Pen& pen) override;
  void Polyline(std::span<const DevicePoint> points, const Pen& pen) override;
  void Circle(DevicePoint centre, double radius, const Pen& pen) override;
  void Dot(DevicePoint p, Rgb colour, int width) override;
  void FillRect(DevicePoint corner1, DevicePoint corner2, Rgb colour) override;
  void Text(DevicePoint topLeft, std::string_view utf8, const TextStyle& style) override;
  double TextWidth(std::string_view utf8, const TextStyle& style) override;

 private:
  void UsePen(const Pen& pen, bool round = false);
  const QFont& FontFor(std::string_view name, double size);

  QPainter& painter_;
  int width_, height_;
  double dpi_;
  QFont font_;
  std::string fontName_;
  double fontSize_ = -1;
  Pen pen_;  // the pen last set on the painter, while penSet_
  bool penSet_ = false;
  bool penRound_ = false;
  QPolygonF poly_;  // reused by every polyline of a paint (clear keeps its capacity)
};

}  // namespace kv
