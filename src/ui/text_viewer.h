// The data viewer window "TextViewer": one read-only text box Text1 with the construction
// report or the matrices of the matrix maps, and its own small menu. It shows the session's
// viewer state and sends its menu commands back to the session.
#pragma once

#include <QMainWindow>
#include <array>

#include "lang/translate.h"
#include "session/session.h"

class QPlainTextEdit;
class QAction;
class QMenu;

namespace kv {

class TextViewer : public QMainWindow {
  Q_OBJECT
 public:
  TextViewer(Session& session, QWidget* parent = nullptr);

  // Takes the session's viewer state: text, caption, mode menu and marks, shown or hidden.
  void ShowState();
  QPlainTextEdit* text() const { return text_; }
  QAction* Action(ViewerCommand cmd) const { return actions_[static_cast<size_t>(cmd)]; }
  QMenu* ModeMenu() const { return modeMenu_; }

 private:
  Session& session_;
  QPlainTextEdit* text_ = nullptr;
  QMenu* modeMenu_ = nullptr;
  std::array<QAction*, 6> actions_{};
};

}  // namespace kv
