// Transformation kinds of points (rotation, reflections, inversion, translation, pole), the
// complex-number points and the matrix maps fixed by point pairs.
#include "geometry/point_transforms.h"

#include <cmath>

#include "geometry/recompute.h"
#include "geometry/step_records.h"

namespace kv {

namespace {

Mat3 Identity3() {
  Mat3 a;
  a.m[1][1] = a.m[2][2] = a.m[3][3] = 1;
  return a;
}

// Row 3 of a projective frame: the vanishing line of the quadrilateral written as
// a x + b y + c = 0, or (0, 0, 1) when both pairs of opposite sides are parallel.
bool VanishingRow(const std::array<PointRec, 4>& x, double row[3]) {
  LineRec side12, side23, side34, side41;
  LineThroughPoints(x[0], x[1], side12);
  LineThroughPoints(x[1], x[2], side23);
  LineThroughPoints(x[2], x[3], side34);
  LineThroughPoints(x[3], x[0], side41);
  PointRec e, g;
  IntersectLines(side12, side34, e);
  IntersectLines(side23, side41, g);
  if (e.valid == 0 && g.valid == 0) {
    row[0] = 0, row[1] = 0, row[2] = 1;
    return true;
  }
  LineRec h;
  if (e.valid != 0 && g.valid != 0)
    LineThroughPoints(e, g, h);
  else if (e.valid != 0)
    ParallelThrough(side23, e, h);
  else
    ParallelThrough(side12, g, h);
  if (h.valid == 0) return false;
  const double ux = h.dx, uy = h.dy;
  const double k = h.y1 * ux - h.x1 * uy;
  if (std::fabs(k) >= kNormTolerance) {
    row[0] = uy / k, row[1] = -ux / k, row[2] = 1;
  } else {
    row[0] = uy, row[1] = -ux, row[2] = 0;
  }
  return true;
}

// A vertex on the vanishing line would be sent to infinity: the frame would be singular.
bool OffVanishingLine(const double row[3], Vec2 p, double& w) {
  w = row[0] * p.x + row[1] * p.y + row[2];
  const double scale = std::fabs(row[0] * p.x) + std::fabs(row[1] * p.y) + std::fabs(row[2]);
  return std::fabs(w) > 1e-9 * scale;
}

// Outputs first..last of step s take the matrix entries from `entries` on, in order.
void StoreNumbers(Figure& fig, int32_t s, int first, int last, const double* entries) {
  for (int k = first; k <= last; ++k) {
    NumberRec& n = OutputNumber(fig, s, k);
    n.value = entries[k - first];
    n.valid = kTrue;
  }
}

// The nine matrix numbers of an affine or projective map: four on the map step (outputs
// 2..5), five on its continuation step.
void StoreMatrixNumbers(Figure& fig, int32_t s, const double entries[9]) {
  StoreNumbers(fig, s, 2, 5, entries);
  StoreNumbers(fig, s + 1, 1, 5, entries + 4);
}

void ShowMatrix(Figure& fig, int32_t s, Kind kind, int size, const double* entries) {
  RecomputeHooks* hooks = fig.pass.hooks;
  if (fig.pass.currentKind == kind && hooks != nullptr && hooks->ShowsMatrices())
    hooks->InspectMatrix(kind, s, size, size, entries);
}

Vec2 ParentPos(Figure& fig, int32_t s, int k) { return PosOf(ParentPoint(fig, s, k)); }

void LinearMapStep(Figure& fig, int32_t s) {
  PointRec& out = OutputPoint(fig, s, 1);
  Mat2 m;
  if (!LinearMap2(ParentPos(fig, s, 1), ParentPos(fig, s, 2), ParentPos(fig, s, 3),
                  ParentPos(fig, s, 4), ParentPos(fig, s, 5), m, out))
    return;
  const double entries[4] = {m.m[1][1], m.m[1][2], m.m[2][1], m.m[2][2]};
  StoreNumbers(fig, s, 2, 5, entries);
  ShowMatrix(fig, s, Kind::kPT5, 2, entries);
}

void Flatten(const Mat3& m, double entries[9]) {
  for (int r = 1; r <= 3; ++r)
    for (int c = 1; c <= 3; ++c) entries[(r - 1) * 3 + (c - 1)] = m.m[r][c];
}

void AffineMapStep(Figure& fig, int32_t s) {
  PointRec& out = OutputPoint(fig, s, 1);
  // The two remaining images and the last five matrix numbers live on the next step.
  if (!StepSlotsValid(fig, s + 1, "PP", "NNNNN") || fig.KindOf(s + 1) != Kind::kPT62) {
    out.valid = kFalse;
    return;
  }
  Mat3 m;
  if (!AffineMap3(ParentPos(fig, s, 1), ParentPos(fig, s, 2), ParentPos(fig, s, 3),
                  ParentPos(fig, s, 4), ParentPos(fig, s, 5), ParentPos(fig, s + 1, 1),
                  ParentPos(fig, s + 1, 2), m, out))
    return;
  double entries[9];
  Flatten(m, entries);
  StoreMatrixNumbers(fig, s, entries);
  ShowMatrix(fig, s, Kind::kPT6, 3, entries);
}

void ProjectiveMapStep(Figure& fig, int32_t s) {
  PointRec& out = OutputPoint(fig, s, 1);
  if (!StepSlotsValid(fig, s + 1, "PPPP", "NNNNN") || fig.KindOf(s + 1) != Kind::kPT62) {
    out.valid = kFalse;
    return;
  }
  const std::array<Vec2, 4> from = {ParentPos(fig, s, 2), ParentPos(fig, s, 3),
                                    ParentPos(fig, s, 4), ParentPos(fig, s, 5)};
  const std::array<Vec2, 4> to = {ParentPos(fig, s + 1, 1), ParentPos(fig, s + 1, 2),
                                  ParentPos(fig, s + 1, 3), ParentPos(fig, s + 1, 4)};
  Mat3 m;
  if (!ProjectiveMap3(ParentPos(fig, s, 1), from, to, m, out)) return;
  // The matrix is stored even when the image point lies at infinity.
  double entries[9];
  Flatten(m, entries);
  StoreMatrixNumbers(fig, s, entries);
  ShowMatrix(fig, s, Kind::kPT7, 3, entries);
}

}  // namespace

// --- 3x3 algebra ---

Mat3 MatMul3(const Mat3& a, const Mat3& b) {
  Mat3 r;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      r.m[i][j] = a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
  return r;
}

bool Inverse3(const Mat3& a, Mat3& inverse) {
  const auto& m = a.m;
  const double c11 = m[2][2] * m[3][3] - m[2][3] * m[3][2];
  const double c12 = m[2][3] * m[3][1] - m[2][1] * m[3][3];
  const double c13 = m[2][1] * m[3][2] - m[2][2] * m[3][1];
  const double det = m[1][1] * c11 + m[1][2] * c12 + m[1][3] * c13;
  if (det == 0 || !std::isfinite(det)) return false;
  Mat3 r;
  r.m[1][1] = c11 / det;
  r.m[2][1] = c12 / det;
  r.m[3][1] = c13 / det;
  r.m[1][2] = (m[1][3] * m[3][2] - m[1][2] * m[3][3]) / det;
  r.m[2][2] = (m[1][1] * m[3][3] - m[1][3] * m[3][1]) / det;
  r.m[3][2] = (m[1][2] * m[3][1] - m[1][1] * m[3][2]) / det;
  r.m[1][3] = (m[1][2] * m[2][3] - m[1][3] * m[2][2]) / det;
  r.m[2][3] = (m[1][3] * m[2][1] - m[1][1] * m[2][3]) / det;
  r.m[3][3] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
  inverse = r;
  return true;
}

// --- Complex-number points ---

void ComplexAdd(const PointRec& z, const PointRec& w, PointRec& out) {
  if (!AllDefined(z, w)) {
    out.valid = kFalse;
    return;
  }
  SetPosition(out, z.x + w.x, z.y + w.y);
}

void ComplexSub(const PointRec& z, const PointRec& w, PointRec& out) {
  if (!AllDefined(z, w)) {
    out.valid = kFalse;
    return;
  }
  SetPosition(out, z.x - w.x, z.y - w.y);
}

void ComplexMul(const PointRec& z, const PointRec& w, PointRec& out) {
  if (!AllDefined(z, w)) {
    out.valid = kFalse;
    return;
  }
  SetPosition(out, z.x * w.x - z.y * w.y, z.y * w.x + z.x * w.y);
}

void ComplexDiv(const PointRec& z, const PointRec& w, PointRec& out) {
  // The divisor is refused per coordinate, not by its modulus.
  if (!AllDefined(z, w) || (std::fabs(w.x) < kNormTolerance && std::fabs(w.y) < kNormTolerance)) {
    out.valid = kFalse;
    return;
  }
  const double d = w.x * w.x + w.y * w.y;
  SetPosition(out, (z.x * w.x + z.y * w.y) / d, (z.y * w.x - z.x * w.y) / d);
}

void ComplexPow(const PointRec& z, const NumberRec& n, PointRec& out) {
  if (z.valid == 0 || n.valid == 0) {
    out.valid = kFalse;
    return;
  }
  const double rho = std::sqrt(z.x * z.x + z.y * z.y);
  if (rho == 0 && n.value < 0) {  // zero to a negative power has no value
    out.valid = kFalse;
    return;
  }
  double theta = 0;
  if (z.x != 0) {
    theta = std::atan(z.y / z.x);
    if (z.x < 0) theta = theta + kPi;
  } else if (z.y > 0) {
    theta = kHalfPi;
  } else if (z.y < 0) {
    theta = -kHalfPi;
  }
  if (rho != 0) theta = AngleModulo(theta + kFourPi, kTwoPi);
  const double power = std::pow(rho, n.value);
  SetPosition(out, power * std::cos(n.value * theta), power * std::sin(n.value * theta));
}

void ComplexInv(const PointRec& z, PointRec& out) {
  if (z.valid == 0 || (std::fabs(z.x) < kNormTolerance && std::fabs(z.y) < kNormTolerance)) {
    out.valid = kFalse;
    return;
  }
  const double d = z.x * z.x + z.y * z.y;
  SetPosition(out, z.x / d, -z.y / d);
}

// --- Matrix maps ---

bool LinearMatrix(Vec2 a1, Vec2 a2, Vec2 b1, Vec2 b2, Mat2& m) {
  Mat2 source, target, inverse;
  source.m[1][1] = a1.x, source.m[2][1] = a1.y, source.m[1][2] = a2.x, source.m[2][2] = a2.y;
  target.m[1][1] = b1.x, target.m[2][1] = b1.y, target.m[1][2] = b2.x, target.m[2][2] = b2.y;
  if (!Inverse2(source, inverse)) return false;
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j)
      m.m[i][j] = target.m[i][1] * inverse.m[1][j] + target.m[i][2] * inverse.m[2][j];
  return true;
}

bool LinearMap2(Vec2 p, Vec2 a1, Vec2 a2, Vec2 b1, Vec2 b2, Mat2& m, PointRec& out) {
  if (!LinearMatrix(a1, a2, b1, b2, m)) {
    out.valid = kFalse;
    return false;
  }
  const Vec2 image = MatVec2(m, p);
  SetPosition(out, image.x, image.y);
  return true;
}

bool AffineMatrix(Vec2 p1, Vec2 p2, Vec2 p3, Vec2 q1, Vec2 q2, Vec2 q3, Mat3& m) {
  Mat2 linear;
  if (!LinearMatrix({p2.x - p1.x, p2.y - p1.y}, {p3.x - p1.x, p3.y - p1.y},
                    {q2.x - q1.x, q2.y - q1.y}, {q3.x - q1.x, q3.y - q1.y}, linear))
    return false;
  // Move p1 to the origin, apply the linear part, move the origin to q1.
  Mat3 toOrigin = Identity3(), fromOrigin = Identity3(), lin = Identity3();
  toOrigin.m[1][3] = -p1.x;
  toOrigin.m[2][3] = -p1.y;
  fromOrigin.m[1][3] = q1.x;
  fromOrigin.m[2][3] = q1.y;
  lin.m[1][1] = linear.m[1][1], lin.m[1][2] = linear.m[1][2];
  lin.m[2][1] = linear.m[2][1], lin.m[2][2] = linear.m[2][2];
  m = MatMul3(MatMul3(fromOrigin, lin), toOrigin);
  return true;
}

bool AffineMap3(Vec2 p, Vec2 p1, Vec2 p2, Vec2 p3, Vec2 q1, Vec2 q2, Vec2 q3, Mat3& m,
                PointRec& out) {
  if (!AffineMatrix(p1, p2, p3, q1, q2, q3, m)) {
    out.valid = kFalse;
    return false;
  }
  SetPosition(out, m.m[1][1] * p.x + m.m[1][2] * p.y + m.m[1][3],
              m.m[2][1] * p.x + m.m[2][2] * p.y + m.m[2][3]);
  return true;
}

bool ProjectiveFrame(const std::array<Vec2, 4>& x, Mat3& frame) {
  const std::array<PointRec, 4> corners = {PointAt(x[0]), PointAt(x[1]), PointAt(x[2]),
                                           PointAt(x[3])};
  double row[3];
  if (!VanishingRow(corners, row)) return false;
  double w1 = 0, w2 = 0, w4 = 0;
  if (!OffVanishingLine(row, x[0], w1) || !OffVanishingLine(row, x[1], w2) ||
      !OffVanishingLine(row, x[3], w4))
    return false;
  // X1 -> (0, 0), X2 -> (w2, 0), X4 -> (0, w4): after division by row 3 they become the
  // corners of the unit square, and X3 follows to (1, 1).
  Mat3 affine;
  if (!AffineMatrix(x[0], x[1], x[3], {0, 0}, {w2, 0}, {0, w4}, affine)) return false;
  frame = affine;
  frame.m[3][1] = row[0];
  frame.m[3][2] = row[1];
  frame.m[3][3] = row[2];
  return true;
}

bool ProjectiveMap3(Vec2 p, const std::array<Vec2, 4>& from, const std::array<Vec2, 4>& to, Mat3& m,
                    PointRec& out) {
  Mat3 frameFrom, frameTo, inverseTo;
  if (!ProjectiveFrame(from, frameFrom) || !ProjectiveFrame(to, frameTo) ||
      !Inverse3(frameTo, inverseTo)) {
    out.valid = kFalse;
    return false;
  }
  m = MatMul3(inverseTo, frameFrom);
  const double u = m.m[1][1] * p.x + m.m[1][2] * p.y + m.m[1][3];
  const double v = m.m[2][1] * p.x + m.m[2][2] * p.y + m.m[2][3];
  const double w = m.m[3][1] * p.x + m.m[3][2] * p.y + m.m[3][3];
  if (std::fabs(w) < kNormTolerance) {
    out.valid = kFalse;  // sent to infinity or too near it
  } else {
    SetPosition(out, u / w, v / w);
  }
  return true;
}

// --- The kind routines ---

void MapPoint(Figure& fig, int32_t s, PointMap map, const PointRec& p, PointRec& out) {
  switch (map) {
    case PointMap::kRotate: {
      const NumberRec& angle = ParentNumber(fig, s, 3);
      if (angle.valid == 0) {
        out.valid = kFalse;
        return;
      }
      RotatePoint(p, ParentPoint(fig, s, 2), angle.value, out);
      return;
    }
    case PointMap::kReflectInLine:
      ReflectInLine(p, ParentLine(fig, s, 2), out);
      return;
    case PointMap::kReflectInPoint:
      ReflectInPoint(p, ParentPoint(fig, s, 2), out);
      return;
    case PointMap::kTranslate:
      TranslateByVector(p, ParentLine(fig, s, 2), out);
      return;
  }
}

void RecomputeTransformedPoint(Figure& fig, int32_t s, Kind kind) {
  PointRec& out = OutputPoint(fig, s, 1);
  switch (kind) {
    case Kind::kPT1:
      MapPoint(fig, s, PointMap::kRotate, ParentPoint(fig, s, 1), out);
      break;
    case Kind::kPT2:
      MapPoint(fig, s, PointMap::kReflectInLine, ParentPoint(fig, s, 1), out);
      break;
    case Kind::kPT3:
      MapPoint(fig, s, PointMap::kReflectInPoint, ParentPoint(fig, s, 1), out);
      break;
    case Kind::kPT4:
      InvertInCircle(ParentPoint(fig, s, 1), ParentCircle(fig, s, 2), out);
      break;
    case Kind::kPT5:
      LinearMapStep(fig, s);
      break;
    case Kind::kPT6:
      AffineMapStep(fig, s);
      break;
    case Kind::kPT7:
      ProjectiveMapStep(fig, s);
      break;
    case Kind::kPT8:
      MapPoint(fig, s, PointMap::kTranslate, ParentPoint(fig, s, 1), out);
      break;
    case Kind::kPT9:
      PoleOfLine(ParentLine(fig, s, 1), ParentCircle(fig, s, 2), out);
      break;
    case Kind::kPOAdd:
      ComplexAdd(ParentPoint(fig, s, 1), ParentPoint(fig, s, 2), out);
      break;
    case Kind::kPOSub:
      ComplexSub(ParentPoint(fig, s, 1), ParentPoint(fig, s, 2), out);
      break;
    case Kind::kPOMul:
      ComplexMul(ParentPoint(fig, s, 1), ParentPoint(fig, s, 2), out);
      break;
    case Kind::kPODiv:
      ComplexDiv(ParentPoint(fig, s, 1), ParentPoint(fig, s, 2), out);
      break;
    case Kind::kPOPow:
      ComplexPow(ParentPoint(fig, s, 1), ParentNumber(fig, s, 2), out);
      break;
    case Kind::kPOInv:
      ComplexInv(ParentPoint(fig, s, 1), out);
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
      break;
  }
}

}  // namespace kv
