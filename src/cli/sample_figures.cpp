// The sample figures shipped in samples/, built step by step as the construction commands
// build them, recomputed and written by `kvtool make-samples DIR`.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "geometry/recompute.h"

namespace kv::cli {

namespace {

constexpr int32_t kMarkerCross = 1;
constexpr int32_t kRed = 1, kGreen = 2, kDotted = 3, kBlue = 4, kPurple = 5, kLightBlue = 6;

// Appends steps and objects the way the construction commands do.
class Builder {
 public:
  explicit Builder(Figure& fig) : f(fig) {}
  Figure& f;

  ObjRef FreePoint(double x, double y, std::string_view name = {}) {
    const ObjRef p{kClassPoint, f.AllocObject(kClassPoint)};
    PointRec& rec = f.points[p.index];
    rec.x = x, rec.y = y;
    rec.marker = 2;
    rec.free = kPointMovable;
    rec.valid = kTrue;
    f.AppendStep("PNEW", {}, {p});
    if (!name.empty()) f.SetObjectName(p, name);
    return p;
  }

  // An independent variable, as the number dialog adds it (no step).
  ObjRef Variable(double value, std::string_view name = {}) {
    const ObjRef n{kClassNumber, f.AllocObject(kClassNumber)};
    NumberRec& rec = f.numbers[n.index];
    rec.value = value;
    rec.valid = kTrue;
    rec.independent = kTrue;
    if (!name.empty()) f.SetObjectName(n, name);
    return n;
  }

  // A computing step with one output of class `cls` (more with `count`).
  std::vector<ObjRef> Step(std::string_view code, std::initializer_list<ObjRef> parents,
                           std::initializer_list<int> outputClasses) {
    std::vector<ObjRef> outs;
    for (int cls : outputClasses) outs.push_back({cls, f.AllocObject(cls)});
    const int32_t s = f.AppendStep(code, parents, {});
    for (size_t k = 0; k < outs.size() && k < 5; ++k) f.SetStepOutput(s, k + 1, outs[k]);
    for (const ObjRef& o : outs) f.SetValid(o, kTrue);
    return outs;
  }

  ObjRef Point(std::string_view code, std::initializer_list<ObjRef> parents,
               std::string_view name = {}, int32_t marker = kMarkerCross) {
    const ObjRef p = Step(code, parents, {kClassPoint})[0];
    f.points[p.index].marker = marker;
    if (!name.empty()) f.SetObjectName(p, name);
    return p;
  }

  ObjRef Line(std::string_view code, std::initializer_list<ObjRef> parents,
              int32_t lineType = kLineStraight, int32_t colour = kDefaultColour) {
    const ObjRef l = Step(code, parents, {kClassLine})[0];
    f.lines[l.index].lineType = lineType;
    f.lines[l.index].colour = colour;
    return l;
  }

  ObjRef Segment(ObjRef a, ObjRef b, int32_t colour = kDefaultColour) {
    return Line("L1", {a, b}, kLineSegment, colour);
  }

  ObjRef Circle(std::string_view code, std::initializer_list<ObjRef> parents,
                int32_t colour = kDefaultColour) {
    const ObjRef c = Step(code, parents, {kClassCircle})[0];
    f.circles[c.index].colour = colour;
    return c;
  }

  ObjRef Number(std::string_view code, std::initializer_list<ObjRef> parents) {
    return Step(code, parents, {kClassNumber})[0];
  }

  ObjRef Expression(std::string_view expression) {
    const ObjRef n = Step("CALC", {}, {kClassNumber})[0];
    f.numbers[n.index].expression = std::string(expression);
    return n;
  }

  // Triangle ABC with its three sides as segments.
  std::array<ObjRef, 3> Triangle(double ax, double ay, double bx, double by, double cx, double cy) {
    const ObjRef a = FreePoint(ax, ay), b = FreePoint(bx, by), c = FreePoint(cx, cy);
    Segment(a, b), Segment(b, c), Segment(c, a);
    return {a, b, c};
  }
};

void EulerLine(Builder& b) {
  auto [A, B, C] = b.Triangle(-5, -3, 6, -3, -1, 5);
  b.Point("P1", {A, B, C}, "O");
  b.Point("P3", {A, B, C}, "G");
  b.Point("P4", {A, B, C}, "H");
  b.Point("P6", {A, B, C}, "N");
  // The Euler line through the circumcentre and the orthocentre.
  b.Line("L1", {ObjRef{kClassPoint, 4}, ObjRef{kClassPoint, 6}}, 0, kRed);
}

void NinePointCircle(Builder& b) {
  auto [A, B, C] = b.Triangle(-6, -3, 5, -3, -2, 5);
  const ObjRef one = b.Variable(1);
  // Midpoints of the sides: division 1 : 1.
  b.Point("PN", {A, B, one, one}, "L");
  b.Point("PN", {B, C, one, one}, "M");
  b.Point("PN", {C, A, one, one}, "N");
  // Feet of the altitudes on the sides (lines 1..3 are AB, BC, CA).
  const std::array<ObjRef, 3> sides{ObjRef{kClassLine, 1}, {kClassLine, 2}, {kClassLine, 3}};
  const std::array<ObjRef, 3> opposite{C, A, B};
  for (int i = 0; i < 3; ++i) {
    const auto outs = b.Step("L3", {sides[i], opposite[i]}, {kClassLine, kClassPoint});
    b.f.lines[outs[0].index].lineType = kLineSegment;
    b.f.lines[outs[0].index].colour = kDotted;
    b.f.points[outs[1].index].marker = kMarkerCross;
    b.f.SetObjectName(outs[1], std::string(1, static_cast<char>('P' + i)));
  }
  b.Circle("C7", {A, B, C}, kRed);
  b.Point("P6", {A, B, C}, "K");
}

void InscribedEscribed(Builder& b) {
  auto [A, B, C] = b.Triangle(-2, -1, 2, -1, 0.5, 2.5);
  b.Circle("C5", {A, B, C}, kRed);
  b.Point("P2", {A, B, C}, "I");
  b.Circle("C6", {A, B, C}, kBlue);
  b.Circle("C6", {B, C, A}, kGreen);
  b.Circle("C6", {C, A, B}, kPurple);
}

void TangentsFromPoint(Builder& b) {
  const ObjRef O = b.FreePoint(-2, 0, "O");
  const ObjRef A = b.FreePoint(1, 0, "A");
  const ObjRef c = b.Circle("C2", {O, A});
  const ObjRef P = b.FreePoint(5, 2, "P");
  const auto tangents = b.Step("L5", {P, c}, {kClassLine, kClassLine});
  for (const ObjRef& t : tangents) b.f.lines[t.index].colour = kRed;
  // The polar of P meets the circle at the two points of contact.
  const ObjRef polar = b.Line("L8", {P, c}, 0, kDotted);
  const auto touch = b.Step("PC2", {polar, c}, {kClassPoint, kClassPoint});
  b.f.SetObjectName(touch[0], "S");
  b.f.SetObjectName(touch[1], "T");
  b.Segment(P, touch[0], kBlue);
  b.Segment(P, touch[1], kBlue);
}

void AngleBisectors(Builder& b) {
  auto [A, B, C] = b.Triangle(-5, -3, 5, -3, 1, 4);
  b.Line("LH1", {B, A, C}, kLineHalf, kRed);
  b.Line("LH1", {C, B, A}, kLineHalf, kGreen);
  b.Line("LH1", {A, C, B}, kLineHalf, kBlue);
  b.Point("P2", {A, B, C}, "I");
}

void RegularPolygon(Builder& b) {
  constexpr int n = 6;
  const ObjRef A = b.FreePoint(1, -3), B = b.FreePoint(-1, -3);
  const ObjRef count = b.Variable(n);
  // The macro marker opens the group; the rotations build the vertices one by one.
  b.f.AppendStep("LRGN", {count, A, B}, {});
  std::vector<ObjRef> vertex{A, B};
  for (int k = 2; k < n; ++k) {
    const ObjRef angle = b.Variable(180.0 - 360.0 / n);
    vertex.push_back(b.Point("PT1", {vertex[k - 2], vertex[k - 1], angle}, {}, 0));
  }
  for (int k = 0; k < n; ++k) b.Segment(vertex[k], vertex[(k + 1) % n]);
  b.f.AppendStep("LRGN", {}, {});
}

void LocusReady(Builder& b) {
  const ObjRef O = b.FreePoint(0, 0, "O");
  const ObjRef A = b.FreePoint(0, -3, "A");
  const ObjRef c = b.Circle("C2", {O, A});
  // P moves on the circle; M, the midpoint of PQ, follows it and traces its locus.
  const ObjRef P = b.Step("PBND", {c}, {kClassPoint})[0];
  PointRec& p = b.f.points[P.index];
  p.free = kPointMovable;
  p.boundClass = kClassCircle;
  p.boundIndex = c.index;
  b.f.SetObjectName(P, "P");
  const ObjRef Q = b.FreePoint(6, 2, "Q");
  b.Segment(P, Q);
  const ObjRef one = b.Variable(1);
  const ObjRef M = b.Point("PN", {P, Q, one, one}, "M");
  b.f.points[M.index].locusColour = kRed;
  b.f.points[M.index].colour = kRed;
}

void ComplexNumbers(Builder& b) {
  const ObjRef O = b.FreePoint(0, 0, "O");
  const ObjRef E = b.FreePoint(1, 0, "E");
  const ObjRef Z = b.FreePoint(1.5, 0.5, "Z");
  const ObjRef W = b.FreePoint(0.5, 1.5, "W");
  b.f.points[O.index].free = kPointLocked;  // the origin and the unit stay where they are
  b.f.points[E.index].free = kPointLocked;
  b.Point("PO+", {Z, W}, "S", 0);
  b.Point("PO-", {Z, W}, "D", 0);
  b.Point("PO*", {Z, W}, "P", 0);
  b.Point("PO/", {Z, W}, "Q", 0);
  b.Point("PO-1", {Z}, "R", 0);
  const ObjRef two = b.Variable(2, "n");
  b.Point("PO^", {Z, two}, "U", 0);
  b.Segment(O, Z, kBlue), b.Segment(O, W, kBlue);
  b.Segment(O, ObjRef{kClassPoint, 7}, kRed);
  b.Segment(O, E, kLightBlue);
}

void LinearMap(Builder& b) {
  const ObjRef O = b.FreePoint(0, 0, "O");
  b.f.points[O.index].free = kPointLocked;
  const ObjRef A1 = b.FreePoint(2, 0, "A");
  const ObjRef A2 = b.FreePoint(0, 2, "B");
  const ObjRef B1 = b.FreePoint(3, 1, "C");
  const ObjRef B2 = b.FreePoint(-1, 2, "D");
  const ObjRef P = b.FreePoint(2, 3, "P");
  const auto outs = b.Step("PT5", {P, A1, A2, B1, B2},
                           {kClassPoint, kClassNumber, kClassNumber, kClassNumber, kClassNumber});
  b.f.SetObjectName(outs[0], "P'");
  b.f.points[outs[0].index].marker = kMarkerCross;
  const char* names[] = {"A(1,1)", "A(1,2)", "A(2,1)", "A(2,2)"};
  for (int i = 0; i < 4; ++i) b.f.SetObjectName(outs[i + 1], names[i]);
  b.Segment(O, A1, kBlue), b.Segment(O, A2, kBlue);
  b.Segment(O, B1, kRed), b.Segment(O, B2, kRed);
  b.Segment(O, P, kBlue), b.Segment(O, outs[0], kRed);
}

void ExpressionFigure(Builder& b) {
  auto [A, B, C] = b.Triangle(-4, -2, 4, -2, 1, 4);
  b.Number("ND2P", {A, B});     // number 1
  b.Number("ND2P", {B, C});     // number 2
  b.Number("ND2P", {C, A});     // number 3
  b.Expression("N1+N2+N3");     // number 4: the perimeter
  b.Number("NAR3", {A, B, C});  // number 5: the area
  b.Variable(2);                // number 6
  b.Expression("N6*N5/N4");     // number 7: the inradius 2S / (a + b + c)
  const ObjRef incircle = b.Circle("C5", {A, B, C}, kRed);
  b.Number("NRC", {incircle});  // number 8: the same radius, measured
}

void Circumcircle(Builder& b) {
  auto [A, B, C] = b.Triangle(-4, -2, 5, -1, 0, 4);
  b.Line("L4", {ObjRef{kClassLine, 1}}, 0, kDotted);
  b.Line("L4", {ObjRef{kClassLine, 2}}, 0, kDotted);
  b.Line("L4", {ObjRef{kClassLine, 3}}, 0, kDotted);
  b.Point("P1", {A, B, C}, "O");
  b.Circle("C3", {A, B, C}, kRed);
}

struct Sample {
  const char* file;
  void (*build)(Builder&);
};

constexpr Sample kSamples[] = {
    {"euler_line.kv4", EulerLine},
    {"nine_point_circle.kv4", NinePointCircle},
    {"inscribed_escribed_circles.kv4", InscribedEscribed},
    {"tangents_from_point.kv4", TangentsFromPoint},
    {"angle_bisectors.kv4", AngleBisectors},
    {"regular_polygon.kv4", RegularPolygon},
    {"locus_midpoint.kv4", LocusReady},
    {"complex_numbers.kv4", ComplexNumbers},
    {"linear_map.kv4", LinearMap},
    {"expression_inradius.kv4", ExpressionFigure},
    {"circumcircle.kv4", Circumcircle},
};

}  // namespace

int MakeSamplesCommand(int argc, char** argv) {
  if (argc != 2) return Fail("usage: kvtool make-samples DIR");
  std::string folder = argv[1];
  if (!folder.empty() && folder.back() != '/') folder += '/';
  for (const Sample& sample : kSamples) {
    Figure fig;
    Builder builder(fig);
    sample.build(builder);
    RecomputeAll(fig);
    std::string error;
    if (!SaveFigure(fig, folder + sample.file, error)) return Fail(error);
  }
  return 0;
}

}  // namespace kv::cli
