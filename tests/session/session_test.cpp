// The interaction spine driven like a user session, with a fake window.
#include "session/session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fake_ui_port.h"
#include "figure_builder.h"
#include "geometry/recompute.h"
#include "io/kv4_file.h"
#include "session_start.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { folder = kv::testing::FreshTestFolder("kv_session_"); }
  void TearDown() override { fs::remove_all(folder); }

  // Starts with a settings file holding `settingsText` (none when empty); by default the full
  // menu.
  void Start(const std::string& commandLine = "",
             const std::string& settingsText = "KVwin_MenuMode = 0\r\n") {
    if (!settingsText.empty()) std::ofstream(folder / "config_kvwin.txt") << settingsText;
    Session::StartupArgs args;
    args.programFolder = folder.string();
    args.commandLine = commandLine;
    args.canvasWidth = 401;
    args.canvasHeight = 301;
    session.Startup(args);
  }

  // Two free points A, B and a segment through them.
  void BuildSegment() {
    Figure& f = session.figure;
    const ObjRef a = testing::Pt(testing::FreePoint(f, -1, 0));
    const ObjRef b = testing::Pt(testing::FreePoint(f, 2, 0));
    testing::Construct(f, "L1", {a, b}, kClassLine);
  }

  fs::path folder;
  FakeUiPort ui;
  Session session{ui};
};

TEST(ModeStackTest, BaseEntryIsNeverPoppedAndAFullStackRefusesPushes) {
  ModeStack stack;
  stack.Reset();
  EXPECT_EQ(stack.Top(), 1);
  EXPECT_EQ(stack.Current(), kModeStandard);
  EXPECT_FALSE(stack.Pop());
  EXPECT_EQ(stack.Current(), kModeStandard);

  EXPECT_TRUE(stack.Push(17));
  EXPECT_TRUE(stack.Push(15));
  EXPECT_EQ(stack.Current(), 15);
  EXPECT_TRUE(stack.Pop());
  EXPECT_EQ(stack.Current(), 17);

  // Slots run to 100: 98 more pushes fit on top of [2, 17], the next one does not.
  for (int i = 0; i < 98; ++i) EXPECT_TRUE(stack.Push(13));
  EXPECT_EQ(stack.Top(), 100);
  EXPECT_FALSE(stack.Push(13));
  EXPECT_EQ(stack.Top(), 100);
}

TEST(InputModesTest, StatusTextsAndMenuEnabling) {
  struct Case {
    int16_t mode;
    const char* text;  // nullptr: no text
  } cases[] = {{2, "標準"},      {6, "変形"},      {8, "例__読込"}, {15, "選択(作図中)"},
               {16, "計算中"},   {29, "点の追加"}, {41, nullptr},   {42, "編集"},
               {44, "編集"},     {63, "数値選択"}, {70, "Marker"},  {72, "ドラッグ"},
               {73, "作図再生"}, {0, nullptr},     {74, nullptr}};
  for (const Case& c : cases) {
    auto text = StatusTextOf(c.mode);
    if (c.text) {
      ASSERT_TRUE(text.has_value()) << c.mode;
      EXPECT_EQ(*text, c.text) << c.mode;
    } else {
      EXPECT_FALSE(text.has_value()) << c.mode;
    }
  }

  const TopMenuEnabling all{true, true, true, true, true, true, true, true, true};
  TopMenuEnabling deforming;
  deforming.option = deforming.help = deforming.zoom = deforming.locus = true;
  TopMenuEnabling helpZoom;
  helpZoom.help = helpZoom.zoom = true;
  EXPECT_EQ(MenuEnablingFor(2), all);
  for (int16_t m : {6, 16, 22, 61}) EXPECT_EQ(MenuEnablingFor(m), deforming) << m;
  EXPECT_EQ(MenuEnablingFor(70), TopMenuEnabling{});
  for (int16_t m : {15, 17, 72, 73, 41}) EXPECT_EQ(MenuEnablingFor(m), helpZoom) << m;
}

TEST(CommandLineTest, QuotesAndBlanks) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"   ", ""},
      {"\"", ""},
      {"  /tmp/a b.kv4  ", "/tmp/a b.kv4"},
      {"\"/tmp/a b.kv4\"", "/tmp/a b.kv4"},
      {" \"/tmp/x.kv4\" ", "/tmp/x.kv4"},
      {"/tmp/x.kv4\"", "/tmp/x.kv4"},
      {"\"/tmp/x.kv4", "/tmp/x.kv4"},
      {"\"\"", ""},
  };
  for (const auto& [line, path] : cases) EXPECT_EQ(FigurePathFromCommandLine(line), path) << line;
}

TEST_F(SessionTest, StartupRunsItsStepsInOrderAndEndsInStandardMode) {
  Start("", "");
  const std::vector<std::string> expected = {"ApplyLanguage", "LayOutStatusPanels", "StatusChanged",
                                             "ApplyWindowSize", "ApplyMenuMode"};
  EXPECT_EQ(ui.calls, expected);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(session.Modes().Top(), 1);
  EXPECT_EQ(session.Caption(), "[untitled] Korvane Win 1.0.0");
  EXPECT_EQ(session.Panel(1).text, "標準");
  EXPECT_EQ(session.Panel(2).text, "untitled");
  EXPECT_EQ(session.Panel(5).text, "Marker");
  EXPECT_EQ(session.settings.delta, 10);
  EXPECT_EQ(session.draw.fontName, "FixedSys");
  EXPECT_EQ(session.ReplayIntervalMs(), 500);
  // 400 pixels across at 20 pixels per unit: 10 units either side of the origin.
  EXPECT_DOUBLE_EQ(session.HalfWidth(), 10.0);
  EXPECT_DOUBLE_EQ(session.HalfHeight(), 7.5);
  EXPECT_EQ(ui.beeps, 0);
}

TEST_F(SessionTest, CommandLineOpensTheFigureWithoutItsQuotes) {
  const std::string sample = std::string(KV_SOURCE_DIR) + "/samples/euler_line.kv4";
  Start("  \"" + sample + "\" ");
  EXPECT_EQ(session.FigureFileName(), sample);
  EXPECT_EQ(session.Caption(), "[euler_line.kv4] Korvane Win 1.0.0");
  EXPECT_EQ(session.Panel(2).text, "euler_line.kv4");
  EXPECT_GT(session.figure.StepCount(), 3);
  EXPECT_EQ(session.Modes().Top(), 1);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_DOUBLE_EQ(session.ScaleUnit(), 0.05);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SessionTest, ComplexFiguresOpenWithTheComplexZoom) {
  Start(std::string(KV_SOURCE_DIR) + "/samples/complex_numbers.kv4");
  EXPECT_DOUBLE_EQ(session.ScaleUnit(), 0.0125);
  EXPECT_TRUE(session.view.axissw);
}

TEST_F(SessionTest, MissingOrDamagedCommandLineFigures) {
  // A name of no existing file (a file opened from the desktop that has gone) is reported
  // with its path as a failure, and the figure is untitled.
  const std::string missing = (folder / "nothing.kv4").string();
  Start("\"" + missing + "\"");
  EXPECT_EQ(session.FigureFileName(), "untitled");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find(missing), std::string::npos);
  EXPECT_EQ(ui.warnings, 1);
  // A file that cannot be read is reported and leaves the figure untitled and empty.
  std::ofstream(folder / "broken.kv4") << "this is not a figure\r\n1,2,3\r\n";
  Start((folder / "broken.kv4").string());
  EXPECT_EQ(session.FigureFileName(), "untitled");
  EXPECT_EQ(session.figure.StepCount(), 0);
  EXPECT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.warnings, 2);
  // An empty command line or blanks name nothing and say nothing.
  Start("  ");
  EXPECT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(session.Modes().Top(), 1);
}

TEST_F(SessionTest, CanvasCopyWorksFromPanelAndF7InEveryModeAndSpringsBack) {
  Start();
  for (int16_t mode : {kModeStandard, kModeConstructSelect, kModeScribble, kModeDrag}) {
    if (mode != kModeStandard) session.PushInputMode(mode);
    session.RefreshStatus();
    const int before = ui.copies;
    session.StatusPanelClick(6);
    session.Command(MenuCommand::mnufBMP);
    EXPECT_EQ(ui.copies, before + 2) << mode;
    EXPECT_FALSE(session.Panel(6).sunken) << mode;
    EXPECT_EQ(session.CurrentInputMode(), mode);
  }
  EXPECT_TRUE(Session::Implements(MenuCommand::mnufBMP));
}

TEST_F(SessionTest, SavedSettingsComeBackAtTheNextStart) {
  Start();
  ui.inputReplies = {"7"};
  session.Command(MenuCommand::mnuWidth);
  session.Command(MenuCommand::mnuOAxis);
  session.Command(MenuCommand::mnuOSDeformL);
  session.SetLanguage(Language::kEnglish);
  session.Command(MenuCommand::mnuOFileSave);
  session.Command(MenuCommand::mnuOWindowVGA);  // also writes the file

  FakeUiPort ui2;
  Session next(ui2);
  kv::testing::StartIn(next, folder);
  EXPECT_EQ(next.draw.drawWidth, 7);
  EXPECT_TRUE(next.view.axissw);
  EXPECT_EQ(next.settings.sDeformKind, 1);
  EXPECT_EQ(next.translator.language, Language::kEnglish);
  EXPECT_EQ(next.Panel(1).text, "standard");
  EXPECT_EQ(ui2.windowWidth, 9600);
  EXPECT_EQ(ui2.windowHeight, 7200);
  EXPECT_EQ(ui2.windowState, 0);
  EXPECT_FALSE(ui2.easyMenu);
  // The defaults leave the start-up window and the language alone.
  next.Command(MenuCommand::mnuOFileInit);
  EXPECT_EQ(next.draw.drawWidth, 1);
  EXPECT_FALSE(next.view.axissw);
  EXPECT_EQ(next.settings.width, 9600);
  EXPECT_EQ(next.translator.language, Language::kEnglish);
}

TEST_F(SessionTest, LoadSaveAndMergeThroughTheFileDialogs) {
  Start();
  const std::string sample = std::string(KV_SOURCE_DIR) + "/samples/euler_line.kv4";
  // Cancelling changes nothing.
  session.Command(MenuCommand::mnuLoad);
  EXPECT_EQ(session.FigureFileName(), "untitled");
  EXPECT_EQ(session.Modes().Top(), 1);
  // While a construction waits for its picks the file name panel opens no dialog.
  session.PushInputMode(kModeConstruct);
  session.PushInputMode(kModeConstructSelect);
  session.RefreshStatus();
  ui.fileReplies = {sample};
  session.StatusPanelClick(2);
  EXPECT_EQ(ui.dialogFolders.size(), 1u);
  EXPECT_EQ(session.figure.StepCount(), 0);
  session.PopInputMode();
  session.PopInputMode();
  session.RefreshStatus();

  session.StatusPanelClick(2);  // the file name panel loads too
  EXPECT_EQ(session.Panel(2).text, "euler_line.kv4");
  const int32_t steps = session.figure.StepCount();
  const int32_t points = session.figure.classCount[kClassPoint];

  const std::string copy = (folder / "copy.kv4").string();
  ui.fileReplies = {copy};
  session.Command(MenuCommand::mnuSave);
  EXPECT_EQ(session.FigureFileName(), copy);
  EXPECT_TRUE(fs::exists(copy));

  // Merging the copy doubles the figure and keeps the name.
  ui.fileReplies = {copy};
  session.Command(MenuCommand::mnuMerge);
  EXPECT_EQ(session.figure.StepCount(), 2 * steps);
  EXPECT_EQ(session.figure.classCount[kClassPoint], 2 * points);
  EXPECT_EQ(session.FigureFileName(), copy);
  // The merge dialog opens first on the shipped samples.
  EXPECT_EQ(ui.dialogFolders.back(), (folder / "samples").string());
  EXPECT_EQ(session.Modes().Top(), 1);
  EXPECT_TRUE(ui.messages.empty());

  // A refused save keeps the name of the file that holds the figure.
  fs::create_directories(folder / "locked");
  const std::string locked = (folder / "locked" / "ro.kv4").string();
  std::ofstream(locked) << "x";
  fs::permissions(locked, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  ui.fileReplies = {locked};
  session.Command(MenuCommand::mnuSave);
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(session.FigureFileName(), copy);
  fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
}

// Counts full recomputes through the matrix display, which a matrix map triggers once per
// recompute.
class CountingHooks : public RecomputeHooks {
 public:
  int matrices = 0;
  bool ShowsMatrices() const override { return true; }
  void InspectMatrix(Kind, int, int, int, const double*) override { ++matrices; }
};

TEST_F(SessionTest, FailedLoadOrMergeLeavesFigureNameAndViewAsTheyWere) {
  Start();
  const std::string sample = std::string(KV_SOURCE_DIR) + "/samples/complex_numbers.kv4";
  ui.fileReplies = {sample};
  session.Command(MenuCommand::mnuLoad);
  ASSERT_EQ(session.FigureFileName(), sample);
  session.Command(MenuCommand::mnuZoomIn);
  const std::string held = FigureFileText(session.figure);
  const std::string caption = session.Caption();
  const double scale = session.ScaleUnit();
  const int32_t steps = session.figure.StepCount();

  // A file that ends in the middle of its tables, and one with a reference outside them.
  std::ofstream(folder / "cut.kv4") << "3\r\n\"PNEW\"\r\n\"PNEW\"\r\n";
  std::ofstream(folder / "bad.kv4") << "1\r\n\"PNEW\"\r\n1,9\r\n";
  for (const char* name : {"cut.kv4", "bad.kv4"}) {
    for (MenuCommand cmd : {MenuCommand::mnuLoad, MenuCommand::mnuMerge}) {
      ui.messages.clear();
      ui.fileReplies = {(folder / name).string()};
      session.Command(cmd);
      EXPECT_EQ(ui.messages.size(), 1u) << name;
      EXPECT_EQ(session.figure.StepCount(), steps) << name;
      EXPECT_TRUE(FigureFileText(session.figure) == held) << name;
      EXPECT_EQ(session.FigureFileName(), sample) << name;
      EXPECT_EQ(session.Caption(), caption) << name;
      EXPECT_EQ(session.Panel(2).text, "complex_numbers.kv4") << name;
      EXPECT_DOUBLE_EQ(session.ScaleUnit(), scale) << name;
      EXPECT_EQ(session.Modes().Top(), 1) << name;
    }
  }
}

#ifndef _WIN32
TEST_F(SessionTest, NamesWithBackslashesAndColonsSaveAndShowWhole) {
  Start();
  BuildSegment();
  for (const char* name : {"a\\b.kv4", "c:d.kv4"}) {
    const std::string path = (folder / name).string();
    ui.fileReplies = {path};
    session.Command(MenuCommand::mnuSave);
    EXPECT_TRUE(ui.messages.empty()) << name;
    EXPECT_EQ(session.Panel(2).text, name);
    ui.fileReplies = {path};
    session.Command(MenuCommand::mnuLoad);
    EXPECT_EQ(session.figure.StepCount(), 3) << name;
    EXPECT_EQ(session.Caption(), "[" + std::string(name) + "] Korvane Win 1.0.0");
  }
}
#endif

TEST_F(SessionTest, AFigureReadAsUtf8SaysSoUntilItIsSaved) {
  Start();
  std::string text = "1\r\n\"PNEW\"\r\n0,0\r\n0,0\r\n0,0\r\n0,0\r\n0,0\r\n1,1\r\n";
  for (int i = 0; i < 4; ++i) text += "0,0\r\n";
  text += "0\r\n1\r\n";
  for (int i = 0; i < 9; ++i) text += "0\r\n";
  text += "2,3\r\n7\r\n0\r\n-1\r\n2\r\n-1\r\n0,0\r\n0\r\n\"\xE7\x82\xB9\"\r\n";  // "点"
  std::ofstream(folder / "utf8.kv4", std::ios::binary) << text;
  ui.fileReplies = {(folder / "utf8.kv4").string()};
  session.Command(MenuCommand::mnuLoad);
  EXPECT_EQ(session.figure.points[1].name, "点");
  EXPECT_EQ(session.Panel(2).text, "utf8.kv4 (UTF-8 のファイルとして読みました)");
  EXPECT_EQ(session.Caption(), "[utf8.kv4] Korvane Win 1.0.0");
  ui.fileReplies = {(folder / "sjis.kv4").string()};
  session.Command(MenuCommand::mnuSave);
  EXPECT_EQ(session.Panel(2).text, "sjis.kv4");
}

TEST_F(SessionTest, LoadAndMergeRecomputeExactlyOnce) {
  Start();
  CountingHooks counter;
  const std::string sample = std::string(KV_SOURCE_DIR) + "/samples/linear_map.kv4";
  session.figure.pass.hooks = &counter;
  ui.fileReplies = {sample};
  session.Command(MenuCommand::mnuLoad);
  ASSERT_EQ(session.FigureFileName(), sample);
  counter.matrices = 0;
  RecomputeAll(session.figure);
  const int perRecompute = counter.matrices;
  ASSERT_GT(perRecompute, 0);

  // A second load of the same file costs as much again; a merge doubles the matrix maps.
  counter.matrices = 0;
  ui.fileReplies = {sample};
  session.Command(MenuCommand::mnuLoad);
  EXPECT_EQ(counter.matrices, perRecompute);
  counter.matrices = 0;
  ui.fileReplies = {sample};
  session.Command(MenuCommand::mnuMerge);
  EXPECT_EQ(counter.matrices, 2 * perRecompute);
}

TEST_F(SessionTest, DataPathNamesTheFigureDialogFolder) {
  std::ofstream(folder / "datapath.txt") << "\"/data/teacher/figures\"\r\n";
  Start();
  EXPECT_EQ(session.FigureDialogFolder(), "/data/teacher/figures");
  EXPECT_EQ(session.MergeDialogFolder(), (folder / "samples").string());
}

TEST_F(SessionTest, DialogsStartOnTheShippedSamplesAndTheDataFolderKeepsTheLastOneUsed) {
  const fs::path shipped = folder / "share";
  fs::create_directories(shipped / "samples");
  fs::create_directories(folder / "figures");
  const std::string sample = std::string(KV_SOURCE_DIR) + "/samples/euler_line.kv4";
  Session::StartupArgs args;
  args.programFolder = folder.string();
  args.shippedFolder = shipped.string();
  args.canvasWidth = 401;
  args.canvasHeight = 301;
  session.Startup(args);
  const std::string samples = (shipped / "samples").string();
  EXPECT_EQ(session.FigureDialogFolder(), samples);
  EXPECT_EQ(session.MergeDialogFolder(), samples);

  // A figure saved elsewhere moves the figure dialog there; "サンプル" brings it back.
  session.Command(MenuCommand::mnuLoad);
  ui.fileReplies = {(folder / "figures" / "mine.kv4").string()};
  session.Command(MenuCommand::mnuSave);
  EXPECT_EQ(ui.dialogFolders, (std::vector<std::string>{samples, samples}));
  EXPECT_EQ(session.FigureDialogFolder(), (folder / "figures").string());
  session.Command(MenuCommand::mnuFDataFolderSample);
  EXPECT_EQ(session.FigureDialogFolder(), samples);

  // "現在→標準に" stores the folder last used, which the next start opens on.
  session.Command(MenuCommand::mnuFDataFolderStandardSet);
  EXPECT_EQ(session.FigureDialogFolder(), (folder / "figures").string());
  ui.fileReplies = {sample};
  session.Command(MenuCommand::mnuMerge);
  session.Command(MenuCommand::mnuFDataFolderGet);
  EXPECT_EQ(session.FigureDialogFolder(), (folder / "figures").string());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SessionTest, HelpOpensThePageShippedWithTheProgramInItsLanguage) {
  // An installed program keeps its settings in the user's folder and its pages in share/.
  const fs::path shipped = folder / "share";
  fs::create_directories(shipped / "document");
  std::ofstream(shipped / "document" / "help_en.htm") << "<html></html>";
  Session::StartupArgs args;
  args.programFolder = (folder / "user").string();
  args.shippedFolder = shipped.string();
  session.Startup(args);
  session.Command(MenuCommand::mnuHmanual);
  session.SetLanguage(Language::kEnglish);
  session.Command(MenuCommand::mnuHmanual);
  EXPECT_EQ(ui.opened, (std::vector<std::string>{(shipped / "document" / "help.htm").string(),
                                                 (shipped / "document" / "help_en.htm").string()}));
}

TEST_F(SessionTest, PopOnBaseBeepsAndUnknownModeShowsBlanks) {
  Start();
  session.PopInputMode();
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);

  session.PushInputMode(41);
  session.RefreshStatus();
  EXPECT_EQ(ui.beeps, 2);
  EXPECT_EQ(session.Panel(1).text, "________");
  EXPECT_EQ(session.TopMenus(), MenuEnablingFor(41));
}

TEST_F(SessionTest, StatusTextGoesThroughTheLanguageExceptMarker) {
  Start();
  session.translator.language = Language::kManual;
  session.translator.userDictionary["標準"] = "norm";
  session.translator.userDictionary["Marker"] = "pen";
  session.RefreshStatus();
  EXPECT_EQ(session.Panel(1).text, "norm");
  session.PushInputMode(kModeScribble);
  session.RefreshStatus();
  EXPECT_EQ(session.Panel(1).text, "Marker");
  EXPECT_EQ(session.Panel(5).text, "Color");
}

TEST_F(SessionTest, EscapeRedrawsAndShiftEscapePopsOnceButNeverTheBase) {
  Start();
  session.PushInputMode(kModeConstruct);
  session.Key(kKeyEscape, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeConstruct);
  session.Key(kKeyEscape, kShiftMask);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  session.Key(kKeyEscape, kShiftMask);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(ui.beeps, 1);  // the base entry stays; the refused pop beeps

  // With ShiftLock on, a plain Esc pops as well.
  session.PushInputMode(kModeConstruct);
  session.StatusPanelClick(8);
  EXPECT_TRUE(session.ShiftLock());
  EXPECT_TRUE(session.Panel(8).sunken);
  session.Key(kKeyEscape, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(SessionTest, RightClickOutsideStandardIsEscapeAndDoubleClickRepeatsIt) {
  Start();
  session.PushInputMode(kModeConstruct);
  session.PushInputMode(kModeConstruct);
  session.PushInputMode(kModeConstruct);
  session.Press(kRightButton, kShiftMask, 1.5, -2.25);
  EXPECT_EQ(session.Modes().Top(), 3);
  // The repeated press uses the remembered button, shift state and position.
  session.DoubleClick();
  EXPECT_EQ(session.Modes().Top(), 2);
  EXPECT_EQ(session.LastPress().button, kRightButton);
  EXPECT_EQ(session.LastPress().shift, kShiftMask);
  EXPECT_EQ(session.LastPress().x, 1.5);
  EXPECT_EQ(session.LastPress().y, -2.25);
}

TEST_F(SessionTest, PressOnEmptyCanvasMarksOnlyDraggablePoints) {
  Start();
  BuildSegment();
  session.figure.points[2].free = kPointLocked;
  session.Press(kLeftButton, 0, 8, 7);
  ASSERT_EQ(session.CandidateMarks().size(), 1u);
  EXPECT_EQ(session.CandidateMarks()[0], (ObjRef{kClassPoint, 1}));
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  // A full redraw paints the markers over.
  session.Key(kKeyEscape, 0);
  EXPECT_TRUE(session.CandidateMarks().empty());
}

TEST_F(SessionTest, ShiftDragKindCyclesFromTheShownKind) {
  Start();
  EXPECT_EQ(session.Panel(8).text, "→線/円");
  const char* expected[] = {"→線", "→格子点", "→線/円", "→線"};
  for (const char* text : expected) {
    session.StatusPanelDoubleClick(8);
    EXPECT_EQ(session.Panel(8).text, text);
  }
  EXPECT_EQ(session.settings.sDeformKind, 1);
  session.ChooseShiftDragKind(3);
  EXPECT_EQ(session.settings.sDeformKind, 2);
  session.ChooseShiftDragKind(4);  // not a kind
  EXPECT_EQ(session.settings.sDeformKind, 2);
}

TEST_F(SessionTest, SizePresetsCycleFontAndWidth) {
  Start();
  struct {
    const char* text;
    double fontSize;
    int width;
  } expected[] = {{"中", 24, 3}, {"太", 48, 5}, {"細", 12, 1}};
  for (const auto& e : expected) {
    session.StatusPanelClick(7);
    EXPECT_EQ(session.Panel(7).text, e.text);
    EXPECT_EQ(session.draw.fontSize, e.fontSize);
    EXPECT_EQ(session.draw.drawWidth, e.width);
    EXPECT_EQ(session.draw.fontName, "ＭＳ Ｐゴシック");
  }
}

TEST_F(SessionTest, ReplayWalksTheStepsAfterTheLeadingFreePoints) {
  Start();
  BuildSegment();
  int32_t l = session.figure.AllocObject(kClassLine);
  session.figure.AppendStep("L1", {{kClassPoint, 2}, {kClassPoint, 1}}, {{kClassLine, l}});
  session.StartReplay();
  EXPECT_EQ(session.CurrentInputMode(), kModeReplay);
  EXPECT_EQ(session.Replay().step, 2);
  EXPECT_TRUE(ui.timerRunning);
  EXPECT_EQ(ui.timerInterval, 500);
  EXPECT_EQ(session.TopMenus(), MenuEnablingFor(kModeReplay));

  session.TimerTick();
  EXPECT_EQ(session.Replay().step, 3);
  EXPECT_FALSE(session.Panel(3).text.empty());
  // A key stops the timer and steps on; the last step ends the replay.
  session.Key('A', 0);
  EXPECT_FALSE(ui.timerRunning);
  EXPECT_FALSE(session.Replay().active);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
}

TEST_F(SessionTest, ReplayEscapeFinishesAtOnceAndUnsetIntervalIs300) {
  Start();
  BuildSegment();
  session.SetReplayInterval(0);
  session.StartReplay();
  EXPECT_EQ(ui.timerInterval, 300);
  session.Press(kRightButton, 0, 0, 0);  // a right click is Esc
  EXPECT_FALSE(session.Replay().active);
  EXPECT_FALSE(ui.timerRunning);
  EXPECT_EQ(session.Replay().step, 3);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  // A stray tick after the end changes nothing.
  session.TimerTick();
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);

  // Starting again during a replay starts over with a single replay mode.
  session.StartReplay();
  session.StartReplay();
  EXPECT_EQ(session.Modes().Top(), 2);
  EXPECT_EQ(session.Replay().step, 2);
  session.Key(kKeyEscape, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(session.Modes().Top(), 1);
}

TEST_F(SessionTest, ObjectMenuCaptionsFollowThePoint) {
  Start();
  BuildSegment();
  session.figure.SetObjectName({kClassPoint, 1}, "A");
  session.figure.SetObjectName({kClassLine, 1}, "g");
  session.OpenObjectMenu({kClassPoint, 1});
  EXPECT_EQ(ui.calls.back(), "PopupObjectMenu");
  EXPECT_EQ(session.ObjectMenu().editCaption, "編集:点 A");
  EXPECT_EQ(session.ObjectMenu().deformCaption, "キーボード変形:点 A");
  EXPECT_TRUE(session.ObjectMenu().boundedVisible);
  EXPECT_FALSE(session.ObjectMenu().setFreeVisible);  // not bound

  session.figure.points[1].boundClass = 2;
  session.figure.points[1].boundIndex = 1;
  session.OpenObjectMenu({kClassPoint, 1});
  EXPECT_TRUE(session.ObjectMenu().setFreeVisible);
  EXPECT_EQ(session.ObjectMenu().setFreeCaption, "フリーにする:点 A");

  // A constructed object only offers the attribute dialog.
  session.OpenObjectMenu({kClassLine, 1});
  EXPECT_EQ(session.ObjectMenu().editCaption, "編集:線 g");
  EXPECT_FALSE(session.ObjectMenu().deformVisible || session.ObjectMenu().boundedVisible ||
               session.ObjectMenu().setFreeVisible);

  // A reference outside the tables opens nothing.
  ui.calls.clear();
  session.OpenObjectMenu({kClassPoint, 999});
  EXPECT_TRUE(ui.calls.empty());
}

TEST_F(SessionTest, ResizeKeepsOriginCentredAndMinimisedIsIgnored) {
  Start();
  session.Resize(201, 101, false);
  EXPECT_DOUBLE_EQ(session.HalfWidth(), 5.0);
  EXPECT_DOUBLE_EQ(session.HalfHeight(), 2.5);
  session.Resize(1, 1, true);
  EXPECT_DOUBLE_EQ(session.HalfWidth(), 5.0);
}

TEST_F(SessionTest, ShutdownDeletesScratchFilesOnly) {
  Start();
  for (const char* name : {"temp_kvwin.htm", "temp_kvwin.kv4", "keep.kv4"})
    std::ofstream(folder / name) << "x";
  session.Shutdown();
  EXPECT_FALSE(fs::exists(folder / "temp_kvwin.htm"));
  EXPECT_FALSE(fs::exists(folder / "temp_kvwin.kv4"));
  EXPECT_TRUE(fs::exists(folder / "keep.kv4"));
  EXPECT_EQ(ui.calls.back(), "Quit");
}

TEST_F(SessionTest, CallHistoryListsTheStack) {
  Start();
  session.PushInputMode(kModeConstruct);
  session.PushInputMode(kModeConstructSelect);
  session.ShowCallHistory();
  EXPECT_EQ(ui.textWindow, " 2\r\n 17\r\n 15\r\n");
}

TEST_F(SessionTest, ZoomInPastTheLimitWarnsAndReturnsToTheDefault) {
  Start();
  for (int i = 0; i < 8; ++i) session.Command(MenuCommand::mnuZoomIn);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_DOUBLE_EQ(session.ScaleUnit(), 0.05 / 256);
  session.Command(MenuCommand::mnuZoomIn);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "そろそろ限界ですので,元の画面に戻します");
  EXPECT_DOUBLE_EQ(session.ScaleUnit(), 0.05);
  // The view follows the zoom: 400 pixels at 0.1 units per pixel.
  session.Command(MenuCommand::mnuZoomOut);
  EXPECT_DOUBLE_EQ(session.HalfWidth(), 20.0);
}

TEST_F(SessionTest, InputBoxesClampEntriesAndCancelKeepsTheValue) {
  Start();
  struct Case {
    MenuCommand cmd;
    std::optional<std::string> reply;
    int expected;
  } cases[] = {
      {MenuCommand::mnuWidth, "7", 7},
      {MenuCommand::mnuWidth, "25", 10},
      {MenuCommand::mnuWidth, std::nullopt, 10},
      {MenuCommand::mnuKeta, "-3", 0},
      {MenuCommand::mnuKeta, "4.9", 4},
      {MenuCommand::mnuKeta, std::nullopt, 4},
      {MenuCommand::mnuOColorStrength, "0", 255},
      {MenuCommand::mnuOColorStrength, "128", 128},
      {MenuCommand::mnuOColorStrength, std::nullopt, 128},
  };
  for (const Case& c : cases) {
    ui.inputReplies = {c.reply};
    session.Command(c.cmd);
    const int value = c.cmd == MenuCommand::mnuWidth  ? session.draw.drawWidth
                      : c.cmd == MenuCommand::mnuKeta ? session.draw.KetaDecimal
                                                      : session.draw.ColorStrength;
    EXPECT_EQ(value, c.expected) << MenuControlName(c.cmd) << " " << c.reply.value_or("cancel");
  }
  // The box opens on the current value.
  EXPECT_EQ(ui.inputPrompts.back(), "1から255までの数を入力してください|128");
}

TEST_F(SessionTest, CheckMarksFollowTheChoices) {
  Start();
  auto checked = [&](MenuCommand cmd) {
    for (const auto& [c, on] : session.CheckMarks())
      if (c == cmd) return on;
    ADD_FAILURE() << MenuControlName(cmd) << " has no check mark";
    return false;
  };
  EXPECT_TRUE(checked(MenuCommand::mnuOSDeformLC));
  EXPECT_TRUE(checked(MenuCommand::mnuRedrawslowOption_03));
  session.Command(MenuCommand::mnuOSDeformCross);
  session.Command(MenuCommand::mnuRedrawslowOption_05);
  session.Command(MenuCommand::mnuOAxis);
  EXPECT_FALSE(checked(MenuCommand::mnuOSDeformLC));
  EXPECT_TRUE(checked(MenuCommand::mnuOSDeformCross));
  EXPECT_EQ(session.Panel(8).text, "→格子点");
  EXPECT_TRUE(checked(MenuCommand::mnuRedrawslowOption_05));
  EXPECT_EQ(session.ReplayIntervalMs(), 1000);
  EXPECT_TRUE(checked(MenuCommand::mnuOAxis));
  // The start-up menu mode changes only the mark and the next start.
  session.Command(MenuCommand::mnuOMenu_easy);
  EXPECT_TRUE(checked(MenuCommand::mnuOMenu_easy));
  EXPECT_FALSE(session.EasyMenu());
  // Going back to the start-up settings resets the defaults and what the file names; the
  // shift-drag kind is no default and the file does not name it.
  session.Command(MenuCommand::mnuOFileLoad);
  EXPECT_TRUE(checked(MenuCommand::mnuOSDeformCross));
  EXPECT_EQ(session.Panel(8).text, "→格子点");
  EXPECT_TRUE(checked(MenuCommand::mnuRedrawslowOption_03));
  EXPECT_FALSE(checked(MenuCommand::mnuOAxis));
  EXPECT_TRUE(checked(MenuCommand::mnuOmenu_full));
}

TEST_F(SessionTest, AngleMarkSwitchRecomputesAndFullStrengthReplacesZero) {
  Start("", "KVwin_MenuMode = 0\r\nColorStrength = 0\r\n");
  EXPECT_EQ(session.draw.ColorStrength, 255);
  BuildSegment();
  Figure& f = session.figure;
  const int32_t c = f.AllocObject(kClassPoint);
  f.points[c] = f.points[1];
  f.points[c].y = 1;
  f.AppendStep("PNEW", {}, {{kClassPoint, c}});
  const int32_t n = f.AllocObject(kClassNumber);
  f.AppendStep("NA3P", {{kClassPoint, 2}, {kClassPoint, 1}, {kClassPoint, c}}, {{kClassNumber, n}});
  session.Command(MenuCommand::mnuAngleSW);  // off
  EXPECT_EQ(f.angleMarkCount, 0);
  session.Command(MenuCommand::mnuAngleSW);  // on: the mark is there without another redraw
  EXPECT_EQ(f.angleMarkCount, 1);
  EXPECT_NEAR(f.numbers[n].value, 90, 1e-9);
}

TEST_F(SessionTest, MenuModeSwitchesBothWaysAndEasyMenuShowsDraggablePoints) {
  Start();
  BuildSegment();
  session.Command(MenuCommand::mnuEasyMenu);
  EXPECT_TRUE(session.EasyMenu());
  EXPECT_TRUE(ui.easyMenu);
  EXPECT_EQ(session.CandidateMarks().size(), 2u);
  session.Command(MenuCommand::mnuEasyMenu);
  EXPECT_FALSE(session.EasyMenu());
  EXPECT_FALSE(ui.easyMenu);
  EXPECT_TRUE(session.CandidateMarks().empty());
}

TEST_F(SessionTest, ScribbleModeDisablesEveryMenuUntilEscape) {
  Start();
  session.StatusPanelClick(5);
  EXPECT_EQ(session.CurrentInputMode(), kModeScribble);
  EXPECT_EQ(session.TopMenus(), TopMenuEnabling{});
  session.Press(kRightButton, 0, 0, 0);
  EXPECT_EQ(session.CurrentInputMode(), kModeStandard);
  EXPECT_EQ(session.Panel(5).text, "Marker");
}

}  // namespace
}  // namespace kv
