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

namespace kv {

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
  // Colour dialog opened on `initial`; nothing when cancelled.
  virtual std::optional<Rgb> ChooseColour(Rgb /*initial*/) { return std::nullopt; }
  // The system's colour of button faces (the grey background preset).
  virtual Rgb ButtonFaceColour() { return Rgb{240, 240, 240}; }
  // Pops up the object menu (right click on an object) at the mouse.
  virtual void PopupObjectMenu() {}
  // Shows text in the construction data viewer window without blocking.
  virtual void ShowTextWindow(std::string_view /*title*/, std::string_view /*text*/) {}
  virtual void ShowAbout() {}
  // Hides the window and ends the program.
  virtual void Quit() {}
};

}  // namespace kv
