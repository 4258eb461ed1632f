#include "construct/transform_macros.h"

#include <span>
#include <string_view>
#include <vector>

namespace kv {
namespace {

constexpr int32_t kMovable = -1;
constexpr int32_t kFixed = 1;  // a free point that may not be dragged
constexpr int32_t kHidden = 7;

struct FreePointPlan {
  std::string_view name;
  double x, y;
  int32_t free, marker, colour, locusColour;
};

struct SegmentPlan {
  int from, to;  // k of the routine's points, 1-based
  int32_t colour;
};

// Each free point is followed at once by the PNEW step that owns it.
std::vector<ObjRef> AddFreePoints(Figure& fig, std::span<const FreePointPlan> plans) {
  std::vector<ObjRef> refs;
  for (const FreePointPlan& plan : plans) {
    const ObjRef p{kClassPoint, fig.AllocObject(kClassPoint)};
    PointRec& rec = fig.points[p.index];
    rec.x = plan.x;
    rec.y = plan.y;
    rec.free = plan.free;
    rec.marker = plan.marker;
    rec.colour = plan.colour;
    rec.locusColour = plan.locusColour;
    rec.valid = kTrue;
    fig.SetObjectName(p, plan.name);
    fig.AppendStep("PNEW", {}, {p});
    refs.push_back(p);
  }
  return refs;
}

void AddSegments(Figure& fig, const std::vector<ObjRef>& points,
                 std::span<const SegmentPlan> plans) {
  for (const SegmentPlan& plan : plans) {
    const ObjRef line{kClassLine, fig.AllocObject(kClassLine)};
    fig.lines[line.index].lineType = kLineSegment;
    fig.lines[line.index].colour = plan.colour;
    fig.AppendStep("L1", {points[plan.from - 1], points[plan.to - 1]}, {line});
  }
}

// φ(P): a crossed red point leaving a red trace.
ObjRef AddImagePoint(Figure& fig) {
  const ObjRef p{kClassPoint, fig.AllocObject(kClassPoint)};
  PointRec& rec = fig.points[p.index];
  rec.marker = 1;
  rec.colour = 1;
  rec.locusColour = 1;
  rec.valid = kTrue;
  fig.SetObjectName(p, "φ(P)");
  return p;
}

ObjRef AddMatrixNumber(Figure& fig, std::string_view name) {
  const ObjRef n{kClassNumber, fig.AllocObject(kClassNumber)};
  fig.numbers[n.index].valid = kTrue;
  fig.SetObjectName(n, name);
  return n;
}

// A map step: parents by routine point number, output 1 (if any) then the named numbers.
int32_t AddMapStep(Figure& fig, std::string_view kind, const std::vector<ObjRef>& points,
                   std::initializer_list<int> parents, ObjRef image,
                   std::initializer_list<std::string_view> numberNames) {
  const int32_t s = fig.AppendStep();
  fig.SetStepKind(s, kind);
  for (int k = 1; k <= 5; ++k) {
    fig.SetStepParent(s, k, {});
    fig.SetStepOutput(s, k, {});
  }
  int k = 1;
  for (int p : parents) fig.SetStepParent(s, k++, points[p - 1]);
  k = 1;
  if (!image.IsEmpty()) fig.SetStepOutput(s, k++, image);
  for (std::string_view name : numberNames) fig.SetStepOutput(s, k++, AddMatrixNumber(fig, name));
  return s;
}

void BuildLinear(Figure& fig) {
  static constexpr FreePointPlan kPoints[] = {
      {"P", 1, 1, kMovable, 1, 2, 2},  {"O", 0, 0, kFixed, 0, 7, 0},
      {"P1", 1, 0, kMovable, 0, 7, 0}, {"P2", 0, 1, kMovable, 0, 7, 0},
      {"Q1", 2, 1, kMovable, 0, 7, 0}, {"Q2", 1, 2, kMovable, 0, 7, 0},
  };
  static constexpr SegmentPlan kSegments[] = {{2, 3, 2}, {2, 4, 2}, {2, 5, 1}, {2, 6, 1}};
  const std::vector<ObjRef> points = AddFreePoints(fig, kPoints);
  AddSegments(fig, points, kSegments);
  const ObjRef image = AddImagePoint(fig);
  AddMapStep(fig, "PT5", points, {1, 3, 4, 5, 6}, image, {"A(1,1)", "A(1,2)", "A(2,1)", "A(2,2)"});
}

void BuildAffine(Figure& fig) {
  static constexpr FreePointPlan kPoints[] = {
      {"P", -2, 2, kMovable, 1, 2, 2},  {"P1", -4, 0, kMovable, 0, 2, 0},
      {"P2", -3, 0, kMovable, 0, 2, 0}, {"P3", -4, 1, kMovable, 0, 2, 0},
      {"Q1", 4, 0, kMovable, 0, 1, 0},  {"Q2", 5, 0, kMovable, 0, 1, 0},
      {"Q3", 4, 1, kMovable, 0, 1, 0},
  };
  static constexpr SegmentPlan kSegments[] = {{2, 3, 2}, {2, 4, 2}, {5, 6, 1}, {5, 7, 1}};
  const std::vector<ObjRef> points = AddFreePoints(fig, kPoints);
  AddSegments(fig, points, kSegments);
  const ObjRef image = AddImagePoint(fig);
  AddMapStep(fig, "PT6", points, {1, 2, 3, 4, 5}, image, {"A(1,1)", "A(1,2)", "A(1,3)", "A(2,1)"});
  AddMapStep(fig, "PT62", points, {6, 7}, {}, {"A(2,2)", "A(2,3)", "A(3,1)", "A(3,2)", "A(3,3)"});
}

// Each defining point shares its colour with its image.
void BuildProjective(Figure& fig) {
  static constexpr FreePointPlan kPoints[] = {
      {"P", -2, 2, kMovable, 1, 2, 2},  {"P1", -8, 0, kMovable, 1, 1, 0},
      {"P2", -4, 0, kMovable, 1, 2, 0}, {"P3", -4, 4, kMovable, 1, 3, 0},
      {"P4", -8, 4, kMovable, 1, 4, 0}, {"Q1", 2, 0, kMovable, 1, 1, 0},
      {"Q2", 6, 0, kMovable, 1, 2, 0},  {"Q3", 6, 4, kMovable, 1, 3, 0},
      {"Q4", 2, 4, kMovable, 1, 4, 0},
  };
  const std::vector<ObjRef> points = AddFreePoints(fig, kPoints);
  const ObjRef image = AddImagePoint(fig);
  AddMapStep(fig, "PT7", points, {1, 2, 3, 4, 5}, image, {"A(1,1)", "A(1,2)", "A(1,3)", "A(2,1)"});
  AddMapStep(fig, "PT62", points, {6, 7, 8, 9}, {},
             {"A(2,2)", "A(2,3)", "A(3,1)", "A(3,2)", "A(3,3)"});
}

}  // namespace

void BuildTransformMacro(Figure& fig, TransformMacro which) {
  switch (which) {
    case TransformMacro::kLinear:
      BuildLinear(fig);
      break;
    case TransformMacro::kAffine:
      BuildAffine(fig);
      break;
    case TransformMacro::kProjective:
      BuildProjective(fig);
      break;
  }
  HideDependentNumbers(fig);
}

void HideDependentNumbers(Figure& fig) {
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i)
    if (fig.numbers[i].independent != kTrue) fig.numbers[i].hidden = kHidden;
}

}  // namespace kv
