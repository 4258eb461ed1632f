// Undo as a user meets it: after moving something, undo puts it back before it takes off any
// construction step; construction steps made after a move are taken off first.
#include <gtest/gtest.h>

#include <filesystem>

#include "fake_ui_port.h"
#include "figure_builder.h"
#include "session/session.h"
#include "session_start.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using M = MenuCommand;
using namespace kv::testing;

class UndoSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = kv::testing::FreshTestFolder("kv_undo_");
    kv::testing::StartIn(session, folder);
    // A(0, 0), B(4, 0), C(1, 3), D(1, -1); the lines AB and CD meet at (1, 0).
    a = FreePoint(fig(), 0, 0);
    b = FreePoint(fig(), 4, 0);
    c = FreePoint(fig(), 1, 3);
    d = FreePoint(fig(), 1, -1);
    ab = Construct(fig(), "L1", {Pt(a), Pt(b)}, kClassLine).index;
    cd = Construct(fig(), "L1", {Pt(c), Pt(d)}, kClassLine).index;
    x = Construct(fig(), "PC1", {Ln(ab), Ln(cd)});
    session.RedrawAll();
  }
  void TearDown() override { fs::remove_all(folder); }

  Figure& fig() { return session.figure; }
  const PointRec& P(int32_t i) { return fig().points[i]; }
  void DragMouse(double x0, double y0, double x1, double y1) {
    session.Press(kLeftButton, 0, x0, y0);
    session.Move(kLeftButton, 0, (x0 + x1) / 2, (y0 + y1) / 2);
    session.Move(kLeftButton, 0, x1, y1);
    session.Release(kLeftButton, 0, x1, y1);
  }

  fs::path folder;
  FakeUiPort ui;
  Session session{ui};
  int32_t a = 0, b = 0, c = 0, d = 0, ab = 0, cd = 0, x = 0;
};

TEST_F(UndoSessionTest, UndoAfterADragPutsThePointBackAndKeepsTheConstruction) {
  ExpectAt(P(x), 1, 0);
  // A dragged up to about (0, 2): AB now rises with slope -1/2 and meets x = 1 at y = 1.5.
  DragMouse(0, 0, 0, 2);
  ASSERT_EQ(session.CurrentInputMode(), kModeStandard);
  ExpectAt(P(a), 0, 2.05);
  ExpectAt(P(x), 1, 2.05 * 3 / 4);
  session.Command(M::mnuCundo);
  EXPECT_EQ(fig().StepCount(), 7);
  ExpectAt(P(a), 0, 0);
  ExpectAt(P(x), 1, 0);
  // The next undo is the construction's: the intersection goes.
  session.Command(M::mnuMundo);
  EXPECT_EQ(fig().StepCount(), 6);
  EXPECT_EQ(fig().classCount[kClassPoint], 4);
  ExpectAt(P(a), 0, 0);
}

TEST_F(UndoSessionTest, SeveralMovesComeBackNewestFirstWhateverMovedThem) {
  DragMouse(0, 0, 0, 2);         // the mouse drags A
  DragMouse(4, 0, 4, -2);        // then B
  session.StatusPanelClick(10);  // the undo panel gives B back first
  ExpectAt(P(b), 4, 0);
  ExpectAt(P(a), 0, 2.05);
  // Keyboard deformation of C: two steps of 10 pixels to the right.
  session.Command(M::mnuDeform1Pt);
  session.Press(kLeftButton, 0, 1, 3);
  if (session.CurrentInputMode() == kModeSelect) session.Press(kLeftButton, 0, 1, 3);
  ASSERT_EQ(session.CurrentInputMode(), kModeDeform);
  session.Key(kKeyRight, 0);
  session.Key(kKeyRight, 0);
  session.Key(kKeyEscape, 0);
  ExpectAt(P(c), 2, 3);
  session.Command(M::mnuCundo);
  ExpectAt(P(c), 1, 3);
  ExpectAt(P(a), 0, 2.05);
  session.Command(M::mnuCundo);
  ExpectAt(P(a), 0, 0);
  ExpectAt(P(x), 1, 0);
  EXPECT_EQ(fig().StepCount(), 7);
}

TEST_F(UndoSessionTest, AClickThatMovesNothingLeavesUndoToTheConstruction) {
  session.Press(kLeftButton, 0, 0, 0);
  session.Release(kLeftButton, 0, 0, 0);
  session.Command(M::mnuCundo);
  EXPECT_EQ(fig().StepCount(), 6);
  ExpectAt(P(a), 0, 0);
}

TEST_F(UndoSessionTest, AStepMadeAfterAMoveIsUndoneBeforeTheMove) {
  DragMouse(0, 0, 0, 2);
  // The segment BC, made after the drag, is the user's latest work.
  session.Command(M::mnuS2P);
  for (int i = 0; i < 2; ++i) session.Press(kLeftButton, 0, 4, 0);
  for (int i = 0; i < 2; ++i) session.Press(kLeftButton, 0, 1, 3);
  ASSERT_EQ(fig().StepCount(), 8);
  session.Command(M::mnuCundo);
  EXPECT_EQ(fig().StepCount(), 7);
  ExpectAt(P(a), 0, 2.05);
  session.Command(M::mnuCundo);
  EXPECT_EQ(fig().StepCount(), 7);
  ExpectAt(P(a), 0, 0);
}

TEST_F(UndoSessionTest, ANumberChangeIsUndoneToo) {
  const int32_t n = Variable(fig(), 2);
  session.RedrawAll();
  session.Command(M::mnuDeformVar);
  ASSERT_TRUE(session.ActiveDialog());
  session.DialogClick("Cmd_OK");  // the only number is chosen
  ASSERT_EQ(session.CurrentInputMode(), kModeNumberChange);
  session.Key(kKeyUp, 0);
  session.Key(kKeyUp, 0);
  session.Key(kKeyEscape, 0);
  EXPECT_DOUBLE_EQ(fig().numbers[n].value, 3);  // two steps of 0.5
  session.Command(M::mnuCundo);
  EXPECT_DOUBLE_EQ(fig().numbers[n].value, 2);
  EXPECT_EQ(fig().StepCount(), 7);
}

TEST_F(UndoSessionTest, ALoadedFigureKeepsNoMovesOfTheFigureBefore) {
  DragMouse(0, 0, 0, 2);
  const fs::path file = folder / "saved.kv4";
  ASSERT_TRUE(session.SaveFigureAs(file.string()));
  ASSERT_TRUE(session.OpenFigure(file.string()));
  session.Command(M::mnuCundo);
  EXPECT_EQ(fig().StepCount(), 6);
  ExpectAt(P(a), 0, 2.05);
}

}  // namespace
}  // namespace kv
