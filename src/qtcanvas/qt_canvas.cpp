#include "qtcanvas/qt_canvas.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace kv {

namespace {

constexpr const char* kProportionalFallback = "Noto Sans CJK JP";
constexpr const char* kMonospacedFallback = "Noto Sans Mono CJK JP";

// Device coordinates name pixel centres; QPainter's pixel i spans [i, i + 1].
QPointF At(DevicePoint p) { return QPointF(p.x + 0.5, p.y + 0.5); }
QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

bool IsFixedPitchName(const QString& name) {
  static const char* const kFixed[] = {
      "fixedsys",    "terminal",  "ｍｓ ゴシック", "ms gothic",      "courier",
      "courier new", "ｍｓ 明朝", "ms mincho",     "lucida console", "consolas"};
  const QString lower = name.trimmed().toLower();
  for (const char* f : kFixed)
    if (lower == QString::fromUtf8(f)) return true;
  return false;
}

// Clips the segment a-b to the rectangle [lo, hi] (Liang-Barsky). False when nothing is left.
bool ClipSegment(DevicePoint& a, DevicePoint& b, double loX, double loY, double hiX, double hiY) {
  double t0 = 0, t1 = 1;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - loX, hiX - a.x, a.y - loY, hiY - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const DevicePoint start{a.x + t0 * dx, a.y + t0 * dy};
  b = {a.x + t1 * dx, a.y + t1 * dy};
  a = start;
  return true;
}

}  // namespace

QString CanvasFontFamily(const QString& name) {
  const QStringList families = QFontDatabase::families();
  if (!name.trimmed().isEmpty() && families.contains(name.trimmed(), Qt::CaseInsensitive))
    return name.trimmed();
  const QString fallback =
      QString::fromUtf8(IsFixedPitchName(name) ? kMonospacedFallback : kProportionalFallback);
  if (families.contains(fallback)) return fallback;
  // Without the Japanese fonts, let the font system choose one of the role.
  return IsFixedPitchName(name) ? QStringLiteral("Monospace") : QStringLiteral("Sans Serif");
}

QFont CanvasFont(const QString& name, double pointSize) {
  QFont font(CanvasFontFamily(name));
  font.setStyleHint(IsFixedPitchName(name) ? QFont::Monospace : QFont::SansSerif);
  if (pointSize > 0) font.setPointSizeF(pointSize);
  return font;
}

QtCanvas::QtCanvas(QPainter& painter, int width, int height, double dpi)
    : painter_(painter), width_(width), height_(height), dpi_(dpi > 0 ? dpi : 96) {
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

// Round caps and joins send every thick stroke through the painter's slow stroker; lines and
// circles look the same with square caps and mitred joins. Dotted rules keep round caps (their
// dots are the caps) and so do freehand strokes, whose corners would show.
void QtCanvas::UsePen(const Pen& pen, bool round) {
  round = round || pen.style == LineStyle::kDotted;
  // Consecutive objects of one style share the pen already set.
  if (penSet_ && round == penRound_ && pen.width == pen_.width && pen.style == pen_.style &&
      pen.colour == pen_.colour)
    return;
  QPen qpen(ToQColor(pen.colour));
  qpen.setWidthF(pen.width < 1 ? 1 : pen.width);
  if (pen.width <= 1)
    qpen.setCapStyle(Qt::FlatCap);
  else
    qpen.setCapStyle(round ? Qt::RoundCap : Qt::SquareCap);
  qpen.setJoinStyle(round ? Qt::RoundJoin : Qt::MiterJoin);
  if (pen.style == LineStyle::kDotted) qpen.setDashPattern({1.0, 2.0});
  painter_.setPen(qpen);
  painter_.setBrush(Qt::NoBrush);
  pen_ = pen;
  penRound_ = round;
  penSet_ = true;
}

void QtCanvas::Clear(Rgb background) {
  painter_.fillRect(QRectF(0, 0, width_, height_), ToQColor(background));
}

void QtCanvas::Line(DevicePoint a, DevicePoint b, const Pen& pen) {
  // Straight lines reach far beyond the canvas; clip them so that the painter never deals
  // with huge coordinates or lays dots along millions of pixels.
  const double margin = 4.0 + pen.width;
  if (!ClipSegment(a, b, -margin, -margin, width_ + margin, height_ + margin)) return;
  UsePen(pen);
  painter_.drawLine(At(a), At(b));
}

void QtCanvas::Polyline(std::span<const DevicePoint> points, const Pen& pen) {
  if (points.size() < 2) return;
  UsePen(pen, true);
  poly_.clear();
  for (const DevicePoint& p : points) poly_ << At(p);
  painter_.drawPolyline(poly_);
}

void QtCanvas::Circle(DevicePoint centre, double radius, const Pen& pen) {
  if (!(radius >= 0) || !std::isfinite(radius)) return;
  const double vx = width_ / 2.0, vy = height_ / 2.0;
  const double diag = std::hypot(width_, height_) / 2 + 4 + pen.width;
  const double dist = std::hypot(centre.x - vx, centre.y - vy);
  // Circles that miss the canvas, or enclose it without crossing it, leave nothing visible.
  if (dist > radius + diag || radius > dist + diag) return;
  UsePen(pen);
  if (radius < 4.0 * (width_ + height_)) {
    painter_.drawEllipse(At(centre), radius, radius);
    return;
  }
  // A huge circle: draw only the arc near the canvas, as a polyline fine enough to look round.
  const double phi0 = std::atan2(vy - centre.y, vx - centre.x);
  double c = (radius * radius + dist * dist - diag * diag) / (2 * radius * std::max(dist, 1e-9));
  c = std::clamp(c, -1.0, 1.0);
  const double span = std::acos(c);
  const double step = 2 * std::sqrt(2 * 0.2 / radius);
  const int n = std::clamp(int(std::ceil(2 * span / step)), 2, 20000);
  poly_.clear();
  for (int i = 0; i <= n; ++i) {
    const double phi = phi0 - span + 2 * span * i / n;
    poly_ << At({centre.x + radius * std::cos(phi), centre.y + radius * std::sin(phi)});
  }
  painter_.drawPolyline(poly_);
}

void QtCanvas::Dot(DevicePoint p, Rgb colour, int width) {
  penSet_ = false;
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(ToQColor(colour));
  if (width <= 1) {
    // One device pixel is a speck on a dense screen; there the dot covers at least two.
    const QPaintDevice* device = painter_.device();
    const double ratio = device ? device->devicePixelRatioF() : 1.0;
    const double size = ratio >= 1.5 || dpi_ >= 144 ? std::max(1.0, 2.0 / ratio) : 1.0;
    painter_.fillRect(QRectF(std::floor(p.x + 0.5), std::floor(p.y + 0.5), size, size),
                      ToQColor(colour));
    return;
  }
  painter_.drawEllipse(At(p), width / 2.0, width / 2.0);
}

void QtCanvas::FillRect(DevicePoint corner1, DevicePoint corner2, Rgb colour) {
  const double x0 = std::min(corner1.x, corner2.x), x1 = std::max(corner1.x, corner2.x);
  const double y0 = std::min(corner1.y, corner2.y), y1 = std::max(corner1.y, corner2.y);
  // Both corner pixels are covered.
  painter_.fillRect(QRectF(x0, y0, x1 - x0 + 1, y1 - y0 + 1), ToQColor(colour));
}

const QFont& QtCanvas::FontFor(std::string_view name, double size) {
  if (size != fontSize_ || name != fontName_) {
    fontName_.assign(name);
    fontSize_ = size;
    font_ = CanvasFont(QString::fromUtf8(name.data(), qsizetype(name.size())), 0);
    font_.setPixelSize(std::max(1, int(std::lround(size * dpi_ / 72))));
  }
  return font_;
}

void QtCanvas::Text(DevicePoint topLeft, std::string_view utf8, const TextStyle& style) {
  if (utf8.empty()) return;
  const QFont& font = FontFor(style.fontName, style.fontSize);
  painter_.setFont(font);
  penSet_ = false;
  painter_.setPen(ToQColor(style.colour));
  const QFontMetricsF metrics(font);
  painter_.drawText(QPointF(topLeft.x, topLeft.y + metrics.ascent()),
                    QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

double QtCanvas::TextWidth(std::string_view utf8, const TextStyle& style) {
  const QFontMetricsF metrics(FontFor(style.fontName, style.fontSize));
  return metrics.horizontalAdvance(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

}  // namespace kv
