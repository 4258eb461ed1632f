// What the interaction logic asks of the window around it: message and input boxes, beeps,
// the system's "open" action, status and repaint notifications and the replay timer.
// The Qt main window implements it; tests implement it with a recording fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "draw/canvas.h"
#include "session/menu_tree.h"

namespace kv {

// The answer to "the figure has unsaved changes: save it?".
enum class UnsavedChoice { kSave, kDiscard, kCancel };

class UiPort {
 public:
  virtual ~UiPort() = default;

  // Modal message box with an OK button.
  virtual void MessageOk(std::string_view text, std::string_view title) = 0;
  // Modal message box with an OK button for a failure (a file that could not be opened,
  // saved or merged): the window shows it with its warning look.
  virtual void MessageWarning(std::string_view text, std::string_view title) {
    MessageOk(text, title);
  }
  // Modal message box with OK and Cancel; true for OK.
  virtual bool MessageOkCancel(std::string_view text, std::string_view title) = 0;
  // Modal input box; nothing when the user cancels.
  virtual std::optional<std::string> InputBox(std::string_view prompt, std::string_view title,
                                              std::string_view defaultText) = 0;
  virtual void Beep() = 0;
  // Modal question with the buttons save, discard and cancel, asked before unsaved work would
  // be lost. A port that cannot ask keeps the work.
  virtual UnsavedChoice AskUnsavedChanges(std::string_view /*text*/, std::string_view /*title*/) {
    return UnsavedChoice::kCancel;
  }
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
  virtual void ApplyLanguage() {}
  virtual void LayOutStatusPanels() {}
  // The saved window size in twips and the saved window state (2 = maximised).
  virtual void ApplyWindowSize(int /*widthTwips*/, int /*heightTwips*/, int /*windowState*/) {}
  // The window's present size in twips.
  virtual std::pair<int, int> WindowSizeTwips() { return {0, 0}; }
  // Builds the easy (true) or the full menu.
  virtual void ApplyMenuMode(bool /*easy*/) {}
  // Shows or hides the menu item that opens the measurement records.
  virtual void SetMeasurementRecordsVisible(bool /*visible*/) {}

  // File dialogs for figures. `filter` pairs descriptions and patterns separated by "|"
  // ("All files(*.*)|*.*|KV4(*.kv4)|*.kv4|"), the last pair selected. Nothing when cancelled.
  virtual std::optional<std::string> OpenFileDialog(const std::string& /*folder*/,
                                                    const std::string& /*filter*/) {
    return std::nullopt;
  }
  virtual std::optional<std::string> SaveFileDialog(const std::string& /*folder*/,
                                                    const std::string& /*filter*/,
                                                    const std::string& /*presetName*/) {
    return std::nullopt;
  }

  // Status panel actions that need the platform.
  virtual void CopyCanvasToClipboard() {}

  // --- Canvas images, printing, the window copy ---
  // 0 normal, 1 minimised, 2 maximised.
  virtual int WindowState() { return 0; }
  virtual void SetStatusBarVisible(bool /*visible*/) {}
  // Shows or hides one menu of the bar (after ApplyMenuMode, which shows the mode's menus).
  virtual void SetMenuVisible(MenuCommand /*menu*/, bool /*visible*/) {}
  // Prints the window as it is now. False when printing failed; a print dialog the user
  // cancelled is not a failure.
  virtual bool PrintWindow() { return false; }
  // Writes the canvas as it is now to a picture file, the format by the extension (PNG, BMP,
  // SVG, PDF). An empty text on success, otherwise why it failed.
  virtual std::string ExportPicture(const std::string& /*path*/) { return "not available"; }
  // Bitmaps of every figure file of `folder` into its "bmp" subfolder ("t_" names for the
  // thumbnail sizes), opening each through the session. Returns the numbers written and
  // failed.
  virtual std::pair<int, int> MakeFolderBitmaps(const std::string& /*folder*/, bool /*thumbnail*/) {
    return {0, 0};
  }
  // The window copy: the window at normal size, moved right by its own width and resized.
  virtual void PlaceWindowCopy(int /*widthTwips*/, int /*heightTwips*/) {}
  // Starts a second instance of the program on a figure file.
  virtual void StartProgramCopy(const std::string& figurePath) { OpenWithSystem(figurePath); }
  // Colour dialog opened on `initial`; nothing when cancelled.
  virtual std::optional<Rgb> ChooseColour(Rgb /*initial*/) { return std::nullopt; }
  // The system's colour of button faces (the grey background preset).
  virtual Rgb ButtonFaceColour() { return Rgb{240, 240, 240}; }
  // Pops up the object menu (right click on an object) at the mouse.
  virtual void PopupObjectMenu() {}
  // The session opened a dialog (Session::ActiveDialog()); the window shows it modally and
  // forwards the user's actions until it closes.
  virtual void DialogOpened() {}
  // The data viewer's state changed (Session::Viewer()): the window shows, updates or hides it
  // without blocking and leaves the focus on the main window.
  virtual void TextViewerChanged() {}
  // Shows text in the construction data viewer window without blocking.
  virtual void ShowTextWindow(std::string_view /*title*/, std::string_view /*text*/) {}
  virtual void ShowAbout() {}
  // Hides the window and ends the program.
  virtual void Quit() {}
};

}  // namespace kv
