// Moving points, lines and numbers step by step; see deform.h.
#include "geometry/deform.h"

#include <cmath>

#include "geometry/kinds.h"

namespace kv {

namespace {

// The foot of p on the infinite line g.
Vec2 FootOnLine(const LineRec& g, Vec2 p) {
  const double t = (p.x - g.x1) * g.dx + (p.y - g.y1) * g.dy;
  return {g.x1 + t * g.dx, g.y1 + t * g.dy};
}

// The place of a line nearest to p, kept inside a segment or half-line.
Vec2 NearestOnLine(const LineRec& g, Vec2 p) {
  double t = (p.x - g.x1) * g.dx + (p.y - g.y1) * g.dy;
  if (g.lineType == 1) {
    const double length = Distance({g.x1, g.y1}, {g.x2, g.y2});
    if (t > length) t = length;
    if (t < 0) t = 0;
  } else if (g.lineType == 2 && t < 0) {
    t = 0;
  }
  return {g.x1 + t * g.dx, g.y1 + t * g.dy};
}

Vec2 NearestOnCircle(const CircleRec& c, Vec2 p) {
  Vec2 v{p.x - c.cx, p.y - c.cy};
  // At the centre every place of the circumference is as near; the point keeps its position.
  if (!NormaliseVector(v)) return p;
  return {c.cx + c.radius * v.x, c.cy + c.radius * v.y};
}

double Lattice(double v) { return std::floor(v + 0.5); }

}  // namespace

double QuantiseToPixel(double v, double scaleUnit) {
  if (scaleUnit == 0) return v;
  if (v > 0) return std::floor(v / scaleUnit + 1) * scaleUnit;
  return std::floor(v / scaleUnit) * scaleUnit;
}

bool DraggablePoint(const Figure& fig, int32_t point) {
  return point >= 1 && point <= fig.classCount[kClassPoint] && fig.InTable({kClassPoint, point}) &&
         fig.points[point].free == kTrue;
}

bool DraggableLine(const Figure& fig, int32_t line) {
  if (line < 1 || line > fig.classCount[kClassLine] || !fig.InTable({kClassLine, line}))
    return false;
  const LineRec& g = fig.lines[line];
  return g.byTwoPoints != 0 && fig.InTable({kClassPoint, g.endA}) &&
         fig.InTable({kClassPoint, g.endB});
}

bool MovePointTo(Figure& fig, int32_t p, double x, double y) {
  if (!fig.InTable({kClassPoint, p})) return false;
  PointRec& pt = fig.points[p];
  switch (pt.boundClass) {
    case kClassPoint:
      return false;
    case kClassLine: {
      if (!fig.InTable({kClassLine, pt.boundIndex})) break;
      const LineRec& g = fig.lines[pt.boundIndex];
      if (g.valid == 0) return false;
      const Vec2 foot = FootOnLine(g, {x, y});
      pt.x = foot.x;
      pt.y = foot.y;
      SetBoundParam(fig, p);
      return ApplyBinding(fig, p);
    }
    case kClassCircle: {
      if (!fig.InTable({kClassCircle, pt.boundIndex})) break;
      const CircleRec& c = fig.circles[pt.boundIndex];
      if (c.valid == 0) return false;
      Vec2 v{x - c.cx, y - c.cy};
      // The mouse on the centre gives no direction: the point stays where it was.
      if (!NormaliseVector(v)) return false;
      pt.x = x;
      pt.y = y;
      SetBoundParam(fig, p);
      return ApplyBinding(fig, p);
    }
    default:
      break;
  }
  pt.x = x;
  pt.y = y;
  pt.valid = kTrue;
  return true;
}

bool KeyStepPoint(Figure& fig, int32_t p, ArrowKey key, double step) {
  if (!fig.InTable({kClassPoint, p})) return false;
  PointRec& pt = fig.points[p];
  if (pt.boundClass == kClassLine || pt.boundClass == kClassCircle) {
    pt.boundParam += (key == ArrowKey::kUp || key == ArrowKey::kRight) ? step : -step;
    return ApplyBinding(fig, p);
  }
  if (pt.boundClass == kClassPoint) return false;
  switch (key) {
    case ArrowKey::kUp:
      pt.y += step;
      break;
    case ArrowKey::kDown:
      pt.y -= step;
      break;
    case ArrowKey::kRight:
      pt.x += step;
      break;
    case ArrowKey::kLeft:
      pt.x -= step;
      break;
  }
  pt.valid = kTrue;
  return true;
}

double DistanceToLine(const LineRec& g, Vec2 p) {
  return std::fabs((p.x - g.x1) * g.dy - (p.y - g.y1) * g.dx);
}

double DistanceToCircle(const CircleRec& c, Vec2 p) {
  return std::fabs(Distance(p, {c.cx, c.cy}) - c.radius);
}

Vec2 SnapPosition(const Figure& fig, const DragPlan& plan, SnapKind kind, Vec2 pos) {
  if (kind == kSnapLattice) return {Lattice(pos.x), Lattice(pos.y)};
  // No distance limit: the nearest fixed candidate wins, the earlier one on a tie. Undefined
  // objects keep stale coordinates and are not drawn, so nothing snaps onto them.
  double best = 10000;
  ObjRef winner;
  for (int32_t i = 1; i <= fig.classCount[kClassLine]; ++i) {
    const ObjRef ref{kClassLine, i};
    if (plan.Moves(ref) || !fig.InTable(ref) || fig.lines[i].valid == 0) continue;
    const double d = DistanceToLine(fig.lines[i], pos);
    if (d < best) best = d, winner = ref;
  }
  if (kind == kSnapLineOrCircle) {
    for (int32_t i = 1; i <= fig.classCount[kClassCircle]; ++i) {
      const ObjRef ref{kClassCircle, i};
      if (plan.Moves(ref) || !fig.InTable(ref) || fig.circles[i].valid == 0) continue;
      const double d = DistanceToCircle(fig.circles[i], pos);
      if (d < best) best = d, winner = ref;
    }
  }
  if (winner.cls == kClassLine) return NearestOnLine(fig.lines[winner.index], pos);
  if (winner.cls == kClassCircle) return NearestOnCircle(fig.circles[winner.index], pos);
  return pos;
}

// --- Deformer ---

bool Deformer::StartPoint(Figure& fig, int32_t point) {
  End();
  if (!DraggablePoint(fig, point)) return false;
  point_ = point;
  moving_ = {{kClassPoint, point}};
  return Start(fig, Target::kPoint);
}

bool Deformer::StartLine(Figure& fig, int32_t line, Vec2 press) {
  End();
  if (!DraggableLine(fig, line)) return false;
  const LineRec& g = fig.lines[line];
  const PointRec& a = fig.points[g.endA];
  const PointRec& b = fig.points[g.endB];
  line_ = line;
  offsetA_ = {a.x - press.x, a.y - press.y};
  offsetB_ = {b.x - press.x, b.y - press.y};
  // Only free ends move; a constructed end keeps its construction.
  for (const int32_t end : {g.endA, g.endB})
    if (fig.points[end].free == kTrue) moving_.push_back({kClassPoint, end});
  if (moving_.empty()) return false;
  return Start(fig, Target::kLine);
}

bool Deformer::StartPoints(Figure& fig, std::span<const int32_t> points) {
  End();
  for (const int32_t p : points) {
    if (!DraggablePoint(fig, p)) continue;
    points_.push_back(p);
    moving_.push_back({kClassPoint, p});
  }
  if (points_.empty()) return false;
  return Start(fig, Target::kPoints);
}

bool Deformer::StartNumber(Figure& fig, int32_t number) {
  End();
  if (number < 1 || number > fig.classCount[kClassNumber] || !fig.InTable({kClassNumber, number}) ||
      fig.numbers[number].independent != kTrue)
    return false;
  number_ = number;
  moving_ = {{kClassNumber, number}};
  return Start(fig, Target::kNumber);
}

bool Deformer::Start(Figure& fig, Target target) {
  target_ = target;
  plan_ = StartDrag(fig, moving_);
  planSteps_ = fig.StepCount();
  for (int cls = 0; cls < 4; ++cls) planCounts_[cls] = fig.classCount[cls];
  return true;
}

void Deformer::End() {
  target_ = Target::kNone;
  point_ = line_ = number_ = 0;
  points_.clear();
  moving_.clear();
  plan_ = DragPlan{};
}

int32_t Deformer::DragPoint() const {
  if (target_ == Target::kPoint) return point_;
  if (target_ == Target::kPoints && !points_.empty()) return points_.front();
  return 0;
}

void Deformer::KeepPlanCurrent(Figure& fig) {
  bool same = planSteps_ == fig.StepCount();
  for (int cls = 0; cls < 4 && same; ++cls) same = planCounts_[cls] == fig.classCount[cls];
  if (!same) Start(fig, target_);
}

void Deformer::BeginStep(Figure& fig, DeformObserver* observer) {
  KeepPlanCurrent(fig);
  SnapshotDragged(fig, plan_);
  if (observer) observer->BeforeStep(DragPoint());
}

void Deformer::EndStep(Figure& fig, DeformObserver* observer) {
  DragRecompute(fig, plan_);
  if (observer) observer->AfterStep(DragPoint(), plan_);
}

void Deformer::MoveTo(Figure& fig, Vec2 pos) {
  switch (target_) {
    case Target::kPoint:
      MovePointTo(fig, point_, pos.x, pos.y);
      break;
    case Target::kLine: {
      const LineRec& g = fig.lines[line_];
      const int32_t a = g.endA, b = g.endB;
      if (fig.points[a].free == kTrue) MovePointTo(fig, a, pos.x + offsetA_.x, pos.y + offsetA_.y);
      if (fig.points[b].free == kTrue) MovePointTo(fig, b, pos.x + offsetB_.x, pos.y + offsetB_.y);
      break;
    }
    case Target::kPoints: {
      // The first point follows the mouse, the others keep their offsets from it.
      const PointRec& first = fig.points[points_.front()];
      const double dx = pos.x - first.x, dy = pos.y - first.y;
      for (const int32_t p : points_) {
        const PointRec& pt = fig.points[p];
        MovePointTo(fig, p, pt.x + dx, pt.y + dy);
      }
      break;
    }
    case Target::kNumber:
    case Target::kNone:
      break;
  }
}

void Deformer::StepTo(Figure& fig, Vec2 pos, DeformObserver* observer) {
  if (target_ == Target::kNone || target_ == Target::kNumber) return;
  BeginStep(fig, observer);
  MoveTo(fig, pos);
  EndStep(fig, observer);
}

void Deformer::MouseStep(Figure& fig, double x, double y, const DeformSettings& s, bool snapping,
                         DeformObserver* observer) {
  if (target_ == Target::kNone || target_ == Target::kNumber) return;
  Vec2 pos{QuantiseToPixel(x, s.scaleUnit), QuantiseToPixel(y, s.scaleUnit)};
  if (snapping && target_ != Target::kPoints) {
    KeepPlanCurrent(fig);
    pos = SnapPosition(fig, plan_, s.snapKind, pos);
  }
  StepTo(fig, pos, observer);
}

void Deformer::KeyStep(Figure& fig, ArrowKey key, const DeformSettings& s, bool snapping,
                       DeformObserver* observer) {
  if (target_ == Target::kNone || target_ == Target::kNumber) return;
  const double pixels = s.delta != 0 ? s.delta : 10;
  if (target_ == Target::kPoints) {
    BeginStep(fig, observer);
    for (const int32_t p : points_) KeyStepPoint(fig, p, key, pixels * s.scaleUnit);
    EndStep(fig, observer);
    return;
  }
  if (target_ == Target::kLine) {
    // The line moves as its body would under the mouse.
    const LineRec& g = fig.lines[line_];
    const PointRec& a = fig.points[g.endA];
    const Vec2 held{a.x - offsetA_.x, a.y - offsetA_.y};
    Vec2 pos = held;
    const double step = pixels * s.scaleUnit;
    pos.x += key == ArrowKey::kRight ? step : key == ArrowKey::kLeft ? -step : 0;
    pos.y += key == ArrowKey::kUp ? step : key == ArrowKey::kDown ? -step : 0;
    if (snapping)
      MouseStep(fig, pos.x, pos.y, s, true, observer);
    else
      StepTo(fig, pos, observer);
    return;
  }
  if (!snapping) {
    BeginStep(fig, observer);
    KeyStepPoint(fig, point_, key, pixels * s.scaleUnit);
    EndStep(fig, observer);
    return;
  }
  // The snapping step moves a copy of the point by the key step (one world unit towards the
  // next lattice point) and snaps from there.
  const double step = s.snapKind == kSnapLattice ? 1.0 : pixels * s.scaleUnit;
  PointRec& pt = fig.points[point_];
  const PointRec kept{pt.x, pt.y, 0, 0, pt.valid, 0, 0, 0, 0, pt.boundParam, {}};
  KeyStepPoint(fig, point_, key, step);
  const Vec2 moved{pt.x, pt.y};
  pt.x = kept.x, pt.y = kept.y, pt.valid = kept.valid, pt.boundParam = kept.boundParam;
  MouseStep(fig, moved.x, moved.y, s, true, observer);
}

void Deformer::NumberStep(Figure& fig, bool up, const DeformSettings& s, DeformObserver* observer) {
  if (target_ != Target::kNumber) return;
  BeginStep(fig, observer);
  fig.numbers[number_].value += up ? s.deltaVar : -s.deltaVar;
  EndStep(fig, observer);
}

}  // namespace kv
