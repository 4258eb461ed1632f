// The display-less window: message boxes and beeps as text, dialogs answered from queues.
#include "session/headless_port.h"

namespace kv {

void HeadlessPort::WriteMessage(std::string_view text) {
  messages.emplace_back(text);
  // One message a line: the continuation lines of a long message are indented, so that a
  // reader (or a script comparing the output) still sees where each message starts.
  out_ << "message: ";
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (c == '\n' || c == '\r') {
      out_ << "\n  ";
    } else {
      out_ << c;
    }
  }
  out_ << '\n';
}

void HeadlessPort::MessageOk(std::string_view text, std::string_view /*title*/) {
  WriteMessage(text);
}

ConfirmReply HeadlessPort::NextReply() {
  if (confirms_.empty()) return ConfirmReply::kCancel;
  const ConfirmReply reply = confirms_.front();
  confirms_.pop_front();
  return reply;
}

bool HeadlessPort::MessageOkCancel(std::string_view text, std::string_view /*title*/) {
  WriteMessage(text);
  return NextReply() == ConfirmReply::kYes;
}

std::optional<std::string> HeadlessPort::NextAnswer() {
  if (answers_.empty()) return std::nullopt;
  std::string reply = std::move(answers_.front());
  answers_.pop_front();
  return reply;
}

std::optional<std::string> HeadlessPort::InputBox(std::string_view prompt,
                                                  std::string_view /*title*/,
                                                  std::string_view /*defaultText*/) {
  inputPrompts.emplace_back(prompt);
  return NextAnswer();
}

void HeadlessPort::Beep() {
  ++beeps;
  out_ << "beep\n";
}

std::optional<std::string> HeadlessPort::OpenFileDialog(const std::string& /*folder*/,
                                                        const std::string& /*filter*/) {
  if (!allowFileDialogs) return std::nullopt;
  return NextAnswer();
}

std::optional<std::string> HeadlessPort::SaveFileDialog(const std::string& /*folder*/,
                                                        const std::string& /*filter*/,
                                                        const std::string& /*presetName*/) {
  if (!allowFileDialogs) return std::nullopt;
  return NextAnswer();
}

}  // namespace kv
