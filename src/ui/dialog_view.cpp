#include "ui/dialog_view.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.c_str()); }

enum class Control { kText, kReadOnlyText, kCombo, kList, kOption, kLabel, kOk, kCancel };

struct ControlSpec {
  const char* name;
  Control type;
  const char* label;  // the caption control beside it, or empty
};

// The controls of each form, in the order they are laid out.
std::vector<ControlSpec> ControlsOf(std::string_view form) {
  if (form == "PtAttribute" || form == "LineAttribute" || form == "CircleAttribute")
    return {{"TextName", Control::kText, "LabelName"},
            {"ComboClr", Control::kCombo, "LabelClr"},
            {"ComboLocus", Control::kCombo, "LabelLocus"},
            {"ComboKind", Control::kCombo, "LabelKind"},
            {"ComboIndependent", Control::kCombo, "LabelIndependent"},
            {"CommandOK", Control::kOk, ""},
            {"CommandCancel", Control::kCancel, ""}};
  if (form == "NumAttribute")
    return {{"TextName", Control::kText, "LabelName"},
            {"TextVal", Control::kText, "LabelVal"},
            {"TextAttr", Control::kReadOnlyText, "LabelAttr"},
            {"OptionVisible", Control::kOption, ""},
            {"OptionNotVisible", Control::kOption, ""},
            {"CommandOK", Control::kOk, ""},
            {"CommandCancel", Control::kCancel, ""}};
  if (form == "SelGeoKindBounded")
    return {{"Label1", Control::kLabel, ""},
            {"ListKind", Control::kList, ""},
            {"cmdOK", Control::kOk, ""},
            {"CmdCancel", Control::kCancel, ""}};
  if (form == "KVSelNum")
    return {{"NumList", Control::kList, ""},
            {"Cmd_OK", Control::kOk, ""},
            {"Cmd_Cancel", Control::kCancel, ""}};
  return {};
}

}  // namespace

DialogView::DialogView(Session& session, DialogModel& model, QWidget* parent)
    : QDialog(parent), session_(session), model_(model) {
  setObjectName(QString::fromUtf8(model.FormName().data(), int(model.FormName().size())));
  setWindowTitle(Q(model.Text("Caption")));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  auto* buttons = new QHBoxLayout;
  layout->addLayout(form);
  layout->addLayout(buttons);
  for (const ControlSpec& c : ControlsOf(model.FormName())) {
    const QString name = c.name;
    const std::string control = c.name;
    const QString label = c.label[0] ? Q(model.Text(c.label)) : QString();
    switch (c.type) {
      case Control::kText:
      case Control::kReadOnlyText: {
        auto* edit = new QLineEdit(Q(model.Text(control)), this);
        edit->setObjectName(name);
        edit->setReadOnly(c.type == Control::kReadOnlyText);
        connect(edit, &QLineEdit::textEdited, this, [this, control](const QString& text) {
          session_.DialogType(control, text.toStdString());
        });
        form->addRow(label, edit);
        break;
      }
      case Control::kCombo: {
        const auto lines = model.Lines(control);
        if (lines.empty()) break;  // not shown for this object
        auto* combo = new QComboBox(this);
        combo->setObjectName(name);
        for (const auto& line : lines) combo->addItem(Q(line));
        combo->setCurrentIndex(model.SelectedLine(control) - 1);
        connect(combo, &QComboBox::activated, this,
                [this, control](int index) { session_.DialogSelect(control, index + 1); });
        form->addRow(label, combo);
        break;
      }
      case Control::kList: {
        auto* list = new QListWidget(this);
        list->setObjectName(name);
        for (const auto& line : model.Lines(control)) list->addItem(Q(line));
        list->setCurrentRow(model.SelectedLine(control) - 1);
        connect(list, &QListWidget::currentRowChanged, this,
                [this, control](int row) { session_.DialogSelect(control, row + 1); });
        connect(list, &QListWidget::itemDoubleClicked, this, [this] {
          session_.DialogKey(kKeyEnter, 0);
          AfterAction();
        });
        form->addRow(list);
        break;
      }
      case Control::kOption: {
        auto* option = new QRadioButton(Q(model.Text(control)), this);
        option->setObjectName(name);
        option->setChecked(model.SelectedLine(control) == 1);
        connect(option, &QRadioButton::clicked, this,
                [this, control] { session_.DialogClick(control); });
        form->addRow(option);
        break;
      }
      case Control::kLabel:
        form->addRow(new QLabel(Q(model.Text(control)), this));
        break;
      case Control::kOk:
      case Control::kCancel: {
        auto* button = new QPushButton(Q(model.Text(control)), this);
        button->setObjectName(name);
        button->setDefault(c.type == Control::kOk);
        connect(button, &QPushButton::clicked, this, [this, control] {
          session_.DialogClick(control);
          AfterAction();
        });
        buttons->addWidget(button);
        break;
      }
    }
  }
}

void DialogView::AfterAction() {
  // The model has closed (and may have been replaced by the next dialog of the command).
  if (session_.ActiveDialog() != &model_) accept();
}

}  // namespace kv
