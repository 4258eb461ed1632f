// Building figures the way a pupil does: menu commands, clicks on the canvas, keys, the number
// dialog. Expected positions are worked out by hand from the clicked coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "construct/parent_pick_mode.h"
#include "fake_ui_port.h"
#include "session/session.h"
#include "session_start.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using M = MenuCommand;

class ConstructionSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = kv::testing::FreshTestFolder("kv_construct_");
    kv::testing::StartIn(session, folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  Figure& fig() { return session.figure; }

  // Places free points with the new-point command, then ends it with Esc.
  void PlacePoints(std::initializer_list<std::pair<double, double>> positions) {
    session.Command(M::mnuPnewFreeP);
    for (auto [x, y] : positions) session.Press(kLeftButton, 0, x, y);
    session.Key(kKeyEscape, 0);
  }

  // The candidate the picker highlights now, or nothing outside a pick.
  ObjRef Highlighted() const {
    auto* pick = dynamic_cast<const ParentPickMode*>(session.Modes().TopMode());
    return pick ? pick->Picker().Current() : ObjRef{};
  }

  // A user choosing `target` near (x, y): a click moves the highlight there, a second one on
  // the highlighted object confirms it.
  void Choose(ObjRef target, double x, double y) {
    if (Highlighted() != target) session.Press(kLeftButton, 0, x, y);
    ASSERT_EQ(Highlighted(), target);
    session.Press(kLeftButton, 0, x, y);
  }

  // Joins two points with the command (a line, segment or half-line).
  void Join(MenuCommand cmd, int32_t a, int32_t b) {
    session.Command(cmd);
    Choose({kClassPoint, a}, fig().points[a].x, fig().points[a].y);
    Choose({kClassPoint, b}, fig().points[b].x, fig().points[b].y);
  }

  fs::path folder;
  FakeUiPort ui;
  Session session{ui};
};

TEST_F(ConstructionSessionTest, NewPointsOnePerClickUntilEscapeRemovesOnlyTheWaitingOne) {
  session.Command(M::mnuPnewFreeP);
  EXPECT_EQ(session.CurrentInputMode(), kModeNewPoint);
  session.Press(kLeftButton, 0, 1, 2);
  session.Press(kLeftButton, 0, -3, 0.5);
  // The third point waits; the arrow keys move it by 10 pixels (0.5 world units) before Enter.
  session.Key(kKeyRight, 0);
  session.Key(kKeyUp, 0);
  session.Key(kKeyEnter, 0);
  session.Key(kKeyEscape, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  ASSERT_EQ(fig().StepCount(), 3);
  ASSERT_EQ(fig().classCount[kClassPoint], 3);
  EXPECT_DOUBLE_EQ(fig().points[1].x, 1);
  EXPECT_DOUBLE_EQ(fig().points[2].y, 0.5);
  EXPECT_DOUBLE_EQ(fig().points[3].x, 0.5);
  EXPECT_DOUBLE_EQ(fig().points[3].y, 0.5);
  for (int32_t i = 1; i <= 3; ++i) {
    EXPECT_EQ(fig().points[i].free, kTrue);
    EXPECT_EQ(fig().points[i].marker, 0);
    EXPECT_EQ(fig().KindOf(i), Kind::kPNEW);
  }
  // The point that was waiting is gone with its record.
  EXPECT_EQ(fig().points[4].valid, 0);
  EXPECT_EQ(fig().points[4].free, 0);
}

TEST_F(ConstructionSessionTest, TriangleWithItsCircumcircleByClicks) {
  PlacePoints({{0, 0}, {4, 0}, {0, 3}});
  session.Command(M::mnuCgaisetsu);
  EXPECT_EQ(session.CurrentInputMode(), kModeConstructSelect);
  EXPECT_EQ(session.Modes().Entries()[1], kModeConstruct);
  // A is highlighted first: one click on it confirms; the others need a click to move there.
  EXPECT_EQ(Highlighted(), (ObjRef{kClassPoint, 1}));
  Choose({kClassPoint, 1}, 0.1, 0.1);
  Choose({kClassPoint, 2}, 3.9, 0.2);
  Choose({kClassPoint, 3}, 0.2, 2.8);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  ASSERT_EQ(fig().StepCount(), 4);
  EXPECT_EQ(fig().KindOf(4), Kind::kC3);
  ASSERT_EQ(fig().classCount[kClassCircle], 1);
  // The hypotenuse from (4, 0) to (0, 3) is a diameter: centre (2, 1.5), radius 2.5.
  const CircleRec& c = fig().circles[1];
  EXPECT_NE(c.valid, 0);
  EXPECT_NEAR(c.cx, 2, 1e-12);
  EXPECT_NEAR(c.cy, 1.5, 1e-12);
  EXPECT_NEAR(c.radius, 2.5, 1e-12);
}

TEST_F(ConstructionSessionTest, IntersectionOfTwoLinesThroughTheGenericPicking) {
  PlacePoints({{-2, 0}, {2, 0}, {0, -2}, {0, 2}});
  Join(M::mnlL2P, 1, 2);
  Join(M::mnlL2P, 3, 4);
  session.Command(M::mnuPcrossLL);
  Choose({kClassLine, 1}, 1, 0.1);
  Choose({kClassLine, 2}, 0.1, 1);
  ASSERT_EQ(fig().classCount[kClassPoint], 5);
  const PointRec& p = fig().points[5];
  EXPECT_NE(p.valid, 0);
  EXPECT_NEAR(p.x, 0, 1e-12);
  EXPECT_NEAR(p.y, 0, 1e-12);
  EXPECT_EQ(p.marker, 1);  // "×"
  EXPECT_EQ(fig().KindOf(fig().StepCount()), Kind::kPC1);

  // Repeat starts the same command again; Esc leaves no pending step.
  const int32_t steps = fig().StepCount();
  session.Command(M::mnuCredo);
  EXPECT_EQ(session.CurrentInputMode(), kModeConstructSelect);
  EXPECT_EQ(fig().KindOf(fig().StepCount()), Kind::kPC1);
  session.Press(kRightButton, 0, 0, 0);  // the right button is Esc
  EXPECT_EQ(fig().StepCount(), steps);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(ConstructionSessionTest, TooFewObjectsShowsTheMessageAndLeavesNothing) {
  PlacePoints({{-2, 0}, {2, 0}});
  Join(M::mnlL2P, 1, 2);
  const int32_t steps = fig().StepCount();
  ui.messages.clear();
  session.Command(M::mnuPcrossLL);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0],
            "「交点（２直線）」の元にするものが足りません。まず,それを作ってください。");
  EXPECT_EQ(fig().StepCount(), steps);
  EXPECT_EQ(fig().KindCode(steps + 1), "");
  EXPECT_EQ(session.Modes().Top(), 1);

  // The perpendicular bisector wants a segment: a straight line does not count.
  session.Command(M::mnuLperpendicular);
  EXPECT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(fig().StepCount(), steps);
}

TEST_F(ConstructionSessionTest, LineCircleIntersectionsAreCrossesAndOneUndoRemovesBoth) {
  PlacePoints({{-4, 0}, {4, 0}, {0, 0}, {0, 3}});
  Join(M::mnlL2P, 1, 2);
  session.Command(M::mnuC2P);
  Choose({kClassPoint, 3}, 0, 0);
  Choose({kClassPoint, 4}, 0, 3);
  session.Command(M::mnuPcrossLC);
  Choose({kClassLine, 1}, 2, 0.05);
  Choose({kClassCircle, 1}, 0, -3);
  ASSERT_EQ(fig().classCount[kClassPoint], 6);
  // The x axis meets the circle of radius 3 about the origin at (-3, 0) and (3, 0).
  const PointRec& p = fig().points[5];
  const PointRec& q = fig().points[6];
  EXPECT_NEAR(std::abs(p.x), 3, 1e-12);
  EXPECT_NEAR(p.x + q.x, 0, 1e-12);
  EXPECT_EQ(p.marker, 1);
  EXPECT_EQ(q.marker, 1);

  session.Command(M::mnuCundo);
  EXPECT_EQ(fig().classCount[kClassPoint], 4);
  EXPECT_EQ(fig().KindOf(fig().StepCount()), Kind::kC2);
  // Undo down to nothing, then once more: a beep and no harm.
  while (fig().StepCount() > 0) session.StatusPanelClick(10);
  const int beeps = ui.beeps;
  session.StatusPanelClick(10);
  EXPECT_EQ(ui.beeps, beeps + 1);
  EXPECT_EQ(fig().StepCount(), 0);
}

TEST_F(ConstructionSessionTest, SegmentsHalfLinesAndMirroredLinesKeepTheirType) {
  PlacePoints({{0, 0}, {2, 0}, {0, 1}, {0, 3}});
  Join(M::mnuS2P, 1, 2);  // line 1: segment
  Join(M::mnuH2P, 3, 4);  // line 2: half-line
  Join(M::mnlL2P, 1, 3);  // line 3: the y axis
  EXPECT_EQ(fig().lines[1].lineType, 1);
  EXPECT_EQ(fig().lines[2].lineType, 2);
  EXPECT_EQ(fig().lines[3].lineType, 0);
  EXPECT_EQ(fig().KindOf(5), Kind::kL1);
  EXPECT_EQ(fig().KindOf(6), Kind::kL1);

  // Mirroring the half-line in the segment's line gives a half-line again.
  session.Command(M::mnuTLLinesym);
  Choose({kClassLine, 2}, 0.05, 2);
  Choose({kClassLine, 1}, 1, 0.05);
  ASSERT_EQ(fig().classCount[kClassLine], 4);
  EXPECT_EQ(fig().lines[4].lineType, 2);

  // Repeating the segment command makes a segment again.
  Join(M::mnuS2P, 2, 4);
  session.Command(M::mnuCredo);
  Choose({kClassPoint, 3}, 0, 1);
  Choose({kClassPoint, 2}, 2, 0);
  EXPECT_EQ(fig().lines[6].lineType, 1);
}

TEST_F(ConstructionSessionTest, RegularTriangleFromTheNumberDialog) {
  PlacePoints({{0, 0}, {2, 0}});
  session.Command(M::mnuSRegularPolygon);
  DialogModel* dialog = session.ActiveDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->FormName(), "KVSelNum");
  EXPECT_EQ(ui.shownDialog, dialog);
  session.DialogType("Text1", "3");
  session.DialogClick("NewNumOK");
  EXPECT_EQ(session.ActiveDialog(), nullptr);
  EXPECT_EQ(ui.shownDialog, nullptr);
  Choose({kClassPoint, 1}, 0, 0);
  Choose({kClassPoint, 2}, 2, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  // One new vertex: A turned about B by 60 degrees, (1, -sqrt 3) or (1, sqrt 3).
  ASSERT_EQ(fig().classCount[kClassPoint], 3);
  EXPECT_NEAR(fig().points[3].x, 1, 1e-9);
  EXPECT_NEAR(std::abs(fig().points[3].y), std::sqrt(3.0), 1e-9);
  EXPECT_EQ(fig().classCount[kClassLine], 3);
  for (int32_t i = 1; i <= 3; ++i) EXPECT_EQ(fig().lines[i].lineType, 1);

  // One undo removes the whole group and its numbers' points and sides.
  session.Command(M::mnuCundo);
  EXPECT_EQ(fig().StepCount(), 2);
  EXPECT_EQ(fig().classCount[kClassPoint], 2);
  EXPECT_EQ(fig().classCount[kClassLine], 0);
}

TEST_F(ConstructionSessionTest, RightClickWhileTheNumberDialogWaitsCancelsCommandAndDialog) {
  PlacePoints({{0, 0}, {2, 0}});
  session.Command(M::mnuSRegularPolygon);
  ASSERT_NE(session.ActiveDialog(), nullptr);
  session.Press(kRightButton, 0, 5, 5);
  EXPECT_EQ(session.ActiveDialog(), nullptr);
  EXPECT_EQ(ui.shownDialog, nullptr);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(fig().StepCount(), 2);
  // Clicks meant for the dialog find none and change nothing.
  EXPECT_FALSE(session.DialogClick("NewNumOK"));
  EXPECT_EQ(fig().classCount[kClassNumber], 0);
}

TEST_F(ConstructionSessionTest, EscapeWhilePickingPolygonVerticesRemovesTheWholeGroup) {
  PlacePoints({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
  session.Command(M::mnuSpolygon);
  session.DialogType("Text1", "4");
  session.DialogClick("NewNumOK");
  Choose({kClassPoint, 1}, 0, 0);
  Choose({kClassPoint, 2}, 2, 0);
  Choose({kClassPoint, 3}, 2, 2);
  EXPECT_EQ(fig().classCount[kClassLine], 2);
  session.Key(kKeyEscape, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(fig().StepCount(), 4);
  EXPECT_EQ(fig().classCount[kClassLine], 0);

  // Done again to the end with the count typed before, four sides close the square.
  session.Command(M::mnuSpolygon);
  session.DialogClick("Command1");  // from the new-variable entry back to the list
  session.DialogSelect("NumList", 1);
  session.DialogClick("Cmd_OK");
  for (int32_t v = 1; v <= 4; ++v) Choose({kClassPoint, v}, fig().points[v].x, fig().points[v].y);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(fig().classCount[kClassLine], 4);
  session.Command(M::mnuCundo);
  EXPECT_EQ(fig().classCount[kClassLine], 0);
  EXPECT_EQ(fig().StepCount(), 4);
}

TEST_F(ConstructionSessionTest, UpAndDownCycleThroughTheCandidatesSkippingChosenOnes) {
  PlacePoints({{0, 0}, {1, 0}, {2, 0}});
  session.Command(M::mnuCgaisetsu);
  session.Key(kKeyUp, 0);  // from the first back round to the last
  EXPECT_EQ(Highlighted(), (ObjRef{kClassPoint, 3}));
  EXPECT_EQ(session.Panel(11).text, "点C");
  session.Key(kKeyEnter, 0);
  // C is taken: the keys now cycle through A and B only.
  EXPECT_EQ(Highlighted(), (ObjRef{kClassPoint, 1}));
  session.Key(kKeyUp, 0);
  EXPECT_EQ(Highlighted(), (ObjRef{kClassPoint, 2}));
  session.Key(kKeyDown, 0);
  EXPECT_EQ(Highlighted(), (ObjRef{kClassPoint, 1}));
  session.Key(kKeyEscape, 0);
  EXPECT_EQ(fig().StepCount(), 3);
  EXPECT_EQ(session.Panel(11).text, "");
}

TEST_F(ConstructionSessionTest, PointOnALineEndsInPlacingMode) {
  ui.messages.clear();
  session.Command(M::mnuPboundL);
  EXPECT_EQ(ui.messages.size(), 1u);  // no line yet
  EXPECT_EQ(fig().StepCount(), 0);
  PlacePoints({{-2, 1}, {2, 1}});
  Join(M::mnlL2P, 1, 2);
  session.Command(M::mnuPboundL);
  Choose({kClassLine, 1}, 0, 1);
  EXPECT_EQ(session.CurrentInputMode(), kModePlacePoint);
  EXPECT_EQ(fig().KindOf(fig().StepCount()), Kind::kPBND);
  const PointRec& p = fig().points[3];
  EXPECT_EQ(p.boundClass, kClassLine);
  EXPECT_EQ(p.boundIndex, 1);
  EXPECT_NEAR(p.y, 1, 1e-9);  // on the line y = 1
  session.Key(kKeyEnter, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(ConstructionSessionTest, NewFigureAsksOnlyWhenThereArePoints) {
  session.Command(M::mnuNew);
  EXPECT_EQ(session.CurrentInputMode(), kModeNewPoint);  // nothing to lose: no question
  session.Press(kLeftButton, 0, 1, 1);
  session.Key(kKeyEscape, 0);
  ui.messages.clear();
  ui.answers = {Answer::kCancel};
  session.Command(M::mnuNew);
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(fig().StepCount(), 1);
  ui.answers = {Answer::kYes};
  session.Command(M::mnuNew);
  EXPECT_EQ(fig().StepCount(), 1);  // the old point gone, a new one waiting
  EXPECT_EQ(session.CurrentInputMode(), kModeNewPoint);
  EXPECT_EQ(session.FigureFileName(), "untitled");
}

TEST_F(ConstructionSessionTest, MeasurementsAndAnExpressionOverThem) {
  PlacePoints({{0, 0}, {3, 4}});
  session.Command(M::mnuMdis2P);
  Choose({kClassPoint, 1}, 0, 0);
  Choose({kClassPoint, 2}, 3, 4);
  session.Command(M::mnuMAxisX);
  Choose({kClassPoint, 2}, 3, 4);
  ASSERT_EQ(fig().classCount[kClassNumber], 2);
  EXPECT_DOUBLE_EQ(fig().numbers[1].value, 5);
  EXPECT_DOUBLE_EQ(fig().numbers[2].value, 3);

  // N2 + N1 in the expression dialog: 3 + 5.
  session.Command(M::mnuMcalc);
  EXPECT_EQ(session.CurrentInputMode(), kModeExpression);
  ASSERT_NE(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.ActiveDialog()->FormName(), "KVExpress");
  session.DialogSelect("NumList", 2);
  session.DialogClick("NumSelectOK");
  session.DialogClick("cmdOpAdd");
  session.DialogSelect("NumList", 1);
  session.DialogClick("NumSelectOK");
  session.DialogClick("cmdInputEnd");
  EXPECT_EQ(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(fig().KindOf(fig().StepCount()), Kind::kCALC);
  ASSERT_EQ(fig().classCount[kClassNumber], 3);
  EXPECT_DOUBLE_EQ(fig().numbers[3].value, 8);

  // Repeat after an expression opens the dialog again; cancelling adds nothing.
  const int32_t steps = fig().StepCount();
  session.StatusPanelClick(9);
  ASSERT_NE(session.ActiveDialog(), nullptr);
  session.DialogClick("cmdCancel");
  EXPECT_EQ(fig().StepCount(), steps);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(ConstructionSessionTest, HoverShowsWhatCanBeDraggedAndADragMovesItsPoints) {
  PlacePoints({{0, 0}, {4, 0}});
  Join(M::mnuS2P, 1, 2);
  // 15 pixels (0.75 units) from a free point: found, since free points count half.
  session.Move(0, 0, 0.75, -0.2);
  EXPECT_TRUE(ui.sizeAllPointer);
  EXPECT_EQ(session.Panel(11).text, "点A");
  session.Move(0, 0, 2, 3);
  EXPECT_FALSE(ui.sizeAllPointer);
  EXPECT_EQ(session.Panel(11).text, "");

  // Dragging A by itself.
  session.Press(kLeftButton, 0, 0.1, 0.1);
  EXPECT_EQ(session.CurrentInputMode(), kModeDrag);
  EXPECT_EQ(session.TopMenus(), MenuEnablingFor(kModeDrag));
  // Mouse positions go onto the pixel grid (0.05 units), positive ones one pixel up.
  session.Move(kLeftButton, 0, 1, 2);
  EXPECT_NEAR(fig().points[1].x, 1.05, 1e-12);
  EXPECT_NEAR(fig().points[1].y, 2.05, 1e-12);
  session.Release(kLeftButton, 0, 1, 2);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);

  // Dragging the segment AB by its middle moves both ends by the same vector.
  session.Press(kLeftButton, 0, 2.5, 1);
  ASSERT_EQ(session.Drag().dragLine, 1);
  session.Move(kLeftButton, 0, 3.5, 0);
  session.Release(kLeftButton, 0, 3.5, 0);
  // (3.5, 0) is held at (3.55, 0) on the grid.
  EXPECT_NEAR(fig().points[1].x, 2.1, 1e-12);
  EXPECT_NEAR(fig().points[1].y, 1.05, 1e-12);
  EXPECT_NEAR(fig().points[2].x, 5.05, 1e-12);
  EXPECT_NEAR(fig().points[2].y, -1, 1e-12);
}

TEST(ConstructionCommandsTest, EveryEnabledConstructionItemStartsOrIsRefusedWithAMessage) {
  // On an empty figure every construction item waits for input, says what is missing, or (the
  // map demonstrations) builds at once; none stays silently inert.
  for (const MenuItemInfo& row : MenuTree()) {
    const MenuCommand cmd = row.id;
    if (!IsConstructionCommand(ForwardedCommand(cmd))) continue;
    const CommandKind kind = ClassifyCommand(ForwardedCommand(cmd));
    if (kind == CommandKind::kUndo || kind == CommandKind::kRepeat) continue;
    FakeUiPort ui;
    Session session(ui);
    session.Command(cmd);
    const bool waits = session.CurrentInputMode() != kModeStandard || session.ActiveDialog();
    EXPECT_TRUE(waits || !ui.messages.empty() || session.figure.StepCount() > 0) << row.name;
  }
}

}  // namespace
}  // namespace kv
