#include "construct/macros.h"

#include <algorithm>
#include <cmath>

#include "model/names.h"

namespace kv {
namespace {

constexpr int32_t kMarkerCross = 1;  // "×"
constexpr int32_t kHalfLine = 2;

// A part count read from a number: the nearest integer, taken into [lowest, kMaxMacroParts]
// so that a zero, negative or absurd count still gives a figure (and never a division by 0).
int32_t PartCount(double value, int32_t lowest) {
  if (!std::isfinite(value)) return lowest;
  const double rounded = std::round(value);
  if (rounded < lowest) return lowest;
  if (rounded > kMaxMacroParts) return kMaxMacroParts;
  return static_cast<int32_t>(rounded);
}

// The constants a macro adds (the division ratios, the part counts, the interior angle) are
// part of how its objects are made, not measurements: they stay out of the number list on the
// canvas, where every midpoint would otherwise add two unnamed rows. "すべて表示" shows them.
constexpr int32_t kHiddenNumber = 7;

ObjRef NewNumber(Figure& fig, double value) {
  const int32_t i = fig.AllocObject(kClassNumber);
  NumberRec& rec = fig.numbers[i];
  rec.value = value;
  rec.valid = kTrue;
  rec.hidden = kHiddenNumber;
  return {kClassNumber, i};
}

ObjRef NewPoint(Figure& fig) {
  const int32_t i = fig.AllocObject(kClassPoint);
  fig.points[i].marker = kMarkerCross;
  return {kClassPoint, i};
}

ObjRef NewLine(Figure& fig, int32_t lineType) {
  const int32_t i = fig.AllocObject(kClassLine);
  fig.lines[i].lineType = lineType;
  return {kClassLine, i};
}

ObjRef PointRef(int32_t index) { return {kClassPoint, index}; }

// The slot of the class-200 marker, or 0 when the step has none or a parent before it is
// still missing.
int MarkerSlot(const Figure& fig, int32_t s) {
  for (int k = 1; k <= 5; ++k) {
    const ObjRef p = fig.Parent(s, k);
    if (p.cls == kPendingMacroClass) return k;
    if (p.index == 0) return 0;
  }
  return 0;
}

void CloseGroup(Figure& fig, Kind macro, const Translator& tr) {
  fig.AppendStep(CodeOf(macro), {}, {});
  RelabelAll(fig, tr);
}

void ExpandNSection(Figure& fig, int32_t s) {
  const ObjRef a = fig.Parent(s, 1), b = fig.Parent(s, 2);
  const int32_t n = PartCount(fig.numbers[fig.Parent(s, 3).index].value, 2);
  for (int32_t k = 1; k < n; ++k) {
    const ObjRef m = NewNumber(fig, k);
    const ObjRef rest = NewNumber(fig, n - k);
    const ObjRef p = NewPoint(fig);
    fig.AppendStep("PN", {a, b, m, rest}, {p});
  }
}

void ExpandAngleNSection(Figure& fig, int32_t s) {
  const ObjRef a = fig.Parent(s, 1), v = fig.Parent(s, 2), b = fig.Parent(s, 3);
  const int32_t n = PartCount(fig.numbers[fig.Parent(s, 4).index].value, 2);
  for (int32_t k = 1; k < n; ++k) {
    const ObjRef parts = NewNumber(fig, n);
    const ObjRef which = NewNumber(fig, k);
    const ObjRef half = NewLine(fig, kHalfLine);
    fig.AppendStep("LH2", {a, v, b, parts, which}, {half});
  }
}

// The perpendicular from P to g is a segment ending at its foot; the foot is the
// intersection of g with it, so the L3 step keeps only its line output.
void ExpandPerpendicularFoot(Figure& fig, int32_t s) {
  const ObjRef g = fig.Parent(s, 1), p = fig.Parent(s, 2);
  const ObjRef perpendicular = NewLine(fig, kLineSegment);
  fig.AppendStep("L3", {g, p}, {perpendicular});
  const ObjRef foot = NewPoint(fig);
  fig.AppendStep("PC1", {g, perpendicular}, {foot});
}

// Each new vertex is the vertex before the previous one turned about the previous one by the
// interior angle, so the polygon turns the same way at every corner.
void ExpandRegularPolygon(Figure& fig, int32_t s) {
  const int32_t n = PartCount(fig.numbers[fig.Parent(s, 1).index].value, 3);
  std::vector<ObjRef> vertex{fig.Parent(s, 2), fig.Parent(s, 3)};
  const double interiorAngle = 180.0 - 360.0 / n;
  for (int32_t k = 3; k <= n; ++k) {
    const ObjRef angle = NewNumber(fig, interiorAngle);
    const ObjRef p = NewPoint(fig);
    fig.AppendStep("PT1", {vertex[k - 3], vertex[k - 2], angle}, {p});
    vertex.push_back(p);
  }
  for (int32_t k = 0; k < n; ++k) {
    const ObjRef side = NewLine(fig, kLineSegment);
    fig.AppendStep("L1", {vertex[k], vertex[(k + 1) % n]}, {side});
  }
}

MacroOutcome StartPolygon(Figure& fig, int32_t s, PolygonPicking& polygon) {
  const int32_t n = PartCount(fig.numbers[fig.Parent(s, 1).index].value, 3);
  if (fig.classCount[kClassPoint] < n) {
    fig.RemoveLastStep();
    polygon = {};
    return MacroOutcome::kTooFewVertices;
  }
  polygon.polygonVertexCount = n;
  polygon.polygonVertexNo = 1;
  polygon.polygonVertices.assign(n + 1, 0);
  polygon.groupStart = s;
  fig.AppendStep("LPG+", {}, {});
  return MacroOutcome::kPickVertex;
}

}  // namespace

std::vector<int32_t> PolygonPicking::PickedVertices() const {
  std::vector<int32_t> picked;
  for (int32_t k = 1; k < polygonVertexNo && k < static_cast<int32_t>(polygonVertices.size()); ++k)
    picked.push_back(polygonVertices[k]);
  return picked;
}

bool IsMacroKind(Kind kind) {
  switch (kind) {
    case Kind::kPNEQ:
    case Kind::kLH2Macro:
    case Kind::kL3Macro:
    case Kind::kLRGN:
    case Kind::kLPGN:
      return true;
    default:
      return false;
  }
}

MacroOutcome ExpandMacro(Figure& fig, PolygonPicking& polygon, const Translator& tr) {
  const int32_t s = fig.StepCount();
  if (s < 1) return MacroOutcome::kNotAMacro;
  const Kind kind = fig.KindOf(s);
  if (!IsMacroKind(kind) || MarkerSlot(fig, s) == 0) return MacroOutcome::kNotAMacro;
  // The inputs (the count among them) must name objects of the figure.
  for (int k = 1; k < MarkerSlot(fig, s); ++k) {
    const ObjRef p = fig.Parent(s, k);
    if (!fig.InTable(p) || p.index > fig.classCount[p.cls]) return MacroOutcome::kNotAMacro;
  }
  // The macro step itself produces nothing; its output slots may still hold the classes of
  // the command's template.
  for (int k = 1; k <= 5; ++k) fig.SetStepOutput(s, k, {});
  switch (kind) {
    case Kind::kPNEQ:
      ExpandNSection(fig, s);
      break;
    case Kind::kLH2Macro:
      ExpandAngleNSection(fig, s);
      break;
    case Kind::kL3Macro:
      ExpandPerpendicularFoot(fig, s);
      break;
    case Kind::kLRGN:
      ExpandRegularPolygon(fig, s);
      break;
    case Kind::kLPGN:
      return StartPolygon(fig, s, polygon);
    default:
      return MacroOutcome::kNotAMacro;
  }
  CloseGroup(fig, kind, tr);
  return MacroOutcome::kDone;
}

MacroOutcome AddPolygonVertex(Figure& fig, PolygonPicking& polygon, int32_t point,
                              const Translator& tr) {
  if (!polygon.Active() || fig.StepCount() < 1 || fig.KindOf(fig.StepCount()) != Kind::kLPGPending)
    return MacroOutcome::kNotAMacro;
  const std::vector<int32_t> picked = polygon.PickedVertices();
  if (point < 1 || point > fig.classCount[kClassPoint] ||
      std::find(picked.begin(), picked.end(), point) != picked.end())
    return MacroOutcome::kPickVertex;

  const int32_t no = polygon.polygonVertexNo;
  const int32_t n = polygon.polygonVertexCount;
  polygon.polygonVertices[no] = point;
  const int32_t s = fig.StepCount();
  if (no == 1) {
    fig.RemoveLastStep();
  } else {
    fig.SetStepKind(s, "L1");
    fig.SetStepParent(s, 1, PointRef(polygon.polygonVertices[no - 1]));
    fig.SetStepParent(s, 2, PointRef(point));
    fig.SetStepOutput(s, 1, NewLine(fig, kLineSegment));
  }
  if (no < n) {
    fig.AppendStep("LPG+", {}, {});
    RelabelAll(fig, tr);
    polygon.polygonVertexNo = no + 1;
    return MacroOutcome::kPickVertex;
  }
  fig.AppendStep("L1", {PointRef(polygon.polygonVertices[n]), PointRef(polygon.polygonVertices[1])},
                 {NewLine(fig, kLineSegment)});
  polygon = {};
  CloseGroup(fig, Kind::kLPGN, tr);
  return MacroOutcome::kDone;
}

void CancelPolygon(Figure& fig, PolygonPicking& polygon) {
  if (polygon.Active() && polygon.groupStart >= 1) {
    while (fig.StepCount() >= polygon.groupStart) fig.RemoveLastStep();
  }
  polygon = {};
}

}  // namespace kv
