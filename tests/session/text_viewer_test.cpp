// The data viewer driven through the session: the report of a figure and the matrix display
// with its three write modes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fake_ui_port.h"
#include "session/session.h"
#include "session_start.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class ViewerFake : public FakeUiPort {
 public:
  int viewerUpdates = 0;
  void TextViewerChanged() override { ++viewerUpdates; }
};

class TextViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = kv::testing::FreshTestFolder("kv_viewer_");
    std::ofstream(folder / "config_kvwin.txt") << "KVwin_MenuMode = 0\r\n";
    kv::testing::StartIn(session, folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  // How often `part` occurs in the viewer's text.
  size_t Count(std::string_view part) const {
    const std::string& text = session.Viewer().text;
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  fs::path folder;
  ViewerFake ui;
  Session session{ui};
};

TEST_F(TextViewerTest, ReportOfAnEmptyFigure) {
  session.Command(MenuCommand::mnuEditFigDataView);
  const TextViewerState& v = session.Viewer();
  EXPECT_TRUE(v.visible);
  EXPECT_FALSE(v.modeMenuVisible);
  EXPECT_EQ(v.caption, "作図手続きと幾何的対象のデータ");
  const std::string dashes(30, '-');
  const std::string expected = "FileName : untitled\r\n作図手続き数 :  0\r\n" + dashes +
                               "\r\n■作図手続き(概略)■\r\n" + dashes +
                               "\r\n■作図手続き(入出力の詳細)■\r\n" + dashes +
                               "\r\n幾何的対象の数\r\n数   :  0\r\n点   :  0\r\n直線 :  0\r\n"
                               "円   :  0\r\n" +
                               dashes + "\r\n■幾何的対象(数,点,線,円)の詳細データ■\r\n以上\r\n";
  EXPECT_EQ(v.text, expected);
  EXPECT_GE(ui.viewerUpdates, 1);

  session.ViewerMenu(ViewerCommand::mnuClear);
  EXPECT_TRUE(session.Viewer().text.empty());
  session.ViewerMenu(ViewerCommand::mnuExit);
  EXPECT_FALSE(session.Viewer().visible);
}

TEST_F(TextViewerTest, MatrixDisplayWritesByTheChosenMode) {
  ASSERT_TRUE(session.OpenFigure(std::string(KV_SOURCE_DIR) + "/samples/linear_map.kv4"));
  session.Command(MenuCommand::mnuPTmatrixSW);
  EXPECT_TRUE(session.MatrixDisplayOn());
  EXPECT_EQ(session.Viewer().caption, "変換の表現行列");
  EXPECT_TRUE(session.Viewer().modeMenuVisible);
  EXPECT_TRUE(session.Viewer().visible);
  EXPECT_EQ(Count("M=\r\n"), 1u);  // one matrix map, one block per recompute
  const std::string separator = std::string(20, '-') + "\r\n";

  // Overwrite: only the last block remains.
  session.RedrawAll();
  EXPECT_EQ(Count("M=\r\n"), 1u);

  // Append: two recomputes leave two more blocks, each below a separator line.
  session.ViewerMenu(ViewerCommand::mnuClear);
  session.ViewerMenu(ViewerCommand::mnuModeAppend);
  session.RedrawAll();
  session.RedrawAll();
  EXPECT_EQ(Count("M=\r\n"), 2u);
  EXPECT_EQ(Count(separator), 2u);
  EXPECT_EQ(session.Viewer().text.find("\r\n" + separator + "M="), 0u);

  // Insert at the front: the newest block comes first.
  session.ViewerMenu(ViewerCommand::mnuModeFowardAppend);
  session.RedrawAll();
  EXPECT_EQ(Count("M=\r\n"), 3u);
  EXPECT_EQ(session.Viewer().text.rfind("M=", 0), 0u);

  // Off: no more blocks, and the viewer hides; a second Off keeps it off.
  session.ViewerMenu(ViewerCommand::mnuDispMatrixSWOff);
  EXPECT_FALSE(session.MatrixDisplayOn());
  EXPECT_FALSE(session.Viewer().visible);
  session.RedrawAll();
  EXPECT_EQ(Count("M=\r\n"), 3u);
  session.ViewerMenu(ViewerCommand::mnuDispMatrixSWOff);
  EXPECT_FALSE(session.MatrixDisplayOn());
  // The switch's check mark follows.
  bool checked = true;
  for (const auto& [cmd, mark] : session.CheckMarks())
    if (cmd == MenuCommand::mnuPTmatrixSW) checked = mark;
  EXPECT_FALSE(checked);
}

TEST_F(TextViewerTest, MatrixBlockHoldsTheLinearMapOfTheFigure) {
  // The sample maps A onto C and B onto D: the block lists the 2 x 2 matrix M row by row,
  // each entry followed by " , ", and M A = C, M B = D.
  ASSERT_TRUE(session.OpenFigure(std::string(KV_SOURCE_DIR) + "/samples/linear_map.kv4"));
  session.Command(MenuCommand::mnuPTmatrixSW);
  const std::string& text = session.Viewer().text;
  ASSERT_EQ(text.rfind("M=\r\n", 0), 0u);
  double m[4];
  ASSERT_EQ(
      std::sscanf(text.c_str() + 4, "%lf , %lf , \r\n%lf , %lf , \r\n", &m[0], &m[1], &m[2], &m[3]),
      4);
  const auto& p = session.figure.points;
  const PointRec &a = p[2], &b = p[3], &c = p[4], &d = p[5];
  EXPECT_NEAR(m[0] * a.x + m[1] * a.y, c.x, 1e-9);
  EXPECT_NEAR(m[2] * a.x + m[3] * a.y, c.y, 1e-9);
  EXPECT_NEAR(m[0] * b.x + m[1] * b.y, d.x, 1e-9);
  EXPECT_NEAR(m[2] * b.x + m[3] * b.y, d.y, 1e-9);
}

}  // namespace
}  // namespace kv
