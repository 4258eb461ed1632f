// Parsing and playing scripts of user actions against a Session.
#include "session/script_player.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <ostream>
#include <random>
#include <sstream>
#include <system_error>

#include "session/session.h"

namespace kv {

namespace fs = std::filesystem;

namespace {

constexpr int kDefaultDragSteps = 10;
// Bounds that keep a mistyped number from turning one line into hours of work.
constexpr int kMaxDragSteps = 10000;
constexpr int kMaxCanvasPixels = 20000;
constexpr int kKeyDelete = 46;
constexpr int kKeyF1 = 112;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// A `#` at the start of a line or after a blank starts a comment.
std::string_view StripComment(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i)
    if (s[i] == '#' && (i == 0 || IsBlank(s[i - 1]))) return s.substr(0, i);
  return s;
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    size_t start = i;
    while (i < s.size() && !IsBlank(s[i])) ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

std::string_view Unquote(std::string_view s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  return s;
}

// What follows the word `word` (a view into `line`), trimmed, with one pair of enclosing
// double quotes dropped: file names and typed texts may hold blanks.
std::string After(std::string_view line, std::string_view word) {
  const size_t end = static_cast<size_t>(word.data() - line.data()) + word.size();
  return std::string(Unquote(Trim(line.substr(end))));
}

std::optional<double> ParseCoordinate(std::string_view word) {
  double v = 0;
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, v);
  if (ec != std::errc() || ptr != end || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> ParseInt(std::string_view word, int lo, int hi) {
  int v = 0;
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, v);
  if (ec != std::errc() || ptr != end || v < lo || v > hi) return std::nullopt;
  return v;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char ca = a[i], cb = b[i];
    if (ca >= 'a' && ca <= 'z') ca = static_cast<char>(ca - 'a' + 'A');
    if (cb >= 'a' && cb <= 'z') cb = static_cast<char>(cb - 'a' + 'A');
    if (ca != cb) return false;
  }
  return true;
}

struct VerbInfo {
  std::string_view name;
  ScriptVerb verb;
  std::string_view usage;
};

constexpr VerbInfo kVerbs[] = {
    {"size", ScriptVerb::kSize, "size W H"},
    {"open", ScriptVerb::kOpen, "open FILE"},
    {"save", ScriptVerb::kSave, "save FILE"},
    {"menu", ScriptVerb::kMenu, "menu NAME"},
    {"click", ScriptVerb::kClick, "click X Y [right] [shift]"},
    {"double", ScriptVerb::kDouble, "double X Y"},
    {"press", ScriptVerb::kPress, "press X Y [right] [shift]"},
    {"move", ScriptVerb::kMove, "move X Y [shift]"},
    {"release", ScriptVerb::kRelease, "release X Y [shift]"},
    {"drag", ScriptVerb::kDrag, "drag X1 Y1 X2 Y2 [STEPS] [shift]"},
    {"key", ScriptVerb::kKey, "key NAME [shift]"},
    {"panel", ScriptVerb::kPanel, "panel N"},
    {"dialog", ScriptVerb::kDialog, "dialog FORM.CONTROL [VALUE]"},
    {"answer", ScriptVerb::kAnswer, "answer TEXT"},
    {"confirm", ScriptVerb::kConfirm, "confirm yes|no|cancel"},
};

// Parses one line that holds an action; a failure is the error message.
class LineParser {
 public:
  LineParser(std::string_view line, const VerbInfo& verb, int lineNo)
      : line_(line), words_(Words(line)), verb_(verb) {
    action_.line = lineNo;
    action_.verb = verb.verb;
  }

  std::optional<std::string> Parse();
  const ScriptAction& Action() const { return action_; }

 private:
  std::string Usage() const { return "usage: " + std::string(verb_.usage); }
  std::optional<std::string> Point(size_t at, double& x, double& y);
  // The words from `at` on, each one of the allowed flags at most once.
  std::optional<std::string> Flags(size_t at, bool rightAllowed);
  std::optional<std::string> ParseMenu();
  std::optional<std::string> ParseDialog();
  // drag X1 Y1 X2 Y2 [STEPS] [shift]
  std::optional<std::string> ParseDrag();
  // confirm yes|no|cancel
  std::optional<std::string> ParseConfirm();

  std::string_view line_;
  std::vector<std::string_view> words_;
  const VerbInfo& verb_;
  ScriptAction action_;
};

std::optional<std::string> LineParser::Point(size_t at, double& x, double& y) {
  for (size_t k = at; k < at + 2; ++k)
    if (!ParseCoordinate(words_[k])) return "\"" + std::string(words_[k]) + "\" is not a number";
  x = *ParseCoordinate(words_[at]);
  y = *ParseCoordinate(words_[at + 1]);
  return std::nullopt;
}

std::optional<std::string> LineParser::Flags(size_t at, bool rightAllowed) {
  bool right = false, shift = false;
  for (size_t k = at; k < words_.size(); ++k) {
    if (words_[k] == "shift" && !shift) {
      shift = true;
    } else if (rightAllowed && words_[k] == "right" && !right) {
      right = true;
    } else {
      return Usage();
    }
  }
  action_.button = right ? kRightButton : kLeftButton;
  action_.shift = shift ? kShiftMask : 0;
  return std::nullopt;
}

std::optional<std::string> LineParser::ParseMenu() {
  if (words_.size() != 2) return Usage();
  const std::string_view name = words_[1];
  auto cmd = FindMenuCommand(name);
  if (!cmd) return "no menu item is named \"" + std::string(name) + "\"";
  if (HasSubmenu(*cmd)) return std::string(name) + " is a menu, not a command";
  // The window greys out the items the session does not carry out; a script cannot choose
  // them either.
  if (!Session::Implements(*cmd)) return std::string(name) + " is not available (disabled)";
  action_.command = *cmd;
  return std::nullopt;
}

std::optional<std::string> LineParser::ParseDialog() {
  if (words_.size() < 2) return Usage();
  const std::string_view target = words_[1];
  const size_t dot = target.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot + 1 == target.size()) return Usage();
  action_.text = std::string(target.substr(0, dot));
  action_.control = std::string(target.substr(dot + 1));
  if (words_.size() > 2) action_.value = After(line_, target);
  return std::nullopt;
}

std::optional<std::string> LineParser::Parse() {
  const size_t n = words_.size();
  switch (verb_.verb) {
    case ScriptVerb::kSize: {
      if (n != 3) return Usage();
      auto w = ParseInt(words_[1], 1, kMaxCanvasPixels);
      auto h = ParseInt(words_[2], 1, kMaxCanvasPixels);
      if (!w || !h)
        return "the canvas size must be whole pixels from 1 to " + std::to_string(kMaxCanvasPixels);
      action_.number = *w;
      action_.number2 = *h;
      return std::nullopt;
    }
    case ScriptVerb::kOpen:
    case ScriptVerb::kSave:
      if (n < 2) return Usage();
      action_.text = After(line_, words_[0]);
      if (action_.text.empty()) return Usage();
      return std::nullopt;
    case ScriptVerb::kAnswer:
      // An empty answer is an input box confirmed with nothing typed.
      action_.text = After(line_, words_[0]);
      return std::nullopt;
    case ScriptVerb::kMenu:
      return ParseMenu();
    case ScriptVerb::kClick:
    case ScriptVerb::kPress:
      if (n < 3 || n > 5) return Usage();
      if (auto e = Point(1, action_.x, action_.y)) return e;
      return Flags(3, true);
    case ScriptVerb::kDouble:
      if (n != 3) return Usage();
      action_.button = kLeftButton;
      return Point(1, action_.x, action_.y);
    case ScriptVerb::kMove:
    case ScriptVerb::kRelease:
      if (n < 3 || n > 4) return Usage();
      if (auto e = Point(1, action_.x, action_.y)) return e;
      return Flags(3, false);
    case ScriptVerb::kDrag:
      return ParseDrag();
    case ScriptVerb::kKey: {
      if (n < 2 || n > 3) return Usage();
      auto code = KeyCodeOf(words_[1]);
      if (!code) return "unknown key \"" + std::string(words_[1]) + "\"";
      action_.number = *code;
      return Flags(2, false);
    }
    case ScriptVerb::kPanel: {
      if (n != 2) return Usage();
      auto panel = ParseInt(words_[1], 1, kStatusPanelCount);
      if (!panel) return "the status bar has panels 1 to " + std::to_string(kStatusPanelCount);
      action_.number = *panel;
      return std::nullopt;
    }
    case ScriptVerb::kDialog:
      return ParseDialog();
    case ScriptVerb::kConfirm:
      return ParseConfirm();
  }
  return Usage();
}

std::optional<std::string> LineParser::ParseDrag() {
  const size_t n = words_.size();
  if (n < 5 || n > 7) return Usage();
  if (auto e = Point(1, action_.x, action_.y)) return e;
  if (auto e = Point(3, action_.x2, action_.y2)) return e;
  size_t flagsAt = 5;
  action_.number = kDefaultDragSteps;
  if (n > 5 && words_[5] != "shift") {
    auto steps = ParseInt(words_[5], 1, kMaxDragSteps);
    if (!steps)
      return "the number of drag steps must be from 1 to " + std::to_string(kMaxDragSteps);
    action_.number = *steps;
    flagsAt = 6;
  }
  return Flags(flagsAt, false);
}

std::optional<std::string> LineParser::ParseConfirm() {
  if (words_.size() != 2) return Usage();
  if (words_[1] == "yes") {
    action_.reply = ConfirmReply::kYes;
  } else if (words_[1] == "no") {
    action_.reply = ConfirmReply::kNo;
  } else if (words_[1] == "cancel") {
    action_.reply = ConfirmReply::kCancel;
  } else {
    return Usage();
  }
  return std::nullopt;
}

std::string LineError(int line, std::string_view message) {
  return "line " + std::to_string(line) + ": " + std::string(message);
}

PlayResult Failure(int status, std::string message) {
  PlayResult result;
  result.status = status;
  result.error = std::move(message);
  return result;
}

// A fresh folder under the system's temporary folder, removed with everything in it when the
// play ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device seed;
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      fs::path candidate = base / ("kvplay-" + std::to_string(seed()));
      if (fs::create_directory(candidate, ec)) path_ = candidate;
    }
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// Whether an item of the menu bar is enabled by the top-level menu it hangs under.
bool TopMenuEnabled(MenuCommand cmd, const TopMenuEnabling& m) {
  MenuCommand top = cmd;
  for (int depth = 0; depth < 8 && MenuInfo(top).parent != MenuCommand::kNone; ++depth)
    top = MenuInfo(top).parent;
  using M = MenuCommand;
  switch (top) {
    case M::mnuFile:
      return m.file;
    case M::mnuDeform:
      return m.deform;
    case M::mnuConstruction:
      return m.construction;
    case M::mnuMeasure:
      return m.measure;
    case M::mnuOption:
      return m.option;
    case M::mnuEdit:
      return m.edit;
    case M::mnuHelp:
      return m.help;
    case M::mnuZoom:
      return m.zoom;
    case M::mnuLocus:
      return m.locus;
    default:
      return true;
  }
}

// Whether the item hangs in the object menu, which pops up at a right click and never sits in
// the menu bar.
bool InObjectMenu(MenuCommand cmd) {
  for (int depth = 0; depth < 8 && cmd != MenuCommand::kNone; ++depth) {
    if (MenuInfo(cmd).flags & kMenuPopupOnly) return true;
    cmd = MenuInfo(cmd).parent;
  }
  return false;
}

// Whether the item and every menu above it are shown in the menu mode.
bool ShownInMenuMode(MenuCommand cmd, int menuMode) {
  for (int depth = 0; depth < 8 && cmd != MenuCommand::kNone; ++depth) {
    if (!MenuVisibleInMode(cmd, menuMode)) return false;
    cmd = MenuInfo(cmd).parent;
  }
  return true;
}

}  // namespace

std::optional<int> KeyCodeOf(std::string_view name) {
  static constexpr std::pair<std::string_view, int> kNamed[] = {
      {"Escape", kKeyEscape}, {"Enter", kKeyEnter}, {"Up", kKeyUp},         {"Down", kKeyDown},
      {"Left", kKeyLeft},     {"Right", kKeyRight}, {"Delete", kKeyDelete},
  };
  for (const auto& [keyName, code] : kNamed)
    if (EqualsNoCase(name, keyName)) return code;
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= '0' && c <= '9') return c;
    if (c >= 'A' && c <= 'Z') return c;
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    return std::nullopt;
  }
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
    if (auto n = ParseInt(name.substr(1), 1, 12)) return kKeyF1 + *n - 1;
  }
  return std::nullopt;
}

ParsedScript ParseScript(std::string_view text) {
  ParsedScript script;
  // A byte order mark from an editor is not part of the first line.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int lineNo = 0;
  while (!text.empty()) {
    ++lineNo;
    const size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::string_view line = Trim(StripComment(Trim(raw)));
    if (line.empty()) continue;
    const std::string_view verb = Words(line).front();
    const VerbInfo* info = nullptr;
    for (const VerbInfo& v : kVerbs)
      if (v.name == verb) info = &v;
    if (!info) {
      script.actions.clear();
      script.error = ScriptError{lineNo, "unknown action \"" + std::string(verb) + "\""};
      return script;
    }
    LineParser parser(line, *info, lineNo);
    if (auto error = parser.Parse()) {
      script.actions.clear();
      script.error = ScriptError{lineNo, *error};
      return script;
    }
    script.actions.push_back(parser.Action());
  }
  return script;
}

// --- Playing ---

PlayResult ScriptPlayer::Play(const ParsedScript& script, const PlayOptions& options) {
  if (script.error)
    return Failure(kPlayScriptError, LineError(script.error->line, script.error->message));
  options_ = &options;
  port_.allowFileDialogs = options.allowFiles;
  // The canvas size: the last `size` before the first other event.
  int width = options.canvasWidth, height = options.canvasHeight;
  size_t first = 0;
  for (; first < script.actions.size(); ++first) {
    const ScriptAction& a = script.actions[first];
    if (a.verb == ScriptVerb::kSize) {
      width = a.number;
      height = a.number2;
    } else if (a.verb != ScriptVerb::kAnswer && a.verb != ScriptVerb::kConfirm) {
      break;
    }
  }

  std::optional<ScratchFolder> scratch;
  Session::StartupArgs args;
  args.programFolder = options.programFolder;
  if (args.programFolder.empty()) {
    scratch.emplace();
    if (scratch->Path().empty())
      return Failure(kPlayFileFailed, "no scratch folder could be made for the program");
    args.programFolder = scratch->Path().string();
  }
  args.canvasWidth = width;
  args.canvasHeight = height;
  session_.Startup(args);
  if (options.language && *options.language != session_.translator.language)
    session_.SetLanguage(*options.language);
  if (!options.inputFigure.empty() && !session_.OpenFigure(options.inputFigure))
    return Failure(kPlayFileFailed, options.inputFigure + ": the figure could not be read");

  heldButton_ = 0;
  for (size_t i = 0; i < script.actions.size(); ++i) {
    const ScriptAction& a = script.actions[i];
    // The leading sizes were the start-up size; a later one resizes the window.
    if (a.verb == ScriptVerb::kSize && i < first) continue;
    PlayResult result = Run(a);
    if (result.status != kPlayDone) return result;
    if (port_.quitRequested) break;  // the program was ended from its menu
  }

  PlayResult done;
  if (port_.PendingAnswers() > 0 || port_.PendingConfirms() > 0)
    done.warning = std::to_string(port_.PendingAnswers()) + " answer and " +
                   std::to_string(port_.PendingConfirms()) +
                   " confirm line(s) were never asked for";
  if (options.outputFigure.empty()) return done;
  if (session_.ActiveDialog())
    return Failure(kPlayScriptError, "end of script: the dialog " +
                                         std::string(session_.ActiveDialog()->FormName()) +
                                         " is still open; nothing was written");
  if (session_.CurrentInputMode() != kModeStandard)
    return Failure(kPlayScriptError,
                   "end of script: a command is still running (input mode " +
                       std::to_string(session_.CurrentInputMode()) +
                       "); end it, e.g. with key Escape, before the figure can be written");
  if (!session_.SaveFigureAs(options.outputFigure))
    return Failure(kPlayFileFailed, options.outputFigure + ": the figure could not be written");
  return done;
}

bool ScriptPlayer::NeedsStandardMode(const ScriptAction& a, std::string_view what,
                                     PlayResult& result) {
  if (session_.CurrentInputMode() == kModeStandard) return true;
  result =
      Failure(kPlayScriptError,
              LineError(a.line, std::string(what) + " needs the standard mode, but input mode " +
                                    std::to_string(session_.CurrentInputMode()) +
                                    " is active (as in the window, where the File menu "
                                    "is disabled then)"));
  return false;
}

PlayResult ScriptPlayer::Run(const ScriptAction& a) {
  const int popupsBefore = port_.objectMenuPopups;
  const bool objectMenuOpen = objectMenuOpen_;
  objectMenuOpen_ = false;
  switch (a.verb) {
    case ScriptVerb::kAnswer:
      port_.QueueAnswer(a.text);
      objectMenuOpen_ = objectMenuOpen;  // queuing a reply is no action on the window
      return {};
    case ScriptVerb::kConfirm:
      port_.QueueConfirm(a.reply);
      objectMenuOpen_ = objectMenuOpen;
      return {};
    case ScriptVerb::kSize:
      session_.Resize(a.number, a.number2, false);
      return {};
    case ScriptVerb::kDialog:
      return RunDialog(a);
    case ScriptVerb::kKey:
      // A modal dialog has the keyboard while it is open.
      if (session_.ActiveDialog()) {
        session_.DialogKey(a.number, a.shift);
      } else {
        session_.Key(a.number, a.shift);
      }
      return {};
    default:
      break;
  }
  // Everything else is done on the main window, which a modal dialog blocks.
  if (DialogModel* dialog = session_.ActiveDialog())
    return Failure(kPlayScriptError,
                   LineError(a.line, "the dialog " + std::string(dialog->FormName()) +
                                         " is open; the window does not take this until it "
                                         "is closed"));
  PlayResult result;
  switch (a.verb) {
    case ScriptVerb::kOpen:
    case ScriptVerb::kSave:
      return RunFile(a);
    case ScriptVerb::kMenu:
      objectMenuOpen_ = objectMenuOpen;
      result = RunMenu(a);
      objectMenuOpen_ = false;
      return result;
    default:
      RunPointer(a);
      break;
  }
  objectMenuOpen_ = port_.objectMenuPopups != popupsBefore;
  return {};
}

PlayResult ScriptPlayer::RunFile(const ScriptAction& a) {
  PlayResult result;
  if (a.verb == ScriptVerb::kOpen) {
    if (!options_->allowFiles)
      return Failure(kPlayScriptError, LineError(a.line, "files cannot be opened here"));
    if (!NeedsStandardMode(a, "open", result)) return result;
    if (!session_.OpenFigure(a.text))
      return Failure(kPlayFileFailed, LineError(a.line, a.text + ": the figure could not be read"));
    return {};
  }
  if (!options_->allowFiles)
    return Failure(kPlayScriptError, LineError(a.line, "files cannot be written here"));
  if (!NeedsStandardMode(a, "save", result)) return result;
  if (!session_.SaveFigureAs(a.text))
    return Failure(kPlayFileFailed,
                   LineError(a.line, a.text + ": the figure could not be written"));
  session_.RefreshStatus();
  return {};
}

void ScriptPlayer::RunPointer(const ScriptAction& a) {
  switch (a.verb) {
    case ScriptVerb::kClick:
      session_.Press(a.button, a.shift, a.x, a.y);
      session_.Release(a.button, a.shift, a.x, a.y);
      break;
    case ScriptVerb::kDouble:
      // The window's order of events for a double click.
      session_.Press(a.button, a.shift, a.x, a.y);
      session_.Release(a.button, a.shift, a.x, a.y);
      session_.DoubleClick();
      session_.Release(a.button, a.shift, a.x, a.y);
      break;
    case ScriptVerb::kPress:
      heldButton_ = a.button;
      session_.Press(a.button, a.shift, a.x, a.y);
      break;
    case ScriptVerb::kMove:
      session_.Move(heldButton_, a.shift, a.x, a.y);
      break;
    case ScriptVerb::kRelease: {
      const int button = heldButton_ != 0 ? heldButton_ : kLeftButton;
      heldButton_ = 0;
      session_.Release(button, a.shift, a.x, a.y);
      break;
    }
    case ScriptVerb::kDrag:
      session_.Press(kLeftButton, a.shift, a.x, a.y);
      for (int k = 1; k <= a.number; ++k) {
        const double t = static_cast<double>(k) / a.number;
        session_.Move(kLeftButton, a.shift, a.x + (a.x2 - a.x) * t, a.y + (a.y2 - a.y) * t);
      }
      session_.Release(kLeftButton, a.shift, a.x2, a.y2);
      break;
    case ScriptVerb::kPanel:
      session_.StatusPanelClick(a.number);
      break;
    default:
      break;
  }
}

PlayResult ScriptPlayer::RunMenu(const ScriptAction& a) {
  const MenuCommand cmd = a.command;
  const std::string name(MenuControlName(cmd));
  if (InObjectMenu(cmd)) {
    // The object menu's items are there only while it is popped up by a right click.
    const ObjectMenuState& menu = session_.ObjectMenu();
    bool shown = objectMenuOpen_ && !menu.target.IsNothing();
    if (cmd == MenuCommand::mnuEdit2_point_Deform) shown = shown && menu.deformVisible;
    if (cmd == MenuCommand::mnuEdit2_point_Bounded) shown = shown && menu.boundedVisible;
    if (cmd == MenuCommand::mnuEdit2_point_Set_Free) shown = shown && menu.setFreeVisible;
    if (!shown)
      return Failure(kPlayScriptError,
                     LineError(a.line, name + " is not shown: it belongs to the object menu of "
                                              "a right click on an object"));
    session_.Command(cmd);
    return {};
  }
  const int menuMode = session_.EasyMenu() ? kMenuModeEasy : kMenuModeFull;
  if (!ShownInMenuMode(cmd, menuMode))
    return Failure(kPlayScriptError,
                   LineError(a.line, name + " is not in the " +
                                         (session_.EasyMenu() ? "easy" : "full") + " menu"));
  if (!TopMenuEnabled(cmd, session_.TopMenus()))
    return Failure(kPlayScriptError,
                   LineError(a.line, name + " is disabled in input mode " +
                                         std::to_string(session_.CurrentInputMode())));
  session_.Command(cmd);
  return {};
}

PlayResult ScriptPlayer::RunDialog(const ScriptAction& a) {
  DialogModel* dialog = session_.ActiveDialog();
  if (!dialog) return Failure(kPlayScriptError, LineError(a.line, "no dialog is open"));
  const std::string form(dialog->FormName());
  if (form != a.text)
    return Failure(kPlayScriptError,
                   LineError(a.line, "the open dialog is " + form + ", not " + a.text));
  if (!a.value) {
    if (!session_.DialogClick(a.control))
      return Failure(kPlayScriptError,
                     LineError(a.line, form + " has no control " + a.control + " to click now"));
    return {};
  }
  // A whole number may be a list line; anything a list refuses is typed into a text box.
  if (auto line = ParseInt(*a.value, 1, 1 << 30)) {
    if (session_.DialogSelect(a.control, *line)) return {};
  }
  if (!session_.DialogType(a.control, *a.value))
    return Failure(kPlayScriptError,
                   LineError(a.line, form + " cannot take \"" + *a.value + "\" in " + a.control));
  return {};
}

PlayResult RunScript(std::string_view script, const PlayOptions& options, std::ostream& out) {
  const ParsedScript parsed = ParseScript(script);
  if (parsed.error)
    return Failure(kPlayScriptError, LineError(parsed.error->line, parsed.error->message));
  HeadlessPort port(out);
  Session session(port);
  ScriptPlayer player(session, port);
  return player.Play(parsed, options);
}

PlayResult RunScript(std::string_view script) {
  std::ostringstream discard;
  PlayOptions options;
  options.allowFiles = false;
  return RunScript(script, options, discard);
}

}  // namespace kv
