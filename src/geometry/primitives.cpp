// Shared geometric operations. The order of the arithmetic is kept as the figures were always
// computed, so that positions match to the last bit across versions and saved figures.
#include "geometry/primitives.h"

#include <cmath>
#include <utility>

namespace kv {

namespace {

bool Defined(int32_t valid) { return valid != 0; }

// Copies the position and direction of a defined line, without its name and display fields.
void CopyLineGeometry(const LineRec& from, LineRec& to) {
  to.x1 = from.x1;
  to.y1 = from.y1;
  to.x2 = from.x2;
  to.y2 = from.y2;
  to.dx = from.dx;
  to.dy = from.dy;
  to.valid = kTrue;
}

NumberRec MakeNumber(double value) {
  NumberRec n;
  n.value = value;
  n.valid = kTrue;
  return n;
}

void Undefine(PointRec& out) { out.valid = kFalse; }
void Undefine(LineRec& out) { out.valid = kFalse; }

}  // namespace

// --- Vectors ---

double VectorLength(Vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }

double Distance(Vec2 p, Vec2 q) {
  return std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y));
}

double DotProduct(Vec2 v, Vec2 w) { return v.x * w.x + v.y * w.y; }

bool NormaliseVector(Vec2& v) {
  const double length = VectorLength(v);
  if (length < kNormTolerance) return false;
  v.x = v.x / length;
  v.y = v.y / length;
  return true;
}

double DirectionAngle(Vec2 v) {
  Vec2 u = v;
  if (!NormaliseVector(u)) return 0;
  if (u.x != 0) {
    double a = std::atan(u.y / u.x);
    if (u.x < 0) a = a + kPi;
    return AngleModulo(a, kTwoPi);
  }
  // Straight down stays at -pi/2: callers only compare or take sines of it.
  return u.y > 0 ? kHalfPi : -kHalfPi;
}

double AngleModulo(double a, double m) {
  // Both operands are rounded (halves to even) before the whole-number division.
  const double roundedA = std::nearbyint(a);
  const double roundedM = std::nearbyint(m);
  const double q = roundedM == 0 ? 0 : std::trunc(roundedA / roundedM);
  double r = a - q * m;
  if (r < 0) r = r + m;
  return r;
}

bool SetPosition(PointRec& out, double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) {
    out.valid = kFalse;
    return false;
  }
  out.x = x;
  out.y = y;
  out.valid = kTrue;
  return true;
}

bool PointsNear(Vec2 p, Vec2 q) {
  return std::fabs(p.x - q.x) + std::fabs(p.y - q.y) < kNearTolerance;
}

// --- 2x2 algebra ---

double Det2(const Mat2& a) { return a.m[1][1] * a.m[2][2] - a.m[2][1] * a.m[1][2]; }

bool Inverse2(const Mat2& a, Mat2& inverse) {
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

Vec2 MatVec2(const Mat2& a, Vec2 v) {
  return {a.m[1][1] * v.x + a.m[1][2] * v.y, a.m[2][1] * v.x + a.m[2][2] * v.y};
}

// --- Lines ---

void LineDirection(LineRec& line) {
  Vec2 u{line.x2 - line.x1, line.y2 - line.y1};
  const bool ok = NormaliseVector(u);
  line.dx = u.x;
  line.dy = u.y;
  line.valid = ok ? kTrue : kFalse;
}

void LineThroughPoints(const PointRec& a, const PointRec& b, LineRec& out) {
  if (!AllDefined(a, b)) return Undefine(out);
  const double ax = a.x, ay = a.y, bx = b.x, by = b.y;
  out.x1 = ax;
  out.y1 = ay;
  out.x2 = bx;
  out.y2 = by;
  LineDirection(out);
}

void ParallelThrough(const LineRec& g, const PointRec& p, LineRec& out) {
  if (!AllDefined(g, p)) return Undefine(out);
  SetLineByDirection(out, PosOf(p), {g.dx, g.dy});
}

void PerpendicularThrough(const LineRec& g, const PointRec& p, LineRec& out) {
  if (!AllDefined(g, p)) return Undefine(out);
  // `out` may be `g`: work on a copy of its geometry (fields only, no name).
  LineRec base;
  CopyLineGeometry(g, base);
  LineRec perp;
  SetLineByDirection(perp, PosOf(p), {-base.dy, base.dx});
  // The second point is the foot on g; with unit directions the system cannot be singular.
  PointRec foot;
  IntersectLines(base, perp, foot);
  if (Defined(foot.valid)) {
    perp.x2 = foot.x;
    perp.y2 = foot.y;
  }
  CopyLineGeometry(perp, out);
}

void PerpendicularBisector(const LineRec& s, LineRec& out) {
  if (!Defined(s.valid)) return Undefine(out);
  const PointRec mid = PointAt({(s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2});
  PerpendicularThrough(s, mid, out);
  out.x2 = mid.x + out.dx;
  out.y2 = mid.y + out.dy;
}

void LineFromCoefficients(const NumberRec& a, const NumberRec& b, const NumberRec& c,
                          LineRec& out) {
  if (!AllDefined(a, b, c)) return Undefine(out);
  const double av = a.value, bv = b.value, cv = c.value;
  if (av == 0 && bv == 0) return Undefine(out);
  Vec2 u{bv, -av};
  if (!NormaliseVector(u)) return Undefine(out);
  SetLineByDirection(out, bv == 0 ? Vec2{-cv / av, 0} : Vec2{0, -cv / bv}, u);
}

void IntersectLines(const LineRec& g, const LineRec& h, PointRec& out) {
  if (!AllDefined(g, h)) return Undefine(out);
  // P1g + s ug = P1h + t uh, as the system [ug  -uh] (s, t) = P1h - P1g.
  Mat2 system;
  system.m[1][1] = g.dx;
  system.m[2][1] = g.dy;
  system.m[1][2] = -h.dx;
  system.m[2][2] = -h.dy;
  Mat2 inverse;
  if (!Inverse2(system, inverse)) return Undefine(out);
  const Vec2 st = MatVec2(inverse, {h.x1 - g.x1, h.y1 - g.y1});
  SetPosition(out, g.x1 + st.x * g.dx, g.y1 + st.x * g.dy);
}

// --- Points ---

bool PointDistance(const PointRec& a, const PointRec& b, double& value) {
  if (!AllDefined(a, b)) return false;
  value = Distance(PosOf(a), PosOf(b));
  return true;
}

void DivisionPoint(const PointRec& a, const PointRec& b, double m, double n, PointRec& out) {
  if (!AllDefined(a, b)) return Undefine(out);
  if (m + n == 0) return Undefine(out);
  const double x = (n * a.x + m * b.x) / (m + n);
  const double y = (n * a.y + m * b.y) / (m + n);
  SetPosition(out, x, y);
}

void ExtensionPoint(const PointRec& a, const PointRec& b, double t, PointRec& out) {
  DivisionPoint(a, b, t + 1, -t, out);
}

void Centroid(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out) {
  if (!AllDefined(a, b, c)) return Undefine(out);
  const double x = (a.x + b.x + c.x) / 3;
  const double y = (a.y + b.y + c.y) / 3;
  SetPosition(out, x, y);
}

void Incentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out) {
  if (!AllDefined(a, b, c)) return Undefine(out);
  double la = 0, lb = 0, lc = 0;
  PointDistance(b, c, la);
  PointDistance(c, a, lb);
  PointDistance(a, b, lc);
  const double sum = la + lb + lc;
  double x = a.x, y = a.y;  // all three coincide: the centre is that point
  if (sum != 0) {
    x = (la * a.x + lb * b.x + lc * c.x) / sum;
    y = (la * a.y + lb * b.y + lc * c.y) / sum;
  }
  SetPosition(out, x, y);
}

void Circumcentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out) {
  if (!AllDefined(a, b, c)) return Undefine(out);
  LineRec ab, ac, bisectAB, bisectAC;
  LineThroughPoints(a, b, ab);
  LineThroughPoints(a, c, ac);
  PerpendicularBisector(ab, bisectAB);
  PerpendicularBisector(ac, bisectAC);
  IntersectLines(bisectAB, bisectAC, out);
}

void Orthocentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out) {
  if (!AllDefined(a, b, c)) return Undefine(out);
  LineRec ab, ac, altitudeC, altitudeB;
  LineThroughPoints(a, b, ab);
  LineThroughPoints(a, c, ac);
  PerpendicularThrough(ab, c, altitudeC);
  PerpendicularThrough(ac, b, altitudeB);
  IntersectLines(altitudeC, altitudeB, out);
}

void Excentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out) {
  if (!AllDefined(a, b, c)) return Undefine(out);
  // Internal bisector at A meets the external bisector at B (the bisector of the angle
  // between BC and AB extended beyond B).
  PointRec d, inA, inD;
  ExtensionPoint(a, b, 1, d);
  Incentre(a, b, c, inA);
  Incentre(d, b, c, inD);
  LineRec bisectA, bisectB;
  LineThroughPoints(a, inA, bisectA);
  LineThroughPoints(b, inD, bisectB);
  IntersectLines(bisectA, bisectB, out);
}

void NinePointCentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out) {
  if (!AllDefined(a, b, c)) return Undefine(out);
  PointRec mab, mbc, mca;
  DivisionPoint(a, b, 1, 1, mab);
  DivisionPoint(b, c, 1, 1, mbc);
  DivisionPoint(c, a, 1, 1, mca);
  Circumcentre(mab, mbc, mca, out);
}

void LineEndPoints(const LineRec& g, PointRec& p1, PointRec& p2) {
  if (!Defined(g.valid)) {
    Undefine(p1);
    Undefine(p2);
    return;
  }
  const double x1 = g.x1, y1 = g.y1, x2 = g.x2, y2 = g.y2;
  p1.x = x1;
  p1.y = y1;
  p1.valid = kTrue;
  p2.x = x2;
  p2.y = y2;
  p2.valid = kTrue;
}

void CircleCentrePoint(const CircleRec& c, PointRec& out) {
  if (!Defined(c.valid)) return Undefine(out);
  out.x = c.cx;
  out.y = c.cy;
  out.valid = kTrue;
}

void SwapPositions(PointRec& p, PointRec& q) {
  std::swap(p.x, q.x);
  std::swap(p.y, q.y);
}

void SwapPointRecords(PointRec& p, PointRec& q) { std::swap(p, q); }

// --- Point transformations ---

void RotatePoint(const PointRec& p, const PointRec& centre, double degrees, PointRec& out) {
  if (!AllDefined(p, centre)) return Undefine(out);
  const double t = degrees * kPi / 180;
  const double ox = centre.x, oy = centre.y, px = p.x, py = p.y;
  SetPosition(out, ox + (px - ox) * std::cos(t) - (py - oy) * std::sin(t),
              oy + (px - ox) * std::sin(t) + (py - oy) * std::cos(t));
}

void ReflectInLine(const PointRec& p, const LineRec& mirror, PointRec& out) {
  if (!AllDefined(p, mirror)) return Undefine(out);
  LineRec perp;
  PerpendicularThrough(mirror, p, perp);
  const double px = p.x, py = p.y;
  SetPosition(out, 2 * perp.x2 - px, 2 * perp.y2 - py);
}

void ReflectInPoint(const PointRec& p, const PointRec& centre, PointRec& out) {
  ExtensionPoint(p, centre, 1, out);
}

void InvertInCircle(const PointRec& p, const CircleRec& c, PointRec& out) {
  if (!AllDefined(p, c)) return Undefine(out);
  // The image is the foot of P on its polar: a X + b Y = r^2 around the centre.
  const double a = p.x - c.cx, b = p.y - c.cy;
  LineRec polar;
  LineFromCoefficients(MakeNumber(a), MakeNumber(b), MakeNumber(-(c.radius * c.radius)), polar);
  if (!Defined(polar.valid)) return Undefine(out);
  polar.x1 = polar.x1 + c.cx;
  polar.y1 = polar.y1 + c.cy;
  polar.x2 = polar.x2 + c.cx;
  polar.y2 = polar.y2 + c.cy;
  LineRec perp;
  PerpendicularThrough(polar, p, perp);
  SetPosition(out, perp.x2, perp.y2);
}

void TranslateByVector(const PointRec& p, const LineRec& vector, PointRec& out) {
  if (!AllDefined(p, vector)) return Undefine(out);
  const double x = p.x + (vector.x2 - vector.x1);
  const double y = p.y + (vector.y2 - vector.y1);
  SetPosition(out, x, y);
}

void PoleOfLine(const LineRec& g, const CircleRec& c, PointRec& out) {
  if (!AllDefined(g, c)) return Undefine(out);
  // g as a x + b y + k = 0 with (a, b) a unit normal.
  const double a = g.dy, b = -g.dx;
  const double k = g.dx * g.y1 - g.dy * g.x1;
  const double d = a * c.cx + b * c.cy + k;
  if (d == 0) return Undefine(out);
  const double r2 = c.radius * c.radius;
  SetPosition(out, c.cx - r2 * a / d, c.cy - r2 * b / d);
}

}  // namespace kv
