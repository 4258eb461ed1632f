// Session start-up, shutdown, the mode stack glue, the status bar and the window's own commands.
#include "session/session.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "geometry/recompute.h"
#include "io/file_names.h"
#include "io/kv4_file.h"
#include "lang/user_dictionary.h"
#include "session/modes/idle_selection_mode.h"
#include "session/modes/scribble_mode.h"

namespace kv {

namespace fs = std::filesystem;

namespace {

std::string VersionText() {
  return std::string(kProgramTitle) + " " + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

std::string InFolder(const std::string& folder, std::string_view name) {
  return (fs::path(folder) / fs::path(std::u8string(name.begin(), name.end()))).string();
}

// The figure dialogs' filter in the interface language.
std::string FigureFilter(const Translator& tr) {
  return std::string(tr("すべてのファイル")) + "(*.*)|*.*|" + std::string(tr("KV4形式")) +
         "(*.kv4)|*.kv4|";
}

}  // namespace

std::string FigurePathFromCommandLine(std::string_view commandLine) {
  std::string_view s = commandLine;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  if (!s.empty() && s.back() == '"') s.remove_suffix(1);
  if (!s.empty() && s.front() == '"') s.remove_prefix(1);
  return std::string(s);
}

Session::Session(UiPort& ui) : ui_(ui) {
  figure.pass.hooks = this;
  modes_.Reset(std::make_unique<StandardMode>());
}

void Session::Startup(const StartupArgs& args) {
  EventScope scope(*this);
  programFolder_ = args.programFolder;
  shippedFolder_ = args.shippedFolder.empty() ? args.programFolder : args.shippedFolder;
  // 1. Caption until the first status refresh.
  caption_ = VersionText();
  // 2-3. Canvas colours come from the preferences; documented defaults.
  figureCapacity_ = kInitialCapacity;
  view = View{};
  draw = DrawSettings{};
  loci.Reset();
  record_.Reset(programFolder_);
  // 4. Empty figure, no candidates, no multi-point drag.
  figure.NewFigure(figureCapacity_);
  modes_.Reset(std::make_unique<StandardMode>());
  // 5. Settings file, read over a fresh set so that nothing of an earlier run survives.
  settings = Settings{};
  LoadSettings();
  // 6. Interface texts in the chosen language.
  translator.dictionaryPath = fs::path(programFolder_) / kUserDictionaryFileName;
  translator.neededListPath = fs::path(programFolder_) / kNeededListFileName;
  translator.dictionaryLoaded = false;
  ui_.ApplyLanguage();
  // 7. Initial folders of the file dialogs.
  ReadDataPath();
  // 8. View transform for the canvas.
  SetScreen(args.canvasWidth, args.canvasHeight);
  // 9. Status panels.
  ui_.LayOutStatusPanels();
  UpdateFixedPanels();
  // 10-12. Mode stack with the standard mode, untitled figure, status.
  modes_.Reset(std::make_unique<StandardMode>());
  figureFileName_ = "untitled";
  MarkSaved();
  RefreshStatus();
  // 13. Figure dialog filter.
  figureDialogFilter_ = FigureFilter(translator);
  // 14. A figure named on the command line.
  std::string path = FigurePathFromCommandLine(args.commandLine);
  std::error_code ec;
  if (!path.empty() && fs::is_regular_file(fs::path(path), ec)) {
    OpenFigure(path);
  } else if (!path.empty()) {
    // A file opened from the desktop that has gone since is worth telling; the window then
    // shows an untitled figure.
    ui_.MessageWarning(Tr("次のファイルが見つからないため,新しい図で始めます。") + "\n" + path,
                       kProgramTitle);
  }
  // 15. Window size.
  ui_.ApplyWindowSize(settings.width, settings.height, settings.windowState);
  // 16. Menu mode.
  menuMode_ = settings.menuMode == -1 ? -1 : 0;
  ui_.ApplyMenuMode(menuMode_ == -1);
  // 17. A read-only installation writes no measurement records.
  CheckReadOnlyInstall();
  if (readOnlyInstall_) {
    record_.Disable();
    ui_.SetMeasurementRecordsVisible(false);
  }
  repaintDirty_ = true;
}

bool Session::LoadSettings() {
  // The start-up window, menu mode, language and shift-drag kind are not defaults: they keep
  // their values unless the file names them.
  ApplyDefaultSettings(settings);
  const bool found = ReadSettingsFile(settings, InFolder(programFolder_, kSettingsFileName));
  SettingsToState();
  return found;
}

void Session::SettingsToState() {
  // A strength outside 1..255 (0 from an old settings file) means full strength, and is kept so.
  draw.ColorStrength =
      settings.colorStrength < 1 || settings.colorStrength > 255 ? 255 : settings.colorStrength;
  draw.NotChrDisp = settings.notChrDisp != 0;
  draw.drawWidth = settings.drawWidth;
  draw.fontSize = settings.fontSize;
  draw.fontName = settings.fontName;
  draw.KetaDecimal = settings.ketaDecimal;
  draw.background = FromColorRef(static_cast<uint32_t>(settings.backColor));
  view.axissw = settings.axissw != 0;
  view.AxisColor = FromColorRef(static_cast<uint32_t>(settings.axisColor));
  translator.language = ParseLanguageSetting(settings.language);
  shiftDragCounter_ = settings.sDeformKind + 1;
}

void Session::StateToSettings() {
  settings.colorStrength = draw.ColorStrength;
  settings.notChrDisp = draw.NotChrDisp ? kTrue : kFalse;
  settings.drawWidth = draw.drawWidth;
  settings.fontSize = static_cast<float>(draw.fontSize);
  settings.fontName = draw.fontName;
  settings.ketaDecimal = draw.KetaDecimal;
  settings.backColor = static_cast<int32_t>(ToColorRef(draw.background));
  settings.axissw = view.axissw ? kTrue : kFalse;
  settings.axisColor = static_cast<int32_t>(ToColorRef(view.AxisColor));
}

void Session::SaveSettings() {
  StateToSettings();
  std::string failure = WriteSettingsFile(settings, InFolder(programFolder_, kSettingsFileName));
  if (!failure.empty()) ui_.MessageWarning(failure, kProgramTitle);
}

void Session::StoreStartupWindow(int widthTwips, int heightTwips, int state) {
  settings.width = widthTwips;
  settings.height = heightTwips;
  settings.windowState = state;
  SaveSettings();
  statusDirty_ = true;
}

std::string Session::SamplesFolder() const { return InFolder(shippedFolder_, "samples"); }

void Session::ReadDataPath() {
  // Until the user names a data folder, both dialogs open on the shipped samples.
  mergeDialogFolder_ = SamplesFolder();
  auto folder = kv::ReadDataPath(InFolder(programFolder_, kDataPathFileName));
  figureDialogFolder_ = folder ? *folder : SamplesFolder();
}

void Session::CheckReadOnlyInstall() {
  std::error_code ec;
  fs::path exe = fs::path(programFolder_) / "kvwin";
  readOnlyInstall_ = false;
  if (!fs::is_regular_file(exe, ec)) return;
  fs::perms p = fs::status(exe, ec).permissions();
  if (!ec) readOnlyInstall_ = (p & fs::perms::owner_write) == fs::perms::none;
}

void Session::Shutdown() {
  std::error_code ec;
  fs::remove(InFolder(programFolder_, "temp_kvwin.htm"), ec);
  fs::remove(InFolder(programFolder_, "temp_kvwin.kv4"), ec);
  // The measurement page gets its tail; the records themselves stay for the user.
  SendRecord(RecordCommand::kEnd);
  if (ReplayMode* replay = RunningReplay()) replay->StopTimer(*this);
  ui_.Quit();
}

void Session::SetScreen(int width, int height) { view.SetScreen(width, height); }

void Session::Resize(int width, int height, bool minimised) {
  EventScope scope(*this);
  if (minimised) return;
  SetScreen(width, height);
  RedrawAll();
}

// --- Mode stack ---

void Session::PushInputMode(int16_t code) { PushInputMode(MakeMode(code)); }

void Session::PushInputMode(std::unique_ptr<Mode> mode) {
  // The object under the mouse is marked only while the standard mode takes the moves, so
  // that a drag or a task started over it does not leave it red until the next hover.
  if (modes_.Top() == 1) Standard().ForgetHover();
  // A full stack means a command forgot to pop; refusing keeps the stack intact.
  if (!modes_.Push(std::move(mode))) ui_.Beep();
  statusDirty_ = true;
}

void Session::PopInputMode() {
  if (!modes_.Pop()) ui_.Beep();
  statusDirty_ = true;
}

std::unique_ptr<Mode> Session::MakeMode(int16_t code) const {
  switch (code) {
    case kModeStandard:
      return std::make_unique<StandardMode>();
    case kModeDeform:
    case kModeNumberChange:
    case kModePlacePoint:
    case kModeMultiDeform:
    case kModeDrag:
      return std::make_unique<DragMode>(code, DragState{});
    case kModeScribble:
      return std::make_unique<ScribbleMode>(scribbleColour_, draw.drawWidth);
    case kModeReplay:
      return std::make_unique<ReplayMode>();
    default:
      if (IsSelectionMode(code)) return std::make_unique<IdleSelectionMode>(code);
      return std::make_unique<Mode>(code);
  }
}

bool Session::OnStack(const Mode* mode) const {
  for (int slot = 1; slot <= modes_.Top(); ++slot)
    if (modes_.ModeAt(slot) == mode) return true;
  return false;
}

StandardMode& Session::Standard() const {
  // The base entry is always the standard mode: Reset puts one there and it is never popped.
  return static_cast<StandardMode&>(*modes_.ModeAt(1));
}

ReplayMode* Session::RunningReplay() const {
  return CurrentInputMode() == kModeReplay ? dynamic_cast<ReplayMode*>(modes_.TopMode()) : nullptr;
}

ReplayState Session::Replay() const {
  if (ReplayMode* replay = RunningReplay()) return replay->State();
  return {false, figure.StepCount(), false};
}

DragState Session::Drag() const {
  if (auto* drag = dynamic_cast<const DragMode*>(modes_.TopMode())) return drag->State();
  return {};
}

const std::vector<ObjRef>& Session::CandidateMarks() const { return Standard().Candidates(); }

void Session::FinishEvent() {
  // A dialog whose mode has gone (its command was cancelled from the canvas) goes with it,
  // so that nothing it does later lands in another command.
  if (dialog_ && !OnStack(dialogOwner_)) {
    dialog_.reset();
    dialogOwner_ = nullptr;
    ui_.DialogEnded();
  }
  modes_.ReleasePopped();
  if (statusDirty_) RefreshStatus();
  if (repaintDirty_) ui_.RequestRepaint();
  repaintDirty_ = false;
}

double Session::KeyStep() const {
  // The keyboard step is kept in pixels; 0 means the standard 10.
  return (settings.delta != 0 ? settings.delta : 10) * view.ScaleUnit;
}

void Session::SetPanelText(int panel, std::string text) {
  if (panel < 1 || panel > kStatusPanelCount) return;
  panels_[panel].text = std::move(text);
  statusDirty_ = true;
}

void Session::StartPlacing(int32_t point) {
  DragState drag;
  drag.dragPoint = point;
  PushInputMode(std::make_unique<DragMode>(kModePlacePoint, drag));
}

std::string Session::ShortFileName() const { return FileNamePart(figureFileName_); }

std::string Session::ShiftDragKindText() const {
  switch (settings.sDeformKind) {
    case 1:
      return Tr("→線");
    case 2:
      return Tr("→格子点");
    default:
      return Tr("→線/円");
  }
}

void Session::UpdateFixedPanels() {
  static constexpr std::string_view kPresetTexts[] = {"細", "中", "太"};
  panels_[7].text = Tr(kPresetTexts[sizePreset_ % 3]);
  panels_[8].text = ShiftDragKindText();
  if (!RunningReplay()) panels_[3].text = Tr(locusSw_ ? "軌" : "×軌");
  panels_[4].text = Tr("消去");
  panels_[6].text = "BMP";
  panels_[9].text = "Redo";
  panels_[10].text = "Undo";
}

void Session::RefreshStatus() {
  statusDirty_ = false;
  const int16_t mode = CurrentInputMode();
  caption_ = (Modified() ? "*[" : "[") + ShortFileName() + "] " + VersionText();
  if (auto text = StatusTextOf(mode)) {
    panels_[1].text = mode == kModeScribble ? std::string(*text) : Tr(*text);
  } else {
    ui_.Beep();
    panels_[1].text = std::string(kUnknownModeText);
  }
  panels_[2].text = ShortFileName() + fileNotice_;
  panels_[5].text = mode == kModeScribble ? "Color" : "Marker";
  panels_[8].sunken = shiftLock_;
  panels_[3].sunken = locusSw_;
  panels_[3].raised = !locusSw_;
  if (!RunningReplay()) panels_[3].text = Tr(locusSw_ ? "軌" : "×軌");
  topMenus_ = MenuEnablingFor(mode);
  checkMarks_ = MenuCheckSet(CheckState());
  ui_.StatusChanged();
}

const StatusPanel& Session::Panel(int n) const {
  static const StatusPanel kNone;
  return n >= 1 && n <= kStatusPanelCount ? panels_[n] : kNone;
}

// --- Commands ---

Scene Session::MakeScene() {
  sceneMarks_.clear();
  Scene scene;
  scene.figure = &figure;
  scene.view = &view;
  scene.settings = &draw;
  scene.loci = &loci;
  scene.trail = &dragTrail_;
  scene.inputMode = CurrentInputMode();
  scene.thumbnailState = thumbnailState_;
  scene.statusBarShown = statusBarShown_;
  // The standard mode's draggable marks stay under whatever the modes above it mark.
  for (int slot = 1; slot <= modes_.Top(); ++slot) {
    const Mode* mode = modes_.ModeAt(slot);
    mode->AddMarks(figure, sceneMarks_);
    if (mode->ReplayStep() >= 0) scene.replayStep = mode->ReplayStep();
  }
  // The number locus shows the dragged point with the marker and colour of its sign.
  const auto* drag = dynamic_cast<const DragMode*>(modes_.TopMode());
  if (numberLocus_.point != 0 && locusNumber_ != 0 && drag &&
      drag->State().dragPoint == numberLocus_.point)
    sceneMarks_.push_back({{kClassPoint, numberLocus_.point},
                           kStyleForced + numberLocus_.colour,
                           numberLocus_.marker,
                           0});
  scene.marks = sceneMarks_;
  scene.strokes = Strokes();
  scene.drag = ActiveDragPlan();
  return scene;
}

void Session::RedrawAll() {
  ++fullRedraws_;
  RecomputeAll(figure);
  // A full redraw paints over the scribbles.
  if (auto* scribble = dynamic_cast<ScribbleMode*>(modes_.TopMode())) scribble->ClearStrokes();
  if (dragTrail_.pointCount != 0) dragTrail_.Reset();
  if (locusSw_) WriteRecordRow();
  // A full redraw paints over the candidate markers, except that the easy menu always shows
  // what can be dragged.
  if (menuMode_ == -1 && CurrentInputMode() == kModeStandard) {
    Standard().ShowDraggableCandidates(figure);
  } else {
    Standard().ClearCandidates();
  }
  repaintDirty_ = true;
}

bool Session::OpenFigure(const std::string& path) {
  EventScope scope(*this);
  PushInputMode(kModeLoading);
  const bool ok = ReadFigure(path);
  PopInputMode();
  return ok;
}

bool Session::ReadFigure(const std::string& path) {
  FigureFileIO io(&translator);
  const FileResult result = io.Read(figure, path);
  if (!result.ok()) {
    // The figure, its name and its view stay exactly as they were; only say why.
    ui_.MessageWarning(FileResultMessage(result, translator), kProgramTitle);
    return false;
  }
  figureFileName_ = path;
  Standard().ClearCandidates();
  Standard().ForgetIndication();
  NewLoci();
  FigureChanged(io, false);
  // What was read, as recomputed and relabelled, is the saved state.
  MarkSaved();
  return true;
}

void Session::FigureChanged(const FigureFileIO& io, bool merged) {
  // A file written by hand in UTF-8 is read as such; the panel says so until the next save.
  if (io.readAsUtf8) {
    fileNotice_ = " (" + Tr("UTF-8 のファイルとして読みました") + ")";
  } else if (!merged) {
    fileNotice_.clear();
  }
  if (io.hasComplexSteps) view.ZoomComplex();
  RedrawAll();  // the one recompute after a load or merge
  panels_[2].text = ShortFileName() + fileNotice_;
}

void Session::LoadFigureCommand() {
  EventScope scope(*this);
  if (!ConfirmDiscardChanges()) return;
  PushInputMode(kModeLoading);
  RefreshStatus();
  auto path = ui_.OpenFileDialog(figureDialogFolder_, figureDialogFilter_);
  if (path && !TrimSpaces(*path).empty()) {
    RememberFolderOf(*path, figureDialogFolder_);
    ReadFigure(*path);
  }
  PopInputMode();
  statusDirty_ = true;
}

bool Session::SaveFigureCommand() {
  EventScope scope(*this);
  PushInputMode(kModeSaving);
  RefreshStatus();
  bool written = false;
  auto path = ui_.SaveFileDialog(figureDialogFolder_, figureDialogFilter_, figureFileName_);
  if (path && !TrimSpaces(*path).empty()) {
    RememberFolderOf(*path, figureDialogFolder_);
    written = SaveFigureAs(*path);
  }
  PopInputMode();
  RedrawAll();
  if (written) MarkSaved();
  statusDirty_ = true;
  return written;
}

bool Session::SaveFigureAs(const std::string& path) {
  FigureFileIO io(&translator);
  const FileResult result = io.Write(figure, path);
  if (!result.ok()) {
    ui_.MessageWarning(FileResultMessage(result, translator), kProgramTitle);
    return false;
  }
  // Only a written file becomes the figure's name.
  figureFileName_ = path;
  fileNotice_.clear();  // saved as Shift_JIS, like every figure file
  panels_[2].text = ShortFileName() + fileNotice_;
  MarkSaved();
  return true;
}

void Session::MergeFigureCommand() {
  EventScope scope(*this);
  PushInputMode(kModeLoading);
  RefreshStatus();
  auto path = ui_.OpenFileDialog(mergeDialogFolder_, figureDialogFilter_);
  if (path && !TrimSpaces(*path).empty()) {
    RememberFolderOf(*path, mergeDialogFolder_);
    FigureFileIO io(&translator);
    const FileResult result = io.Merge(figure, *path);
    if (result.ok()) {
      FigureChanged(io, true);
    } else {
      ui_.MessageWarning(FileResultMessage(result, translator), kProgramTitle);
    }
  }
  PopInputMode();
  statusDirty_ = true;
}

void Session::RememberFolderOf(const std::string& path, std::string& dialogFolder) {
  // Each dialog opens again where the user last chose a file in it.
  std::string folder = fs::path(path).parent_path().string();
  if (folder.empty()) return;
  dialogFolder = folder;
  lastUsedFolder_ = std::move(folder);
}

void Session::ChooseShiftDragKind(int choice) {
  EventScope scope(*this);
  if (choice < 1 || choice > 3) return;
  shiftDragCounter_ = choice;
  settings.sDeformKind = choice - 1;
  UpdateFixedPanels();
  statusDirty_ = true;
}

void Session::NextSizePreset() {
  EventScope scope(*this);
  static constexpr double kFontSizes[] = {12, 24, 48};
  sizePreset_ = (sizePreset_ + 1) % 3;
  draw.fontName = "ＭＳ Ｐゴシック";
  draw.fontSize = kFontSizes[sizePreset_];
  draw.drawWidth = 2 * sizePreset_ + 1;
  UpdateFixedPanels();
  RedrawAll();
}

void Session::ToggleMenuMode() {
  EventScope scope(*this);
  menuMode_ = menuMode_ == -1 ? 0 : -1;
  ui_.ApplyMenuMode(menuMode_ == -1);
  RedrawAll();
  statusDirty_ = true;
}

void Session::SetLanguage(Language language) {
  EventScope scope(*this);
  settings.language = std::string(LanguageSettingText(language));
  SaveSettings();
  translator.language = language;
  figureDialogFilter_ = FigureFilter(translator);
  ui_.ApplyLanguage();
  UpdateFixedPanels();
  statusDirty_ = true;
  repaintDirty_ = true;
}

void Session::ShowCallHistory() {
  EventScope scope(*this);
  std::string text;
  for (int16_t code : modes_.Entries()) {
    if (code >= 0) text += ' ';
    text += std::to_string(code) + "\r\n";
  }
  ui_.ShowTextWindow("call history", text);
}

void Session::OpenHelp() {
  EventScope scope(*this);
  const fs::path folder = fs::path(shippedFolder_) / "document";
  // The English interface opens the English page when it is there.
  std::error_code ec;
  if (translator.language == Language::kEnglish && fs::exists(folder / "help_en.htm", ec)) {
    ui_.OpenWithSystem((folder / "help_en.htm").string());
    return;
  }
  ui_.OpenWithSystem((folder / "help.htm").string());
}

// --- Status panels ---

void Session::StatusPanelClick(int panel) {
  EventScope scope(*this);
  switch (panel) {
    case 1:
      Key(kKeyEscape, 0);
      break;
    case 2:
      // Loading in the middle of a command would pull the figure from under its pending step
      // or drag; the panel does what the File menu does, and only while that menu is enabled.
      if (topMenus_.file) LoadFigureCommand();
      break;
    case 3:
      SetLocusSwitch(!locusSw_);
      break;
    case 4:
      EraseLoci();
      break;
    case 5:
      if (CurrentInputMode() == kModeScribble) {
        if (auto c = ui_.ChooseColour(scribbleColour_)) scribbleColour_ = *c;
      } else {
        PushInputMode(kModeScribble);
      }
      break;
    case 6:
      // The window shows the copy as a press of the panel and a note that springs back.
      ui_.CopyCanvasToClipboard();
      break;
    case 7:
      NextSizePreset();
      break;
    case 8:
      shiftLock_ = !shiftLock_;
      break;
    case 9:
      if (topMenus_.construction) construction_.RepeatLastCommand(*this);
      break;
    case 10:
      if (topMenus_.construction) construction_.UndoLast(*this);
      break;
    default:
      break;
  }
  statusDirty_ = true;
}

void Session::StatusPanelDoubleClick(int panel) {
  EventScope scope(*this);
  if (panel == 8) ChooseShiftDragKind(shiftDragCounter_ % 3 + 1);
  statusDirty_ = true;
}

}  // namespace kv
