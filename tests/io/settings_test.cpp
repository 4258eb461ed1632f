#include "io/settings.h"

#include <gtest/gtest.h>

#include "io/text_encoding.h"
#include "io_test_util.h"

namespace kv {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

TEST(SettingsFile, DefaultsAreThoseOfTheTable) {
  ScratchFolder dir;
  Settings s;
  s.delta = 3;
  s.fontName = "Other";
  s.language = "English";
  s.width = 1234;
  ApplyDefaultSettings(s);
  EXPECT_EQ(s.delta, 10);
  EXPECT_EQ(s.deltaVar, 0.5);
  EXPECT_EQ(s.fontName, "FixedSys");
  EXPECT_EQ(s.fontSize, 9);
  EXPECT_EQ(s.backColor, 16777215);
  EXPECT_EQ(s.axisColor, 170 + 170 * 256 + 170 * 65536);
  EXPECT_EQ(s.redrawSlow, 500);
  // Rows that are not reset keep their values.
  EXPECT_EQ(s.language, "English");
  EXPECT_EQ(s.width, 1234);
  // No file: nothing but the address changes.
  s.wwwUrl = "http://elsewhere/";
  EXPECT_FALSE(ReadSettingsFile(s, dir.File("missing.txt")));
  EXPECT_EQ(s.wwwUrl, kDefaultWwwUrl);
  EXPECT_EQ(s.delta, 10);
}

TEST(SettingsFile, RoundTripGivesBackEveryValueExactly) {
  ScratchFolder dir;
  Settings s;
  s.delta = -4;
  s.deltaVar = 0.125;
  s.colorStrength = 200;
  s.notChrDisp = -1;
  s.axissw = -1;
  s.axisColor = 255;
  s.drawWidth = 3;
  s.fontSize = 10.5f;
  s.fontName = " ＭＳ ゴシック ";
  s.ketaDecimal = 4;
  s.backColor = 0;
  s.browserSW = 0;
  s.wwwUrl = "http://example.org/asp/kv/kv_save.asp?user=a=b";
  s.width = 640;
  s.height = 480;
  s.windowState = 2;
  s.menuMode = 0;
  s.redrawSlow = 1000;
  s.language = "Manual";
  s.sDeformKind = 2;
  ASSERT_EQ(WriteSettingsFile(s, dir.File("config_kvwin.txt")), "");
  const std::string text = *ShiftJisToUtf8(ReadBytes(dir.File("config_kvwin.txt")));
  EXPECT_TRUE(text.starts_with("App =kvwin\r\nAppMajor = 1\r\nAppMinor = 0\r\ndelta =-4\r\n"));
  EXPECT_NE(text.find("deltavar = 0.125\r\n"), std::string::npos);
  EXPECT_NE(text.find("KVwin_AutoRedraw = True\r\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("SDeformKind = 2\r\n"));

  Settings back;
  back.autoRedraw = false;
  ASSERT_TRUE(ReadSettingsFile(back, dir.File("config_kvwin.txt")));
  EXPECT_EQ(back.delta, -4);
  EXPECT_EQ(back.deltaVar, 0.125);
  EXPECT_EQ(back.colorStrength, 200);
  EXPECT_EQ(back.notChrDisp, -1);
  EXPECT_EQ(back.axissw, -1);
  EXPECT_EQ(back.axisColor, 255);
  EXPECT_EQ(back.drawWidth, 3);
  EXPECT_EQ(back.fontSize, 10.5f);
  EXPECT_EQ(back.fontName, " ＭＳ ゴシック ");
  EXPECT_EQ(back.ketaDecimal, 4);
  EXPECT_EQ(back.backColor, 0);
  EXPECT_EQ(back.browserSW, 0);
  EXPECT_EQ(back.wwwUrl, s.wwwUrl);
  EXPECT_EQ(back.width, 640);
  EXPECT_EQ(back.height, 480);
  EXPECT_EQ(back.windowState, 2);
  EXPECT_EQ(back.menuMode, 0);
  EXPECT_EQ(back.redrawSlow, 1000);
  EXPECT_EQ(back.language, "Manual");
  EXPECT_EQ(back.sDeformKind, 2);
  EXPECT_FALSE(back.autoRedraw);  // written, never read
}

TEST(SettingsFile, ReadingRules) {
  ScratchFolder dir;
  const struct {
    const char* line;
    int32_t delta;
    int32_t browserSW;
  } cases[] = {
      {"delta = 5", 5, 3},      {"DELTA=7", 7, 3},         {"  Delta  =  8 ", 8, 3},
      {"delta = 1 2", 12, 3},   {"delta = abc", 10, 3},    {"delta = 99999", 10, 3},
      {"delta = 2.5", 2, 3},    {"delta = 3.5", 4, 3},     {"deltas = 6", 10, 3},
      {"BrowserSW = 1", 10, 3}, {"BrowserSW = 2", 10, 3},  {"browsersw = 0", 10, 0},
      {"App = 5", 10, 3},       {"no equals sign", 10, 3}, {"", 10, 3},
  };
  for (const auto& c : cases) {
    WriteBytes(dir.File("c.txt"), std::string(c.line) + "\r\n");
    Settings s;
    ReadSettingsFile(s, dir.File("c.txt"));
    EXPECT_EQ(s.delta, c.delta) << c.line;
    EXPECT_EQ(s.browserSW, c.browserSW) << c.line;
  }
  // Text values keep what follows the "=", blanks included; the first matching line of a key
  // does not stop later ones.
  WriteBytes(dir.File("t.txt"), "KVwin.FontName = Gothic\nkvwin.fontname=Mincho\nwwwurl=x=y\n");
  Settings s;
  ReadSettingsFile(s, dir.File("t.txt"));
  EXPECT_EQ(s.fontName, "Mincho");
  EXPECT_EQ(s.wwwUrl, "x=y");
}

TEST(DataPathFile, HoldsTheWholeFolderLine) {
  ScratchFolder dir;
  EXPECT_FALSE(ReadDataPath(dir.File("datapath.txt")).has_value());
  ASSERT_EQ(WriteDataPath(dir.File("datapath.txt"), "/data/t/図形,2024"), "");
  EXPECT_EQ(ReadBytes(dir.File("datapath.txt")).back(), '\n');
  EXPECT_EQ(ReadDataPath(dir.File("datapath.txt")), "/data/t/図形,2024");
  WriteBytes(dir.File("datapath.txt"), "\"C:\\data\"\r\nignored\r\n");
  EXPECT_EQ(ReadDataPath(dir.File("datapath.txt")), "C:\\data");
}

}  // namespace
}  // namespace kv
