#include "expr/evaluator.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "figure_builder.h"
#include "geometry/recompute.h"

namespace kv {
namespace {

// A figure with the given numbers and one CALC step whose expression is set per case.
struct CalcFigure {
  Figure fig;
  int32_t calc = 0, step = 0;
  explicit CalcFigure(std::initializer_list<double> values) {
    for (double v : values) fig.numbers[fig.AllocObject(kClassNumber)].value = v;
    calc = testing::Construct(fig, "CALC", {}, kClassNumber).index;
    step = fig.StepCount();
  }
  // Evaluates the text, and checks that the program the passes run gives the same number.
  NumberRec& Evaluate(std::string_view expression) {
    NumberRec& n = fig.numbers[calc];
    n.expression = std::string(expression);
    n.valid = kTrue;
    // First the program: the expression may name its own number, which the text changes.
    NumberRec compiled;
    compiled.value = n.value;
    compiled.valid = kTrue;
    std::vector<int32_t> code{7};  // a program need not start the buffer
    CompileExpression(expression, code);
    RunCompiledExpression(fig, code.data() + 1, compiled);
    EvaluateCalcStep(fig, step);
    EXPECT_EQ(compiled.valid, n.valid) << expression;
    EXPECT_EQ(std::bit_cast<uint64_t>(compiled.value), std::bit_cast<uint64_t>(n.value))
        << expression;
    return n;
  }
};

TEST(Evaluator, PrecedenceGuardsAndGrouping) {
  // N1 = 2, N2 = 3, N3 = 4, N4 = 0.005, N5 = -0.02, N6 = 0, N7 = 10. The numbers are left
  // undefined: an expression still uses their last values.
  CalcFigure f({2, 3, 4, 0.005, -0.02, 0, 10});
  const std::pair<const char*, double> cases[] = {
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
      {"N1^N2*N3", 32},
      {"N7-N1*N2^N1", -8},
      {"N1+N2-N3*N7/N1", -15},
      {"N1^N5", std::pow(2.0, -0.02)},
  };
  for (const auto& [expression, expected] : cases) {
    const NumberRec& n = f.Evaluate(expression);
    EXPECT_DOUBLE_EQ(n.value, expected) << expression;
    EXPECT_EQ(n.valid, kTrue) << expression;
  }
}

TEST(Evaluator, OperatorOrderDecidesTheRounding) {
  // The first "-" goes before any "+", the first "/" before any "*".
  CalcFigure f({0.1, 0.2, 0.3, 3, 7});
  EXPECT_EQ(f.Evaluate("N1+N2-N3").value, 0.1 + (0.2 - 0.3));
  EXPECT_NE(0.1 + (0.2 - 0.3), (0.1 + 0.2) - 0.3);
  EXPECT_EQ(f.Evaluate("N1*N4/N5").value, 0.1 * (3.0 / 7.0));
  EXPECT_NE(0.1 * (3.0 / 7.0), (0.1 * 3.0) / 7.0);
}

TEST(Evaluator, ExpressionsThatCannotBeEvaluatedLeaveTheNumberUndefined) {
  CalcFigure f({-8, 0.5, 1e200, 2});
  const char* broken[] = {
      "N1^N2",           // negative base, non-integral power
      "N3*N3",           // overflow
      "N4/N3^N4",        // overflow in an intermediate result (2 / inf would be 0)
      "N9",       "N0",  // no such number
      "N1+",      "+N1", "N1**N2", "", "N", "N1x", "N2.5", "N99999999999",  // unreadable
  };
  for (const char* expression : broken) {
    NumberRec& n = f.Evaluate("N4");
    f.Evaluate(expression);
    EXPECT_EQ(n.valid, kFalse) << expression;
    EXPECT_EQ(n.value, 2) << expression << ": an undefined number keeps its last value";
  }
  // Any first character names an operand, and spaces around operands are tolerated.
  EXPECT_EQ(f.Evaluate("n4+X4 ").value, 4);
  EXPECT_EQ(f.Evaluate("N4+ N4").valid, kTrue);

  // 25 operands use entries 1..49 of the table; a 26th does not fit.
  std::string expression = "N4";
  for (int k = 2; k <= 25; ++k) expression += "+N4";
  EXPECT_EQ(f.Evaluate(expression).value, 50);
  WorkingForm form = BuildWorkingForm(f.fig, expression);
  EXPECT_EQ(EvaluateWorkingForm(form.text, form.table), 50);
  expression += "+N4";
  EXPECT_EQ(f.Evaluate(expression).valid, kFalse);
  EXPECT_FALSE(BuildWorkingForm(f.fig, expression).ok);
}

TEST(Evaluator, WorkingFormRewritesTheTextAndFillsTheTable) {
  CalcFigure f({2, 3, 4});
  WorkingForm form = BuildWorkingForm(f.fig, "N3-N1*N2   ");
  ASSERT_TRUE(form.ok);
  EXPECT_EQ(form.text, "x1-x2*x3");
  EXPECT_EQ(EvaluateWorkingForm(form.text, form.table), -2);
  EXPECT_EQ(form.text, "x5");
  EXPECT_EQ(form.table[4], 6);   // x2*x3 first
  EXPECT_EQ(form.table[5], -2);  // then x1-x4

  OperandTable table{0, 1.5, 2};
  std::string empty, upper = "X1+X2", outside = "x1+x77";
  EXPECT_EQ(EvaluateWorkingForm(empty, table), 0);
  EXPECT_EQ(EvaluateWorkingForm(upper, table), 3.5);
  EXPECT_TRUE(std::isnan(EvaluateWorkingForm(outside, table)));
  EXPECT_EQ(NthOperatorPosition("N1+N2+N3", '+', 0), 5u);
  EXPECT_EQ(NthOperatorPosition("N1+N2+N3", '+', 3), std::string_view::npos);
}

TEST(Evaluator, StepEvaluationAgreesBitForBitWithTheWorkingForm) {
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> value(-20, 20);
  std::uniform_int_distribution<int> pick(1, 12), length(1, 12), op(0, 4);
  CalcFigure f({});
  for (int i = 0; i < 12; ++i)
    f.fig.numbers[f.fig.AllocObject(kClassNumber)].value = i == 0 ? 0.004 : value(rng);
  int compared = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    std::string expression = "N";
    expression += std::to_string(pick(rng));
    for (int k = length(rng); k > 1; --k) {
      expression += "+-*/^"[op(rng)];
      expression += 'N';
      expression += std::to_string(pick(rng));
    }
    WorkingForm form = BuildWorkingForm(f.fig, expression);
    ASSERT_TRUE(form.ok) << expression;
    const double expected = EvaluateWorkingForm(form.text, form.table);
    const NumberRec& n = f.Evaluate(expression);
    EXPECT_EQ(n.valid, std::isfinite(expected) ? kTrue : kFalse) << expression;
    if (!std::isfinite(expected)) continue;
    EXPECT_EQ(n.value, expected) << expression;
    ++compared;
  }
  EXPECT_GT(compared, 1000);
}

TEST(Evaluator, RecomputePassEvaluatesExpressionsOfExpressions) {
  CalcFigure f({2, 3});
  f.fig.numbers[f.calc].expression = "N1*N2";
  const int32_t second = testing::Construct(f.fig, "CALC", {}, kClassNumber).index;
  f.fig.numbers[second].expression = "N3+N1";
  RecomputeAll(f.fig);
  EXPECT_EQ(f.fig.numbers[second].value, 8);
  EXPECT_EQ(f.fig.numbers[second].valid, kTrue);
  f.fig.numbers[1].value = -1;
  RunPasses(f.fig);
  EXPECT_EQ(f.fig.numbers[second].value, -4);
}

}  // namespace
}  // namespace kv
