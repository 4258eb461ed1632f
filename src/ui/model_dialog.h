// The window's face of a session dialog model: a list, text boxes and buttons named by the
// model's control names, refreshed from the model after every action. It keeps no state of
// its own; every click, edit and list choice goes to the session, which ends the dialog.
#pragma once

#include <QDialog>
#include <map>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv {

class DialogModel;
class Session;

class ModelDialog : public QDialog {
  Q_OBJECT
 public:
  ModelDialog(Session& session, DialogModel& model, QWidget* parent);

  // Shows the model's present texts, lines and buttons.
  void Refresh();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;

 private:
  void Forwarded();

  Session& session_;
  DialogModel& model_;
  std::map<std::string, QLabel*> labels_;
  std::map<std::string, QListWidget*> lists_;
  std::map<std::string, QLineEdit*> edits_;
  std::map<std::string, QPushButton*> buttons_;
  bool refreshing_ = false;
};

}  // namespace kv
