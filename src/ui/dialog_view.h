// The window's face of a dialog the session has open (attribute dialogs, the binding dialog,
// the choice of a number): text boxes, lists and buttons built from the model's controls,
// every change forwarded to the session, closed when the model closes.
#pragma once

#include <QDialog>

#include "session/session.h"

namespace kv {

class DialogView : public QDialog {
  Q_OBJECT
 public:
  DialogView(Session& session, DialogModel& model, QWidget* parent = nullptr);

 private:
  void AfterAction();

  Session& session_;
  DialogModel& model_;
};

}  // namespace kv
