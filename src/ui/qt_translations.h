// Qt's own interface texts (standard buttons, the file, colour, font and input dialogs) in the
// language of the rest of the interface, switched at run time together with it.
#pragma once

#include <QString>
#include <QTranslator>
#include <memory>

#include "lang/translate.h"

namespace kv {

// The locale whose Qt translation goes with an interface language: Japanese "ja", English none
// (Qt's texts are English), the user's own dictionary the system's locale.
QString QtLocaleFor(Language language);

class QtTranslations {
 public:
  QtTranslations();
  ~QtTranslations();
  // Installs the translation for `language` in the application, replacing the one installed
  // before; widgets receive a language-change event. False when no translation was found
  // (Qt's English texts show then).
  bool Apply(Language language);
  // The locale installed now, empty for none.
  const QString& Installed() const { return installed_; }

 private:
  std::unique_ptr<QTranslator> translator_;
  QString installed_;
};

}  // namespace kv
