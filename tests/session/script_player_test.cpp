// Scripts of user actions: what the parser accepts and refuses, and what a played script does
// to the session, the figure files and the printed messages.
#include "session/script_player.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "session/session.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

// The first menu command the session does not carry out, if there is one left.
std::optional<std::string> UnavailableCommand() {
  for (const MenuItemInfo& row : MenuTree())
    if (row.id != MenuCommand::kNone && !HasSubmenu(row.id) && !Session::Implements(row.id))
      return std::string(row.name);
  return std::nullopt;
}

TEST(ScriptParseTest, MalformedLinesAreNamedByLineAndNothingIsKept) {
  struct Case {
    std::string script;
    int line;
    std::string message;
  };
  const Case cases[] = {
      {"clik 1 2", 1, "unknown action \"clik\""},
      {"# a comment\n\nclick 1", 3, "usage: click X Y [right] [shift]"},
      {"click 0 0\nclick 1 abc", 2, "\"abc\" is not a number"},
      {"click 1 nan", 1, "\"nan\" is not a number"},
      {"click 1 inf", 1, "\"inf\" is not a number"},
      {"click 1 2 left", 1, "usage: click X Y [right] [shift]"},
      {"click 1 2 shift shift", 1, "usage: click X Y [right] [shift]"},
      {"double 1 2 right", 1, "usage: double X Y"},
      {"move 1 2 right", 1, "usage: move X Y [shift]"},
      {"release 1", 1, "usage: release X Y [shift]"},
      {"drag 0 0 1 1 0", 1, "the number of drag steps must be from 1 to 10000"},
      {"drag 0 0 1 1 10001", 1, "the number of drag steps must be from 1 to 10000"},
      {"drag 0 0 1 1 2.5", 1, "the number of drag steps must be from 1 to 10000"},
      {"drag 0 0 1", 1, "usage: drag X1 Y1 X2 Y2 [STEPS] [shift]"},
      {"key Foo", 1, "unknown key \"Foo\""},
      {"key F13", 1, "unknown key \"F13\""},
      {"key +", 1, "unknown key \"+\""},
      {"key Enter twice", 1, "usage: key NAME [shift]"},
      {"panel 0", 1, "the status bar has panels 1 to 11"},
      {"panel 12", 1, "the status bar has panels 1 to 11"},
      {"menu mnuNoSuch", 1, "no menu item is named \"mnuNoSuch\""},
      {"menu mnuFile", 1, "mnuFile is a menu, not a command"},
      {"menu", 1, "usage: menu NAME"},
      {"size 0 600", 1, "the canvas size must be whole pixels from 1 to 20000"},
      {"size 800", 1, "usage: size W H"},
      {"dialog KVSelNum", 1, "usage: dialog FORM.CONTROL [VALUE]"},
      {"dialog .NumList 2", 1, "usage: dialog FORM.CONTROL [VALUE]"},
      {"dialog KVSelNum.", 1, "usage: dialog FORM.CONTROL [VALUE]"},
      {"confirm maybe", 1, "usage: confirm yes|no|cancel"},
      {"open", 1, "usage: open FILE"},
      {"save \"\"", 1, "usage: save FILE"},
      // A verb is matched exactly; "#" glued to a word does not start a comment.
      {"Click 1 2", 1, "unknown action \"Click\""},
      {"click 1 2#x", 1, "\"2#x\" is not a number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    ParsedScript parsed = ParseScript(c.script);
    ASSERT_TRUE(parsed.error.has_value());
    EXPECT_EQ(parsed.error->line, c.line);
    EXPECT_EQ(parsed.error->message, c.message);
    EXPECT_TRUE(parsed.actions.empty());
  }
  if (auto name = UnavailableCommand()) {
    ParsedScript parsed = ParseScript("menu " + *name);
    ASSERT_TRUE(parsed.error.has_value());
    EXPECT_EQ(parsed.error->message, *name + " is not available (disabled)");
  }
}

TEST(ScriptParseTest, ReadsEveryFormOfAction) {
  ParsedScript parsed = ParseScript(
      "\xEF\xBB\xBF"
      "size 401 301\r\n"
      "click 1.5 -2 right shift   # a comment after the action\r\n"
      "press 3 4 shift\n"
      "drag 0 0 4 2\n"
      "drag 0 0 4 2 3 shift\n"
      "drag 0 0 4 2 shift\n"
      "key a\n"
      "key F12\n"
      "key escape shift\n"
      "dialog KVSelNum.Text1   1 + 2  \n"
      "open \"my figure.kv4\"\n"
      "answer\n"
      "confirm no\n"
      "menu mnuZoomIn\n"
      "  # indented comment\n"
      "double -1e-3 2E2\n");
  ASSERT_FALSE(parsed.error) << parsed.error->message;
  const auto& a = parsed.actions;
  ASSERT_EQ(a.size(), 15u);
  EXPECT_EQ(a[0].verb, ScriptVerb::kSize);
  EXPECT_EQ(a[0].number, 401);
  EXPECT_EQ(a[0].number2, 301);
  EXPECT_EQ(a[1].button, kRightButton);
  EXPECT_EQ(a[1].shift, kShiftMask);
  EXPECT_DOUBLE_EQ(a[1].x, 1.5);
  EXPECT_DOUBLE_EQ(a[1].y, -2);
  EXPECT_EQ(a[1].line, 2);
  EXPECT_EQ(a[2].button, kLeftButton);
  EXPECT_EQ(a[2].shift, kShiftMask);
  EXPECT_EQ(a[3].number, 10);
  EXPECT_EQ(a[3].shift, 0);
  EXPECT_DOUBLE_EQ(a[3].x2, 4);
  EXPECT_DOUBLE_EQ(a[3].y2, 2);
  EXPECT_EQ(a[4].number, 3);
  EXPECT_EQ(a[4].shift, kShiftMask);
  EXPECT_EQ(a[5].number, 10);
  EXPECT_EQ(a[5].shift, kShiftMask);
  EXPECT_EQ(a[6].number, 'A');
  EXPECT_EQ(a[7].number, 123);
  EXPECT_EQ(a[8].number, kKeyEscape);
  EXPECT_EQ(a[8].shift, kShiftMask);
  EXPECT_EQ(a[9].text, "KVSelNum");
  EXPECT_EQ(a[9].control, "Text1");
  EXPECT_EQ(a[9].value, "1 + 2");
  EXPECT_EQ(a[10].text, "my figure.kv4");
  EXPECT_EQ(a[11].verb, ScriptVerb::kAnswer);
  EXPECT_EQ(a[11].text, "");
  EXPECT_EQ(a[12].reply, ConfirmReply::kNo);
  EXPECT_EQ(a[13].command, MenuCommand::mnuZoomIn);
  EXPECT_DOUBLE_EQ(a[14].x, -0.001);
  EXPECT_DOUBLE_EQ(a[14].y, 200);
  EXPECT_EQ(a[14].line, 16);
}

TEST(ScriptParseTest, KeyNamesGiveVirtualKeyCodes) {
  const std::pair<const char*, int> cases[] = {
      {"Escape", 27}, {"Enter", 13},  {"Left", 37}, {"Up", 38},    {"Right", 39},
      {"Down", 40},   {"Delete", 46}, {"F1", 112},  {"f5", 116},   {"Z", 90},
      {"z", 90},      {"0", 48},      {"9", 57},    {"ENTER", 13},
  };
  for (const auto& [name, code] : cases) EXPECT_EQ(KeyCodeOf(name), code) << name;
  for (const char* bad : {"", "F0", "F13", "Esc", "AB", "-", "F1x", "é"})
    EXPECT_FALSE(KeyCodeOf(bad)) << bad;
}

TEST(HeadlessPortTest, PrintsMessagesAndBeepsAndAnswersFromItsQueues) {
  std::ostringstream out;
  HeadlessPort port(out);
  port.MessageOk("one\r\ntwo", "title");
  port.Beep();
  port.QueueConfirm(ConfirmReply::kYes);
  port.QueueConfirm(ConfirmReply::kNo);
  EXPECT_TRUE(port.MessageOkCancel("first?", ""));
  EXPECT_FALSE(port.MessageOkCancel("second?", ""));
  // With no reply left a question is cancelled.
  EXPECT_FALSE(port.MessageOkCancel("third?", ""));
  EXPECT_EQ(out.str(),
            "message: one\n  two\nbeep\nmessage: first?\nmessage: second?\nmessage: third?\n");

  port.QueueAnswer("3");
  port.QueueAnswer("b.kv4");
  EXPECT_EQ(port.InputBox("prompt", "", "1"), "3");
  EXPECT_EQ(port.SaveFileDialog("", "", ""), "b.kv4");
  EXPECT_FALSE(port.InputBox("prompt", "", "1"));
  port.QueueAnswer("c.kv4");
  port.allowFileDialogs = false;
  EXPECT_FALSE(port.OpenFileDialog("", ""));
  EXPECT_EQ(port.PendingAnswers(), 1u);
}

class ScriptPlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder =
        fs::temp_directory_path() /
        ("kv_play_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder / "program");
    options.programFolder = (folder / "program").string();
  }
  void TearDown() override { fs::remove_all(folder); }

  // Each play starts a fresh window, as each run of kvtool does.
  PlayResult Play(std::string_view script) {
    out.str("");
    session.reset();
    port = std::make_unique<HeadlessPort>(out);
    session = std::make_unique<Session>(*port);
    return ScriptPlayer(*session, *port).Play(ParseScript(script), options);
  }
  std::string InFolder(std::string_view name) const { return (folder / name).string(); }
  static std::string Sample(std::string_view name) {
    return std::string(KV_SOURCE_DIR) + "/samples/" + std::string(name);
  }

  fs::path folder;
  PlayOptions options;
  std::ostringstream out;
  std::unique_ptr<HeadlessPort> port;
  std::unique_ptr<Session> session;
};

TEST_F(ScriptPlayTest, MenusAndAnswersReachTheSession) {
  PlayResult r = Play(
      "menu mnuZoomIn\n"
      "menu mnuZoomIn\n"
      "answer 3\n"
      "menu mnuWidth\n"
      "menu mnuFont\n");  // no answer left: the box is cancelled
  EXPECT_EQ(r.status, kPlayDone) << r.error;
  EXPECT_DOUBLE_EQ(session->ScaleUnit(), 0.05 / 4);
  EXPECT_EQ(session->draw.drawWidth, 3);
  EXPECT_EQ(port->inputPrompts.size(), 2u);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(r.warning, "");

  // Replies nothing asked for are said, since they would otherwise answer a later box.
  r = Play("answer 3\nconfirm yes\nconfirm no\nmenu mnuZoomIn\n");
  EXPECT_EQ(r.status, kPlayDone);
  EXPECT_EQ(r.warning, "1 answer and 2 confirm line(s) were never asked for");
}

TEST_F(ScriptPlayTest, MessagesAndBeepsArePrintedInOrder) {
  // The ninth halving passes the zoom limit: a message, and the default scale again. Shift+Esc
  // in the standard mode tries to pop the base entry: a beep.
  std::string script;
  for (int i = 0; i < 9; ++i) script += "menu mnuZoomIn\n";
  script += "key Escape shift\n";
  PlayResult r = Play(script);
  EXPECT_EQ(r.status, kPlayDone) << r.error;
  EXPECT_EQ(out.str(), "message: そろそろ限界ですので,元の画面に戻します\nbeep\n");
  EXPECT_DOUBLE_EQ(session->ScaleUnit(), 0.05);
}

TEST_F(ScriptPlayTest, TheRunsLanguageTranslatesTheMessages) {
  options.language = Language::kEnglish;
  std::string script;
  for (int i = 0; i < 9; ++i) script += "menu mnuZoomIn\n";
  ASSERT_EQ(Play(script).status, kPlayDone);
  EXPECT_EQ(out.str(), "message: expansion too much\n");
  EXPECT_EQ(session->translator.language, Language::kEnglish);
}

TEST_F(ScriptPlayTest, LeadingSizeIsTheCanvasAndALaterOneResizes) {
  ASSERT_EQ(Play("size 401 301\n").status, kPlayDone);
  // (W - 1) pixels of 0.05 world units, centred on the origin.
  EXPECT_DOUBLE_EQ(session->HalfWidth(), 10);
  EXPECT_DOUBLE_EQ(session->HalfHeight(), 7.5);

  ASSERT_EQ(Play("answer 1\nsize 201 101\nmenu mnuZoomIn\nsize 801 601\n").status, kPlayDone);
  EXPECT_DOUBLE_EQ(session->HalfWidth(), 800 * 0.025 / 2);
  EXPECT_DOUBLE_EQ(session->HalfHeight(), 600 * 0.025 / 2);

  ASSERT_EQ(Play("menu mnuZoomOut\n").status, kPlayDone);
  EXPECT_DOUBLE_EQ(session->HalfWidth(), 799 * 0.1 / 2);  // the default canvas, 800 x 600
}

TEST_F(ScriptPlayTest, PanelsAndKeysDriveTheModes) {
  PlayResult r = Play(
      "panel 3\n"
      "panel 8\n"
      "panel 5\n");
  EXPECT_EQ(r.status, kPlayDone) << r.error;
  EXPECT_TRUE(session->LocusOn());
  EXPECT_TRUE(session->ShiftLock());
  EXPECT_EQ(session->CurrentInputMode(), kModeScribble);

  // Scribble mode disables every menu; the script stops at the first it cannot choose.
  r = Play("panel 5\nmenu mnuZoomIn\n");
  EXPECT_EQ(r.status, kPlayScriptError);
  EXPECT_EQ(r.error, "line 2: mnuZoomIn is disabled in input mode 70");
  r = Play("panel 5\nkey Escape\nmenu mnuZoomIn\n");
  EXPECT_EQ(r.status, kPlayDone) << r.error;
  EXPECT_EQ(session->CurrentInputMode(), kModeStandard);
}

TEST_F(ScriptPlayTest, OnlyItemsOnScreenCanBeChosen) {
  PlayResult r = Play("menu mnuEasyMenu\nmenu mnuZoomComplex\n");
  EXPECT_EQ(r.status, kPlayScriptError);
  EXPECT_EQ(r.error, "line 2: mnuZoomComplex is not in the easy menu");
  EXPECT_TRUE(session->EasyMenu());

  // The object menu's items wait for a right click on an object.
  r = Play("menu mnuEdit2_point_Set_Free\n");
  EXPECT_EQ(r.status, kPlayScriptError);
  EXPECT_NE(r.error.find("line 1: mnuEdit2_point_Set_Free is not shown"), std::string::npos)
      << r.error;
}

TEST_F(ScriptPlayTest, DialogActionsNeedTheirDialogOpen) {
  PlayResult r = Play("menu mnuZoomIn\ndialog KVSelNum.NumList 2\n");
  EXPECT_EQ(r.status, kPlayScriptError);
  EXPECT_EQ(r.error, "line 2: no dialog is open");
}

TEST_F(ScriptPlayTest, ReplayStepsByClicksAndKeysAndEscapeEndsIt) {
  options.inputFigure = Sample("circumcircle.kv4");
  options.outputFigure = InFolder("out.kv4");
  PlayResult r = Play("menu mnuFigData_Redraw\nclick 0 0\nkey Space\n");
  EXPECT_EQ(r.status, kPlayScriptError);  // "Space" is no key name
  EXPECT_EQ(r.error, "line 3: unknown key \"Space\"");

  r = Play("menu mnuFigData_Redraw\nclick 0 0\nkey Enter\n");
  // The replay is still running: the figure is not written in the middle of it.
  EXPECT_EQ(r.status, kPlayScriptError);
  EXPECT_EQ(session->CurrentInputMode(), kModeReplay);
  EXPECT_TRUE(session->Replay().active);
  EXPECT_FALSE(fs::exists(options.outputFigure));

  r = Play("menu mnuFigData_Redraw\nclick 0 0\nkey Escape\n");
  EXPECT_EQ(r.status, kPlayDone) << r.error;
  EXPECT_EQ(session->CurrentInputMode(), kModeStandard);
  EXPECT_FALSE(session->Replay().active);
  EXPECT_TRUE(fs::exists(options.outputFigure));
}

TEST_F(ScriptPlayTest, ADoubleClickIsTwoPressesAtOnePlace) {
  // The sample starts with three free points, shown from the start; every press in the replay
  // shows one more step, and the double click's repeated press is one more.
  options.inputFigure = Sample("circumcircle.kv4");
  ASSERT_EQ(Play("menu mnuFigData_Redraw\n").status, kPlayDone);
  EXPECT_EQ(session->Replay().step, 3);
  ASSERT_EQ(Play("menu mnuFigData_Redraw\nclick 5 5\n").status, kPlayDone);
  EXPECT_EQ(session->Replay().step, 4);
  ASSERT_EQ(Play("menu mnuFigData_Redraw\ndouble 5 5\n").status, kPlayDone);
  EXPECT_EQ(session->Replay().step, 5);
  EXPECT_DOUBLE_EQ(session->LastPress().x, 5);
  EXPECT_EQ(session->LastPress().button, kLeftButton);
}

TEST_F(ScriptPlayTest, SaveAndOpenRoundTripThroughFiles) {
  options.inputFigure = Sample("circumcircle.kv4");
  const std::string copy = InFolder("copy.kv4");
  PlayResult r = Play("save " + copy + "\nopen " + copy + "\n");
  ASSERT_EQ(r.status, kPlayDone) << r.error;
  EXPECT_EQ(session->FigureFileName(), copy);
  EXPECT_EQ(session->Panel(2).text, "copy.kv4");
  EXPECT_EQ(session->figure.StepCount(), 11);
  EXPECT_EQ(session->figure.classCount[kClassCircle], 1);

  // Through the File menu, the file dialog taking the queued answer.
  const std::string second = InFolder("second.kv4");
  r = Play("answer " + second + "\nmenu mnuSave\nanswer " + copy + "\nmenu mnuLoad\n");
  ASSERT_EQ(r.status, kPlayDone) << r.error;
  EXPECT_TRUE(fs::exists(second));
  EXPECT_EQ(session->FigureFileName(), copy);
}

TEST_F(ScriptPlayTest, FileFailuresStopWithStatusOneAndWriteNothing) {
  options.outputFigure = InFolder("out.kv4");
  PlayResult r = Play("menu mnuZoomIn\nopen " + InFolder("missing.kv4") + "\n");
  EXPECT_EQ(r.status, kPlayFileFailed);
  EXPECT_EQ(r.error.rfind("line 2: ", 0), 0u) << r.error;
  EXPECT_NE(out.str().find("message: "), std::string::npos);  // the window's message too
  EXPECT_FALSE(fs::exists(options.outputFigure));

  options.inputFigure = InFolder("missing.kv4");
  r = Play("menu mnuZoomIn\n");
  EXPECT_EQ(r.status, kPlayFileFailed);
  EXPECT_FALSE(fs::exists(options.outputFigure));

  // An output in a folder that does not exist.
  options.inputFigure.clear();
  options.outputFigure = InFolder("no/such/folder/out.kv4");
  r = Play("");
  EXPECT_EQ(r.status, kPlayFileFailed);
}

TEST_F(ScriptPlayTest, FilesCanBeTouchedOnlyFromTheStandardModeAndWhenAllowed) {
  const std::string path = InFolder("x.kv4");
  PlayResult r = Play("panel 5\nsave " + path + "\n");
  EXPECT_EQ(r.status, kPlayScriptError);
  EXPECT_EQ(r.error.rfind("line 2: save needs the standard mode", 0), 0u) << r.error;
  EXPECT_FALSE(fs::exists(path));

  options.allowFiles = false;
  r = Play("save " + path + "\n");
  EXPECT_EQ(r.status, kPlayScriptError);
  EXPECT_EQ(r.error, "line 1: files cannot be written here");
  r = Play("answer " + path + "\nmenu mnuSave\n");  // the file dialog is cancelled instead
  EXPECT_EQ(r.status, kPlayDone) << r.error;
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(ScriptPlayTest, ExitFromTheMenuEndsThePlay) {
  options.outputFigure = InFolder("out.kv4");
  PlayResult r = Play("menu mnuExit\npanel 3\n");
  EXPECT_EQ(r.status, kPlayDone) << r.error;
  EXPECT_FALSE(session->LocusOn());
  EXPECT_TRUE(fs::exists(options.outputFigure));
}

TEST(RunScriptTest, MalformedScriptsRunNothingAndWriteNothing) {
  const fs::path out = fs::temp_directory_path() /
                       ("kv_play_malformed_" + std::to_string(std::random_device{}()) + ".kv4");
  fs::remove(out);
  PlayOptions options;
  options.outputFigure = out.string();
  std::ostringstream printed;
  // The first line would show a message if it ran.
  std::string script;
  for (int i = 0; i < 9; ++i) script += "menu mnuZoomIn\n";
  script += "frobnicate\n";
  PlayResult r = RunScript(script, options, printed);
  EXPECT_EQ(r.status, kPlayScriptError);
  EXPECT_EQ(r.error, "line 10: unknown action \"frobnicate\"");
  EXPECT_EQ(printed.str(), "");
  EXPECT_FALSE(fs::exists(out));
}

// Random scripts from the whole grammar must never crash the session or leave the play in
// a state it cannot report.
TEST(RunScriptTest, RandomScriptsEndInADefinedStatus) {
  std::mt19937 rng(20261208);
  const char* fixed[] = {"key Escape",       "key Enter",
                         "key Up",           "key Escape shift",
                         "panel 1",          "panel 3",
                         "panel 4",          "panel 5",
                         "panel 7",          "panel 8",
                         "panel 9",          "panel 10",
                         "answer 0",         "answer -5",
                         "answer abc",       "confirm yes",
                         "size 1 1",         "size 2 900",
                         "menu mnuZoomIn",   "menu mnuZoomOut",
                         "menu mnuOAxis",    "menu mnuFigData_Redraw",
                         "menu mnuEasyMenu", "menu mnuWidth",
                         "menu mnuKeta",     "menu mnuOchrDisp",
                         "double 0 0",       "dialog KVSelNum.Cmd_OK",
                         "save x.kv4",       "open x.kv4"};
  std::uniform_int_distribution<int> pickFixed(0, std::size(fixed) - 1);
  std::uniform_real_distribution<double> coord(-1e6, 1e6);
  for (int run = 0; run < 60; ++run) {
    std::string script;
    for (int line = 0; line < 25; ++line) {
      switch (rng() % 4) {
        case 0:
          script += "click " + std::to_string(coord(rng)) + " " + std::to_string(coord(rng)) +
                    (rng() % 2 ? " right\n" : "\n");
          break;
        case 1:
          script += "drag 0 0 " + std::to_string(coord(rng)) + " 1e300 3\n";
          break;
        default:
          script += std::string(fixed[pickFixed(rng)]) + "\n";
          break;
      }
    }
    SCOPED_TRACE(script);
    PlayResult r = RunScript(script);
    EXPECT_TRUE(r.status == kPlayDone || r.status == kPlayScriptError) << r.error;
    if (r.status != kPlayDone) {
      EXPECT_EQ(r.error.rfind("line ", 0), 0u) << r.error;
    }
  }
}

}  // namespace
}  // namespace kv
