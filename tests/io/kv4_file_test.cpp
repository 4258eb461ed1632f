#include "io/kv4_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "figure_builder.h"
#include "geometry/recompute.h"
#include "io/text_encoding.h"
#include "io_test_util.h"

namespace kv {
namespace {

using testing::CrLfLines;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

ObjRef P(int32_t i) { return {kClassPoint, i}; }
ObjRef L(int32_t i) { return {kClassLine, i}; }
ObjRef N(int32_t i) { return {kClassNumber, i}; }

// A free point as the point command makes it, with its "○" marker.
ObjRef AddFreePoint(Figure& fig, double x, double y) {
  const ObjRef p = P(testing::FreePoint(fig, x, y));
  fig.points[p.index].marker = testing::kFreePointMarker;
  return p;
}

// The two free points A (2, 3) and B (-1, 4), written out by hand.
std::string TwoPointFile() {
  std::string text = CrLfLines({"2", "\"PNEW\"", "\"PNEW\""});
  for (int i = 0; i < 10; ++i) text += "0,0\r\n";
  text += "1,1\r\n";
  for (int i = 0; i < 4; ++i) text += "0,0\r\n";
  text += "1,2\r\n";
  for (int i = 0; i < 4; ++i) text += "0,0\r\n";
  text += "0\r\n2\r\n";
  for (int i = 0; i < 9; ++i) text += "0\r\n";
  text += CrLfLines({"2,3", "7", "0", "-1", "2", "-1", "0,0", "0", "\"A\""});
  text += CrLfLines({"-1,4", "7", "0", "-1", "2", "-1", "0,0", "0", "\"B\""});
  return text;
}

TEST(FigureFile, TwoFreePointsAreWrittenExactlyAsDocumentedAndReadBack) {
  ScratchFolder dir;
  Figure fig;
  AddFreePoint(fig, 2, 3);
  AddFreePoint(fig, -1, 4);
  FigureFileIO io;
  ASSERT_TRUE(io(fig, dir.File("two.kv4"), "W").ok());
  EXPECT_EQ(ReadBytes(dir.File("two.kv4")), TwoPointFile());

  Figure back;
  ASSERT_TRUE(io(back, dir.File("two.kv4"), "R").ok());
  EXPECT_FALSE(io.olderGeneration);
  EXPECT_EQ(back.StepCount(), 2);
  EXPECT_EQ(back.KindOf(2), Kind::kPNEW);
  EXPECT_EQ(back.classCount[kClassPoint], 2);
  EXPECT_EQ(back.points[2].x, -1);
  EXPECT_EQ(back.points[2].y, 4);
  EXPECT_EQ(back.points[2].free, -1);
  EXPECT_EQ(back.points[2].marker, 2);
  EXPECT_EQ(back.points[1].name, "A");
  EXPECT_EQ(back.Output(2, 1), P(2));
}

TEST(FigureFile, EmptyFigureIsTwelveZeroLines) {
  ScratchFolder dir;
  Figure fig;
  FigureFileIO io;
  ASSERT_TRUE(io(fig, dir.File("empty.kv4"), "W").ok());
  std::string twelve;
  for (int i = 0; i < 12; ++i) twelve += "0\r\n";
  EXPECT_EQ(ReadBytes(dir.File("empty.kv4")), twelve);
  Figure back;
  AddFreePoint(back, 1, 1);
  back.NewFigure();
  ASSERT_TRUE(io(back, dir.File("empty.kv4"), "R").ok());
  EXPECT_EQ(back.StepCount(), 0);
  EXPECT_EQ(back.classCount[kClassPoint], 0);
}

TEST(FigureFile, OtherModeLettersDoNothing) {
  ScratchFolder dir;
  Figure fig;
  FigureFileIO io;
  EXPECT_EQ(io(fig, dir.File("x.kv4"), "w").status, FileStatus::kIgnored);
  EXPECT_EQ(io(fig, dir.File("x.kv4"), "X").status, FileStatus::kIgnored);
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.kv4")));
}

TEST(FigureFile, NumbersFormatWithFifteenDigitsAndExponents) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {2, "2"},
      {-3.5, "-3.5"},
      {0.5, "0.5"},
      {-0.25, "-0.25"},
      {1e-5, "1E-05"},
      {0.0001, "0.0001"},
      {-0.0, "0"},
      {1.0 / 3, "0.333333333333333"},
      {123456789012345, "123456789012345"},
      {1234567890123456, "1.23456789012346E+15"},
      {2.5e20, "2.5E+20"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileNumber(c.value), c.text) << c.value;
  // Every form the reader accepts, and a few it must not.
  EXPECT_EQ(ParseFileNumber(".5"), 0.5);
  EXPECT_EQ(ParseFileNumber("-.25"), -0.25);
  EXPECT_EQ(ParseFileNumber("1.23456789012346E+15"), 1.23456789012346e15);
  EXPECT_EQ(ParseFileNumber("1E-05"), 1e-5);
  for (const char* bad : {"", "-", ".", "1E", "abc", "1,5", "nan", "inf", "1E999", "0x10"})
    EXPECT_FALSE(ParseFileNumber(bad).has_value()) << bad;
}

TEST(FigureFile, HiddenNumbersAndExpressionsShareOneTextField) {
  ScratchFolder dir;
  Figure fig;
  auto add = [&](std::string name, int32_t hidden, std::string expression) {
    const ObjRef n = N(fig.AllocObject(kClassNumber));
    fig.numbers[n.index].name = name;
    fig.numbers[n.index].hidden = hidden;
    fig.numbers[n.index].expression = expression;
    fig.numbers[n.index].valid = kTrue;
    fig.numbers[n.index].independent = kTrue;
  };
  add("AB", 7, "");
  add("x", 0, "A+B");
  add("AB", 7, "A+B");
  add("a_b", 0, "");        // written full-width, so as not to read back as the hidden mark
  add("p@q", 0, "");        // nor as the start of the expression
  add("∠ABC", 0, "");       // Japanese signs survive the code page
  add("AB@C", 0, "N1+N2");  // a derived label from points named with "@" keeps its formula
  FigureFileIO io;
  ASSERT_TRUE(io(fig, dir.File("n.kv4"), "W").ok());
  const std::string text = *ShiftJisToUtf8(ReadBytes(dir.File("n.kv4")));
  EXPECT_NE(text.find("\"AB_@\""), std::string::npos);
  EXPECT_NE(text.find("\"x@A+B\""), std::string::npos);
  EXPECT_NE(text.find("\"AB_@A+B\""), std::string::npos);

  Figure back;
  ASSERT_TRUE(io(back, dir.File("n.kv4"), "R").ok());
  const struct {
    const char* name;
    int32_t hidden;
    const char* expression;
  } expected[] = {{"AB", 7, ""},   {"x", 0, "A+B"}, {"AB", 7, "A+B"},     {"a＿b", 0, ""},
                  {"p＠q", 0, ""}, {"∠ABC", 0, ""}, {"AB＠C", 0, "N1+N2"}};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(back.numbers[i + 1].name, expected[i].name) << i;
    EXPECT_EQ(back.numbers[i + 1].hidden, expected[i].hidden) << i;
    EXPECT_EQ(back.numbers[i + 1].expression, expected[i].expression) << i;
    EXPECT_EQ(back.numbers[i + 1].independent, -1) << i;
  }

  // A file that holds "_" or "@" inside the name field itself reads as ever: the name is cut
  // there, an "_" marks it hidden and what follows the first "@" is the expression.
  std::string raw = ReadBytes(dir.File("n.kv4"));
  const std::string wide = Utf8ToShiftJis("a＿b@");
  raw.replace(raw.find(wide), wide.size(), "a_b@");
  const std::string wideAt = Utf8ToShiftJis("p＠q@");
  raw.replace(raw.find(wideAt), wideAt.size(), "p@q@");
  WriteBytes(dir.File("n.kv4"), raw);
  ASSERT_TRUE(io(back, dir.File("n.kv4"), "R").ok());
  EXPECT_EQ(back.numbers[4].name, "a");
  EXPECT_EQ(back.numbers[4].hidden, 7);
  EXPECT_EQ(back.numbers[5].name, "p");
  EXPECT_EQ(back.numbers[5].expression, "q");
}

// The independence flag is a 16-bit field: a damaged file's larger value saturates on reading,
// and the figure then saves the same bytes every time.
TEST(FigureFile, AnIndependenceFlagBeyondSixteenBitsSaturates) {
  ScratchFolder dir;
  const std::string head = "0\n2\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n";
  WriteBytes(dir.File("flag.kv4"), head + "1,-1,\"a@\"\n70000\n2,-1,\"b@\"\n-70000\n");
  FigureFileIO io;
  Figure fig;
  ASSERT_TRUE(io(fig, dir.File("flag.kv4"), "R").ok());
  EXPECT_EQ(fig.numbers[1].independent, 32767);
  EXPECT_EQ(fig.numbers[2].independent, -32768);
  EXPECT_EQ(fig.numbers[2].value, 2);
  ASSERT_TRUE(io(fig, dir.File("once.kv4"), "W").ok());
  Figure back;
  ASSERT_TRUE(io(back, dir.File("once.kv4"), "R").ok());
  ASSERT_TRUE(io(back, dir.File("twice.kv4"), "W").ok());
  EXPECT_EQ(ReadBytes(dir.File("once.kv4")), ReadBytes(dir.File("twice.kv4")));
}

TEST(FigureFile, PendingClassesAreWrittenAsZeroAndQuotesCannotBreakTheFile) {
  ScratchFolder dir;
  Figure fig;
  AddFreePoint(fig, 0, 0);
  AddFreePoint(fig, 1, 0);
  const int32_t s = fig.AppendStep(
      "LRGN", {ObjRef{kPendingNumberClass, 0}, P(1), P(2), ObjRef{kPendingMacroClass, 0}}, {});
  fig.SetObjectName(P(1), "a\"b");
  FigureFileIO io;
  ASSERT_TRUE(io.Write(fig, dir.File("p.kv4")).ok());
  Figure back;
  ASSERT_TRUE(io.Read(back, dir.File("p.kv4")).ok());
  EXPECT_EQ(back.Parent(s, 1), (ObjRef{0, 0}));
  EXPECT_EQ(back.Parent(s, 2), P(1));
  EXPECT_EQ(back.Parent(s, 4), (ObjRef{0, 0}));
  EXPECT_EQ(back.points[1].name, "a'b");
  EXPECT_EQ(back.points[2].x, 1);
}

TEST(FigureFile, LongTextsAreCutToTheirFields) {
  ScratchFolder dir;
  std::string text = CrLfLines({"1", "\"PNEWXYZ\"", "0,0", "0,0", "0,0", "0,0", "0,0", "1,1", "0,0",
                                "0,0", "0,0", "0,0", "0", "1"});
  for (int i = 0; i < 9; ++i) text += "0\r\n";
  text += CrLfLines({"1,2", "7", "0", "-1", "2", "-1", "0,0", "0", "\"ABCDEFGHIJKLMN\""});
  WriteBytes(dir.File("long.kv4"), text);
  Figure fig;
  FigureFileIO io;
  ASSERT_TRUE(io.Read(fig, dir.File("long.kv4")).ok());
  EXPECT_EQ(fig.KindCode(1), "PNEWX");
  EXPECT_EQ(fig.points[1].name, "ABCDEFGHIJ");
}

// A file of the older generation: number records without their `independent` line.
TEST(FigureFile, OlderGenerationLoadsWithEveryFieldInPlace) {
  ScratchFolder dir;
  std::string text = CrLfLines({"1",   "\"PNEW\"", "0,0", "0,0", "0,0", "0,0", "0,0", "1,1",
                                "0,0", "0,0",      "0,0", "0,0", "2",   "1",   "0",   "0",
                                "0",   "0",        "0",   "0",   "0",   "0",   "0"});
  text += CrLfLines({"1.5,-1,\"s@\"", "2,-1,\"t_@N1+N1\""});
  text += CrLfLines({"2,3", "7", "0", "-1", "2", "-1", "0,0", "0", "\"A\""});
  WriteBytes(dir.File("old.kv4"), text);
  Figure fig;
  FigureFileIO io;
  ASSERT_TRUE(io.Read(fig, dir.File("old.kv4")).ok());
  EXPECT_TRUE(io.olderGeneration);
  EXPECT_EQ(fig.numbers[1].value, 1.5);
  EXPECT_EQ(fig.numbers[2].value, 2);
  EXPECT_EQ(fig.numbers[2].hidden, 7);
  EXPECT_EQ(fig.numbers[2].expression, "N1+N1");
  EXPECT_EQ(fig.numbers[1].independent, 0);
  EXPECT_EQ(fig.numbers[2].independent, 0);
  EXPECT_EQ(fig.points[1].x, 2);
  EXPECT_EQ(fig.points[1].name, "A");

  // A single number and nothing else: the missing line is only noticed at the end.
  std::string one = CrLfLines({"0"});
  one += CrLfLines({"1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"});
  one += CrLfLines({"4,-1,\"k@\""});
  WriteBytes(dir.File("one.kv4"), one);
  Figure single;
  ASSERT_TRUE(io.Read(single, dir.File("one.kv4")).ok());
  EXPECT_TRUE(io.olderGeneration);
  EXPECT_EQ(single.numbers[1].value, 4);
  EXPECT_EQ(single.numbers[1].name, "k");

  // The next call starts in the current layout again.
  Figure current;
  AddFreePoint(current, 1, 2);
  ASSERT_TRUE(io.Write(current, dir.File("cur.kv4")).ok());
  ASSERT_TRUE(io.Read(current, dir.File("cur.kv4")).ok());
  EXPECT_FALSE(io.olderGeneration);
}

TEST(FigureFile, SwapFlagsAreWrittenLastAndSetAgain) {
  ScratchFolder dir;
  Figure fig;
  for (int i = 0; i < 5; ++i) AddFreePoint(fig, i, i);
  fig.SetStepSwap(4, kTrue);
  FigureFileIO io;
  ASSERT_TRUE(io.Write(fig, dir.File("swap.kv4")).ok());
  const std::string bytes = ReadBytes(dir.File("swap.kv4"));
  EXPECT_TRUE(bytes.ends_with("\"B\"\r\n\"REV=\",4\r\n") ||
              bytes.ends_with("\"E\"\r\n\"REV=\",4\r\n"));
  // Lines after the records that are not swap lines are ignored.
  WriteBytes(dir.File("swap.kv4"), bytes + "comment,1\r\n\r\n\"REV=\",2\r\n");
  Figure back;
  ASSERT_TRUE(io.Read(back, dir.File("swap.kv4")).ok());
  for (int s = 1; s <= 5; ++s) EXPECT_EQ(back.StepSwap(s) != 0, s == 4 || s == 2) << s;
}

TEST(FigureFile, TablesAreAllocatedFromTheStepCountAndTheClassCounts) {
  ScratchFolder dir;
  Figure fig;
  for (int i = 0; i < 60; ++i) AddFreePoint(fig, i, 0);
  FigureFileIO io;
  ASSERT_TRUE(io.Write(fig, dir.File("sixty.kv4")).ok());
  Figure back;
  ASSERT_TRUE(io.Read(back, dir.File("sixty.kv4")).ok());
  EXPECT_EQ(back.UpperBound(kClassPoint), 70);
  EXPECT_EQ(back.UpperBound(kClassLine), 70);
  EXPECT_EQ(back.UpperBound(-1), 140);
  EXPECT_EQ(back.points[60].x, 59);
  EXPECT_EQ(back.figureCapacity, kInitialCapacity);

  // More objects of one class than the step count provides for: a step may have five outputs.
  Figure many;
  for (int i = 0; i < 12; ++i) {
    std::vector<ObjRef> outs;
    const int32_t s = many.AppendStep();
    many.SetStepKind(s, "PT5");
    for (int k = 1; k <= 5; ++k) many.SetStepOutput(s, k, N(many.AllocObject(kClassNumber)));
  }
  ASSERT_EQ(many.classCount[kClassNumber], 60);
  ASSERT_TRUE(io.Write(many, dir.File("many.kv4")).ok());
  Figure manyBack;
  ASSERT_TRUE(io.Read(manyBack, dir.File("many.kv4")).ok());
  EXPECT_GE(manyBack.UpperBound(kClassNumber), 60);
  // The previous-pass tables are filled by the first recompute, not while reading; the numbers
  // have none, so a figure of many numbers holds its number table once.
  RecomputeAll(manyBack);
  EXPECT_TRUE(manyBack.prevNumbers.empty());
  EXPECT_EQ(manyBack.Output(12, 5), N(60));
}

// The documented merge: 3 steps with 2 points behind 5 steps with 4 points.
TEST(FigureFile, MergeMovesEveryReferenceByTheCountsHeldBefore) {
  ScratchFolder dir;
  Figure add;
  const ObjRef a = AddFreePoint(add, 1, 1), b = AddFreePoint(add, 2, 2);
  add.AppendStep("L1", {a, b}, {L(add.AllocObject(kClassLine))});
  add.SetStepSwap(2, kTrue);
  // Numbers: a variable and an expression over it and the line's... own numbers 1 and 2.
  add.numbers[add.AllocObject(kClassNumber)].value = 3;
  add.numbers[add.AllocObject(kClassNumber)].value = 4;
  const ObjRef sum = N(add.AllocObject(kClassNumber));
  add.AppendStep("CALC", {}, {sum});
  add.numbers[sum.index].expression = "N1+N2*N1";
  add.points[b.index].boundClass = kClassPoint;  // b coincides with a
  add.points[b.index].boundIndex = 1;
  FigureFileIO io;
  ASSERT_TRUE(io.Write(add, dir.File("add.kv4")).ok());

  Figure fig;
  for (int i = 0; i < 4; ++i) AddFreePoint(fig, 10 + i, 0);
  fig.AppendStep("L1", {P(1), P(2)}, {L(fig.AllocObject(kClassLine))});
  for (int i = 0; i < 3; ++i) fig.numbers[fig.AllocObject(kClassNumber)].value = 100 + i;
  ASSERT_EQ(fig.StepCount(), 5);

  io.hasComplexSteps = true;
  ASSERT_TRUE(io.Merge(fig, dir.File("add.kv4")).ok());
  EXPECT_FALSE(io.hasComplexSteps);
  EXPECT_EQ(fig.StepCount(), 9);
  EXPECT_EQ(fig.classCount[kClassPoint], 6);
  EXPECT_EQ(fig.classCount[kClassLine], 2);
  EXPECT_EQ(fig.classCount[kClassNumber], 6);
  EXPECT_EQ(fig.Output(6, 1), P(5));
  EXPECT_EQ(fig.Output(6, 2), (ObjRef{0, 0}));
  EXPECT_EQ(fig.Parent(8, 1), P(5));
  EXPECT_EQ(fig.Parent(8, 2), P(6));
  EXPECT_EQ(fig.Parent(8, 3), (ObjRef{0, 0}));
  EXPECT_EQ(fig.Output(8, 1), L(2));
  EXPECT_EQ(fig.Output(9, 1), N(6));
  EXPECT_EQ(fig.numbers[6].expression, "N4+N5*N4");
  EXPECT_EQ(fig.points[6].boundIndex, 5);
  EXPECT_EQ(fig.points[5].boundIndex, 3);  // a free point's index moves by the number count
  EXPECT_EQ(fig.points[6].x, 2);
  EXPECT_NE(fig.StepSwap(7), 0);
  EXPECT_EQ(fig.StepSwap(6), 0);
  EXPECT_EQ(fig.KindOf(8), Kind::kL1);
  // What was held is untouched.
  EXPECT_EQ(fig.points[4].x, 13);
  EXPECT_EQ(fig.numbers[3].value, 102);
  EXPECT_EQ(fig.Parent(5, 2), P(2));
}

TEST(FigureFile, MergeGrowsTheTablesAndSetsComplexStepsFromTheMergedFileOnly) {
  ScratchFolder dir;
  Figure add;
  for (int i = 0; i < 30; ++i) AddFreePoint(add, i, 0);
  add.AppendStep("PO+", {P(1), P(2)}, {P(add.AllocObject(kClassPoint))});
  FigureFileIO io;
  ASSERT_TRUE(io.Write(add, dir.File("add.kv4")).ok());
  Figure fig;
  for (int i = 0; i < 45; ++i) AddFreePoint(fig, i, 0);
  ASSERT_TRUE(io.Merge(fig, dir.File("add.kv4")).ok());
  EXPECT_TRUE(io.hasComplexSteps);
  EXPECT_EQ(fig.classCount[kClassPoint], 76);
  EXPECT_GE(fig.UpperBound(kClassPoint), 76);
  EXPECT_EQ(fig.prevPoints.size(), fig.points.size());
  EXPECT_EQ(fig.Parent(76, 2), P(47));
  EXPECT_EQ(fig.points[75].x, 29);
}

TEST(FigureFile, ExistingReadOnlyFileIsRefusedAndLeftUnchanged) {
  ScratchFolder dir;
  const std::string path = dir.File("locked.kv4");
  WriteBytes(path, "original");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  Figure fig;
  AddFreePoint(fig, 1, 1);
  FigureFileIO io;
  const FileResult result = io.Write(fig, path);
  EXPECT_EQ(result.status, FileStatus::kReadOnly);
  EXPECT_EQ(ReadBytes(path), "original");
  EXPECT_EQ(FileResultMessage(result, Translator{}), kReadOnlyMessage);
  EXPECT_EQ(FileResultMessage(result, Translator{Language::kEnglish, {}}),
            "This file is ReadOnly. Rename and resave.");
}

TEST(FigureFile, WritesReplaceTheTargetWithoutLeavingScratchFiles) {
  ScratchFolder dir;
  const std::string path = dir.File("f.kv4");
  WriteBytes(path, "old contents");
  std::filesystem::permissions(path, std::filesystem::perms(0640));
  Figure fig;
  AddFreePoint(fig, 1, 1);
  FigureFileIO io;
  ASSERT_TRUE(io.Write(fig, path).ok());
  EXPECT_NE(ReadBytes(path), "old contents");
  EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
  // Through a link the file it names is replaced, and the link stays a link.
  std::filesystem::create_symlink(path, dir.File("link.kv4"));
  AddFreePoint(fig, 2, 2);
  ASSERT_TRUE(io.Write(fig, dir.File("link.kv4")).ok());
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.kv4")));
  EXPECT_EQ(ReadBytes(path), ReadBytes(dir.File("link.kv4")));
  EXPECT_EQ(ReadBytes(path).substr(0, 3), "2\r\n");
  std::filesystem::remove(dir.File("link.kv4"));
  // A missing folder fails without creating anything.
  const FileResult missing = io.Write(fig, dir.File("no/such/folder.kv4"));
  EXPECT_EQ(missing.status, FileStatus::kFailed);
  EXPECT_FALSE(FileResultMessage(missing, Translator{}).empty());
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries, (void)entry;
  EXPECT_EQ(entries, 1);
}

// Large files are converted to Shift_JIS in pieces; every character must come out as the
// conversion of the whole text gives it, wherever the pieces end.
TEST(FigureFile, LargeFilesConvertEveryCharacterAsTheWholeTextWould) {
  ScratchFolder dir;
  Figure fig;
  const char* const names[] = {"点A", "ｱｲｳｴｵ", "\xF0\x9F\x98\x80x", "Ω1", "ABC", "∠ABC", "円周"};
  for (int i = 0; i < 5000; ++i) {
    AddFreePoint(fig, i, -i);
    fig.points[fig.classCount[kClassPoint]].name = names[i % 7];
  }
  FigureFileIO io;
  ASSERT_TRUE(io.Write(fig, dir.File("big.kv4")).ok());
  const std::string written = ReadBytes(dir.File("big.kv4"));
  EXPECT_GT(written.size(), size_t{4} << 16);
  EXPECT_EQ(written, Utf8ToShiftJis(FigureFileText(fig)));
  Figure back;
  ASSERT_TRUE(io.Read(back, dir.File("big.kv4")).ok());
  EXPECT_EQ(back.points[1].name, "点A");
  EXPECT_EQ(back.points[3].name, "?x");  // no Shift_JIS form
  EXPECT_EQ(back.points[4997].name, "∠ABC");
  EXPECT_EQ(back.points[5000].name, "ｱｲｳｴｵ");
}

// Every damaged variant of a valid file must fail cleanly and leave the figure untouched.
TEST(FigureFile, DamagedFilesFailCleanlyAndKeepWhatWasHeld) {
  ScratchFolder dir;
  Figure source;
  const ObjRef a = AddFreePoint(source, 1, 2), b = AddFreePoint(source, 3, 5);
  source.AppendStep("L1", {a, b}, {L(source.AllocObject(kClassLine))});
  const ObjRef c = {kClassCircle, source.AllocObject(kClassCircle)};
  source.AppendStep("C2", {a, b}, {c});
  source.circles[c.index].radius = 2.5;
  FigureFileIO io;
  ASSERT_TRUE(io.Write(source, dir.File("good.kv4")).ok());
  const std::string good = ReadBytes(dir.File("good.kv4"));

  std::vector<std::string> corpus;
  // Every truncation that cuts into a field.
  for (size_t n = 0; n + 2 < good.size(); ++n) corpus.push_back(good.substr(0, n));
  auto replaced = [&](std::string_view from, std::string_view to) {
    std::string text = good;
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
  };
  corpus.push_back(replaced("4\r\n", "999999999\r\n"));   // huge step count
  corpus.push_back(replaced("4\r\n", "-3\r\n"));          // negative step count
  corpus.push_back(replaced("4\r\n", "2147483648\r\n"));  // beyond 32 bits
  corpus.push_back(replaced("4\r\n", "4.5\r\n"));         // not an integer
  corpus.push_back(replaced("1,1\r\n", "1,9\r\n"));       // index past the count
  corpus.push_back(replaced("1,1\r\n", "1,-1\r\n"));      // negative index
  corpus.push_back(replaced("1,1\r\n", "11,1\r\n"));      // class outside 0..10
  corpus.push_back(replaced("1,1\r\n", "-1,1\r\n"));
  corpus.push_back(replaced("0\r\n2\r\n1\r\n1\r\n", "0\r\n2000000000\r\n1\r\n1\r\n"));  // count
  corpus.push_back(replaced("0\r\n2\r\n1\r\n1\r\n", "0\r\n-2\r\n1\r\n1\r\n"));
  corpus.push_back(replaced("1,2\r\n", "x,2\r\n"));      // non-numeric
  corpus.push_back(replaced("1,2\r\n", "\"1\",2\r\n"));  // text for a number
  corpus.push_back(replaced("2.5\r\n", "2.5.1\r\n"));
  corpus.push_back(replaced("2.5\r\n", "1E400\r\n"));  // beyond the double range
  corpus.push_back(replaced("\"A\"", "\"A\"x"));       // junk after a text
  corpus.push_back(replaced("\"A\"", "\"\x81\""));     // broken Shift_JIS
  corpus.push_back(replaced("-1\r\n2\r\n-1\r\n0,0", "-1\r\n2\r\n-1\r\n2,7"));  // bound to line 7
  corpus.push_back(replaced("-1\r\n2\r\n-1\r\n0,0", "-1\r\n2\r\n-1\r\n4,1"));  // bound class 4
  corpus.push_back(good + "\"REV=\",5\r\n");  // swap of a missing step
  corpus.push_back(good + "\"REV=\",x\r\n");
  corpus.push_back(std::string("\xff\xfe\x00garbage", 10));
  corpus.push_back(",,,,\r\n\r\n\"");

  Figure held;
  AddFreePoint(held, 7, 7);
  held.AppendStep("L1", {P(1), P(1)}, {L(held.AllocObject(kClassLine))});
  const std::string heldText = FigureFileText(held);
  for (size_t i = 0; i < corpus.size(); ++i) {
    WriteBytes(dir.File("bad.kv4"), corpus[i]);
    Figure target = held;
    const FileResult read = io.Read(target, dir.File("bad.kv4"));
    EXPECT_EQ(read.status, FileStatus::kFailed) << "case " << i;
    EXPECT_FALSE(FileResultMessage(read, Translator{Language::kEnglish, {}}).empty());
    EXPECT_EQ(FigureFileText(target), heldText) << "case " << i;
    const FileResult merged = io.Merge(target, dir.File("bad.kv4"));
    EXPECT_EQ(merged.status, FileStatus::kFailed) << "case " << i;
    EXPECT_EQ(FigureFileText(target), heldText) << "case " << i;
  }
  // The unchanged file still reads, and a missing file is reported as such.
  Figure fine;
  EXPECT_TRUE(io.Read(fine, dir.File("good.kv4")).ok());
  EXPECT_EQ(io.Read(fine, dir.File("missing.kv4")).status, FileStatus::kNotFound);
}

// The line (1-based) of the first occurrence of `needle` in a file text.
int LineOf(const std::string& text, std::string_view needle) {
  const size_t at = text.find(needle);
  EXPECT_NE(at, std::string::npos) << needle;
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}

// Damage must be reported as damage, at its own line, and never load as a shifted figure.
TEST(FigureFile, DamageIsReportedAtItsLineInsteadOfLoadingShiftedValues) {
  ScratchFolder dir;
  Figure source;
  for (const char* name : {"a", "b"}) {
    const ObjRef n = N(source.AllocObject(kClassNumber));
    source.numbers[n.index].value = n.index == 1 ? 0 : 2;
    source.numbers[n.index].valid = kTrue;
    source.numbers[n.index].name = name;
    source.numbers[n.index].independent = kTrue;
  }
  AddFreePoint(source, 1, 2);
  const std::string good = FigureFileText(source);
  auto replaced = [&](std::string_view from, std::string_view to) {
    std::string text = good;
    return text.replace(text.find(from), from.size(), to);
  };
  // The second number loses its `independent` line. Read in the older layout, the record
  // after the first would begin with its -1 and take a bare field as its text.
  std::string cut = good.substr(0, good.find("2,-1,\"b@\"\r\n") + 11);
  std::string lost = good;
  lost.erase(lost.find("\"b@\"\r\n-1\r\n") + 6, 4);
  const struct {
    std::string text;
    std::string_view reason;  // English
    int line;
  } cases[] = {
      {cut, "a count is out of range", 13},  // the class counts promise more than follows
      {good.substr(0, good.find("\"A\"")), "the file ends too early", LineOf(good, "\"A\"")},
      {lost, "a number field holds something else", LineOf(lost, "\"A\"")},
      {replaced("\"b@\"", "b@"), "a text field is not in quotes", LineOf(good, "\"b@\"")},
      {replaced("\"PNEW\"", "PNEW"), "a text field is not in quotes", 2},
      {replaced("\"A\"", "\"A"), "a quote is not closed", LineOf(good, "\"A\"")},
      {replaced("\"b@\"", "\"b@"), "a quote is not closed", LineOf(good, "\"b@\"")},
      {replaced("1,2\r\n7", "1,x\r\n7"), "a number field holds something else",
       LineOf(good, "1,2\r\n7")},
  };
  FigureFileIO io;
  for (const auto& c : cases) {
    WriteBytes(dir.File("bad.kv4"), c.text);
    Figure fig;
    const FileResult result = io.Read(fig, dir.File("bad.kv4"));
    ASSERT_EQ(result.status, FileStatus::kFailed) << c.reason;
    EXPECT_EQ(FileResultMessage(result, Translator{Language::kEnglish, {}}),
              "The figure file could not be read: " + std::string(c.reason) + " (line " +
                  std::to_string(c.line) + ")");
  }

  // The same damage in a file of the older layout is found at its line too.
  std::string older = good;
  for (const char* independent : {"\"a@\"\r\n-1\r\n", "\"b@\"\r\n-1\r\n"}) {
    const size_t at = older.find(independent);
    older.erase(at + 6, 4);
  }
  Figure fig;
  WriteBytes(dir.File("old.kv4"), older);
  ASSERT_TRUE(io.Read(fig, dir.File("old.kv4")).ok());
  EXPECT_TRUE(io.olderGeneration);
  EXPECT_EQ(fig.numbers[2].value, 2);
  EXPECT_EQ(fig.points[1].name, "A");
  const std::string damaged = older.replace(older.find("\"A\""), 3, "\"A");
  WriteBytes(dir.File("old.kv4"), damaged);
  const FileResult result = io.Read(fig, dir.File("old.kv4"));
  EXPECT_EQ(result.status, FileStatus::kFailed);
  EXPECT_EQ(result.line, LineOf(damaged, "\"A\r\n"));
}

TEST(FigureFile, AFolderGivenAsAFileIsNamedAsSuch) {
  ScratchFolder dir;
  std::filesystem::create_directory(dir.File("folder.kv4"));
  Figure fig;
  FigureFileIO io;
  const Translator english{Language::kEnglish, {}};
  const FileResult read = io.Read(fig, dir.File("folder.kv4"));
  EXPECT_EQ(read.status, FileStatus::kFailed);
  EXPECT_EQ(FileResultMessage(read, english),
            "The figure file could not be read: this is a folder, not a file");
  EXPECT_EQ(io.Merge(fig, dir.File("folder.kv4")).status, FileStatus::kFailed);
  EXPECT_EQ(FileResultMessage(io.Read(fig, dir.File("none.kv4")), english), "File not found");
}

TEST(FigureFile, MergeRefusesAnExpressionThatWouldOutgrowItsField) {
  ScratchFolder dir;
  Figure add;
  for (int i = 0; i < 9; ++i) add.numbers[add.AllocObject(kClassNumber)].value = i;
  const ObjRef e = N(add.AllocObject(kClassNumber));
  add.AppendStep("CALC", {}, {e});
  // 70 characters: eighteen one-digit operands and their operators, almost.
  std::string expression = "N1";
  while (expression.size() + 3 <= 70) expression += "+N2";
  add.numbers[e.index].expression = expression;
  FigureFileIO io;
  ASSERT_TRUE(io.Write(add, dir.File("add.kv4")).ok());
  Figure fig;
  for (int i = 0; i < 10; ++i) fig.numbers[fig.AllocObject(kClassNumber)].value = i;
  const std::string before = FigureFileText(fig);
  EXPECT_EQ(io.Merge(fig, dir.File("add.kv4")).status, FileStatus::kFailed);
  EXPECT_EQ(FigureFileText(fig), before);
}

}  // namespace
}  // namespace kv
