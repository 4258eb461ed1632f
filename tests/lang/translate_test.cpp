// The built-in English table and the three translation modes.
#include "lang/translate.h"

#include <gtest/gtest.h>

#include <string>

#include "construct/attribute_dialogs.h"
#include "construct/construction.h"
#include "construct/macros.h"
#include "expr/expression_dialog.h"
#include "expr/number_dialog.h"
#include "figure_builder.h"
#include "model/kind.h"
#include "model/names.h"
#include "session/menu_tree.h"

namespace kv {
namespace {

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

TEST(BuiltinTable, DocumentedRowsAndFirstMatchWins) {
  const Translator en{Language::kEnglish};
  struct Case {
    std::string_view ja, en;
  } cases[] = {
      {"(複素数としての)逆数", "reciprocal(as complex number)"},
      {"(複素数としての)差", "substraction(as complex number)"},
      {"標準", "standard"},
      {"変形", "deform"},
      {"選択(作図中)", "select(construction)"},
      {"計算中", "calculating"},
      {"ドラッグ", "drag"},
      {"作図再生", "Redrawing of construction"},
      {"そろそろ限界ですので,元の画面に戻します", "expansion too much"},
      {"円", "circle"},
      {"の円周", "'s circumference"},
      {"の半径", "radius"},
      {"Δ", "/]"},
      {"□", "[]"},
      {"変数", "variable"},
      {"例__読込", "loading"},
      {"元にする対象がありません。キャンセルします。",
       "There no object to be used to this construction. It is canceled."},
      {"すべてのファイル", "All files"},
      {"KV4形式", "KV4"},
  };
  for (const auto& c : cases) EXPECT_EQ(en(c.ja), c.en) << c.ja;

  // Every listed text has a row, in table order, and no English text carries Japanese.
  auto table = BuiltinTable();
  EXPECT_GE(table.size(), 465u);
  EXPECT_EQ(table.front().first, "-");
  EXPECT_EQ(table[464].first, "例の読み込み");
  for (const auto& [ja, english] : table) EXPECT_TRUE(IsAscii(english)) << ja << " -> " << english;
  // A text listed twice takes its first row.
  for (std::size_t i = 0; i < table.size(); ++i)
    EXPECT_EQ(BuiltinEnglish(table[i].first), [&] {
      for (const auto& row : table)
        if (row.first == table[i].first) return row.second;
      return std::string_view{};
    }());
}

TEST(BuiltinTable, KindDescriptionsReadTheSameInBothPlaces) {
  // Step descriptions translate through this table; their English must match the catalogue's.
  const Translator en{Language::kEnglish};
  int checked = 0;
  for (const KindInfo& info : KindCatalogue()) {
    if (info.descriptionJa.empty() || info.descriptionEn.empty()) continue;
    if (BuiltinEnglish(info.descriptionJa).empty()) continue;  // described only in the catalogue
    EXPECT_EQ(en(info.descriptionJa), info.descriptionEn) << info.code;
    ++checked;
  }
  EXPECT_GT(checked, 60);
}

TEST(BuiltinTable, StatusAndMessageTextsHaveEnglish) {
  const Translator en{Language::kEnglish};
  // Texts of status panel 1 for every input mode, and fixed message and prompt texts.
  const std::string_view texts[] = {
      "スタート",
      "標準",
      "ｵﾌﾟｼｮﾝ",
      "ヘルプ",
      "変形",
      "ズーム",
      "例__読込",
      "保存中",
      "編集",
      "軌跡",
      "関数選択",
      "選択",
      "複数選択",
      "選択(作図中)",
      "計算中",
      "作図構成",
      "作図開始",
      "測定",
      "ﾌｧｲﾙ消去",
      "数式入力",
      "数値変化",
      "ｻﾌﾞﾒﾆｭｰ",
      "マクロ",
      "図形追加",
      "回転",
      "ﾌｧｲﾙ改名",
      "点の追加",
      "点の位置設定",
      "選択(編集)",
      "点の動きの束縛",
      "選択(束縛する点)",
      "選択(どこに束縛)",
      "数値選択",
      "複数点変形",
      "軌跡(変数)の選択",
      "ドラッグ",
      "作図再生",
      "補助",
      "上書しようとしたファイルは読み取り専用なので,上書できません。ファイル名を変えて,保存し直して"
      "ください。",
      "現在の図は失われますが,新しい図を作図しますか。",
      "1から10までの数値を入力してください",
      "データ保存に使うWWWサーバのURLを入力してください。",
      "何かキーを押してください。",
      "最大化あるいは最小化されているのでできません。"};
  for (std::string_view ja : texts) {
    std::string_view shown = en(ja);
    EXPECT_NE(shown, ja);
    EXPECT_TRUE(IsAscii(shown)) << ja << " -> " << shown;
  }
  EXPECT_EQ(en("1から10までの数値を入力してください"), "input number(1 - 10)");
}

TEST(BuiltinTable, ConstructionMessagesReadInEnglish) {
  const Translator ja{Language::kJapanese};
  const Translator en{Language::kEnglish};
  EXPECT_EQ(NotEnoughObjectsMessage(Kind::kPC1, ja),
            "「交点（２直線）」の元にするものが足りません。まず,それを作ってください。");
  const std::string english = NotEnoughObjectsMessage(Kind::kPC1, en);
  EXPECT_TRUE(IsAscii(english)) << english;
  EXPECT_EQ(english.rfind("\"intersection(2 lines)\" cannot be made", 0), 0u) << english;
  const std::string_view polygon = en(kPolygonTooFewVerticesMessage);
  EXPECT_NE(polygon, kPolygonTooFewVerticesMessage);
  EXPECT_TRUE(IsAscii(polygon)) << polygon;
}

// Every caption, list line and prompt of the building and attribute dialogs, in every state a
// control can be asked about, reads in English (names of objects are ASCII in this figure).
TEST(BuiltinTable, DialogCaptionsAndListsReadInEnglish) {
  using namespace kv::testing;
  const Translator en{Language::kEnglish};
  Figure fig;
  const int32_t a = FreePoint(fig, 0, 0), b = FreePoint(fig, 4, 0);
  const int32_t g = fig.AllocObject(kClassLine);
  fig.AppendStep("L1", {Pt(a), Pt(b)}, {Ln(g)});
  const int32_t c = fig.AllocObject(kClassCircle);
  fig.AppendStep("C2", {Pt(a), Pt(b)}, {Ci(c)});
  const int32_t n = Variable(fig, 2);
  RecomputeAll(fig);
  RelabelAll(fig, en);

  const std::string_view controls[] = {"Caption",
                                       "CmdCancel",
                                       "Cmd_Cancel",
                                       "Cmd_OK",
                                       "ComboClr",
                                       "ComboIndependent",
                                       "ComboKind",
                                       "ComboLocus",
                                       "Command1",
                                       "Command2",
                                       "Command3",
                                       "CommandCancel",
                                       "CommandOK",
                                       "Label1",
                                       "LabelAttr",
                                       "LabelClr",
                                       "LabelExpressTitle",
                                       "LabelIndependent",
                                       "LabelKind",
                                       "LabelLocus",
                                       "LabelName",
                                       "LabelVal",
                                       "ListKind",
                                       "NewNum",
                                       "NewNumCancel",
                                       "NewNumOK",
                                       "NumList",
                                       "NumSelectOK",
                                       "OptionNotVisible",
                                       "OptionVisible",
                                       "Reset",
                                       "ResetCancel",
                                       "ResetOK",
                                       "cmdAddNum",
                                       "cmdCancel",
                                       "cmdInputEnd",
                                       "cmdNewNumOK",
                                       "cmdOK",
                                       "cmdReInput",
                                       "TextAttr"};
  auto check = [&](const DialogModel& dialog, std::string_view state) {
    for (std::string_view control : controls) {
      const std::string text = dialog.Text(control);
      EXPECT_TRUE(IsAscii(text)) << dialog.FormName() << " " << state << " " << control << ": "
                                 << text;
      for (const std::string& line : dialog.Lines(control))
        EXPECT_TRUE(IsAscii(line)) << dialog.FormName() << " " << control << ": " << line;
    }
  };
  for (SelNumCaller caller : {SelNumCaller::kConstruction, SelNumCaller::kChangeNumber,
                              SelNumCaller::kLocusNumber, SelNumCaller::kAttributeEdit}) {
    NumberDialog dialog(fig, caller, Kind::kC1, 2, en);
    check(dialog, "opened");
    dialog.Click("NewNum");
    check(dialog, "new variable");
  }
  ExpressionDialog expression(fig, 2, en);
  check(expression, "opened");
  for (ObjRef target : {Pt(a), Ln(g), Ci(c)}) check(ShapeAttributeDialog(fig, target, en), "");
  check(NumberAttributeDialog(fig, n, en), "");
  check(BindingDialog(fig, a, en), "");
}

TEST(Translator, EnglishTrimsAndKeepsUnknownTexts) {
  const Translator ja{Language::kJapanese};
  const Translator en{Language::kEnglish};
  EXPECT_EQ(ja("  標準 "), "  標準 ");
  EXPECT_EQ(en("  標準 "), "standard");
  EXPECT_EQ(en("  ＾  （べき）"), "^ (power)");  // menu caption with leading blanks
  EXPECT_EQ(en(" 未登録の文 "), "未登録の文");
  EXPECT_EQ(en(""), "");
  EXPECT_EQ(en("   "), "");
  EXPECT_EQ(en("Marker"), "Marker");
}

TEST(Translator, LanguageSetting) {
  struct Case {
    std::string_view text;
    Language lang;
  } cases[] = {{"English", Language::kEnglish},   {"  ENGLISH ", Language::kEnglish},
               {"manual", Language::kManual},     {"Manual", Language::kManual},
               {"Japanese", Language::kJapanese}, {"", Language::kJapanese},
               {"Englisch", Language::kJapanese}, {"Manual(use dic_kv4.txt)", Language::kJapanese}};
  for (const auto& c : cases) EXPECT_EQ(ParseLanguageSetting(c.text), c.lang) << c.text;
  for (Language l : {Language::kJapanese, Language::kEnglish, Language::kManual})
    EXPECT_EQ(ParseLanguageSetting(LanguageSettingText(l)), l);
}

TEST(Translator, EveryMenuCaptionReadsInEnglishAndReturnsExactly) {
  Translator tr;
  for (int mode : {kMenuModeFull, kMenuModeEasy}) {
    for (const auto& row : MenuTree()) {
      tr.language = Language::kEnglish;
      std::string english = MenuCaption(row.id, mode, tr);
      EXPECT_TRUE(IsAscii(english)) << row.name << " -> " << english;
      tr.language = Language::kJapanese;
      EXPECT_EQ(MenuCaption(row.id, mode, tr), MenuJapaneseCaption(row.id, mode)) << row.name;
    }
  }
  tr.language = Language::kEnglish;
  EXPECT_EQ(MenuCaption(MenuCommand::mnuEasyMenu, kMenuModeEasy, tr), "to full menu");
  EXPECT_EQ(MenuCaption(MenuCommand::mnuPcrossLL, kMenuModeFull, tr), "intersection of 2 lines");
}

TEST(Translator, EnglishMenuBarReadsAsEnglishMenuBarsDo) {
  // Menu titles start with a capital, as "File" and "Edit" do everywhere else on the desktop;
  // the commands inside stay short and lower-case. "deform" is the status text of the
  // keyboard deformation as well and keeps its fixed form.
  Translator tr;
  tr.language = Language::kEnglish;
  std::string bar;
  for (int mode : {kMenuModeFull, kMenuModeEasy}) {
    for (const auto& row : MenuTree()) {
      if (row.parent != MenuCommand::kNone || row.id == MenuCommand::mnuEdit2_point) continue;
      const std::string english = MenuCaption(row.id, mode, tr);
      if (bar.find(" " + english + " ") == std::string::npos) bar += " " + english + " ";
    }
  }
  EXPECT_EQ(bar,
            " File  deform  Construction  Measure  Zoom  Locus  Option  Edit  Help  Language ");
  EXPECT_EQ(MenuCaption(MenuCommand::mnuNew, kMenuModeFull, tr), "new");
}

}  // namespace
}  // namespace kv
