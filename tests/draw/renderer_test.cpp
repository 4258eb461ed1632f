// What the renderer draws for points, lines, circles, labels, angle marks, the number list and
// highlight marks, checked on a recording canvas. The view is 201 x 101 pixels at 20 pixels
// per unit, so world (x, y) is device ((x + 5) * 20, (2.5 - y) * 20).
#include "draw/renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "../../bench/figure_generator.h"
#include "draw/recording_canvas.h"
#include "figure_builder.h"
#include "geometry/drag_recompute.h"
#include "geometry/recompute.h"

namespace kv {
namespace {

using Op = RecordingCanvas::Op;
using Call = RecordingCanvas::Call;

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kYellow{255, 255, 0};

class RendererTest : public ::testing::Test {
 protected:
  RendererTest() {
    view.SetScreen(201, 101);
    scene.figure = &fig;
    scene.view = &view;
    scene.settings = &settings;
  }

  PointRec& AddPoint(double x, double y, int marker = 0, int colour = 7) {
    const int32_t i = testing::FixedPoint(fig, x, y);
    PointRec& p = fig.points[i];
    p.marker = marker;
    p.colour = colour;
    p.name = i <= 26 ? std::string(1, char('A' + i - 1)) : std::to_string(i);
    return p;
  }
  LineRec& AddLine(double x1, double y1, double x2, double y2, int type, int colour = 7) {
    LineRec& g = fig.lines[testing::FixedLine(fig, x1, y1, x2, y2, type)];
    g.colour = colour;
    return g;
  }
  CircleRec& AddCircle(double cx, double cy, double r, int colour = 7) {
    CircleRec& c = fig.circles[testing::FixedCircle(fig, cx, cy, r)];
    c.colour = colour;
    return c;
  }
  NumberRec& AddNumber(const char* name, double value) {
    int32_t i = fig.AllocObject(kClassNumber);
    NumberRec& n = fig.numbers[i];
    n.name = name;
    n.value = value;
    n.valid = kTrue;
    return n;
  }
  void AddAngleMark(PointRec a, PointRec v, double degrees) {
    ++fig.angleMarkCount;
    if (size_t(fig.angleMarkCount) >= fig.angleMarks.size())
      fig.angleMarks.resize(fig.angleMarks.size() + 100);
    AngleMarkRec& m = fig.angleMarks[fig.angleMarkCount];
    m.p1 = v;  // the vertex first, then the point on the first arm
    m.p2 = a;
    m.angle.value = degrees;
    m.angle.valid = kTrue;
  }
  void Paint() {
    canvas.calls.clear();
    report = renderer.Paint(scene, canvas);
  }
  std::vector<const Call*> Drawn() const {  // everything but Clear and Text
    std::vector<const Call*> out;
    for (const Call& c : canvas.calls)
      if (c.op != Op::kClear && c.op != Op::kText) out.push_back(&c);
    return out;
  }

  Figure fig;
  View view;
  DrawSettings settings;
  Scene scene;
  Renderer renderer;
  RecordingCanvas canvas;
  PaintReport report;
};

void ExpectPoint(DevicePoint p, double x, double y, const char* what) {
  EXPECT_NEAR(p.x, x, 1e-9) << what;
  EXPECT_NEAR(p.y, y, 1e-9) << what;
}

void ExpectSegment(const Call* c, double x1, double y1, double x2, double y2) {
  ASSERT_EQ(c->op, Op::kLine);
  ExpectPoint(c->points[0], x1, y1, "start");
  ExpectPoint(c->points[1], x2, y2, "end");
}

TEST_F(RendererTest, PointMarkerShapes) {
  // A point at (1, 1) is device (120, 30); markers have a half-size of 5 pixels.
  struct Shape {
    int marker;
    std::vector<Op> ops;
  } shapes[] = {
      {0, {Op::kDot}},
      {1, {Op::kLine, Op::kLine}},
      {2, {Op::kCircle}},
      {3, {Op::kPolyline}},
      {4, {Op::kFillRect}},
      {5, {Op::kLine, Op::kLine, Op::kLine}},
      {10, {Op::kDot}},
      {17, {Op::kDot}},
      {20, {Op::kCircle, Op::kCircle}},
      {21, {Op::kCircle}},
      {22, {Op::kCircle, Op::kLine, Op::kLine}},
      {23, {Op::kCircle, Op::kLine}},
      {30, {Op::kCircle, Op::kCircle, Op::kCircle}},
      {7, {}},
  };
  AddPoint(1, 1);
  for (const Shape& s : shapes) {
    fig.points[1].marker = s.marker;
    Paint();
    auto drawn = Drawn();
    ASSERT_EQ(drawn.size(), s.ops.size()) << "marker " << s.marker;
    for (size_t k = 0; k < drawn.size(); ++k) EXPECT_EQ(drawn[k]->op, s.ops[k]) << s.marker;
  }

  fig.points[1].marker = 1;  // x: (x+m, y+m)-(x-m, y-m) and (x+m, y-m)-(x-m, y+m)
  Paint();
  ExpectSegment(Drawn()[0], 125, 25, 115, 35);
  ExpectSegment(Drawn()[1], 125, 35, 115, 25);
  fig.points[1].marker = 2;  // circle of radius m - 1
  Paint();
  EXPECT_NEAR(Drawn()[0]->radius, 4, 1e-9);
  fig.points[1].marker = 5;  // triangle with its apex up
  Paint();
  ExpectSegment(Drawn()[0], 120, 25, 115, 35);
  ExpectSegment(Drawn()[1], 120, 25, 125, 35);
  ExpectSegment(Drawn()[2], 125, 35, 115, 35);
  fig.points[1].marker = 4;
  Paint();
  EXPECT_EQ(Drawn()[0]->pen.colour, kBlack);
  double xs[2] = {Drawn()[0]->points[0].x, Drawn()[0]->points[1].x};
  EXPECT_NEAR(std::fmin(xs[0], xs[1]), 115, 1e-9);
  EXPECT_NEAR(std::fmax(xs[0], xs[1]), 125, 1e-9);
  fig.points[1].marker = 22;
  Paint();
  EXPECT_NEAR(Drawn()[0]->radius, 5, 1e-9);
  ExpectSegment(Drawn()[1], 120, 25, 120, 35);
  ExpectSegment(Drawn()[2], 115, 30, 125, 30);

  // The thumbnail view uses 3-pixel markers.
  scene.thumbnailState = 2;
  fig.points[1].marker = 1;
  Paint();
  ExpectSegment(Drawn()[0], 123, 27, 117, 33);
}

TEST_F(RendererTest, WhichPointsAreDrawnAndInWhatColour) {
  PointRec& hidden = AddPoint(1, 1, 0, 0);     // colour 0: not drawn
  PointRec& undefined = AddPoint(0, 1, 0, 4);  // undefined: not drawn
  undefined.valid = 0;
  AddPoint(1001, 0, 0, 4);  // too far out: not drawn
  AddPoint(-1, -1, 12, 0);  // program marker, colour 0 becomes red
  AddPoint(2, 0, 1, 4);     // blue cross
  settings.ColorStrength = 255;
  Paint();
  auto drawn = Drawn();
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[0]->op, Op::kLine);  // the cross first: program markers lie on top
  EXPECT_EQ(drawn[0]->pen.colour, kBlue);
  EXPECT_EQ(drawn[2]->op, Op::kDot);
  EXPECT_EQ(drawn[2]->pen.colour, kRed);
  ExpectPoint(drawn[2]->points[0], 80, 70, "marker 12");

  // A highlight mark draws even a colour-0 point, in the style's colour.
  const ObjectMark marks[] = {{ObjRef{kClassPoint, 1}, 7, -1, 0},
                              {ObjRef{kClassPoint, 5}, kStyleHighlight, 1, 1}};
  scene.marks = marks;
  Paint();
  drawn = Drawn();
  ASSERT_EQ(drawn.size(), 3u + 1 + 2);
  EXPECT_EQ(drawn[3]->op, Op::kDot);
  EXPECT_EQ(drawn[3]->pen.colour, kBlack);
  EXPECT_EQ(drawn[4]->pen.colour, kRed);
  EXPECT_EQ(drawn[4]->pen.width, 2);
  (void)hidden;
}

TEST_F(RendererTest, LineTypesAndArrowheads) {
  // P = (0, 0), Q = (2, 0): device (100, 50) and (140, 50). Straight lines reach
  // 15 x HalfWidth = 75 units plus the distance of their start from the origin.
  struct Case {
    int type;
    std::vector<std::array<double, 4>> segments;
  } cases[] = {
      {0, {{-1400, 50, 1600, 50}}},
      {1, {{100, 50, 140, 50}}},
      {2, {{100, 50, 1600, 50}}},
      {3, {{140, 50, -1400, 50}}},  // from Q, 75 + |Q| = 77 units back
      // Arrowheads: tip + 10 px along (u +- n/2), u toward the other end, n = u turned +90.
      {4, {{100, 50, 140, 50}, {100, 50, 110, 45}, {100, 50, 110, 55}}},
      {5, {{100, 50, 140, 50}, {140, 50, 130, 55}, {140, 50, 130, 45}}},
      {6,
       {{100, 50, 140, 50},
        {100, 50, 110, 45},
        {100, 50, 110, 55},
        {140, 50, 130, 55},
        {140, 50, 130, 45}}},
      {7, {{100, 50, 1600, 50}, {100, 50, 110, 45}, {100, 50, 110, 55}}},
      {8, {}},
  };
  AddLine(0, 0, 2, 0, 0);
  for (const Case& c : cases) {
    fig.lines[1].lineType = c.type;
    Paint();
    auto drawn = Drawn();
    ASSERT_EQ(drawn.size(), c.segments.size()) << "type " << c.type;
    for (size_t k = 0; k < drawn.size(); ++k) {
      SCOPED_TRACE(::testing::Message() << "type " << c.type << " segment " << k);
      const auto& s = c.segments[k];
      ExpectSegment(drawn[k], s[0], s[1], s[2], s[3]);
      EXPECT_EQ(drawn[k]->pen.style, LineStyle::kSolid);
      EXPECT_EQ(drawn[k]->pen.colour, kBlack);
    }
  }
  fig.lines[1].valid = 0;
  Paint();
  EXPECT_TRUE(Drawn().empty());
}

TEST_F(RendererTest, StraightLinesCrossTheCanvasWhenZoomedIn) {
  // Zoomed in eight times, the canvas spans under 0.04 units; the line's points lie 900 units
  // away, yet the line y = 0 must still cross the whole canvas.
  for (int k = 0; k < 8; ++k) view.ZoomIn(nullptr);
  AddLine(-900, 0, -899, 0, 0);
  AddLine(899, 0, 900, 0, 3);  // half-line backwards from the second point
  AddLine(-900, 0, -899, 0, 2);
  Paint();
  auto drawn = Drawn();
  ASSERT_EQ(drawn.size(), 3u);
  for (const Call* c : drawn) {
    const double x0 = std::fmin(c->points[0].x, c->points[1].x);
    const double x1 = std::fmax(c->points[0].x, c->points[1].x);
    EXPECT_LT(x0, 0);
    EXPECT_GT(x1, 200);
    EXPECT_NEAR(c->points[0].y, 50, 1e-6);
  }
}

TEST_F(RendererTest, ColourThreeIsDottedBlackOnlyAtWidthOne) {
  AddLine(0, 0, 2, 0, 5, 3);
  AddCircle(0, 0, 1, 3);
  Paint();
  auto drawn = Drawn();
  ASSERT_EQ(drawn.size(), 4u);
  for (const Call* c : drawn) EXPECT_EQ(c->pen.colour, kBlack);
  EXPECT_EQ(drawn[0]->pen.style, LineStyle::kDotted);  // the segment
  EXPECT_EQ(drawn[1]->pen.style, LineStyle::kSolid);   // arrowheads stay solid
  EXPECT_EQ(drawn[3]->pen.style, LineStyle::kDotted);  // the circle
  EXPECT_NEAR(drawn[3]->radius, 20, 1e-9);

  settings.drawWidth = 3;
  Paint();
  drawn = Drawn();
  for (const Call* c : drawn) {
    EXPECT_EQ(c->pen.colour, kYellow);
    EXPECT_EQ(c->pen.style, LineStyle::kSolid);
    EXPECT_EQ(c->pen.width, 3);
  }
}

TEST_F(RendererTest, CirclesSkippedWhenUndefinedOrHuge) {
  AddCircle(1, 0, 0.5, 2);
  AddCircle(0, 0, 1000.5, 2);
  AddCircle(0, 0, 2, 2).valid = 0;
  Paint();
  auto circles = canvas.Of(Op::kCircle);
  ASSERT_EQ(circles.size(), 1u);
  ExpectPoint(circles[0]->points[0], 120, 50, "centre");
  EXPECT_NEAR(circles[0]->radius, 10, 1e-9);
  EXPECT_EQ(circles[0]->pen.colour, kGreen);
}

TEST_F(RendererTest, LabelsBesideTheirPointsWhenInside) {
  AddPoint(1, 1);          // A: label corner at (1.5, 1.95), inside
  AddPoint(1, 2);          // B: corner y 2.95 above the top edge
  AddPoint(-1, -1, 0, 0);  // C: colour 0, no label
  AddPoint(4.8, 0);        // D: corner x 5.3 beyond the right edge
  fig.points[1].name = "A   ";
  Paint();
  auto texts = canvas.Of(Op::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->text, "A");
  ExpectPoint(texts[0]->points[0], 120 + 10, 30 - 10 - 9, "corner");
  EXPECT_EQ(texts[0]->pen.colour, kBlack);
  EXPECT_EQ(texts[0]->fontName, "FixedSys");
  // Labels come after every shape.
  AddLine(-3, -2, 3, 2, 1);
  Paint();
  EXPECT_EQ(canvas.calls.back().op, Op::kText);

  // Hidden labels stay hidden in the standard, drag and busy modes only.
  settings.NotChrDisp = true;
  const std::pair<int, size_t> modes[] = {{2, 0}, {6, 0}, {16, 0}, {15, 1}, {72, 1}};
  for (auto [mode, count] : modes) {
    scene.inputMode = mode;
    Paint();
    EXPECT_EQ(canvas.Count(Op::kText), count) << "mode " << mode;
  }
  // Without the status bar the offset is 2 pixels.
  settings.NotChrDisp = false;
  scene.statusBarShown = false;
  Paint();
  ExpectPoint(canvas.Of(Op::kText)[0]->points[0], 122, 30 - 2 - 9, "thumbnail");
}

TEST_F(RendererTest, LabelOffsetGrowsWithTheFontSoLargeLabelsStayAboveTheirPoint) {
  AddPoint(-4, -2);  // device (20, 90)
  // {font size, offset with the status bar, offset without it}
  const struct {
    double font, shown, hidden;
  } cases[] = {{9, 10, 2}, {12, 10, 2}, {24, 20, 4}, {48, 40, 8}};
  for (const auto& c : cases) {
    settings.fontSize = c.font;
    for (bool bar : {true, false}) {
      scene.statusBarShown = bar;
      Paint();
      const double o = bar ? c.shown : c.hidden;
      ASSERT_EQ(canvas.Count(Op::kText), 1u) << c.font;
      ExpectPoint(canvas.Of(Op::kText)[0]->points[0], 20 + o, 90 - o - c.font, "corner");
    }
  }
}

TEST_F(RendererTest, AngleMarksArcsAndRightAngles) {
  PointRec a = AddPoint(1, 0, 0, 0), v = AddPoint(0, 0, 0, 0);  // not drawn themselves
  struct Case {
    double degrees;
    Op op;
    Rgb colour;
  } cases[] = {
      {45, Op::kPolyline, kBlack}, {-88, Op::kPolyline, kBlack}, {89, Op::kPolyline, kRed},
      {91, Op::kPolyline, kRed},   {120, Op::kPolyline, kBlue},  {-179.5, Op::kPolyline, kBlue},
      {181, Op::kPolyline, kRed},  {270, Op::kPolyline, kGreen}, {90.005, Op::kLine, kRed},
      {-90, Op::kLine, kRed},
  };
  for (const Case& c : cases) {
    fig.angleMarkCount = 0;
    AddAngleMark(a, v, c.degrees);
    Paint();
    auto drawn = Drawn();
    ASSERT_FALSE(drawn.empty()) << c.degrees;
    EXPECT_EQ(drawn[0]->op, c.op) << c.degrees;
    EXPECT_EQ(drawn[0]->pen.colour, c.colour) << c.degrees;
  }

  // 120 degrees: counter-clockwise from A's direction, radius 20 pixels about V (100, 50).
  fig.angleMarkCount = 0;
  AddAngleMark(a, v, 120);
  Paint();
  const Call* arc = Drawn()[0];
  ExpectPoint(arc->points.front(), 120, 50, "arc start");
  ExpectPoint(arc->points.back(), 100 - 10, 50 - 20 * std::sqrt(3.0) / 2, "arc end");
  for (const DevicePoint& p : arc->points) EXPECT_NEAR(std::hypot(p.x - 100, p.y - 50), 20, 1e-9);
  // The negative angle runs from the other arm back to A.
  fig.angleMarks[1].angle.value = -120;
  Paint();
  arc = Drawn()[0];
  ExpectPoint(arc->points.front(), 90, 50 + 20 * std::sqrt(3.0) / 2, "negative start");
  ExpectPoint(arc->points.back(), 120, 50, "negative end");

  // A right angle: B = V + r u, C on the other arm, D = B - V + C; segments B-D and D-C.
  fig.angleMarks[1].angle.value = 90;
  Paint();
  auto square = Drawn();
  ASSERT_EQ(square.size(), 2u);
  ExpectSegment(square[0], 120, 50, 120, 30);
  ExpectSegment(square[1], 120, 30, 100, 30);

  // Nothing for tiny angles, undefined angles, or with the marks switched off.
  fig.angleMarks[1].angle.value = 3;
  Paint();
  EXPECT_TRUE(Drawn().empty());
  fig.angleMarks[1].angle.value = 45;
  fig.angleMarks[1].angle.valid = 0;
  Paint();
  EXPECT_TRUE(Drawn().empty());
  fig.angleMarks[1].angle.valid = kTrue;
  fig.angleMarksOn = false;
  Paint();
  EXPECT_TRUE(Drawn().empty());
  // The mark radius is 8 pixels without the status bar.
  fig.angleMarksOn = true;
  scene.statusBarShown = false;
  Paint();
  ExpectPoint(Drawn()[0]->points.front(), 108, 50, "small mark");
}

TEST_F(RendererTest, NumberListRowsFromTheBottom) {
  AddNumber("AB", 3.5);
  AddNumber("x*y", -12.25);
  AddNumber("t", 1).independent = -1;  // independent variables are not listed
  AddNumber("h", 2).hidden = 7;        // nor are hidden numbers
  AddNumber("  k", 0.125).independent = 7;
  AddNumber(
      "\xE5\x86\x86"
      "1",
      0.5);  // a wide character in the name
  Paint();
  auto texts = canvas.Of(Op::kText);
  ASSERT_EQ(texts.size(), 6u);
  const char* expected[] = {"1:AB",
                            " =    3.50",
                            "2:x\xC3\x97y",
                            " =  -12.25",
                            "6:\xE5\x86\x86"
                            "1",
                            " =    0.50"};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(texts[k]->text, expected[k]);
  // b is 35 pixels above the bottom edge (device 100); rows are 1.2 x 9 pixels apart and the
  // first number is the highest row.
  const double rowY[3] = {100 - 35 - 3 * 10.8, 100 - 35 - 2 * 10.8, 100 - 35 - 10.8};
  // The recording canvas measures 6 pixels per character at 9 points; the widest prefix is
  // "2:x*y", 5 characters, so every " = " starts at x = 30.
  for (int row = 0; row < 3; ++row) {
    ExpectPoint(texts[2 * row]->points[0], 0, rowY[row], "name");
    ExpectPoint(texts[2 * row + 1]->points[0], 30, rowY[row], "value");
  }
  settings.KetaDecimal = 0;
  Paint();
  EXPECT_EQ(canvas.Of(Op::kText)[1]->text, " =    4.");
}

TEST_F(RendererTest, PaintsInLayersAndReportsBadColours) {
  view.axissw = true;
  LocusStore loci;
  PointRec trace;
  trace.x = 0.5, trace.valid = kTrue, trace.locusColour = 5, trace.colour = 7;
  loci.Append(trace);
  scene.loci = &loci;
  AddCircle(0, 0, 1, 9);       // console colour 9: bright blue
  AddLine(0, 0, 1, 1, 1, 42);  // not a palette colour: black, reported
  Paint();
  ASSERT_FALSE(canvas.calls.empty());
  EXPECT_EQ(canvas.calls[0].op, Op::kClear);
  EXPECT_EQ(canvas.calls[0].pen.colour, kWhite);
  // Grid first (18 lines), then the stored trace in its locus colour, then the figure.
  EXPECT_EQ(canvas.calls[1].pen.style, LineStyle::kDotted);
  EXPECT_EQ(canvas.calls[19].op, Op::kDot);
  EXPECT_EQ(canvas.calls[19].pen.colour, (Rgb{255, 0, 255}));
  EXPECT_EQ(canvas.calls[20].op, Op::kLine);
  EXPECT_EQ(canvas.calls[20].pen.colour, kBlack);
  EXPECT_EQ(canvas.calls[21].op, Op::kCircle);
  EXPECT_EQ(canvas.calls[21].pen.colour, kBlue);
  EXPECT_EQ(report.badColourIndex, 42);
}

TEST_F(RendererTest, ReplayShowsOnlyTheStepsSoFar) {
  AddPoint(0, 0);
  AddPoint(1, 0);
  AddLine(0, 0, 1, 0, 1);
  fig.AppendStep("PNEW", {}, {ObjRef{kClassPoint, 1}});
  fig.AppendStep("PNEW", {}, {ObjRef{kClassPoint, 2}});
  fig.AppendStep("L1", {ObjRef{kClassPoint, 1}, ObjRef{kClassPoint, 2}}, {ObjRef{kClassLine, 1}});
  const int32_t expected[] = {0, 1, 2, 3};  // shapes drawn after 0 .. 3 steps
  for (int32_t step = 0; step <= 3; ++step) {
    scene.replayStep = step;
    Paint();
    EXPECT_EQ(int32_t(Drawn().size()), expected[step]) << step;
  }
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// The angle measurement records its mark during the recompute; the renderer must read it the
// way the measurement wrote it (a right angle at the vertex gives the red square there).
TEST(RendererWithRecompute, AngleMeasurementLeavesItsMark) {
  Figure fig;
  const double xy[3][2] = {{2, 0}, {0, 0}, {0, 1}};  // A, vertex V, B: 90 degrees
  ObjRef pts[3];
  for (int k = 0; k < 3; ++k) {
    pts[k] = {kClassPoint, fig.AllocObject(kClassPoint)};
    PointRec& p = fig.points[pts[k].index];
    p.x = xy[k][0], p.y = xy[k][1], p.valid = kTrue, p.free = kTrue, p.colour = 0;
    fig.AppendStep("PNEW", {}, {pts[k]});
  }
  const ObjRef angle{kClassNumber, fig.AllocObject(kClassNumber)};
  fig.AppendStep("NA3P", {pts[0], pts[1], pts[2]}, {angle});
  RecomputeAll(fig);
  ASSERT_EQ(fig.angleMarkCount, 1);

  View view;
  view.SetScreen(201, 101);
  DrawSettings settings;
  Scene scene;
  scene.figure = &fig;
  scene.view = &view;
  scene.settings = &settings;
  scene.inputMode = 2;
  RecordingCanvas canvas;
  Renderer().Paint(scene, canvas);
  auto lines = canvas.Of(Op::kLine);
  ASSERT_EQ(lines.size(), 2u);
  // B = V + 1 unit toward A = (1, 0), D = (1, 1), C = (0, 1).
  ExpectSegment(lines[0], 120, 50, 120, 30);
  ExpectSegment(lines[1], 120, 30, 100, 30);
  EXPECT_EQ(lines[0]->pen.colour, kRed);
  // The number list shows the measurement.
  auto texts = canvas.Of(Op::kText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1]->text, " =   90.00");
}

// One recorded call as text, so that two paints can be compared as collections of calls.
std::string CallKey(const Call& call) {
  std::string key = std::to_string(int(call.op)) + " " + std::to_string(call.pen.colour.r) + "," +
                    std::to_string(call.pen.colour.g) + "," + std::to_string(call.pen.colour.b) +
                    " w" + std::to_string(call.pen.width) + " s" +
                    std::to_string(int(call.pen.style)) + " " + call.text;
  char buffer[64];
  for (const DevicePoint& p : call.points) {
    std::snprintf(buffer, sizeof buffer, " (%.9g %.9g)", p.x, p.y);
    key += buffer;
  }
  std::snprintf(buffer, sizeof buffer, " r%.9g", call.radius);
  return key + buffer;
}

std::vector<std::string> SortedKeys(const RecordingCanvas& canvas) {
  std::vector<std::string> keys;
  for (const Call& call : canvas.calls) keys.push_back(CallKey(call));
  std::sort(keys.begin(), keys.end());
  return keys;
}

// A drag paints the fixed layer once; each drag step paints only what moves over it, and the
// two together hold exactly the calls of a full repaint.
TEST(RendererLayers, DragStepPaintsOnlyTheMovingObjectsOverTheFixedLayer) {
  Figure fig = bench::GenerateFigure(3 * bench::kGroupSteps);
  RecomputeAll(fig);
  View view;
  view.SetScreen(1000, 700);
  view.axissw = true;
  DrawSettings settings;
  Renderer renderer;
  const ObjRef dragged{kClassPoint, 3};
  const DragPlan plan = StartDrag(fig, {&dragged, 1});
  Scene scene;
  scene.figure = &fig;
  scene.view = &view;
  scene.settings = &settings;
  scene.drag = &plan;
  scene.layer = PaintLayer::kFixed;
  RecordingCanvas fixedLayer;
  renderer.Paint(scene, fixedLayer);

  for (int step = 1; step <= 3; ++step) {
    SnapshotDragged(fig, plan);
    fig.points[dragged.index].x += 0.2;
    DragRecompute(fig, plan);
    RecordingCanvas moving, full, fixedAgain;
    scene.layer = PaintLayer::kMoving;
    renderer.Paint(scene, moving);
    scene.layer = PaintLayer::kFixed;
    renderer.Paint(scene, fixedAgain);
    scene.layer = PaintLayer::kAll;
    renderer.Paint(scene, full);

    EXPECT_EQ(moving.Count(Op::kClear), 0u);  // painted over the layer, not instead of it
    // C, its circle, the lines CM and the perpendicular, four points on them, C's label.
    EXPECT_LT(moving.calls.size(), full.calls.size() / 2);
    EXPECT_EQ(SortedKeys(fixedAgain), SortedKeys(fixedLayer));  // nothing in it moved
    std::vector<std::string> layered = SortedKeys(fixedLayer);
    const std::vector<std::string> top = SortedKeys(moving);
    layered.insert(layered.end(), top.begin(), top.end());
    std::sort(layered.begin(), layered.end());
    EXPECT_EQ(layered, SortedKeys(full)) << "step " << step;
  }
}

}  // namespace
}  // namespace kv
