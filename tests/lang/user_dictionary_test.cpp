// Manual language: the dictionary file rules, the list of missing texts, and stored captions.
#include "lang/user_dictionary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lang/caption_store.h"
#include "lang/translate.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class ManualLanguage : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::path(::testing::TempDir()) /
        ("kv_dic_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    tr_.language = Language::kManual;
    tr_.dictionaryPath = dir_ / kUserDictionaryFileName;
    tr_.neededListPath = dir_ / kNeededListFileName;
  }
  void TearDown() override { fs::remove_all(dir_); }
  void WriteDictionary(const std::string& bytes) {
    std::ofstream(tr_.dictionaryPath, std::ios::binary) << bytes;
  }
  std::string Needed() const {
    std::ifstream in(tr_.neededListPath, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  fs::path dir_;
  Translator tr_;
};

TEST(UserDictionary, LineRules) {
  DictionaryMap dict;
  const std::string longKey(100, 'k');  // its "=" is the 101st character: not a separator
  std::string text =
      "標準 = Standard\r\n"
      "  変形=Verformen  \n"
      "no separator here\n"
      " = nothing before\n"
      "空の訳 =   \n"
      "標準 = second entry of the same key\n"
      "式 = a = b\n" +
      longKey + "=x\n" + std::string(98, 'j') + "=at the 99th character\n" + "最後=last";
  EXPECT_EQ(ParseUserDictionary(text, dict), 5);
  EXPECT_EQ(dict.at("標準"), "Standard");  // the first key wins
  EXPECT_EQ(dict.at("変形"), "Verformen");
  EXPECT_EQ(dict.at("式"), "a = b");  // split at the first "="
  EXPECT_EQ(dict.at(std::string(98, 'j')), "at the 99th character");
  EXPECT_EQ(dict.at("最後"), "last");  // no line end at the end of the file
  EXPECT_FALSE(dict.count("空の訳"));
  EXPECT_FALSE(dict.count(longKey));
  EXPECT_EQ(ParseUserDictionary("", dict), 0);
}

TEST(UserDictionary, WindowCountsCharactersNotBytes) {
  // 98 three-byte characters then "=": within the first 99 characters though far beyond 99 bytes.
  std::string key;
  for (int i = 0; i < 98; ++i) key += "点";
  DictionaryMap dict;
  EXPECT_EQ(ParseUserDictionary(key + "=p", dict), 1);
  EXPECT_EQ(ParseUserDictionary(key + "点点=q", dict), 0);
}

TEST(UserDictionary, ShiftJisRoundTrip) {
  const std::string ja = "選択(作図中)＾－";
  std::string sjis = EncodeShiftJis(ja);
  EXPECT_NE(sjis, ja);
  EXPECT_EQ(sjis.substr(0, 2), "\x91\x49");  // 選 in Shift_JIS
  EXPECT_EQ(DecodeTextFile(sjis), ja);
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF" + ja), ja);
  // Damaged bytes never stop the decoding.
  EXPECT_FALSE(DecodeTextFile(std::string("\x81\xFF\x82", 3)).empty());
}

TEST_F(ManualLanguage, DictionaryTranslatesAndMissingTextsAreListed) {
  // A Shift_JIS dictionary with one UTF-8 line pasted into it.
  WriteDictionary(EncodeShiftJis("標準 = mine\r\n変形 = shape\r\n") + "ドラッグ = glisser\r\n");
  EXPECT_EQ(tr_("標準"), "mine");  // status panel 1 in standard mode
  EXPECT_EQ(tr_(" 変形 "), "shape");
  EXPECT_EQ(tr_("ドラッグ"), "glisser");
  EXPECT_EQ(Needed(), "");
  // Missing texts come back unchanged (no built-in English in manual mode) and are listed
  // each time they are asked for.
  EXPECT_EQ(tr_("計算中"), "計算中");
  EXPECT_EQ(tr_("計算中"), "計算中");
  EXPECT_EQ(tr_(" 保存中"), " 保存中");
  EXPECT_EQ(DecodeTextFile(Needed()), "計算中 = \r\n計算中 = \r\n保存中 = \r\n");
  // The needed list reads back as a dictionary without entries until the user fills it in.
  DictionaryMap dict;
  EXPECT_EQ(ParseUserDictionary(DecodeTextFile(Needed()), dict), 0);
}

TEST_F(ManualLanguage, MissingDictionaryLeavesEveryTextUnchanged) {
  EXPECT_EQ(tr_("標準"), "標準");
  EXPECT_EQ(tr_("円"), "円");
  EXPECT_TRUE(tr_.userDictionary.empty());
  EXPECT_EQ(DecodeTextFile(Needed()), "標準 = \r\n円 = \r\n");
  // The file is read once per run: adding it later changes nothing.
  WriteDictionary("円 = cercle\n");
  EXPECT_EQ(tr_("円"), "円");
}

TEST_F(ManualLanguage, GivenEntriesOverrideTheFile) {
  WriteDictionary("標準 = from file\n変形 = deform file\n");
  tr_.userDictionary = {{"標準", "given"}};
  EXPECT_EQ(tr_("標準"), "given");
  EXPECT_EQ(tr_("変形"), "deform file");
}

TEST(CaptionStore, LanguageSwitchesAlwaysStartFromTheJapanese) {
  CaptionStore store;
  const std::pair<std::string_view, std::string_view> controls[] = {
      {"KVLanguage.OKButton", "OK"},
      {"KVSelNum.Label1", "数値の選択"},
      {"KVwin.mnuCMPpower", "  ＾  （べき）"},
      {"KVExpress.Caption", "数式入力"},
      {"KVExpress.Unknown", "未登録の見出し"}};
  for (auto [key, ja] : controls) EXPECT_TRUE(store.Capture(key, ja));
  // A later capture (the control may already show English) keeps the Japanese.
  EXPECT_FALSE(store.Capture("KVSelNum.Label1", "select number"));
  Translator tr(Language::kEnglish);
  EXPECT_EQ(store.Caption("KVSelNum.Label1", tr), "select number");
  EXPECT_EQ(store.Caption("KVwin.mnuCMPpower", tr), "^ (power)");
  std::vector<std::string> firstEnglish;
  for (auto [key, ja] : controls) firstEnglish.push_back(*store.Caption(key, tr));
  EXPECT_EQ(firstEnglish.back(), "未登録の見出し");  // no English: stays Japanese
  for (int round = 0; round < 2; ++round) {
    tr.language = Language::kJapanese;
    for (auto [key, ja] : controls) EXPECT_EQ(*store.Caption(key, tr), ja);
    tr.language = Language::kEnglish;
    for (std::size_t i = 0; i < std::size(controls); ++i)
      EXPECT_EQ(*store.Caption(controls[i].first, tr), firstEnglish[i]);
  }
  EXPECT_FALSE(store.Caption("KVwin.NoSuchControl", tr).has_value());
  EXPECT_EQ(store.size(), 5u);
}

}  // namespace
}  // namespace kv
