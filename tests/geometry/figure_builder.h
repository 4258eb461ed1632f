// Small helpers that build figures for the geometry tests: free points and variables as the
// construction commands make them, lines and circles as fixed records without a step, and the
// position check the point tests share.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <utility>

#include "geometry/primitives.h"
#include "geometry/recompute.h"
#include "model/figure.h"

namespace kv::testing {

inline ObjRef Pt(int32_t i) { return {kClassPoint, i}; }
inline ObjRef Ln(int32_t i) { return {kClassLine, i}; }
inline ObjRef Ci(int32_t i) { return {kClassCircle, i}; }
inline ObjRef Nm(int32_t i) { return {kClassNumber, i}; }

// A draggable free point made by its own step.
inline int32_t FreePoint(Figure& fig, double x, double y) {
  const int32_t p = fig.AllocObject(kClassPoint);
  fig.AppendStep("PNEW", {}, {Pt(p)});
  PointRec& rec = fig.points[p];
  rec.x = x;
  rec.y = y;
  rec.valid = kTrue;
  rec.free = kTrue;
  return p;
}

// An independent variable (no step refers to it as an output).
inline int32_t Variable(Figure& fig, double value, int32_t valid = kTrue) {
  const int32_t n = fig.AllocObject(kClassNumber);
  fig.numbers[n].value = value;
  fig.numbers[n].valid = valid;
  fig.numbers[n].independent = kTrue;
  return n;
}

// Moves a line record to new defining points (direction and valid follow).
inline void SetLine(LineRec& rec, double x1, double y1, double x2, double y2) {
  rec.x1 = x1, rec.y1 = y1, rec.x2 = x2, rec.y2 = y2;
  LineDirection(rec);
}

// A line record set directly; it keeps its values through a recompute.
inline int32_t FixedLine(Figure& fig, double x1, double y1, double x2, double y2,
                         int32_t lineType = 0) {
  const int32_t g = fig.AllocObject(kClassLine);
  LineRec& rec = fig.lines[g];
  rec.lineType = lineType;
  SetLine(rec, x1, y1, x2, y2);
  return g;
}

inline int32_t FixedCircle(Figure& fig, double cx, double cy, double r) {
  const int32_t c = fig.AllocObject(kClassCircle);
  CircleRec& rec = fig.circles[c];
  rec.cx = cx, rec.cy = cy, rec.radius = r, rec.valid = kTrue;
  return c;
}

// A constructed point: the single output of a step of the given kind.
inline int32_t Construct(Figure& fig, std::string_view code,
                         std::initializer_list<ObjRef> parents) {
  const int32_t p = fig.AllocObject(kClassPoint);
  fig.AppendStep(code, parents, {Pt(p)});
  return p;
}

// The two output points of an intersection step of the given kind.
inline std::pair<int32_t, int32_t> IntersectionPoints(Figure& fig, std::string_view code,
                                                      std::initializer_list<ObjRef> parents) {
  const int32_t p = fig.AllocObject(kClassPoint), q = fig.AllocObject(kClassPoint);
  fig.AppendStep(code, parents, {Pt(p), Pt(q)});
  return {p, q};
}

// A free point bound to `target` at `param`; the caller adds its PBND step where it wants one.
inline int32_t BoundPoint(Figure& fig, ObjRef target, double param = 0) {
  const int32_t p = fig.AllocObject(kClassPoint);
  PointRec& rec = fig.points[p];
  rec.free = kTrue;
  rec.valid = kTrue;
  rec.boundClass = target.cls;
  rec.boundIndex = target.index;
  rec.boundParam = param;
  return p;
}

// A defined point at (x, y).
inline void ExpectAt(const PointRec& p, double x, double y, double eps = 1e-9) {
  EXPECT_NE(p.valid, 0);
  EXPECT_NEAR(p.x, x, eps);
  EXPECT_NEAR(p.y, y, eps);
}

// Counts the calls the recompute makes to its surroundings.
class CountingHooks : public RecomputeHooks {
 public:
  int beeps = 0;
  int matrices = 0;
  Kind lastKind = Kind::kNone;
  int lastRows = 0;
  double lastEntries[9] = {};
  bool showMatrices = false;
  void Beep() override { ++beeps; }
  bool ShowsMatrices() const override { return showMatrices; }
  void InspectMatrix(Kind kind, int /*step*/, int rows, int cols, const double* entries) override {
    ++matrices;
    lastKind = kind;
    lastRows = rows;
    for (int i = 0; i < rows * cols && i < 9; ++i) lastEntries[i] = entries[i];
  }
};

}  // namespace kv::testing
