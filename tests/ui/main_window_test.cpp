// The main window under the offscreen platform: start-up, status bar, menu enabling by mode,
// events converted to world coordinates.
#include "ui/main_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "qtcanvas/qt_canvas.h"
#include "ui/canvas_widget.h"
#include "ui/model_dialog.h"
#include "ui/status_bar.h"
#include "ui_test_main.h"

namespace kv {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  static QSize ExpectedSize(const QWidget& w, int widthTwips, int heightTwips) {
    const QScreen* s = w.screen();
    return QSize(TwipsToPixels(widthTwips, s->logicalDotsPerInchX()),
                 TwipsToPixels(heightTwips, s->logicalDotsPerInchY()));
  }

  // Starts a window in `dir` with the full menu.
  static void StartFull(KVwin& w, const QTemporaryDir& dir) {
    std::ofstream((dir.path() + "/config_kvwin.txt").toStdString()) << "KVwin_MenuMode = 0\r\n";
    w.show();
    w.Start(dir.path().toStdString(), "");
  }

  static bool MenuEnabled(KVwin& w, const char* name) {
    QMenu* menu = w.MenuNamed(name);
    return menu && menu->menuAction()->isEnabled();
  }

 private slots:
  void StartsWithoutSettingsFile() {
    QTemporaryDir dir;
    KVwin w;
    w.show();
    w.Start(dir.path().toStdString(), "");
    QCOMPARE(w.windowTitle(), QString("[untitled] Korvane Win 1.0.0"));
    QCOMPARE(w.statusPanels()->PanelText(1), QString::fromUtf8("標準"));
    QCOMPARE(w.statusPanels()->PanelText(2), QString("untitled"));
    QCOMPARE(w.statusPanels()->PanelText(5), QString("Marker"));
    QCOMPARE(w.session().CurrentInputMode(), int16_t{kModeStandard});
    // No saved size: the design size stays.
    QCOMPARE(w.size(), ExpectedSize(w, kStandardWindowWidthTwips, kStandardWindowHeightTwips));
    QCOMPARE(w.session().settings.delta, 10);
    QCOMPARE(w.session().ReplayIntervalMs(), 500);
    QCOMPARE(w.session().draw.fontName, std::string("FixedSys"));
    QVERIFY(w.ActionNamed("mnuLocusNumCSV")->isVisible());
    // The menus both menu modes show are enabled in the standard mode.
    for (const char* name : {"mnuFile", "mnuHelp", "mnuZoom", "mnuLocus"})
      QVERIFY2(MenuEnabled(w, name), name);
  }

  void StartsWithSettingsFile() {
    QTemporaryDir dir;
    {
      std::ofstream out((dir.path() + "/config_kvwin.txt").toStdString(), std::ios::binary);
      out << "delta = 5\r\nKVwin.Width = 9600\r\nKVwin.Height = 7200\r\n"
             "KVwin_MenuMode = -1\r\nKVwin_Language = English\r\nSDeformKind = 2\r\n"
             "KVwin_Redraw_Slow = 200\r\nKVwin.BackColor = 255\r\n";
    }
    KVwin w;
    w.show();
    w.Start(dir.path().toStdString(), "");
    // Settings first, then the language, the status, the window size and the menu mode.
    QCOMPARE(w.session().settings.delta, 5);
    QCOMPARE(w.statusPanels()->PanelText(1), QString("standard"));
    QCOMPARE(w.size(), ExpectedSize(w, 9600, 7200));
    QVERIFY(w.session().EasyMenu());
    QVERIFY(!w.ActionNamed("mnuConstruction")->isVisible());
    QVERIFY(w.ActionNamed("mnuEasyConst")->isVisible());
    QVERIFY(w.ActionNamed("mnuOSDeformCross")->isChecked());
    QVERIFY(w.ActionNamed("mnuRedrawslowOption_01")->isChecked());
    QVERIFY(w.ActionNamed("mnuOMenu_easy")->isChecked());
    QVERIFY(w.ActionNamed("mnuFile")->text() != QString::fromUtf8("ﾌｧｲﾙ"));
    QCOMPARE(w.session().draw.background, (Rgb{255, 0, 0}));
  }

  void SavedWindowSizesBelowTheMinimumAreIgnored() {
    QTemporaryDir dir;
    {
      std::ofstream out((dir.path() + "/config_kvwin.txt").toStdString(), std::ios::binary);
      out << "KVwin.Width = 300\r\nKVwin.Height = 9000\r\n";
    }
    KVwin w;
    w.show();
    w.Start(dir.path().toStdString(), "");
    QCOMPARE(w.size(), ExpectedSize(w, kStandardWindowWidthTwips, kStandardWindowHeightTwips));
  }

  void MenusFollowTheModeStack() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    Session& s = w.session();
    struct Case {
      int16_t mode;
      const char* text;
      bool file, option, help, locus;
    } cases[] = {{kModeDrag, "ドラッグ", false, false, true, false},
                 {kModeDeform, "変形", false, true, true, true},
                 {kModeScribble, "Marker", false, false, false, false},
                 {kModeConstructSelect, "選択(作図中)", false, false, true, false}};
    for (const Case& c : cases) {
      s.PushInputMode(c.mode);
      s.RefreshStatus();
      QCOMPARE(w.statusPanels()->PanelText(1), QString::fromUtf8(c.text));
      QCOMPARE(MenuEnabled(w, "mnuFile"), c.file);
      QCOMPARE(MenuEnabled(w, "mnuOption"), c.option);
      QCOMPARE(MenuEnabled(w, "mnuHelp"), c.help);
      QCOMPARE(MenuEnabled(w, "mnuLocus"), c.locus);
      QCOMPARE(MenuEnabled(w, "mnuZoom"), c.mode != kModeScribble);
      s.PopInputMode();
      s.RefreshStatus();
      QVERIFY(MenuEnabled(w, "mnuFile"));
    }
  }

  void CanvasMapsPixelsToWorld() {
    QTemporaryDir dir;
    KVwin w;
    w.show();
    w.Start(dir.path().toStdString(), "");
    CanvasWidget* c = w.canvas();
    w.resize(641, 561);
    QCoreApplication::processEvents();
    // The centre pixel is the origin and one pixel is 0.05 units, y up.
    const double cw = c->width(), ch = c->height();
    const QPointF centre((cw - 1) / 2, (ch - 1) / 2);
    QVERIFY(qAbs(c->ToWorld(centre).x()) < 1e-12 && qAbs(c->ToWorld(centre).y()) < 1e-12);
    QCOMPARE(c->ToWorld(QPointF(0, 0)), QPointF(-(cw - 1) * 0.05 / 2, (ch - 1) * 0.05 / 2));
    QCOMPARE(c->ToWorld(centre + QPointF(20, 40)), QPointF(1, -2));

    // A right click with Shift outside standard mode is Shift+Esc: one pop.
    w.session().PushInputMode(kModeConstruct);
    QTest::mouseClick(c, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 10));
    QCOMPARE(w.session().CurrentInputMode(), int16_t{kModeStandard});
    QCOMPARE(w.session().LastPress().x, c->ToWorld(QPointF(10, 10)).x());

    // A double click is one press and its repetition: two pops, not three.
    for (int i = 0; i < 3; ++i) w.session().PushInputMode(kModeConstruct);
    // The platform delivers a double click as a press, a release and a double-click event.
    QTest::mouseClick(c, Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
    QTest::mouseDClick(c, Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
    QCOMPARE(w.session().Modes().Top(), 2);
    QCOMPARE(w.session().LastPress().y, c->ToWorld(QPointF(30, 40)).y());
  }

  // What the canvas shows during and after a drag, against a full paint of the same state.
  void DragPaintsWhatAFullPaintShows() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    w.resize(641, 561);
    QCoreApplication::processEvents();
    Session& s = w.session();
    Figure& fig = s.figure;
    auto freePoint = [&fig](double x, double y) {
      const int32_t p = fig.AllocObject(kClassPoint);
      fig.AppendStep("PNEW", {}, {{kClassPoint, p}});
      fig.points[p].x = x, fig.points[p].y = y;
      fig.points[p].valid = kTrue, fig.points[p].free = kTrue;
      return p;
    };
    // A moves with the segment AD; B, C, D and the segment BC stay.
    const int32_t a = freePoint(-5, 0), d = freePoint(-5, -5);
    const int32_t b = freePoint(5, 3), c = freePoint(5, -3);
    for (auto [p, q] : {std::pair{a, d}, std::pair{b, c}}) {
      const int32_t g = fig.AllocObject(kClassLine);
      fig.AppendStep("L1", {{kClassPoint, p}, {kClassPoint, q}}, {{kClassLine, g}});
      fig.lines[g].lineType = 1;
    }
    s.RedrawAll();
    CanvasWidget* canvas = w.canvas();
    auto pixel = [&s](double x, double y) {
      return QPointF(s.view.DeviceX(x), s.view.DeviceY(y)).toPoint();
    };
    auto fullPaint = [&] {
      QImage image(canvas->size(), QImage::Format_ARGB32_Premultiplied);
      QPainter painter(&image);
      QtCanvas qc(painter, canvas->width(), canvas->height(), canvas->logicalDpiY());
      Scene scene = s.MakeScene();
      scene.drag = nullptr;
      Renderer().Paint(scene, qc);
      return image;
    };
    auto shown = [&] {
      return canvas->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    auto move = [&](QPoint to) {
      QMouseEvent e(QEvent::MouseMove, QPointF(to), canvas->mapToGlobal(QPointF(to)), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(canvas, &e);
    };
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, pixel(-5, 0));
    QCOMPARE(s.CurrentInputMode(), int16_t{kModeDrag});
    for (int i = 1; i <= 4; ++i) {
      move(pixel(-5 + i, i));
      QVERIFY(s.ActiveDragPlan() != nullptr);
      // No trace of the earlier positions, nothing of the fixed objects lost.
      QCOMPARE(shown(), fullPaint());
    }
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, pixel(-1, 4));
    QCOMPARE(s.CurrentInputMode(), int16_t{kModeStandard});
    QCOMPARE(shown(), fullPaint());
  }

  void StatusPanelsReactToClicks() {
    QTemporaryDir dir;
    KVwin w;
    w.show();
    w.Start(dir.path().toStdString(), "");
    KVStatus1* bar = w.statusPanels();
    QTest::mouseClick(bar->PanelLabel(7), Qt::LeftButton);
    QCOMPARE(bar->PanelText(7), QString::fromUtf8("中"));
    QTest::mouseClick(bar->PanelLabel(8), Qt::LeftButton);
    QVERIFY(w.session().ShiftLock());
    QVERIFY(bar->PanelSunken(8));
    QTest::mouseDClick(bar->PanelLabel(8), Qt::LeftButton);
    QCOMPARE(bar->PanelText(8), QString::fromUtf8("→線"));
  }

  void ReplayRunsOnTheTimer() {
    QTemporaryDir dir;
    KVwin w;
    w.show();
    w.Start(dir.path().toStdString(), "");
    Figure& f = w.session().figure;
    for (int i = 0; i < 3; ++i) {
      int32_t p = f.AllocObject(kClassPoint);
      f.AppendStep("PNEW", {}, {{kClassPoint, p}});
    }
    int32_t c = f.AllocObject(kClassCircle);
    f.AppendStep("C3", {{kClassPoint, 1}, {kClassPoint, 2}, {kClassPoint, 3}}, {{kClassCircle, c}});
    int32_t l = f.AllocObject(kClassLine);
    f.AppendStep("L1", {{kClassPoint, 1}, {kClassPoint, 2}}, {{kClassLine, l}});
    w.session().SetReplayInterval(200);
    w.session().StartReplay();
    QVERIFY(w.replayTimer().isActive());
    QCOMPARE(w.replayTimer().interval(), 200);
    QCOMPARE(w.statusPanels()->PanelText(1), QString::fromUtf8("作図再生"));
    QVERIFY(!MenuEnabled(w, "mnuFile"));
    // Shortcuts of items under a disabled menu do nothing; the zoom stays usable.
    w.ActionNamed("mnuOAxis")->trigger();
    QVERIFY(!w.session().view.axissw);
    QVERIFY(!w.ActionNamed("mnuOAxis")->isChecked());
    w.ActionNamed("mnuZoomOut")->trigger();
    QCOMPARE(w.session().ScaleUnit(), 0.1);
    QVERIFY(w.session().Replay().active);
    QTRY_VERIFY_WITH_TIMEOUT(!w.session().Replay().active, 3000);
    QVERIFY(!w.replayTimer().isActive());
    QCOMPARE(w.session().CurrentInputMode(), int16_t{kModeStandard});
    QVERIFY(MenuEnabled(w, "mnuFile"));
  }

  void EasyAndFullMenusSwitchBack() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    QAction* construction = w.ActionNamed("mnuConstruction");
    QAction* easyConst = w.ActionNamed("mnuEasyConst");
    QAction* toggle = w.ActionNamed("mnuEasyMenu");
    QVERIFY(construction && easyConst && toggle);
    QVERIFY(construction->isVisible());
    QVERIFY(!easyConst->isVisible());
    QCOMPARE(toggle->text(), QString::fromUtf8("簡易メニューに"));
    toggle->trigger();
    QVERIFY(!construction->isVisible());
    QVERIFY(easyConst->isVisible());
    QVERIFY(!w.ActionNamed("mnuMerge")->isVisible());
    QCOMPARE(toggle->text(), QString::fromUtf8("フルメニューに"));
    toggle->trigger();
    QVERIFY(construction->isVisible());
    QVERIFY(!easyConst->isVisible());
    QVERIFY(w.ActionNamed("mnuMerge")->isVisible());
    // The object menu opens at the mouse only, never from the menu bar.
    QVERIFY(!w.MenuNamed("mnuEdit")->actions().contains(w.ActionNamed("mnuEdit2_point")));
  }

  void EnglishAndBackRestoresEveryCaption() {
    QTemporaryDir dir;
    KVwin w;
    w.show();
    w.Start(dir.path().toStdString(), "");
    QHash<QString, QString> japanese;
    for (const MenuItemInfo& row : MenuTree())
      japanese[QString::fromUtf8(row.name.data(), int(row.name.size()))] =
          w.ActionNamed(QString::fromUtf8(row.name.data(), int(row.name.size())))->text();
    w.session().SetLanguage(Language::kEnglish);
    QCOMPARE(w.ActionNamed("mnuZoomIn")->text(), QString("* 2"));
    QCOMPARE(w.ActionNamed("mnuExit")->text(),
             QString::fromUtf8(BuiltinEnglish("終了").data(), int(BuiltinEnglish("終了").size())));
    QVERIFY(w.ActionNamed("mnuExit")->text() != japanese["mnuExit"]);
    QCOMPARE(w.statusPanels()->PanelText(1), QString("standard"));
    w.session().SetLanguage(Language::kJapanese);
    for (auto it = japanese.begin(); it != japanese.end(); ++it)
      QCOMPARE(w.ActionNamed(it.key())->text(), it.value());
    QCOMPARE(w.statusPanels()->PanelText(1), QString::fromUtf8("標準"));
  }

  // The session's dialog models are shown by one widget: typing and clicking in it reach the
  // session, and the widget goes when the session ends the dialog.
  void DialogModelsAreShownAndDrivenThroughTheSession() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    // A point from two numbers typed into the number dialog: (2, 3).
    w.ActionNamed("mnuPxy")->trigger();
    for (const char* value : {"2", "3"}) {
      ModelDialog* dialog = w.OpenModelDialog();
      QVERIFY(dialog);
      QCOMPARE(dialog->objectName(), QString("KVSelNum"));
      auto* entry = dialog->findChild<QLineEdit*>("Text1");
      QVERIFY2(entry, value);
      // With a number listed, the dialog opens on its list; 新しい変数 opens the entry.
      if (!entry->isVisible())
        QTest::mouseClick(dialog->findChild<QPushButton*>("NewNum"), Qt::LeftButton);
      QVERIFY2(entry->isVisible(), value);
      entry->clear();
      QTest::keyClicks(entry, value);
      QCOMPARE(w.session().ActiveDialog()->Text("Text1"), std::string(value));
      QTest::mouseClick(dialog->findChild<QPushButton*>("NewNumOK"), Qt::LeftButton);
    }
    QVERIFY(!w.OpenModelDialog());
    QCOMPARE(int(w.session().CurrentInputMode()), int(kModeStandard));
    QCOMPARE(w.session().figure.classCount[kClassPoint], 1);
    QCOMPARE(w.session().figure.points[1].x, 2.0);
    QCOMPARE(w.session().figure.points[1].y, 3.0);

    // The expression dialog closes with its cancel button and leaves nothing behind.
    w.ActionNamed("mnuMcalc")->trigger();
    QVERIFY(w.OpenModelDialog());
    QCOMPARE(w.OpenModelDialog()->objectName(), QString("KVExpress"));
    QCOMPARE(w.statusPanels()->PanelText(1), QString::fromUtf8("数式入力"));
    // The working expression has its caption; the value check of a new number waits for one.
    ModelDialog* expression = w.OpenModelDialog();
    auto* title = expression->findChild<QLabel*>("LabelExpressTitle");
    QVERIFY(title && title->isVisibleTo(expression));
    QCOMPARE(title->text(), QString::fromUtf8("式:"));
    QVERIFY(!expression->findChild<QLabel*>("LabelNewNumCheck")->isVisibleTo(expression));
    QTest::mouseClick(expression->findChild<QPushButton*>("cmdAddNum"), Qt::LeftButton);
    QVERIFY(expression->findChild<QLabel*>("LabelNewNumCheck")->isVisibleTo(expression));
    QTest::mouseClick(w.OpenModelDialog()->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    QVERIFY(!w.OpenModelDialog());
    QVERIFY(!w.session().ActiveDialog());
    QCOMPARE(int(w.session().CurrentInputMode()), int(kModeStandard));
  }

  void TwipsFollowTheResolution() {
    QCOMPARE(TwipsToPixels(1440, 96), 96);
    QCOMPARE(TwipsToPixels(9600, 96), 640);
    QCOMPARE(TwipsToPixels(9600, 120), 800);
    QCOMPARE(TwipsToPixels(15, 96), 1);
    QCOMPARE(PixelsToTwips(640, 96), 9600);
    QCOMPARE(PixelsToTwips(TwipsToPixels(12000, 120), 120), 12000);
    const QStringList filters = NameFiltersOf("\xE3\x81\x99(*.*)|*.*|KV4(*.kv4)|*.kv4|Text|*.txt|");
    QCOMPARE(filters, (QStringList{QString::fromUtf8("す(*.*)"), "KV4(*.kv4)", "Text (*.txt)"}));
  }

  // A save dialog starts on the type of the suggested name and adds that type's extension to
  // a bare name: a picture typed as "sheet" must not become a figure file.
  void SaveDialogStartsOnTheTypeOfTheSuggestedName() {
    const QStringList figure = NameFiltersOf("\xE3\x81\x99(*.*)|*.*|KV4(*.kv4)|*.kv4|");
    const QStringList picture =
        NameFiltersOf("PNG(*.png)|*.png|SVG(*.svg)|*.svg|PDF(*.pdf)|*.pdf|");
    struct Case {
      const QStringList* filters;
      QString name;
      int filter;
      QString suffix;
    } cases[] = {{&picture, "nine.png", 0, "png"}, {&picture, "nine.SVG", 1, "svg"},
                 {&picture, "nine", 2, "pdf"},     {&picture, "nine.kv4", 2, "pdf"},
                 {&figure, "untitled", 1, "kv4"},  {&figure, "a.kv4", 1, "kv4"},
                 {&figure, "a.txt", 1, "kv4"}};
    for (const Case& c : cases) {
      const int index = SaveFilterFor(*c.filters, c.name);
      QCOMPARE(index, c.filter);
      QCOMPARE(DefaultSuffixOf((*c.filters)[index]), c.suffix);
    }
    QCOMPARE(DefaultSuffixOf(figure[0]), QString());
    QCOMPARE(SaveFilterFor({}, "x.png"), -1);
  }
};

}  // namespace kv

// Every test class of kvui_tests runs from here, one after another.
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  kv::MainWindowTest mainWindow;
  int failures = QTest::qExec(&mainWindow, argc, argv);
  failures += kv::RunLanguageDialogTest(argc, argv);
  failures += kv::RunCanvasImagesWindowTest(argc, argv);
  failures += kv::RunTextViewerWindowTest(argc, argv);
  failures += kv::RunDesktopTest(argc, argv);
  return failures;
}

#include "main_window_test.moc"
