// Access keys of the top-level menus.
#include "ui/menu_access_keys.h"

namespace kv {

char AccessKeyOf(MenuCommand cmd) {
  using M = MenuCommand;
  switch (cmd) {
    case M::mnuFile:
      return 'F';
    case M::mnuDeform:
      return 'D';
    // The easy and the full construction and measurement menus never show together.
    case M::mnuEasyConst:
    case M::mnuConstruction:
      return 'C';
    case M::mnuEasy_Measure:
    case M::mnuMeasure:
      return 'M';
    case M::mnuZoom:
      return 'Z';
    case M::mnuLocus:
      return 'L';
    case M::mnuOption:
      return 'O';
    case M::mnuEdit:
      return 'E';
    case M::mnuHelp:
      return 'H';
    case M::mnuLanguage:
      return 'G';
    default:
      return 0;
  }
}

QString MenuText(const QString& caption, char accessKey) {
  QString text = caption;
  text.replace('&', "&&");
  if (accessKey == 0) return text;
  const QChar key = QChar::fromLatin1(accessKey);
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].toUpper() == key && (i == 0 || text[i - 1] != '&')) {
      text.insert(i, '&');
      return text;
    }
  }
  return text + "(&" + key + ")";
}

}  // namespace kv
