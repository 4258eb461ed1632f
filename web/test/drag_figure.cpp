// Writes a large figure for timing the viewer's drag: groups of a triangle with its midpoint,
// lines, perpendicular, intersections, circumcircle and measurements, scattered over the
// visible canvas. Point 1 is the one to drag. With "few", about a dozen objects depend on it
// (its own group); with "half", every other group hangs on it, so half the figure moves.
//   kvview_drag_figure OBJECTS few|half OUT.kv4
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

#include "io/kv4_file.h"
#include "model/figure.h"

namespace {

class Maker {
 public:
  Maker(int objects, bool half) : fig_(objects + 100), target_(objects), half_(half) {}

  kv::Figure& Build() {
    one_ = New(kv::kClassNumber);
    fig_.numbers[one_.index].value = 1;
    fig_.numbers[one_.index].independent = kv::kTrue;
    shared_ = FreePoint(0, 0);
    for (int group = 0; Objects() < target_; ++group) AddGroup(group);
    return fig_;
  }

 private:
  int Objects() const {
    int n = 0;
    for (int cls = kv::kClassNumber; cls <= kv::kClassCircle; ++cls) n += fig_.classCount[cls];
    return n;
  }

  kv::ObjRef New(int cls) {
    const kv::ObjRef ref{cls, fig_.AllocObject(cls)};
    fig_.SetValid(ref, kv::kTrue);
    return ref;
  }

  kv::ObjRef FreePoint(double x, double y) {
    const kv::ObjRef p = New(kv::kClassPoint);
    kv::PointRec& rec = fig_.points[p.index];
    rec.x = x, rec.y = y;
    rec.free = kv::kTrue;
    rec.marker = 2;
    fig_.AppendStep("PNEW", {}, {p});
    return p;
  }

  void AddGroup(int group) {
    // Scalene triangles about three units wide, anywhere on a 640 x 480 canvas at 20 pixels
    // a unit; the first group's first vertex is the shared point.
    std::uniform_real_distribution<double> x(-14, 11), y(-11, 8), jitter(-0.5, 0.5);
    const double cx = x(rng_), cy = y(rng_);
    const bool shared = group == 0 || (half_ && group % 2 == 0);
    const kv::ObjRef a = shared ? shared_ : FreePoint(cx + jitter(rng_), cy + jitter(rng_));
    const kv::ObjRef b = FreePoint(cx + 3 + jitter(rng_), cy + 0.5 + jitter(rng_));
    const kv::ObjRef c = FreePoint(cx + 1 + jitter(rng_), cy + 2.5 + jitter(rng_));
    const kv::ObjRef m = New(kv::kClassPoint);
    fig_.AppendStep("PN", {a, b, one_, one_}, {m});
    const kv::ObjRef ab = New(kv::kClassLine);
    fig_.AppendStep("L1", {a, b}, {ab});
    const kv::ObjRef cm = New(kv::kClassLine);
    fig_.AppendStep("L1", {c, m}, {cm});
    const kv::ObjRef perpendicular = New(kv::kClassLine);
    const kv::ObjRef foot = New(kv::kClassPoint);
    fig_.AppendStep("L3", {ab, c}, {perpendicular, foot});
    const kv::ObjRef cross = New(kv::kClassPoint);
    fig_.AppendStep("PC1", {ab, cm}, {cross});
    const kv::ObjRef circle = New(kv::kClassCircle);
    fig_.AppendStep("C3", {a, b, c}, {circle});
    const kv::ObjRef q1 = New(kv::kClassPoint), q2 = New(kv::kClassPoint);
    fig_.AppendStep("PC2", {ab, circle}, {q1, q2});
    const kv::ObjRef d = New(kv::kClassNumber);
    fig_.AppendStep("ND2P", {a, b}, {d});
  }

  kv::Figure fig_;
  std::mt19937 rng_{7};
  int target_;
  bool half_;
  kv::ObjRef one_, shared_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || (std::string_view(argv[2]) != "few" && std::string_view(argv[2]) != "half")) {
    std::fprintf(stderr, "usage: kvview_drag_figure OBJECTS few|half OUT.kv4\n");
    return 1;
  }
  const int objects = std::atoi(argv[1]);
  if (objects < 1 || objects > 1000000) {
    std::fprintf(stderr, "OBJECTS must be from 1 to 1000000\n");
    return 1;
  }
  Maker maker(objects, std::string_view(argv[2]) == "half");
  kv::FigureFileIO io;
  const kv::FileResult result = io.Write(maker.Build(), argv[3]);
  if (!result.ok()) {
    std::fprintf(stderr, "cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
