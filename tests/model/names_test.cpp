#include "model/names.h"

#include <gtest/gtest.h>

#include "figure_builder.h"
#include "model/number_format.h"

namespace kv {
namespace {

const Translator kJapanese{Language::kJapanese, {}};
const Translator kEnglish{Language::kEnglish, {}};

ObjRef Add(Figure& fig, int cls, std::string_view name) {
  const ObjRef ref{cls, fig.AllocObject(cls)};
  fig.SetObjectName(ref, name);
  return ref;
}

// Points A B C D, lines g h, circles O P, number t: the parents every label rule needs.
struct NamedFigure {
  Figure fig;
  ObjRef a, b, c, d, g, h, o, p, t;
  NamedFigure() {
    a = Add(fig, kClassPoint, "A");
    b = Add(fig, kClassPoint, "B");
    c = Add(fig, kClassPoint, "C");
    d = Add(fig, kClassPoint, "D");
    g = Add(fig, kClassLine, "g");
    h = Add(fig, kClassLine, "h");
    o = Add(fig, kClassCircle, "O");
    p = Add(fig, kClassCircle, "P");
    t = Add(fig, kClassNumber, "t");
  }
  ObjRef Step(std::string_view kind, std::initializer_list<ObjRef> parents, int outputClass) {
    return testing::Construct(fig, kind, parents, outputClass);
  }
};

TEST(Names, ClearedSlotsTakeTheirDefaultNames) {
  Figure fig;
  for (int i = 0; i < 55; ++i) fig.AllocObject(kClassPoint);  // the table grows to 0..60
  const std::pair<ObjRef, const char*> cleared[] = {
      {{kClassPoint, 26}, "Z"}, {{kClassPoint, 27}, "["},  {{kClassPoint, 33}, "a"},
      {{kClassPoint, 52}, "t"}, {{kClassPoint, 53}, "53"}, {{kClassLine, 4}, "4"},
      {{kClassNumber, 3}, ""},
  };
  for (const auto& [ref, name] : cleared) {
    fig.SetObjectName(ref, "old");
    fig.ResetObject(ref);
    EXPECT_EQ(fig.GetName(ref), name) << ref.cls << "/" << ref.index;
  }
}

TEST(Names, EveryLabelRuleInJapaneseAndEnglish) {
  struct Case {
    const char* kind;
    std::vector<char> parents;  // letters of NamedFigure's objects
    int outputClass;
    const char* japanese;
    const char* english;
  };
  const Case cases[] = {
      {"L1", {'a', 'b'}, kClassLine, "AB", "AB"},
      {"ND2P", {'a', 'b'}, kClassNumber, "AB", "AB"},
      {"ND2L", {'g', 'h'}, kClassNumber, "d(g, h)", "d(g, h)"},
      {"ND2C", {'o', 'p'}, kClassNumber, "d(円O, 円P)", "d(circleO, circleP)"},
      {"NDLC", {'g', 'o'}, kClassNumber, "d(g, 円O)", "d(g, circleO)"},
      {"NDPC", {'a', 'o'}, kClassNumber, "d(A, 円O)", "d(A, circleO)"},
      {"NDPL", {'a', 'g'}, kClassNumber, "d(A, g)", "d(A, g)"},
      {"NPL2", {'a', 'g'}, kClassNumber, "d(A, g)", "d(A, g)"},
      {"NA3P", {'a', 'b', 'c'}, kClassNumber, "∠ABC", "∠ABC"},
      {"NA3+", {'a', 'b', 'c'}, kClassNumber, "∠ABC", "∠ABC"},
      {"NA3M", {'c', 'b', 'a'}, kClassNumber, "∠CBA", "∠CBA"},
      {"NA3*", {'a', 'b', 'c'}, kClassNumber, "∠ABC", "∠ABC"},
      {"NAR3", {'a', 'b', 'c'}, kClassNumber, "ΔABC", "/]ABC"},
      {"NAR+", {'a', 'b', 'c'}, kClassNumber, "ΔABC", "/]ABC"},
      {"NAR4", {'a', 'b', 'c', 'd'}, kClassNumber, "□ABCD", "[]ABCD"},
      {"NA2L", {'g', 'h'}, kClassNumber, "∠(g, h)", "∠(g, h)"},
      {"NPX", {'a'}, kClassNumber, "A(x)", "A(x)"},
      {"NPX2", {'a'}, kClassNumber, "A", "A"},
      {"NPY", {'a'}, kClassNumber, "A(y)", "A(y)"},
      {"NLC", {'o'}, kClassNumber, "円Oの円周", "circleO's circumference"},
      {"NRC", {'o'}, kClassNumber, "円Oの半径", "circleOradius"},
      {"NSIN", {'t'}, kClassNumber, "SIN(t)", "SIN(t)"},
      {"NCOS", {'t'}, kClassNumber, "COS(t)", "COS(t)"},
      {"NTAN", {'t'}, kClassNumber, "TAN(t)", "TAN(t)"},
      // Kinds without a label rule keep the names they have.
      {"C3", {'a', 'b', 'c'}, kClassCircle, "keep", "keep"},
      {"PC1", {'g', 'h'}, kClassPoint, "keep", "keep"},
      {"XYZ", {'a'}, kClassNumber, "keep", "keep"},
  };
  for (const Case& c : cases) {
    NamedFigure f;
    std::vector<ObjRef> parents;
    for (char letter : c.parents) {
      const ObjRef refs[] = {f.a, f.b, f.c, f.d, f.g, f.h, f.o, f.p, f.t};
      parents.push_back(refs[std::string_view("abcdghopt").find(letter)]);
    }
    const ObjRef out{c.outputClass, f.fig.AllocObject(c.outputClass)};
    const int32_t s = f.fig.AppendStep(c.kind, {}, {out});
    for (size_t k = 0; k < parents.size(); ++k) f.fig.SetStepParent(s, k + 1, parents[k]);
    f.fig.SetObjectName(out, "keep");
    RelabelAll(f.fig, kJapanese);
    EXPECT_EQ(f.fig.GetName(out), c.japanese) << c.kind;
    RelabelAll(f.fig, kEnglish);
    EXPECT_EQ(f.fig.GetName(out), c.english) << c.kind;
  }
}

TEST(Names, LabelsFollowRenamedParentsAndAreCutToTheirFieldWidth) {
  NamedFigure f;
  const ObjRef ab = f.Step("L1", {f.a, f.b}, kClassLine);
  const ObjRef dist = f.Step("ND2P", {f.a, f.b}, kClassNumber);
  RelabelAll(f.fig, kJapanese);
  EXPECT_EQ(f.fig.GetName(ab), "AB");
  f.fig.SetObjectName(f.a, "P");
  f.fig.SetObjectName(ab, "by hand");
  RelabelAll(f.fig, kJapanese);
  EXPECT_EQ(f.fig.GetName(ab), "PB");
  EXPECT_EQ(f.fig.GetName(dist), "PB");

  // Widths count characters, not bytes: 10 for lines, 40 for numbers.
  f.fig.SetObjectName(f.a, "頂点頂点頂点");
  f.fig.SetObjectName(f.b, "点Ｂ点Ｂ点Ｂ");
  RelabelAll(f.fig, kJapanese);
  EXPECT_EQ(f.fig.GetName(ab), "頂点頂点頂点点Ｂ点Ｂ");
  EXPECT_EQ(f.fig.GetName(dist), "頂点頂点頂点点Ｂ点Ｂ点Ｂ");
  const ObjRef area = f.Step("NAR4", {f.a, f.b, f.a, f.b}, kClassNumber);
  f.fig.SetObjectName(f.a, "一二三四五六七八九十");
  f.fig.SetObjectName(f.b, "甲乙丙丁戊己庚辛壬癸");
  RelabelAll(f.fig, kJapanese);
  // "□" and 39 of the 40 characters of the four names.
  EXPECT_EQ(f.fig.GetName(area),
            "□一二三四五六七八九十甲乙丙丁戊己庚辛壬癸一二三四五六七八九十甲乙丙丁戊己庚辛壬");
}

TEST(Names, ExpressionLabelsUseNamesOrValues) {
  NamedFigure f;  // number 1 is t
  const ObjRef n2 = Add(f.fig, kClassNumber, "");
  Add(f.fig, kClassNumber, "CD");
  f.fig.numbers[n2.index].value = 2.5;
  f.fig.SetObjectName(f.t, "AB");
  const ObjRef calc = f.Step("CALC", {}, kClassNumber);
  f.fig.numbers[calc.index].expression = "N1+N3";
  RelabelAll(f.fig, kJapanese);
  EXPECT_EQ(f.fig.GetName(calc), "AB+CD");

  struct Case {
    const char* expression;
    double value2;
    const char* display;
  };
  const Case cases[] = {
      {"N1+N2", 2.5, "AB+ 2.5"}, {"N1*N2", -1, "AB*-1"}, {"N1-N3-", 0, "AB-CD-"},
      {"N1+N9", 0, "AB+N9"},     {"N3   ", 0, "CD"},
  };
  for (const Case& c : cases) {
    f.fig.numbers[n2.index].value = c.value2;
    EXPECT_EQ(ExpressionDisplay(f.fig, c.expression), c.display) << c.expression;
  }
  // Stored as a name, the label loses the leading space of a first value.
  f.fig.numbers[calc.index].expression = "N2/N3";
  f.fig.numbers[n2.index].value = 0.5;
  RelabelAll(f.fig, kJapanese);
  EXPECT_EQ(f.fig.GetName(calc), "0.5/CD");
}

// Only a damaged file has a step read what the same or a later step writes. Such a step keeps
// its name, and the rest derive from it, so relabelling again changes nothing.
TEST(Names, StepsReadingLaterOrOwnOutputsKeepTheirNamesAndRelabellingSettles) {
  NamedFigure f;
  // Steps 1 and 2 read each other's output: SIN of the cosine of the sine of ...
  const ObjRef sine = Add(f.fig, kClassNumber, "s");
  const ObjRef cosine = Add(f.fig, kClassNumber, "c");
  f.fig.AppendStep("NSIN", {cosine}, {sine});
  f.fig.AppendStep("NCOS", {sine}, {cosine});
  // An expression naming a number of a later step, and one naming its own number.
  const ObjRef ahead = Add(f.fig, kClassNumber, "e");
  const ObjRef later = Add(f.fig, kClassNumber, "x");
  const ObjRef self = Add(f.fig, kClassNumber, "me");
  f.fig.numbers[ahead.index].expression = "N" + std::to_string(later.index) + "*N1";
  f.fig.numbers[self.index].expression = "N" + std::to_string(self.index) + "+N1";
  f.fig.AppendStep("CALC", {}, {ahead});
  f.fig.AppendStep("NTAN", {ahead}, {later});
  f.fig.AppendStep("CALC", {}, {self});
  // A line through a point that a later step writes, and a sound line after it.
  f.fig.AppendStep("L1", {f.a, f.b}, {f.g});
  const ObjRef soundLine = Add(f.fig, kClassLine, "k");
  f.fig.AppendStep("L1", {f.c, f.d}, {f.h});
  f.fig.AppendStep("PT3", {f.h}, {f.c});  // writes C after h read it
  f.fig.AppendStep("L1", {f.a, f.c}, {soundLine});

  RelabelAll(f.fig, kJapanese);
  const std::pair<ObjRef, const char*> expected[] = {
      {sine, "s"},  {cosine, "COS(s)"}, {ahead, "e"}, {later, "TAN(e)"},
      {self, "me"}, {f.g, "AB"},        {f.h, "h"},   {soundLine, "AC"},
  };
  for (const auto& [ref, name] : expected)
    EXPECT_EQ(f.fig.GetName(ref), name) << "class " << ref.cls << " index " << ref.index;
  std::vector<std::string> once;
  for (const auto& [ref, name] : expected) once.emplace_back(f.fig.GetName(ref));
  RelabelAll(f.fig, kJapanese);
  RelabelAll(f.fig, kJapanese);
  for (size_t i = 0; i < once.size(); ++i) EXPECT_EQ(f.fig.GetName(expected[i].first), once[i]);
}

TEST(Names, KindDescriptionsInBothLanguages) {
  const char* const cases[][3] = {
      {"L1   ", "２点を結ぶ", "connect 2 points"},
      {"NPX2", "x座標", "x coordinade"},
      {"LH2", "角のｎ等分線(3点と n(等分)の中の m 番目[0->すべて]を入力)",
       "角のｎ等分線(3点と n(等分)の中の m 番目[0->すべて]を入力)"},
      {"NA3M", "", ""},
      {"QQ", "", ""},
  };
  for (const auto& [code, japanese, english] : cases) {
    EXPECT_EQ(KindDescription(code, kJapanese), japanese) << code;
    EXPECT_EQ(KindDescription(code, kEnglish), english) << code;
  }
  Translator manual{Language::kManual, {{"２点を結ぶ", "joindre"}}};
  EXPECT_EQ(KindDescription("L1", manual), "joindre");
}

TEST(Names, StepDescriptionsListParentsAndOutputs) {
  Figure fig;
  const ObjRef a = Add(fig, kClassPoint, "A");
  const ObjRef b = Add(fig, kClassPoint, "B");
  fig.AllocObject(kClassLine);
  fig.AllocObject(kClassLine);
  const ObjRef line = Add(fig, kClassLine, "AB");
  const ObjRef m = Add(fig, kClassNumber, "m");
  const ObjRef n = Add(fig, kClassNumber, "-n");
  const ObjRef p = Add(fig, kClassPoint, "P");
  fig.AppendStep("PNEW", {}, {a});
  const int32_t join = fig.AppendStep("L1", {a, b}, {line});
  const int32_t divide = fig.AppendStep("PN", {a, b, m, n}, {p});
  const int32_t marker = fig.AppendStep("L3+", {}, {});

  EXPECT_EQ(StepDescription(fig, join, kJapanese),
            "２点を結ぶ:(点A( 1) , 点B( 2) , )→(線AB( 3) , )");
  EXPECT_EQ(StepDescription(fig, join, kEnglish),
            "connect 2 points:(点A( 1) , 点B( 2) , )→(lineAB( 3) , )");
  EXPECT_EQ(StepDescription(fig, 1, kJapanese), "新しい点を取る:()→(点A( 1) , )");
  EXPECT_EQ(StepDescription(fig, divide, kJapanese),
            "内分・外分:(点A( 1) , 点B( 2) , 変数m( 1) , 変数-n( 2) , )→(点P( 3) , )");
  EXPECT_EQ(StepDescription(fig, marker, kJapanese), "垂線とその足(マクロ)");
  // A pending parent (class 100) shows its index alone.
  fig.SetStepParent(marker, 1, ObjRef{kPendingNumberClass, 4});
  EXPECT_EQ(StepDescription(fig, marker, kJapanese), "垂線とその足(マクロ):( 4 , )→()");
  EXPECT_EQ(StepDescription(fig, 99, kJapanese), "");
}

TEST(NumberFormat, ValuesAndIntegersAsDecimalText) {
  const std::pair<double, const char*> cases[] = {
      {2.5, " 2.5"},
      {-1, "-1"},
      {0.5, " 0.5"},
      {-0.0, " 0"},
      {100, " 100"},
      {-2.0 / 3, "-0.666666666666667"},
      {0.0001, " 0.0001"},
      {0.00001, " 1E-05"},
      {123456789012345, " 123456789012345"},
      {1234567890123456, " 1.23456789012346E+15"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(BasicStr(value), text) << value;
  EXPECT_EQ(BasicStrInt(3), " 3");
  EXPECT_EQ(BasicStrInt(-12), "-12");
}

}  // namespace
}  // namespace kv
