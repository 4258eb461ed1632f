// Loading Qt's translations.
#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>

namespace kv {

QString QtLocaleFor(Language language) {
  switch (language) {
    case Language::kJapanese:
      return "ja";
    case Language::kEnglish:
      return {};
    case Language::kManual:
      break;
  }
  return QLocale::system().name();
}

QtTranslations::QtTranslations() = default;

QtTranslations::~QtTranslations() {
  if (translator_) QCoreApplication::removeTranslator(translator_.get());
}

bool QtTranslations::Apply(Language language) {
  const QString locale = QtLocaleFor(language);
  if (translator_ && locale == installed_) return true;
  if (translator_) {
    QCoreApplication::removeTranslator(translator_.get());
    translator_.reset();
    installed_.clear();
  }
  if (locale.isEmpty() || locale.startsWith("en")) return true;
  // Qt's own folder first; a copy deployed beside the program (as on Windows) next.
  const QStringList folders = {
      QLibraryInfo::path(QLibraryInfo::TranslationsPath),
      QDir(QCoreApplication::applicationDirPath()).filePath("translations")};
  auto translator = std::make_unique<QTranslator>();
  for (const QString& folder : folders) {
    for (const char* catalogue : {"qtbase_", "qt_"}) {
      if (translator->load(catalogue + locale, folder)) {
        QCoreApplication::installTranslator(translator.get());
        translator_ = std::move(translator);
        installed_ = locale;
        return true;
      }
    }
  }
  return false;
}

}  // namespace kv
