#include "expr/expression_dialog.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <regex>

#include "figure_builder.h"
#include "geometry/recompute.h"
#include "session/input_modes.h"

namespace kv {
namespace {

using testing::Variable;

struct ExpressionFigure {
  Figure fig;
  Translator tr;
  ExpressionFigure() {
    fig.SetObjectName({kClassNumber, Variable(fig, 2)}, "a");
    fig.SetObjectName({kClassNumber, Variable(fig, 5)}, "b");
  }
};

bool Choose(ExpressionDialog& d, int line) {
  return d.SelectLine("NumList", line) && d.Click("NumSelectOK");
}

TEST(ExpressionDialog, SecondPlusFirstBuildsACalcStep) {
  ExpressionFigure f;
  ExpressionDialog d(f.fig, 2, f.tr);
  EXPECT_EQ(d.FormName(), "KVExpress");
  ASSERT_TRUE(Choose(d, 2));
  ASSERT_TRUE(d.Click("cmdOpAdd"));
  EXPECT_EQ(d.Text("LabelExpress"), "b+");
  ASSERT_TRUE(Choose(d, 1));
  EXPECT_EQ(d.Text("LabelExpress"), "b+a");
  const int32_t steps = f.fig.StepCount();
  ASSERT_TRUE(d.Click("cmdInputEnd"));
  ASSERT_TRUE(d.Closed());
  ASSERT_EQ(d.Outcome(), ExpressionDialog::ExpressionOutcome::kBuilt);
  ASSERT_EQ(d.BuiltStep(), steps + 1);
  ASSERT_EQ(f.fig.StepCount(), steps + 1);
  EXPECT_EQ(f.fig.KindCode(d.BuiltStep()), "CALC");
  EXPECT_TRUE(f.fig.Parent(d.BuiltStep(), 1).IsEmpty());
  const ObjRef out = f.fig.Output(d.BuiltStep(), 1);
  ASSERT_EQ(out, (ObjRef{kClassNumber, 3}));
  EXPECT_EQ(f.fig.numbers[3].expression, "N2+N1");
  EXPECT_EQ(f.fig.numbers[3].name, "b+a");
  EXPECT_EQ(f.fig.numbers[3].independent, 0);
  RecomputeAll(f.fig);
  EXPECT_DOUBLE_EQ(f.fig.numbers[3].value, 7);
}

// Numbers and operators alternate, so an expression can only end right after a number.
TEST(ExpressionDialog, StatesAlternateBetweenNumberAndOperator) {
  ExpressionFigure f;
  ExpressionDialog d(f.fig, 2, f.tr);
  const char* operators[] = {"cmdOpAdd", "cmdOpMinus", "cmdOpMulti", "cmdOpDiv", "cmdOpPower"};
  for (const char* op : operators) EXPECT_FALSE(d.Visible(op)) << op;
  EXPECT_FALSE(d.Click("cmdInputEnd"));
  EXPECT_FALSE(d.Key('=', 0));
  ASSERT_TRUE(d.Key(kKeyEnter, 0));  // chooses the selected (first) line
  EXPECT_FALSE(d.Click("NumSelectOK"));
  EXPECT_FALSE(d.Visible("cmdAddNum"));
  // The keys on 入力終了 press the operator buttons.
  const std::pair<int, char> keys[] = {{'*', '*'}, {'/', '/'}, {'^', '^'}, {'-', '-'}, {107, '+'}};
  std::string expected = "N1";
  for (const auto& [key, op] : keys) {
    ASSERT_TRUE(d.Key(key, 0));
    EXPECT_FALSE(d.Key(key, 0));  // no second operator in a row
    ASSERT_TRUE(Choose(d, 2));
    expected += op;
    expected += "N2";
  }
  EXPECT_EQ(d.WorkingExpression(), expected);
  ASSERT_TRUE(d.Key('=', 0));
  EXPECT_EQ(d.Outcome(), ExpressionDialog::ExpressionOutcome::kBuilt);
}

TEST(ExpressionDialog, NewNumberThreeThenUpGivesFour) {
  ExpressionFigure f;
  ExpressionDialog d(f.fig, 2, f.tr);
  ASSERT_TRUE(d.Click("cmdAddNum"));
  EXPECT_TRUE(d.Visible("Text1"));
  EXPECT_FALSE(d.Visible("NumSelectOK"));
  EXPECT_FALSE(d.Visible("cmdReInput"));
  EXPECT_TRUE(d.Visible("cmdCancel"));
  ASSERT_TRUE(d.Type("Text1", "3"));
  EXPECT_EQ(d.Text("LabelNewNumCheck"), "3");
  ASSERT_TRUE(d.Key(kKeyUp, 0));
  EXPECT_EQ(d.Text("Text1"), "4");
  ASSERT_TRUE(d.Key(kKeyEnter, 0));  // OK :確認
  const NumberRec& n = f.fig.numbers[3];
  EXPECT_DOUBLE_EQ(n.value, 4);
  EXPECT_EQ(n.independent, kTrue);
  EXPECT_EQ(d.WorkingExpression(), "N3");
  EXPECT_EQ(d.Lines("NumList").size(), 3u);
  // A number was just given: the operators follow.
  EXPECT_TRUE(d.Visible("cmdOpAdd"));
  EXPECT_EQ(d.Text("LabelExpress"), " 4");  // a number without a name shows its value
}

TEST(ExpressionDialog, ReInputStartsOverAndCancelAddsNoStep) {
  ExpressionFigure f;
  ExpressionDialog d(f.fig, 2, f.tr);
  ASSERT_TRUE(Choose(d, 1));
  ASSERT_TRUE(d.Click("cmdOpMulti"));
  ASSERT_TRUE(d.Click("cmdReInput"));
  EXPECT_EQ(d.WorkingExpression(), "");
  EXPECT_EQ(d.Text("LabelExpress"), "");
  EXPECT_TRUE(d.Visible("NumSelectOK"));
  EXPECT_FALSE(d.Visible("cmdInputEnd"));

  // A new variable made before cancelling stays; no step is added.
  ASSERT_TRUE(d.Click("cmdAddNum"));
  ASSERT_TRUE(d.Type("Text1", "9"));
  ASSERT_TRUE(d.Click("cmdNewNumOK"));
  const int32_t steps = f.fig.StepCount();
  ASSERT_TRUE(d.Key(kKeyEscape, 0));
  EXPECT_EQ(d.Outcome(), ExpressionDialog::ExpressionOutcome::kCancelled);
  EXPECT_EQ(f.fig.StepCount(), steps);
  EXPECT_EQ(f.fig.classCount[kClassNumber], 3);
  EXPECT_FALSE(d.Click("cmdReInput"));
}

// The stored expression has room for 70 characters: an operator is refused when no operand
// could follow it, so the expression is never cut and evaluates as shown.
TEST(ExpressionDialog, LongExpressionStopsBeforeTheStoredWidth) {
  Figure fig;
  Translator tr;
  for (int i = 0; i < 12; ++i) Variable(fig, 1);
  ExpressionDialog d(fig, 2, tr);
  int operands = 0;
  for (;;) {
    ASSERT_TRUE(Choose(d, 12));
    ++operands;
    if (!d.Click("cmdOpAdd")) break;
    ASSERT_LT(operands, 40);
  }
  // "N12" and "+N12" repeated: 3 + 4k <= 70.
  EXPECT_EQ(operands, 17);
  EXPECT_EQ(d.WorkingExpression().size(), 67u);
  ASSERT_TRUE(d.Click("cmdInputEnd"));
  RecomputeAll(fig);
  EXPECT_DOUBLE_EQ(fig.numbers[13].value, 17);
}

// Whatever the user clicks, types or presses, the working expression stays in the stored
// syntax and within its width, names only numbers of the figure, and a built step holds an
// expression that ends with an operand.
TEST(ExpressionDialog, RandomActionsKeepTheExpressionWellFormed) {
  const std::regex partial("(N[1-9][0-9]*([-+*/^]N[1-9][0-9]*)*[-+*/^]?)?");
  const char* buttons[] = {"NumSelectOK", "cmdAddNum",  "cmdNewNumOK", "cmdReInput",
                           "cmdInputEnd", "cmdOpAdd",   "cmdOpMinus",  "cmdOpMulti",
                           "cmdOpDiv",    "cmdOpPower", "cmdCancel"};
  const int keys[] = {kKeyUp, kKeyDown, kKeyEnter, '+', '-', '*', '/', '^', '=', kKeyEscape};
  std::mt19937 random(7);
  int built = 0;
  for (int run = 0; run < 200; ++run) {
    Figure fig;
    Translator tr;
    for (int i = 0; i < run % 4; ++i) Variable(fig, i);
    ExpressionDialog d(fig, 2, tr);
    for (int action = 0; action < 60 && !d.Closed(); ++action) {
      switch (random() % 4) {
        case 0:
          // キャンセル (the last button) rarely, so that many runs reach 入力終了.
          d.Click(random() % 16 == 0 ? "cmdCancel" : buttons[random() % (std::size(buttons) - 1)]);
          break;
        case 1:
          d.Key(keys[random() % std::size(keys)], 0);
          break;
        case 2:
          d.Type("Text1", std::to_string(static_cast<int>(random() % 2000) - 1000));
          break;
        default:
          d.SelectLine("NumList", static_cast<int>(random() % 6));
      }
      const std::string& e = d.WorkingExpression();
      ASSERT_TRUE(std::regex_match(e, partial)) << e;
      ASSERT_LE(e.size(), 70u);
    }
    if (d.Outcome() != ExpressionDialog::ExpressionOutcome::kBuilt) continue;
    ++built;
    const std::string stored = fig.numbers[fig.Output(d.BuiltStep(), 1).index].expression.str();
    ASSERT_TRUE(std::regex_match(stored, partial)) << stored;
    ASSERT_TRUE(std::isdigit(static_cast<unsigned char>(stored.back()))) << stored;
    for (size_t i = 0; i < stored.size(); ++i) {
      if (stored[i] == 'N') {
        EXPECT_LE(std::stoi(stored.substr(i + 1)), fig.classCount[0]);
      }
    }
  }
  EXPECT_GT(built, 20);
}

}  // namespace
}  // namespace kv
