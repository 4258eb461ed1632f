// The reference the engine is measured against: the generated figure copied into flat arrays
// and recomputed by a plain table-driven loop, with no validity, slot or binding checks and
// the same formulas. It is what the engine would cost with nothing but the arithmetic.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "expr/evaluator.h"
#include "geometry/primitives.h"
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
      Op op{fig.KindOf(s), {}, {}, {}, fig.StepSwap(s) != 0};
      for (int k = 0; k < 4; ++k) op.in[k] = fig.Parent(s, k + 1).index;
      for (int k = 0; k < 2; ++k) op.out[k] = fig.Output(s, k + 1).index;
      if (op.kind == Kind::kCALC) {
        int k = 0;
        ForEachOperand(fig.numbers[op.out[0]].expression, [&](int32_t i) {
          if (k < 4) op.in[k++] = i;
        });
      }
      if (op.kind == Kind::kPC2) {
        // The raw solutions of the last recompute, as the figure's outputs hold them.
        const int second = op.swapped ? 0 : 2;
        op.last[2 - second] = fig.points[op.out[0]].x,
                    op.last[3 - second] = fig.points[op.out[0]].y;
        op.last[second] = fig.points[op.out[1]].x, op.last[second + 1] = fig.points[op.out[1]].y;
      }
      if (op.kind == Kind::kNA3P) markFrom_.push_back(0), markTo_.push_back(0);
      if (op.kind != Kind::kPNEW) ops_.push_back(op);
    }
  }

  void MovePoint(int32_t p, double dx) { px_[p] += dx; }
  void MoveNumber(int32_t n, double dv) { numbers_[n] += dv; }

  void Recompute() {
    marks_ = 0;
    for (Op& op : ops_) Run(op);
  }

  // The largest difference between the reference's points and numbers and the figure's
  // defined ones: 0 when both computed the same values.
  double DifferenceFrom(const Figure& fig) const {
    double most = 0;
    for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i)
      if (fig.points[i].valid != 0)
        most = std::max(
            {most, std::fabs(fig.points[i].x - px_[i]), std::fabs(fig.points[i].y - py_[i])});
    for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i)
      if (fig.numbers[i].valid != 0)
        most = std::max(most, std::fabs(fig.numbers[i].value - numbers_[i]));
    return most;
  }

 private:
  struct Op {
    Kind kind;
    int32_t in[4];
    int32_t out[2];
    double last[4];  // a two-solution step's previous raw solutions
    bool swapped;
  };
  struct Line {
    double x1, y1, dx, dy;
  };
  struct Circle {
    double cx, cy, r;
  };

  // The arithmetic is the figure's own, written out on flat arrays: the same operations in
  // the same order, so that both give the same bits and the difference is all overhead.
  bool Intersect(const Line& g, const Line& h, double& x, double& y) const {
    const double m12 = -h.dx, m22 = -h.dy;
    const double det = g.dx * m22 - g.dy * m12;
    if (std::fabs(det) < 0.01) return false;
    const double f = 1 / det;
    const double s = (f * m22) * (h.x1 - g.x1) + (f * -m12) * (h.y1 - g.y1);
    x = g.x1 + s * g.dx, y = g.y1 + s * g.dy;
    return true;
  }
  static double Arccos(double x) {
    if (1 - x * x < 0.000001) x = 1;
    if (x == 0) return 1.570796326794895;
    return std::atan(std::sqrt(1 - x * x) / x);
  }
  // Whether the arm V -> A turned by `degrees` about V lands on the arm end B.
  static bool Turns(double vx, double vy, double ax, double ay, double degrees, double bx,
                    double by) {
    const double t = degrees * 3.14159265358979 / 180;
    const double c = std::cos(t), s = std::sin(t);
    const double x = vx + (ax - vx) * c - (ay - vy) * s, y = vy + (ax - vx) * s + (ay - vy) * c;
    return std::fabs(x - bx) < 0.01 && std::fabs(y - by) < 0.01;
  }
  bool Bisector(int32_t a, int32_t b, double& mx, double& my, double& dx, double& dy) const {
    double ux = px_[b] - px_[a], uy = py_[b] - py_[a];
    const double len = std::sqrt(ux * ux + uy * uy);
    if (len < 0.01) return false;
    ux = ux / len, uy = uy / len;
    mx = (px_[a] + px_[b]) / 2, my = (py_[a] + py_[b]) / 2;
    dx = -uy, dy = ux;
    return true;
  }
  static double Apply(char op, double a, double b) {
    switch (op) {
      case '*':
        return a * b;
      case '/':
        return std::fabs(b) < 0.01 ? 0.0 : a / b;
      default:
        return a + b;
    }
  }

  void Run(Op& op) {
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
        Intersect(g, perpendicular, px_[op.out[1]], py_[op.out[1]]);
        break;
      }
      case Kind::kPC1:
        Intersect(lines_[op.in[0]], lines_[op.in[1]], px_[op.out[0]], py_[op.out[0]]);
        break;
      case Kind::kC3: {
        double gx, gy, ux, uy, hx, hy, vx, vy;
        if (!Bisector(op.in[0], op.in[1], gx, gy, ux, uy) ||
            !Bisector(op.in[0], op.in[2], hx, hy, vx, vy))
          break;
        double cx, cy;
        if (!Intersect({gx, gy, ux, uy}, {hx, hy, vx, vy}, cx, cy)) break;
        const double ax = px_[op.in[0]], ay = py_[op.in[0]];
        circles_[op.out[0]] = {cx, cy, std::sqrt((cx - ax) * (cx - ax) + (cy - ay) * (cy - ay))};
        break;
      }
      case Kind::kPC2: {
        const Line& g = lines_[op.in[0]];
        const Circle& c = circles_[op.in[1]];
        const double h = (g.y1 - c.cy) * g.dx - (g.x1 - c.cx) * g.dy;
        double disc = c.r * c.r - h * h;
        if (disc < -0.0001) break;
        if (std::fabs(disc) < 0.0001) disc = 0;
        const double m = (c.cx - g.x1) * g.dx + (c.cy - g.y1) * g.dy, root = std::sqrt(disc);
        double q[4] = {g.x1 + (m + root) * g.dx, g.y1 + (m + root) * g.dy, g.x1 + (m - root) * g.dx,
                       g.y1 + (m - root) * g.dy};
        // Each output stays on the solution it followed last time.
        auto near = [&](int i, int j) {
          return std::fabs(q[i] - op.last[j]) + std::fabs(q[i + 1] - op.last[j + 1]) < 0.001;
        };
        if (!near(0, 0) && !near(2, 2) && (near(0, 2) || near(2, 0))) op.swapped = !op.swapped;
        std::copy(q, q + 4, op.last);
        const int first = op.swapped ? 2 : 0;
        px_[op.out[0]] = q[first], py_[op.out[0]] = q[first + 1];
        px_[op.out[1]] = q[2 - first], py_[op.out[1]] = q[3 - first];
        break;
      }
      case Kind::kND2P: {
        const double dx = px_[op.in[0]] - px_[op.in[1]], dy = py_[op.in[0]] - py_[op.in[1]];
        numbers_[op.out[0]] = std::sqrt(dx * dx + dy * dy);
        break;
      }
      case Kind::kNA3P: {
        // The size from the unit arms, the sense by turning the first arm onto the second,
        // and the mark's start direction.
        const double vx = px_[op.in[1]], vy = py_[op.in[1]];
        double ux = px_[op.in[0]] - vx, uy = py_[op.in[0]] - vy;
        double wx = px_[op.in[2]] - vx, wy = py_[op.in[2]] - vy;
        const double lu = std::sqrt(ux * ux + uy * uy), lw = std::sqrt(wx * wx + wy * wy);
        ux = ux / lu, uy = uy / lu, wx = wx / lw, wy = wy / lw;
        double theta = Arccos(ux * wx + uy * wy) * 180 / 3.14159265358979;
        if (theta < 0) theta = theta + 180;
        const double ax = vx + ux, ay = vy + uy, bx = vx + wx, by = vy + wy;
        if (!Turns(vx, vy, ax, ay, theta, bx, by)) {
          theta = -theta;
          if (!Turns(vx, vy, ax, ay, theta, bx, by) && std::fabs(theta) < 0.01) theta = 180;
        }
        numbers_[op.out[0]] = std::fabs(theta);
        const double d1 = DirectionAngle({px_[op.in[0]] - vx, py_[op.in[0]] - vy});
        markFrom_[marks_] = d1, markTo_[marks_] = d1 + theta / (180 / 3.14159265358979);
        ++marks_;
        break;
      }
      case Kind::kCALC: {
        // d * one + angle / d, in the evaluator's order: the quotient, the product, the sum.
        const double q = Apply('/', numbers_[op.in[2]], numbers_[op.in[3]]);
        const double p = Apply('*', numbers_[op.in[0]], numbers_[op.in[1]]);
        numbers_[op.out[0]] = Apply('+', p, q);
        break;
      }
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
  std::vector<double> markFrom_, markTo_;
  size_t marks_ = 0;
  std::vector<Line> lines_;
  std::vector<Circle> circles_;
};

}  // namespace kv::bench
