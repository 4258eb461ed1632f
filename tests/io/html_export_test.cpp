#include "io/html_export.h"

#include <gtest/gtest.h>

#include "figure_builder.h"
#include "io/file_names.h"
#include "io/kv4_file.h"
#include "io/online_save.h"
#include "io/text_encoding.h"
#include "io_test_util.h"

namespace kv {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

// An independent decoder, so that the encoder is checked against the alphabet, not itself.
std::string Base64Decode(std::string_view text) {
  const std::string_view alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  uint32_t acc = 0;
  int bits = 0;
  for (char c : text) {
    const size_t v = alphabet.find(c);
    if (v == std::string_view::npos) continue;  // line breaks and padding
    acc = (acc << 6) | uint32_t(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += char((acc >> bits) & 0xFF);
    }
  }
  return out;
}

// The text of the first element of the figure's script type, without its tags.
std::string FigureElementBody(const std::string& page) {
  const size_t open = page.find("type=\"application/x-kv4\"");
  if (open == std::string::npos) return {};
  const size_t start = page.find('>', open) + 1;
  return page.substr(start, page.find("</script>", start) - start);
}

size_t Count(const std::string& text, std::string_view what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(HtmlExport, Base64MatchesTheStandardVectors) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"", ""},
               {"f", "Zg=="},
               {"fo", "Zm8="},
               {"foo", "Zm9v"},
               {"foob", "Zm9vYg=="},
               {"fooba", "Zm9vYmE="},
               {"foobar", "Zm9vYmFy"}};
  for (const auto& c : cases) EXPECT_EQ(Base64Encode(c.in), c.out) << c.in;
  std::string all;
  for (int i = 0; i < 256; ++i) all += char(i);
  EXPECT_EQ(Base64Decode(Base64Encode(all)), all);
}

TEST(HtmlExport, PageSitsBesideTheFigureWithItsName) {
  const struct {
    const char* figure;
    const char* page;
  } cases[] = {
      {"C:\\data\\tri.kv4", "C:\\data\\tri.htm"},
      {"pupil/a.b.kv4", "pupil/a.b.htm"},
      // A dot in a folder is not an extension.
      {"work/v1.2/tri", "work/v1.2/tri.htm"},
      {"tri.kv4", "tri.htm"},
  };
  for (const auto& c : cases) EXPECT_EQ(HtmlPagePath(c.figure), c.page) << c.figure;
}

TEST(HtmlExport, FileNameIsEscapedForTextAndForLinks) {
  const std::string page = HtmlPageText(
      "<title>%KVFILE%</title><a href=\"%KVFILE%\">%KVFILE%</a><img src='%KVFILE%'></body>",
      "a&b #1<x>.kv4", "data", {});
  EXPECT_NE(page.find("<title>a&amp;b #1&lt;x&gt;.kv4</title>"), std::string::npos) << page;
  EXPECT_NE(page.find("href=\"a&amp;b%20%231%3Cx%3E.kv4\">a&amp;b #1&lt;x&gt;.kv4</a>"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("src='a&amp;b%20%231%3Cx%3E.kv4'"), std::string::npos) << page;
  EXPECT_EQ(page.find("%KVFILE%"), std::string::npos);
  // Japanese names stay readable in links; browsers send them as UTF-8.
  EXPECT_EQ(UrlPathEscape("三角形.kv4"), "三角形.kv4");
}

TEST(HtmlExport, FigureBytesTravelInsideThePageUnchanged) {
  // Shift_JIS bytes, markup characters and a would-be closing tag in a name.
  const std::string figure =
      Utf8ToShiftJis("1\r\n\"PNEW\"\r\n\"</script><b>&点\"\r\n") + std::string("\0\xFF", 2);
  HtmlViewOptions view;
  view.scaleUnit = 0.0125;
  view.axes = true;
  const std::string page =
      HtmlPageText("<html><BODY>\n<p>x</p>\n</BODY></html>", "f.kv4", figure, view);
  EXPECT_EQ(Count(page, "</script>"), 1u);
  EXPECT_EQ(Base64Decode(FigureElementBody(page)), figure);
  // Inside the body, before its end.
  EXPECT_LT(page.find("<p>x</p>"), page.find("application/x-kv4"));
  EXPECT_LT(page.find("application/x-kv4"), page.find("</BODY>"));
  EXPECT_NE(page.find("data-scale=\"0.0125\""), std::string::npos);
  EXPECT_NE(page.find("data-axes=\"1\""), std::string::npos);

  // A template without a body end still gets the figure, at the end.
  const std::string bare = HtmlPageText("<p>%KVFILE%</p>", "f.kv4", figure, view);
  EXPECT_EQ(bare.rfind("<p>f.kv4</p>\n", 0), 0u);
  EXPECT_EQ(Base64Decode(FigureElementBody(bare)), figure);
}

class HtmlExportFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.path() / "program");
    std::filesystem::create_directories(dir.path() / "data");
    WriteBytes(dir.File("program/kvview.js"), "viewer v2");
    WriteBytes(dir.File("program/kv_html_org.htm"),
               "<html><body><a href=\"%KVFILE%\">%KVFILE%</a></body></html>\r\n");
    WriteBytes(dir.File("data/tri.kv4"), "figure bytes");
  }
  HtmlExportResult Export() {
    return ExportHtml(dir.File("data/tri.kv4"), HtmlPagePath(dir.File("data/tri.kv4")),
                      dir.File("program"), {});
  }
  ScratchFolder dir;
};

TEST_F(HtmlExportFiles, FirstExportCopiesTheViewerAndLaterOnesKeepIt) {
  HtmlExportResult result = Export();
  ASSERT_TRUE(result.ok()) << result.detail;
  EXPECT_TRUE(result.viewerCopied);
  EXPECT_EQ(result.pagePath, dir.File("data/tri.htm"));
  EXPECT_EQ(ReadBytes(dir.File("data/kvview.js")), "viewer v2");
  const std::string page = ReadBytes(dir.File("data/tri.htm"));
  EXPECT_EQ(page.rfind("<html><body><a href=\"tri.kv4\">tri.kv4</a>", 0), 0u) << page;
  EXPECT_EQ(Base64Decode(FigureElementBody(page)), "figure bytes");

  // The second export replaces the page but leaves the viewer already there.
  WriteBytes(dir.File("data/kvview.js"), "viewer v1");
  WriteBytes(dir.File("data/tri.kv4"), "changed figure");
  result = Export();
  ASSERT_TRUE(result.ok()) << result.detail;
  EXPECT_FALSE(result.viewerCopied);
  EXPECT_EQ(ReadBytes(dir.File("data/kvview.js")), "viewer v1");
  EXPECT_EQ(Base64Decode(FigureElementBody(ReadBytes(dir.File("data/tri.htm")))), "changed figure");
}

TEST_F(HtmlExportFiles, MissingViewerOrTemplateWritesNothingAndNamesBoth) {
  for (const char* missing : {"program/kvview.js", "program/kv_html_org.htm"}) {
    SCOPED_TRACE(missing);
    const std::string kept = ReadBytes(dir.File(missing));
    std::filesystem::remove(dir.File(missing));
    const HtmlExportResult result = Export();
    EXPECT_EQ(result.status, HtmlExportStatus::kMissingFiles);
    EXPECT_FALSE(FileExists(dir.File("data/tri.htm")));
    EXPECT_FALSE(FileExists(dir.File("data/kvview.js")));
    const std::string message = HtmlExportMessage(result, [](std::string_view t) { return t; });
    EXPECT_EQ(message, "Jarファイル等がないので, Html生成ができません\r\n" +
                           dir.File("program/kvview.js") + "\r\n" +
                           dir.File("program/kv_html_org.htm"));
    WriteBytes(dir.File(missing), kept);
  }
}

TEST_F(HtmlExportFiles, UnreadableFigureIsReportedNotExported) {
  std::filesystem::remove(dir.File("data/tri.kv4"));
  const HtmlExportResult result = Export();
  EXPECT_EQ(result.status, HtmlExportStatus::kFailed);
  EXPECT_FALSE(FileExists(dir.File("data/tri.htm")));
}

// --- Online save ---

ObjRef AddFreePoint(Figure& fig, double x, double y, const char* name) {
  const ObjRef p = testing::Pt(testing::FreePoint(fig, x, y, name));
  fig.points[p.index].marker = testing::kFreePointMarker;
  return p;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
    lines.push_back(text.substr(from, at - from));
    from = at + 2;
  }
  return lines;
}

// What a browser makes of a textarea's content: the entities decoded.
std::string DecodeTextarea(std::string text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
      continue;
    }
    const size_t end = text.find(';', i);
    const std::string entity = text.substr(i, end - i + 1);
    out += entity == "&lt;" ? "<" : entity == "&gt;" ? ">" : entity == "&amp;" ? "&" : "?";
    i = end;
  }
  return out;
}

TEST(OnlineSave, HiddenFieldHoldsExactlyTheFileLinesWhateverTheNames) {
  Figure fig;
  AddFreePoint(fig, 1.5, -2, "<b>");
  AddFreePoint(fig, 0, 3, "&\"");
  AddFreePoint(fig, 4, 4, "</textarea>");
  const std::string file = FigureFileText(fig);
  const std::string page = OnlineSavePageText(file, "http://host/a\"b&c", Translator{});

  // The markup is intact: two textareas, each closed once, and the address stays an attribute.
  EXPECT_EQ(Count(page, "<textarea"), 2u);
  EXPECT_EQ(Count(page, "</textarea>"), 2u);
  EXPECT_NE(
      page.find("<form action=\"http://host/a&quot;b&amp;c\" METHOD=\"post\" NAME=\"form1\">"),
      std::string::npos);

  const std::string open =
      "<textarea name=\"kv_data\" style=\"width:1px; height:1px\" ReadOnly>\r\n";
  const size_t start = page.find(open) + open.size();
  ASSERT_GT(start, open.size());
  const size_t end = page.find("</textarea><br>\r\n", start);
  EXPECT_EQ(DecodeTextarea(page.substr(start, end - start)), file);
}

TEST(OnlineSave, PageLinesFollowTheLanguage) {
  Figure fig;
  AddFreePoint(fig, 0, 0, "A");
  const std::string file = FigureFileText(fig);
  const Translator english(Language::kEnglish);
  const struct {
    const Translator* tr;
    std::vector<std::string> head;
  } cases[] = {
      {nullptr,
       {"<HTML>", "", "<BODY>", "<center><h2>KVデータのオンライン保存</h2></center>",
        "あなたが作成したKVデータをWWWサーバに書き込み，インターネットを経由して他の学校の授業"
        "などいろいろな場面で使えるようにします。<br>",
        "下記の内容を書き込んで「送信」ボタンを押してください。<br>",
        "<form action=\"u\" METHOD=\"post\" NAME=\"form1\">", "<table>",
        "<tr><th>タイトル<td><input name=\"title\" style=\"width:400px \"><br>",
        "<tr><th>あなたの名前<td><input name=\"username\"><br>",
        "<tr><th>学校/学年など<td><input name=\"schoolname\" style=\"width:400px \"><br>",
        "<tr><th>コメント<td><textarea name=\"comment\" style=\"width:400px ; height:100px\">"
        "</textarea><br>",
        "</table>"}},
      {&english,
       {"<HTML>", "", "<BODY>", "<center><h2>online saving</h2></center>",
        "Save your data to web server.<br>", "write down and push submit button<br>",
        "<form action=\"u\" METHOD=\"post\" NAME=\"form1\">", "<table>",
        "<tr><th>title<td><input name=\"title\" style=\"width:400px \"><br>",
        "<tr><th>your name<td><input name=\"username\"><br>",
        "<tr><th>school/grade<td><input name=\"schoolname\" style=\"width:400px \"><br>",
        "<tr><th>comment<td><textarea name=\"comment\" style=\"width:400px ; height:100px\">"
        "</textarea><br>",
        "</table>"}},
  };
  for (const auto& c : cases) {
    const std::vector<std::string> lines =
        Lines(OnlineSavePageText(file, "u", c.tr ? *c.tr : Translator{}));
    ASSERT_GT(lines.size(), c.head.size());
    for (size_t i = 0; i < c.head.size(); ++i) {
      if (i == 1) continue;  // the encoding line, checked with the file
      EXPECT_EQ(lines[i], c.head[i]) << "line " << i;
    }
    const std::vector<std::string> tail = {"</textarea><br>",
                                           "<INPUT TYPE=\"Submit\" name=\"submitbutton\" "
                                           "VALUE=\"送信\">",
                                           "</form>", "</BODY>", "</HTML>"};
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), lines.end() - 5));
  }
}

TEST(OnlineSave, PageIsWrittenInTheFigureFileEncoding) {
  ScratchFolder dir;
  Figure fig;
  AddFreePoint(fig, 0, 0, "点");
  std::string path;
  ASSERT_EQ(WriteOnlineSavePage(fig, "u", dir.path().string(), Translator{}, path), "");
  EXPECT_EQ(path, dir.File("temp_kvwin.htm"));
  const std::optional<std::string> text = ShiftJisToUtf8(ReadBytes(path));
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, OnlineSavePageText(FigureFileText(fig), "u", Translator{}));
}

}  // namespace
}  // namespace kv
