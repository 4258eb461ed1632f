// Closing and loading never drop unsaved work without asking; a new figure asks first.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fake_ui_port.h"
#include "figure_builder.h"
#include "session/session.h"
#include "session_start.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class UnsavedChangesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = kv::testing::FreshTestFolder("kv_unsaved_");
    std::ofstream(folder / "config_kvwin.txt") << "KVwin_MenuMode = 0\r\n";
    kv::testing::StartIn(session, folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  // A pupil's work: one free point, placed and recomputed.
  void AddPoint(double x, double y) {
    testing::FreePoint(session.figure, x, y);
    session.RedrawAll();
    session.RefreshStatus();
  }
  bool Quit() const { return !ui.calls.empty() && ui.calls.back() == "Quit"; }

  fs::path folder;
  FakeUiPort ui;
  Session session{ui};
};

TEST_F(UnsavedChangesTest, CaptionShowsModifiedStateAndUndoingByHandClearsIt) {
  EXPECT_FALSE(session.Modified());
  EXPECT_EQ(session.Caption().substr(0, 1), "[");
  AddPoint(1, 2);
  EXPECT_TRUE(session.Modified());
  EXPECT_EQ(session.Caption().substr(0, 2), "*[");
  ui.fileReplies = {(folder / "a.kv4").string()};
  session.Command(MenuCommand::mnuSave);
  EXPECT_FALSE(session.Modified());
  // A drag changes what a save writes; dragging back to the same place does not count.
  session.figure.points[1].x = 5;
  EXPECT_TRUE(session.Modified());
  session.figure.points[1].x = 1;
  EXPECT_FALSE(session.Modified());
  session.figure.points[1].name = "P";
  EXPECT_TRUE(session.Modified());
}

TEST_F(UnsavedChangesTest, CloseAsksOnlyWhenThereIsUnsavedWork) {
  session.Command(MenuCommand::mnuExit);  // nothing drawn yet: no question
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(Quit());
  ui.calls.clear();

  AddPoint(0, 0);
  // Cancel keeps the window and the figure.
  EXPECT_FALSE(session.RequestClose());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "この図は保存されていません。保存しますか。");
  EXPECT_FALSE(Quit());
  EXPECT_EQ(session.figure.classCount[kClassPoint], 1);
  EXPECT_TRUE(session.Modified());

  // Save, but the save dialog is cancelled: still nothing is dropped.
  ui.answers = {Answer::kYes};
  EXPECT_FALSE(session.RequestClose());
  EXPECT_FALSE(Quit());

  // Save into a file: written, then the program ends.
  const std::string path = (folder / "work.kv4").string();
  ui.answers = {Answer::kYes};
  ui.fileReplies = {path};
  EXPECT_TRUE(session.RequestClose());
  EXPECT_TRUE(fs::exists(path));
  EXPECT_TRUE(Quit());
  EXPECT_FALSE(session.Modified());
}

TEST_F(UnsavedChangesTest, ClosingRightAfterSavingDoesNotAsk) {
  AddPoint(0, 0);
  ui.fileReplies = {(folder / "a.kv4").string()};
  session.Command(MenuCommand::mnuSave);
  EXPECT_FALSE(session.Modified());
  EXPECT_EQ(session.Caption().substr(0, 1), "[");
  session.Command(MenuCommand::mnuExit);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(Quit());
}

TEST_F(UnsavedChangesTest, DiscardEndsWithoutSaving) {
  AddPoint(0, 0);
  ui.answers = {Answer::kNo};
  session.Command(MenuCommand::mnuExit);
  EXPECT_TRUE(Quit());
  EXPECT_TRUE(ui.dialogFolders.empty());  // no save dialog
}

TEST_F(UnsavedChangesTest, LoadAsksFirstAndALoadedFigureIsUnmodified) {
  AddPoint(3, 3);
  const std::string sample = std::string(KV_SOURCE_DIR) + "/samples/euler_line.kv4";
  ui.fileReplies = {sample};
  session.Command(MenuCommand::mnuLoad);  // question cancelled: no file dialog, work kept
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.dialogFolders.empty());
  EXPECT_EQ(session.figure.classCount[kClassPoint], 1);

  ui.answers = {Answer::kNo};
  session.Command(MenuCommand::mnuLoad);
  EXPECT_EQ(session.Panel(2).text, "euler_line.kv4");
  EXPECT_FALSE(session.Modified());
  // Loading again with nothing changed asks nothing.
  ui.fileReplies = {sample};
  session.Command(MenuCommand::mnuLoad);
  EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(UnsavedChangesTest, NewFigureAsksAndStartsUntitled) {
  const std::string sample = std::string(KV_SOURCE_DIR) + "/samples/euler_line.kv4";
  ASSERT_TRUE(session.OpenFigure(sample));
  AddPoint(7, 7);
  session.Command(MenuCommand::mnuNew);  // cancelled
  EXPECT_EQ(session.Panel(2).text, "euler_line.kv4");
  EXPECT_GT(session.figure.StepCount(), 1);

  // The new-figure question: Yes drops the figure.
  ui.answers = {Answer::kYes};
  session.Command(MenuCommand::mnuNew);
  EXPECT_EQ(session.FigureFileName(), "untitled");
  // The new figure starts with its first point being placed.
  EXPECT_LE(session.figure.StepCount(), 1);
  EXPECT_LE(session.figure.classCount[kClassPoint], 1);
}

TEST_F(UnsavedChangesTest, QuestionFollowsTheInterfaceLanguage) {
  session.SetLanguage(Language::kEnglish);
  AddPoint(0, 0);
  session.RequestClose();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "The figure has unsaved changes. Do you want to save it?");
}

}  // namespace
}  // namespace kv
