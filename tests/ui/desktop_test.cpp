// The window as an installed desktop program meets it: where it finds its shipped files and
// writes its own, Qt's texts in the interface language, messages, menus reached from the
// keyboard, readable status panels.
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "lang/translate.h"
#include "session/disabled_reason.h"
#include "ui/canvas_widget.h"
#include "ui/desktop_opener.h"
#include "ui/main_window.h"
#include "ui/menu_access_keys.h"
#include "ui/program_folder.h"
#include "ui/status_bar.h"
#include "ui_test_main.h"

namespace kv {

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    qputenv(name, value.c_str());
  }
  ~ScopedEnv() {
    if (old_)
      qputenv(name_, old_->c_str());
    else
      qunsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

void Touch(const fs::path& file, const std::string& text = "x") {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

// Runs `look` on the modal dialog that `open` shows, then closes it; `open` returns when the
// dialog is closed.
void WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& look) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    seen = true;
    look(modal);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  });
  open();
  QVERIFY2(seen, "no dialog was shown");
}

// A stand-in for the desktop's handler that ends with `status` (xdg-open ends with 3 when no
// program can show the file and 4 when the one it ran failed).
QString HandlerScript(const QTemporaryDir& dir, int status) {
  const QString path = dir.path() + "/handler_" + QString::number(status) + ".sh";
  std::ofstream(path.toStdString()) << "#!/bin/sh\nexit " << status << "\n";
  fs::permissions(path.toStdString(), fs::perms::owner_all);
  return path;
}

QStringList ButtonTexts(QWidget* dialog) {
  QStringList texts;
  for (auto* button : dialog->findChildren<QPushButton*>()) texts << button->text();
  return texts;
}

// A window started in a folder of its own with the given settings lines.
struct StartedWindow {
  explicit StartedWindow(const std::string& settings = "KVwin_MenuMode = 0\r\n") {
    std::ofstream(dir.path().toStdString() + "/config_kvwin.txt") << settings;
    window.urlOpener = [this](const QUrl& url) {
      opened << url.toLocalFile();
      return openerWorks;
    };
    window.show();
    window.Start(dir.path().toStdString(), "");
  }
  QTemporaryDir dir;
  KVwin window;
  QStringList opened;
  bool openerWorks = true;
};

}  // namespace

class DesktopTest : public QObject {
  Q_OBJECT

 private slots:
  void PortableCopyKeepsEverythingBesideTheProgram() {
    QTemporaryDir dir;
    const fs::path exe = dir.path().toStdString();
    Touch(exe / "document" / "help.htm");
    QCOMPARE(FindShippedFolder(exe), exe);
    QCOMPARE(ResolveProgramFolder(exe.string()), exe.string());
  }

  void InstalledCopyReadsShareAndWritesTheUserFolder() {
    QTemporaryDir dir;
    const fs::path prefix = dir.path().toStdString();
    const fs::path bin = prefix / "bin";
    const fs::path share = prefix / "share" / "korvane";
    fs::create_directories(bin);
    Touch(share / "document" / "help.htm");
    Touch(share / "samples" / "a.kv4");
    Touch(share / "dic_kv4.txt", "標準 = norm\n");
    Touch(share / "kvview.js", "new viewer");
    ScopedEnv data("XDG_DATA_HOME", (prefix / "home-data").string());
    QCOMPARE(FindShippedFolder(bin), share);
    // The bin folder is writable here, as /usr/bin is for an administrator: an installed
    // program still never writes beside itself.
    QVERIFY(FolderWritable(bin));
    const fs::path user = prefix / "home-data" / "korvane";
    QCOMPARE(ResolveProgramFolder(bin.string()), user.string());
    // Seeded from the shipped copy, and a user's own copy is never overwritten.
    std::ifstream seeded(user / "dic_kv4.txt");
    std::string line;
    std::getline(seeded, line);
    QCOMPARE(QString::fromStdString(line), QString::fromUtf8("標準 = norm"));
    Touch(user / "dic_kv4.txt", "mine\n");
    ResolveProgramFolder(bin.string());
    std::ifstream kept(user / "dic_kv4.txt");
    std::getline(kept, line);
    QCOMPARE(QString::fromStdString(line), QString("mine"));
    // The viewer belongs to the program: an older copy gives way to the shipped one.
    Touch(user / "kvview.js", "old viewer");
    fs::last_write_time(user / "kvview.js",
                        fs::last_write_time(share / "kvview.js") - std::chrono::hours(1));
    ResolveProgramFolder(bin.string());
    std::ifstream viewer(user / "kvview.js");
    std::getline(viewer, line);
    QCOMPARE(QString::fromStdString(line), QString("new viewer"));
  }

  void ReadOnlyPortableCopyFallsBackToTheUserFolder() {
    if (geteuid() == 0) QSKIP("an administrator can write into a read-only folder");
    QTemporaryDir dir;
    const fs::path exe = fs::path(dir.path().toStdString()) / "stick";
    Touch(exe / "document" / "help.htm");
    fs::permissions(exe, fs::perms::owner_write, fs::perm_options::remove);
    ScopedEnv data("XDG_DATA_HOME", (fs::path(dir.path().toStdString()) / "data").string());
    QVERIFY(!FolderWritable(exe));
    QCOMPARE(ResolveProgramFolder(exe.string()),
             (fs::path(dir.path().toStdString()) / "data" / "korvane").string());
    fs::permissions(exe, fs::perms::owner_write, fs::perm_options::add);
  }

  void WithoutShippedFilesAnywhereTheProgramFolderIsTheUserFolder() {
    QTemporaryDir dir;
    const fs::path exe = dir.path().toStdString();
    ScopedEnv data("XDG_DATA_HOME", (exe / "data").string());
    QCOMPARE(FindShippedFolder(exe / "bin"), exe / "bin");
    QCOMPARE(ResolveProgramFolder((exe / "bin").string()), (exe / "data" / "korvane").string());
  }

  void QtDialogsAndButtonsSpeakTheInterfaceLanguage() {
    StartedWindow w;
    KVwin& win = w.window;
    const QString cancelJa = QString::fromUtf8("キャンセル");
    WithModal([&] { win.MessageOkCancel("?", "t"); },
              [&](QWidget* box) {
                QVERIFY2(ButtonTexts(box).contains(cancelJa),
                         qPrintable(ButtonTexts(box).join(",")));
              });
    WithModal(
        [&] { win.OpenFileDialog(w.dir.path().toStdString(), win.session().FigureDialogFilter()); },
        [&](QWidget* d) {
          QVERIFY(ButtonTexts(d).contains(cancelJa));
          QVERIFY(static_cast<QFileDialog*>(d)->nameFilters().join("").contains(
              QString::fromUtf8("すべてのファイル")));
        });
    win.session().SetLanguage(Language::kEnglish);
    WithModal([&] { win.MessageOkCancel("?", "t"); },
              [&](QWidget* box) { QVERIFY(ButtonTexts(box).contains("Cancel")); });
    WithModal(
        [&] { win.OpenFileDialog(w.dir.path().toStdString(), win.session().FigureDialogFilter()); },
        [&](QWidget* d) {
          QVERIFY(ButtonTexts(d).contains("Cancel"));
          QVERIFY(!static_cast<QFileDialog*>(d)->nameFilters().join("").contains(
              QString::fromUtf8("すべてのファイル")));
        });
    win.session().SetLanguage(Language::kJapanese);
    WithModal([&] { win.MessageOkCancel("?", "t"); },
              [&](QWidget* box) { QVERIFY(ButtonTexts(box).contains(cancelJa)); });
  }

  void MessagesLookLikeWhatTheyAre() {
    StartedWindow w;
    KVwin& win = w.window;
    const std::pair<std::function<void()>, QMessageBox::Icon> cases[] = {
        {[&] { win.MessageWarning("x", "t"); }, QMessageBox::Warning},
        {[&] { win.MessageOkCancel("x", "t"); }, QMessageBox::Question},
        {[&] { win.MessageOk("x", "t"); }, QMessageBox::Information}};
    for (const auto& [open, icon] : cases)
      WithModal(open,
                [&](QWidget* box) { QCOMPARE(static_cast<QMessageBox*>(box)->icon(), icon); });
  }

  void HelpOpensTheShippedPageOrSaysWhereItIs() {
    StartedWindow w;
    KVwin& win = w.window;
    const QString page = w.dir.path() + "/document/help.htm";
    // Missing page: a warning naming it, nothing handed to the desktop.
    WithModal(
        [&] { win.session().Command(MenuCommand::mnuHmanual); },
        [&](QWidget* box) { QVERIFY(static_cast<QMessageBox*>(box)->text().contains(page)); });
    QVERIFY(w.opened.isEmpty());
    Touch((w.dir.path() + "/document/help.htm").toStdString());
    win.session().Command(MenuCommand::mnuHmanual);
    QCOMPARE(w.opened, QStringList{page});
    // No browser: the message says so and where the page is.
    w.openerWorks = false;
    WithModal([&] { win.session().Command(MenuCommand::mnuHmanual); },
              [&](QWidget* box) {
                auto* m = static_cast<QMessageBox*>(box);
                QCOMPARE(m->icon(), QMessageBox::Warning);
                QVERIFY(m->text().contains(page));
                QVERIFY(m->text().contains(QString::fromUtf8("ブラウザ")));
              });
  }

  void TheHandlersLaterFailureIsReportedAndOnlyThat() {
    QTemporaryDir dir;
    const struct {
      int status;
      int watchMs;
      bool reported;
    } cases[] = {{3, 20000, true}, {4, 20000, true}, {0, 20000, false}, {3, 0, false}};
    for (const auto& c : cases) {
      DesktopOpener opener;
      opener.program = HandlerScript(dir, c.status);
      opener.watchMs = c.watchMs;
      QStringList failed;
      bool ended = false;
      opener.failed = [&](const QString& file) { failed << file; };
      QVERIFY(opener.Open(QUrl::fromLocalFile(dir.path() + "/a.htm")));
      auto* handler = opener.findChild<QProcess*>();
      QVERIFY(handler);
      connect(handler, &QProcess::finished, [&] { ended = true; });
      QTRY_VERIFY_WITH_TIMEOUT(ended, 10000);
      QCoreApplication::processEvents();
      QCOMPARE(failed, c.reported ? QStringList{dir.path() + "/a.htm"} : QStringList{});
    }
    // A handler that is not there cannot start: said at once by the caller.
    DesktopOpener missing;
    missing.program = dir.path() + "/no_such_handler";
    QVERIFY(!missing.Open(QUrl::fromLocalFile(dir.path() + "/a.htm")));
  }

  void ARecordPageTheDesktopCannotShowIsReportedWithItsName() {
    StartedWindow w;
    KVwin& win = w.window;
    win.urlOpener = [&](const QUrl& url) { return win.desktopOpener().Open(url); };
    win.desktopOpener().program = HandlerScript(w.dir, 3);
    // A figure with measured numbers, recorded while the locus switch is on.
    QVERIFY(win.session().OpenFigure(KV_SOURCE_DIR "/samples/expression_inradius.kv4"));
    win.session().Command(MenuCommand::mnuEVarDispAllOn);
    win.session().Command(MenuCommand::mnuLocusSW);
    win.session().RedrawAll();
    QString shown;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown = box->text();
        box->reject();
      }
    });
    closer.start(20);
    win.session().Command(MenuCommand::mnuLocusNumCSV);
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 10000);
    QVERIFY2(shown.contains(w.dir.path() + "/temp.htm"), qPrintable(shown));
    QVERIFY2(shown.contains(QString::fromUtf8("開けませんでした")), qPrintable(shown));
  }

  void TopMenusHaveAccessKeysInBothLanguagesAndF10ReachesThem() {
    QCOMPARE(MenuText(QString::fromUtf8("ﾌｧｲﾙ"), 'F'), QString::fromUtf8("ﾌｧｲﾙ(&F)"));
    QCOMPARE(MenuText("file", 'F'), QString("&file"));
    QCOMPARE(MenuText("Language", 'G'), QString("Lan&guage"));
    QCOMPARE(MenuText("save & go", 0), QString("save && go"));
    StartedWindow w;
    KVwin& win = w.window;
    for (Language language : {Language::kJapanese, Language::kEnglish}) {
      win.session().SetLanguage(language);
      for (bool easy : {false, true}) {
        win.ApplyMenuMode(easy);
        QSet<QChar> keys;
        for (QAction* a : win.menuBar()->actions()) {
          if (!a->isVisible()) continue;
          const QString text = a->text();
          const qsizetype amp = text.indexOf(QRegularExpression("&[^&]"));
          QVERIFY2(amp >= 0, qPrintable(text));
          const QChar key = text[amp + 1].toUpper();
          QVERIFY2(!keys.contains(key), qPrintable(text));
          keys.insert(key);
        }
        QVERIFY(keys.contains('F') && keys.contains('H'));
      }
    }
    win.ApplyMenuMode(false);
    win.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&win));
    QTest::keyClick(&win, Qt::Key_F10);
    QVERIFY(win.menuBar()->activeAction() != nullptr);
    QCOMPARE(win.menuBar()->activeAction(), win.MenuNamed("mnuFile")->menuAction());
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QTRY_VERIFY(win.menuBar()->activeAction() == nullptr);
    // Alt pressed and released alone moves to the menu bar too.
    win.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&win));
    QTest::keyPress(win.canvas(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(win.canvas(), Qt::Key_Alt, Qt::NoModifier);
    QVERIFY(win.menuBar()->activeAction() != nullptr);
    QTest::keyClick(win.menuBar(), Qt::Key_Escape);
  }

  void DisabledMenusSayWhy() {
    StartedWindow w;
    KVwin& win = w.window;
    QAction* file = win.MenuNamed("mnuFile")->menuAction();
    const QString reason = QString::fromUtf8(DisabledReasonOf(kModeConstructSelect).data());
    QVERIFY(file->isEnabled());
    QVERIFY(file->statusTip().isEmpty());
    QVERIFY(file->toolTip() != reason);
    win.session().PushInputMode(kModeConstruct);
    win.session().PushInputMode(kModeConstructSelect);
    win.session().RefreshStatus();
    QVERIFY(!file->isEnabled());
    QCOMPARE(file->toolTip(), reason);
    QCOMPARE(file->statusTip(), reason);
    QVERIFY(win.MenuNamed("mnuHelp")->menuAction()->statusTip().isEmpty());
    win.session().SetLanguage(Language::kEnglish);
    QVERIFY(file->toolTip().contains("construction"));
    // Every mode that disables a menu has a reason, in both languages.
    for (int16_t mode = 1; mode <= 80; ++mode) {
      if (MenuEnablingFor(mode).file) continue;
      QVERIFY2(!DisabledReasonOf(mode).empty(), qPrintable(QString::number(mode)));
      QVERIFY2(!BuiltinEnglish(DisabledReasonOf(mode)).empty(), qPrintable(QString::number(mode)));
    }
  }

  void CanvasCopySaysCopiedAndThePanelSpringsBack() {
    StartedWindow w;
    KVwin& win = w.window;
    KVStatus1* bar = win.statusPanels();
    QTest::mouseClick(bar->PanelLabel(6), Qt::LeftButton);
    QCOMPARE(bar->ShownText(11), QString::fromUtf8("コピーしました"));
    QVERIFY(bar->PanelSunken(6));
    QVERIFY(!QApplication::clipboard()->image().isNull());
    // Status refreshes in between keep the note; then both come back by themselves.
    win.session().RefreshStatus();
    QCOMPARE(bar->ShownText(11), QString::fromUtf8("コピーしました"));
    QTRY_VERIFY_WITH_TIMEOUT(!bar->PanelSunken(6), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(bar->ShownText(11), bar->PanelText(11), 4000);
    // F7 copies in a mode that disables the File menu.
    win.session().PushInputMode(kModeScribble);
    win.session().RefreshStatus();
    QApplication::clipboard()->clear();
    win.ActionNamed("mnufBMP")->trigger();
    QVERIFY(!QApplication::clipboard()->image().isNull());
  }

  void LongPanelTextsEndInAnEllipsisAndShowWholeAsTooltip() {
    KVStatus1 bar;
    bar.resize(400, 24);
    bar.show();
    const QString name = "a_figure_with_a_really_long_name_for_a_narrow_panel.kv4";
    bar.SetPanel(2, name, false, false);
    StatusPanelLabel* label = bar.PanelLabel(2);
    QVERIFY(label->Elided());
    QVERIFY(label->text().endsWith(QChar(0x2026)));
    QCOMPARE(label->toolTip(), name);
    QCOMPARE(bar.PanelText(2), name);
    bar.resize(6000, 24);
    QTRY_VERIFY(!label->Elided());
    QCOMPARE(label->text(), name);
  }

  void SaveDialogNeverOpensWhereTheUserCannotWrite() {
    const auto writable = [](const QString& path) { return path.startsWith("/home/u"); };
    const QString docs = WritableDocumentsFolder();
    const struct {
      const char *folder, *preset, *wantFolder, *wantFile;
    } cases[] = {
        // A figure from the installed samples: the user's documents, the sample's name.
        {"/usr/share/korvane/samples", "/usr/share/korvane/samples/euler_line.kv4", nullptr,
         "euler_line.kv4"},
        // A figure of the user's: beside it.
        {"/usr/share/korvane/samples", "/home/u/class/a.kv4", "/home/u/class",
         "/home/u/class/a.kv4"},
        // A new figure: the data folder when it can be written, no name proposed.
        {"/home/u/figures", "untitled", "/home/u/figures", ""},
        {"/usr/share/korvane/samples", "untitled", nullptr, ""},
        {"", "untitled", nullptr, ""},
    };
    for (const auto& c : cases) {
      const SavePlace place = SavePlaceFor(c.folder, c.preset, writable);
      QCOMPARE(place.folder, c.wantFolder ? QString(c.wantFolder) : docs);
      QCOMPARE(place.file, QString(c.wantFile));
    }
  }

  void AboutBoxIsWideEnoughForItsTitle() {
    StartedWindow w;
    WithModal([&] { w.window.ShowAbout(); },
              [&](QWidget* box) {
                const int title = box->fontMetrics().horizontalAdvance(box->windowTitle());
                QVERIFY2(box->width() >= title + 100,
                         qPrintable(QString("%1 < %2").arg(box->width()).arg(title)));
              });
  }
};

int RunDesktopTest(int argc, char** argv) {
  DesktopTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace kv

#include "desktop_test.moc"
