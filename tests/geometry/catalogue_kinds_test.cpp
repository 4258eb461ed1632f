// Every kind of the catalogue that has outputs, built once on a small figure of general
// position from its parent template, defines all of them: a kind whose routine is missing, or
// reads its slots in another order than the catalogue names them, shows up here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "figure_builder.h"
#include "geometry/recompute.h"

namespace kv {
namespace {

using namespace kv::testing;

TEST(CatalogueKinds, EveryKindWithOutputsDefinesThemOnASimpleFigure) {
  int checked = 0;
  for (const KindInfo& info : KindCatalogue()) {
    // Macros are expanded by the commands; a free point and a continuation compute nothing;
    // the matrix maps need their continuation step and are covered by their own tests.
    if (info.macro || info.outputs.empty()) continue;
    if (info.kind == Kind::kPNEW || info.kind == Kind::kPT62 || info.kind == Kind::kPT6 ||
        info.kind == Kind::kPT7)
      continue;
    SCOPED_TRACE(std::string(info.code));
    KindTestFigure t;
    // Points in general position, a line that crosses both circles, two circles apart from
    // each other (for the internal tangents) that the line meets, and numbers that make
    // sensible ratios, angles and radii.
    const ObjRef points[] = {t.Point(2.5, -1.5), t.Point(4, 1.2), t.Point(1, 3.5), t.Point(2.5, 5),
                             t.Point(-1.5, 2)};
    const ObjRef lines[] = {t.Line(-3, 0.2, 9, 0.5), t.Line(1, -2, 1.7, 6)};
    const ObjRef circles[] = {t.Circle(0, 0, 1.5), t.Circle(6, 1, 2)};
    const ObjRef overlapping = t.Circle(1, 0.5, 1.5);  // meets the first circle twice
    const ObjRef numbers[] = {t.Number(2), t.Number(1), t.Number(3)};
    int used[4] = {};
    std::vector<ObjRef> parents;
    for (const char letter : info.parents) {
      switch (letter) {
        case 'P':
          parents.push_back(points[used[1]++ % 5]);
          break;
        case 'L':
        case 'X':
          parents.push_back(lines[used[2]++ % 2]);
          break;
        case 'C':
          parents.push_back(info.kind == Kind::kPC3 && used[3] == 1 ? overlapping
                                                                    : circles[used[3] % 2]);
          ++used[3];
          break;
        case 'N':
          parents.push_back(numbers[used[0]++ % 3]);
          break;
      }
    }
    std::vector<ObjRef> outputs;
    for (const char letter : info.outputs) {
      const int cls = letter == 'N'   ? kClassNumber
                      : letter == 'P' ? kClassPoint
                      : letter == 'L' ? kClassLine
                                      : kClassCircle;
      outputs.push_back(ObjRef{cls, t.fig.AllocObject(cls)});
    }
    const int32_t s = t.fig.AppendStep(info.code, {}, {});
    for (size_t k = 0; k < parents.size(); ++k) t.fig.SetStepParent(s, int(k) + 1, parents[k]);
    for (size_t k = 0; k < outputs.size(); ++k) t.fig.SetStepOutput(s, int(k) + 1, outputs[k]);
    if (info.kind == Kind::kPBND) {
      PointRec& p = t.P(outputs[0]);
      p.free = kTrue, p.boundClass = parents[0].cls, p.boundIndex = parents[0].index;
    }
    if (info.kind == Kind::kCALC)
      t.N(outputs[0]).expression =
          "N" + std::to_string(numbers[0].index) + "+N" + std::to_string(numbers[1].index);
    t.Recompute();
    for (const ObjRef out : outputs)
      EXPECT_NE(t.fig.GetValid(out), 0) << out.cls << ":" << out.index;
    ++checked;
  }
  EXPECT_GT(checked, 70);
}

}  // namespace
}  // namespace kv
