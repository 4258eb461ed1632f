// The data viewer window on the real main window (offscreen).
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "ui/main_window.h"
#include "ui/text_viewer.h"
#include "ui_test_main.h"

namespace kv {

class TextViewerWindowTest : public QObject {
  Q_OBJECT

 private:
  static void StartFull(KVwin& w, const QTemporaryDir& dir) {
    std::ofstream((dir.path() + "/config_kvwin.txt").toStdString()) << "KVwin_MenuMode = 0\r\n";
    w.show();
    w.Start(dir.path().toStdString(), "");
  }

 private slots:
  void ReportOfAnEmptyFigureWithoutModeMenu() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    w.ActionNamed("mnuEditFigDataView")->trigger();
    TextViewer* v = w.textViewer();
    QVERIFY(v && v->isVisible());
    QCOMPARE(v->windowTitle(), QString::fromUtf8("作図手続きと幾何的対象のデータ"));
    const QStringList lines = v->text()->toPlainText().split('\n');
    QCOMPARE(lines.front(), QString("FileName : untitled"));
    QCOMPARE(lines[1], QString::fromUtf8("作図手続き数 :  0"));
    QVERIFY(lines.contains(QString::fromUtf8("円   :  0")));
    QCOMPARE(lines[lines.size() - 2], QString::fromUtf8("以上"));
    QVERIFY(!v->ModeMenu()->menuAction()->isVisible());
    v->Action(ViewerCommand::mnuClear)->trigger();
    QVERIFY(v->text()->toPlainText().isEmpty());
    v->Action(ViewerCommand::mnuExit)->trigger();
    QVERIFY(!v->isVisible());
  }

  void MatrixModesFromTheViewerMenu() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    QVERIFY(w.session().OpenFigure(std::string(KV_SOURCE_DIR) + "/samples/linear_map.kv4"));
    w.ActionNamed("mnuPTmatrixSW")->trigger();
    QVERIFY(w.ActionNamed("mnuPTmatrixSW")->isChecked());
    TextViewer* v = w.textViewer();
    QVERIFY(v && v->isVisible());
    QCOMPARE(v->windowTitle(), QString::fromUtf8("変換の表現行列"));
    QVERIFY(v->ModeMenu()->menuAction()->isVisible());
    QVERIFY(v->Action(ViewerCommand::mnuModeOverwrite)->isChecked());
    v->Action(ViewerCommand::mnuModeAppend)->trigger();
    QVERIFY(v->Action(ViewerCommand::mnuModeAppend)->isChecked());
    QVERIFY(!v->Action(ViewerCommand::mnuModeOverwrite)->isChecked());
    w.session().RedrawAll();
    QCOMPARE(v->text()->toPlainText().count("M="), 2);
    QVERIFY(v->text()->toPlainText().contains(QString(20, '-')));
    v->Action(ViewerCommand::mnuDispMatrixSWOff)->trigger();
    QVERIFY(!v->isVisible());
    QVERIFY(!w.ActionNamed("mnuPTmatrixSW")->isChecked());
  }
};

int RunTextViewerWindowTest(int argc, char** argv) {
  TextViewerWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace kv

#include "text_viewer_window_test.moc"
