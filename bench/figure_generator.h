// Builds large figures for timing the recompute pass: repeated groups of free points,
// midpoints, lines, perpendiculars, intersections, circles, distances, angles and
// expressions, laid out so that nearly every object is defined.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <utility>

#include "model/figure.h"

namespace kv::bench {

// One group uses these kinds, in this order (13 steps):
// PNEW A, PNEW B, PNEW C, PN midpoint M of AB, L1 AB, L1 CM, L3 from C to AB (line and
// foot), PC1 AB x CM, C3 ABC, PC2 AB x circle, ND2P AB, NA3P ABC, CALC d*one+angle/d.
constexpr int kGroupSteps = 13;

class FigureGenerator {
 public:
  // The groups fill rows of `columns` cells.
  explicit FigureGenerator(int steps, uint32_t seed = 1, int columns = 100)
      : fig_(steps + 10), rng_(seed), target_(steps), columns_(columns) {}

  Figure Build() {
    // The ratio 1 : 1 of every midpoint; independent variables, made by no step.
    one_ = NewNumber();
    fig_.numbers[one_.index].value = 1;
    fig_.numbers[one_.index].independent = kTrue;
    int group = 0;
    while (fig_.StepCount() < target_) AddGroup(group++);
    return std::move(fig_);
  }

 private:
  ObjRef New(int cls) {
    const ObjRef ref{cls, fig_.AllocObject(cls)};
    fig_.SetValid(ref, kTrue);
    return ref;
  }
  ObjRef NewNumber() { return New(kClassNumber); }

  // Appends a step unless the figure is complete; returns false when it is.
  bool Step(std::string_view kind, std::initializer_list<ObjRef> parents,
            std::initializer_list<ObjRef> outputs) {
    if (fig_.StepCount() >= target_) return false;
    fig_.AppendStep(kind, parents, outputs);
    return true;
  }

  ObjRef FreePoint(double x, double y) {
    const ObjRef p = New(kClassPoint);
    PointRec& rec = fig_.points[p.index];
    rec.x = x, rec.y = y;
    rec.free = kTrue;
    rec.marker = 2;
    Step("PNEW", {}, {p});
    return p;
  }

  void AddGroup(int group) {
    // Groups sit on a grid of cells 10 units wide; each triangle is scalene and well inside
    // its cell, so no line of a group is parallel to another and the circle meets AB.
    std::uniform_real_distribution<double> jitter(-0.5, 0.5);
    const double cx = (group % columns_) * 10.0, cy = (group / columns_) * 10.0;
    const ObjRef a = FreePoint(cx + jitter(rng_), cy + jitter(rng_));
    const ObjRef b = FreePoint(cx + 4 + jitter(rng_), cy + 0.5 + jitter(rng_));
    const ObjRef c = FreePoint(cx + 1.2 + jitter(rng_), cy + 3 + jitter(rng_));
    const ObjRef m = New(kClassPoint);
    if (!Step("PN", {a, b, one_, one_}, {m})) return;
    const ObjRef ab = New(kClassLine);
    if (!Step("L1", {a, b}, {ab})) return;
    const ObjRef cm = New(kClassLine);
    if (!Step("L1", {c, m}, {cm})) return;
    const ObjRef perpendicular = New(kClassLine);
    const ObjRef foot = New(kClassPoint);
    if (!Step("L3", {ab, c}, {perpendicular, foot})) return;
    const ObjRef cross = New(kClassPoint);
    if (!Step("PC1", {ab, cm}, {cross})) return;
    const ObjRef circle = New(kClassCircle);
    if (!Step("C3", {a, b, c}, {circle})) return;
    const ObjRef q1 = New(kClassPoint), q2 = New(kClassPoint);
    if (!Step("PC2", {ab, circle}, {q1, q2})) return;
    const ObjRef d = NewNumber();
    if (!Step("ND2P", {a, b}, {d})) return;
    const ObjRef angle = NewNumber();
    if (!Step("NA3P", {a, b, c}, {angle})) return;
    const ObjRef calc = NewNumber();
    std::string expression;
    for (auto [op, number] : {std::pair{"N", d}, {"*N", one_}, {"+N", angle}, {"/N", d}}) {
      expression += op;
      expression += std::to_string(number.index);
    }
    fig_.numbers[calc.index].expression = expression;
    Step("CALC", {}, {calc});
  }

  Figure fig_;
  std::mt19937 rng_;
  int target_;
  int columns_;
  ObjRef one_;
};

// A figure of exactly `steps` construction steps.
inline Figure GenerateFigure(int steps, uint32_t seed = 1, int columns = 100) {
  return FigureGenerator(steps, seed, columns).Build();
}

}  // namespace kv::bench
