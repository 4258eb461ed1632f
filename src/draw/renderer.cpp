#include "draw/renderer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "draw/grid.h"
#include "draw/number_text.h"
#include "geometry/primitives.h"

namespace kv {

namespace {

constexpr double kFarLimit = 1000;  // points and circles beyond this are not drawn
constexpr int kColourBlack = 7;
constexpr int kColourRed = 1;
constexpr int kColourGreen = 2;
constexpr int kColourBlue = 4;
constexpr int kColourDotted = 3;           // lines and circles: dotted black at width 1
constexpr double kArrowLength = 10;        // pixels
constexpr double kStraightLineReach = 15;  // straight lines reach 15 half widths each way
constexpr Rgb kRingGreen{0, 255, 0};

struct Ctx {
  Canvas& canvas;
  const View& view;
  const DrawSettings& settings;
  DrawMetrics metrics;
  PaintReport& report;
};

bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

Rgb ColourOf(Ctx& c, int index) {
  Rgb out;
  if (!PaletteColour(c.settings, index, out) && c.report.badColourIndex < 0)
    c.report.badColourIndex = index;
  return out;
}

int32_t CountOf(const Figure& fig, int cls, size_t tableSize) {
  int32_t n = fig.classCount[cls];
  int32_t room = int32_t(tableSize) - 1;
  return n < 0 ? 0 : std::min(n, room);
}

void DrawPointShape(Ctx& c, const PointRec& p, int colourIndex, int marker, int width) {
  if (!p.valid || !Finite(p.x, p.y)) return;
  if (std::fabs(p.x) > kFarLimit || std::fabs(p.y) > kFarLimit) return;
  if (marker >= 10 && marker <= 17 && colourIndex == 0) colourIndex = kColourRed;
  // Drawing in the background colour would only erase; the repaint has nothing to erase.
  if (colourIndex == 0) return;
  const Rgb col = ColourOf(c, colourIndex);
  const DevicePoint d = c.view.ToDevice(p.x, p.y);
  const double m = c.metrics.markerHalf;
  // A marker wholly outside the canvas leaves nothing to see.
  const double reach = m + width + 2;
  if (d.x < -reach || d.y < -reach || d.x > c.view.widthPx + reach || d.y > c.view.heightPx + reach)
    return;
  const Pen pen{col, width, LineStyle::kSolid};
  Canvas& cv = c.canvas;
  switch (marker) {
    case 0:
      cv.Dot(d, col, width);
      break;
    case 1:
      cv.Line({d.x + m, d.y - m}, {d.x - m, d.y + m}, pen);
      cv.Line({d.x + m, d.y + m}, {d.x - m, d.y - m}, pen);
      break;
    case 2:
      cv.Circle(d, m - 1, pen);
      break;
    case 3: {
      const DevicePoint square[5] = {{d.x - m, d.y + m},
                                     {d.x + m, d.y + m},
                                     {d.x + m, d.y - m},
                                     {d.x - m, d.y - m},
                                     {d.x - m, d.y + m}};
      cv.Polyline(square, pen);
      break;
    }
    case 4:
      cv.FillRect({d.x - m, d.y + m}, {d.x + m, d.y - m}, col);
      break;
    case 5:
      cv.Line({d.x, d.y - m}, {d.x - m, d.y + m}, pen);
      cv.Line({d.x, d.y - m}, {d.x + m, d.y + m}, pen);
      cv.Line({d.x + m, d.y + m}, {d.x - m, d.y + m}, pen);
      break;
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
      cv.Dot(d, col, width);
      break;
    case 20:
      cv.Circle(d, m / 2, pen);
      cv.Circle(d, m, pen);
      break;
    case 21:
      cv.Circle(d, m / 2, pen);
      break;
    case 22:
      cv.Circle(d, m, pen);
      cv.Line({d.x, d.y - m}, {d.x, d.y + m}, pen);
      cv.Line({d.x - m, d.y}, {d.x + m, d.y}, pen);
      break;
    case 23:
      cv.Circle(d, m, pen);
      cv.Line({d.x - m, d.y}, {d.x + m, d.y}, pen);
      break;
    case 30:
      if (p.colour != 0) {
        cv.Circle(d, m, Pen{kRingGreen, width, LineStyle::kSolid});
        cv.Circle(d, m * 0.7, Pen{kBlack, width, LineStyle::kSolid});
        cv.Circle(d, m * 0.4, Pen{kRingGreen, width, LineStyle::kSolid});
      }
      break;
    default:
      break;  // markers without a shape
  }
}

// The pen of a line or circle: colour 3 at width 1 is dotted black. The colour being drawn
// decides, so that a forced highlight colour still shows on a line whose own colour is 3.
Pen CurvePen(Ctx& c, int colourIndex, int width) {
  if (width == 1 && colourIndex == kColourDotted)
    return Pen{ColourOf(c, kColourBlack), 1, LineStyle::kDotted};
  return Pen{ColourOf(c, colourIndex), width, LineStyle::kSolid};
}

void Arrowhead(Ctx& c, Vec2 tip, Vec2 other, const Pen& linePen) {
  Vec2 u{other.x - tip.x, other.y - tip.y};
  double len = std::hypot(u.x, u.y);
  if (!(len > 0)) return;  // no direction to point along
  u.x /= len;
  u.y /= len;
  const Vec2 n{-u.y, u.x};
  const double a = kArrowLength * c.view.ScaleUnit;
  const Pen pen{linePen.colour, linePen.width, LineStyle::kSolid};
  const DevicePoint t = c.view.ToDevice(tip.x, tip.y);
  c.canvas.Line(t, c.view.ToDevice(tip.x + a * (u.x + n.x / 2), tip.y + a * (u.y + n.y / 2)), pen);
  c.canvas.Line(t, c.view.ToDevice(tip.x + a * (u.x - n.x / 2), tip.y + a * (u.y - n.y / 2)), pen);
}

void DrawLineShape(Ctx& c, const LineRec& g, int colourIndex, int width) {
  if (!g.valid || colourIndex == 0) return;
  if (!Finite(g.x1, g.y1) || !Finite(g.x2, g.y2) || !Finite(g.dx, g.dy)) return;
  if (g.lineType < kLineStraight || g.lineType > kLastLineType) return;
  const Pen pen = CurvePen(c, colourIndex, width);
  const Vec2 p{g.x1, g.y1}, q{g.x2, g.y2};
  // Straight lines and half-lines reach 15 half widths beyond their defining point, far past
  // the canvas edges, plus that point's distance from the origin: zoomed in on a detail, a
  // line whose points lie off the canvas still crosses it.
  const double reach = kStraightLineReach * c.view.HalfWidth;
  const double r = reach + std::hypot(p.x, p.y);
  const double rq = reach + std::hypot(q.x, q.y);
  const Vec2 ahead{p.x + r * g.dx, p.y + r * g.dy};
  const View& v = c.view;
  auto seg = [&](Vec2 a, Vec2 b) {
    c.canvas.Line(v.ToDevice(a.x, a.y), v.ToDevice(b.x, b.y), pen);
  };
  switch (g.lineType) {
    case kLineStraight:
      seg({p.x - r * g.dx, p.y - r * g.dy}, ahead);
      break;
    case kLineSegment:
      seg(p, q);
      break;
    case kLineHalf:
      seg(p, ahead);
      break;
    case kLineHalfReversed:
      seg(q, {q.x - rq * g.dx, q.y - rq * g.dy});
      break;
    case kLineSegmentArrowFirst:
      seg(p, q);
      Arrowhead(c, p, q, pen);
      break;
    case kLineSegmentArrowSecond:
      seg(p, q);
      Arrowhead(c, q, p, pen);
      break;
    case kLineSegmentArrowBoth:
      seg(p, q);
      Arrowhead(c, p, q, pen);
      Arrowhead(c, q, p, pen);
      break;
    case kLineHalfArrow:
      seg(p, ahead);
      Arrowhead(c, p, q, pen);
      break;
  }
}

void DrawCircleShape(Ctx& c, const CircleRec& k, int colourIndex, int width) {
  if (!k.valid || colourIndex == 0) return;
  if (!Finite(k.cx, k.cy) || !std::isfinite(k.radius)) return;
  if (k.radius > kFarLimit || k.radius < 0) return;
  c.canvas.Circle(c.view.ToDevice(k.cx, k.cy), k.radius / c.view.ScaleUnit,
                  CurvePen(c, colourIndex, width));
}

// Right-trimmed name of a record.
std::string_view LabelOf(std::string_view name) {
  size_t end = name.find_last_not_of(' ');
  return end == std::string::npos ? std::string_view() : std::string_view(name).substr(0, end + 1);
}

void DrawLabel(Ctx& c, const PointRec& p) {
  const std::string_view label = LabelOf(p.name);
  if (label.empty()) return;
  const View& v = c.view;
  if (!v.IsVisible(p.x, p.y)) return;
  const double o = c.metrics.labelOffset;
  const double f = c.settings.fontSize;
  // The text's top-left corner must lie inside the canvas too.
  if (!v.IsVisible(p.x + o * v.ScaleUnit, p.y + (o + f) * v.ScaleUnit)) return;
  const DevicePoint d = v.ToDevice(p.x, p.y);
  c.canvas.Text({d.x + o, d.y - o - f}, label,
                TextStyle{ColourOf(c, kColourBlack), c.settings.fontName, f});
}

bool LabelsHidden(const Scene& scene) {
  if (!scene.settings->NotChrDisp) return false;
  const int mode = scene.inputMode;
  return mode == 2 || mode == 6 || mode == 16;
}

// Angles in radians reduced into [0, 2 pi - 0.01); a direction within 0.01 below a full turn
// counts as 0.
double ReduceAngle(double a) {
  a = std::fmod(a, kTwoPi);
  if (a < 0) a += kTwoPi;
  if (a >= kTwoPi - 0.01) a = 0;
  return a;
}

int ArcColour(double absDegrees) {
  if (absDegrees <= 88) return kColourBlack;
  if (absDegrees <= 92) return kColourRed;
  if (absDegrees <= 179.5) return kColourBlue;
  if (absDegrees <= 182) return kColourRed;
  return kColourGreen;
}

void DrawAngleMark(Ctx& c, const AngleMarkRec& mark) {
  const PointRec& v = mark.p1;  // the vertex
  const PointRec& a = mark.p2;  // on the first arm
  if (!a.valid || !v.valid || !mark.angle.valid) return;
  const double theta = mark.angle.value;
  if (!Finite(a.x, a.y) || !Finite(v.x, v.y) || !std::isfinite(theta)) return;
  Vec2 u{a.x - v.x, a.y - v.y};
  const double len = std::hypot(u.x, u.y);
  if (!(len > 0)) return;
  u.x /= len;
  u.y /= len;
  const View& view = c.view;
  const double rPx = c.metrics.markRadius;
  const double r = rPx * view.ScaleUnit;
  const int width = c.settings.drawWidth;
  // An arc about a vertex far outside the canvas cannot reach into it.
  const DevicePoint vertex = view.ToDevice(v.x, v.y);
  const double reach = rPx + width + 2;
  if (vertex.x < -reach || vertex.y < -reach || vertex.x > view.widthPx + reach ||
      vertex.y > view.heightPx + reach)
    return;

  if (std::fabs(std::fabs(theta) - 90) < 0.01) {
    const double t = theta * kPi / 180;
    const Vec2 w{u.x * std::cos(t) - u.y * std::sin(t), u.x * std::sin(t) + u.y * std::cos(t)};
    const Vec2 b{v.x + r * u.x, v.y + r * u.y};
    const Vec2 cc{v.x + r * w.x, v.y + r * w.y};
    const Vec2 d{b.x - v.x + cc.x, b.y - v.y + cc.y};
    const Pen pen{ColourOf(c, kColourRed), width, LineStyle::kSolid};
    c.canvas.Line(view.ToDevice(b.x, b.y), view.ToDevice(d.x, d.y), pen);
    c.canvas.Line(view.ToDevice(d.x, d.y), view.ToDevice(cc.x, cc.y), pen);
    return;
  }

  double start = std::atan2(u.y, u.x);
  double end = start + theta * kPi / 180;
  if (theta < 0) std::swap(start, end);
  start = ReduceAngle(start);
  end = ReduceAngle(end);
  if (std::fabs(start - end) < 0.06) return;
  double sweep = end - start;  // counter-clockwise from start to end
  if (sweep < 0) sweep += kTwoPi;

  constexpr int kMaxSegments = 96;
  int segments = int(std::ceil(sweep / (kTwoPi / kMaxSegments)));
  segments = std::clamp(segments, 2, kMaxSegments);
  DevicePoint arc[kMaxSegments + 1];
  const DevicePoint centre = view.ToDevice(v.x, v.y);
  for (int i = 0; i <= segments; ++i) {
    const double phi = start + sweep * i / segments;
    arc[i] = {centre.x + rPx * std::cos(phi), centre.y - rPx * std::sin(phi)};
  }
  c.canvas.Polyline({arc, size_t(segments + 1)},
                    Pen{ColourOf(c, ArcColour(std::fabs(theta))), width, LineStyle::kSolid});
}

// The traces of the loci, each in its locus colour and one pixel wide.
void DrawLoci(Ctx& c, const LocusStore& loci) {
  const int32_t np = std::min<int32_t>(loci.pointCount, int32_t(loci.points.size()) - 1);
  const int32_t nl = std::min<int32_t>(loci.lineCount, int32_t(loci.lines.size()) - 1);
  const int32_t nc = std::min<int32_t>(loci.circleCount, int32_t(loci.circles.size()) - 1);
  for (int32_t i = 1; i <= np; ++i) {
    const PointRec& p = loci.points[i];
    DrawPointShape(c, p, ColourIndexFor(kStyleOwn, p.colour, p.locusColour), p.marker, 1);
  }
  for (int32_t i = 1; i <= nl; ++i) {
    const LineRec& g = loci.lines[i];
    DrawLineShape(c, g, ColourIndexFor(kStyleOwn, g.colour, g.locusColour), 1);
  }
  for (int32_t i = 1; i <= nc; ++i) {
    const CircleRec& k = loci.circles[i];
    DrawCircleShape(c, k, ColourIndexFor(kStyleOwn, k.colour, k.locusColour), 1);
  }
}

// The scribble strokes over everything; `buffer` is reused so that a repaint allocates only
// when a stroke is longer than any before it.
void DrawStrokes(const View& view, std::span<const Stroke> strokes, Canvas& canvas,
                 std::vector<DevicePoint>& buffer) {
  for (const Stroke& s : strokes) {
    if (s.points.empty()) continue;
    if (s.points.size() == 1) {
      canvas.Dot(view.ToDevice(s.points[0].x, s.points[0].y), s.colour, 1);
      continue;
    }
    buffer.clear();
    for (const WorldPoint& w : s.points) buffer.push_back(view.ToDevice(w.x, w.y));
    canvas.Polyline(buffer, Pen{s.colour, s.width, LineStyle::kSolid});
  }
}

bool Listed(const NumberRec& n) {
  return n.independent != -1 && n.independent != 7 && n.hidden == kNumberShown;
}

// Appends a number's display name: trimmed, every "*" shown as a multiplication sign.
void AppendListName(std::string& out, std::string_view name) {
  for (char ch : TrimSpaces(name)) {
    if (ch == '*')
      out += "\xC3\x97";
    else
      out += ch;
  }
}

}  // namespace

int ColourIndexFor(int style, int colour, int locusColour) {
  if (style >= 0 && style <= 7) return colour != 0 ? colour : style;
  if (style >= 10 && style <= 19) return locusColour;
  if (style >= 20 && style <= 29) return style - 20;
  return colour;
}

DrawMetrics MetricsOf(const Scene& scene) {
  DrawMetrics m;
  m.markerHalf = scene.thumbnailState >= 2 ? 3 : 5;
  // The offset grows with fonts above 12: a large label drawn at the small offset would hang
  // down beside its point instead of above it.
  const double fontGrowth = scene.settings ? std::max(1.0, scene.settings->fontSize / 12.0) : 1.0;
  m.labelOffset = (scene.statusBarShown ? 10 : 2) * fontGrowth;
  m.markRadius = scene.statusBarShown ? 20 : 8;
  m.listBottom = scene.statusBarShown ? 35 : 3;
  return m;
}

void Renderer::BuildReplayMask(const Figure& fig, int32_t lastStep) {
  shown_[kClassNumber].assign(fig.numbers.size(), 0);
  shown_[kClassPoint].assign(fig.points.size(), 0);
  shown_[kClassLine].assign(fig.lines.size(), 0);
  shown_[kClassCircle].assign(fig.circles.size(), 0);
  const int32_t last = std::min<int32_t>(lastStep, fig.StepCount());
  for (int32_t s = 1; s <= last; ++s) {
    for (int k = 1; k <= 5; ++k) {
      const ObjRef out = fig.Output(s, k);
      if (out.IsEmpty()) break;
      if (out.cls < kClassNumber || out.cls > kLastObjectClass) continue;
      auto& mask = shown_[out.cls];
      if (out.index >= 1 && size_t(out.index) < mask.size()) mask[out.index] = 1;
    }
  }
}

bool Renderer::Shown(int cls, int32_t index) const {
  return !replay_ || (size_t(index) < shown_[cls].size() && shown_[cls][index]);
}

bool Renderer::InLayer(int cls, int32_t index) const {
  if (!Shown(cls, index)) return false;
  switch (layer_) {
    case PaintLayer::kAll:
      return true;
    case PaintLayer::kFixed:
      return !drag_->Moves(ObjRef{cls, index});
    case PaintLayer::kMoving:
      return drag_->Moves(ObjRef{cls, index});
  }
  return true;
}

void Renderer::DrawObject(const Scene& scene, Canvas& canvas, ObjRef ref, int style, Source source,
                          int extraWidth, int marker) {
  if (!scene.figure || !scene.view || !scene.settings) return;
  const Figure& fig = *scene.figure;
  if (!fig.InTable(ref)) return;
  Ctx c{canvas, *scene.view, *scene.settings, MetricsOf(scene), report_};
  const int width = scene.settings->drawWidth + extraWidth;
  const bool prev = source == Source::kPrevious;
  switch (ref.cls) {
    case kClassPoint: {
      const auto& table = prev ? fig.prevPoints : fig.points;
      if (size_t(ref.index) >= table.size()) return;
      const PointRec& p = table[ref.index];
      DrawPointShape(c, p, ColourIndexFor(style, p.colour, p.locusColour),
                     marker >= 0 ? marker : p.marker, width);
      break;
    }
    case kClassLine: {
      const auto& table = prev ? fig.prevLines : fig.lines;
      if (size_t(ref.index) >= table.size()) return;
      const LineRec& g = table[ref.index];
      DrawLineShape(c, g, ColourIndexFor(style, g.colour, g.locusColour), width);
      break;
    }
    case kClassCircle: {
      const auto& table = prev ? fig.prevCircles : fig.circles;
      if (size_t(ref.index) >= table.size()) return;
      const CircleRec& k = table[ref.index];
      DrawCircleShape(c, k, ColourIndexFor(style, k.colour, k.locusColour), width);
      break;
    }
    default:
      break;
  }
}

PaintReport Renderer::Paint(const Scene& scene, Canvas& canvas) {
  report_ = {};
  if (!scene.settings) return report_;
  layer_ = scene.drag ? scene.layer : PaintLayer::kAll;
  drag_ = scene.drag;
  // The moving layer goes over the image of the fixed one.
  if (layer_ != PaintLayer::kMoving) canvas.Clear(scene.settings->background);
  if (!scene.figure || !scene.view) return report_;
  const bool fixedParts = layer_ != PaintLayer::kMoving;
  const bool changingParts = layer_ != PaintLayer::kFixed;
  const Figure& fig = *scene.figure;
  const View& view = *scene.view;
  const DrawSettings& settings = *scene.settings;
  Ctx c{canvas, view, settings, MetricsOf(scene), report_};
  const int width = settings.drawWidth;

  replay_ = scene.replayStep >= 0;
  if (replay_) BuildReplayMask(fig, scene.replayStep);

  // Grid and loci lie under the figure.
  if (view.axissw && !replay_ && fixedParts) DrawGrid(view, canvas);
  // Loci grow while a point is dragged: they belong to the moving layer, and so does the
  // trail of the trace-marker points.
  if (scene.loci && !replay_ && changingParts) DrawLoci(c, *scene.loci);
  if (scene.trail && !replay_ && changingParts) DrawLoci(c, *scene.trail);

  // The figure: points, lines, circles; then the points with program markers on top.
  const int32_t points = CountOf(fig, kClassPoint, fig.points.size());
  const int32_t lines = CountOf(fig, kClassLine, fig.lines.size());
  const int32_t circles = CountOf(fig, kClassCircle, fig.circles.size());
  // The moving layer visits only the objects of the drag, in the same order as a full paint.
  auto forEach = [&](int cls, int32_t count, auto&& visit) {
    if (layer_ != PaintLayer::kMoving) {
      for (int32_t i = 1; i <= count; ++i) visit(i);
      return;
    }
    for (const int32_t i : drag_->indices[cls]) {
      if (i > count) break;  // in index order
      visit(i);
    }
  };
  forEach(kClassPoint, points, [&](int32_t i) {
    const PointRec& p = fig.points[i];
    if (p.marker > 9 || p.colour == 0 || !InLayer(kClassPoint, i)) return;
    DrawPointShape(c, p, p.colour, p.marker, width);
  });
  forEach(kClassLine, lines, [&](int32_t i) {
    const LineRec& g = fig.lines[i];
    if (g.colour != 0 && InLayer(kClassLine, i)) DrawLineShape(c, g, g.colour, width);
  });
  forEach(kClassCircle, circles, [&](int32_t i) {
    const CircleRec& k = fig.circles[i];
    if (k.colour != 0 && InLayer(kClassCircle, i)) DrawCircleShape(c, k, k.colour, width);
  });
  forEach(kClassPoint, points, [&](int32_t i) {
    const PointRec& p = fig.points[i];
    if (p.marker <= 9 || !InLayer(kClassPoint, i)) return;
    DrawPointShape(c, p, ColourIndexFor(kStyleOwn, p.colour, p.locusColour), p.marker, width);
  });

  // Labels after every shape, so that no line crosses a name.
  if (!LabelsHidden(scene)) {
    forEach(kClassPoint, points, [&](int32_t i) {
      const PointRec& p = fig.points[i];
      if (p.colour == 0 || !p.valid || !InLayer(kClassPoint, i)) return;
      if (!Finite(p.x, p.y) || std::fabs(p.x) > kFarLimit || std::fabs(p.y) > kFarLimit) return;
      DrawLabel(c, p);
    });
  }

  if (!replay_) {
    // During a drag the marks of the angles that do not move come first; they and the rows of
    // the numbers that do not move belong to the fixed layer.
    if (fig.angleMarksOn) {
      const int32_t marks =
          std::min<int32_t>(fig.angleMarkCount, int32_t(fig.angleMarks.size()) - 1);
      const int32_t fixedMarks = layer_ == PaintLayer::kAll ? marks : drag_->fixedAngleMarks;
      const int32_t first = layer_ == PaintLayer::kMoving ? fixedMarks + 1 : 1;
      const int32_t last = layer_ == PaintLayer::kFixed ? std::min(marks, fixedMarks) : marks;
      for (int32_t i = first; i <= last; ++i) DrawAngleMark(c, fig.angleMarks[i]);
    }
    DrawNumberList(scene, canvas);
  }
  if (!changingParts) return report_;

  for (const ObjectMark& m : scene.marks)
    DrawObject(scene, canvas, m.ref, m.style, Source::kCurrent, m.extraWidth, m.marker);

  DrawStrokes(view, scene.strokes, canvas, strokeBuffer_);
  return report_;
}

// Each row is the index, ":", the name, " = " and the number text. The " = " column starts
// after the widest "index:name" on the canvas, measured in the canvas font, so that the values
// line up whatever characters the names hold.
void Renderer::DrawNumberList(const Scene& scene, Canvas& canvas) {
  const Figure& fig = *scene.figure;
  const View& view = *scene.view;
  const DrawSettings& settings = *scene.settings;
  const int32_t count = CountOf(fig, kClassNumber, fig.numbers.size());
  int32_t n = 0;
  for (int32_t i = 1; i <= count; ++i) n += Listed(fig.numbers[i]) && Shown(kClassNumber, i);
  if (n == 0) return;
  const DrawMetrics metrics = MetricsOf(scene);
  const double s = view.ScaleUnit;
  const double h = 1.2 * settings.fontSize * s;
  const double b = -view.HalfHeight + metrics.listBottom * s;
  const TextStyle style{kBlack, settings.fontName, settings.fontSize};

  auto appendPrefix = [this](int32_t i, const NumberRec& num) {
    row_.clear();
    char index[16];
    auto res = std::to_chars(index, index + sizeof index, i);
    row_.append(index, res.ptr);
    row_ += ':';
    AppendListName(row_, num.name);
  };
  // Visits the listed rows that reach into the canvas, with their top-left corners.
  auto forVisibleRows = [&](auto&& visit) {
    int32_t j = 0;
    for (int32_t i = 1; i <= count; ++i) {
      const NumberRec& num = fig.numbers[i];
      if (!Listed(num) || !Shown(kClassNumber, i)) continue;
      ++j;
      const DevicePoint at = view.ToDevice(-view.HalfWidth, b + (n - j + 1) * h);
      if (at.y < -2 * settings.fontSize) continue;  // rows above the canvas show nothing
      visit(i, num, at);
    }
  };

  // The names do not change during a drag: the moving layer takes the column of the fixed one
  // instead of measuring every row again on each step.
  double column = 0;
  if (layer_ == PaintLayer::kMoving && drag_ == columnPlan_) {
    column = dragColumn_;
  } else {
    forVisibleRows([&](int32_t i, const NumberRec& num, DevicePoint) {
      appendPrefix(i, num);
      column = std::max(column, canvas.TextWidth(row_, style));
    });
  }
  if (layer_ == PaintLayer::kFixed) columnPlan_ = drag_, dragColumn_ = column;
  forVisibleRows([&](int32_t i, const NumberRec& num, DevicePoint at) {
    if (!InLayer(kClassNumber, i)) return;
    appendPrefix(i, num);
    canvas.Text(at, row_, style);
    row_.assign(" = ");
    AppendNumberText(row_, num.value, settings.KetaDecimal);
    canvas.Text({at.x + column, at.y}, row_, style);
  });
}

}  // namespace kv
