// A UiPort for tests: records what the session asked of the window, answers dialogs from
// prepared replies.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "session/ui_port.h"

namespace kv {

class FakeUiPort : public UiPort {
 public:
  std::vector<std::string> calls;  // names of the calls, in order
  std::vector<std::string> messages;
  std::vector<std::string> opened;
  std::string textWindow;
  int beeps = 0;
  int repaints = 0;
  int timerInterval = 0;
  bool timerRunning = false;
  std::deque<bool> okCancelReplies;
  std::deque<std::optional<std::string>> inputReplies;  // empty: the box is cancelled
  std::vector<std::string> inputPrompts;
  int windowWidth = 0, windowHeight = 0, windowState = 0;
  bool easyMenu = false;

  void MessageOk(std::string_view text, std::string_view) override { messages.emplace_back(text); }
  // Failures are messages too, counted apart for the look they get.
  int warnings = 0;
  void MessageWarning(std::string_view text, std::string_view) override {
    messages.emplace_back(text);
    ++warnings;
  }
  int copies = 0;
  void CopyCanvasToClipboard() override { ++copies; }
  bool MessageOkCancel(std::string_view text, std::string_view) override {
    messages.emplace_back(text);
    if (okCancelReplies.empty()) return false;
    bool reply = okCancelReplies.front();
    okCancelReplies.pop_front();
    return reply;
  }
  std::optional<std::string> InputBox(std::string_view prompt, std::string_view,
                                      std::string_view defaultText) override {
    inputPrompts.emplace_back(std::string(prompt) + "|" + std::string(defaultText));
    if (inputReplies.empty()) return std::nullopt;
    auto reply = inputReplies.front();
    inputReplies.pop_front();
    return reply;
  }
  std::deque<std::string> fileReplies;  // empty: the dialog is cancelled
  std::vector<std::string> dialogFolders;
  std::optional<std::string> OpenFileDialog(const std::string& folder,
                                            const std::string&) override {
    return NextFile(folder);
  }
  std::optional<std::string> SaveFileDialog(const std::string& folder, const std::string&,
                                            const std::string&) override {
    return NextFile(folder);
  }
  void Beep() override { ++beeps; }
  void OpenWithSystem(const std::string& path) override { opened.push_back(path); }
  void StatusChanged() override { Record("StatusChanged"); }
  void RequestRepaint() override { ++repaints; }
  void StartTimer(int intervalMs) override {
    timerInterval = intervalMs;
    timerRunning = true;
  }
  void StopTimer() override { timerRunning = false; }
  void ApplyLanguage() override { Record("ApplyLanguage"); }
  void LayOutStatusPanels() override { Record("LayOutStatusPanels"); }
  void ApplyWindowSize(int w, int h, int state) override {
    Record("ApplyWindowSize");
    windowWidth = w;
    windowHeight = h;
    windowState = state;
  }
  void ApplyMenuMode(bool easy) override {
    Record("ApplyMenuMode");
    easyMenu = easy;
  }
  void SetMeasurementRecordsVisible(bool) override { Record("SetMeasurementRecordsVisible"); }
  void PopupObjectMenu() override { Record("PopupObjectMenu"); }
  void ShowTextWindow(std::string_view, std::string_view text) override { textWindow = text; }
  void Quit() override { Record("Quit"); }

 private:
  std::optional<std::string> NextFile(const std::string& folder) {
    dialogFolders.push_back(folder);
    if (fileReplies.empty()) return std::nullopt;
    std::string reply = fileReplies.front();
    fileReplies.pop_front();
    return reply;
  }
  // Consecutive status refreshes count once, so the order of the start-up steps reads plainly.
  void Record(const char* name) {
    if (calls.empty() || calls.back() != name) calls.emplace_back(name);
  }
};

}  // namespace kv
