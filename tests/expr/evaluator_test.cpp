#include "expr/evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/recompute.h"

namespace kv {
namespace {

// A figure with the given numbers (as independent variables) and one CALC step.
struct CalcFigure {
  Figure fig;
  int32_t calc = 0;
  int32_t step = 0;

  explicit CalcFigure(std::initializer_list<double> values) {
    for (double v : values) {
      const int32_t i = fig.AllocObject(kClassNumber);
      fig.numbers[i].value = v;
      fig.numbers[i].valid = kTrue;
      fig.numbers[i].independent = kTrue;
    }
    calc = fig.AllocObject(kClassNumber);
    step = fig.AppendStep("CALC", {}, {ObjRef{kClassNumber, calc}});
  }
  NumberRec& Evaluate(std::string_view expression) {
    fig.numbers[calc].expression = std::string(expression);
    fig.numbers[calc].valid = kTrue;
    EvaluateCalcStep(fig, step);
    return fig.numbers[calc];
  }
};

TEST(Evaluator, PrecedenceAndGroupingFollowTheRewritingOrder) {
  struct Case {
    const char* expression;
    double expected;
  };
  // N1 = 2, N2 = 3, N3 = 4, N4 = 0.005, N5 = -0.02, N6 = 0, N7 = 10
  const Case cases[] = {
      {"N1", 2},
      {"N1+N2*N3", 14},
      {"N1*N2+N3", 10},
      {"N1-N2-N3", -5},
      {"N3/N1/N1", 1},
      {"N1^N2^N1", 64},
      {"N2-N1+N3", 5},
      {"N1/N4", 0},
      {"N1/N5", -100},
      {"N6^N2", 0},
      {"N6^N6", 0},
      {"N4^N1", 0},
      {"N1^N2*N3", 32},
      {"N7-N1*N2^N1", -8},
      {"N7/N1-N2", 2},
      {"N1+N2-N3*N7/N1", -15},
      {"N1^N5", std::pow(2.0, -0.02)},
      {"N3/N1*N2", 6},
      {"N1*N2/N3", 1.5},
  };
  CalcFigure f({2, 3, 4, 0.005, -0.02, 0, 10});
  for (const Case& c : cases) {
    const NumberRec& n = f.Evaluate(c.expression);
    EXPECT_DOUBLE_EQ(n.value, c.expected) << c.expression;
    EXPECT_EQ(n.valid, kTrue) << c.expression;
  }
}

TEST(Evaluator, SubtractionBeforeAdditionDecidesTheRounding) {
  // 0.1 + 0.2 - 0.3 is 5.55e-17 left to right, but the first "-" is applied first:
  // 0.1 + (0.2 - 0.3) = 0.1 + -0.09999999999999998 = 2.7755575615628914e-17.
  CalcFigure f({0.1, 0.2, 0.3});
  EXPECT_EQ(f.Evaluate("N1+N2-N3").value, 0.1 + (0.2 - 0.3));
  EXPECT_NE(0.1 + (0.2 - 0.3), (0.1 + 0.2) - 0.3);
  // The first "/" before any "*": (N1*N2)/N3 and N1*(N2/N3) differ in the last bit here.
  CalcFigure g({0.1, 3, 7});
  EXPECT_EQ(g.Evaluate("N1*N2/N3").value, 0.1 * (3.0 / 7.0));
  EXPECT_NE(0.1 * (3.0 / 7.0), (0.1 * 3.0) / 7.0);
}

TEST(Evaluator, UsesTheLastValueOfAnUndefinedOperand) {
  CalcFigure f({2, 3});
  f.fig.numbers[2].valid = kFalse;
  const NumberRec& n = f.Evaluate("N1*N2");
  EXPECT_EQ(n.value, 6);
  EXPECT_EQ(n.valid, kTrue);
}

TEST(Evaluator, ExpressionsThatCannotBeEvaluatedLeaveTheNumberUndefined) {
  CalcFigure f({-8, 0.5, 1e200, 2, 0});
  const char* broken[] = {
      "N1^N2",         // negative base, non-integral power
      "N3*N3",         // overflow
      "N4/N3^N4",      // overflow in an intermediate result (2 / inf would be 0)
      "N9",            // no number 9 in the figure
      "N0",            // index 0
      "N1+",           // missing last operand
      "+N1",           // missing first operand
      "N1**N2",        // empty operand
      "",              // nothing at all
      "N",             // no index
      "N1x",           // not a number index
      "N2.5",          // not an integer index
      "N99999999999",  // index too long
  };
  for (const char* expression : broken) {
    NumberRec& n = f.Evaluate("N4");  // a defined starting state with value 2
    ASSERT_EQ(n.valid, kTrue);
    f.Evaluate(expression);
    EXPECT_EQ(n.valid, kFalse) << expression;
    EXPECT_EQ(n.value, 2) << expression << ": an undefined number keeps its last value";
  }
  // Any first character names an operand, and spaces around operands are tolerated.
  EXPECT_EQ(f.Evaluate("n4+X4 ").value, 4);
  EXPECT_EQ(f.Evaluate("N4+ N4").valid, kTrue);
}

TEST(Evaluator, TwentyFiveOperandsFitTheTableAndTwentySixDoNot) {
  CalcFigure f({1});
  std::string expression = "N1";
  for (int k = 2; k <= 25; ++k) expression += "+N1";
  EXPECT_EQ(f.Evaluate(expression).value, 25);
  EXPECT_EQ(f.fig.numbers[f.calc].valid, kTrue);
  WorkingForm form = BuildWorkingForm(f.fig, expression);
  ASSERT_TRUE(form.ok);
  EXPECT_EQ(EvaluateWorkingForm(form.text, form.table), 25);

  expression += "+N1";
  EXPECT_EQ(f.Evaluate(expression).valid, kFalse);
  EXPECT_FALSE(BuildWorkingForm(f.fig, expression).ok);
}

TEST(Evaluator, WorkingFormRewritesTheTextAndFillsTheTable) {
  CalcFigure f({2, 3, 4});
  WorkingForm form = BuildWorkingForm(f.fig, "N3-N1*N2   ");
  ASSERT_TRUE(form.ok);
  EXPECT_EQ(form.text, "x1-x2*x3");
  EXPECT_EQ(form.table[1], 4);
  EXPECT_EQ(form.table[2], 2);
  EXPECT_EQ(form.table[3], 3);
  EXPECT_EQ(EvaluateWorkingForm(form.text, form.table), -2);
  EXPECT_EQ(form.text, "x5");
  EXPECT_EQ(form.table[4], 6);   // x2*x3 first
  EXPECT_EQ(form.table[5], -2);  // then x1-x4

  OperandTable table{};
  std::string empty;
  EXPECT_EQ(EvaluateWorkingForm(empty, table), 0);
  std::string upper = "X1+X2";
  table[1] = 1.5, table[2] = 2;
  EXPECT_EQ(EvaluateWorkingForm(upper, table), 3.5);
  std::string outside = "x1+x77";
  EXPECT_TRUE(std::isnan(EvaluateWorkingForm(outside, table)));
}

TEST(Evaluator, StepEvaluationAgreesBitForBitWithTheWorkingForm) {
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> value(-20, 20);
  std::uniform_int_distribution<int> pick(1, 12), length(1, 12), op(0, 4);
  CalcFigure f({});
  for (int i = 0; i < 12; ++i) {
    const int32_t n = f.fig.AllocObject(kClassNumber);
    f.fig.numbers[n].value = i == 0 ? 0.004 : value(rng);
  }
  int compared = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    std::string expression = "N" + std::to_string(pick(rng));
    for (int k = length(rng); k > 1; --k)
      expression += std::string(1, "+-*/^"[op(rng)]) + "N" + std::to_string(pick(rng));
    WorkingForm form = BuildWorkingForm(f.fig, expression);
    ASSERT_TRUE(form.ok) << expression;
    const double expected = EvaluateWorkingForm(form.text, form.table);
    const NumberRec& n = f.Evaluate(expression);
    if (std::isfinite(expected)) {
      ++compared;
      EXPECT_EQ(n.valid, kTrue) << expression;
      EXPECT_EQ(n.value, expected) << expression;
    } else {
      EXPECT_EQ(n.valid, kFalse) << expression;
    }
  }
  EXPECT_GT(compared, 1000);
}

TEST(Evaluator, OperatorTextHelpers) {
  EXPECT_EQ(CountOperator("N1+N2+N3-N4", '+'), 2);
  EXPECT_EQ(CountOperator("N1+N2", '^'), 0);
  EXPECT_EQ(OperatorCount("N1+N2-N3*N4/N5^N6"), 5);
  EXPECT_EQ(OperatorCount("N12"), 0);
  EXPECT_EQ(NthOperatorPosition("N1+N2+N3", '+', 1), 2u);
  EXPECT_EQ(NthOperatorPosition("N1+N2+N3", '+', 2), 5u);
  EXPECT_EQ(NthOperatorPosition("N1+N2+N3", '+', 0), 5u);
  EXPECT_EQ(NthOperatorPosition("N1+N2+N3", '+', 3), std::string_view::npos);
  EXPECT_EQ(NthOperatorPosition("N1+N2", '*', 0), std::string_view::npos);
}

TEST(Evaluator, RecomputePassEvaluatesExpressionsOfExpressions) {
  CalcFigure f({2, 3});
  f.fig.numbers[f.calc].expression = "N1*N2";
  const int32_t second = f.fig.AllocObject(kClassNumber);
  f.fig.numbers[second].expression = "N3+N1";
  f.fig.AppendStep("CALC", {}, {ObjRef{kClassNumber, second}});
  RecomputeAll(f.fig);
  EXPECT_EQ(f.fig.numbers[f.calc].value, 6);
  EXPECT_EQ(f.fig.numbers[second].value, 8);
  EXPECT_EQ(f.fig.numbers[second].valid, kTrue);
  f.fig.numbers[1].value = -1;
  RunPasses(f.fig);
  EXPECT_EQ(f.fig.numbers[second].value, -4);
}

}  // namespace
}  // namespace kv
