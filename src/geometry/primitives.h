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

double VectorLength(Vec2 v);
double Distance(Vec2 p, Vec2 q);
double DotProduct(Vec2 v, Vec2 w);
bool NormaliseVector(Vec2& v);
double DirectionAngle(Vec2 v);
double AngleModulo(double a, double m);
bool PointsNear(Vec2 p, Vec2 q);
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
bool SetPosition(PointRec& out, double x, double y);

// 2x2 matrices, m[row][col] with rows and columns 1..2 (index 0 unused).
struct Mat2 {
  double m[3][3] = {};
};
double Det2(const Mat2& a);
bool Inverse2(const Mat2& a, Mat2& inverse);
Vec2 MatVec2(const Mat2& a, Vec2 v);

// Line constructions: each writes x1, y1, x2, y2, dx, dy and valid of `out`.
void LineDirection(LineRec& line);
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
void LineThroughPoints(const PointRec& a, const PointRec& b, LineRec& out);
void ParallelThrough(const LineRec& g, const PointRec& p, LineRec& out);
void PerpendicularThrough(const LineRec& g, const PointRec& p, LineRec& out);
void PerpendicularBisector(const LineRec& s, LineRec& out);
void LineFromCoefficients(const NumberRec& a, const NumberRec& b, const NumberRec& c, LineRec& out);
void IntersectLines(const LineRec& g, const LineRec& h, PointRec& out);

// Point constructions: each writes x, y and valid of `out`.
bool PointDistance(const PointRec& a, const PointRec& b, double& value);
void DivisionPoint(const PointRec& a, const PointRec& b, double m, double n, PointRec& out);
void ExtensionPoint(const PointRec& a, const PointRec& b, double t, PointRec& out);
void Centroid(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out);
void Incentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out);
void Circumcentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out);
void Orthocentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out);
void Excentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out);
void NinePointCentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out);
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
