// The full antialiased repaint through Renderer and QtCanvas against a naive QPainter loop
// that draws the same lines, circles, points and labels, in the same run, on the same image.
// Built only where Qt is; `kvbench` prints the figures with the other engine ratios.
#include "repaint_ratio.h"

#ifdef KV_BENCH_QT

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "draw/recording_canvas.h"
#include "draw/renderer.h"
#include "figure_generator.h"
#include "geometry/recompute.h"
#include "paint_scene.h"
#include "qtcanvas/qt_canvas.h"

namespace kv::bench {
namespace {

constexpr int kWidth = 1000, kHeight = 700;

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <typename F>
double BestSeconds(int repeats, F&& f) {
  double best = 1e300;
  for (int r = 0; r < repeats; ++r) {
    const double start = ThreadSeconds();
    f();
    best = std::min(best, ThreadSeconds() - start);
  }
  return best;
}

QColor ToColour(Rgb c) { return QColor(c.r, c.g, c.b); }

// What a programmer would write first: every recorded call straight to QPainter, a new pen
// only when the colour or width changes, the painter's own defaults otherwise.
void PaintNaively(const RecordingCanvas& recorded, QImage& image) {
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  QFont font(QStringLiteral("Sans Serif"));
  font.setPixelSize(12);
  painter.setFont(font);
  Pen current{{1, 2, 3}, -1, LineStyle::kSolid};
  auto usePen = [&](const Pen& pen) {
    if (pen.colour == current.colour && pen.width == current.width && pen.style == current.style)
      return;
    QPen qpen(ToColour(pen.colour));
    qpen.setWidth(std::max(1, pen.width));
    if (pen.style == LineStyle::kDotted) qpen.setStyle(Qt::DotLine);
    painter.setPen(qpen);
    painter.setBrush(Qt::NoBrush);
    current = pen;
  };
  for (const RecordingCanvas::Call& call : recorded.calls) {
    const auto at = [&](size_t i) { return QPointF(call.points[i].x, call.points[i].y); };
    switch (call.op) {
      case RecordingCanvas::Op::kClear:
        painter.fillRect(image.rect(), ToColour(call.pen.colour));
        break;
      case RecordingCanvas::Op::kLine:
        usePen(call.pen);
        painter.drawLine(at(0), at(1));
        break;
      case RecordingCanvas::Op::kPolyline:
        usePen(call.pen);
        for (size_t i = 1; i < call.points.size(); ++i) painter.drawLine(at(i - 1), at(i));
        break;
      case RecordingCanvas::Op::kCircle:
        usePen(call.pen);
        painter.drawEllipse(at(0), call.radius, call.radius);
        break;
      case RecordingCanvas::Op::kDot:
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToColour(call.pen.colour));
        painter.drawEllipse(at(0), call.pen.width / 2.0, call.pen.width / 2.0);
        current.width = -1;
        break;
      case RecordingCanvas::Op::kFillRect:
        painter.fillRect(QRectF(at(0), at(1)), ToColour(call.pen.colour));
        break;
      case RecordingCanvas::Op::kText:
        painter.setPen(ToColour(call.pen.colour));
        painter.drawText(at(0), QString::fromUtf8(call.text.data(), qsizetype(call.text.size())));
        current.width = -1;
        break;
    }
  }
}

}  // namespace

void ReportRepaintRatio() {
  int argc = 1;
  char name[] = "kvbench";
  char* argv[] = {name, nullptr};
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  // 770 groups in rows of 33 cells of 10 units: 330 x 240 units, shown whole at 0.35 units
  // per pixel.
  Figure fig = GenerateFigure(10000, 1, 33);
  RecomputeAll(fig);
  View view;
  view.ScaleUnit = 0.35;
  view.SetScreen(kWidth, kHeight);
  view.HalfWidth = 5, view.HalfHeight = kHeight * view.ScaleUnit - 5;
  DrawSettings settings;
  settings.drawWidth = 2;
  const Scene scene = FigureScene(fig, view, settings);
  Renderer renderer;

  RecordingCanvas recorded;
  renderer.Paint(scene, recorded);
  QImage engineImage(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  QImage naiveImage(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  auto engine = [&] {
    QPainter painter(&engineImage);
    QtCanvas canvas(painter, kWidth, kHeight);
    renderer.Paint(scene, canvas);
  };
  auto naive = [&] { PaintNaively(recorded, naiveImage); };
  engine();
  naive();
  // KV_BENCH_SAVE=file.png keeps the engine's picture, to see what was measured.
  if (!qgetenv("KV_BENCH_SAVE").isEmpty())
    engineImage.save(QString::fromLocal8Bit(qgetenv("KV_BENCH_SAVE")));
  double engineTime = 1e300, naiveTime = 1e300;
  for (int round = 0; round < 3; ++round) {
    naiveTime = std::min(naiveTime, BestSeconds(2, naive));
    engineTime = std::min(engineTime, BestSeconds(2, engine));
  }
  const int objects = ObjectCount(fig);
  std::printf(
      "repaint %dx%d at 2 px, %d objects (%zu lines, %zu circles, %zu dots, %zu texts): "
      "Renderer+QtCanvas %.1f ms, naive QPainter loop %.1f ms, x%.2f\n",
      kWidth, kHeight, objects, recorded.Count(RecordingCanvas::Op::kLine),
      recorded.Count(RecordingCanvas::Op::kCircle), recorded.Count(RecordingCanvas::Op::kDot),
      recorded.Count(RecordingCanvas::Op::kText), engineTime * 1e3, naiveTime * 1e3,
      engineTime / naiveTime);
}

}  // namespace kv::bench

#else

namespace kv::bench {
void ReportRepaintRatio() {}
}  // namespace kv::bench

#endif
