// Figures for the line, circle and number kind tests: every object is made by a step, as the
// construction commands make them, so that undefined parents propagate through the recompute.
#pragma once

#include <initializer_list>
#include <string_view>
#include <utility>

#include "figure_builder.h"

namespace kv::testing {

class KindTestFigure {
 public:
  Figure fig;

  ObjRef Point(double x, double y) { return Pt(FreePoint(fig, x, y)); }
  ObjRef Number(double value) { return Nm(Variable(fig, value)); }

  // A step with one output of class `cls`; returns the output.
  ObjRef Step(std::string_view code, std::initializer_list<ObjRef> parents, int cls) {
    const ObjRef out{cls, fig.AllocObject(cls)};
    fig.AppendStep(code, parents, {out});
    return out;
  }

  // A step with two outputs.
  std::pair<ObjRef, ObjRef> Step2(std::string_view code, std::initializer_list<ObjRef> parents,
                                  int cls1, int cls2) {
    const ObjRef out1{cls1, fig.AllocObject(cls1)};
    const ObjRef out2{cls2, fig.AllocObject(cls2)};
    fig.AppendStep(code, parents, {out1, out2});
    return {out1, out2};
  }

  ObjRef Line(ObjRef a, ObjRef b) { return Step("L1", {a, b}, kClassLine); }
  ObjRef Line(double x1, double y1, double x2, double y2) {
    return Line(Point(x1, y1), Point(x2, y2));
  }
  // Circle about (cx, cy) with radius r, made from a centre point and a radius variable.
  ObjRef Circle(double cx, double cy, double r) {
    return Step("C1", {Point(cx, cy), Number(r)}, kClassCircle);
  }

  void Move(ObjRef p, double x, double y) {
    fig.points[p.index].x = x;
    fig.points[p.index].y = y;
  }
  void Recompute() { RecomputeAll(fig); }

  PointRec& P(ObjRef r) { return fig.points[r.index]; }
  LineRec& L(ObjRef r) { return fig.lines[r.index]; }
  CircleRec& C(ObjRef r) { return fig.circles[r.index]; }
  NumberRec& N(ObjRef r) { return fig.numbers[r.index]; }
};

}  // namespace kv::testing
