// KVLanguage: the language dialog. It chooses the interface language (Japanese, English, or
// Manual with the user dictionary) and the font of all interface texts; the main window stores
// the choice, writes the settings and re-captions everything.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "lang/caption_store.h"
#include "lang/translate.h"

class QComboBox;
class QPushButton;

namespace kv {

class KVLanguage : public QDialog {
  Q_OBJECT
 public:
  // `fontName` is the main window's font, on which the font chooser opens.
  KVLanguage(Language current, const QString& fontName, QWidget* parent = nullptr);

  // After exec(): the language chosen with OK, or nothing (Cancel, closed, or font chosen).
  std::optional<Language> ChosenLanguage() const { return chosenLanguage_; }
  // After exec(): the font family chosen with "Font", or nothing when that was not used or its
  // dialog was cancelled.
  std::optional<QString> ChosenFont() const { return chosenFont_; }

  // The language of list index 0, 1, 2 of Combo1.
  static Language LanguageOfIndex(int index);
  static int IndexOfLanguage(Language language);

  // Sets every caption of the dialog from its stored Japanese caption.
  void ApplyLanguage(const Translator& tr);

  QComboBox* combo() const { return combo_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  QPushButton* fontButton() const { return font_; }

  // Replaces the font dialog (tests): given the current font name, the chosen family or
  // nothing when cancelled.
  std::function<std::optional<QString>(const QString&)> fontChooser;

 private:
  void OnOk();
  void OnFont();

  QComboBox* combo_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* font_ = nullptr;
  QString fontName_;
  CaptionStore captions_;
  std::optional<Language> chosenLanguage_;
  std::optional<QString> chosenFont_;
};

// Sets the font family of every interface text (application default, so dialogs opened later
// follow, and every widget that exists now), keeping each widget's point size.
void ApplyInterfaceFontFamily(const QString& family);

}  // namespace kv
