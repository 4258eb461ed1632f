#include "expr/number_dialog.h"

#include <gtest/gtest.h>

#include <cmath>

#include "figure_builder.h"
#include "session/input_modes.h"

namespace kv {
namespace {

using testing::Variable;

TEST(NumberDialog, LeadingNumberReadsWhatTheTextStartsWith) {
  const std::pair<const char*, double> cases[] = {
      {"3", 3},     {"  2.5abc", 2.5}, {"abc", 0},  {"", 0},    {"-1e2", -100},
      {"+.5", 0.5}, {".", 0},          {"1e", 1},   {"7 8", 7}, {"１２．５", 12.5},
      {"－３", -3}, {"1e999", 0},      {"2D1", 20}, {"-", 0},   {"0.125x3", 0.125},
  };
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << text;
}

TEST(NumberDialog, ListLinesShowIndexNameAndAlignedValue) {
  Figure fig;
  const int32_t ab = Variable(fig, 2.5);
  fig.SetObjectName({kClassNumber, ab}, "AB");
  Variable(fig, -0.125);
  EXPECT_EQ(NumberListLine(fig, 1, 2), " 1:AB =    2.50");
  EXPECT_EQ(NumberListLine(fig, 2, 2), " 2: =   -0.13");
}

struct DialogFigure {
  Figure fig;
  Translator tr;
  DialogFigure() {
    Variable(fig, 1.5);
    const int32_t measured = fig.AllocObject(kClassNumber);  // a dependent number
    fig.numbers[measured].value = 10;
    Variable(fig, -2);
  }
};

TEST(NumberDialog, ConstructionOpensByTheKindOfThePendingStep) {
  DialogFigure f;
  // Ratios, counts and radii are usually typed; a length to extend by is usually measured.
  const std::pair<Kind, bool> cases[] = {
      {Kind::kPN, true}, {Kind::kLPGN, true},  {Kind::kLH2Macro, true}, {Kind::kLRGN, true},
      {Kind::kC1, true}, {Kind::kPNEQ, false}, {Kind::kPEXT, false},    {Kind::kPT1, false}};
  for (const auto& [kind, typed] : cases) {
    NumberDialog d(f.fig, SelNumCaller::kConstruction, kind, 2, f.tr);
    EXPECT_EQ(d.Visible("Text1"), typed) << CodeOf(kind);
    EXPECT_EQ(d.Visible("Cmd_OK"), !typed) << CodeOf(kind);
    EXPECT_FALSE(d.Visible("Reset"));
    EXPECT_EQ(d.Lines("NumList").size(), 3u);
  }
  // An empty figure has nothing to list.
  Figure empty;
  NumberDialog d(empty, SelNumCaller::kConstruction, Kind::kPEXT, 2, f.tr);
  EXPECT_TRUE(d.Visible("Text1"));
}

TEST(NumberDialog, NewVariableThreeThenUpGivesFour) {
  DialogFigure f;
  NumberDialog d(f.fig, SelNumCaller::kConstruction, Kind::kPN, 2, f.tr);
  ASSERT_TRUE(d.Type("Text1", "3"));
  ASSERT_TRUE(d.Key(kKeyUp, 0));
  EXPECT_EQ(d.Text("Text1"), "4");
  ASSERT_TRUE(d.Click("Command3"));
  ASSERT_TRUE(d.Click("Command3"));
  EXPECT_EQ(d.Text("Text1"), "2");
  ASSERT_TRUE(d.Key(kKeyUp, 0));
  ASSERT_TRUE(d.Key(kKeyUp, 0));
  ASSERT_TRUE(d.Key(kKeyEnter, 0));
  ASSERT_TRUE(d.Closed());
  EXPECT_EQ(d.Outcome(), DialogOutcome::kChosen);
  ASSERT_EQ(d.ChosenNumber(), 4);
  const NumberRec& n = f.fig.numbers[4];
  EXPECT_DOUBLE_EQ(n.value, 4);
  EXPECT_EQ(n.independent, kTrue);
  EXPECT_EQ(n.valid, kTrue);
}

TEST(NumberDialog, ChoosingFromTheListAndCancelling) {
  DialogFigure f;
  {
    NumberDialog d(f.fig, SelNumCaller::kConstruction, Kind::kPEXT, 2, f.tr);
    EXPECT_EQ(d.SelectedLine("NumList"), 1);
    EXPECT_FALSE(d.SelectLine("NumList", 4));
    EXPECT_TRUE(d.Key(kKeyDown, 0));
    EXPECT_TRUE(d.Key(kKeyDown, 0));
    EXPECT_FALSE(d.Key(kKeyDown, 0));  // already on the last line
    EXPECT_EQ(d.SelectedLine("NumList"), 3);
    EXPECT_FALSE(d.Click("NewNumOK"));  // not shown in the list state
    ASSERT_TRUE(d.Click("Cmd_OK"));
    EXPECT_EQ(d.ChosenNumber(), 3);
    EXPECT_FALSE(d.Click("Cmd_Cancel"));  // closed
  }
  {
    // A new variable typed and then abandoned: back to the list, then cancel.
    NumberDialog d(f.fig, SelNumCaller::kConstruction, Kind::kPN, 2, f.tr);
    EXPECT_TRUE(d.Key(kKeyEscape, 0));
    EXPECT_TRUE(d.Visible("Cmd_OK"));
    EXPECT_TRUE(d.Key(kKeyEscape, 0));
    EXPECT_EQ(d.Outcome(), DialogOutcome::kCancelled);
    EXPECT_EQ(f.fig.classCount[kClassNumber], 3);
  }
}

TEST(NumberDialog, ChangeNumberListsVariablesAndChangesAValue) {
  DialogFigure f;
  NumberDialog d(f.fig, SelNumCaller::kChangeNumber, Kind::kNone, 1, f.tr);
  // Only the independent variables 1 and 3.
  ASSERT_EQ(d.Lines("NumList"), (std::vector<std::string>{" 1: =    1.5", " 3: =   -2.0"}));
  EXPECT_EQ(d.Text("Cmd_OK"), "変化させる");
  EXPECT_EQ(d.Text("Cmd_Cancel"), "元に戻る");
  ASSERT_TRUE(d.Visible("Reset"));
  ASSERT_TRUE(d.SelectLine("NumList", 2));
  ASSERT_TRUE(d.Click("Reset"));
  EXPECT_EQ(d.Text("ResetText"), "-2");
  ASSERT_TRUE(d.Type("ResetText", "7"));
  ASSERT_TRUE(d.Click("Command2"));
  ASSERT_TRUE(d.Click("ResetOK"));
  EXPECT_DOUBLE_EQ(f.fig.numbers[3].value, 8);
  EXPECT_TRUE(d.ValueChanged());
  EXPECT_EQ(d.Lines("NumList")[1], " 3: =    8.0");
  EXPECT_FALSE(d.Closed());
  ASSERT_TRUE(d.Click("Cmd_OK"));
  EXPECT_EQ(d.ChosenNumber(), 3);
  EXPECT_EQ(d.Caller(), SelNumCaller::kChangeNumber);
}

TEST(NumberDialog, CallerFollowsTheInputMode) {
  EXPECT_EQ(SelNumCallerForMode(63), SelNumCaller::kChangeNumber);
  EXPECT_EQ(SelNumCallerForMode(60), SelNumCaller::kChangeNumber);
  EXPECT_EQ(SelNumCallerForMode(71), SelNumCaller::kLocusNumber);
  EXPECT_EQ(SelNumCallerForMode(40), SelNumCaller::kAttributeEdit);
  EXPECT_EQ(SelNumCallerForMode(15), SelNumCaller::kConstruction);
}

TEST(NumberDialog, OtherCallersHaveNoValueChange) {
  DialogFigure f;
  const std::pair<SelNumCaller, size_t> cases[] = {{SelNumCaller::kLocusNumber, 3},
                                                   {SelNumCaller::kAttributeEdit, 3}};
  for (const auto& [caller, lines] : cases) {
    NumberDialog d(f.fig, caller, Kind::kNone, 2, f.tr);
    EXPECT_EQ(d.Lines("NumList").size(), lines);
    EXPECT_FALSE(d.Visible("Reset"));
    EXPECT_FALSE(d.Click("Reset"));
    EXPECT_EQ(d.Text("Cmd_OK"), "OK");
    EXPECT_EQ(d.Text("Cmd_Cancel"), "キャンセル");
  }
  // The locus number is chosen by its list line, measured numbers included: line 2 is the
  // measured number 2.
  NumberDialog locus(f.fig, SelNumCaller::kLocusNumber, Kind::kNone, 2, f.tr);
  ASSERT_TRUE(locus.SelectLine("NumList", 2));
  ASSERT_TRUE(locus.Click("Cmd_OK"));
  EXPECT_EQ(locus.ChosenNumber(), 2);
}

}  // namespace
}  // namespace kv
