// Showing a dialog model with widgets.
#include "ui/model_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <string_view>
#include <vector>

#include "expr/expression_dialog.h"
#include "expr/number_dialog.h"
#include "session/session.h"
#include "ui/canvas_widget.h"

namespace kv {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

// The controls of each form: its lists, its text boxes and its buttons.
struct FormControls {
  std::string_view form;
  std::vector<std::string_view> labels, lists, edits, buttons;
};

const std::vector<FormControls>& Forms() {
  static const std::vector<FormControls> forms = {
      // The attribute dialogs of a point, a line and a circle: a choice list stays hidden
      // where the object has no such attribute.
      {"PtAttribute",
       {"LabelName", "LabelClr", "LabelLocus", "LabelKind", "LabelIndependent"},
       {"ComboClr", "ComboLocus", "ComboKind", "ComboIndependent"},
       {"TextName"},
       {"CommandOK", "CommandCancel"}},
      {"LineAttribute",
       {"LabelName", "LabelClr", "LabelLocus", "LabelKind"},
       {"ComboClr", "ComboLocus", "ComboKind"},
       {"TextName"},
       {"CommandOK", "CommandCancel"}},
      {"CircleAttribute",
       {"LabelName", "LabelClr", "LabelLocus"},
       {"ComboClr", "ComboLocus", "ComboKind"},
       {"TextName"},
       {"CommandOK", "CommandCancel"}},
      {"NumAttribute",
       {"LabelName", "LabelVal", "LabelAttr", "TextAttr"},
       {},
       {"TextName", "TextVal"},
       {"OptionVisible", "OptionNotVisible", "CommandOK", "CommandCancel"}},
      {"SelGeoKindBounded", {"Label1"}, {"ListKind"}, {}, {"cmdOK", "CmdCancel"}},
      {"KVSelNum",
       {},
       {"NumList"},
       {"Text1", "ResetText"},
       {"Cmd_OK", "NewNum", "Reset", "Cmd_Cancel", "NewNumOK", "NewNumCancel", "Command2",
        "Command3", "ResetOK", "ResetCancel", "Command1"}},
      {"KVExpress",
       {"LabelExpress", "LabelNewNumCheck"},
       {"NumList"},
       {"Text1"},
       {"NumSelectOK", "cmdAddNum", "cmdNewNumOK", "cmdOpAdd", "cmdOpMinus", "cmdOpMulti",
        "cmdOpDiv", "cmdOpPower", "cmdReInput", "cmdInputEnd", "cmdCancel"}},
  };
  return forms;
}

}  // namespace

ModelDialog::ModelDialog(Session& session, DialogModel& model, QWidget* parent)
    : QDialog(parent), session_(session), model_(model) {
  setObjectName(Q(model.FormName()));
  auto* layout = new QVBoxLayout(this);
  auto* buttons = new QHBoxLayout;
  for (const FormControls& form : Forms()) {
    if (form.form != model.FormName()) continue;
    for (std::string_view name : form.labels) {
      auto* label = new QLabel(this);
      label->setObjectName(Q(name));
      layout->addWidget(label);
      labels_[std::string(name)] = label;
    }
    for (std::string_view name : form.lists) {
      auto* list = new QListWidget(this);
      list->setObjectName(Q(name));
      layout->addWidget(list);
      lists_[std::string(name)] = list;
      connect(list, &QListWidget::currentRowChanged, this, [this, name](int row) {
        if (refreshing_ || row < 0) return;
        session_.DialogSelect(name, row + 1);
        Forwarded();
      });
    }
    for (std::string_view name : form.edits) {
      auto* edit = new QLineEdit(this);
      edit->setObjectName(Q(name));
      layout->addWidget(edit);
      edits_[std::string(name)] = edit;
      connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
        session_.DialogType(name, text.toUtf8().toStdString());
        Forwarded();
      });
    }
    for (std::string_view name : form.buttons) {
      auto* button = new QPushButton(this);
      button->setObjectName(Q(name));
      button->setAutoDefault(false);
      buttons->addWidget(button);
      buttons_[std::string(name)] = button;
      connect(button, &QPushButton::clicked, this, [this, name] {
        session_.DialogClick(name);
        Forwarded();
      });
    }
  }
  layout->addLayout(buttons);
  Refresh();
}

void ModelDialog::Refresh() {
  refreshing_ = true;
  setWindowTitle(Q(model_.Text("Caption")));
  auto* numbers = dynamic_cast<NumberDialog*>(&model_);
  auto* expression = dynamic_cast<ExpressionDialog*>(&model_);
  const auto visible = [numbers, expression](const std::string& name) {
    if (numbers) return numbers->Visible(name);
    if (expression) return expression->Visible(name);
    return true;
  };
  for (auto& [name, label] : labels_) label->setText(Q(model_.Text(name)));
  for (auto& [name, list] : lists_) {
    list->clear();
    for (const std::string& line : model_.Lines(name)) list->addItem(Q(line));
    list->setCurrentRow(model_.SelectedLine(name) - 1);
    // An attribute dialog has no list where the object has no such attribute.
    list->setVisible(visible(name) && (numbers || expression || list->count() > 0));
  }
  for (auto& [name, edit] : edits_) {
    const QString text = Q(model_.Text(name));
    if (edit->text() != text) edit->setText(text);
    edit->setVisible(visible(name));
  }
  for (auto& [name, button] : buttons_) {
    button->setText(Q(model_.Text(name)));
    button->setVisible(visible(name));
  }
  refreshing_ = false;
}

void ModelDialog::Forwarded() {
  // The session drops a closed dialog and tells the window, which deletes this widget later;
  // until then the model is still there to read.
  if (isVisible()) Refresh();
}

void ModelDialog::keyPressEvent(QKeyEvent* event) {
  const int code = VirtualKeyOf(event->key());
  if (code == 0) {
    QDialog::keyPressEvent(event);
    return;
  }
  session_.DialogKey(code, ShiftBitsOf(event->modifiers()));
  Forwarded();
}

void ModelDialog::reject() {
  // Closing the box is Esc in it.
  session_.DialogKey(kKeyEscape, 0);
  Forwarded();
}

}  // namespace kv
