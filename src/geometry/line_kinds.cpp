// Line kinds: lines through points, parallels and perpendiculars, tangents and polars of
// circles, angle bisectors and sectors, and the images of lines under the point maps.
// Every routine writes only the defining points, direction and validity of its outputs.
#include <cmath>

#include "geometry/kinds.h"
#include "geometry/point_transforms.h"
#include "geometry/primitives.h"
#include "geometry/step_records.h"

namespace kv {

namespace {

// The two tangents from P to c. Both directions point away from the circle's side, output 1
// turned one way and output 2 the other; a point on the circle (within the tolerance of the
// power) gives the tangent at P twice.
void TangentsFromPoint(const PointRec& p, const CircleRec& c, LineRec& out1, LineRec& out2) {
  if (p.valid == 0 || c.valid == 0) {
    out1.valid = out2.valid = kFalse;
    return;
  }
  const Vec2 d{c.cx - p.x, c.cy - p.y};
  const double r = c.radius;
  const double power = d.x * d.x + d.y * d.y - r * r;
  if (power < -kNormTolerance) {
    out1.valid = out2.valid = kFalse;
    return;
  }
  const double t = power <= 0 ? 0.0 : std::sqrt(power);
  const Vec2 turned{-d.y, d.x};
  Vec2 dir1{-(t * d.x + r * turned.x), -(t * d.y + r * turned.y)};
  Vec2 dir2{-(t * d.x - r * turned.x), -(t * d.y - r * turned.y)};
  // The two directions have the same length, so they fail together (a tiny circle with P
  // right beside its centre); each line is still judged on its own.
  if (NormaliseVector(dir1))
    SetLineByDirection(out1, PosOf(p), dir1);
  else
    out1.valid = kFalse;
  if (NormaliseVector(dir2))
    SetLineByDirection(out2, PosOf(p), dir2);
  else
    out2.valid = kFalse;
}

// One common tangent of two circles. Modes 1 and 2 keep both centres on one side of the line
// (external tangents), modes 0 and 3 separate them (internal tangents). The first point is
// the point of contact on c1.
void CommonTangent(const CircleRec& c1, const CircleRec& c2, int mode, LineRec& out) {
  const double r1 = c1.radius, r2 = c2.radius;
  double k = 0;
  switch (mode) {
    case 0:
      k = r1 + r2;
      break;
    case 1:
      k = r2 - r1;
      break;
    case 2:
      k = r1 - r2;
      break;
    default:
      k = -r1 - r2;
      break;
  }
  const double sigma = (mode == 1 || mode == 3) ? 1.0 : -1.0;
  const double dx = c2.cx - c1.cx, dy = c2.cy - c1.cy;
  const double d2 = dx * dx + dy * dy;
  if (d2 <= 0) {
    out.valid = kFalse;
    return;
  }
  const double q = d2 - k * k;
  if (q < 0) {
    out.valid = kFalse;
    return;
  }
  const double root = std::sqrt(q);
  // (a, b) is the unit normal of the tangent.
  const double a = (-k * dx - root * dy) / d2;
  const double b = (root * dx - k * dy) / d2;
  SetLineByDirection(out, {c1.cx + sigma * r1 * a, c1.cy + sigma * r1 * b}, {b, -a});
}

void CommonTangents(const CircleRec& c1, const CircleRec& c2, int mode1, int mode2, LineRec& out1,
                    LineRec& out2) {
  if (c1.valid == 0 || c2.valid == 0) {
    out1.valid = out2.valid = kFalse;
    return;
  }
  CommonTangent(c1, c2, mode1, out1);
  CommonTangent(c1, c2, mode2, out2);
}

// The polar of P: with the circle moved to the origin and (a, b) = P - centre, the line
// a X + b Y = r^2, moved back by the centre.
void PolarLine(const PointRec& p, const CircleRec& c, LineRec& out) {
  if (p.valid == 0 || c.valid == 0) {
    out.valid = kFalse;
    return;
  }
  const double a = p.x - c.cx, b = p.y - c.cy;
  Vec2 dir{b, -a};
  if ((a == 0 && b == 0) || !NormaliseVector(dir)) {
    out.valid = kFalse;
    return;
  }
  const double r2 = c.radius * c.radius;
  const Vec2 first = b == 0 ? Vec2{r2 / a, 0} : Vec2{0, r2 / b};
  // Both points are found about the origin and only then moved back by the centre, so the
  // second point is (first + direction) + centre, not (first + centre) + direction.
  const Vec2 second{first.x + dir.x, first.y + dir.y};
  const double x1 = first.x + c.cx, y1 = first.y + c.cy;
  const double x2 = second.x + c.cx, y2 = second.y + c.cy;
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) {
    out.valid = kFalse;  // a pole almost on an axis through the centre of a huge circle
    return;
  }
  out.x1 = x1;
  out.y1 = y1;
  out.x2 = x2;
  out.y2 = y2;
  out.dx = dir.x;
  out.dy = dir.y;
  out.valid = kTrue;
}

// The line from V through A turned by m/n of the signed angle A V B.
void AngleSector(Figure& fig, const PointRec& a, const PointRec& v, const PointRec& b,
                 const NumberRec& n, const NumberRec& m, LineRec& out) {
  // n = 0 cannot come from the construction command, but a stored figure may hold it.
  if (a.valid == 0 || v.valid == 0 || b.valid == 0 || n.valid == 0 || m.valid == 0 ||
      n.value == 0) {
    out.valid = kFalse;
    return;
  }
  NumberRec theta;
  SignedAngle(fig, a, v, b, theta);
  const double phi = theta.value * m.value / n.value;
  if (theta.valid == 0 || !std::isfinite(phi)) {
    out.valid = kFalse;
    return;
  }
  PointRec q;
  RotatePoint(a, v, phi, q);
  LineThroughPoints(v, q, out);
}

// The line through the images of the defining points of parent 1 under the step's map.
void MapLine(Figure& fig, int32_t s, PointMap map) {
  PointRec p1, p2, q1, q2;
  LineEndPoints(ParentLine(fig, s, 1), p1, p2);
  MapPoint(fig, s, map, p1, q1);
  MapPoint(fig, s, map, p2, q2);
  LineThroughPoints(q1, q2, OutputLine(fig, s, 1));
}

}  // namespace

void RecomputeLine(Figure& fig, int32_t s) {
  switch (fig.KindOf(s)) {
    case Kind::kL1:
      LineThroughPoints(ParentPoint(fig, s, 1), ParentPoint(fig, s, 2), OutputLine(fig, s, 1));
      break;
    case Kind::kL2:
      ParallelThrough(ParentLine(fig, s, 1), ParentPoint(fig, s, 2), OutputLine(fig, s, 1));
      break;
    case Kind::kL3: {
      PerpendicularThrough(ParentLine(fig, s, 1), ParentPoint(fig, s, 2), OutputLine(fig, s, 1),
                           fig.Output(s, 2).IsEmpty() ? nullptr : &OutputPoint(fig, s, 2));
      break;
    }
    case Kind::kL4:
      PerpendicularBisector(ParentLine(fig, s, 1), OutputLine(fig, s, 1));
      break;
    case Kind::kL5:
      TangentsFromPoint(ParentPoint(fig, s, 1), ParentCircle(fig, s, 2), OutputLine(fig, s, 1),
                        OutputLine(fig, s, 2));
      break;
    case Kind::kL6:
      CommonTangents(ParentCircle(fig, s, 1), ParentCircle(fig, s, 2), 1, 2, OutputLine(fig, s, 1),
                     OutputLine(fig, s, 2));
      break;
    case Kind::kL7:
      CommonTangents(ParentCircle(fig, s, 1), ParentCircle(fig, s, 2), 3, 0, OutputLine(fig, s, 1),
                     OutputLine(fig, s, 2));
      break;
    case Kind::kL8:
      PolarLine(ParentPoint(fig, s, 1), ParentCircle(fig, s, 2), OutputLine(fig, s, 1));
      break;
    case Kind::kLH1: {
      // The incentre of A V B lies on the bisector of the angle at V.
      const PointRec& v = ParentPoint(fig, s, 2);
      PointRec centre;
      Incentre(ParentPoint(fig, s, 1), v, ParentPoint(fig, s, 3), centre);
      LineThroughPoints(v, centre, OutputLine(fig, s, 1));
      break;
    }
    case Kind::kLH2:
      AngleSector(fig, ParentPoint(fig, s, 1), ParentPoint(fig, s, 2), ParentPoint(fig, s, 3),
                  ParentNumber(fig, s, 4), ParentNumber(fig, s, 5), OutputLine(fig, s, 1));
      break;
    case Kind::kLRO:
      MapLine(fig, s, PointMap::kRotate);
      break;
    case Kind::kLHRO: {
      // A half-line turned about its own first point.
      const LineRec& h = ParentLine(fig, s, 1);
      const NumberRec& angle = ParentNumber(fig, s, 2);
      LineRec& out = OutputLine(fig, s, 1);
      if (angle.valid == 0) {
        out.valid = kFalse;
        break;
      }
      PointRec p1, p2, q;
      LineEndPoints(h, p1, p2);
      RotatePoint(p2, p1, angle.value, q);
      LineThroughPoints(p1, q, out);
      break;
    }
    case Kind::kLT1:
      MapLine(fig, s, PointMap::kReflectInLine);
      break;
    case Kind::kLT2:
      MapLine(fig, s, PointMap::kReflectInPoint);
      break;
    case Kind::kLT3:
      MapLine(fig, s, PointMap::kTranslate);
      break;
    case Kind::kNone:
    case Kind::kUnknown:
    case Kind::kP1:
    case Kind::kP2:
    case Kind::kP3:
    case Kind::kP4:
    case Kind::kP5:
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
      break;  // macro markers and unknown codes compute nothing
  }
}

}  // namespace kv
