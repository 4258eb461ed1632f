// Loci, the number locus and the measurement record driven like a user session: the locus
// switch and menu, then deformation steps made the way a drag makes them (the hooks around the
// dependents-only recompute).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "draw/recording_canvas.h"
#include "fake_ui_port.h"
#include "figure_builder.h"
#include "geometry/drag_recompute.h"
#include "geometry/recompute.h"
#include "io/text_encoding.h"
#include "session/session.h"
#include "session_start.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using namespace kv::testing;

class LociSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder =
        fs::temp_directory_path() /
        ("kv_loci_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "config_kvwin.txt") << "KVwin_MenuMode = 0\r\n";
    Start();
  }
  void TearDown() override { fs::remove_all(folder); }

  void Start() {
    kv::testing::StartIn(session, folder);
    BuildFigure();
  }

  // A(0,0) and B(4,0) free; the line AB traced in blue; the distance AB named "AB*2"; a
  // hidden distance and a variable r (neither recorded); a circle about B of radius r traced
  // in green, which does not move with A.
  void BuildFigure() {
    Figure& fig = session.figure;
    a = FreePoint(fig, 0, 0);
    b = FreePoint(fig, 4, 0);
    line = fig.AllocObject(kClassLine);
    fig.AppendStep("L1", {Pt(a), Pt(b)}, {Ln(line)});
    fig.lines[line].locusColour = 4;
    dist = fig.AllocObject(kClassNumber);
    fig.AppendStep("ND2P", {Pt(a), Pt(b)}, {Nm(dist)});
    fig.numbers[dist].name = " AB*2 ";
    const int32_t hidden = fig.AllocObject(kClassNumber);
    fig.AppendStep("ND2P", {Pt(a), Pt(b)}, {Nm(hidden)});
    fig.numbers[hidden].name = "h";
    fig.numbers[hidden].hidden = 7;
    r = Variable(fig, 1.5);
    fig.numbers[r].name = "r";
    circle = fig.AllocObject(kClassCircle);
    fig.AppendStep("C1", {Pt(b), Nm(r)}, {Ci(circle)});
    fig.circles[circle].locusColour = 2;
    session.RedrawAll();
  }

  // One deformation step of point `p` to (x, y), as the drag modes make it.
  void Step(int32_t p, double x, double y) {
    if (plan.ObjectCount() == 0) {
      const ObjRef moving = Pt(p);
      plan = StartDrag(session.figure, {&moving, 1});
    }
    session.BeforeDeformStep(p);
    SnapshotDragged(session.figure, plan);
    session.figure.points[p].x = x;
    session.figure.points[p].y = y;
    DragRecompute(session.figure, plan);
    session.AfterDeformStep(p, plan);
  }

  std::string ReadRecord(std::string_view name) const {
    std::ifstream in(folder / std::string(name), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return ShiftJisToUtf8(bytes.str()).value_or("(not Shift_JIS)");
  }

  fs::path folder;
  FakeUiPort ui;
  Session session{ui};
  int32_t a = 0, b = 0, line = 0, dist = 0, r = 0, circle = 0;
  DragPlan plan;
};

TEST_F(LociSessionTest, SwitchingLociOnAndDraggingWritesTheRecordFiles) {
  session.StatusPanelClick(3);
  EXPECT_TRUE(session.LocusOn());
  Step(a, 1, 0);
  Step(a, 2, 0);
  Step(a, 2.5, 0);
  // The page command puts everything written so far on disk before it opens the page.
  session.Command(MenuCommand::mnuLocusNumCSV);
  ASSERT_EQ(ui.opened.size(), 1u);
  EXPECT_EQ(fs::path(ui.opened[0]), folder / "temp.htm");

  const std::string page = ReadRecord("temp.htm");
  const std::string head =
      "<html><body>\r\n"
      "<small>\r\n"
      "<a href=temp.csv>[Excelなどで開く]</a>\r\n"
      "</small>\r\n"
      "<h2>測定値の結果 by KV/Win 1.0.0\r\n"
      "</h2>\r\n"
      "<div align = center>\r\n"
      "<small>\r\n"
      "file : untitled,\r\n";
  ASSERT_EQ(page.substr(0, head.size()), head);
  const std::string rest = page.substr(head.size());
  EXPECT_TRUE(
      std::regex_match(rest, std::regex("\\( \\d{4}/\\d{2}/\\d{2} : \\d{2}:\\d{2}:\\d{2} \\)\r\n"
                                        "</small>\r\n"
                                        "</div>\r\n"
                                        "<hr>\r\n"
                                        "<table border=1>\r\n"
                                        "<tr><th>AB×2\r\n"
                                        "<tr><td>3.00\r\n"
                                        "<tr><td>2.00\r\n"
                                        "<tr><td>1.50\r\n")))
      << rest;
  EXPECT_EQ(ReadRecord("temp.csv"),
            "\"AB×2\",\"\"\r\n"
            "3.00,\"\"\r\n"
            "2.00,\"\"\r\n"
            "1.50,\"\"\r\n");

  // Recording goes on after the page was opened; switching off closes the files.
  Step(a, 3, 0);
  session.Command(MenuCommand::mnuLocusSW);
  EXPECT_EQ(ReadRecord("temp.csv"),
            "\"AB×2\",\"\"\r\n3.00,\"\"\r\n2.00,\"\"\r\n1.50,\"\"\r\n1.00,\"\"\r\n");

  // On again starts both files afresh; a full redraw writes a row of its own.
  session.Command(MenuCommand::mnuLocusSW);
  session.RedrawAll();
  session.Command(MenuCommand::mnuLocusSW);
  EXPECT_EQ(ReadRecord("temp.csv"), "\"AB×2\",\"\"\r\n1.00,\"\"\r\n");
  EXPECT_EQ(ReadRecord("temp.htm").find("<td>3.00"), std::string::npos);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LociSessionTest, ARowIsWrittenForEveryNewStateOfTheFigureAndOnlyThen) {
  session.StatusPanelClick(3);
  // A mouse drag of A: (1, 0) and (2, 0) are held at 1.05 and 2.05 on the pixel grid.
  session.Press(kLeftButton, 0, 0, 0);
  session.Move(kLeftButton, 0, 1, 0);
  session.Move(kLeftButton, 0, 2, 0);
  // The release redraws everything, a right click on empty canvas too: nothing has moved.
  session.Release(kLeftButton, 0, 2, 0);
  session.Press(kRightButton, 0, -5, 5);
  // A about B at the same distance: the values repeat, yet each is a new place of A.
  Step(a, 0, 0);
  Step(a, 4, 4);
  session.Command(MenuCommand::mnuLocusSW);
  EXPECT_EQ(ReadRecord("temp.csv"),
            "\"AB×2\",\"\"\r\n"
            "2.95,\"\"\r\n"
            "1.95,\"\"\r\n"
            "4.00,\"\"\r\n"
            "4.00,\"\"\r\n");
}

TEST_F(LociSessionTest, RecordingWithoutMeasuredNumbersWritesNoRowsAndSaysSo) {
  session.figure.numbers[dist].hidden = 7;  // the only recorded number hidden
  session.StatusPanelClick(3);
  Step(a, 1, 0);
  Step(a, 2, 0);
  session.Command(MenuCommand::mnuLocusNumCSV);
  EXPECT_TRUE(ui.opened.empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("記録する測定値がありません"), std::string::npos);
  EXPECT_EQ(ReadRecord("temp.csv"), "\"\"\r\n");
  EXPECT_EQ(ReadRecord("temp.htm").find("<tr><td"), std::string::npos);

  // Once the numbers are shown and A moves, the rows come and the page opens.
  session.Command(MenuCommand::mnuEVarDispAllOn);
  Step(a, 3, 0);
  session.Command(MenuCommand::mnuLocusNumCSV);
  EXPECT_EQ(ui.opened.size(), 1u);
  EXPECT_NE(ReadRecord("temp.csv").find("1.00,"), std::string::npos);
}

TEST_F(LociSessionTest, NothingIsRecordedWithTheSwitchOff) {
  Step(a, 1, 0);
  Step(a, 2, 0);
  EXPECT_EQ(session.loci.pointCount + session.loci.lineCount + session.loci.circleCount, 0);
  EXPECT_FALSE(fs::exists(folder / "temp.csv"));
  // Erasing loci with the switch off starts no record either.
  session.StatusPanelClick(4);
  EXPECT_FALSE(fs::exists(folder / "temp.csv"));
}

TEST_F(LociSessionTest, OnlyChangedObjectsWithALocusColourLeaveTraces) {
  session.Command(MenuCommand::mnuLocusSW);
  Step(a, 1, 1);
  Step(a, 2, 2);
  // The line moved twice and is traced; the point A moved but has no locus colour; the circle
  // has one but did not move.
  EXPECT_EQ(session.loci.lineCount, 2);
  EXPECT_EQ(session.loci.pointCount, 0);
  EXPECT_EQ(session.loci.circleCount, 0);
  // Each trace is the image before its step, in the locus colour.
  const LineRec& first = session.loci.lines[1];
  EXPECT_DOUBLE_EQ(first.x1, 0);
  EXPECT_DOUBLE_EQ(first.y1, 0);
  EXPECT_EQ(first.colour, 4);
  EXPECT_DOUBLE_EQ(session.loci.lines[2].x1, 1);
  EXPECT_DOUBLE_EQ(session.loci.lines[2].y1, 1);
  // Moving B moves the circle too: now it leaves its trace.
  plan = {};
  Step(b, 5, 0);
  EXPECT_EQ(session.loci.circleCount, 1);
  EXPECT_DOUBLE_EQ(session.loci.circles[1].cx, 4);
  EXPECT_EQ(session.loci.circles[1].colour, 2);
  // A step that moves nothing leaves nothing.
  Step(b, 5, 0);
  EXPECT_EQ(session.loci.circleCount, 1);
  EXPECT_EQ(session.loci.lineCount, 3);

  // Erasing empties the store; a new figure does too.
  session.Command(MenuCommand::mnuLocusReset);
  EXPECT_EQ(session.loci.lineCount, 0);
  EXPECT_EQ(session.loci.lines.size(), 201u);
}

TEST_F(LociSessionTest, TheTwoHundredAndFirstTraceGrowsTheStoreByFifty) {
  session.figure.points[a].locusColour = 1;
  session.Command(MenuCommand::mnuLocusSW);
  for (int i = 1; i <= 200; ++i) Step(a, 0.01 * i, 0);
  EXPECT_EQ(session.loci.pointCount, 200);
  EXPECT_EQ(session.loci.points.size(), 201u);
  Step(a, 5, 5);
  EXPECT_EQ(session.loci.pointCount, 201);
  EXPECT_EQ(session.loci.points.size(), 251u);
  EXPECT_DOUBLE_EQ(session.loci.points[201].x, 2.0);
  EXPECT_EQ(session.loci.points[201].colour, 1);
}

TEST_F(LociSessionTest, TracesAreDrawnUnderTheFigureAfterAFullRedraw) {
  session.figure.lines[line].colour = 7;
  session.Command(MenuCommand::mnuLocusSW);
  Step(a, 0, 3);
  session.Command(MenuCommand::mnuZoomIn);  // a full redraw
  RecordingCanvas canvas;
  Renderer renderer;
  renderer.Paint(session.MakeScene(), canvas);
  Rgb blue, black;
  ASSERT_TRUE(PaletteColour(session.draw, 4, blue));
  ASSERT_TRUE(PaletteColour(session.draw, 7, black));
  // The stored image of AB (blue, width 1) is painted before the line AB itself (black).
  int trace = -1, own = -1;
  for (size_t i = 0; i < canvas.calls.size(); ++i) {
    const auto& call = canvas.calls[i];
    if (call.op != RecordingCanvas::Op::kLine && call.op != RecordingCanvas::Op::kPolyline)
      continue;
    if (call.pen.colour == blue && trace < 0) trace = int(i);
    if (call.pen.colour == black && own < 0) own = int(i);
  }
  ASSERT_GE(trace, 0);
  ASSERT_GE(own, 0);
  EXPECT_LT(trace, own);
  EXPECT_EQ(canvas.calls[trace].pen.width, 1);
}

TEST_F(LociSessionTest, TheNumberLocusMarksThePlaneBySign) {
  // r - 1 as the locus number would need an expression; the distance AB serves: it is 4 at
  // the start, and the table is driven through the hook with values placed by hand.
  session.Command(MenuCommand::mnuLocusSetN);
  EXPECT_EQ(session.CurrentInputMode(), kModeLocusByNumber);
  ASSERT_NE(session.ActiveDialog(), nullptr);
  session.DialogSelect("NumList", 1);  // the first listed number: the distance
  session.DialogClick("Cmd_OK");
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  ASSERT_EQ(session.LocusNumber(), dist);
  session.Command(MenuCommand::mnuLocusSW);

  struct Case {
    double value;
    int marker, colour;
  };
  const Case cases[] = {{0.5, 22, 1},   {0.0101, 22, 1},  {0.01, 20, 7}, {0.0, 20, 7},
                        {-0.01, 20, 7}, {-0.0101, 23, 2}, {-3, 23, 2}};
  int n = 0;
  for (const Case& c : cases) {
    // The value the number has where the point stands before the step decides its image.
    session.figure.numbers[dist].value = c.value;
    Step(a, 0.5 * ++n, 0);
    ASSERT_EQ(session.loci.pointCount, n);
    const PointRec& image = session.loci.points[n];
    EXPECT_EQ(image.marker, c.marker) << c.value;
    EXPECT_EQ(image.colour, c.colour) << c.value;
    EXPECT_DOUBLE_EQ(image.x, 0.5 * (n - 1));
  }
  // The figure's own point keeps its look.
  EXPECT_EQ(session.figure.points[a].locusColour, 0);
  EXPECT_NE(session.figure.points[a].marker, 22);

  session.Command(MenuCommand::mnuLocusNumClear);
  EXPECT_EQ(session.LocusNumber(), 0);
  Step(a, 9, 9);
  EXPECT_EQ(session.loci.pointCount, n);  // A has no locus colour of its own
}

TEST_F(LociSessionTest, TraceMarkerPointsLeaveDotsUntilTheNextFullRedraw) {
  // The circumcentre of A, B and C(0, 4) with a trace marker; A has one too, but the point
  // being dragged leaves no dots.
  Figure& fig = session.figure;
  const int32_t c = FreePoint(fig, 0, 4);
  const int32_t centre = fig.AllocObject(kClassPoint);
  fig.AppendStep("P1", {Pt(a), Pt(b), Pt(c)}, {Pt(centre)});
  fig.points[centre].marker = 12;
  fig.points[centre].colour = 4;
  fig.points[a].marker = 12;
  fig.points[a].colour = 4;
  session.RedrawAll();
  Rgb red;
  ASSERT_TRUE(PaletteColour(session.draw, 1, red));
  const auto redDots = [&] {
    RecordingCanvas canvas;
    Renderer renderer;
    renderer.Paint(session.MakeScene(), canvas);
    std::vector<DevicePoint> dots;
    for (const auto* call : canvas.Of(RecordingCanvas::Op::kDot))
      if (call->pen.colour == red) dots.push_back(call->points[0]);
    return dots;
  };
  // With the locus switch off: the circumcentre was at (2, 2), then at (2.5, 2.5).
  Step(a, 1, 0);
  Step(a, 1, 1);
  const auto dots = redDots();
  ASSERT_EQ(dots.size(), 2u);
  const DevicePoint first = session.view.ToDevice(2, 2);
  const DevicePoint second = session.view.ToDevice(2.5, 2.5);
  EXPECT_DOUBLE_EQ(dots[0].x, first.x);
  EXPECT_DOUBLE_EQ(dots[0].y, first.y);
  EXPECT_DOUBLE_EQ(dots[1].x, second.x);
  EXPECT_DOUBLE_EQ(dots[1].y, second.y);
  EXPECT_EQ(session.loci.pointCount, 0);
  session.RedrawAll();
  EXPECT_TRUE(redDots().empty());
}

TEST_F(LociSessionTest, LocusPanelAndMenuFollowTheSwitch) {
  EXPECT_EQ(session.Panel(3).text, "×軌");
  EXPECT_TRUE(session.Panel(3).raised);
  EXPECT_FALSE(session.Panel(3).sunken);
  session.StatusPanelClick(3);
  EXPECT_EQ(session.Panel(3).text, "軌");
  EXPECT_TRUE(session.Panel(3).sunken);
  EXPECT_FALSE(session.Panel(3).raised);
  bool checked = false;
  for (const auto& [cmd, mark] : session.CheckMarks())
    if (cmd == MenuCommand::mnuLocusSW) checked = mark;
  EXPECT_TRUE(checked);
  // The locus menu is there in the standard mode and gone in a construction or in mode 70.
  EXPECT_TRUE(session.TopMenus().locus);
  session.Command(MenuCommand::mnuRakugaki);
  EXPECT_FALSE(session.TopMenus().locus);
  EXPECT_FALSE(session.TopMenus().file || session.TopMenus().help || session.TopMenus().zoom);
}

TEST_F(LociSessionTest, ReadOnlyInstallWritesNoRecordAndHidesTheItem) {
  std::ofstream(folder / "kvwin") << "program";
  fs::permissions(folder / "kvwin",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  ui.calls.clear();
  Start();
  EXPECT_TRUE(session.ReadOnlyInstall());
  EXPECT_FALSE(session.MeasurementRecordsAvailable());
  EXPECT_NE(std::find(ui.calls.begin(), ui.calls.end(), "SetMeasurementRecordsVisible"),
            ui.calls.end());
  session.Command(MenuCommand::mnuLocusSW);
  Step(a, 1, 0);
  EXPECT_EQ(session.loci.lineCount, 1);  // loci themselves are still stored
  session.Command(MenuCommand::mnuLocusReset);
  session.Command(MenuCommand::mnuLocusNumCSV);
  EXPECT_FALSE(fs::exists(folder / "temp.csv"));
  EXPECT_FALSE(fs::exists(folder / "temp.htm"));
  EXPECT_TRUE(ui.opened.empty());
}

TEST_F(LociSessionTest, ARecordThatCannotBeWrittenStopsWithOneMessage) {
  // A folder where the record file should be: no file can be opened there.
  fs::create_directories(folder / "temp.csv");
  ui.calls.clear();
  session.Command(MenuCommand::mnuLocusSW);
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.warnings, 1);
  EXPECT_NE(std::find(ui.calls.begin(), ui.calls.end(), "SetMeasurementRecordsVisible"),
            ui.calls.end());
  EXPECT_FALSE(session.MeasurementRecordsAvailable());
  // The drag goes on, traces and all; no second message.
  Step(a, 1, 0);
  Step(a, 2, 0);
  session.Command(MenuCommand::mnuLocusSW);
  session.Command(MenuCommand::mnuLocusSW);
  session.Command(MenuCommand::mnuLocusNumCSV);
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.opened.empty());
  EXPECT_EQ(session.loci.lineCount, 2);
  EXPECT_DOUBLE_EQ(session.figure.numbers[dist].value, 2.0);
}

}  // namespace
}  // namespace kv
