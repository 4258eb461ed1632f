// Showing a dialog model with widgets.
#include "ui/model_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <string_view>
#include <vector>

#include "construct/attribute_dialogs.h"
#include "expr/expression_dialog.h"
#include "expr/number_dialog.h"
#include "session/session.h"
#include "ui/canvas_widget.h"

namespace kv {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

// One line of a form laid out as label and control side by side; the label shows the text of
// `label` (a caption, or a read-only text of the model). Controls named "Combo..." are drop-down
// lists, "Text..." text boxes; a control shown as a label is named in `shownAsLabel`.
struct FormRow {
  std::string_view label, control;
  bool shownAsLabel = false;
};

// The controls of each form: labelled rows (the attribute dialogs), then lists, text boxes
// and buttons stacked in that order.
struct FormControls {
  std::string_view form;
  std::vector<std::string_view> labels, lists, edits, buttons;
  std::vector<FormRow> rows = {};
};

const std::vector<FormControls>& Forms() {
  static const std::vector<FormControls> forms = {
      // The attribute dialogs of a point, a line and a circle: a choice stays hidden where
      // the object has no such attribute.
      {"PtAttribute",
       {},
       {},
       {},
       {"CommandOK", "CommandCancel"},
       {{"LabelName", "TextName"},
        {"LabelClr", "ComboClr"},
        {"LabelLocus", "ComboLocus"},
        {"LabelKind", "ComboKind"},
        {"LabelIndependent", "ComboIndependent"}}},
      {"LineAttribute",
       {},
       {},
       {},
       {"CommandOK", "CommandCancel"},
       {{"LabelName", "TextName"},
        {"LabelClr", "ComboClr"},
        {"LabelLocus", "ComboLocus"},
        {"LabelKind", "ComboKind"}}},
      {"CircleAttribute",
       {},
       {},
       {},
       {"CommandOK", "CommandCancel"},
       {{"LabelName", "TextName"},
        {"LabelClr", "ComboClr"},
        {"LabelLocus", "ComboLocus"},
        {"LabelKind", "ComboKind"}}},
      {"NumAttribute",
       {},
       {},
       {},
       {"OptionVisible", "OptionNotVisible", "CommandOK", "CommandCancel"},
       {{"LabelName", "TextName"}, {"LabelVal", "TextVal"}, {"LabelAttr", "TextAttr", true}}},
      {"SelGeoKindBounded", {"Label1"}, {"ListKind"}, {}, {"cmdOK", "CmdCancel"}},
      {"KVSelNum",
       {},
       {"NumList"},
       {"Text1", "ResetText"},
       {"Cmd_OK", "NewNum", "Reset", "Cmd_Cancel", "NewNumOK", "NewNumCancel", "Command2",
        "Command3", "ResetOK", "ResetCancel", "Command1"}},
      {"KVExpress",
       {"LabelNewNumCheck"},
       {"NumList"},
       {"Text1"},
       {"NumSelectOK", "cmdAddNum", "cmdNewNumOK", "cmdOpAdd", "cmdOpMinus", "cmdOpMulti",
        "cmdOpDiv", "cmdOpPower", "cmdReInput", "cmdInputEnd", "cmdCancel"},
       {{"LabelExpressTitle", "LabelExpress", true}}},
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
    if (!form.rows.empty()) {
      rows_ = new QFormLayout;
      layout->addLayout(rows_);
    }
    for (const FormRow& row : form.rows) AddRow(row.label, row.control, row.shownAsLabel);
    for (std::string_view name : form.labels) {
      auto* label = new QLabel(this);
      label->setObjectName(Q(name));
      layout->addWidget(label);
      labels_[std::string(name)] = label;
    }
    for (std::string_view name : form.lists) {
      auto* list = new QListWidget(this);
      list->setObjectName(Q(name));
      // The binding kinds are four fixed lines: the list is as tall as they are.
      if (name == "ListKind") list->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
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
  for (auto& [name, label] : labels_) {
    label->setText(Q(model_.Text(name)));
    // A row's caption and text stay; a free label (the value check of a new number) shows
    // only in the state that uses it.
    if (!rows_ || rows_->indexOf(label) < 0) label->setVisible(visible(name));
  }
  for (auto& [name, list] : lists_) {
    list->clear();
    for (const std::string& line : model_.Lines(name)) list->addItem(Q(line));
    list->setCurrentRow(model_.SelectedLine(name) - 1);
    // An attribute dialog has no list where the object has no such attribute.
    list->setVisible(visible(name) && (numbers || expression || list->count() > 0));
  }
  for (auto& [name, combo] : combos_) {
    combo->clear();
    for (const std::string& line : model_.Lines(name)) combo->addItem(Q(line));
    combo->setCurrentIndex(model_.SelectedLine(name) - 1);
    rows_->setRowVisible(combo, combo->count() > 0);
  }
  for (auto& [name, edit] : edits_) {
    const QString text = Q(model_.Text(name));
    if (edit->text() != text) edit->setText(text);
    if (rows_ && rows_->indexOf(edit) >= 0)
      rows_->setRowVisible(edit, visible(name));
    else
      edit->setVisible(visible(name));
  }
  for (auto& [name, button] : buttons_) {
    button->setText(Q(model_.Text(name)));
    button->setVisible(visible(name));
    // The show / hide options stay pressed while they are the number's choice.
    if (name.rfind("Option", 0) == 0) {
      button->setCheckable(true);
      button->setChecked(model_.SelectedLine(name) == 1);
    }
  }
  if (auto* number = dynamic_cast<NumberAttributeDialog*>(&model_)) {
    if (auto it = edits_.find("TextVal"); it != edits_.end())
      it->second->setReadOnly(!number->ValueEditable());
  }
  refreshing_ = false;
}

void ModelDialog::AddRow(std::string_view labelName, std::string_view controlName,
                         bool shownAsLabel) {
  auto* label = new QLabel(this);
  label->setObjectName(Q(labelName));
  labels_[std::string(labelName)] = label;
  QWidget* control = nullptr;
  if (shownAsLabel) {
    auto* text = new QLabel(this);
    text->setWordWrap(true);
    labels_[std::string(controlName)] = text;
    control = text;
  } else if (controlName.substr(0, 5) == "Combo") {
    auto* combo = new QComboBox(this);
    combos_[std::string(controlName)] = combo;
    connect(combo, &QComboBox::currentIndexChanged, this, [this, controlName](int index) {
      if (refreshing_ || index < 0) return;
      session_.DialogSelect(controlName, index + 1);
      Forwarded();
    });
    control = combo;
  } else {
    auto* edit = new QLineEdit(this);
    edits_[std::string(controlName)] = edit;
    connect(edit, &QLineEdit::textEdited, this, [this, controlName](const QString& text) {
      session_.DialogType(controlName, text.toUtf8().toStdString());
      Forwarded();
    });
    control = edit;
  }
  control->setObjectName(Q(controlName));
  label->setBuddy(control);
  rows_->addRow(label, control);
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
