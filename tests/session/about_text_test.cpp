// About box texts and the help pages the Help menu opens.
#include "session/about_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace kv {
namespace {

std::string ReadSource(const std::string& relative) {
  std::ifstream in(std::string(KV_SOURCE_DIR) + "/" + relative, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(AboutText, TitleAndVersionInBothLanguages) {
  AboutTexts ja = AboutBoxTexts(Translator(Language::kJapanese));
  AboutTexts en = AboutBoxTexts(Translator(Language::kEnglish));
  EXPECT_EQ(ja.heading, "Korvane Win 1.0.0");
  EXPECT_EQ(en.heading, "Korvane Win 1.0.0");
  EXPECT_EQ(ja.windowTitle, "Korvane Winのﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_EQ(en.windowTitle, "version of Korvane Win");
  EXPECT_EQ(en.systemInfoCaption, "system information");
  EXPECT_NE(ja.body, en.body);
  EXPECT_EQ(en.body.find("点"), std::string::npos);
}

TEST(HelpPages, ExistInBothLanguagesAndLinkEachOther) {
  EXPECT_EQ(HelpPagePath("prog"), "prog/document/help.htm");
  std::string ja = ReadSource("document/help.htm");
  std::string en = ReadSource("document/help_en.htm");
  ASSERT_FALSE(ja.empty());
  ASSERT_FALSE(en.empty());
  EXPECT_NE(ja.find("charset=\"utf-8\""), std::string::npos);
  EXPECT_NE(ja.find("href=\"help_en.htm\""), std::string::npos);
  EXPECT_NE(en.find("href=\"help.htm\""), std::string::npos);
  // The Japanese page names the menus by their captions (only commands that work are
  // described; see help_pages_test.cpp).
  for (const char* caption : {"例の読み込み", "図形の追加", "座標軸の表示", "作図手続きの再生",
                              "メニュー切り換え(フル/簡易)", "保存"})
    EXPECT_NE(ja.find(caption), std::string::npos) << caption;
}

}  // namespace
}  // namespace kv
