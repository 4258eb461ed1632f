// Scripts of user actions played against a Session without a display: what `kvtool play`
// runs and what the end-to-end tests drive. kScriptHelp below is the grammar. The whole script
// is parsed before anything runs, so a malformed line changes nothing.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/translate.h"
#include "session/headless_port.h"
#include "session/menu_tree.h"

namespace kv {

class Session;

// The script grammar as `kvtool play --help` prints it.
inline constexpr std::string_view kScriptHelp =
    "One action a line; # starts a comment; X Y are world coordinates (y up).\n"
    "  size W H                      canvas pixels (800 600); a later size resizes\n"
    "  open FILE | save FILE         read or write a figure (standard mode only)\n"
    "  menu NAME                     a menu command by control name, e.g. mnuZoomIn\n"
    "  click X Y [right] [shift]     press and release\n"
    "  double X Y                    double click\n"
    "  press X Y [right] [shift] | move X Y [shift] | release X Y [shift]\n"
    "  drag X1 Y1 X2 Y2 [STEPS] [shift]   press, STEPS moves (10), release\n"
    "  key NAME [shift]              Escape Enter Up Down Left Right Delete F1..F12 A..Z 0..9\n"
    "  panel N                       click status panel N (1..11)\n"
    "  dialog FORM.CONTROL [VALUE]   click CONTROL; with VALUE type it or select list line\n"
    "  answer TEXT                   reply to the next input box or file dialog\n"
    "  confirm yes|no|cancel         reply to the next question\n"
    "Each message box prints \"message: TEXT\", each beep \"beep\". A malformed line or an\n"
    "action the window would not take stops with \"line N: ...\" and exit status 2; a figure\n"
    "that cannot be read or written gives 1. OUT is written only when the script ends in the\n"
    "standard mode with no dialog open. Replies no box asked for are named in a warning.\n";

enum class ScriptVerb {
  kSize,
  kOpen,
  kSave,
  kMenu,
  kClick,
  kDouble,
  kPress,
  kMove,
  kRelease,
  kDrag,
  kKey,
  kPanel,
  kDialog,
  kAnswer,
  kConfirm,
};

// One parsed line.
struct ScriptAction {
  int line = 0;  // 1-based line of the script
  ScriptVerb verb = ScriptVerb::kSize;
  double x = 0, y = 0, x2 = 0, y2 = 0;
  int button = 0;   // kLeftButton or kRightButton for presses and clicks
  int shift = 0;    // kShiftMask when `shift` was given
  int number = 0;   // width, drag steps, key code or panel number
  int number2 = 0;  // height
  MenuCommand command = MenuCommand::kNone;
  std::string text;                  // file path, answer text or dialog form name
  std::string control;               // dialog control name
  std::optional<std::string> value;  // dialog value
  ConfirmReply reply = ConfirmReply::kCancel;
};

struct ScriptError {
  int line = 0;
  std::string message;  // without the "line N: " prefix
};

struct ParsedScript {
  std::vector<ScriptAction> actions;
  std::optional<ScriptError> error;  // the first malformed line; no actions then
};

// Parses a whole script. Menu names are checked against the menu tree here, so that a
// script naming an unknown or not yet available command is refused before it runs.
ParsedScript ParseScript(std::string_view text);

// The virtual key code of a key name, or nothing for an unknown name.
std::optional<int> KeyCodeOf(std::string_view name);

// Exit statuses of a play.
inline constexpr int kPlayDone = 0;
inline constexpr int kPlayFileFailed = 1;   // a figure could not be read or written
inline constexpr int kPlayScriptError = 2;  // a malformed line or an action that cannot be done

struct PlayOptions {
  std::string inputFigure;   // opened before the first action; empty for an empty figure
  std::string outputFigure;  // written after the last action; empty for none
  // False for untrusted scripts: `open` and `save` are refused and file dialogs cancelled.
  bool allowFiles = true;
  // The program folder (settings, scratch files); empty for a fresh scratch folder made for
  // the run and removed after it, so that a play never depends on or changes saved settings.
  std::string programFolder;
  int canvasWidth = 800, canvasHeight = 600;  // unless the script sizes the canvas first
  // The interface language for the run (messages, derived labels); the saved one when empty.
  std::optional<Language> language;
};

struct PlayResult {
  int status = kPlayDone;
  std::string error;  // "line N: ..." or a file failure; empty when done
  // Said even when the play is done: replies that no box or question asked for, which
  // usually means the script expected a box the session never showed.
  std::string warning;
};

// Plays parsed scripts against one session. The session is started by Play.
class ScriptPlayer {
 public:
  ScriptPlayer(Session& session, HeadlessPort& port) : session_(session), port_(port) {}

  // Starts the session, opens the input figure, runs the actions and writes the output
  // figure. Nothing is written when an action fails, nor when the script ends in the middle
  // of a command (the window saves only from the standard mode).
  PlayResult Play(const ParsedScript& script, const PlayOptions& options);

 private:
  PlayResult Run(const ScriptAction& a);
  PlayResult RunDialog(const ScriptAction& a);
  PlayResult RunMenu(const ScriptAction& a);
  // open and save, which the script options may forbid.
  PlayResult RunFile(const ScriptAction& a);
  // Clicks, presses, moves, releases, drags and status panel clicks on the canvas.
  void RunPointer(const ScriptAction& a);
  bool NeedsStandardMode(const ScriptAction& a, std::string_view what, PlayResult& result);

  Session& session_;
  HeadlessPort& port_;
  const PlayOptions* options_ = nullptr;
  int heldButton_ = 0;
  bool objectMenuOpen_ = false;  // the last action popped up the object menu
};

// Parses and plays a script in a fresh session whose message lines go to `out`.
PlayResult RunScript(std::string_view script, const PlayOptions& options, std::ostream& out);
// The same without files and with the message lines dropped: an entry for fuzzing.
PlayResult RunScript(std::string_view script);

}  // namespace kv
