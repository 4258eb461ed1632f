// Deformation through the session, as a user drives it: mouse drags, keyboard steps, the
// deformation commands and their step sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>

#include "construct/attribute_dialogs.h"
#include "draw/recording_canvas.h"
#include "fake_ui_port.h"
#include "figure_builder.h"
#include "session/session.h"
#include "session_start.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using M = MenuCommand;
using namespace kv::testing;

class DeformSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = kv::testing::FreshTestFolder("kv_deform_");
    kv::testing::StartIn(session, folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  Figure& fig() { return session.figure; }
  // The line through two points, as the construction commands make it.
  int32_t Join(int32_t a, int32_t b, int32_t lineType = 0) {
    const int32_t g = fig().AllocObject(kClassLine);
    fig().AppendStep("L1", {Pt(a), Pt(b)}, {Ln(g)});
    fig().lines[g].lineType = lineType;
    return g;
  }
  void Drag(int shift, double x, double y) { session.Move(kLeftButton, shift, x, y); }
  Vec2 At(int32_t p) { return PosOf(fig().points[p]); }

  fs::path folder;
  FakeUiPort ui;
  Session session{ui};
};

TEST_F(DeformSessionTest, MouseDragQuantisesAndShiftDragSnapsToTheLattice) {
  const int32_t a = FreePoint(fig(), 0, 0);
  session.RedrawAll();
  session.Press(kLeftButton, 0, 0, 0);
  ASSERT_EQ(session.CurrentInputMode(), kModeDrag);
  // One pixel right and one down: the positive coordinate goes up a pixel, the other stays.
  Drag(0, 0.05, -0.05);
  EXPECT_NEAR(At(a).x, 0.10, 1e-12);
  EXPECT_NEAR(At(a).y, -0.05, 1e-12);

  session.ChooseShiftDragKind(3);  // lattice points
  Drag(kShiftMask, 2.4, -1.4);
  EXPECT_EQ(At(a).x, 2);
  EXPECT_EQ(At(a).y, -1);
  // The shift lock snaps without Shift held.
  session.StatusPanelClick(8);
  ASSERT_TRUE(session.ShiftLock());
  Drag(0, 3.3, 0.2);
  EXPECT_EQ(At(a).x, 3);
  EXPECT_EQ(At(a).y, 0);
  session.Release(kLeftButton, 0, 3.3, 0.2);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(DeformSessionTest, ShiftDragNeverSnapsOntoALineThroughTheDraggedPoint) {
  const int32_t a = FreePoint(fig(), 0, 0);
  const int32_t b = FreePoint(fig(), 4, 0);
  Join(a, b);
  const int32_t c = FreePoint(fig(), -5, 1);
  const int32_t d = FreePoint(fig(), 5, 1);
  Join(c, d);
  session.RedrawAll();
  session.ChooseShiftDragKind(2);  // nearest line
  session.Press(kLeftButton, 0, 0, 0);
  ASSERT_EQ(session.Drag().dragPoint, a);
  // AB is 0.15 away, CD 0.85: AB moves with A, so A goes onto CD.
  Drag(kShiftMask, 2, 0.1);
  EXPECT_NEAR(At(a).x, 2.05, 1e-12);
  EXPECT_NEAR(At(a).y, 1, 1e-12);
  // Without Shift the mouse is followed again.
  Drag(0, 2, 0.1);
  EXPECT_NEAR(At(a).y, 0.15, 1e-12);
}

TEST_F(DeformSessionTest, BoundPointsStayOnTheirCircleAndStopAtTheSegmentEnd) {
  const int32_t o = FreePoint(fig(), 0, 0);
  const int32_t r = FreePoint(fig(), 2, 0);
  const int32_t circle = fig().AllocObject(kClassCircle);
  fig().AppendStep("C2", {Pt(o), Pt(r)}, {Ci(circle)});
  const int32_t s1 = FreePoint(fig(), -6, -4);
  const int32_t s2 = FreePoint(fig(), -2, -4);
  const int32_t segment = Join(s1, s2, /*lineType=*/1);
  const int32_t onCircle = FreePoint(fig(), 0, 2);
  const int32_t onSegment = FreePoint(fig(), -4, -4);
  session.RedrawAll();
  BindPoint(fig(), onCircle, Ci(circle));
  BindPoint(fig(), onSegment, Ln(segment));
  fig().points[onCircle].boundParam = kPi;  // a quarter turn on radius 2: (0, 2)
  fig().points[onSegment].boundParam = 2;   // the middle: (-4, -4)
  session.RedrawAll();
  ASSERT_NEAR(At(onCircle).y, 2, 1e-9);

  session.Press(kLeftButton, 0, 0, 2);
  ASSERT_EQ(session.Drag().dragPoint, onCircle);
  for (const Vec2 mouse : {Vec2{5, 5}, Vec2{-0.3, -7}, Vec2{-3, 0.4}, Vec2{0.5, 0.5}}) {
    Drag(0, mouse.x, mouse.y);
    EXPECT_NEAR(Distance(At(onCircle), {0, 0}), 2, 1e-9) << mouse.x << "," << mouse.y;
    // In the direction of the (quantised) mouse from the centre.
    const double qx = QuantiseToPixel(mouse.x, 0.05), qy = QuantiseToPixel(mouse.y, 0.05);
    EXPECT_NEAR(std::atan2(At(onCircle).y, At(onCircle).x), std::atan2(qy, qx), 1e-9);
  }
  session.Release(kLeftButton, 0, 0.5, 0.5);

  session.Press(kLeftButton, 0, -4, -4);
  ASSERT_EQ(session.Drag().dragPoint, onSegment);
  Drag(0, -3, -1);
  EXPECT_NEAR(At(onSegment).x, -3, 1e-9);
  EXPECT_NEAR(At(onSegment).y, -4, 1e-9);
  EXPECT_EQ(ui.beeps, 0);
  Drag(0, 3, 2);  // far past the end
  EXPECT_NEAR(At(onSegment).x, -2, 1e-9);
  EXPECT_NEAR(At(onSegment).y, -4, 1e-9);
  EXPECT_GE(ui.beeps, 1);
  session.Release(kLeftButton, 0, 3, 2);
  EXPECT_NEAR(At(onSegment).x, -2, 1e-9);
}

TEST_F(DeformSessionTest, KeyboardDeformationStepsAndKeys) {
  const int32_t a = FreePoint(fig(), 1, 1);
  session.RedrawAll();
  session.Command(M::mnuDeform1Pt);
  ASSERT_EQ(session.CurrentInputMode(), kModeSelect);
  session.Key(kKeyEnter, 0);  // the only candidate is current
  ASSERT_EQ(session.CurrentInputMode(), kModeDeform);
  EXPECT_EQ(session.Drag().dragPoint, a);

  const struct {
    int key, shift;
    double x, y;
  } steps[] = {
      {kKeyRight, 0, 1.5, 1},                            // delta 10 pixels = 0.5
      {'S', 0, 1.5, 1},                                  // delta 1
      {kKeyUp, 0, 1.5, 1.05},     {'3', 0, 1.5, 1.05},   // delta 60
      {kKeyLeft, 0, -1.5, 1.05},  {'F', 0, -1.5, 1.05},  // delta 20
      {kKeyDown, 0, -1.5, 0.05},  {'0', 0, -1.5, 0.05},  // delta 10
      {kKeyDown, 0, -1.5, -0.45},
  };
  for (const auto& s : steps) {
    session.Key(s.key, s.shift);
    EXPECT_NEAR(At(a).x, s.x, 1e-9) << "key " << s.key;
    EXPECT_NEAR(At(a).y, s.y, 1e-9) << "key " << s.key;
  }
  EXPECT_EQ(session.settings.delta, 10);

  // With the lattice kind the snapping key step moves one world unit onto lattice points.
  session.ChooseShiftDragKind(3);
  session.Key(kKeyRight, kShiftMask);  // (-0.5, -0.45) goes to the lattice point (0, 0)
  EXPECT_NEAR(At(a).x, 0, 1e-12);
  EXPECT_NEAR(At(a).y, 0, 1e-12);
  session.Key(kKeyRight, kShiftMask);
  EXPECT_NEAR(At(a).x, 1, 1e-12);
  session.Key(kKeyUp, kShiftMask);
  EXPECT_NEAR(At(a).y, 1, 1e-12);

  // B runs a hundred key steps round a square and shows how long they took; the point ends
  // where it began.
  const Vec2 before = At(a);
  session.Key('B', 0);
  EXPECT_NEAR(At(a).x, before.x, 1e-9);
  EXPECT_NEAR(At(a).y, before.y, 1e-9);
  EXPECT_EQ(session.Panel(11).text.rfind("100回の変形(", 0), 0u) << session.Panel(11).text;
  // X needs the locus switch and a locus number.
  session.Key('X', 0);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back(), "軌跡のスイッチがoffか, 変数の選択がしてありません。");
  EXPECT_EQ(session.CurrentInputMode(), kModeDeform);

  session.Key(kKeyEscape, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(DeformSessionTest, StepSizeBoxesReplaceWhatIsOutOfRange) {
  const struct {
    MenuCommand cmd;
    const char* entry;
    double delta, deltaVar;
  } cases[] = {
      {M::mnuOdeformManual, "0", 10, 0.5},     {M::mnuOdeformManual, "75", 60, 0.5},
      {M::mnuOdeformManual, "7.9", 7, 0.5},    {M::mnuOdeformManual, "abc", 10, 0.5},
      {M::mnuOdeformVarManual, "0", 10, 0.5},  {M::mnuOdeformVarManual, "150", 10, 100},
      {M::mnuOdeformVarManual, "-3", 10, 0.5}, {M::mnuOdeformVarManual, "0.25", 10, 0.25},
  };
  for (const auto& c : cases) {
    session.settings.delta = 10;
    session.settings.deltaVar = 0.5;
    ui.inputReplies.push_back(std::string(c.entry));
    session.Command(c.cmd);
    EXPECT_EQ(session.settings.delta, c.delta) << c.entry;
    EXPECT_DOUBLE_EQ(session.settings.deltaVar, c.deltaVar) << c.entry;
  }
  // A cancelled box changes nothing.
  session.settings.delta = 33;
  session.Command(M::mnuOdeformManual);
  EXPECT_EQ(session.settings.delta, 33);
  session.Command(M::mnuOdeformNarrow);
  EXPECT_EQ(session.settings.delta, 1);
  session.Command(M::mnuOdeformVarWide);
  EXPECT_DOUBLE_EQ(session.settings.deltaVar, 1);
}

TEST_F(DeformSessionTest, NumberChangeStepsWithKeysDigitsAndClicks) {
  const int32_t n = Variable(fig(), 2);
  const int32_t sine = fig().AllocObject(kClassNumber);
  fig().AppendStep("NSIN", {Nm(n)}, {Nm(sine)});
  session.RedrawAll();
  session.Command(M::mnuDeformVar);
  ASSERT_EQ(session.CurrentInputMode(), kModeNumberSelect);
  ASSERT_TRUE(session.ActiveDialog());
  session.DialogClick("Cmd_OK");
  ASSERT_EQ(session.CurrentInputMode(), kModeNumberChange);

  const struct {
    int key;
    double value;
  } keys[] = {{kKeyUp, 2.5},    {'3', 2.5},  // step 0.01
              {kKeyDown, 2.49}, {kKeyLeft, 2.49}, {'1', 2.49},
              {kKeyUp, 3.49},   {'0', 3.49},      {kKeyDown, 2.99}};
  for (const auto& k : keys) {
    session.Key(k.key, 0);
    EXPECT_NEAR(fig().numbers[n].value, k.value, 1e-12) << "key " << k.key;
  }
  // A left click is the Up key; a middle click is not.
  session.Press(kLeftButton, 0, 0, 0);
  EXPECT_NEAR(fig().numbers[n].value, 3.49, 1e-12);
  session.Press(kMiddleButton, 0, 0, 0);
  EXPECT_NEAR(fig().numbers[n].value, 3.49, 1e-12);
  EXPECT_NEAR(fig().numbers[sine].value, std::sin(3.49 * kPi / 180), 1e-12);
  session.Key(kKeyEscape, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(DeformSessionTest, MultiPointDragKeepsTheOffsetsOfTheSelection) {
  const int32_t a = FreePoint(fig(), 0, 0);
  const int32_t b = FreePoint(fig(), 2, 1);
  const int32_t c = FreePoint(fig(), -3, 3);
  session.RedrawAll();
  session.Command(M::mnuDeformPts);
  ASSERT_EQ(session.CurrentInputMode(), kModeMultiDeformSelect);
  session.Key(kKeyEnter, 0);   // A, then B becomes current
  session.Key(kKeyEnter, 0);   // B
  session.Key(kKeyEscape, 0);  // the selection is finished
  ASSERT_EQ(session.CurrentInputMode(), kModeMultiDeform);
  session.Press(kLeftButton, 0, 1, -1);  // A follows the quantised mouse: (1.05, -1)
  EXPECT_NEAR(At(a).x, 1.05, 1e-12);
  EXPECT_NEAR(At(a).y, -1, 1e-12);
  EXPECT_NEAR(At(b).x, 3.05, 1e-12);
  EXPECT_NEAR(At(b).y, 0, 1e-12);
  EXPECT_EQ(At(c).x, -3);
  session.Key(kKeyUp, 0);
  EXPECT_NEAR(At(a).y, -0.5, 1e-12);
  EXPECT_NEAR(At(b).y, 0.5, 1e-12);
  session.Key(kKeyEscape, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(DeformSessionTest, TheHoverMarkGoesWhenATaskTakesTheMoves) {
  FreePoint(fig(), 0, 0);
  const int32_t b = FreePoint(fig(), 3, 0);
  session.RedrawAll();
  auto highlighted = [&] {
    const Scene scene = session.MakeScene();
    return std::count_if(scene.marks.begin(), scene.marks.end(), [&](const ObjectMark& m) {
      return m.ref == Pt(b) && m.style == kStyleHighlight;
    });
  };
  session.Move(0, 0, 3, 0);
  ASSERT_EQ(highlighted(), 1);
  // The point picker offers the first point; the one under the mouse is no longer red.
  session.Command(M::mnuDeform1Pt);
  ASSERT_EQ(session.CurrentInputMode(), kModeSelect);
  EXPECT_EQ(highlighted(), 0);
}

TEST_F(DeformSessionTest, ObjectMenuStartsKeyboardDeformationAndSetsFree) {
  const int32_t o = FreePoint(fig(), 0, 0);
  const int32_t r = FreePoint(fig(), 2, 0);
  const int32_t circle = fig().AllocObject(kClassCircle);
  fig().AppendStep("C2", {Pt(o), Pt(r)}, {Ci(circle)});
  const int32_t p = FreePoint(fig(), 2, 0);
  session.RedrawAll();
  BindPoint(fig(), p, Ci(circle));
  session.RedrawAll();
  session.OpenObjectMenu(Pt(p));
  ASSERT_TRUE(session.ObjectMenu().deformVisible);
  session.Command(M::mnuEdit2_point_Deform);
  ASSERT_EQ(session.CurrentInputMode(), kModeDeform);
  session.Key(kKeyUp, 0);  // half a unit along the circle
  EXPECT_NEAR(fig().points[p].boundParam, 0.5, 1e-12);
  EXPECT_NEAR(Distance(At(p), {0, 0}), 2, 1e-12);
  session.Key(kKeyEscape, 0);
  session.OpenObjectMenu(Pt(p));
  session.Command(M::mnuEdit2_point_Set_Free);
  EXPECT_EQ(fig().points[p].boundClass, 0);
  session.Command(M::mnuEdit2_point_Deform);
  session.Key(kKeyUp, 0);
  EXPECT_NEAR(At(p).y, 2 * std::sin(0.25) + 0.5, 1e-12);
}

// The fields a recompute decides.
void ExpectSameGeometry(const Figure& a, const Figure& b) {
  for (int32_t i = 1; i <= b.classCount[kClassPoint]; ++i) {
    EXPECT_EQ(a.points[i].valid != 0, b.points[i].valid != 0) << "point " << i;
    EXPECT_NEAR(a.points[i].x, b.points[i].x, 1e-12) << "point " << i;
    EXPECT_NEAR(a.points[i].y, b.points[i].y, 1e-12) << "point " << i;
  }
  for (int32_t i = 1; i <= b.classCount[kClassLine]; ++i) {
    EXPECT_NEAR(a.lines[i].x1, b.lines[i].x1, 1e-12) << "line " << i;
    EXPECT_NEAR(a.lines[i].dy, b.lines[i].dy, 1e-12) << "line " << i;
  }
  for (int32_t i = 1; i <= b.classCount[kClassCircle]; ++i)
    EXPECT_NEAR(a.circles[i].radius, b.circles[i].radius, 1e-12) << "circle " << i;
  for (int32_t i = 1; i <= b.classCount[kClassNumber]; ++i)
    EXPECT_NEAR(a.numbers[i].value, b.numbers[i].value, 1e-12) << "number " << i;
}

// A triangle with its circumcircle, a side, the side's meeting with the circle and a distance.
struct TriangleFigure {
  int32_t a, b, c, centre, circle, side, far, q1, q2, dist;
  explicit TriangleFigure(Figure& fig) {
    a = FreePoint(fig, 0, 0);
    b = FreePoint(fig, 4, 0);
    c = FreePoint(fig, 1, 3);
    centre = Construct(fig, "P1", {Pt(a), Pt(b), Pt(c)});
    circle = fig.AllocObject(kClassCircle);
    fig.AppendStep("C2", {Pt(centre), Pt(a)}, {Ci(circle)});
    side = fig.AllocObject(kClassLine);
    fig.AppendStep("L1", {Pt(b), Pt(c)}, {Ln(side)});
    far = FreePoint(fig, -5, -4);  // does not move with A
    std::tie(q1, q2) = IntersectionPoints(fig, "PC2", {Ln(side), Ci(circle)});
    dist = fig.AllocObject(kClassNumber);
    fig.AppendStep("ND2P", {Pt(a), Pt(far)}, {Nm(dist)});
  }
};

TEST_F(DeformSessionTest, DragStepsGiveWhatAFullRecomputeGives) {
  TriangleFigure t(fig());
  session.RedrawAll();
  session.Press(kLeftButton, 0, 0, 0);
  ASSERT_EQ(session.Drag().dragPoint, t.a);
  for (int i = 1; i <= 30; ++i) {
    const double x = 0.3 * i, y = 0.2 * i;
    Figure full = fig();  // the state before this step
    full.pass.hooks = nullptr;
    Drag(0, x, y);
    full.SnapshotPrevious();
    full.points[t.a].x = QuantiseToPixel(x, 0.05);
    full.points[t.a].y = QuantiseToPixel(y, 0.05);
    RecomputeAll(full);
    ExpectSameGeometry(fig(), full);
  }
  session.Release(kLeftButton, 0, 9, 6);
}

std::vector<std::string> Texts(const RecordingCanvas& canvas) {
  std::vector<std::string> texts;
  for (const auto* call : canvas.Of(RecordingCanvas::Op::kText)) texts.push_back(call->text);
  return texts;
}

bool SameCalls(const RecordingCanvas& x, const RecordingCanvas& y) {
  if (x.calls.size() != y.calls.size()) return false;
  for (size_t i = 0; i < x.calls.size(); ++i) {
    const auto &p = x.calls[i], &q = y.calls[i];
    if (p.op != q.op || p.text != q.text || p.points.size() != q.points.size()) return false;
    for (size_t k = 0; k < p.points.size(); ++k)
      if (p.points[k].x != q.points[k].x || p.points[k].y != q.points[k].y) return false;
  }
  return true;
}

TEST_F(DeformSessionTest, ADragStepPaintsOnlyWhatMovesAndTheEndPaintsEverything) {
  TriangleFigure t(fig());
  // An angle that moves with A and one that does not, each leaving a mark.
  for (const ObjRef vertex : {Pt(t.b), Pt(t.far)}) {
    const int32_t angle = fig().AllocObject(kClassNumber);
    fig().AppendStep("NA3P", {Pt(t.c), vertex, vertex == Pt(t.b) ? Pt(t.a) : Pt(t.b)}, {Nm(angle)});
  }
  // Dots for the free points, so that the only circle drawn is the circumcircle.
  for (const int32_t p : {t.a, t.b, t.c, t.far}) fig().points[p].marker = 0;
  session.RedrawAll();
  session.Press(kLeftButton, 0, 0, 0);
  Drag(0, 0.5, -0.5);
  ASSERT_NE(session.ActiveDragPlan(), nullptr);
  const uint64_t key = session.FixedLayerKey();

  Renderer renderer;
  RecordingCanvas fixed, moving;
  Scene scene = session.MakeScene();
  scene.layer = PaintLayer::kFixed;
  renderer.Paint(scene, fixed);
  scene = session.MakeScene();
  scene.layer = PaintLayer::kMoving;
  renderer.Paint(scene, moving);
  // Together the two layers paint what one full paint of the same state paints, each object,
  // mark and number row once.
  RecordingCanvas whole;
  scene = session.MakeScene();
  scene.layer = PaintLayer::kAll;
  scene.drag = nullptr;
  renderer.Paint(scene, whole);
  EXPECT_EQ(whole.calls.size(), fixed.calls.size() + moving.calls.size());
  for (const auto op : {RecordingCanvas::Op::kPolyline, RecordingCanvas::Op::kLine,
                        RecordingCanvas::Op::kText, RecordingCanvas::Op::kCircle})
    EXPECT_EQ(whole.Count(op), fixed.Count(op) + moving.Count(op)) << int(op);
  EXPECT_GT(fixed.Count(RecordingCanvas::Op::kPolyline), 0u);  // the fixed angle's mark
  EXPECT_GT(moving.Count(RecordingCanvas::Op::kPolyline), 0u);
  // A moves with its circumcentre, circle and the side's meeting points; B, C, the side BC and
  // the far point do not.
  EXPECT_EQ(moving.Count(RecordingCanvas::Op::kClear), 0u);
  // The only circle of the figure moves (point markers are small circles too).
  auto bigCircles = [](const RecordingCanvas& canvas) {
    size_t n = 0;
    for (const auto* call : canvas.Of(RecordingCanvas::Op::kCircle)) n += call->radius > 20;
    return n;
  };
  EXPECT_EQ(bigCircles(fixed), 0u);
  EXPECT_EQ(bigCircles(moving), 1u);
  const auto movingTexts = Texts(moving);
  for (const int32_t p : {t.a, t.centre, t.q1, t.q2})
    EXPECT_NE(std::find(movingTexts.begin(), movingTexts.end(), fig().points[p].name),
              movingTexts.end())
        << fig().points[p].name;
  for (const int32_t p : {t.b, t.c, t.far})
    EXPECT_EQ(std::find(movingTexts.begin(), movingTexts.end(), fig().points[p].name),
              movingTexts.end())
        << fig().points[p].name;
  const auto fixedTexts = Texts(fixed);
  EXPECT_NE(std::find(fixedTexts.begin(), fixedTexts.end(), fig().points[t.b].name),
            fixedTexts.end());
  EXPECT_EQ(std::find(fixedTexts.begin(), fixedTexts.end(), fig().points[t.a].name),
            fixedTexts.end());

  // Further steps keep the fixed layer; the release ends the layers.
  Drag(0, 1, -1);
  EXPECT_EQ(session.FixedLayerKey(), key);
  session.Release(kLeftButton, 0, 1, -1);
  EXPECT_EQ(session.ActiveDragPlan(), nullptr);
  EXPECT_NE(session.FixedLayerKey(), key);
  RecordingCanvas after, full;
  renderer.Paint(session.MakeScene(), after);
  session.RedrawAll();
  renderer.Paint(session.MakeScene(), full);
  EXPECT_TRUE(SameCalls(after, full));
  EXPECT_GT(after.Count(RecordingCanvas::Op::kText), movingTexts.size());
}

}  // namespace
}  // namespace kv
