// Canvas pictures, printing and closing with unsaved work, on the real window (offscreen).
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <functional>

#include "ui/canvas_widget.h"
#include "ui/main_window.h"
#include "ui/model_dialog.h"
#include "ui/status_bar.h"
#include "ui_test_main.h"

namespace kv {

namespace fs = std::filesystem;

class CanvasImagesWindowTest : public QObject {
  Q_OBJECT

 private:
  static QSize SizeOf(const QWidget& w, int widthTwips, int heightTwips) {
    const QScreen* s = w.screen();
    return QSize(TwipsToPixels(widthTwips, s->logicalDotsPerInchX()),
                 TwipsToPixels(heightTwips, s->logicalDotsPerInchY()));
  }
  static void StartFull(KVwin& w, const QTemporaryDir& dir) {
    std::ofstream((dir.path() + "/config_kvwin.txt").toStdString()) << "KVwin_MenuMode = 0\r\n";
    w.show();
    w.Start(dir.path().toStdString(), "");
  }
  // Answers the next message box that opens with `button` (or its default button).
  static void AnswerNextBox(QMessageBox::StandardButton button, QString* text = nullptr) {
    QTimer::singleShot(0, [=] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) {
        AnswerNextBox(button, text);
        return;
      }
      if (text) *text = box->text();
      QAbstractButton* b = box->button(button);
      // A three-button question has its own captions: Save is the yes role, Discard the no role.
      const QMessageBox::ButtonRole role = button == QMessageBox::Save ? QMessageBox::YesRole
                                           : button == QMessageBox::Discard
                                               ? QMessageBox::NoRole
                                               : QMessageBox::RejectRole;
      for (QAbstractButton* candidate : box->buttons())
        if (!b && box->buttonRole(candidate) == role) b = candidate;
      if (b)
        b->click();
      else
        box->accept();
    });
  }
  static std::string Sample(const char* name) {
    return std::string(KV_SOURCE_DIR) + "/samples/" + name;
  }

 private slots:
  void ThumbnailCycleRestoresSizeFontMenusAndZoom() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    const QSize before = w.size();
    const double scale = w.session().ScaleUnit();
    const std::string font = w.session().draw.fontName;
    const double fontSize = w.session().draw.fontSize;
    QAction* deform = w.ActionNamed("mnuDeform");
    QAction* language = w.ActionNamed("mnuLanguage");
    QVERIFY(deform->isVisible());

    w.ActionNamed("mnuOWindowMini")->trigger();
    QCOMPARE(w.size(), SizeOf(w, 7000, 4900));
    QCOMPARE(QApplication::clipboard()->image().size(), w.canvas()->size());
    QCOMPARE(w.ActionNamed("mnuOWindowMini")->text(), QString::fromUtf8("1/2縮小表示"));
    w.ActionNamed("mnuOWindowMini")->trigger();
    w.ActionNamed("mnuOWindowMini")->trigger();
    QVERIFY(!deform->isVisible());
    QVERIFY(!w.statusPanels()->isVisible());
    w.ActionNamed("mnuOWindowMini")->trigger();
    QVERIFY(!language->isVisible());
    w.ActionNamed("mnuOWindowMini")->trigger();

    QCOMPARE(w.session().ThumbnailState(), 0);
    QCOMPARE(w.size(), before);
    QCOMPARE(w.session().ScaleUnit(), scale);
    QCOMPARE(w.session().draw.fontName, font);
    QCOMPARE(w.session().draw.fontSize, fontSize);
    QVERIFY(deform->isVisible());
    QVERIFY(language->isVisible());
    QVERIFY(w.statusPanels()->isVisible());
  }

  void ClipboardHoldsExactlyTheCanvas() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    QVERIFY(w.session().OpenFigure(Sample("circumcircle.kv4")));
    w.ActionNamed("mnufBMP")->trigger();
    const QImage copied = QApplication::clipboard()->image();
    QCOMPARE(copied.size(), w.canvas()->size());
    QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
             w.CanvasPicture().convertToFormat(QImage::Format_RGB32));
  }

  void FolderExportWritesOneBitmapPerFigure() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    const fs::path figures = fs::path(dir.path().toStdString()) / "figures";
    fs::create_directories(figures);
    fs::copy_file(Sample("circumcircle.kv4"), figures / "a.kv4");
    fs::copy_file(Sample("euler_line.kv4"), figures / "b.kv4");
    QVERIFY(w.session().OpenFigure((figures / "a.kv4").string()));
    QString report;
    AnswerNextBox(QMessageBox::Ok, &report);
    w.ActionNamed("mnuHmakeAllBmp")->trigger();
    QVERIFY(fs::exists(figures / "bmp" / "a.bmp"));
    QVERIFY(fs::exists(figures / "bmp" / "b.bmp"));
    QVERIFY(report.contains("2"));
    // The last figure stays open.
    QCOMPARE(w.statusPanels()->PanelText(2), QString("b.kv4"));
    const QImage bitmap(QString::fromStdString((figures / "bmp" / "b.bmp").string()));
    // The canvas's size (the status bar may settle its height by a few pixels afterwards).
    QCOMPARE(bitmap.width(), w.canvas()->width());
    QVERIFY(std::abs(bitmap.height() - w.canvas()->height()) <= 8);
  }

  void PrintsTheWindowToAPdfFile() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    QVERIFY(w.session().OpenFigure(Sample("circumcircle.kv4")));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.path() + "/print.pdf";
    printer.setOutputFileName(pdf);
    QVERIFY(w.PrintWindowOn(printer));
    QVERIFY(QFileInfo(pdf).size() > 1000);
  }

  void ExportsTheCanvasAsSvg() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    QVERIFY(w.session().OpenFigure(Sample("circumcircle.kv4")));
    const std::string svg = dir.path().toStdString() + "/sheet.svg";
    QCOMPARE(w.ExportPicture(svg), std::string());
    QFile file(QString::fromStdString(svg));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("<svg"));
  }

  void AttributeDialogShowsTheModelAndWritesOnOk() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    QVERIFY(w.session().OpenFigure(Sample("circumcircle.kv4")));
    // The dialog opens window-modal and stays open until its OK.
    w.session().OpenObjectMenu({kClassCircle, 1});
    w.ActionNamed("mnuEdit2_point_Edit")->trigger();
    QDialog* view = w.OpenModelDialog();
    QVERIFY(view);
    QCOMPARE(view->objectName(), QString("CircleAttribute"));
    QCOMPARE(view->windowTitle(), QString::fromUtf8("円の属性の設定"));
    auto* colour = view->findChild<QComboBox*>("ComboClr");
    QVERIFY(colour);
    QVERIFY(!view->findChild<QComboBox*>("ComboKind")->isVisibleTo(view));
    colour->setCurrentIndex(4);  // "青"
    view->findChild<QPushButton*>("CommandOK")->click();
    QVERIFY(!w.OpenModelDialog());
    QCOMPARE(w.session().figure.circles[1].colour, 4);
    QCOMPARE(w.session().CurrentInputMode(), int16_t{kModeStandard});
    QVERIFY(w.windowTitle().startsWith("*"));
  }

  // Each caption stands beside its choice; a constructed point has no drag-permission row.
  void PointDialogPairsEachCaptionWithItsChoice() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    QVERIFY(w.session().OpenFigure(Sample("circumcircle.kv4")));
    for (int point : {1, 4}) {
      w.session().OpenObjectMenu({kClassPoint, point});
      w.ActionNamed("mnuEdit2_point_Edit")->trigger();
      QDialog* view = w.OpenModelDialog();
      QVERIFY(view);
      auto* caption = view->findChild<QLabel*>("LabelIndependent");
      auto* choice = view->findChild<QComboBox*>("ComboIndependent");
      QVERIFY(caption && choice);
      QCOMPARE(caption->buddy(), choice);
      const bool free = point == 1;
      QCOMPARE(caption->isVisibleTo(view), free);
      QCOMPARE(choice->isVisibleTo(view), free);
      if (free) QCOMPARE(choice->currentText(), QString::fromUtf8("可能"));
      view->findChild<QPushButton*>("CommandCancel")->click();
      QVERIFY(!w.OpenModelDialog());
    }
  }

  // A measurement shows its value read-only and its show / hide choice pressed; a variable's
  // value can be typed.
  void NumberDialogShowsWhatCanBeChanged() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    QVERIFY(w.session().OpenFigure(Sample("expression_inradius.kv4")));
    // Number 1 is the length AB, number 6 the variable 2.
    for (int number : {1, 6}) {
      w.ActionNamed("mnuEbasicNum")->trigger();
      QVERIFY(w.OpenModelDialog());
      QVERIFY(w.session().DialogSelect("NumList", number));
      w.OpenModelDialog()->findChild<QPushButton*>("Cmd_OK")->click();
      ModelDialog* view = w.OpenModelDialog();
      QVERIFY(view);
      QCOMPARE(view->objectName(), QString("NumAttribute"));
      const bool variable = number == 6;
      QCOMPARE(view->findChild<QLineEdit*>("TextVal")->isReadOnly(), !variable);
      auto* show = view->findChild<QPushButton*>("OptionVisible");
      auto* hide = view->findChild<QPushButton*>("OptionNotVisible");
      QVERIFY(show->isChecked() && !hide->isChecked());
      hide->click();
      QVERIFY(!show->isChecked() && hide->isChecked());
      view->findChild<QPushButton*>("CommandCancel")->click();
      QVERIFY(!w.OpenModelDialog());
    }
    QCOMPARE(w.session().figure.numbers[1].hidden, 0);
  }

  void ClosingWithUnsavedWorkAsksAndCancelKeepsTheWindow() {
    QTemporaryDir dir;
    KVwin w;
    StartFull(w, dir);
    QVERIFY(w.session().OpenFigure(Sample("circumcircle.kv4")));
    QVERIFY(!w.windowTitle().startsWith("*"));
    w.session().figure.points[1].x += 1;
    w.session().RefreshStatus();
    QVERIFY(w.windowTitle().startsWith("*"));
    const int32_t steps = w.session().figure.StepCount();

    QString question;
    AnswerNextBox(QMessageBox::Cancel, &question);
    w.close();
    QVERIFY(w.isVisible());
    QCOMPARE(question, QString::fromUtf8("この図は保存されていません。保存しますか。"));
    QCOMPARE(w.session().figure.StepCount(), steps);

    AnswerNextBox(QMessageBox::Discard);
    w.close();
    QVERIFY(!w.isVisible());
  }
};

int RunCanvasImagesWindowTest(int argc, char** argv) {
  CanvasImagesWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace kv

#include "canvas_images_window_test.moc"
