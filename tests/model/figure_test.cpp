#include "model/figure.h"

#include <gtest/gtest.h>

#include <set>

namespace kv {
namespace {

TEST(Figure, NewFigureSetsDocumentedBoundsAndDefaultNames) {
  Figure fig;
  for (int c = 0; c <= 3; ++c) EXPECT_EQ(fig.UpperBound(c), 50);
  // Nothing reads the previous values of numbers, so that twin holds no records at all.
  EXPECT_TRUE(fig.prevNumbers.empty());
  EXPECT_EQ(fig.prevPoints.size(), 51u);
  EXPECT_EQ(fig.prevLines.size(), 51u);
  EXPECT_EQ(fig.prevCircles.size(), 51u);
  EXPECT_EQ(fig.StepKindBound(), 100);
  EXPECT_EQ(fig.UpperBound(-1), 100);
  EXPECT_EQ(fig.angleMarkCount, 0);  // the mark list holds only what it is given
  EXPECT_EQ(fig.StepCount(), 0);
  for (int c = 0; c <= 10; ++c) EXPECT_EQ(fig.classCount[c], 0);
  EXPECT_EQ(fig.points[1].name, "A");
  EXPECT_EQ(fig.points[3].name, "C");
  EXPECT_EQ(fig.points[26].name, "Z");
  EXPECT_EQ(fig.points[27].name, "27");
  EXPECT_EQ(fig.prevPoints[2].name, "B");
  EXPECT_EQ(fig.lines[1].name, "1");
  EXPECT_EQ(fig.circles[12].name, "12");
  EXPECT_EQ(fig.numbers[1].name, "");
  EXPECT_EQ(fig.points[5].colour, 7);
  EXPECT_EQ(fig.lines[5].colour, 7);
  EXPECT_EQ(fig.circles[5].colour, 7);
  EXPECT_TRUE(fig.angleMarksOn);

  Figure big(120);
  EXPECT_EQ(big.UpperBound(kClassPoint), 120);
  EXPECT_EQ(big.StepKindBound(), 240);
}

TEST(Figure, TablesGrowByTenWithEmptyNamesWhenFull) {
  Figure fig;
  for (int i = 1; i <= 50; ++i) EXPECT_EQ(fig.AllocObject(kClassPoint), i);
  EXPECT_EQ(fig.UpperBound(kClassPoint), 50);
  fig.points[50].x = 3.5;
  EXPECT_EQ(fig.AllocObject(kClassPoint), 51);
  EXPECT_EQ(fig.UpperBound(kClassPoint), 60);
  EXPECT_EQ(fig.prevPoints.size(), 61u);
  EXPECT_EQ(fig.points[50].x, 3.5);
  EXPECT_EQ(fig.points[50].name, "50");
  for (int i = 51; i <= 60; ++i) {
    EXPECT_EQ(fig.points[i].name, "");
    EXPECT_EQ(fig.points[i].colour, 7);
  }
  EXPECT_EQ(fig.UpperBound(kClassLine), 50);  // other classes untouched

  // Steps: the kind table grows one at a time, the slot tables ten at a time.
  for (int s = 1; s <= 100; ++s) fig.AppendStep();
  EXPECT_EQ(fig.StepKindBound(), 100);
  fig.AppendStep();
  EXPECT_EQ(fig.StepCount(), 101);
  EXPECT_EQ(fig.StepKindBound(), 101);
  EXPECT_EQ(fig.UpperBound(-1), 110);
}

TEST(Figure, RemoveLastStepClearsItsOutputs) {
  Figure fig;
  Figure empty;
  empty.RemoveLastStep();  // nothing to remove
  EXPECT_EQ(empty.StepCount(), 0);

  const int32_t line = fig.AllocObject(kClassLine);
  const int32_t circle = fig.AllocObject(kClassCircle);
  for (int i = 0; i < 26; ++i) fig.AllocObject(kClassPoint);
  const int32_t p1 = fig.AllocObject(kClassPoint);
  const int32_t p2 = fig.AllocObject(kClassPoint);
  ASSERT_EQ(p1, 27);
  fig.points[p1].x = 4;
  fig.points[p2].valid = kTrue;
  const int32_t s = fig.AppendStep("PC2", {{kClassLine, line}, {kClassCircle, circle}},
                                   {{kClassPoint, p1}, {kClassPoint, p2}});
  EXPECT_EQ(fig.Output(s, 3), ObjRef{});
  fig.RemoveLastStep();
  EXPECT_EQ(fig.StepCount(), 0);
  EXPECT_EQ(fig.classCount[kClassPoint], 26);
  EXPECT_EQ(fig.KindCode(s), "");
  EXPECT_EQ(fig.Parent(s, 1).index, 0);
  EXPECT_EQ(fig.points[p1].x, 0);
  // Cleared slots are named by character code: 27 is '[' and 28 is '\'.
  EXPECT_EQ(fig.points[p1].name, "[");
  EXPECT_EQ(fig.points[p2].name, "\\");
  EXPECT_EQ(fig.points[p2].valid, 0);
  EXPECT_EQ(fig.lines[line].colour, 7);
}

TEST(Figure, ResetObjectNamesSlotsByCharacterCodeUpTo52) {
  Figure fig(60);
  fig.ResetObject({kClassPoint, 52});
  fig.ResetObject({kClassPoint, 53});
  fig.ResetObject({kClassPoint, 33});
  fig.ResetObject({kClassLine, 4});
  fig.ResetObject({kClassNumber, 4});
  fig.ResetObject({kClassCircle, 99});  // outside the table: ignored
  EXPECT_EQ(fig.points[52].name, "t");
  EXPECT_EQ(fig.points[53].name, "53");
  EXPECT_EQ(fig.points[33].name, "a");
  EXPECT_EQ(fig.lines[4].name, "4");
  EXPECT_EQ(fig.numbers[4].name, "");
}

TEST(Figure, SetObjectNameTrimsAndCutsToTheFieldWidth) {
  Figure fig;
  fig.SetObjectName({kClassPoint, 1}, "   P  ");
  EXPECT_EQ(fig.GetName({kClassPoint, 1}), "P");
  fig.SetObjectName({kClassLine, 1}, "ABCDEFGHIJKL");
  EXPECT_EQ(fig.lines[1].name, "ABCDEFGHIJ");
  // Widths count characters, not bytes.
  fig.SetObjectName({kClassCircle, 1}, "円円円円円円円円円円円円");
  EXPECT_EQ(fig.circles[1].name, "円円円円円円円円円円");
  const std::string longName(45, 'x');
  fig.SetObjectName({kClassNumber, 1}, longName);
  EXPECT_EQ(fig.numbers[1].name, std::string(40, 'x'));
  fig.SetObjectName({kClassPoint, 999}, "X");  // outside the table: ignored
}

TEST(Figure, ValidAccessorsIgnoreReferencesOutsideTheTables) {
  Figure fig;
  fig.SetValid({kClassLine, 3}, kTrue);
  EXPECT_EQ(fig.GetValid({kClassLine, 3}), kTrue);
  EXPECT_EQ(fig.lines[3].valid, kTrue);
  fig.SetValid({kClassPoint, 51}, kTrue);
  fig.SetValid({7, 1}, kTrue);
  fig.SetValid({kClassPoint, -1}, kTrue);
  EXPECT_EQ(fig.GetValid({kClassPoint, 51}), 0);
  EXPECT_EQ(fig.GetValid({7, 1}), 0);
}

TEST(Figure, SetOutputsValidStopsAtTheFirstEmptySlot) {
  Figure fig;
  const int32_t s = fig.AppendStep("L3", {}, {{kClassLine, 1}, {kClassPoint, 2}});
  fig.SetStepOutput(s, 4, {kClassPoint, 4});  // after the gap: not an output
  fig.SetOutputsValid(s, -5);
  EXPECT_EQ(fig.lines[1].valid, -5);
  EXPECT_EQ(fig.points[2].valid, -5);
  EXPECT_EQ(fig.points[4].valid, 0);
}

TEST(Figure, SnapshotAndLineEndsFollowTheTables) {
  Figure fig;
  const int32_t a = fig.AllocObject(kClassPoint);
  const int32_t b = fig.AllocObject(kClassPoint);
  const int32_t g = fig.AllocObject(kClassLine);
  const int32_t h = fig.AllocObject(kClassLine);
  fig.AppendStep("L1   ", {{kClassPoint, b}, {kClassPoint, a}}, {{kClassLine, g}});
  fig.lines[h].byTwoPoints = kTrue;  // stale: h is not an L1 line
  fig.points[a].x = 2;
  fig.RefreshLineEnds();
  EXPECT_EQ(fig.lines[g].byTwoPoints, kTrue);
  EXPECT_EQ(fig.lines[g].endA, b);
  EXPECT_EQ(fig.lines[g].endB, a);
  EXPECT_EQ(fig.lines[h].byTwoPoints, kFalse);
  fig.SnapshotPrevious();
  EXPECT_EQ(fig.prevPoints[a].x, 2);
  EXPECT_EQ(fig.prevLines[g].byTwoPoints, kTrue);
}

TEST(KindCatalogue, EveryKindHasOneRowAndItsCodeParsesBack) {
  std::set<Kind> seen;
  for (const KindInfo& info : KindCatalogue()) {
    EXPECT_TRUE(seen.insert(info.kind).second) << info.code;
    EXPECT_EQ(ParseKind(info.code), info.kind) << info.code;
    EXPECT_LE(info.code.size(), 4u);
    EXPECT_EQ(CodeOf(info.kind), info.code);
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(Kind::kCount) - 2);  // all but kNone, kUnknown
  EXPECT_EQ(ParseKind("L1   "), Kind::kL1);
  EXPECT_EQ(ParseKind("PO-1"), Kind::kPOInv);
  EXPECT_EQ(ParseKind("PO-"), Kind::kPOSub);
  EXPECT_EQ(ParseKind(""), Kind::kNone);
  EXPECT_EQ(ParseKind("    "), Kind::kNone);
  EXPECT_EQ(ParseKind("QQ"), Kind::kUnknown);
  EXPECT_EQ(InfoOf(Kind::kNA3M).descriptionJa, "");
  EXPECT_EQ(InfoOf(Kind::kPC2).outputs, "PP");
  EXPECT_TRUE(InfoOf(Kind::kLRGN).macro);
  EXPECT_FALSE(InfoOf(Kind::kL3).macro);
}

}  // namespace
}  // namespace kv
