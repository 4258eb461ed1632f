// The kind routines the recompute pass dispatches to, one per family of kind codes, and the
// bound-point operations. Each reads the parents of step s by slot and writes its outputs.
#pragma once

#include "model/figure.h"

namespace kv {

void RecomputePoint(Figure& fig, int32_t s);   // P... kinds, transforms, complex points
void RecomputeLine(Figure& fig, int32_t s);    // L... kinds
void RecomputeCircle(Figure& fig, int32_t s);  // C... kinds
void RecomputeNumber(Figure& fig, int32_t s);  // N... kinds

// Single kinds, for the passes that dispatch on the kind themselves.
void IntersectLineCircle(Figure& fig, int32_t s);        // PC2
void IntersectCircles(Figure& fig, int32_t s);           // PC3
void DivideOrExtend(Figure& fig, int32_t s, Kind kind);  // PN, PEXT

// Puts bound point p on its target. Returns false when it could not be placed: the target is
// undefined or degenerate, or the binding names no object; the point is then undefined.
bool ApplyBinding(Figure& fig, int32_t p);
// Sets boundParam of point p from its current position (inverse of ApplyBinding).
void SetBoundParam(Figure& fig, int32_t p);

// The signed angle A V B in degrees, (-180, 180]; records an angle mark when asked and
// fig.angleMarksOn is true.
void SignedAngle(Figure& fig, const PointRec& a, const PointRec& v, const PointRec& b,
                 NumberRec& out, bool recordMark = true);

// The angle A V B in degrees, [0, 180]; 0 (and defined) when an arm is shorter than 0.01.
void UnsignedAngle(const PointRec& a, const PointRec& v, const PointRec& b, NumberRec& out);
// The angle in radians whose cosine is x, as arctan(sqrt(1 - x^2) / x): negative for an
// obtuse angle, and 0 for x within about 5e-7 of 1 or -1.
double ClampedArccos(double x);
// Appends the mark of the angle A V B of `degrees` to fig.angleMarks while marks are on.
void RecordAngleMark(Figure& fig, const PointRec& a, const PointRec& v, double degrees);

}  // namespace kv
