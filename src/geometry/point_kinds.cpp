// Point kinds: triangle centres, intersections, division points, points from coordinates and
// bound points. Transformations and complex-number points are in point_transforms.cpp.
#include <cmath>
#include <utility>

#include "geometry/kinds.h"
#include "geometry/point_transforms.h"
#include "geometry/primitives.h"
#include "geometry/step_records.h"

namespace kv {

namespace {

void TriangleCentre(Figure& fig, int32_t s, Kind kind) {
  const PointRec& a = ParentPoint(fig, s, 1);
  const PointRec& b = ParentPoint(fig, s, 2);
  const PointRec& c = ParentPoint(fig, s, 3);
  PointRec& out = OutputPoint(fig, s, 1);
  switch (kind) {
    case Kind::kP1:
      Circumcentre(a, b, c, out);
      break;
    case Kind::kP2:
      Incentre(a, b, c, out);
      break;
    case Kind::kP3:
      Centroid(a, b, c, out);
      break;
    case Kind::kP4:
      Orthocentre(a, b, c, out);
      break;
    case Kind::kP5:
      Excentre(a, b, c, out);
      break;
    case Kind::kNone:
    case Kind::kUnknown:
    case Kind::kP6:
    case Kind::kPC1:
    case Kind::kPC2:
    case Kind::kPC3:
    case Kind::kPN:
    case Kind::kPEXT:
    case Kind::kPXY:
    case Kind::kPNEW:
    case Kind::kPBND:
    case Kind::kPT1:
    case Kind::kPT2:
    case Kind::kPT3:
    case Kind::kPT4:
    case Kind::kPT5:
    case Kind::kPT6:
    case Kind::kPT7:
    case Kind::kPT62:
    case Kind::kPT8:
    case Kind::kPT9:
    case Kind::kPOAdd:
    case Kind::kPOSub:
    case Kind::kPOMul:
    case Kind::kPODiv:
    case Kind::kPOPow:
    case Kind::kPOInv:
    case Kind::kPNEQ:
    case Kind::kL1:
    case Kind::kL2:
    case Kind::kL3:
    case Kind::kL4:
    case Kind::kL5:
    case Kind::kL6:
    case Kind::kL7:
    case Kind::kL8:
    case Kind::kLH1:
    case Kind::kLH2:
    case Kind::kLRO:
    case Kind::kLHRO:
    case Kind::kLT1:
    case Kind::kLT2:
    case Kind::kLT3:
    case Kind::kL3Macro:
    case Kind::kLH2Macro:
    case Kind::kLPGN:
    case Kind::kLRGN:
    case Kind::kLPGPending:
    case Kind::kC1:
    case Kind::kC2:
    case Kind::kC3:
    case Kind::kC4:
    case Kind::kC5:
    case Kind::kC6:
    case Kind::kC7:
    case Kind::kCRO:
    case Kind::kCT1:
    case Kind::kCT2:
    case Kind::kCT3:
    case Kind::kND2P:
    case Kind::kNDPL:
    case Kind::kNPL2:
    case Kind::kNDPC:
    case Kind::kND2L:
    case Kind::kNDLC:
    case Kind::kND2C:
    case Kind::kNA3P:
    case Kind::kNA3Star:
    case Kind::kNA3M:
    case Kind::kNA3Plus:
    case Kind::kNA2L:
    case Kind::kNAR3:
    case Kind::kNARPlus:
    case Kind::kNAR4:
    case Kind::kNLC:
    case Kind::kNRC:
    case Kind::kNPX:
    case Kind::kNPX2:
    case Kind::kNPY:
    case Kind::kNSIN:
    case Kind::kNCOS:
    case Kind::kNTAN:
    case Kind::kCALC:
    case Kind::kCount:
      NinePointCentre(a, b, c, out);
      break;
  }
}

void SetBothUndefined(Figure& fig, int32_t s) {
  OutputPoint(fig, s, 1).valid = kFalse;
  OutputPoint(fig, s, 2).valid = kFalse;
}

// Stores the two raw solutions of an intersection so that each output stays on the solution
// it followed at the last completed recompute, even when the solutions trade places (a line
// whose direction turns over, a circle moved through the other).
void KeepOrderAndStore(Figure& fig, int32_t s, Vec2 q1, Vec2 q2) {
  const int32_t out1 = fig.Output(s, 1).index;
  const int32_t out2 = fig.Output(s, 2).index;
  if (!std::isfinite(q1.x + q1.y + q2.x + q2.y)) return SetBothUndefined(fig, s);  // overflow
  int32_t swap = fig.StepSwap(s);
  // Without previous positions (a table not yet snapshotted) the assignment stays as it is.
  const size_t prevSize = fig.prevPoints.size();
  if (static_cast<size_t>(out1) < prevSize && static_cast<size_t>(out2) < prevSize) {
    Vec2 r1 = PosOf(fig.prevPoints[out1]);
    Vec2 r2 = PosOf(fig.prevPoints[out2]);
    if (swap != 0) std::swap(r1, r2);  // r1, r2 now stand for the previous raw solutions
    const bool a = PointsNear(q1, r1);
    const bool b = PointsNear(q1, r2);
    const bool c = PointsNear(q2, r1);
    const bool d = PointsNear(q2, r2);
    if (!a && !d && (b || c)) swap = swap != 0 ? kFalse : kTrue;
  }
  fig.SetStepSwap(s, swap);
  if (swap != 0) std::swap(q1, q2);
  SetPosition(fig.points[out1], q1.x, q1.y);
  SetPosition(fig.points[out2], q2.x, q2.y);
}

void IntersectLineCircle(Figure& fig, int32_t s) {
  const LineRec& g = ParentLine(fig, s, 1);
  const CircleRec& c = ParentCircle(fig, s, 2);
  if (g.valid == 0 || c.valid == 0) return SetBothUndefined(fig, s);
  const double ux = g.dx, uy = g.dy;
  const double h = (g.y1 - c.cy) * ux - (g.x1 - c.cx) * uy;  // signed distance of the centre
  double disc = c.radius * c.radius - h * h;
  if (disc < -kDiscTolerance) return SetBothUndefined(fig, s);
  if (std::fabs(disc) < kDiscTolerance) disc = 0;  // tangent: both at the point of contact
  const double m = (c.cx - g.x1) * ux + (c.cy - g.y1) * uy;
  const double root = std::sqrt(disc);
  const Vec2 q1{g.x1 + (m + root) * ux, g.y1 + (m + root) * uy};
  const Vec2 q2{g.x1 + (m - root) * ux, g.y1 + (m - root) * uy};
  KeepOrderAndStore(fig, s, q1, q2);
}

void IntersectCircles(Figure& fig, int32_t s) {
  const CircleRec& c1 = ParentCircle(fig, s, 1);
  const CircleRec& c2 = ParentCircle(fig, s, 2);
  if (c1.valid == 0 || c2.valid == 0) return SetBothUndefined(fig, s);
  const double dx = c2.cx - c1.cx, dy = c2.cy - c1.cy;
  const double d2 = dx * dx + dy * dy;
  if (d2 <= 0) return SetBothUndefined(fig, s);  // concentric
  const double r1s = c1.radius * c1.radius, r2s = c2.radius * c2.radius;
  double disc = 2 * d2 * (r1s + r2s) - d2 * d2 - (r2s - r1s) * (r2s - r1s);
  if (disc < -kDiscTolerance) return SetBothUndefined(fig, s);
  if (std::fabs(disc) < kDiscTolerance) disc = 0;
  const double f = 0.5 - (r2s - r1s) / (2 * d2);
  const double mx = c1.cx + f * dx, my = c1.cy + f * dy;  // foot on the centre line
  const double k = std::sqrt(disc) / (2 * d2);
  const Vec2 q1{mx + k * -dy, my + k * dx};  // left of the direction C1 -> C2
  const Vec2 q2{mx - k * -dy, my - k * dx};
  KeepOrderAndStore(fig, s, q1, q2);
}

void DivideOrExtend(Figure& fig, int32_t s, Kind kind) {
  const PointRec& a = ParentPoint(fig, s, 1);
  const PointRec& b = ParentPoint(fig, s, 2);
  PointRec& out = OutputPoint(fig, s, 1);
  const NumberRec& first = ParentNumber(fig, s, 3);
  if (kind == Kind::kPN) {
    const NumberRec& second = ParentNumber(fig, s, 4);
    if (first.valid == 0 || second.valid == 0) {
      out.valid = kFalse;
      return;
    }
    DivisionPoint(a, b, first.value, second.value, out);
    return;
  }
  if (first.valid == 0) {
    out.valid = kFalse;
    return;
  }
  ExtensionPoint(a, b, first.value, out);
}

void PointFromCoordinates(Figure& fig, int32_t s) {
  const NumberRec& x = ParentNumber(fig, s, 1);
  const NumberRec& y = ParentNumber(fig, s, 2);
  PointRec& out = OutputPoint(fig, s, 1);
  if (x.valid == 0 || y.valid == 0) {
    out.valid = kFalse;
    return;
  }
  SetPosition(out, x.value, y.value);
}

bool BindToLine(Figure& fig, PointRec& p) {
  const LineRec& g = fig.lines[p.boundIndex];
  if (g.valid == 0) return false;
  const double length = Distance({g.x2, g.y2}, {g.x1, g.y1});
  double t = p.boundParam;
  switch (g.lineType) {
    case kLineStraight:
      return SetPosition(p, g.x1 + t * g.dx, g.y1 + t * g.dy);
    case kLineSegment:
      if (t > length) {
        t = length;
        fig.Beep();
      }
      if (t < 0) {
        t = 0;
        fig.Beep();
      }
      p.boundParam = t;
      // A segment shrunk to a point: the only place on it is its first point.
      if (length == 0) return SetPosition(p, g.x1, g.y1);
      return SetPosition(p, ((length - t) * g.x1 + t * g.x2) / length,
                         ((length - t) * g.y1 + t * g.y2) / length);
    case kLineHalf:
      if (t < 0) {
        t = 0;
        p.boundParam = t;
        fig.Beep();
      }
      return SetPosition(p, g.x1 + t * g.dx, g.y1 + t * g.dy);
    default:  // the other display types leave the point where it is
      p.valid = kTrue;
      return true;
  }
}

bool BindToCircle(PointRec& p, const CircleRec& c) {
  const double circumference = kTwoPi * c.radius;
  if (c.valid == 0 || circumference == 0) return false;
  // boundParam is the arc length from the positive x direction, counter-clockwise.
  double t = p.boundParam;
  if (t > circumference) t = t - circumference;
  if (t < 0) t = t + circumference;
  p.boundParam = t;
  const double phi = t * kTwoPi / circumference;
  return SetPosition(p, c.cx + c.radius * std::cos(phi), c.cy + c.radius * std::sin(phi));
}

}  // namespace

bool ApplyBinding(Figure& fig, int32_t p) {
  if (p < 1 || p > fig.UpperBound(kClassPoint)) return false;
  PointRec& pt = fig.points[p];
  if (pt.boundClass == 0) return true;
  const ObjRef target{pt.boundClass, pt.boundIndex};
  bool placed = false;
  if (pt.boundClass >= kClassPoint && pt.boundClass <= kClassCircle && fig.InTable(target)) {
    switch (pt.boundClass) {
      case kClassPoint: {
        const PointRec& q = fig.points[pt.boundIndex];
        pt.x = q.x;
        pt.y = q.y;
        placed = true;  // validity follows the target through the recompute pass
        break;
      }
      case kClassLine:
        placed = BindToLine(fig, pt);
        break;
      default:
        placed = BindToCircle(pt, fig.circles[pt.boundIndex]);
        break;
    }
  }
  if (!placed) pt.valid = kFalse;
  return placed;
}

void SetBoundParam(Figure& fig, int32_t p) {
  if (p < 1 || p > fig.UpperBound(kClassPoint)) return;
  PointRec& pt = fig.points[p];
  if (!fig.InTable(ObjRef{pt.boundClass, pt.boundIndex})) return;
  if (pt.boundClass == kClassLine) {
    const LineRec& g = fig.lines[pt.boundIndex];
    const Vec2 v{pt.x - g.x1, pt.y - g.y1};
    const double length = VectorLength(v);
    pt.boundParam = DotProduct(v, {g.dx, g.dy}) >= 0 ? length : -length;
  } else if (pt.boundClass == kClassCircle) {
    const CircleRec& c = fig.circles[pt.boundIndex];
    Vec2 v{pt.x - c.cx, pt.y - c.cy};
    if (!NormaliseVector(v)) {
      pt.valid = kFalse;
      return;
    }
    pt.valid = kTrue;
    pt.boundParam = DirectionAngle(v) * c.radius;
  }
}

void RecomputePoint(Figure& fig, int32_t s) {
  // The slot check of the dependency analysis lets the routines index their slots directly.
  if (s < 1 || s > fig.StepCount() || static_cast<size_t>(s) >= fig.pass.stepRunnable.size() ||
      !fig.pass.stepRunnable[s])
    return;
  const Kind kind = fig.KindOf(s);
  switch (kind) {
    case Kind::kP1:
    case Kind::kP2:
    case Kind::kP3:
    case Kind::kP4:
    case Kind::kP5:
    case Kind::kP6:
      TriangleCentre(fig, s, kind);
      break;
    case Kind::kPC1:
      IntersectLines(ParentLine(fig, s, 1), ParentLine(fig, s, 2), OutputPoint(fig, s, 1));
      break;
    case Kind::kPC2:
      IntersectLineCircle(fig, s);
      break;
    case Kind::kPC3:
      IntersectCircles(fig, s);
      break;
    case Kind::kPN:
    case Kind::kPEXT:
      DivideOrExtend(fig, s, kind);
      break;
    case Kind::kPXY:
      PointFromCoordinates(fig, s);
      break;
    case Kind::kPBND: {
      const ObjRef out = fig.Output(s, 1);
      if (out.cls == kClassPoint && out.index != 0) ApplyBinding(fig, out.index);
      break;
    }
    case Kind::kPT1:
    case Kind::kPT2:
    case Kind::kPT3:
    case Kind::kPT4:
    case Kind::kPT5:
    case Kind::kPT6:
    case Kind::kPT7:
    case Kind::kPT8:
    case Kind::kPT9:
    case Kind::kPOAdd:
    case Kind::kPOSub:
    case Kind::kPOMul:
    case Kind::kPODiv:
    case Kind::kPOPow:
    case Kind::kPOInv:
      RecomputeTransformedPoint(fig, s, kind);
      break;
    case Kind::kNone:
    case Kind::kUnknown:
    case Kind::kPNEW:
    case Kind::kPT62:
    case Kind::kPNEQ:
    case Kind::kL1:
    case Kind::kL2:
    case Kind::kL3:
    case Kind::kL4:
    case Kind::kL5:
    case Kind::kL6:
    case Kind::kL7:
    case Kind::kL8:
    case Kind::kLH1:
    case Kind::kLH2:
    case Kind::kLRO:
    case Kind::kLHRO:
    case Kind::kLT1:
    case Kind::kLT2:
    case Kind::kLT3:
    case Kind::kL3Macro:
    case Kind::kLH2Macro:
    case Kind::kLPGN:
    case Kind::kLRGN:
    case Kind::kLPGPending:
    case Kind::kC1:
    case Kind::kC2:
    case Kind::kC3:
    case Kind::kC4:
    case Kind::kC5:
    case Kind::kC6:
    case Kind::kC7:
    case Kind::kCRO:
    case Kind::kCT1:
    case Kind::kCT2:
    case Kind::kCT3:
    case Kind::kND2P:
    case Kind::kNDPL:
    case Kind::kNPL2:
    case Kind::kNDPC:
    case Kind::kND2L:
    case Kind::kNDLC:
    case Kind::kND2C:
    case Kind::kNA3P:
    case Kind::kNA3Star:
    case Kind::kNA3M:
    case Kind::kNA3Plus:
    case Kind::kNA2L:
    case Kind::kNAR3:
    case Kind::kNARPlus:
    case Kind::kNAR4:
    case Kind::kNLC:
    case Kind::kNRC:
    case Kind::kNPX:
    case Kind::kNPX2:
    case Kind::kNPY:
    case Kind::kNSIN:
    case Kind::kNCOS:
    case Kind::kNTAN:
    case Kind::kCALC:
    case Kind::kCount:
      break;  // PNEW keeps the user's position; PT62 and markers compute nothing
  }
}

}  // namespace kv
