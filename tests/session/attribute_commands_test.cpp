// The edit commands driven like a user session: pick, fill the dialog, confirm or cancel.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "construct/attribute_dialogs.h"
#include "fake_ui_port.h"
#include "figure_builder.h"
#include "session/session.h"
#include "session_start.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class AttributeCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder =
        fs::temp_directory_path() /
        ("kv_attr_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "config_kvwin.txt") << "KVwin_MenuMode = 0\r\n";
    kv::testing::StartIn(session, folder);
    // The circumcircle sample: free points A(-4,-2), B(5,-1), C, the triangle and its circle.
    ASSERT_TRUE(session.OpenFigure(std::string(KV_SOURCE_DIR) + "/samples/circumcircle.kv4"));
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path folder;
  FakeUiPort ui;
  Session session{ui};
};

TEST_F(AttributeCommandsTest, EditMenuPicksThePointAndLockingItStopsDrags) {
  session.Command(MenuCommand::mnuEbasicPt);
  EXPECT_EQ(session.CurrentInputMode(), kModeEditSelect);
  session.Key(kKeyEnter, 0);  // the first point, A
  ASSERT_NE(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.ActiveDialog()->FormName(), "PtAttribute");
  EXPECT_EQ(session.CurrentInputMode(), kModePointEdit);
  EXPECT_TRUE(session.DialogSelect("ComboIndependent", 2));  // "不可能"
  EXPECT_TRUE(session.DialogType("TextName", "P"));
  EXPECT_TRUE(session.DialogClick("CommandOK"));
  EXPECT_EQ(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(session.figure.points[1].free, 1);
  EXPECT_EQ(session.figure.points[1].name, "P");
  EXPECT_TRUE(session.Modified());
  // A locked point is no longer offered for dragging.
  session.Command(MenuCommand::mnuEboundedPt);
  session.Key(kKeyEnter, 0);
  ASSERT_NE(session.ActiveDialog(), nullptr);
  session.DialogClick("CmdCancel");
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(AttributeCommandsTest, EscapeOrCancelWritesNothing) {
  const std::string name = session.figure.lines[1].name.str();
  session.Command(MenuCommand::mnuEbasicLine);
  session.Key(kKeyEscape, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(session.ActiveDialog(), nullptr);

  session.Command(MenuCommand::mnuEbasicLine);
  session.Key(kKeyEnter, 0);
  session.DialogType("TextName", "zz");
  session.DialogClick("CommandCancel");
  EXPECT_EQ(session.figure.lines[1].name, name);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_FALSE(session.Modified());
}

TEST_F(AttributeCommandsTest, BindingAPointToTheCircleEndsInPlacingIt) {
  // A new free point D, then bound to the circle through A, B and C.
  Figure& f = session.figure;
  const int32_t d = testing::FreePoint(f, 20, 20);
  session.RedrawAll();

  session.Command(MenuCommand::mnuEboundedPt);
  EXPECT_EQ(session.CurrentInputMode(), kModeBindPickPoint);
  session.Press(1, 0, 20, 20);  // D becomes current
  session.Press(1, 0, 20, 20);  // and is confirmed
  ASSERT_NE(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.ActiveDialog()->FormName(), "SelGeoKindBounded");
  session.DialogSelect("ListKind", 4);  // "円上に取る"
  session.DialogClick("cmdOK");
  EXPECT_EQ(session.CurrentInputMode(), kModeBindPickTarget);
  session.Key(kKeyEnter, 0);  // the only circle
  EXPECT_EQ(session.CurrentInputMode(), kModePlacePoint);
  EXPECT_EQ(session.Drag().dragPoint, d);
  EXPECT_EQ(f.points[d].boundClass, kClassCircle);
  EXPECT_EQ(f.points[d].boundIndex, 1);
  // D now lies on the circle.
  const CircleRec& c = f.circles[1];
  EXPECT_NEAR(std::hypot(f.points[d].x - c.cx, f.points[d].y - c.cy), c.radius, 1e-9);
  session.Key(kKeyEscape, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(AttributeCommandsTest, BindingToAClassWithoutTargetsSaysSoAndCancels) {
  session.Command(MenuCommand::mnuEboundedPt);
  session.Key(kKeyEnter, 0);  // A: the circle and both lines through A are built on it
  session.DialogSelect("ListKind", 4);
  session.DialogClick("cmdOK");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "元にする対象がありません。キャンセルします。");
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(session.figure.points[1].boundClass, 0);
}

TEST_F(AttributeCommandsTest, ObjectMenuOpensTheDialogAtOnceAndNumbersHideTogether) {
  session.OpenObjectMenu({kClassCircle, 1});
  session.Command(MenuCommand::mnuEdit2_point_Edit);
  ASSERT_NE(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.ActiveDialog()->FormName(), "CircleAttribute");
  EXPECT_EQ(session.CurrentInputMode(), kModeCircleEdit);
  session.DialogSelect("ComboClr", 2);
  session.DialogClick("CommandOK");
  EXPECT_EQ(session.figure.circles[1].colour, 1);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);

  const int32_t n = session.figure.AllocObject(kClassNumber);
  session.figure.numbers[n].independent = kTrue;
  session.Command(MenuCommand::mnuEVarDispAllOff);
  EXPECT_EQ(session.figure.numbers[n].hidden, 7);
  session.Command(MenuCommand::mnuEVarDispAllOn);
  EXPECT_EQ(session.figure.numbers[n].hidden, 0);

  // The number dialog chooses the number, then its attribute dialog opens.
  session.Command(MenuCommand::mnuEbasicNum);
  ASSERT_NE(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.ActiveDialog()->FormName(), "KVSelNum");
  session.DialogClick("Cmd_OK");
  ASSERT_NE(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.ActiveDialog()->FormName(), "NumAttribute");
  session.DialogType("TextVal", "3.5");
  session.DialogClick("CommandOK");
  EXPECT_DOUBLE_EQ(session.figure.numbers[n].value, 3.5);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(AttributeCommandsTest, DoubleClickingAPointOrLineOpensItsDialog) {
  const Figure& f = session.figure;
  const PointRec a = f.points[1];
  const LineRec& side = f.lines[1];
  const double midX = (f.points[side.endA].x + f.points[side.endB].x) / 2;
  const double midY = (f.points[side.endA].y + f.points[side.endB].y) / 2;
  // The window's order: press, release, double click, release.
  const auto doubleClick = [&](double x, double y) {
    session.Press(kLeftButton, 0, x, y);
    session.Release(kLeftButton, 0, x, y);
    session.DoubleClick();
    session.Release(kLeftButton, 0, x, y);
  };
  const struct {
    double x, y;
    std::string form;
    int16_t mode;
  } cases[] = {{a.x, a.y, "PtAttribute", kModePointEdit},
               {midX, midY, "LineAttribute", kModeLineEdit}};
  for (const auto& c : cases) {
    doubleClick(c.x, c.y);
    ASSERT_NE(session.ActiveDialog(), nullptr) << c.form;
    EXPECT_EQ(session.ActiveDialog()->FormName(), c.form);
    EXPECT_EQ(session.CurrentInputMode(), c.mode);
    session.DialogClick("CommandCancel");
    EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  }
  // The dialog writes back as the edit menu's does, and the drag of the first click moved
  // nothing.
  doubleClick(a.x, a.y);
  session.DialogType("TextName", "Q");
  session.DialogClick("CommandOK");
  EXPECT_EQ(f.points[1].name, "Q");
  EXPECT_EQ(f.points[1].x, a.x);
  EXPECT_EQ(f.points[1].y, a.y);

  // Empty canvas: the press is repeated, which marks what can be dragged.
  doubleClick(30, 30);
  EXPECT_EQ(session.ActiveDialog(), nullptr);
  EXPECT_FALSE(session.CandidateMarks().empty());
  // While a command picks its parents a double click stays a repeated press: it confirms.
  session.Command(MenuCommand::mnuS2P);
  session.Press(kLeftButton, 0, a.x, a.y);
  session.DoubleClick();
  EXPECT_EQ(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.CurrentInputMode(), kModeConstructSelect);
  session.Key(kKeyEscape, 0);
  // The easy menu keeps editing out of a beginner's way: no dialog there either.
  session.ToggleMenuMode();
  ASSERT_TRUE(session.EasyMenu());
  doubleClick(a.x, a.y);
  EXPECT_EQ(session.ActiveDialog(), nullptr);
}

TEST_F(AttributeCommandsTest, PicksFollowClicksAndKeysAndTheRightButtonCancels) {
  const Figure& f = session.figure;
  auto pointText = [&](int32_t i) { return "点" + f.points[i].name.str(); };
  // The first point is offered; a click near B moves the offer without opening anything, and
  // Up cycles back past the first point to the last one, the circumcentre.
  session.Command(MenuCommand::mnuEbasicPt);
  EXPECT_EQ(session.Panel(11).text, pointText(1));
  session.Press(kLeftButton, 0, f.points[2].x + 0.3, f.points[2].y);
  EXPECT_EQ(session.CurrentInputMode(), kModeEditSelect);
  EXPECT_EQ(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.Panel(11).text, pointText(2));
  session.Key(kKeyUp, 0);
  session.Key(kKeyUp, 0);
  EXPECT_EQ(session.Panel(11).text, pointText(4));
  session.Press(kRightButton, 0, 0, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.Panel(11).text, "");

  // A click moves to the side BC, a second click there opens that line's dialog.
  const double mx = (f.points[2].x + f.points[3].x) / 2, my = (f.points[2].y + f.points[3].y) / 2;
  session.Command(MenuCommand::mnuEbasicLine);
  session.Press(kLeftButton, 0, mx, my);
  EXPECT_EQ(session.ActiveDialog(), nullptr);
  EXPECT_EQ(session.Panel(11).text, "直線" + f.lines[2].name.str());
  session.Press(kLeftButton, 0, mx, my);
  auto* dialog = dynamic_cast<ShapeAttributeDialog*>(session.ActiveDialog());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Target(), (ObjRef{kClassLine, 2}));
  EXPECT_EQ(session.Panel(11).text, "");
  session.DialogClick("CommandCancel");

  // Binding C to a line: only free points are offered (Up from A reaches C, not the
  // circumcentre), then only lines not built from C: the side AB and its bisector.
  session.Command(MenuCommand::mnuEboundedPt);
  session.Key(kKeyUp, 0);
  EXPECT_EQ(session.Panel(11).text, pointText(3));
  session.Key(kKeyEnter, 0);
  session.DialogSelect("ListKind", 3);  // "直線上に取る"
  session.DialogClick("cmdOK");
  EXPECT_EQ(session.CurrentInputMode(), kModeBindPickTarget);
  EXPECT_EQ(session.Panel(11).text, "直線" + f.lines[1].name.str());
  session.Key(kKeyDown, 0);
  EXPECT_EQ(session.Panel(11).text, "直線" + f.lines[4].name.str());
  session.Key(kKeyDown, 0);
  EXPECT_EQ(session.Panel(11).text, "直線" + f.lines[1].name.str());
  // Esc (here the right button) leaves the point as it was.
  session.Press(kRightButton, 0, 0, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(f.points[3].boundClass, 0);
  EXPECT_EQ(session.Panel(11).text, "");
}

}  // namespace
}  // namespace kv
