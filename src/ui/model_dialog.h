// The window's face of a session dialog model: a list, text boxes and buttons named by the
// model's control names, refreshed from the model after every action. It keeps no state of
// its own; every click, edit and list choice goes to the session, which ends the dialog.
#pragma once

#include <QDialog>
#include <map>
#include <string>
#include <string_view>

class QComboBox;
class QFormLayout;
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
  // A labelled row of the form layout.
  void AddRow(std::string_view labelName, std::string_view controlName, bool shownAsLabel);

  Session& session_;
  DialogModel& model_;
  std::map<std::string, QLabel*> labels_;
  std::map<std::string, QListWidget*> lists_;
  std::map<std::string, QComboBox*> combos_;
  std::map<std::string, QLineEdit*> edits_;
  std::map<std::string, QPushButton*> buttons_;
  QFormLayout* rows_ = nullptr;  // the labelled rows, when the form has them
  bool refreshing_ = false;
};

}  // namespace kv
