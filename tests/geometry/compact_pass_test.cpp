// The pass that dispatches the common kinds itself, the circumcentre taken without building
// its bisector lines, and the kept analysis replayed in one sweep: each checked against the
// long way round, to the last bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "../../bench/figure_generator.h"
#include "expr/evaluator.h"
#include "figure_builder.h"
#include "geometry/kinds.h"
#include "io/kv4_file.h"

namespace kv {
namespace {

using namespace kv::testing;

bool SameBits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

#define EXPECT_BITS(a, b) \
  EXPECT_TRUE(SameBits(a, b)) << #a << " = " << (a) << ", " << #b << " = " << (b)

// The full recompute written out with every step going through its family's routine.
void RecomputeThroughFamilies(Figure& fig) {
  fig.angleMarkCount = 0;
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i)
    if (fig.numbers[i].valid != 0) fig.numbers[i].valid = kTrue;
  for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i)
    if (fig.points[i].valid != 0) fig.points[i].valid = kTrue;
  AnalyseDependencies(fig);
  PassScratch& pass = fig.pass;
  for (int32_t p = 1; p <= pass.passCount; ++p) {
    pass.lastPass = p == pass.passCount;
    for (int32_t s = 1; s <= fig.StepCount(); ++s) {
      if (pass.stepState[s] == 2) continue;
      if (!pass.stepRunnable[s]) {
        fig.SetOutputsValid(s, 0);
        continue;
      }
      RunThroughFamily(fig, s);
    }
    for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i) {
      PointRec& pt = fig.points[i];
      if (pt.free == 0) continue;
      int32_t t = pt.valid;
      if (pt.boundClass >= 1 && pt.boundClass <= 3)
        t = ApplyBinding(fig, i) ? fig.GetValid(ObjRef{pt.boundClass, pt.boundIndex}) : 0;
      if (pt.valid > t) pt.valid = t;
    }
  }
  pass.lastPass = false;
  fig.SnapshotPrevious();
  fig.RefreshLineEnds();
}

void ExpectSameRecords(const Figure& a, const Figure& b, const std::string& what) {
  SCOPED_TRACE(what);
  ASSERT_EQ(a.classCount, b.classCount);
  for (int32_t i = 1; i <= a.classCount[kClassNumber]; ++i) {
    EXPECT_BITS(a.numbers[i].value, b.numbers[i].value);
    EXPECT_EQ(a.numbers[i].valid, b.numbers[i].valid) << "number " << i;
  }
  for (int32_t i = 1; i <= a.classCount[kClassPoint]; ++i) {
    EXPECT_BITS(a.points[i].x, b.points[i].x);
    EXPECT_BITS(a.points[i].y, b.points[i].y);
    EXPECT_BITS(a.prevPoints[i].x, b.prevPoints[i].x);
    EXPECT_EQ(a.points[i].valid, b.points[i].valid) << "point " << i;
  }
  for (int32_t i = 1; i <= a.classCount[kClassLine]; ++i) {
    const LineRec &g = a.lines[i], &h = b.lines[i];
    for (auto [u, v] : {std::pair{g.x1, h.x1},
                        {g.y1, h.y1},
                        {g.x2, h.x2},
                        {g.y2, h.y2},
                        {g.dx, h.dx},
                        {g.dy, h.dy}})
      EXPECT_BITS(u, v);
    EXPECT_EQ(g.valid, h.valid) << "line " << i;
  }
  for (int32_t i = 1; i <= a.classCount[kClassCircle]; ++i) {
    const CircleRec &c = a.circles[i], &d = b.circles[i];
    for (auto [u, v] : {std::pair{c.cx, d.cx}, {c.cy, d.cy}, {c.radius, d.radius}})
      EXPECT_BITS(u, v);
    EXPECT_EQ(c.valid, d.valid) << "circle " << i;
  }
  ASSERT_EQ(a.angleMarkCount, b.angleMarkCount);
  for (int32_t i = 1; i <= a.angleMarkCount; ++i)
    EXPECT_BITS(a.angleMarks[i].d2, b.angleMarks[i].d2);
  for (int32_t s = 1; s <= a.StepCount(); ++s)
    EXPECT_EQ(a.StepSwap(s), b.StepSwap(s)) << "step " << s;
}

// Every figure: the samples, the damaged figures the fuzzers found, and generated ones; each
// recomputed, then with every free point moved in turn (the two-solution intersections follow
// their previous positions), both ways.
TEST(CompactPass, GivesTheRecordsOfTheFamilyRoutinesToTheLastBit) {
  std::vector<std::pair<std::string, Figure>> figures;
  for (const char* folder : {"samples", "fuzz/regressions/figure_reader"})
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(KV_SOURCE_DIR) / folder)) {
      Figure fig;
      FigureFileIO io;
      if (entry.path().extension() == ".kv4" && io.Read(fig, entry.path().string()).ok())
        figures.emplace_back(entry.path().filename().string(), std::move(fig));
    }
  ASSERT_GE(figures.size(), 10u);
  for (uint32_t seed : {1u, 2u})
    figures.emplace_back("generated", bench::GenerateFigure(400, seed));

  for (auto& [name, original] : figures) {
    Figure compact = original, families = original;
    RecomputeAll(compact);
    RecomputeThroughFamilies(families);
    ExpectSameRecords(compact, families, name);
    for (int32_t p = 1; p <= original.classCount[kClassPoint]; ++p) {
      if (original.points[p].free == 0 || original.points[p].boundClass != 0) continue;
      for (Figure* fig : {&compact, &families}) {
        fig->points[p].x += 0.75;
        fig->points[p].y -= 0.5;
      }
      RecomputeAll(compact);
      RecomputeThroughFamilies(families);
      ExpectSameRecords(compact, families, name + " after moving point " + std::to_string(p));
    }
  }
}

// The circumcentre as the bisector lines give it, built step by step.
void CircumcentreByLines(const PointRec& a, const PointRec& b, const PointRec& c, PointRec& out) {
  LineRec ab, ac, bisectAB, bisectAC;
  LineThroughPoints(a, b, ab);
  LineThroughPoints(a, c, ac);
  PerpendicularBisector(ab, bisectAB);
  PerpendicularBisector(ac, bisectAC);
  IntersectLines(bisectAB, bisectAC, out);
}

TEST(CompactPass, CircumcentreMatchesTheBisectorLinesToTheLastBit) {
  const double big = std::numeric_limits<double>::max() / 2;
  struct Case {
    double ax, ay, bx, by, cx, cy;
  };
  std::vector<Case> cases = {
      {0, 0, 4, 0, 0, 3},            // right angle at A: centre (2, 1.5)
      {0, 0, 1, 0, 2, 0},            // collinear: bisectors parallel
      {0, 0, 0.0099, 0, 0, 1},       // AB too short to have a direction
      {0, 0, 0.0101, 0, 0, 1},       // just long enough
      {1, 1, 1, 1, 1, 1},            // all three the same
      {0, 0, 1, 0.0001, 2, 0.0003},  // nearly collinear: bisectors within the tolerance
      {1e8, 1e8, 1e8 + 3, 1e8, 1e8, 1e8 + 7},
      {big, big, -big, big, 0, -big},  // midpoints fine, the sums overflow
      {1e200, 0, -1e200, 1, 0, 1e200},
  };
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> any(-50, 50);
  for (int i = 0; i < 200; ++i)
    cases.push_back({any(rng), any(rng), any(rng), any(rng), any(rng), any(rng)});
  for (const Case& k : cases) {
    const PointRec a = PointAt({k.ax, k.ay}), b = PointAt({k.bx, k.by}), c = PointAt({k.cx, k.cy});
    PointRec direct = PointAt({-7, -9}), lines = direct;
    direct.valid = lines.valid = 5;  // neither a result nor a default
    Circumcentre(a, b, c, direct);
    CircumcentreByLines(a, b, c, lines);
    SCOPED_TRACE(::testing::Message() << k.ax << " " << k.ay << " " << k.bx << " " << k.by << " "
                                      << k.cx << " " << k.cy);
    EXPECT_EQ(direct.valid, lines.valid);
    EXPECT_BITS(direct.x, lines.x);
    EXPECT_BITS(direct.y, lines.y);
  }
  PointRec centre;
  Circumcentre(PointAt({0, 0}), PointAt({4, 0}), PointAt({0, 3}), centre);
  EXPECT_EQ(centre.valid, kTrue);
  EXPECT_EQ(centre.x, 2);
  EXPECT_EQ(centre.y, 1.5);
  Circumcentre(PointAt({0, 0}), PointAt({1, 0}), PointAt({2, 0}), centre);
  EXPECT_EQ(centre.valid, kFalse);
  EXPECT_EQ(centre.x, 2);  // an undefined centre keeps its last position
}

// The replay compares the validity each object starts from with the kept analysis' start and
// stops at the first difference; what it had already written must come back, so that the
// analysis then made gives what a fresh one gives. Differences early (a variable) and late
// (a line set by hand, after every number and point) in the sweep.
TEST(CompactPass, ReplayStoppedHalfwayLeavesWhatAFreshAnalysisLeaves) {
  enum class Change { kVariableUndefined, kVariableBack, kFixedLineUndefined, kBinding };
  for (Change change : {Change::kVariableUndefined, Change::kVariableBack,
                        Change::kFixedLineUndefined, Change::kBinding}) {
    Figure kept;
    const int32_t n = Variable(kept, 2);
    const int32_t fromNumbers = Construct(kept, "PXY", {Nm(n), Nm(n)});  // (2, 2)
    const int32_t g = FixedLine(kept, -1, 3, 5, 3);
    const int32_t bound = kept.AllocObject(kClassPoint);
    PointRec& onLine = kept.points[bound];
    onLine.free = kTrue;
    onLine.boundClass = kClassLine;
    onLine.boundIndex = g;
    onLine.boundParam = 1.5;
    onLine.valid = kTrue;
    const int32_t mid = Construct(kept, "PN", {Pt(bound), Pt(fromNumbers), Nm(n), Nm(n)});
    RecomputeAll(kept);
    RecomputeAll(kept);
    const int64_t analyses = kept.pass.analysisCount;

    if (change == Change::kVariableBack) {
      kept.numbers[n].valid = 0;
      RecomputeAll(kept);
    }
    Figure fresh = kept;
    for (Figure* fig : {&kept, &fresh}) {
      switch (change) {
        case Change::kVariableUndefined:
          fig->numbers[n].valid = 0;
          break;
        case Change::kVariableBack:
          fig->numbers[n].valid = kTrue;
          break;
        case Change::kFixedLineUndefined:
          fig->lines[g].valid = 0;
          break;
        case Change::kBinding:
          fig->points[bound].boundParam = -2;
          fig->points[bound].boundClass = 0;
          break;
      }
    }
    fresh.pass.kept = false;
    RecomputeAll(kept);
    RecomputeAll(fresh);
    const std::string name = "change " + std::to_string(static_cast<int>(change));
    EXPECT_GT(kept.pass.analysisCount, analyses) << name;
    ExpectSameRecords(kept, fresh, name);
    const bool numberDefined = change != Change::kVariableUndefined;
    EXPECT_EQ(kept.points[fromNumbers].valid != 0, numberDefined) << name;
    EXPECT_EQ(kept.points[mid].valid != 0, numberDefined && change != Change::kFixedLineUndefined)
        << name;
    if (numberDefined && change != Change::kFixedLineUndefined && change != Change::kBinding) {
      // The bound point 1.5 along y = 3 from (-1, 3); the midpoint of it and (2, 2).
      EXPECT_DOUBLE_EQ(kept.points[mid].x, (0.5 + 2) / 2) << name;
      EXPECT_DOUBLE_EQ(kept.points[mid].y, (3 + 2) / 2.0) << name;
    }
  }
}

}  // namespace
}  // namespace kv
