#include "construct/attribute_dialogs.h"

#include <gtest/gtest.h>

#include "figure_builder.h"
#include "model/names.h"
#include "session/input_modes.h"

namespace kv {
namespace {

using testing::Ci;
using testing::FreePoint;
using testing::Ln;
using testing::Nm;
using testing::Pt;

// Two free points A, B, the line AB through them, a circle about A and a measured distance AB.
struct AttributeFigure {
  Figure fig;
  Translator tr;
  int32_t a, b, line, circle, dist, var;
  AttributeFigure() {
    a = FreePoint(fig, 0, 0);
    b = FreePoint(fig, 3, 4);
    line = fig.AllocObject(kClassLine);
    fig.AppendStep("L1", {Pt(a), Pt(b)}, {Ln(line)});
    circle = fig.AllocObject(kClassCircle);
    fig.AppendStep("C2", {Pt(a), Pt(b)}, {Ci(circle)});
    dist = fig.AllocObject(kClassNumber);
    fig.AppendStep("ND2P", {Pt(a), Pt(b)}, {Nm(dist)});
    var = testing::Variable(fig, 2.5);
    fig.SetObjectName(Nm(var), "k");
    RecomputeAll(fig);
    RelabelAll(fig, tr);
  }
};

TEST(PointAttributeDialog, FillsFromTheRecordAndWritesBackOnConfirm) {
  AttributeFigure f;
  PointRec& p = f.fig.points[f.a];
  p.colour = 4;
  p.locusColour = 1;
  p.marker = 2;
  ShapeAttributeDialog d(f.fig, Pt(f.a), f.tr);
  EXPECT_EQ(d.FormName(), "PtAttribute");
  EXPECT_EQ(d.Text("Caption"), "点の属性の設定");
  EXPECT_EQ(d.Text("TextName"), "A");
  EXPECT_EQ(d.SelectedLine("ComboClr"), 5);  // "青"
  EXPECT_EQ(d.Lines("ComboClr")[4], "青");
  EXPECT_EQ(d.SelectedLine("ComboLocus"), 2);
  EXPECT_EQ(d.SelectedLine("ComboKind"), 3);  // "○"
  EXPECT_EQ(d.Lines("ComboKind").size(), 6u);
  EXPECT_TRUE(d.Visible("ComboIndependent"));
  EXPECT_EQ(d.SelectedLine("ComboIndependent"), 1);  // "可能"

  EXPECT_TRUE(d.Type("TextName", "  P  "));
  EXPECT_TRUE(d.SelectLine("ComboClr", 2));
  EXPECT_TRUE(d.SelectLine("ComboLocus", 7));
  EXPECT_TRUE(d.SelectLine("ComboKind", 6));
  EXPECT_TRUE(d.SelectLine("ComboIndependent", 2));  // "不可能"
  EXPECT_FALSE(d.SelectLine("ComboKind", 7));        // no seventh marker
  EXPECT_TRUE(d.Click("CommandOK"));
  EXPECT_TRUE(d.Closed());
  EXPECT_EQ(d.Outcome(), AttributeOutcome::kApplied);

  EXPECT_EQ(p.name, "P");
  EXPECT_EQ(p.colour, 1);
  EXPECT_EQ(p.locusColour, 6);
  EXPECT_EQ(p.marker, 5);
  EXPECT_EQ(p.free, 1);
  // The labels built on the point follow the new name.
  EXPECT_EQ(f.fig.lines[f.line].name, "PB");
  EXPECT_EQ(f.fig.numbers[f.dist].name, "PB");

  // Opened again, the locked point shows "不可能"; making it draggable again writes -1.
  ShapeAttributeDialog again(f.fig, Pt(f.a), f.tr);
  EXPECT_EQ(again.SelectedLine("ComboIndependent"), 2);
  again.SelectLine("ComboIndependent", 1);
  again.Key(kKeyEnter, 0);
  EXPECT_EQ(p.free, kTrue);
}

TEST(PointAttributeDialog, ConstructedPointHasNoDragPermission) {
  AttributeFigure f;
  const int32_t m = testing::Construct(f.fig, "PT3", {Pt(f.a), Pt(f.b)});
  ShapeAttributeDialog d(f.fig, Pt(m), f.tr);
  EXPECT_FALSE(d.Visible("ComboIndependent"));
  EXPECT_TRUE(d.Lines("ComboIndependent").empty());
  EXPECT_FALSE(d.SelectLine("ComboIndependent", 2));
  EXPECT_EQ(d.Text("LabelIndependent"), "");
  d.Click("CommandOK");
  EXPECT_EQ(f.fig.points[m].free, 0);
}

TEST(AttributeDialogs, CancelWritesNothing) {
  AttributeFigure f;
  const PointRec pointBefore = f.fig.points[f.a];
  ShapeAttributeDialog d(f.fig, Pt(f.a), f.tr);
  d.Type("TextName", "Z");
  d.SelectLine("ComboClr", 1);
  d.SelectLine("ComboIndependent", 2);
  d.Key(kKeyEscape, 0);
  EXPECT_EQ(d.Outcome(), AttributeOutcome::kCancelled);
  EXPECT_EQ(f.fig.points[f.a].name, pointBefore.name);
  EXPECT_EQ(f.fig.points[f.a].colour, pointBefore.colour);
  EXPECT_EQ(f.fig.points[f.a].free, kTrue);
  EXPECT_FALSE(d.Click("CommandOK"));  // a closed dialog takes nothing more

  NumberAttributeDialog n(f.fig, f.var, f.tr);
  n.Type("TextVal", "99");
  n.Click("OptionNotVisible");
  n.Click("CommandCancel");
  EXPECT_DOUBLE_EQ(f.fig.numbers[f.var].value, 2.5);
  EXPECT_EQ(f.fig.numbers[f.var].hidden, 0);
}

TEST(LineAttributeDialog, ShowsEveryDisplayTypeAndKeepsValuesTheListsLack) {
  AttributeFigure f;
  LineRec& g = f.fig.lines[f.line];
  g.lineType = 6;  // "線分←→"
  g.colour = 3;
  ShapeAttributeDialog d(f.fig, Ln(f.line), f.tr);
  EXPECT_EQ(d.FormName(), "LineAttribute");
  EXPECT_EQ(d.Text("TextName"), "AB");
  EXPECT_EQ(d.Lines("ComboClr")[3], "点線(太線→黄)");
  EXPECT_EQ(d.SelectedLine("ComboKind"), 7);
  EXPECT_EQ(d.Lines("ComboKind")[6], "線分←→");
  EXPECT_FALSE(d.Visible("ComboIndependent"));
  d.SelectLine("ComboKind", 2);  // "線分"
  d.Click("CommandOK");
  EXPECT_EQ(g.lineType, 1);
  EXPECT_EQ(g.colour, 3);

  // A colour no list line stands for (from a damaged file) is shown unselected and kept.
  g.colour = 12;
  ShapeAttributeDialog keep(f.fig, Ln(f.line), f.tr);
  EXPECT_EQ(keep.SelectedLine("ComboClr"), 0);
  keep.Click("CommandOK");
  EXPECT_EQ(g.colour, 12);
}

TEST(CircleAttributeDialog, HasNoKindListAndCutsLongNames) {
  AttributeFigure f;
  ShapeAttributeDialog d(f.fig, Ci(f.circle), f.tr);
  EXPECT_EQ(d.FormName(), "CircleAttribute");
  EXPECT_EQ(d.Text("Caption"), "円の属性の設定");
  EXPECT_FALSE(d.Visible("ComboKind"));
  EXPECT_FALSE(d.SelectLine("ComboKind", 1));
  d.SelectLine("ComboLocus", 3);
  d.Type("TextName", " 外接円ABCDEFGHIJK");
  d.Click("CommandOK");
  EXPECT_EQ(f.fig.circles[f.circle].locusColour, 2);
  EXPECT_EQ(f.fig.circles[f.circle].name, "外接円ABCDEFG");  // ten characters
}

TEST(NumberAttributeDialog, VariableValueAndMeasurementVisibility) {
  AttributeFigure f;
  NumberAttributeDialog v(f.fig, f.var, f.tr);
  EXPECT_EQ(v.Text("Caption"), "変数の属性の設定");
  EXPECT_EQ(v.Text("TextName"), "k");
  EXPECT_EQ(v.Text("TextVal"), "2.5");
  EXPECT_EQ(v.Text("TextAttr"), "変数");
  EXPECT_EQ(v.SelectedLine("OptionVisible"), 1);
  v.Type("TextVal", "-1.25e1");
  v.Type("TextName", "  speed ");
  v.Click("CommandOK");
  EXPECT_DOUBLE_EQ(f.fig.numbers[f.var].value, -12.5);
  EXPECT_EQ(f.fig.numbers[f.var].name, "speed");

  // A measurement's value cannot be typed over; its visibility can be switched.
  NumberAttributeDialog m(f.fig, f.dist, f.tr);
  EXPECT_EQ(m.Text("TextVal"), "5");
  EXPECT_EQ(m.Text("TextAttr"), "距離(2点)");
  EXPECT_FALSE(m.Type("TextVal", "7"));
  m.Click("OptionNotVisible");
  EXPECT_EQ(m.SelectedLine("OptionVisible"), 0);
  m.Click("CommandOK");
  EXPECT_EQ(f.fig.numbers[f.dist].hidden, 7);
  EXPECT_DOUBLE_EQ(f.fig.numbers[f.dist].value, 5);

  NumberAttributeDialog back(f.fig, f.dist, f.tr);
  EXPECT_EQ(back.SelectedLine("OptionNotVisible"), 1);
}

TEST(AttributeDialogs, EnglishCaptionsAndLists) {
  AttributeFigure f;
  Translator en(Language::kEnglish);
  ShapeAttributeDialog d(f.fig, Pt(f.a), en);
  EXPECT_EQ(d.Lines("ComboClr")[1], "red");
  EXPECT_EQ(d.Text("CommandCancel"), "cancel");
}

TEST(SetAllNumbersHidden, HidesAndShowsEveryNumber) {
  AttributeFigure f;
  SetAllNumbersHidden(f.fig, true);
  EXPECT_EQ(f.fig.numbers[f.dist].hidden, 7);
  EXPECT_EQ(f.fig.numbers[f.var].hidden, 7);
  SetAllNumbersHidden(f.fig, false);
  EXPECT_EQ(f.fig.numbers[f.dist].hidden, 0);
  EXPECT_EQ(f.fig.numbers[f.var].hidden, 0);
}

TEST(BindingDialog, ChoicesByClassAndTargets) {
  AttributeFigure f;
  const int32_t c = FreePoint(f.fig, 10, 0);
  struct Case {
    int line;
    BindingChoice expected;
  } cases[] = {
      {2, BindingChoice::kPickTarget},  // other points exist
      {3, BindingChoice::kPickTarget},  // line AB
      {4, BindingChoice::kPickTarget},  // the circle about A
  };
  for (const Case& k : cases) {
    BindingDialog d(f.fig, c, f.tr);
    EXPECT_EQ(d.Lines("ListKind").size(), 4u);
    EXPECT_TRUE(d.SelectLine("ListKind", k.line));
    d.Click("cmdOK");
    EXPECT_EQ(d.Choice(), k.expected) << k.line;
    EXPECT_EQ(d.TargetClass(), k.line - 1);
  }

  // Point A: the line and the circle are built on A, so A has no line or circle to go on.
  for (int line : {3, 4}) {
    BindingDialog d(f.fig, f.a, f.tr);
    d.SelectLine("ListKind", line);
    d.Key(kKeyEnter, 0);
    EXPECT_EQ(d.Choice(), BindingChoice::kNoTarget) << line;
  }

  // "フリーにする" clears a binding at once.
  BindPoint(f.fig, c, Ln(f.line));
  BindingDialog freeing(f.fig, c, f.tr);
  EXPECT_EQ(freeing.SelectedLine("ListKind"), 1);
  freeing.Click("cmdOK");
  EXPECT_EQ(freeing.Choice(), BindingChoice::kFreed);
  EXPECT_EQ(f.fig.points[c].boundClass, 0);
  EXPECT_EQ(f.fig.points[c].boundIndex, 0);
}

TEST(BindingExclusions, EverythingThatMovesWithThePoint) {
  AttributeFigure f;
  const int32_t c = FreePoint(f.fig, 10, 0);
  const int32_t d = FreePoint(f.fig, 0, 10);
  const int32_t m = testing::Construct(f.fig, "PT3", {Pt(f.b), Pt(c)});
  BindPoint(f.fig, d, Pt(m));  // D follows M, which follows B
  EXPECT_EQ(BindingExclusions(f.fig, f.b, kClassPoint),
            (std::vector<ObjRef>{Pt(f.b), Pt(d), Pt(m)}));
  EXPECT_EQ(BindingExclusions(f.fig, f.b, kClassLine), (std::vector<ObjRef>{Ln(f.line)}));
  EXPECT_EQ(BindingExclusions(f.fig, c, kClassCircle), (std::vector<ObjRef>{}));
}

TEST(BindPoint, PointBoundToCircleStaysOnItAfterRecompute) {
  AttributeFigure f;  // circle about A(0,0) through B(3,4): radius 5
  const int32_t c = FreePoint(f.fig, 10, 10);
  BindPoint(f.fig, c, Ci(f.circle));
  RecomputeAll(f.fig);
  // Parameter 0 is the arc length from the positive x direction: the point (5, 0).
  EXPECT_NEAR(f.fig.points[c].x, 5, 1e-9);
  EXPECT_NEAR(f.fig.points[c].y, 0, 1e-9);
  f.fig.points[f.b].x = 0;
  f.fig.points[f.b].y = 2;  // radius 2
  RecomputeAll(f.fig);
  EXPECT_NEAR(f.fig.points[c].x, 2, 1e-9);
  EXPECT_NEAR(f.fig.points[c].y, 0, 1e-9);
}

}  // namespace
}  // namespace kv
