// The web commands driven like a user session: HTML export after saving, the online-save page
// and the server address.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fake_ui_port.h"
#include "figure_builder.h"
#include "io/kv4_file.h"
#include "io/settings.h"
#include "io/text_encoding.h"
#include "session/session.h"
#include "session_start.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class WebCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder =
        fs::temp_directory_path() /
        ("kv_web_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder / "data");
    std::ofstream(folder / "config_kvwin.txt") << "KVwin_MenuMode = 0\r\n";
    std::ofstream(folder / "kvview.js") << "viewer";
    std::ofstream(folder / "kv_html_org.htm") << "<a href=\"%KVFILE%\">%KVFILE%</a></body>";
    kv::testing::StartIn(session, folder);
    testing::FreePoint(session.figure, 1, 0, "<&>");
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path folder;
  FakeUiPort ui;
  Session session{ui};
};

TEST_F(WebCommandsTest, HtmlExportSavesThenWritesAndOpensThePageBesideTheFigure) {
  EXPECT_TRUE(Session::Implements(MenuCommand::mnuf_html));
  const std::string figure = (folder / "data" / "tri.kv4").string();
  ui.fileReplies.push_back(figure);
  session.Command(MenuCommand::mnuf_html);
  EXPECT_TRUE(ui.messages.empty());
  ASSERT_EQ(ui.opened.size(), 1u);
  EXPECT_EQ(ui.opened[0], (folder / "data" / "tri.htm").string());
  EXPECT_EQ(ReadAll(folder / "data" / "kvview.js"), "viewer");
  const std::string page = ReadAll(folder / "data" / "tri.htm");
  EXPECT_EQ(page.rfind("<a href=\"tri.kv4\">tri.kv4</a><script type=\"application/x-kv4\"", 0), 0u)
      << page;
  // The page shows the window's view.
  EXPECT_NE(page.find("data-width=\"401\" data-height=\"301\""), std::string::npos);

  // Exporting again with the dialog cancelled goes on with the saved file.
  session.figure.points[1].x = 5;
  session.Command(MenuCommand::mnuf_html);
  EXPECT_EQ(ui.opened.size(), 2u);
}

TEST_F(WebCommandsTest, HtmlExportOfAFigureNeverSavedStopsQuietlyWhenTheDialogIsCancelled) {
  session.Command(MenuCommand::mnuf_html);
  EXPECT_TRUE(ui.opened.empty());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(WebCommandsTest, HtmlExportWithoutTheViewerNamesWhatIsMissing) {
  fs::remove(folder / "kvview.js");
  ui.fileReplies.push_back((folder / "data" / "tri.kv4").string());
  session.Command(MenuCommand::mnuf_html);
  EXPECT_TRUE(ui.opened.empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Jarファイル等がないので, Html生成ができません\r\n" +
                                (folder / "kvview.js").string() + "\r\n" +
                                (folder / "kv_html_org.htm").string());
  EXPECT_FALSE(fs::exists(folder / "data" / "tri.htm"));

  // The English interface says it in English.
  session.SetLanguage(Language::kEnglish);
  ui.fileReplies.push_back((folder / "data" / "tri.kv4").string());
  session.Command(MenuCommand::mnuf_html);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].rfind("The viewer or the page template is missing", 0), 0u);
}

TEST_F(WebCommandsTest, OnlineSavePostsTheFigureToTheAddressOrTheDefault) {
  session.settings.wwwUrl = " ";
  session.Command(MenuCommand::mnuSaveOnLine);
  ASSERT_EQ(ui.opened.size(), 1u);
  EXPECT_EQ(ui.opened[0], (folder / "temp_kvwin.htm").string());
  EXPECT_EQ(session.settings.wwwUrl, kDefaultWwwUrl);
  const std::optional<std::string> page = ShiftJisToUtf8(ReadAll(folder / "temp_kvwin.htm"));
  ASSERT_TRUE(page.has_value());
  EXPECT_NE(page->find("<form action=\"" + std::string(kDefaultWwwUrl) + "\""), std::string::npos);
  EXPECT_NE(page->find("\"&lt;&amp;&gt;\""), std::string::npos);
  EXPECT_EQ(page->find("<&>"), std::string::npos);
}

TEST_F(WebCommandsTest, ServerAddressIsSetFromTheInputBoxTrimmedOrReset) {
  const struct {
    std::optional<std::string> reply;  // nullopt: cancelled
    std::string expected;
  } cases[] = {
      {"  http://school.example/kv_save.asp  ", "http://school.example/kv_save.asp"},
      {"   ", "http://school.example/kv_save.asp"},
      {std::nullopt, "http://school.example/kv_save.asp"},
      {"http://other.example/a", "http://other.example/a"},
  };
  for (const auto& c : cases) {
    ui.inputReplies.push_back(c.reply);
    session.Command(MenuCommand::mnuOwwwManual);
    EXPECT_EQ(session.settings.wwwUrl, c.expected);
  }
  EXPECT_EQ(ui.inputPrompts.back(),
            "データ保存に使うWWWサーバのURLを入力してください。|http://school.example/kv_save.asp");
  session.Command(MenuCommand::mnuOwwwDefault);
  EXPECT_EQ(session.settings.wwwUrl, kDefaultWwwUrl);
}

}  // namespace
}  // namespace kv
