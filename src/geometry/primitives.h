// Shared geometric operations of the kind routines: vectors, 2x2 algebra, lines through points,
// line intersection, triangle centres and the point transformations. Plain functions over
// records; an undefined input gives an undefined output that keeps its old coordinates.
#pragma once

#include <cmath>

#include "model/figure.h"

namespace kv {

constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 6.28318530717958;
constexpr double kHalfPi = 1.570796326794895;
constexpr double kFourPi = 12.56637061435916;
constexpr double kNormTolerance = 0.01;    // shortest vector that can be normalised; 2x2 det
constexpr double kNearTolerance = 0.001;   // |dx| + |dy| below this: the same position
constexpr double kDiscTolerance = 0.0001;  // intersection discriminants

struct Vec2 {
  double x = 0, y = 0;
};

inline double VectorLength(Vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }
inline double Distance(Vec2 p, Vec2 q) {
  return std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y));
}
inline double DotProduct(Vec2 v, Vec2 w) { return v.x * w.x + v.y * w.y; }
inline bool NormaliseVector(Vec2& v) {
  const double length = VectorLength(v);
  if (length < kNormTolerance) return false;
  v.x = v.x / length;
  v.y = v.y / length;
  return true;
}
double DirectionAngle(Vec2 v);
double AngleModulo(double a, double m);
inline bool PointsNear(Vec2 p, Vec2 q) {
  return std::fabs(p.x - q.x) + std::fabs(p.y - q.y) < kNearTolerance;
}
inline Vec2 PosOf(const PointRec& p) { return {p.x, p.y}; }
// A defined point at v, for the intermediate points of a construction.
inline PointRec PointAt(Vec2 v) {
  PointRec p;
  p.x = v.x;
  p.y = v.y;
  p.valid = kTrue;
  return p;
}
// Whether every record given is defined (any nonzero valid counts).
template <typename... Recs>
bool AllDefined(const Recs&... recs) {
  return ((recs.valid != 0) && ...);
}
// Writes a computed position and makes the point defined. A position that overflowed (not
// finite) leaves the point undefined where it was; returns whether the point was placed.
inline bool SetPosition(PointRec& out, double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) {
    out.valid = kFalse;
    return false;
  }
  out.x = x;
  out.y = y;
  out.valid = kTrue;
  return true;
}

// 2x2 matrices, m[row][col] with rows and columns 1..2 (index 0 unused).
struct Mat2 {
  double m[3][3] = {};
};
inline double Det2(const Mat2& a) { return a.m[1][1] * a.m[2][2] - a.m[2][1] * a.m[1][2]; }
inline bool Inverse2(const Mat2& a, Mat2& inverse) {
  const double det = Det2(a);
  if (std::fabs(det) < kNormTolerance) return false;
  const double f = 1 / det;
  Mat2 r;
  r.m[1][1] = f * a.m[2][2];
  r.m[1][2] = f * -a.m[1][2];
  r.m[2][1] = f * -a.m[2][1];
  r.m[2][2] = f * a.m[1][1];
  inverse = r;
  return true;
}
inline Vec2 MatVec2(const Mat2& a, Vec2 v) {
  return {a.m[1][1] * v.x + a.m[1][2] * v.y, a.m[2][1] * v.x + a.m[2][2] * v.y};
}

// Line constructions: each writes x1, y1, x2, y2, dx, dy and valid of `out`.
inline void LineDirection(LineRec& line) {
  Vec2 u{line.x2 - line.x1, line.y2 - line.y1};
  const bool ok = NormaliseVector(u);
  line.dx = u.x;
  line.dy = u.y;
  line.valid = ok ? kTrue : kFalse;
}
// The defined line from `first` along `dir` (already a unit vector), second point one unit on.
// Coordinates that overflowed leave the line undefined where it was.
inline void SetLineByDirection(LineRec& out, Vec2 first, Vec2 dir) {
  if (!std::isfinite(first.x) || !std::isfinite(first.y) || !std::isfinite(dir.x) ||
      !std::isfinite(dir.y) || !std::isfinite(first.x + dir.x) || !std::isfinite(first.y + dir.y)) {
    out.valid = kFalse;
    return;
  }
  out.x1 = first.x;
  out.y1 = first.y;
  out.dx = dir.x;
  out.dy = dir.y;
  out.x2 = first.x + dir.x;
  out.y2 = first.y + dir.y;
  out.valid = kTrue;
}
inline void LineThroughPoints(const PointRec& a, const PointRec& b, LineRec& out) {
  if (!AllDefined(a, b)) {
    out.valid = kFalse;
    return;
  }
  const double ax = a.x, ay = a.y, bx = b.x, by = b.y;
  out.x1 = ax;
  out.y1 = ay;
  out.x2 = bx;
  out.y2 = by;
  LineDirection(out);
}
void ParallelThrough(const LineRec& g, const PointRec& p, LineRec& out);
// The perpendicular to g through p, its second point the foot of p on g; `foot`, when given,
// gets that foot too (the crossing of g and the perpendicular).
void PerpendicularThrough(const LineRec& g, const PointRec& p, LineRec& out,
                          PointRec* foot = nullptr);
void PerpendicularBisector(const LineRec& s, LineRec& out);
void LineFromCoefficients(const NumberRec& a, const NumberRec& b, const NumberRec& c, LineRec& out);
inline void IntersectLines(const LineRec& g, const LineRec& h, PointRec& out) {
  if (!AllDefined(g, h)) {
    out.valid = kFalse;
    return;
  }
  // P1g + s ug = P1h + t uh, as the system [ug  -uh] (s, t) = P1h - P1g.
  Mat2 system;
  system.m[1][1] = g.dx;
  system.m[2][1] = g.dy;
  system.m[1][2] = -h.dx;
  system.m[2][2] = -h.dy;
  Mat2 inverse;
  if (!Inverse2(system, inverse)) {
    out.valid = kFalse;
    return;
  }
  const Vec2 st = MatVec2(inverse, {h.x1 - g.x1, h.y1 - g.y1});
  SetPosition(out, g.x1 + st.x * g.dx, g.y1 + st.x * g.dy);
}

// Point constructions: each writes x, y and valid of `out`.
inline bool PointDistance(const PointRec& a, const PointRec& b, double& value) {
  if (!AllDefined(a, b)) return false;
  value = Distance(PosOf(a), PosOf(b));
  return true;
}
inline void DivisionPoint(const PointRec& a, const PointRec& b, double m, double n, PointRec& out) {
  if (!AllDefined(a, b)) {
    out.valid = kFalse;
    return;
  }
  if (m + n == 0) {
    out.valid = kFalse;
    return;
  }
  const double x = (n * a.x + m * b.x) / (m + n);
  const double y = (n * a.y + m * b.y) / (m + n);
  SetPosition(out, x, y);
}
void ExtensionPoint(const PointRec& a, const PointRec& b, double t, PointRec& out);
inline void Centroid(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out) {
  if (!AllDefined(a, b, c)) {
    out.valid = kFalse;
    return;
  }
  const double x = (a.x + b.x + c.x) / 3;
  const double y = (a.y + b.y + c.y) / 3;
  SetPosition(out, x, y);
}
void Incentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out);
void Circumcentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out);
void Orthocentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out);
void Excentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out);
void NinePointCentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out);
// Centre and radius of a defined circle; an undefined centre or radius leaves the circle's
// position as it was and marks it undefined.
inline void SetCircle(CircleRec& out, const PointRec& centre, double radius, bool radiusOk) {
  if (centre.valid == 0 || !radiusOk) {
    out.valid = kFalse;
    return;
  }
  out.cx = centre.x;
  out.cy = centre.y;
  out.radius = radius;
  out.valid = kTrue;
}

// Circle about `centre` through `p`.
inline void CircleThrough(CircleRec& out, const PointRec& centre, const PointRec& p) {
  double radius = 0;
  const bool ok = PointDistance(centre, p, radius);
  SetCircle(out, centre, radius, ok);
}

void LineEndPoints(const LineRec& g, PointRec& p1, PointRec& p2);
void CircleCentrePoint(const CircleRec& c, PointRec& out);
void SwapPositions(PointRec& p, PointRec& q);
void SwapPointRecords(PointRec& p, PointRec& q);

// Point transformations (angles in degrees).
void RotatePoint(const PointRec& p, const PointRec& centre, double degrees, PointRec& out);
void ReflectInLine(const PointRec& p, const LineRec& mirror, PointRec& out);
void ReflectInPoint(const PointRec& p, const PointRec& centre, PointRec& out);
void InvertInCircle(const PointRec& p, const CircleRec& c, PointRec& out);
void TranslateByVector(const PointRec& p, const LineRec& vector, PointRec& out);
void PoleOfLine(const LineRec& g, const CircleRec& c, PointRec& out);

}  // namespace kv
