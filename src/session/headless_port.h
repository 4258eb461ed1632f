// The window as a script sees it: a UiPort without a display. Message boxes and beeps are
// written as lines of text, input boxes and questions are answered from queued replies, and
// everything else a window would do is counted or recorded so that a caller can check it.
#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "session/ui_port.h"

namespace kv {

// A queued reply to a question (a message box with OK and Cancel).
enum class ConfirmReply { kYes, kNo, kCancel };

class HeadlessPort : public UiPort {
 public:
  // Lines ("message: TEXT", "beep") go to `out`.
  explicit HeadlessPort(std::ostream& out) : out_(out) {}

  // Replies, used in order. An input box or file dialog with no answer left is cancelled; a
  // question with no reply left is answered Cancel, which never loses anything.
  void QueueAnswer(std::string text) { answers_.push_back(std::move(text)); }
  void QueueConfirm(ConfirmReply reply) { confirms_.push_back(reply); }
  size_t PendingAnswers() const { return answers_.size(); }
  size_t PendingConfirms() const { return confirms_.size(); }
  // File dialogs take their path from the answers only when files may be touched.
  bool allowFileDialogs = true;

  // What happened, for callers that check it.
  std::vector<std::string> messages;
  std::vector<std::string> inputPrompts;
  std::vector<std::string> opened;  // paths handed to the system's "open"
  int beeps = 0;
  int statusChanges = 0;
  int repaints = 0;
  bool timerRunning = false;
  int timerIntervalMs = 0;
  bool quitRequested = false;
  int objectMenuPopups = 0;  // right clicks that opened the object menu

  void MessageOk(std::string_view text, std::string_view title) override;
  bool MessageOkCancel(std::string_view text, std::string_view title) override;
  std::optional<std::string> InputBox(std::string_view prompt, std::string_view title,
                                      std::string_view defaultText) override;
  void Beep() override;
  void OpenWithSystem(const std::string& path) override { opened.push_back(path); }
  void StatusChanged() override { ++statusChanges; }
  void RequestRepaint() override { ++repaints; }
  void StartTimer(int intervalMs) override {
    timerRunning = true;
    timerIntervalMs = intervalMs;
  }
  void StopTimer() override { timerRunning = false; }

  void ApplyLanguage() override {}
  void LayOutStatusPanels() override {}
  void ApplyWindowSize(int, int, int) override {}
  std::pair<int, int> WindowSizeTwips() override { return {0, 0}; }
  void ApplyMenuMode(bool) override {}
  void SetMeasurementRecordsVisible(bool) override {}
  std::optional<std::string> OpenFileDialog(const std::string& folder,
                                            const std::string& filter) override;
  std::optional<std::string> SaveFileDialog(const std::string& folder, const std::string& filter,
                                            const std::string& presetName) override;
  void CopyCanvasToClipboard() override {}
  // No colour dialog to show: cancelled, so nothing changes.
  std::optional<Rgb> ChooseColour(Rgb) override { return std::nullopt; }
  Rgb ButtonFaceColour() override { return Rgb{240, 240, 240}; }
  void PopupObjectMenu() override { ++objectMenuPopups; }
  void ShowTextWindow(std::string_view, std::string_view) override {}
  void ShowAbout() override {}
  void Quit() override { quitRequested = true; }

 private:
  void WriteMessage(std::string_view text);
  std::optional<std::string> NextAnswer();
  // The next queued reply to a question; Cancel when none is left.
  ConfirmReply NextReply();

  std::ostream& out_;
  std::deque<std::string> answers_;
  std::deque<ConfirmReply> confirms_;
};

}  // namespace kv
