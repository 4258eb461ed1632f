// Number kinds: distances, angles, areas, coordinates, circle lengths and trigonometric values
// measured from the figure, the shared angle operations, and the angle marks the angle
// measurements leave for the drawing.
#include <cmath>

#include "geometry/kinds.h"
#include "geometry/primitives.h"
#include "geometry/step_records.h"

namespace kv {

namespace {

constexpr int32_t kAngleMarkGrowth = 100;
constexpr double kDegreesPerRadian = 180 / kPi;

// Distance from p to the foot of its perpendicular on g; false when either is undefined.
bool DistanceToLine(const PointRec& p, const LineRec& g, double& value) {
  if (p.valid == 0 || g.valid == 0) return false;
  LineRec perpendicular;
  PerpendicularThrough(g, p, perpendicular);  // its second point is the foot
  if (perpendicular.valid == 0) return false;
  value = Distance(PosOf(p), {perpendicular.x2, perpendicular.y2});
  return true;
}

// ((B - A) x (C - A)) / 2: positive when A, B, C run counter-clockwise.
double SignedArea(const PointRec& a, const PointRec& b, const PointRec& c) {
  return ((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2;
}

void SetNumber(NumberRec& out, double value) {
  out.value = value;
  out.valid = kTrue;
}

// A measurement's value, or an undefined number when it could not be taken.
void SetMeasured(NumberRec& out, bool measured, double value) {
  if (measured)
    SetNumber(out, value);
  else
    out.valid = kFalse;
}

// Whether turning `arm` about v by `degrees` lands on `target` (within the normalising
// tolerance in both coordinates).
bool TurnsOnto(const PointRec& arm, const PointRec& v, double degrees, const PointRec& target) {
  PointRec turned;
  RotatePoint(arm, v, degrees, turned);
  return std::fabs(turned.x - target.x) < kNormTolerance &&
         std::fabs(turned.y - target.y) < kNormTolerance;
}

// The trigonometric kinds: an undefined angle, an undefined result or a non-finite value
// makes the number undefined; success leaves the validity the dependency analysis gave it.
void Trigonometric(Kind kind, const NumberRec& angle, NumberRec& out) {
  if (angle.valid == 0) {
    out.valid = kFalse;
    return;
  }
  const double radians = angle.value * kPi / 180;
  double value = 0;
  switch (kind) {
    case Kind::kNSIN:
      value = std::sin(radians);
      break;
    case Kind::kNCOS:
      value = std::cos(radians);
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
    case Kind::kNTAN:
    case Kind::kCALC:
    case Kind::kCount:
      // tan has no value at odd multiples of 90; even ones are refused alike, judged on the
      // angle rounded to whole degrees.
      if (std::fmod(std::nearbyint(angle.value), 90.0) == 0) {
        out.value = 0;
        out.valid = kFalse;
        return;
      }
      value = std::tan(radians);
      break;
  }
  if (!std::isfinite(value)) {
    out.valid = kFalse;
    return;
  }
  out.value = value;
}

// Distance between two lines: only lines running the same way (unit directions equal
// within the tolerance) have one; for the others the value is 0 and the validity is left.
void LineDistance(const LineRec& g, const LineRec& h, NumberRec& out) {
  if (g.valid == 0 || h.valid == 0) {
    out.valid = kFalse;
    return;
  }
  if (std::fabs(g.dx - h.dx) < kNormTolerance && std::fabs(g.dy - h.dy) < kNormTolerance) {
    double value = 0;
    const bool measured = DistanceToLine(PointAt({g.x1, g.y1}), h, value);
    SetMeasured(out, measured, value);
  } else {
    out.value = 0;
  }
}

// The areas of the polygon on parents 1..3 (..4): the triangle by two sides and the angle
// between them, its signed area, and the quadrilateral as two triangles.
void Area(Figure& fig, int32_t s, Kind kind, NumberRec& out) {
  const PointRec& a = ParentPoint(fig, s, 1);
  const PointRec& b = ParentPoint(fig, s, 2);
  const PointRec& c = ParentPoint(fig, s, 3);
  if (!AllDefined(a, b, c)) {
    out.valid = kFalse;
    return;
  }
  switch (kind) {
    case Kind::kNAR3: {
      NumberRec angle;
      UnsignedAngle(a, b, c, angle);
      const double ab = Distance(PosOf(a), PosOf(b));
      const double bc = Distance(PosOf(b), PosOf(c));
      SetNumber(out, ab * bc * std::sin(angle.value * kPi / 180) / 2);
      return;
    }
    case Kind::kNARPlus:
      SetNumber(out, SignedArea(a, b, c));
      return;
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
    case Kind::kCount: {
      const PointRec& d = ParentPoint(fig, s, 4);
      if (d.valid == 0) {
        out.valid = kFalse;
        return;
      }
      SetNumber(out, std::fabs(SignedArea(a, b, c) + SignedArea(a, c, d)));
      return;
    }
  }
}

}  // namespace

double ClampedArccos(double x) {
  if (1 - x * x < 0.000001) x = 1;
  if (x == 0) return kHalfPi;
  return std::atan(std::sqrt(1 - x * x) / x);
}

void UnsignedAngle(const PointRec& a, const PointRec& v, const PointRec& b, NumberRec& out) {
  if (!AllDefined(a, v, b)) {
    out.valid = kFalse;
    return;
  }
  Vec2 u{a.x - v.x, a.y - v.y}, w{b.x - v.x, b.y - v.y};
  if (!NormaliseVector(u) || !NormaliseVector(w)) {
    SetNumber(out, 0);  // an arm too short to have a direction measures 0
    return;
  }
  double degrees = ClampedArccos(DotProduct(u, w)) * 180 / kPi;
  if (degrees < 0) degrees = degrees + 180;
  SetNumber(out, degrees);
}

void RecordAngleMark(Figure& fig, const PointRec& a, const PointRec& v, double degrees) {
  if (!fig.angleMarksOn) return;
  const int32_t index = fig.angleMarkCount + 1;
  if (index >= static_cast<int32_t>(fig.angleMarks.size()))
    fig.angleMarks.resize(static_cast<size_t>(index) + kAngleMarkGrowth);
  AngleMarkRec& mark = fig.angleMarks[index];
  mark.p1.x = v.x;
  mark.p1.y = v.y;
  mark.p1.valid = kTrue;
  mark.p2.x = a.x;
  mark.p2.y = a.y;
  mark.p2.valid = kTrue;
  mark.angle.value = degrees;
  mark.angle.valid = kTrue;
  mark.d1 = DirectionAngle({a.x - v.x, a.y - v.y});
  mark.d2 = mark.d1 + degrees / kDegreesPerRadian;
  fig.angleMarkCount = index;
}

void SignedAngle(Figure& fig, const PointRec& a, const PointRec& v, const PointRec& b,
                 NumberRec& out, bool recordMark) {
  if (!AllDefined(a, v, b)) {
    out.valid = kFalse;
    return;
  }
  NumberRec size;
  UnsignedAngle(a, v, b, size);
  double theta = size.value;
  // Positions beyond the range of doubles give no angle (the sense test below would
  // otherwise take the failed comparison for a straight angle).
  if (!std::isfinite(theta)) {
    out.valid = kFalse;
    return;
  }
  // The sense is found by turning the unit arm towards A by +theta and, failing that, by
  // -theta, and seeing which lands on the unit arm towards B.
  Vec2 u{a.x - v.x, a.y - v.y}, w{b.x - v.x, b.y - v.y};
  if (NormaliseVector(u) && NormaliseVector(w)) {
    const PointRec armA = PointAt({v.x + u.x, v.y + u.y});
    const PointRec armB = PointAt({v.x + w.x, v.y + w.y});
    if (!TurnsOnto(armA, v, theta, armB)) {
      theta = -theta;
      if (!TurnsOnto(armA, v, theta, armB)) {
        // Neither sense fits: a straight angle (the arccos clamps it to 0) or a numerical
        // failure, which is reported and leaves the negated angle.
        if (std::fabs(theta) >= kNormTolerance) {
          if (fig.pass.hooks) fig.pass.hooks->Message("Error in Angle");
        } else {
          theta = 180;
        }
      }
    }
  }
  SetNumber(out, theta);
  if (recordMark) RecordAngleMark(fig, a, v, theta);
}

void RecomputeNumber(Figure& fig, int32_t s) {
  const Kind kind = fig.KindOf(s);
  NumberRec& out = OutputNumber(fig, s, 1);
  switch (kind) {
    case Kind::kND2P: {
      double value = 0;
      const bool measured = PointDistance(ParentPoint(fig, s, 1), ParentPoint(fig, s, 2), value);
      SetMeasured(out, measured, value);
      break;
    }
    case Kind::kNDPL: {
      double value = 0;
      const bool measured = DistanceToLine(ParentPoint(fig, s, 1), ParentLine(fig, s, 2), value);
      SetMeasured(out, measured, value);
      break;
    }
    case Kind::kNPL2: {
      // Negative when P lies to the right of g's direction (the angle P V Q is positive).
      const PointRec& p = ParentPoint(fig, s, 1);
      const LineRec& g = ParentLine(fig, s, 2);
      double value = 0;
      if (!DistanceToLine(p, g, value)) {
        out.valid = kFalse;
        break;
      }
      PointRec v, q;
      LineEndPoints(g, v, q);
      NumberRec side;
      SignedAngle(fig, p, v, q, side, false);
      SetNumber(out, side.value > 0 ? -value : value);
      break;
    }
    case Kind::kNDPC: {
      const PointRec& p = ParentPoint(fig, s, 1);
      const CircleRec& c = ParentCircle(fig, s, 2);
      if (p.valid == 0 || c.valid == 0) {
        out.valid = kFalse;
        break;
      }
      SetNumber(out, std::fabs(Distance(PosOf(p), {c.cx, c.cy}) - c.radius));
      break;
    }
    case Kind::kND2L:
      LineDistance(ParentLine(fig, s, 1), ParentLine(fig, s, 2), out);
      break;
    case Kind::kNDLC: {
      const LineRec& g = ParentLine(fig, s, 1);
      const CircleRec& c = ParentCircle(fig, s, 2);
      PointRec centre;
      CircleCentrePoint(c, centre);
      double value = 0;
      if (c.valid == 0 || !DistanceToLine(centre, g, value)) {
        out.valid = kFalse;
        break;
      }
      SetNumber(out, value - c.radius);
      break;
    }
    case Kind::kND2C: {
      const CircleRec& c1 = ParentCircle(fig, s, 1);
      const CircleRec& c2 = ParentCircle(fig, s, 2);
      if (c1.valid == 0 || c2.valid == 0) {
        out.valid = kFalse;
        break;
      }
      const double gap = Distance({c1.cx, c1.cy}, {c2.cx, c2.cy}) - c1.radius - c2.radius;
      SetNumber(out, gap < 0 ? 0 : gap);
      break;
    }
    case Kind::kNA3Plus:
      SignedAngle(fig, ParentPoint(fig, s, 1), ParentPoint(fig, s, 2), ParentPoint(fig, s, 3), out);
      break;
    case Kind::kNA3P:
    case Kind::kNA3M:
      // The mark shows the turning sense, so it records the signed angle.
      SignedAngle(fig, ParentPoint(fig, s, 1), ParentPoint(fig, s, 2), ParentPoint(fig, s, 3), out);
      if (out.valid != 0) out.value = std::fabs(out.value);
      break;
    case Kind::kNA3Star: {
      const PointRec& a = ParentPoint(fig, s, 1);
      const PointRec& v = ParentPoint(fig, s, 2);
      SignedAngle(fig, a, v, ParentPoint(fig, s, 3), out, false);
      if (out.valid == 0) break;
      if (out.value < 0) out.value = out.value + 360;
      RecordAngleMark(fig, a, v, out.value);
      break;
    }
    case Kind::kNA2L: {
      const LineRec& g = ParentLine(fig, s, 1);
      const LineRec& h = ParentLine(fig, s, 2);
      if (g.valid == 0 || h.valid == 0) {
        out.valid = kFalse;
        break;
      }
      double degrees = std::fabs(ClampedArccos(DotProduct({g.dx, g.dy}, {h.dx, h.dy})) * 180 / kPi);
      if (degrees > 90) degrees = 180 - degrees;
      SetNumber(out, degrees);
      break;
    }
    case Kind::kNAR3:
    case Kind::kNARPlus:
    case Kind::kNAR4:
      Area(fig, s, kind, out);
      break;
    case Kind::kNPX:
    case Kind::kNPX2:
    case Kind::kNPY: {
      const PointRec& p = ParentPoint(fig, s, 1);
      if (p.valid == 0) {
        out.valid = kFalse;
        break;
      }
      SetNumber(out, kind == Kind::kNPY ? p.y : p.x);
      break;
    }
    case Kind::kNLC:
    case Kind::kNRC: {
      const CircleRec& c = ParentCircle(fig, s, 1);
      if (c.valid == 0) {
        out.valid = kFalse;
        break;
      }
      SetNumber(out, kind == Kind::kNLC ? kTwoPi * c.radius : c.radius);
      break;
    }
    case Kind::kNSIN:
    case Kind::kNCOS:
    case Kind::kNTAN:
      Trigonometric(kind, ParentNumber(fig, s, 1), out);
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
    case Kind::kCALC:
    case Kind::kCount:
      break;
  }
}

}  // namespace kv
