// The language dialog and the interface font.
#include "ui/language_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace kv {
namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

}  // namespace

KVLanguage::KVLanguage(Language current, const QString& fontName, QWidget* parent)
    : QDialog(parent), fontName_(fontName) {
  setObjectName("KVLanguage");
  setWindowTitle("Select Language");
  setModal(true);

  combo_ = new QComboBox(this);
  combo_->setObjectName("Combo1");
  combo_->addItems({"Japanese", "English", "Manual(use dic_kv4.txt)"});
  combo_->setCurrentIndex(IndexOfLanguage(current));

  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("OKButton");
  ok_->setDefault(true);
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName("CancelButton");
  font_ = new QPushButton("Font", this);
  font_->setObjectName("cmd_font");

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(font_);
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(combo_);
  layout->addLayout(buttons);

  connect(ok_, &QPushButton::clicked, this, &KVLanguage::OnOk);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(font_, &QPushButton::clicked, this, &KVLanguage::OnFont);

  fontChooser = [this](const QString& name) -> std::optional<QString> {
    bool ok = false;
    QFont font =
        QFontDialog::getFont(&ok, QFont(name), this, QString(), QFontDialog::FontDialogOption(0));
    if (!ok) return std::nullopt;
    return font.family();
  };
}

Language KVLanguage::LanguageOfIndex(int index) {
  switch (index) {
    case 1:
      return Language::kEnglish;
    case 2:
      return Language::kManual;
    default:
      return Language::kJapanese;
  }
}

int KVLanguage::IndexOfLanguage(Language language) {
  switch (language) {
    case Language::kEnglish:
      return 1;
    case Language::kManual:
      return 2;
    case Language::kJapanese:
      break;
  }
  return 0;
}

void KVLanguage::OnOk() {
  chosenLanguage_ = LanguageOfIndex(combo_->currentIndex());
  accept();
}

void KVLanguage::OnFont() {
  std::optional<QString> family = fontChooser ? fontChooser(fontName_) : std::nullopt;
  if (!family) return;  // cancelling the font dialog changes nothing
  chosenFont_ = *family;
  fontName_ = *family;
  hide();
  done(QDialog::Rejected);
}

void KVLanguage::ApplyLanguage(const Translator& tr) {
  const std::pair<const char*, QWidget*> controls[] = {{"KVLanguage", this},
                                                       {"KVLanguage.OKButton", ok_},
                                                       {"KVLanguage.CancelButton", cancel_},
                                                       {"KVLanguage.cmd_font", font_}};
  for (auto [key, widget] : controls) {
    QString current = widget == this ? windowTitle() : static_cast<QPushButton*>(widget)->text();
    captions_.Capture(key, current.toStdString());
    QString caption = Q(*captions_.Caption(key, tr));
    if (widget == this)
      setWindowTitle(caption);
    else
      static_cast<QPushButton*>(widget)->setText(caption);
  }
}

void ApplyInterfaceFontFamily(const QString& family) {
  QFont appFont = QApplication::font();
  appFont.setFamily(family);
  QApplication::setFont(appFont);
  for (QWidget* w : QApplication::allWidgets()) {
    QFont f = w->font();
    f.setFamily(family);
    w->setFont(f);
  }
}

}  // namespace kv
