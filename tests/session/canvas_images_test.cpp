// The thumbnail cycle, printing, picture export and the window copy as the session drives them,
// with a fake window that keeps its size, menus and status bar.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "fake_ui_port.h"
#include "figure_builder.h"
#include "io/kv4_file.h"
#include "session/session.h"
#include "session_start.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class WindowFake : public FakeUiPort {
 public:
  int state = 0;
  bool statusBar = true;
  int copies = 0;
  bool printResult = true;
  std::vector<std::string> exported;
  std::map<MenuCommand, bool> hidden;  // menus hidden after ApplyMenuMode
  std::vector<std::string> programCopies;
  std::pair<int, int> placed{0, 0};

  std::pair<int, int> WindowSizeTwips() override { return {windowWidth, windowHeight}; }
  int WindowState() override { return state; }
  void SetStatusBarVisible(bool visible) override { statusBar = visible; }
  void ApplyMenuMode(bool easy) override {
    FakeUiPort::ApplyMenuMode(easy);
    hidden.clear();
  }
  void SetMenuVisible(MenuCommand menu, bool visible) override { hidden[menu] = !visible; }
  void CopyCanvasToClipboard() override { ++copies; }
  bool PrintWindow() override { return printResult; }
  std::string ExportPicture(const std::string& path) override {
    exported.push_back(path);
    return {};
  }
  void PlaceWindowCopy(int w, int h) override { placed = {w, h}; }
  void StartProgramCopy(const std::string& path) override { programCopies.push_back(path); }
  int HiddenCount() const {
    int n = 0;
    for (const auto& [menu, h] : hidden) n += h;
    return n;
  }
};

class CanvasImagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = kv::testing::FreshTestFolder("kv_images_");
    std::ofstream(folder / "config_kvwin.txt") << "KVwin_MenuMode = 0\r\n";
    kv::testing::StartIn(session, folder);
    ui.ApplyWindowSize(12000, 9300, 0);
    ui.messages.clear();
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path folder;
  WindowFake ui;
  Session session{ui};
};

TEST_F(CanvasImagesTest, FiveThumbnailStepsRestoreTheWindow) {
  session.draw.fontName = "Noto Sans";
  session.draw.fontSize = 12;
  session.view.ScaleUnit = 0.025;
  session.view.SetScreen();
  const struct {
    int width, height;
    double fontSize;
    bool statusBar, easy;
    int hiddenMenus;
    double scaleUnit;
    int copies;
  } expected[] = {
      // state 1: half size, nothing else changes
      {7000, 4900, 12, true, false, 0, 0.025, 1},
      // state 2: thumbnail, font 10, zoomed out once
      {3500, 4300, 10, true, false, 0, 0.05, 2},
      // state 3: small, easy menu with six menus hidden, zoomed out again
      {1305, 1985, 8, false, true, 6, 0.1, 3},
      // state 4: icon size, the language menu hidden as well, no zoom change
      {1631, 2646, 8, false, true, 7, 0.1, 4},
      // state 0: as before the cycle, and no copy
      {12000, 9300, 12, true, false, 0, 0.025, 4},
  };
  for (int step = 0; step < 5; ++step) {
    SCOPED_TRACE(step + 1);
    session.Command(MenuCommand::mnuOWindowMini);
    const auto& e = expected[step];
    EXPECT_EQ(session.ThumbnailState(), (step + 1) % 5);
    EXPECT_EQ(ui.windowWidth, e.width);
    EXPECT_EQ(ui.windowHeight, e.height);
    EXPECT_DOUBLE_EQ(session.draw.fontSize, e.fontSize);
    EXPECT_EQ(ui.statusBar, e.statusBar);
    EXPECT_EQ(session.StatusBarShown(), e.statusBar);
    EXPECT_EQ(ui.easyMenu, e.easy);
    EXPECT_EQ(ui.HiddenCount(), e.hiddenMenus);
    EXPECT_DOUBLE_EQ(session.ScaleUnit(), e.scaleUnit);
    EXPECT_EQ(ui.copies, e.copies);
  }
  EXPECT_EQ(session.draw.fontName, "Noto Sans");
  EXPECT_EQ(session.ThumbnailMenuCaption(), "縮小/サムネイル(クリップボード)");
  // The view follows the restored zoom: pixel centres 0..400 span 400 pixels.
  EXPECT_DOUBLE_EQ(session.HalfWidth(), 0.025 * 400 / 2);
}

TEST_F(CanvasImagesTest, ThumbnailCycleKeepsTheEasyMenuOfAPupil) {
  session.ToggleMenuMode();
  ASSERT_TRUE(session.EasyMenu());
  for (int i = 0; i < 5; ++i) session.Command(MenuCommand::mnuOWindowMini);
  EXPECT_TRUE(session.EasyMenu());
  EXPECT_TRUE(ui.easyMenu);
  EXPECT_EQ(ui.HiddenCount(), 0);
}

TEST_F(CanvasImagesTest, MaximisedOrMinimisedWindowRefusesTheCycle) {
  for (int state : {1, 2}) {
    ui.state = state;
    session.Command(MenuCommand::mnuOWindowMini);
    EXPECT_EQ(session.ThumbnailState(), 0);
    EXPECT_EQ(ui.copies, 0);
  }
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], "最大化あるいは最小化されているのでできません。");
}

TEST_F(CanvasImagesTest, PrintFailureShowsTheMessageInEveryLanguage) {
  session.Command(MenuCommand::mnuFprint);
  EXPECT_TRUE(ui.messages.empty());
  session.SetLanguage(Language::kEnglish);
  ui.printResult = false;
  session.Command(MenuCommand::mnuFprint);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "フォームの印刷ができません。");
}

TEST_F(CanvasImagesTest, ExportOffersTheFigureNameAndAddsPngToABareName) {
  ASSERT_TRUE(session.OpenFigure(std::string(KV_SOURCE_DIR) + "/samples/euler_line.kv4"));
  ui.fileReplies = {(folder / "sheet.svg").string(), (folder / "bare").string()};
  session.Command(MenuCommand::mnuFexportPicture);
  session.Command(MenuCommand::mnuFexportPicture);
  EXPECT_EQ(ui.exported, (std::vector<std::string>{(folder / "sheet.svg").string(),
                                                   (folder / "bare.png").string()}));
  session.Command(MenuCommand::mnuFexportPicture);  // cancelled
  EXPECT_EQ(ui.exported.size(), 2u);
}

TEST_F(CanvasImagesTest, WindowCopyWritesTheScratchFigureAndStartsASecondProgram) {
  ASSERT_TRUE(session.OpenFigure(std::string(KV_SOURCE_DIR) + "/samples/euler_line.kv4"));
  const std::string name = session.FigureFileName();
  session.Command(MenuCommand::mnuOcopyWindow);
  const fs::path scratch = folder / "temp_kvwin.kv4";
  EXPECT_TRUE(fs::exists(scratch));
  EXPECT_EQ(ui.programCopies, std::vector<std::string>{scratch.string()});
  EXPECT_EQ(ui.placed, (std::pair<int, int>{3500, 4300}));
  EXPECT_DOUBLE_EQ(session.ScaleUnit(), 0.1);  // the default zoom, zoomed out once
  EXPECT_DOUBLE_EQ(session.draw.fontSize, 10);
  EXPECT_EQ(session.FigureFileName(), name);
  // The copy holds the same figure.
  Figure copy;
  FigureFileIO io;
  ASSERT_TRUE(io.Read(copy, scratch.string()).ok());
  EXPECT_EQ(copy.StepCount(), session.figure.StepCount());
  // Leaving the program removes the scratch file.
  session.Shutdown();
  EXPECT_FALSE(fs::exists(scratch));
}

TEST_F(CanvasImagesTest, FolderBitmapsAskBeforeReplacingUnsavedWork) {
  testing::FreePoint(session.figure, 0, 0);
  session.Command(MenuCommand::mnuHmakeAllBmp);  // the question is cancelled
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "この図は保存されていません。保存しますか。");
  EXPECT_EQ(session.figure.classCount[kClassPoint], 1);
}

}  // namespace
}  // namespace kv
