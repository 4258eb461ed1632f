// The language dialog under the offscreen platform: the choice it hands back, the font
// chooser, its captions in every language, and the font reaching the canvas.
#include "ui/language_dialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "ui/main_window.h"
#include "ui_test_main.h"

namespace kv {

class LanguageDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void OkHandsBackTheListedLanguage() {
    struct Case {
      Language current;
      int pick;
      Language chosen;
    } cases[] = {{Language::kJapanese, 1, Language::kEnglish},
                 {Language::kEnglish, 2, Language::kManual},
                 {Language::kManual, 0, Language::kJapanese}};
    for (const Case& c : cases) {
      KVLanguage dialog(c.current, "FixedSys");
      QCOMPARE(dialog.combo()->count(), 3);
      QCOMPARE(dialog.combo()->itemText(2), QString("Manual(use dic_kv4.txt)"));
      QCOMPARE(dialog.combo()->currentIndex(), KVLanguage::IndexOfLanguage(c.current));
      dialog.show();
      dialog.combo()->setCurrentIndex(c.pick);
      QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
      QVERIFY(!dialog.isVisible());
      QCOMPARE(dialog.ChosenLanguage(), std::optional<Language>(c.chosen));
      QVERIFY(!dialog.ChosenFont());
    }
  }

  void CancelAndTheFontChooserChooseNoLanguage() {
    KVLanguage cancelled(Language::kJapanese, "FixedSys");
    cancelled.show();
    cancelled.combo()->setCurrentIndex(1);
    QTest::mouseClick(cancelled.cancelButton(), Qt::LeftButton);
    QVERIFY(!cancelled.isVisible());
    QVERIFY(!cancelled.ChosenLanguage());

    KVLanguage dialog(Language::kJapanese, "FixedSys");
    QStringList askedWith;
    std::optional<QString> reply;
    dialog.fontChooser = [&](const QString& name) {
      askedWith << name;
      return reply;
    };
    dialog.show();
    // A cancelled font chooser leaves the dialog open with nothing chosen.
    QTest::mouseClick(dialog.fontButton(), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.ChosenFont());
    reply = QString("Serif");
    QTest::mouseClick(dialog.fontButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.ChosenFont(), std::optional<QString>("Serif"));
    QVERIFY(!dialog.ChosenLanguage());
    QCOMPARE(askedWith, (QStringList{"FixedSys", "FixedSys"}));
  }

  void CaptionsComeFromTheStoredOnes() {
    KVLanguage dialog(Language::kJapanese, "FixedSys");
    const Translator manual(Language::kManual, {{"OK", "Jawohl"}, {"Select Language", "Sprache"}});
    dialog.ApplyLanguage(manual);
    QCOMPARE(dialog.okButton()->text(), QString("Jawohl"));
    QCOMPARE(dialog.windowTitle(), QString("Sprache"));
    QCOMPARE(dialog.cancelButton()->text(), QString("Cancel"));
    // Back to Japanese: the first captions, not translations of translations.
    dialog.ApplyLanguage(Translator(Language::kJapanese));
    QCOMPARE(dialog.okButton()->text(), QString("OK"));
    QCOMPARE(dialog.windowTitle(), QString("Select Language"));
    QCOMPARE(dialog.fontButton()->text(), QString("Font"));
  }

  void ChosenFontBecomesTheCanvasFont() {
    QTemporaryDir dir;
    const QFont before = QApplication::font();
    KVwin w;
    w.show();
    w.Start(dir.path().toStdString(), "");
    QString askedWith;
    bool found = false;
    // The dialog runs modally inside the menu command; answer it from the event loop.
    QTimer::singleShot(0, &w, [&] {
      auto* dialog = w.findChild<KVLanguage*>("KVLanguage");
      if (!dialog) return;
      found = true;
      dialog->fontChooser = [&](const QString& name) -> std::optional<QString> {
        askedWith = name;
        return QString("Serif");
      };
      QTest::mouseClick(dialog->fontButton(), Qt::LeftButton);
    });
    w.ActionNamed("mnuLanguage")->trigger();
    QVERIFY(found);
    QCOMPARE(askedWith, QString("FixedSys"));
    QCOMPARE(w.session().draw.fontName, std::string("Serif"));
    QCOMPARE(w.font().family(), QString("Serif"));
    QCOMPARE(w.session().translator.language, Language::kJapanese);
    QApplication::setFont(before);
  }
};

int RunLanguageDialogTest(int argc, char** argv) {
  LanguageDialogTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace kv

#include "language_dialog_test.moc"
