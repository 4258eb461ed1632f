// The interaction spine: one Session owns the figure, the view, the preferences and the
// input-mode stack, and takes every window event (press, move, release, double click, key,
// status panel click, resize, timer tick) and dispatches it by the current input mode.
// The window reads the caption, the status panels and the menu enabling back from it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "construct/construction.h"
#include "construct/picker.h"
#include "draw/draw_settings.h"
#include "draw/locus_store.h"
#include "draw/renderer.h"
#include "draw/view.h"
#include "io/measure_record.h"
#include "io/settings.h"
#include "lang/translate.h"
#include "model/figure.h"
#include "session/dialog_model.h"
#include "session/input_modes.h"
#include "session/menu_tree.h"
#include "session/mode.h"
#include "session/modes/drag_mode.h"
#include "session/modes/replay_mode.h"
#include "session/modes/standard_mode.h"
#include "session/text_viewer.h"
#include "session/ui_port.h"

namespace kv {

inline constexpr std::string_view kProgramTitle = "Korvane Win";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;
// The window's design size in twips, used when no start-up size is saved.
inline constexpr int kStandardWindowWidthTwips = 12000;
inline constexpr int kStandardWindowHeightTwips = 9300;
// 640 x 480 pixels at 96 dots per inch.
inline constexpr int kVgaWidthTwips = 9600;
inline constexpr int kVgaHeightTwips = 7200;

// The last mouse press on the canvas, repeated by a double click.
class FigureFileIO;

struct LastPressRec {
  int button = 0;
  int shift = 0;
  double x = 0, y = 0;
};

inline constexpr int kStatusPanelCount = 11;
struct StatusPanel {
  std::string text;
  bool sunken = false;  // drawn pressed in (a switch that is on)
  bool raised = false;  // drawn raised (panel 11 while a point is being picked)
};

// The object menu of a right click: which items show and with what captions.
struct ObjectMenuState {
  PickResult target;
  bool deformVisible = false, boundedVisible = false, setFreeVisible = false;
  std::string editCaption, deformCaption, boundedCaption, setFreeCaption;
};

class Session : private RecomputeHooks, private ModeHost {
 public:
  explicit Session(UiPort& ui);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  struct StartupArgs {
    std::string programFolder;              // where settings, dictionaries and scratch files live
    std::string shippedFolder;              // help pages and samples; the program folder if empty
    std::string commandLine;                // the raw command line after the program name
    int canvasWidth = 0, canvasHeight = 0;  // client size in pixels
  };
  void Startup(const StartupArgs& args);
  // Deletes the scratch files and asks the window to end the program.
  void Shutdown();
  // Closing the window or the exit command: asks first when the figure has unsaved changes.
  // False when the user chose to stay (nothing has changed then).
  bool RequestClose();

  // --- Unsaved changes ---
  // True when the figure differs from what was last saved or loaded (or from the empty figure
  // of a new start).
  bool Modified() const;
  // Before work would be lost (load, close, the folder bitmaps): when the figure has unsaved
  // changes, asks whether to save it, and saves when asked to. False when the caller must stop: the
  // user cancelled, or the save did not happen.
  bool ConfirmDiscardChanges();

  // --- Window events (positions in world coordinates) ---
  void Press(int button, int shift, double x, double y);
  void Move(int button, int shift, double x, double y);
  void Release(int button, int shift, double x, double y);
  void DoubleClick();
  void Key(int code, int shift);
  void StatusPanelClick(int panel);
  void StatusPanelDoubleClick(int panel);
  void Resize(int width, int height, bool minimised);
  void TimerTick();

  // --- The open dialog ---
  // The dialog box the session has open, or null. The window shows it; scripts and tests drive
  // it through the four calls below, which end the dialog's command when it closes.
  DialogModel* ActiveDialog() { return dialog_.get(); }
  bool DialogClick(std::string_view control);
  bool DialogType(std::string_view control, std::string_view text);
  bool DialogSelect(std::string_view control, int line);
  bool DialogKey(int code, int shift);

  // --- Mode stack ---
  // Pushes the mode object of `code` (one without a task of its own for most codes).
  void PushInputMode(int16_t code);
  void PushInputMode(std::unique_ptr<Mode> mode);
  void PopInputMode();
  int16_t CurrentInputMode() const { return modes_.Current(); }
  const ModeStack& Modes() const { return modes_; }
  // Caption, panels 1, 2, 5, 7, 8, menu enabling; tells the window.
  void RefreshStatus();

  // --- Menu commands ---
  // Carries out a menu command (easy-menu items forward to their full-menu command).
  void Command(MenuCommand cmd);
  // Whether the session carries out the command yet; the window disables the others.
  static bool Implements(MenuCommand cmd);
  // The check marks of every checkable item, as of the last status refresh.
  const std::vector<std::pair<MenuCommand, bool>>& CheckMarks() const { return checkMarks_; }
  MenuCheckState CheckState() const;

  // --- Commands of the main window ---
  void RedrawAll() override;  // full recompute, then repaint
  // Opens a figure file (command line, load); false when it could not be read.
  bool OpenFigure(const std::string& path);
  // The file commands: a file dialog, then read, write or merge.
  void LoadFigureCommand();
  // True when the figure was written.
  bool SaveFigureCommand();
  // Writes the figure to `path` as the save command does once a name is chosen: the file
  // becomes the figure's name; a failure is shown in a message box and returns false.
  bool SaveFigureAs(const std::string& path);
  void MergeFigureCommand();
  void StartReplay();
  void SetReplayInterval(int ms);
  void ChooseShiftDragKind(int choice);  // 1 line/circle, 2 line, 3 lattice point
  void NextSizePreset();
  void ToggleMenuMode();
  // The language dialog's choice: stored in the settings file, then every caption and the
  // status follow.
  void SetLanguage(Language language);
  void ShowCallHistory();
  void OpenHelp();
  // The object menu of a right click on `target` in standard mode.
  void OpenObjectMenu(ObjRef target) override;

  // --- Canvas images, printing, the window copy ---
  void CopyImageCommand();      // the canvas to the clipboard (F7, status panel 6)
  void ThumbnailStep();         // one step of the five-state thumbnail cycle
  void FolderBitmapsCommand();  // a bitmap of every figure of the current folder
  void PrintCommand();
  void CopyWindowCommand();     // a second window on a copy of the figure
  void ExportPictureCommand();  // the canvas as a PNG, SVG or PDF file
  int ThumbnailState() const { return thumbnailState_; }
  bool StatusBarShown() const { return statusBarShown_; }
  // The caption of the thumbnail command in the present state, translated.
  std::string ThumbnailMenuCaption() const;
  // The folder the batch bitmaps use: the current figure's folder, else the working folder.
  std::string CurrentFolder() const;

  // --- The data viewer ---
  void DataViewCommand();      // the construction report in the viewer
  void MatrixSwitchCommand();  // the matrix display on or off
  void ViewerMenu(ViewerCommand cmd);
  const TextViewerState& Viewer() const { return viewer_; }

  // --- State the window reads ---
  const std::string& Caption() const { return caption_; }
  const StatusPanel& Panel(int n) const;  // 1..11
  const TopMenuEnabling& TopMenus() const { return topMenus_; }
  bool EasyMenu() const override { return menuMode_ == -1; }
  const ObjectMenuState& ObjectMenu() const { return objectMenu_; }
  const LastPressRec& LastPress() const { return lastPress_; }
  // The replay in progress, or a finished one when none runs.
  ReplayState Replay() const;
  // The drag in progress, or an empty one.
  DragState Drag() const;
  // The plan of the deformation in progress (the window paints what does not move once), and
  // a key that changes whenever that fixed layer must be painted again.
  const DragPlan* ActiveDragPlan() const;
  uint64_t FixedLayerKey() const;
  // The draggable points the standard mode marks.
  const std::vector<ObjRef>& CandidateMarks() const;
  const std::string& FigureFileName() const { return figureFileName_; }
  const std::string& ProgramFolder() const { return programFolder_; }
  const std::string& ShippedFolder() const { return shippedFolder_; }
  // The shipped sample figures.
  std::string SamplesFolder() const;
  const std::string& FigureDialogFolder() const { return figureDialogFolder_; }
  const std::string& MergeDialogFolder() const { return mergeDialogFolder_; }
  const std::string& FigureDialogFilter() const { return figureDialogFilter_; }
  bool ShiftLock() const { return shiftLock_; }
  int SizePreset() const { return sizePreset_; }
  bool ReadOnlyInstall() const { return readOnlyInstall_; }
  bool LocusOn() const { return locusSw_; }
  // The number whose sign colours the plane while a point is dragged; 0 none.
  int32_t LocusNumber() const { return locusNumber_; }
  const MeasureRecord& Record() const { return record_; }
  // Whether the menu item that opens the measurement records is shown.
  bool MeasurementRecordsAvailable() const { return !readOnlyInstall_ && !record_.Off(); }
  // The scribble strokes on the canvas (empty outside mode 70).
  std::span<const Stroke> Strokes() const;
  // Around every deformation step (see ModeHost): the window's drag and kvtool reach them
  // through the drag modes; they are public so that a deformation can be stepped directly.
  void BeforeDeformStep(int32_t dragged) override;
  void AfterDeformStep(int32_t dragged, const DragPlan& plan) override;
  // mnuPTmatrixSW: the matrix maps write their matrices into the text viewer.
  bool MatrixDisplayOn() const { return matrixDisplayOn_; }
  int ReplayIntervalMs() const { return settings.redrawSlow; }
  double ScaleUnit() const { return view.ScaleUnit; }
  double HalfWidth() const { return view.HalfWidth; }
  double HalfHeight() const { return view.HalfHeight; }
  // Everything visible now, for the renderer. Valid until the session changes.
  Scene MakeScene();
  // The translated text of a Japanese text.
  std::string Tr(std::string_view japanese) const { return std::string(translator(japanese)); }

  Figure figure;
  Translator translator;
  View view;
  DrawSettings draw;
  LocusStore loci;
  // The settings as the settings file holds them; the view and drawing values among them are
  // copied into `view` and `draw` on reading and back before writing.
  Settings settings;

 private:
  // Opened by every public entry point; when the outermost ends, the status is refreshed and
  // the canvas repainted once, if anything asked for it.
  class EventScope {
   public:
    explicit EventScope(Session& s) : s_(s) { ++s_.eventDepth_; }
    ~EventScope() {
      if (--s_.eventDepth_ == 0) s_.FinishEvent();
    }
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;

   private:
    Session& s_;
  };
  void FinishEvent();

  // RecomputeHooks
  void Beep() override { ui_.Beep(); }
  void Message(std::string_view text) override { ui_.MessageOk(text, kProgramTitle); }
  bool ShowsMatrices() const override { return matrixDisplayOn_; }
  void InspectMatrix(Kind kind, int step, int rows, int cols, const double* entries) override;
  TextViewerState viewer_;

  // ModeHost
  Figure& Fig() override { return figure; }
  const View& CurrentView() const override { return view; }
  const Translator& Texts() const override { return translator; }
  UiPort& Ui() override { return ui_; }
  void PushMode(std::unique_ptr<Mode> mode) override { PushInputMode(std::move(mode)); }
  void PopMode() override { PopInputMode(); }
  int16_t CurrentCode() const override { return CurrentInputMode(); }
  Mode* TopMode() override { return modes_.TopMode(); }
  int Decimals() const override { return draw.KetaDecimal; }
  void StatusChanged() override { statusDirty_ = true; }
  void RepaintNeeded() override { repaintDirty_ = true; }
  void ShowMessage(std::string_view japanese) override {
    ui_.MessageOk(Tr(japanese), kProgramTitle);
  }
  bool ShiftHeld(int shift) const override { return (shift & kShiftMask) != 0 || shiftLock_; }
  double KeyStep() const override;
  void SetPanelText(int panel, std::string text) override;
  void OpenDialog(std::unique_ptr<DialogModel> dialog) override;
  void StartPlacing(int32_t point) override;
  // The deformation commands and keys (session_deform.cpp).
  DeformSettings DeformSetup() const override;
  bool DeformationKey(int code, int shift) override;
  static bool ImplementsDeform(MenuCommand cmd);
  bool DeformCommand(MenuCommand cmd);
  void TimedDeformation();
  void PlaneSweep(bool writeFile);
  // The number whose values the plane sweep records: the locus number; 0 while none is chosen.
  int32_t SweepNumber() const;
  friend class DeformPickMode;
  friend class NumberChoiceMode;

  void SetScreen(int width, int height);
  bool ReadFigure(const std::string& path);
  // After a successful load or merge: the complex zoom when the file asks for it, one
  // recompute and redraw, the file name panel.
  void FigureChanged(const FigureFileIO& io, bool merged);
  void ViewCommand(MenuCommand cmd);
  // Axis and background colours; false for any other command.
  bool ColourCommand(MenuCommand cmd);
  // Figure files, pictures, printing and the second window; false for any other command.
  bool FileCommand(MenuCommand cmd);
  bool SettingsCommand(MenuCommand cmd);
  // Shift-drag kind, start-up menu mode and replay interval.
  bool OptionCommand(MenuCommand cmd);
  // The web commands (web_commands.cpp).
  static bool ImplementsWeb(MenuCommand cmd);
  bool WebCommand(MenuCommand cmd);
  void HtmlExportCommand();
  void OnlineSaveCommand();
  std::optional<std::string> AskEntry(std::string_view prompt, std::string_view title,
                                      double current);
  // Defaults, then the settings file when there is one; false when there is none.
  bool LoadSettings();
  void SettingsToState();
  void StateToSettings();
  void SaveSettings();
  void StoreStartupWindow(int widthTwips, int heightTwips, int state);
  void ReadDataPath();
  void CheckReadOnlyInstall();
  std::string ShortFileName() const;
  std::string ShiftDragKindText() const;
  // Panels whose texts change only with the language or their own setting.
  void UpdateFixedPanels();
  StandardMode& Standard() const;
  bool OnStack(const Mode* mode) const;
  ReplayMode* RunningReplay() const;
  std::unique_ptr<Mode> MakeMode(int16_t code) const;
  // The locus commands and the measurement record (session_locus_commands.cpp).
  void EraseLoci();
  bool LocusCommand(MenuCommand cmd);
  void SetLocusSwitch(bool on);
  // A new figure: a new empty locus store and a new record.
  void NewLoci();
  void SendRecord(RecordCommand cmd);
  void WriteRecordRow();
  void ShowRecords();
  void RecordFailed();
  void StartLocusNumberChoice();
  friend class LocusNumberMode;
  // The new-figure command: asks first when the figure holds points.
  void NewFigureCommand();
  // The language dialog and the font dialog, through the window.
  void LanguageCommand();
  void FontCommand();
  void SetFont(const std::string& family);

  UiPort& ui_;
  ModeStack modes_;
  LastPressRec lastPress_;
  std::array<StatusPanel, kStatusPanelCount + 1> panels_{};  // 1-based
  std::string caption_;
  TopMenuEnabling topMenus_;
  std::vector<std::pair<MenuCommand, bool>> checkMarks_;
  ObjectMenuState objectMenu_;
  int eventDepth_ = 0;
  bool statusDirty_ = false, repaintDirty_ = false;

  std::string programFolder_;
  std::string shippedFolder_;
  std::string figureFileName_ = "untitled";
  std::string fileNotice_;  // shown after the file name, e.g. that it was read as UTF-8
  std::string figureDialogFolder_, mergeDialogFolder_, figureDialogFilter_;
  // The folder of the file last chosen in a figure dialog; "現在→標準に" stores it.
  std::string lastUsedFolder_;
  void RememberFolderOf(const std::string& path, std::string& dialogFolder);
  bool readOnlyInstall_ = false;
  bool shiftLock_ = false;
  int shiftDragCounter_ = 1;  // last shift-drag kind chosen, as kind + 1
  int sizePreset_ = 0;
  int menuMode_ = 0;  // -1 easy, 0 full
  bool locusSw_ = false;
  int32_t locusNumber_ = 0;
  MeasureRecord record_;
  // The number locus of the point being dragged: its marker and colour for this step.
  struct NumberLocusImage {
    int32_t point = 0;
    int32_t marker = 0, colour = 0;
  };
  NumberLocusImage numberLocus_;
  // The dots the trace-marker points (markers 10 to 19) leave while the figure is deformed;
  // the next full redraw wipes them, whatever the locus switch.
  LocusStore dragTrail_;
  bool matrixDisplayOn_ = false;
  Rgb scribbleColour_ = kBlack;
  Constructor construction_;
  int figureCapacity_ = kInitialCapacity;

  std::vector<ObjectMark> sceneMarks_;  // reused by MakeScene
  uint64_t fullRedraws_ = 0;            // counts RedrawAll; a full redraw renews every layer

  // Runs after every action on the open dialog: once it has closed, hands it to the mode
  // that opened it and drops it.
  void AfterDialogAction();
  std::unique_ptr<DialogModel> dialog_;
  Mode* dialogOwner_ = nullptr;

  // The window as it was before the thumbnail cycle left state 0.
  struct ThumbnailRecord {
    int widthTwips = 0, heightTwips = 0, windowState = 0;
    double fontSize = 9;
    std::string fontName;
    double scaleUnit = kDefaultScaleUnit;
    int menuMode = 0;
  };
  int thumbnailState_ = 0;
  ThumbnailRecord thumbnailSaved_;
  bool statusBarShown_ = true;
  void ShowThumbnailMenus(bool easy, bool hideMenus);

  // The edit commands (session_attributes.cpp).
  bool AttributeCommand(MenuCommand cmd);
  void PushAttributeMode(int16_t code);
  void StartEditSelection(int cls);
  void StartAttributePick(SelectionRules rules);
  void AttributePickStep(const SelectionStep& step);
  void AttributePickKey(int code);
  void CancelAttributePick();
  void AttributePicked(ObjRef ref);
  void OpenShapeDialog(ObjRef target);
  // The attribute dialog of a point, line or circle, at once (object menu, double click).
  void EditObject(ObjRef target);
  void OpenBindingDialog(int32_t point);
  // Carries out a closed attribute, number-choice or binding dialog; false for other dialogs.
  void FinishAttributeDialog(DialogModel& dialog);
  friend class AttributeMode;
  SelectionPicker attributePicker_;
  int32_t bindPoint_ = 0;  // the point being bound

  // The figure file text as last saved or loaded; the figure is modified while it differs.
  void MarkSaved();
  std::string savedText_;
};

// The figure path named by a command line: blanks trimmed, then a closing and an opening double
// quote dropped. Empty when nothing is named.
std::string FigurePathFromCommandLine(std::string_view commandLine);

}  // namespace kv
