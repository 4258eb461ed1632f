// The loci and the measurement record that follow a deformation: the images changed objects
// leave while the locus switch is on, the number locus of the dragged point, and a data row of
// the record per step. Runs on every drag step, so it compares records in place and keeps
// strings out of the way.
#include "session/session.h"

namespace kv {

namespace {

// Tolerance of the number locus: values this close to zero count as zero.
constexpr double kNumberLocusZero = 0.01;
// Its images: a crossed circle in red where the number is positive, a circle with a bar in
// green where it is negative, a double ring in black near zero.
constexpr int32_t kMarkerPlus = 22, kMarkerMinus = 23, kMarkerRing = 20;
constexpr int32_t kColourRed = 1, kColourGreen = 2, kColourBlack = 7;
// Points with these markers leave a dotted trail while they move, locus switch or not.
constexpr int32_t kTraceMarkerFirst = 10, kTraceMarkerLast = 19;

bool SameImage(const PointRec& a, const PointRec& b) {
  return a.x == b.x && a.y == b.y && a.valid == b.valid;
}
bool SameImage(const LineRec& a, const LineRec& b) {
  return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.dx == b.dx &&
         a.dy == b.dy && a.valid == b.valid && a.lineType == b.lineType;
}
bool SameImage(const CircleRec& a, const CircleRec& b) {
  return a.cx == b.cx && a.cy == b.cy && a.radius == b.radius && a.valid == b.valid;
}

}  // namespace

void Session::BeforeDeformStep(int32_t dragged) {
  numberLocus_ = {};
  if (dragged == 0 || locusNumber_ == 0) return;
  if (!figure.InTable({kClassNumber, locusNumber_}) || !figure.InTable({kClassPoint, dragged}))
    return;
  // The value where the point is now: its image there is what the next step leaves behind.
  const double v = figure.numbers[locusNumber_].value;
  if (v > kNumberLocusZero) {
    numberLocus_ = {dragged, kMarkerPlus, kColourRed};
  } else if (v < -kNumberLocusZero) {
    numberLocus_ = {dragged, kMarkerMinus, kColourGreen};
  } else {
    numberLocus_ = {dragged, kMarkerRing, kColourBlack};
  }
}

void Session::AfterDeformStep(int32_t dragged, const DragPlan& plan) {
  for (const int32_t i : plan.indices[kClassPoint]) {
    if (!figure.InTable(ObjRef{kClassPoint, i})) continue;
    const PointRec& before = figure.prevPoints[i];
    if (before.valid == 0 || SameImage(before, figure.points[i])) continue;
    // The dragged point wears the drag ring, not its trace marker, while it moves.
    if (i != dragged && before.marker >= kTraceMarkerFirst && before.marker <= kTraceMarkerLast)
      dragTrail_.Append(before, before.marker, before.locusColour);
    if (!locusSw_) continue;
    if (numberLocus_.point == i) {
      loci.Append(before, numberLocus_.marker, numberLocus_.colour);
    } else if (before.locusColour != 0) {
      loci.Append(before);
    }
  }
  // Lines and circles leave a trace only while the switch is on.
  auto trace = [&](int cls, const auto& table, const auto& previous) {
    if (!locusSw_) return;
    for (const int32_t i : plan.indices[cls]) {
      if (!figure.InTable(ObjRef{cls, i})) continue;
      const auto& before = previous[i];
      if (before.valid != 0 && before.locusColour != 0 && !SameImage(before, table[i]))
        loci.Append(before);
    }
  };
  trace(kClassLine, figure.lines, figure.prevLines);
  trace(kClassCircle, figure.circles, figure.prevCircles);
  // The renderer paints the whole store on every repaint: everything stored is drawn.
  loci.drawnPoints = loci.pointCount;
  loci.drawnLines = loci.lineCount;
  loci.drawnCircles = loci.circleCount;
  if (locusSw_) WriteRecordRow();
  repaintDirty_ = true;
}

}  // namespace kv
