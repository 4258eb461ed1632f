#include "construct/picker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "figure_builder.h"

namespace kv {
namespace {

constexpr double kSu = kDefaultScaleUnit;  // 0.05 world units per pixel

using testing::Ci;
using testing::Ln;
using testing::Pt;

// Records set directly: the pickers only read positions, validity, colours and flags.
int32_t AddPoint(Figure& fig, double x, double y, int32_t free = kPointConstructed,
                 const char* name = "") {
  return testing::FixedPoint(fig, x, y, free, name);
}
View DefaultView() {
  View view;
  view.SetScreen(800, 600);
  return view;
}

TEST(PickDistance, LineByDisplayType) {
  struct Case {
    int type;
    double x1, y1, x2, y2, mx, my, expected;
  };
  const Case cases[] = {
      // Segment (0,0)-(1,0): beyond the end the end counts, not the 0.01 to the carrier.
      {1, 0, 0, 1, 0, 2, 0.01, std::hypot(1.0, 0.01)},
      {1, 0, 0, 1, 0, 0.5, 0.3, 0.3},
      {1, 0, 0, 1, 0, -1, -1, std::sqrt(2.0)},
      {4, 0, 0, 1, 0, 2, 0.01, std::hypot(1.0, 0.01)},
      {6, 0, 0, 1, 0, -3, 4, 5},
      // A 3-4-5 segment: the foot exactly at an end is still between the ends.
      {5, 0, 0, 3, 4, 4, -3, 5},
      {1, 0, 0, 3, 4, 6, 8, 5},
      // A straight line has no ends.
      {0, 0, 0, 1, 0, 2, 0.01, 0.01},
      {0, 0, 0, 1, 0, -7, 2, 2},
      // Half-lines from the first point, forwards.
      {2, 0, 0, 1, 0, 3, 4, 4},
      {2, 0, 0, 1, 0, -3, 4, 5},
      {7, 0, 0, 1, 0, -3, -4, 5},
      // Half-line from the second point, backwards.
      {3, 0, 0, 1, 0, -3, 4, 4},
      {3, 0, 0, 1, 0, 4, 4, 5},
  };
  for (const Case& c : cases) {
    LineRec g;
    g.x1 = c.x1, g.y1 = c.y1, g.x2 = c.x2, g.y2 = c.y2, g.lineType = c.type;
    EXPECT_NEAR(LinePickDistance(g, c.mx, c.my), c.expected, 1e-12)
        << "type " << c.type << " mouse " << c.mx << "," << c.my;
  }
}

TEST(PickDistance, CircleMeasuresToTheCircumference) {
  CircleRec c;
  c.cx = 1, c.cy = 1, c.radius = 2;
  EXPECT_DOUBLE_EQ(CirclePickDistance(c, 1, 1), 2);  // centre
  EXPECT_DOUBLE_EQ(CirclePickDistance(c, 4, 5), 3);  // outside: 5 - 2
  EXPECT_DOUBLE_EQ(CirclePickDistance(c, 1, 2), 1);  // inside
}

// Pixel tolerances and weights of the full-menu picker, one object kind at a time.
TEST(HoverPick, ToleranceByObjectKind) {
  struct Case {
    const char* what;
    double pixels;  // distance from the mouse
    bool found;
  };
  const Case points[] = {{"free", 15, true},   {"free", 19.9, true},    {"free", 20.1, false},
                         {"locked", 14, true}, {"locked", 14.5, false}, {"plain", 9.9, true},
                         {"plain", 15, false}};
  for (const Case& c : points) {
    Figure fig;
    const int32_t free = std::string_view(c.what) == "free"     ? kTrue
                         : std::string_view(c.what) == "locked" ? 1
                                                                : 0;
    AddPoint(fig, 0, c.pixels * kSu, free);
    const HoverResult r = HoverPick(fig, DefaultView(), 0, 0);
    EXPECT_EQ(!r.IsNothing(), c.found) << c.what << " point at " << c.pixels << " px";
  }
  const Case curves[] = {
      {"line", 3, true}, {"line", 3.4, false}, {"circle", 3.2, true}, {"circle", 3.4, false}};
  for (const Case& c : curves) {
    Figure fig;
    if (std::string_view(c.what) == "line")
      testing::FixedLine(fig, -1, c.pixels * kSu, 1, c.pixels * kSu);
    else
      testing::FixedCircle(fig, 0, 2 + c.pixels * kSu, 2);
    const HoverResult r = HoverPick(fig, DefaultView(), 0, 0);
    EXPECT_EQ(!r.IsNothing(), c.found) << c.what << " at " << c.pixels << " px";
  }
}

// A point near a line wins when its distance is below the larger of 3 x the line's distance
// and 7 pixels.
TEST(HoverPick, PointAgainstNearbyLine) {
  struct Case {
    double linePixels, pointPixels;
    bool pointWins;
  };
  const Case cases[] = {{3, 8, true}, {3, 9.5, false}, {1, 5, true}, {1, 7.5, false}};
  for (const Case& c : cases) {
    Figure fig;
    testing::FixedLine(fig, -1, -c.linePixels * kSu, 1, -c.linePixels * kSu);
    AddPoint(fig, 0, c.pointPixels * kSu);
    const HoverResult r = HoverPick(fig, DefaultView(), 0, 0);
    EXPECT_EQ(r.object, c.pointWins ? Pt(1) : Ln(1))
        << "line " << c.linePixels << " px, point " << c.pointPixels << " px";
  }
}

TEST(HoverPick, EqualDistancesKeepTheFirstObjectMet) {
  Figure fig;
  testing::FixedCircle(fig, 0, -1.125, 1);  // circumference 0.125 below the mouse
  testing::FixedLine(fig, -1, 0.125, 1, 0.125);
  EXPECT_EQ(HoverPick(fig, DefaultView(), 0, 0).object, Ln(1));  // lines before circles
  Figure two;
  AddPoint(two, 0.2, 0);
  AddPoint(two, -0.2, 0);
  EXPECT_EQ(HoverPick(two, DefaultView(), 0, 0).object, Pt(1));
}

TEST(HoverPick, EasyMenuFindsPointsOnly) {
  Figure fig;
  testing::FixedLine(fig, -1, 0, 1, 0);  // under the mouse
  AddPoint(fig, 0, 9 * kSu);             // 9 px: beyond the 7 px a near line allows
  AddPoint(fig, 30 * kSu, 0, kTrue);     // 30 px away: too far even when free
  const View view = DefaultView();
  EXPECT_EQ(HoverPick(fig, view, 0, 0).object, Ln(1));
  EXPECT_EQ(HoverPickPoints(fig, view, 0, 0).object, Pt(1));
  EXPECT_EQ(HoverPickFor(true, fig, view, 0, 0).object, Pt(1));
  fig.points[1].valid = kFalse;
  EXPECT_TRUE(HoverPickPoints(fig, view, 0, 0).IsNothing());
}

TEST(HoverPick, UndefinedAndHiddenObjectsAreNeverFound) {
  Figure fig;
  AddPoint(fig, 0, 0);                            // right under the mouse, hidden
  testing::FixedLine(fig, -1, 0, 1, 0);           // through the mouse, undefined
  testing::FixedLine(fig, -1, 0.01, 1, 0.01, 9);  // a display type that draws nothing
  testing::FixedCircle(fig, 0, 1, 1);             // through the mouse, hidden
  AddPoint(fig, 0, 6 * kSu);                      // visible, 6 px away
  fig.points[1].colour = 0;
  fig.lines[1].valid = kFalse;
  fig.circles[1].colour = 0;
  const View view = DefaultView();
  EXPECT_EQ(HoverPick(fig, view, 0, 0).object, Pt(2));
  EXPECT_EQ(HoverPickPoints(fig, view, 0, 0).object, Pt(2));
  fig.points[2].valid = kFalse;
  EXPECT_TRUE(HoverPick(fig, view, 0, 0).IsNothing());
}

TEST(HoverPick, DraggableObjectsGetTheSizeAllPointer) {
  Figure fig;
  AddPoint(fig, 0, 0, kTrue);
  AddPoint(fig, 5, 0, 1);
  testing::FixedLine(fig, -1, 5, 1, 5);
  testing::FixedLine(fig, -1, -5, 1, -5);
  testing::FixedCircle(fig, 10, 0, 1);
  fig.lines[1].byTwoPoints = kTrue;  // joins the free point 1 and the free point 3
  fig.lines[1].endA = 1, fig.lines[1].endB = 3;
  fig.lines[2].byTwoPoints = kTrue;  // joins the locked point 2 and the free point 3
  fig.lines[2].endA = 2, fig.lines[2].endB = 3;
  AddPoint(fig, 0, 10, kTrue);
  AddPoint(fig, 0, 20, kTrue);  // hidden: neither found nor shown as draggable
  fig.points[4].colour = 0;
  const View view = DefaultView();
  struct Case {
    double x, y;
    ObjRef object;
    bool draggable;
  };
  const Case cases[] = {{0, 0, Pt(1), true},
                        {5, 0, Pt(2), false},
                        {0, 5, Ln(1), true},
                        {0, -5, Ln(2), false},
                        {11, 0, Ci(1), false}};
  for (const Case& c : cases) {
    const HoverResult r = HoverPick(fig, view, c.x, c.y);
    EXPECT_EQ(r.object, c.object);
    EXPECT_EQ(r.draggable, c.draggable);
    EXPECT_EQ(r.pointer, c.draggable ? PointerShape::kSizeAll : PointerShape::kArrow);
  }
  std::vector<ObjRef> marks{Ln(1)};
  ListDraggablePoints(fig, marks);
  EXPECT_EQ(marks, (std::vector<ObjRef>{Pt(1), Pt(3)}));
}

TEST(HoverIndication, MarksOnlyChangesOfTheDraggableObject) {
  HoverResult a{Pt(1), true, PointerShape::kSizeAll}, b{Pt(2), true, PointerShape::kSizeAll};
  HoverResult plain{Pt(3), false, PointerShape::kArrow}, nothing{};
  HoverIndication ind;
  auto change = ind.Update(a);
  EXPECT_EQ(change.unmark, ObjRef{});
  EXPECT_EQ(change.mark, Pt(1));
  EXPECT_FALSE(ind.Update(a).Any());  // still over A: no repaint
  change = ind.Update(b);
  EXPECT_EQ(change.unmark, Pt(1));
  EXPECT_EQ(change.mark, Pt(2));
  change = ind.Update(plain);
  EXPECT_EQ(change.unmark, Pt(2));
  EXPECT_EQ(change.mark, ObjRef{});
  EXPECT_FALSE(ind.Update(nothing).Any());
  EXPECT_EQ(ind.Indicated(), ObjRef{});
}

TEST(PickStatus, ClassWordThenTrimmedName) {
  Figure fig;
  AddPoint(fig, 0, 0, 0, "A  ");
  testing::FixedLine(fig, 0, 0, 1, 0);
  fig.lines[1].name = "g";
  EXPECT_EQ(PickStatusText(fig, Pt(1), Translator{}), "点A");
  EXPECT_EQ(PickStatusText(fig, Pt(1), Translator{Language::kEnglish}), "pointA");
  EXPECT_EQ(PickStatusText(fig, Ln(1), Translator{}), "直線g");
  EXPECT_EQ(PickStatusText(fig, {}, Translator{}), "");
}

// Parent 2 of a pending L1 step whose parent 1 is A: A is not offered.
TEST(SelectionPicker, ParentsAlreadyChosenAreExcluded) {
  Figure fig;
  AddPoint(fig, 0, 0, kTrue, "A");
  AddPoint(fig, 5, 0, kTrue, "B");
  AddPoint(fig, 0, 5, kTrue, "C");
  const int32_t step = fig.AppendStep("L1", {Pt(1), {kClassPoint, 0}}, {Ln(0)});
  SelectionPicker picker;
  ASSERT_TRUE(picker.Start(fig, ParentRules(fig, step, 2, -1)));
  EXPECT_EQ(picker.Current(), Pt(2));
  auto s = picker.Click(fig, 0.5, 4);  // near C
  EXPECT_EQ(s.action, SelectionAction::kMoved);
  EXPECT_EQ(s.previous, Pt(2));
  EXPECT_EQ(s.current, Pt(3));
  s = picker.Click(fig, 1, 0);  // nearest to A, which may not be chosen: B is the nearest left
  EXPECT_EQ(s.action, SelectionAction::kMoved);
  EXPECT_EQ(s.current, Pt(2));
  s = picker.Click(fig, 100, -100);  // far away: still the nearest, and it is current
  EXPECT_EQ(s.action, SelectionAction::kConfirm);
  EXPECT_EQ(s.current, Pt(2));
}

// L4 wants a segment: straight lines and half-lines are skipped by clicks and keys alike.
TEST(SelectionPicker, RequiredSegmentsAndWrappingKeys) {
  Figure fig;
  testing::FixedLine(fig, -5, 0, 5, 0, 0);  // 1 straight
  testing::FixedLine(fig, 0, 1, 1, 1, 1);   // 2 segment
  testing::FixedLine(fig, 0, 2, 1, 2, 2);   // 3 half-line
  testing::FixedLine(fig, 0, 3, 1, 3, 1);   // 4 segment
  testing::FixedLine(fig, 0, 4, 1, 4, 0);   // 5 straight
  const int32_t step = fig.AppendStep("L4", {{kClassLine, 0}}, {Ln(0)});
  SelectionPicker picker;
  ASSERT_TRUE(picker.Start(fig, ParentRules(fig, step, 1, 1)));
  EXPECT_EQ(picker.Current(), Ln(2));
  EXPECT_EQ(picker.Previous(fig).current, Ln(4));  // Up on the first: the last segment
  EXPECT_EQ(picker.Next(fig).current, Ln(2));      // Down on the last: round to the first
  EXPECT_EQ(picker.Next(fig).current, Ln(4));
  auto s = picker.Click(fig, 0.5, 0);  // on the straight line: segment 2 is the nearest
  EXPECT_EQ(s.action, SelectionAction::kMoved);
  EXPECT_EQ(s.current, Ln(2));
  s = picker.Click(fig, 0.5, 2);  // on the half-line, as near to 2 as to 4: 2 stays, confirmed
  EXPECT_EQ(s.action, SelectionAction::kConfirm);
  EXPECT_EQ(s.current, Ln(2));
}

TEST(SelectionPicker, UpOnTheFirstSkipsExcludedAtTheEnd) {
  Figure fig;
  for (int i = 0; i < 4; ++i) AddPoint(fig, i, 0);
  const std::vector<int32_t> chosen{4};
  SelectionPicker picker;
  ASSERT_TRUE(picker.Start(fig, VertexRules(chosen)));
  ASSERT_EQ(picker.Cursor(), 1);
  const auto s = picker.Previous(fig);
  EXPECT_EQ(s.action, SelectionAction::kMoved);
  EXPECT_EQ(s.previous, Pt(1));
  EXPECT_EQ(s.current, Pt(3));
}

// A polygon's chosen vertices cannot be chosen again, neither by click nor by key.
TEST(SelectionPicker, PolygonVerticesStayDistinct) {
  Figure fig;
  AddPoint(fig, 0, 0);
  AddPoint(fig, 3, 0);
  AddPoint(fig, 0, 3);
  const std::vector<int32_t> chosen{1, 2};
  SelectionPicker picker;
  ASSERT_TRUE(picker.Start(fig, VertexRules(chosen)));
  EXPECT_EQ(picker.Current(), Pt(3));
  EXPECT_EQ(picker.Click(fig, 0, 0).action, SelectionAction::kConfirm);  // on vertex 1
  EXPECT_EQ(picker.Next(fig).current, Pt(3));
}

TEST(SelectionPicker, UndefinedAndHiddenCandidatesAreSkipped) {
  Figure fig;
  AddPoint(fig, 0, 0);  // hidden
  AddPoint(fig, 1, 0);  // undefined
  AddPoint(fig, 9, 0);
  AddPoint(fig, 8, 0);
  fig.points[1].colour = 0;
  fig.points[2].valid = kFalse;
  SelectionPicker picker;
  ASSERT_TRUE(picker.Start(fig, ParentRules(fig, fig.AppendStep("NPX", {{1, 0}}, {}), 1, -1)));
  EXPECT_EQ(picker.Current(), Pt(3));
  EXPECT_EQ(picker.Click(fig, 0, 0).current, Pt(4));
  EXPECT_EQ(picker.Next(fig).current, Pt(3));
  // The edit selection offers the hidden point, so that it can be shown again.
  ASSERT_TRUE(picker.Start(fig, EditRules(kClassPoint)));
  EXPECT_EQ(picker.Current(), Pt(1));
  EXPECT_EQ(picker.Next(fig).current, Pt(3));  // the undefined one is still skipped
}

TEST(SelectionPicker, MultiPointSelectionRunsOutOfPoints) {
  Figure fig;
  AddPoint(fig, 0, 0, kTrue);
  AddPoint(fig, 1, 0);     // constructed: never offered
  AddPoint(fig, 2, 0, 1);  // locked: never offered
  AddPoint(fig, 3, 0, kTrue);
  SelectionPicker picker;
  ASSERT_TRUE(picker.Start(fig, MultiPointRules({})));
  EXPECT_EQ(picker.CandidateCount(), 2);
  EXPECT_EQ(picker.Click(fig, 1.2, 0).current, Pt(1));  // the constructed point is nearer
  auto s = picker.ExcludeCurrentAndAdvance(fig);
  EXPECT_EQ(s.action, SelectionAction::kMoved);
  EXPECT_EQ(s.current, Pt(4));
  s = picker.ExcludeCurrentAndAdvance(fig);
  EXPECT_EQ(s.action, SelectionAction::kNone);
  EXPECT_EQ(picker.Current(), ObjRef{});
  EXPECT_EQ(picker.Confirm(fig).action, SelectionAction::kNone);
  EXPECT_EQ(picker.Click(fig, 0, 0).action, SelectionAction::kNone);
}

TEST(SelectionPicker, EnterConfirmsAndEscCancels) {
  Figure fig;
  testing::FixedCircle(fig, 0, 0, 1);
  testing::FixedCircle(fig, 5, 0, 1);
  SelectionPicker picker;
  ASSERT_TRUE(picker.Start(fig, EditRules(kClassCircle)));
  picker.Next(fig);
  auto s = picker.Confirm(fig);
  EXPECT_EQ(s.action, SelectionAction::kConfirm);
  EXPECT_EQ(s.current, Ci(2));
  s = picker.Cancel();
  EXPECT_EQ(s.action, SelectionAction::kCancel);
  EXPECT_EQ(s.previous, Ci(2));
  EXPECT_EQ(picker.Current(), ObjRef{});
  // A class without objects lists nothing: the caller leaves the selection at once.
  EXPECT_FALSE(picker.Start(fig, EditRules(kClassLine)));
}

}  // namespace
}  // namespace kv
