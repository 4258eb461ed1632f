#include "io/report.h"

#include <gtest/gtest.h>

#include "figure_builder.h"
#include "io_test_util.h"

namespace kv {
namespace {

using testing::CrLfLines;

const std::string kDash(30, '-');

TEST(Report, EmptyFigure) {
  Figure fig;
  const std::string expected = CrLfLines(
      {"FileName : C:\\f\\empty.kv4", "作図手続き数 :  0", kDash, "■作図手続き(概略)■", kDash,
       "■作図手続き(入出力の詳細)■", kDash, "幾何的対象の数", "数   :  0", "点   :  0", "直線 :  0",
       "円   :  0", kDash, "■幾何的対象(数,点,線,円)の詳細データ■", "以上"});
  EXPECT_EQ(FigureReport(fig, "C:\\f\\empty.kv4", Translator{}), expected);
}

// Two free points, a line through them, a circle and its intersections with the line, and an
// n-equal-parts group.
Figure SmallFigure() {
  Figure fig;
  for (double x : {-2.0, 3.0}) {
    const ObjRef p{kClassPoint, fig.AllocObject(kClassPoint)};
    fig.points[p.index].x = x;
    fig.points[p.index].y = 0.5;
    fig.points[p.index].free = kTrue;
    fig.AppendStep("PNEW", {}, {p});
  }
  const ObjRef a{kClassPoint, 1}, b{kClassPoint, 2};
  const ObjRef line = testing::Construct(fig, "L1", {a, b}, kClassLine);
  fig.SetObjectName(line, "AB");
  const ObjRef circle = testing::Construct(fig, "C2", {a, b}, kClassCircle);
  testing::IntersectionPoints(fig, "PC2", {line, circle});
  const ObjRef n{kClassNumber, fig.AllocObject(kClassNumber)};
  fig.numbers[n.index].value = 3;
  fig.AppendStep("PNEQ", {a, b, n}, {});
  fig.AppendStep("PNEQ", {}, {});
  return fig;
}

TEST(Report, StepsListTheirInputsAndOutputs) {
  const std::string text = FigureReport(SmallFigure(), "f.kv4", Translator{});
  EXPECT_NE(text.find(" 3:L1   (２点を結ぶ)\r\n  入力 : 点A( 1) , 点B( 2) ,  0 ,  0 ,  0 , \r\n"
                      "  出力 : 線AB( 1) ,  0 ,  0 ,  0 ,  0 , \r\n"),
            std::string::npos);
  EXPECT_NE(text.find("  入力 : 線AB( 1) , 円1( 1) ,  0 ,  0 ,  0 , \r\n"
                      "  出力 : 点C( 3) , 点D( 4) ,  0 ,  0 ,  0 , \r\n"),
            std::string::npos);
  EXPECT_NE(text.find(" 6:PNEQ (■ｎ等分 開始)\r\n"), std::string::npos);
  EXPECT_NE(text.find(" 7:PNEQ (■ｎ等分 終了)\r\n"), std::string::npos);
  EXPECT_NE(text.find("  入力 : 点A( 1) , 点B( 2) , 変数( 1) ,  0 ,  0 , \r\n"), std::string::npos);
  EXPECT_NE(text.find("名前     : A\r\n座標     : -2, 0.5\r\n種類     :  0\r\n"
                      "独立/従属: -1\r\n束縛状態 :  0, 0, 0\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("点   :  4\r\n直線 :  1\r\n円   :  1\r\n"), std::string::npos);
  EXPECT_NE(text.find("値       :  3\r\n"), std::string::npos);
}

TEST(Report, EnglishUsesTheTranslatedWords) {
  const std::string text = FigureReport(SmallFigure(), "f.kv4", Translator{Language::kEnglish, {}});
  EXPECT_NE(text.find(" 3:L1   (connect 2 points)\r\n  input : pointA( 1) , pointB( 2) ,"),
            std::string::npos);
  EXPECT_NE(text.find("(*devide equally start)"), std::string::npos);
  EXPECT_EQ(text.find("作図"), std::string::npos);
}

TEST(Report, MatrixBlocksFollowTheWriteMode) {
  const double m[] = {1.5, -0.5, 0.5, 1};
  const std::string block = MatrixBlock("M=", 2, 2, m);
  EXPECT_EQ(block, CrLfLines({"M=", " 1.5 , -0.5 , ", " 0.5 ,  1 , "}));
  const std::string dashes = std::string(20, '-') + "\r\n";
  const std::string first = ViewerTextWithBlock("", block, ViewerWriteMode::kOverwrite);
  EXPECT_EQ(first, block + "\r\n");
  const std::string two = ViewerTextWithBlock(first, "B\r\n", ViewerWriteMode::kAppend);
  EXPECT_EQ(two, first + "\r\n" + dashes + "B\r\n\r\n");
  EXPECT_EQ(ViewerTextWithBlock("old", "B\r\n", ViewerWriteMode::kInsertFront),
            "B\r\n\r\n" + dashes + "old\r\n");
  EXPECT_EQ(ViewerTextWithBlock(two, "C\r\n", ViewerWriteMode::kOverwrite), "C\r\n\r\n");
}

}  // namespace
}  // namespace kv
