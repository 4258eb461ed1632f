// Points as complex numbers and the matrix maps fixed by point pairs (linear, affine,
// projective), and the point routine of the transformation kinds that use them.
#pragma once

#include <array>

#include "geometry/primitives.h"

namespace kv {

// 3x3 matrices, m[row][col] with rows and columns 1..3 (index 0 unused).
struct Mat3 {
  double m[4][4] = {};
};
Mat3 MatMul3(const Mat3& a, const Mat3& b);
// False when the matrix is singular (determinant 0 or not finite).
bool Inverse3(const Mat3& a, Mat3& inverse);

// A point (x, y) read as x + iy. Each writes x, y and valid of `out`.
void ComplexAdd(const PointRec& z, const PointRec& w, PointRec& out);
void ComplexSub(const PointRec& z, const PointRec& w, PointRec& out);
void ComplexMul(const PointRec& z, const PointRec& w, PointRec& out);
void ComplexDiv(const PointRec& z, const PointRec& w, PointRec& out);
void ComplexPow(const PointRec& z, const NumberRec& n, PointRec& out);
void ComplexInv(const PointRec& z, PointRec& out);

// The matrix maps. Each returns true when its matrix could be built (then `m` holds it) and
// writes the image of p into `out` (valid 0 when the image does not exist). They read
// positions only: the points that fix a map are free points, always defined.
// Linear map sending a1 to b1 and a2 to b2.
bool LinearMatrix(Vec2 a1, Vec2 a2, Vec2 b1, Vec2 b2, Mat2& m);
bool LinearMap2(Vec2 p, Vec2 a1, Vec2 a2, Vec2 b1, Vec2 b2, Mat2& m, PointRec& out);
// Affine map (homogeneous 3x3, last row 0 0 1) sending p1, p2, p3 to q1, q2, q3.
bool AffineMatrix(Vec2 p1, Vec2 p2, Vec2 p3, Vec2 q1, Vec2 q2, Vec2 q3, Mat3& m);
bool AffineMap3(Vec2 p, Vec2 p1, Vec2 p2, Vec2 p3, Vec2 q1, Vec2 q2, Vec2 q3, Mat3& m,
                PointRec& out);
// The projective frame of a quadrilateral: maps x[0..3] to the corners (0,0), (1,0), (1,1),
// (0,1) of the unit square. False for a degenerate quadrilateral.
bool ProjectiveFrame(const std::array<Vec2, 4>& x, Mat3& frame);
// Projective map sending from[i] to to[i].
bool ProjectiveMap3(Vec2 p, const std::array<Vec2, 4>& from, const std::array<Vec2, 4>& to, Mat3& m,
                    PointRec& out);

// The point maps that transformation steps of points, lines and circles share. The step maps
// its parent 1 (a line or circle through its defining points) with the map's data in parent 2:
// the centre of a rotation (by the angle in parent 3), the mirror line, the centre of a point
// reflection or the vector of a translation.
enum class PointMap : uint8_t { kRotate, kReflectInLine, kReflectInPoint, kTranslate };
// The image of p under the map of step s; undefined when p or the map's data is undefined.
void MapPoint(Figure& fig, int32_t s, PointMap map, const PointRec& p, PointRec& out);

// Recomputes step s of a transformation or complex-number kind (PT1..PT9, PO...).
void RecomputeTransformedPoint(Figure& fig, int32_t s, Kind kind);

}  // namespace kv
