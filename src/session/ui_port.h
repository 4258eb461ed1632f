// What the interaction logic asks of the window around it: message and input boxes, questions,
// beeps, the system's "open" action, the common dialogs, the session's dialog models, status
// and repaint notifications and the replay timer. Every request is abstract, so a window (or
// a fake) that forgets one does not compile. The Qt main window implements it; tests implement
// it with a recording fake, and scripts with a headless port.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "draw/canvas.h"
#include "lang/translate.h"
#include "model/menu_command.h"

namespace kv {

class DialogModel;

// The answer to a three-button question.
enum class Answer { kYes, kNo, kCancel };

// What the language dialog ended with: a language chosen, a font chosen, either or neither.
struct LanguageChoice {
  std::optional<Language> language;
  std::optional<std::string> fontFamily;
};

class UiPort {
 public:
  virtual ~UiPort() = default;

  // Modal message box with an OK button.
  virtual void MessageOk(std::string_view text, std::string_view title) = 0;
  // Modal message box with an OK button for a failure (a file that could not be opened,
  // saved or merged): the window shows it with its warning look.
  virtual void MessageWarning(std::string_view text, std::string_view title) = 0;
  // Modal message box with OK and Cancel; true for OK.
  virtual bool MessageOkCancel(std::string_view text, std::string_view title) = 0;
  // Modal input box; nothing when the user cancels.
  virtual std::optional<std::string> InputBox(std::string_view prompt, std::string_view title,
                                              std::string_view defaultText) = 0;
  virtual void Beep() = 0;
  // Hands a file to the operating system's "open" action; the result is not examined.
  virtual void OpenWithSystem(const std::string& path) = 0;

  // The caption, the status panels, the menu enabling or the check marks changed: the window
  // reads them back from the session.
  virtual void StatusChanged() = 0;
  // Something visible changed: the window repaints the canvas from the session's state.
  virtual void RequestRepaint() = 0;

  // The replay timer. Its ticks come back as Session::TimerTick.
  virtual void StartTimer(int intervalMs) = 0;
  virtual void StopTimer() = 0;

  // Window-side steps of the start-up sequence, called by the session in their order.
  // Re-caption every menu item and control in the current language.
  virtual void ApplyLanguage() = 0;
  virtual void LayOutStatusPanels() = 0;
  // The saved window size in twips and the saved window state (2 = maximised).
  virtual void ApplyWindowSize(int widthTwips, int heightTwips, int windowState) = 0;
  // The window's present size in twips.
  virtual std::pair<int, int> WindowSizeTwips() = 0;
  // Builds the easy (true) or the full menu.
  virtual void ApplyMenuMode(bool easy) = 0;
  // Shows or hides the menu item that opens the measurement records.
  virtual void SetMeasurementRecordsVisible(bool visible) = 0;

  // File dialogs for figures. `filter` pairs descriptions and patterns separated by "|"
  // ("All files(*.*)|*.*|KV4(*.kv4)|*.kv4|"), the last pair selected. Nothing when cancelled.
  virtual std::optional<std::string> OpenFileDialog(const std::string& folder,
                                                    const std::string& filter) = 0;
  virtual std::optional<std::string> SaveFileDialog(const std::string& folder,
                                                    const std::string& filter,
                                                    const std::string& presetName) = 0;

  // A question with three buttons, captioned in the interface language; Esc answers kCancel.
  virtual Answer AskYesNoCancel(std::string_view text, std::string_view title,
                                std::string_view yesCaption, std::string_view noCaption,
                                std::string_view cancelCaption) = 0;
  // The language dialog, opened on the current language and canvas font: what the user chose.
  virtual LanguageChoice ChooseLanguage(Language current, std::string_view fontFamily) = 0;
  // The font dialog; nothing when cancelled.
  virtual std::optional<std::string> ChooseFont(std::string_view current) = 0;
  // Every interface text takes this font family.
  virtual void ApplyInterfaceFont(std::string_view family) = 0;

  // The session opened a dialog: the window shows the model and forwards the user's actions
  // to Session::DialogClick, DialogType, DialogSelect and DialogKey until the session drops it
  // with DialogEnded. The model stays valid until then.
  virtual void ShowDialog(DialogModel& dialog) = 0;
  virtual void DialogEnded() = 0;

  // Status panel actions that need the platform.
  virtual void CopyCanvasToClipboard() = 0;

  // --- Canvas images, printing, the window copy ---
  // 0 normal, 1 minimised, 2 maximised.
  virtual int WindowState() = 0;
  virtual void SetStatusBarVisible(bool visible) = 0;
  // Shows or hides one menu of the bar (after ApplyMenuMode, which shows the mode's menus).
  virtual void SetMenuVisible(MenuCommand menu, bool visible) = 0;
  // Prints the window as it is now. False when printing failed; a print dialog the user
  // cancelled is not a failure.
  virtual bool PrintWindow() = 0;
  // Writes the canvas as it is now to a picture file, the format by the extension (PNG, BMP,
  // SVG, PDF). An empty text on success, otherwise why it failed.
  virtual std::string ExportPicture(const std::string& path) = 0;
  // Bitmaps of every figure file of `folder` into its "bmp" subfolder ("t_" names for the
  // thumbnail sizes), opening each through the session. Returns the numbers written and
  // failed.
  virtual std::pair<int, int> MakeFolderBitmaps(const std::string& folder, bool thumbnail) = 0;
  // The window copy: the window at normal size, moved right by its own width and resized.
  virtual void PlaceWindowCopy(int widthTwips, int heightTwips) = 0;
  // Starts a second instance of the program on a figure file.
  virtual void StartProgramCopy(const std::string& figurePath) = 0;
  // Colour dialog opened on `initial`; nothing when cancelled.
  virtual std::optional<Rgb> ChooseColour(Rgb initial) = 0;
  // The system's colour of button faces (the grey background preset).
  virtual Rgb ButtonFaceColour() = 0;
  // The mouse pointer over the canvas: the four-arrow shape over something that can be
  // dragged, the arrow elsewhere.
  virtual void SetDragPointer(bool sizeAll) = 0;
  // Pops up the object menu (right click on an object) at the mouse.
  virtual void PopupObjectMenu() = 0;
  // The data viewer's state changed (Session::Viewer()): the window shows, updates or hides it
  // without blocking and leaves the focus on the main window.
  virtual void TextViewerChanged() = 0;
  // Shows text in the construction data viewer window without blocking.
  virtual void ShowTextWindow(std::string_view title, std::string_view text) = 0;
  virtual void ShowAbout() = 0;
  // Hides the window and ends the program.
  virtual void Quit() = 0;
};

}  // namespace kv
