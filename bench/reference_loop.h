// The reference the engine is measured against: the generated figure copied into flat arrays
// and recomputed by a plain table-driven loop, with no validity, slot or binding checks and
// the same formulas. It is what the engine would cost with nothing but the arithmetic.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "expr/evaluator.h"
#include "model/figure.h"

namespace kv::bench {

class ReferenceLoop {
 public:
  explicit ReferenceLoop(const Figure& fig) {
    px_.resize(fig.points.size()), py_.resize(fig.points.size());
    for (size_t i = 0; i < fig.points.size(); ++i)
      px_[i] = fig.points[i].x, py_[i] = fig.points[i].y;
    lines_.resize(fig.lines.size());
    circles_.resize(fig.circles.size());
    numbers_.resize(fig.numbers.size());
    for (size_t i = 0; i < fig.numbers.size(); ++i) numbers_[i] = fig.numbers[i].value;
    for (int32_t s = 1; s <= fig.StepCount(); ++s) {
      Op op{fig.KindOf(s), {}, {}};
      for (int k = 0; k < 4; ++k) op.in[k] = fig.Parent(s, k + 1).index;
      for (int k = 0; k < 2; ++k) op.out[k] = fig.Output(s, k + 1).index;
      if (op.kind == Kind::kCALC) {
        int k = 0;
        ForEachOperand(fig.numbers[op.out[0]].expression, [&](int32_t i) {
          if (k < 4) op.in[k++] = i;
        });
      }
      if (op.kind != Kind::kPNEW) ops_.push_back(op);
    }
  }

  void MovePoint(int32_t p, double dx) { px_[p] += dx; }

  void Recompute() {
    for (const Op& op : ops_) Run(op);
  }

  double Checksum() const {
    double sum = 0;
    for (size_t i = 1; i < px_.size(); ++i) sum += px_[i] + py_[i];
    return sum;
  }

 private:
  struct Op {
    Kind kind;
    int32_t in[4];
    int32_t out[2];
  };
  struct Line {
    double x1, y1, dx, dy;
  };
  struct Circle {
    double cx, cy, r;
  };

  void Intersect(const Line& g, const Line& h, int32_t out) {
    const double det = g.dx * -h.dy + h.dx * g.dy;
    if (std::fabs(det) < 0.01) return;
    const double rx = h.x1 - g.x1, ry = h.y1 - g.y1;
    const double s = (rx * -h.dy + h.dx * ry) / det;
    px_[out] = g.x1 + s * g.dx, py_[out] = g.y1 + s * g.dy;
  }

  void Run(const Op& op) {
    switch (op.kind) {
      case Kind::kPN: {
        const double m = numbers_[op.in[2]], n = numbers_[op.in[3]];
        px_[op.out[0]] = (n * px_[op.in[0]] + m * px_[op.in[1]]) / (m + n);
        py_[op.out[0]] = (n * py_[op.in[0]] + m * py_[op.in[1]]) / (m + n);
        break;
      }
      case Kind::kL1: {
        const double dx = px_[op.in[1]] - px_[op.in[0]], dy = py_[op.in[1]] - py_[op.in[0]];
        const double len = std::sqrt(dx * dx + dy * dy);
        lines_[op.out[0]] = {px_[op.in[0]], py_[op.in[0]], dx / len, dy / len};
        break;
      }
      case Kind::kL3: {
        const Line& g = lines_[op.in[0]];
        const Line perpendicular{px_[op.in[1]], py_[op.in[1]], -g.dy, g.dx};
        lines_[op.out[0]] = perpendicular;
        Intersect(g, perpendicular, op.out[1]);
        break;
      }
      case Kind::kPC1:
        Intersect(lines_[op.in[0]], lines_[op.in[1]], op.out[0]);
        break;
      case Kind::kC3: {
        const double ax = px_[op.in[0]], ay = py_[op.in[0]];
        const double bx = px_[op.in[1]] - ax, by = py_[op.in[1]] - ay;
        const double cx = px_[op.in[2]] - ax, cy = py_[op.in[2]] - ay;
        const double d = 2 * (bx * cy - by * cx);
        const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
        const double ux = (cy * b2 - by * c2) / d, uy = (bx * c2 - cx * b2) / d;
        circles_[op.out[0]] = {ax + ux, ay + uy, std::sqrt(ux * ux + uy * uy)};
        break;
      }
      case Kind::kPC2: {
        const Line& g = lines_[op.in[0]];
        const Circle& c = circles_[op.in[1]];
        const double h = (g.y1 - c.cy) * g.dx - (g.x1 - c.cx) * g.dy;
        const double disc = c.r * c.r - h * h;
        if (disc < 0) break;
        const double m = (c.cx - g.x1) * g.dx + (c.cy - g.y1) * g.dy, root = std::sqrt(disc);
        px_[op.out[0]] = g.x1 + (m + root) * g.dx, py_[op.out[0]] = g.y1 + (m + root) * g.dy;
        px_[op.out[1]] = g.x1 + (m - root) * g.dx, py_[op.out[1]] = g.y1 + (m - root) * g.dy;
        break;
      }
      case Kind::kND2P:
        numbers_[op.out[0]] =
            std::hypot(px_[op.in[0]] - px_[op.in[1]], py_[op.in[0]] - py_[op.in[1]]);
        break;
      case Kind::kNA3P: {
        const double ux = px_[op.in[0]] - px_[op.in[1]], uy = py_[op.in[0]] - py_[op.in[1]];
        const double wx = px_[op.in[2]] - px_[op.in[1]], wy = py_[op.in[2]] - py_[op.in[1]];
        numbers_[op.out[0]] =
            std::acos((ux * wx + uy * wy) / std::sqrt((ux * ux + uy * uy) * (wx * wx + wy * wy))) *
            57.29577951308232;
        break;
      }
      case Kind::kCALC:
        numbers_[op.out[0]] =
            numbers_[op.in[0]] * numbers_[op.in[1]] + numbers_[op.in[2]] / numbers_[op.in[3]];
        break;
      case Kind::kNone:
      case Kind::kUnknown:
      case Kind::kP1:
      case Kind::kP2:
      case Kind::kP3:
      case Kind::kP4:
      case Kind::kP5:
      case Kind::kP6:
      case Kind::kPC3:
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
      case Kind::kL2:
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
      case Kind::kC4:
      case Kind::kC5:
      case Kind::kC6:
      case Kind::kC7:
      case Kind::kCRO:
      case Kind::kCT1:
      case Kind::kCT2:
      case Kind::kCT3:
      case Kind::kNDPL:
      case Kind::kNPL2:
      case Kind::kNDPC:
      case Kind::kND2L:
      case Kind::kNDLC:
      case Kind::kND2C:
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
      case Kind::kCount:
        break;
    }
  }

  std::vector<Op> ops_;
  std::vector<double> px_, py_, numbers_;
  std::vector<Line> lines_;
  std::vector<Circle> circles_;
};

}  // namespace kv::bench
