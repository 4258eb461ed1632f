// The scribble mode driven like a user session: strokes over the figure that never touch it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "draw/recording_canvas.h"
#include "fake_ui_port.h"
#include "session/session.h"
#include "session_start.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class ScribbleSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = kv::testing::FreshTestFolder("kv_scribble_");
    std::ofstream(folder / "config_kvwin.txt") << "KVwin_MenuMode = 0\r\n";
    kv::testing::StartIn(session, folder);
    ASSERT_TRUE(session.OpenFigure(std::string(KV_SOURCE_DIR) + "/samples/circumcircle.kv4"));
  }
  void TearDown() override { fs::remove_all(folder); }

  // The scribble calls of a repaint: those after the figure, in the stroke colours given.
  std::vector<RecordingCanvas::Call> Paint() {
    RecordingCanvas canvas;
    Renderer renderer;
    renderer.Paint(session.MakeScene(), canvas);
    return canvas.calls;
  }

  fs::path folder;
  FakeUiPort ui;
  Session session{ui};
};

TEST_F(ScribbleSessionTest, StrokesFollowPressMoveAndRelease) {
  session.Command(MenuCommand::mnuRakugaki);
  ASSERT_EQ(session.CurrentInputMode(), kModeScribble);
  EXPECT_EQ(session.Panel(5).text, "Color");
  // Moving without a press draws nothing.
  session.Move(0, 0, 1, 1);
  session.Move(kLeftButton, 0, 2, 2);
  EXPECT_TRUE(session.Strokes().empty());

  // A press alone leaves one pixel in the scribble colour (black to begin with).
  session.Press(kLeftButton, 0, 1, 1);
  session.Release(kLeftButton, 0, 1, 1);
  ASSERT_EQ(session.Strokes().size(), 1u);
  EXPECT_EQ(session.Strokes()[0].points.size(), 1u);
  const auto calls = Paint();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().op, RecordingCanvas::Op::kDot);
  EXPECT_EQ(calls.back().pen.colour, (Rgb{0, 0, 0}));

  // Press, two moves, release: one stroke of three points; moves after the release add none.
  session.Press(kLeftButton, 0, 0, 0);
  session.Move(kLeftButton, 0, 1, 0);
  session.Move(kLeftButton, 0, 1, 1);
  session.Release(kLeftButton, 0, 1, 1);
  session.Move(0, 0, 3, 3);
  ASSERT_EQ(session.Strokes().size(), 2u);
  EXPECT_EQ(session.Strokes()[1].points.size(), 3u);
  EXPECT_EQ(Paint().back().op, RecordingCanvas::Op::kPolyline);
}

TEST_F(ScribbleSessionTest, AChosenColourAndTheDrawWidthApplyToTheNextStrokes) {
  session.NextSizePreset();  // draw width 3
  session.StatusPanelClick(5);
  ASSERT_EQ(session.CurrentInputMode(), kModeScribble);
  session.Press(kLeftButton, 0, 0, 0);
  session.Move(kLeftButton, 0, 2, 0);
  session.Release(kLeftButton, 0, 2, 0);
  const Rgb red{255, 0, 0};
  ui.colourChoice = red;
  session.StatusPanelClick(5);  // in mode 70: the colour dialog
  EXPECT_EQ(session.CurrentInputMode(), kModeScribble);
  session.Press(kLeftButton, 0, 0, 1);
  session.Move(kLeftButton, 0, 2, 1);
  ASSERT_EQ(session.Strokes().size(), 2u);
  EXPECT_EQ(session.Strokes()[0].colour, (Rgb{0, 0, 0}));
  EXPECT_EQ(session.Strokes()[1].colour, red);
  EXPECT_EQ(session.Strokes()[1].width, 3);
  // A cancelled colour dialog keeps the colour.
  ui.colourChoice.reset();
  session.StatusPanelClick(5);
  session.Press(kLeftButton, 0, 0, 2);
  EXPECT_EQ(session.Strokes()[2].colour, red);
}

TEST_F(ScribbleSessionTest, EscOrARightClickWipesTheStrokesAndLeavesTheFigure) {
  const PointRec before = session.figure.points[1];
  const int32_t steps = session.figure.StepCount();
  for (const bool rightClick : {false, true}) {
    session.Command(MenuCommand::mnuRakugaki);
    // Every menu is off while scribbling.
    const TopMenuEnabling& m = session.TopMenus();
    EXPECT_FALSE(m.file || m.deform || m.construction || m.measure || m.option || m.edit ||
                 m.help || m.zoom || m.locus);
    // A press on a draggable point draws; it does not drag.
    session.Press(kLeftButton, 0, before.x, before.y);
    session.Move(kLeftButton, 0, before.x + 3, before.y + 3);
    session.Release(kLeftButton, 0, before.x + 3, before.y + 3);
    ASSERT_EQ(session.Strokes().size(), 1u);
    if (rightClick) {
      session.Press(kRightButton, 0, 0, 0);
    } else {
      session.Key(kKeyEscape, 0);
    }
    EXPECT_EQ(session.CurrentInputMode(), kModeStandard) << rightClick;
    EXPECT_TRUE(session.Strokes().empty());
    EXPECT_TRUE(session.TopMenus().file);
  }
  EXPECT_EQ(session.figure.points[1].x, before.x);
  EXPECT_EQ(session.figure.points[1].y, before.y);
  EXPECT_EQ(session.figure.StepCount(), steps);
  EXPECT_FALSE(session.Modified());
}

TEST_F(ScribbleSessionTest, AFullRedrawWipesTheStrokesButKeepsTheMode) {
  session.Command(MenuCommand::mnuRakugaki);
  session.Press(kLeftButton, 0, 0, 0);
  session.StatusPanelClick(4);  // erasing loci redraws everything, the button still down
  EXPECT_TRUE(session.Strokes().empty());
  EXPECT_EQ(session.CurrentInputMode(), kModeScribble);
  // A stroke begun before the redraw does not go on after it.
  session.Move(kLeftButton, 0, 1, 1);
  EXPECT_TRUE(session.Strokes().empty());
}

}  // namespace
}  // namespace kv
