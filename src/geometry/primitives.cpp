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

// --- 2x2 algebra ---

// --- Lines ---

void ParallelThrough(const LineRec& g, const PointRec& p, LineRec& out) {
  if (!AllDefined(g, p)) return Undefine(out);
  SetLineByDirection(out, PosOf(p), {g.dx, g.dy});
}

void PerpendicularThrough(const LineRec& g, const PointRec& p, LineRec& out, PointRec* foot) {
  if (!AllDefined(g, p)) {
    Undefine(out);
    if (foot != nullptr) Undefine(*foot);
    return;
  }
  // `out` may be `g`: work on a copy of its geometry (fields only, no name).
  LineRec base;
  CopyLineGeometry(g, base);
  LineRec perp;
  SetLineByDirection(perp, PosOf(p), {-base.dy, base.dx});
  // The second point is the foot on g; with unit directions the system cannot be singular.
  PointRec at;
  IntersectLines(base, perp, at);
  // A position beyond the range of doubles gives no line, and no foot.
  if (!Defined(perp.valid)) at.valid = kFalse;
  if (Defined(at.valid)) {
    perp.x2 = at.x;
    perp.y2 = at.y;
  }
  if (Defined(perp.valid))
    CopyLineGeometry(perp, out);
  else
    Undefine(out);
  if (foot == nullptr) return;
  if (Defined(at.valid))
    SetPosition(*foot, at.x, at.y);
  else
    Undefine(*foot);
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

// --- Points ---

void ExtensionPoint(const PointRec& a, const PointRec& b, double t, PointRec& out) {
  DivisionPoint(a, b, t + 1, -t, out);
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

namespace {

// The perpendicular bisector of A B as PerpendicularBisector builds it, reduced to what the
// intersection reads: its first point (the midpoint) and its direction (the unit direction of
// A -> B turned +90 degrees). False where that construction leaves an undefined line or one
// without a direction: A and B closer than 0.01, or coordinates beyond the range of doubles.
bool BisectorOf(const PointRec& a, const PointRec& b, Vec2& mid, Vec2& dir) {
  Vec2 u{b.x - a.x, b.y - a.y};
  if (!NormaliseVector(u)) return false;
  mid = {(a.x + b.x) / 2, (a.y + b.y) / 2};
  dir = {-u.y, u.x};
  return std::isfinite(mid.x) && std::isfinite(mid.y) && std::isfinite(dir.x) &&
         std::isfinite(dir.y) && std::isfinite(mid.x + dir.x) && std::isfinite(mid.y + dir.y);
}

}  // namespace

void Circumcentre(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out) {
  if (!AllDefined(a, b, c)) return Undefine(out);
  // The intersection of the bisectors of AB and AC with the arithmetic of IntersectLines, so
  // that the centre matches the line construction to the last bit without building the lines.
  Vec2 gm, g, hm, h;
  if (!BisectorOf(a, b, gm, g) || !BisectorOf(a, c, hm, h)) return Undefine(out);
  const double m12 = -h.x, m22 = -h.y;
  const double det = g.x * m22 - g.y * m12;
  if (std::fabs(det) < kNormTolerance) return Undefine(out);
  const double f = 1 / det;
  const double s = (f * m22) * (hm.x - gm.x) + (f * -m12) * (hm.y - gm.y);
  SetPosition(out, gm.x + s * g.x, gm.y + s * g.y);
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
