// The main window: widgets, menus, and the Qt side of the session's port.
#include "ui/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopServices>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

#include "ui/canvas_widget.h"
#include "ui/status_bar.h"

namespace kv {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

}  // namespace

int TwipsToPixels(int twips, double dotsPerInch) {
  return static_cast<int>(std::lround(twips * dotsPerInch / 1440.0));
}

KVwin::KVwin(QWidget* parent) : QMainWindow(parent), session_(*this) {
  setObjectName("KVwin");
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  canvas_ = new CanvasWidget(session_, central);
  status_ = new KVStatus1(central);
  layout->addWidget(canvas_, 1);
  layout->addWidget(status_);
  setCentralWidget(central);
  canvas_->setMinimumSize(40, 40);
  resize(kDesignWidth, kDesignHeight + 60);

  replayTimer_.setObjectName("ReplayTimer");
  connect(&replayTimer_, &QTimer::timeout, this, [this] { session_.TimerTick(); });
  connect(status_, &KVStatus1::PanelClicked, this, [this](int n) { session_.StatusPanelClick(n); });
  connect(status_, &KVStatus1::PanelDoubleClicked, this,
          [this](int n) { session_.StatusPanelDoubleClick(n); });
  BuildMenus();
}

KVwin::~KVwin() = default;

void KVwin::Start(const std::string& programFolder, const std::string& commandLine) {
  Session::StartupArgs args;
  args.programFolder = programFolder;
  args.commandLine = commandLine;
  args.canvasWidth = canvas_->width();
  args.canvasHeight = canvas_->height();
  session_.Startup(args);
  canvas_->setFocus();
}

// --- Menus ---

QMenu* KVwin::AddMenu(QMenu* parent, const char* name, const char* caption) {
  QMenu* menu = parent ? parent->addMenu(QString::fromUtf8(caption))
                       : menuBar()->addMenu(QString::fromUtf8(caption));
  menu->setObjectName(name);
  menu->menuAction()->setObjectName(name);
  japaneseCaptions_[menu->menuAction()] = QString::fromUtf8(caption);
  return menu;
}

QAction* KVwin::AddItem(QMenu* menu, const char* name, const char* caption,
                        const QKeySequence& keys, std::function<void()> action) {
  QAction* item = menu->addAction(QString::fromUtf8(caption));
  item->setObjectName(name);
  if (!keys.isEmpty()) item->setShortcut(keys);
  japaneseCaptions_[item] = QString::fromUtf8(caption);
  if (action) {
    connect(item, &QAction::triggered, this, std::move(action));
  } else {
    item->setEnabled(false);
  }
  return item;
}

void KVwin::BuildMenus() {
  QMenu* file = AddMenu(nullptr, "mnuFile", "ﾌｧｲﾙ");
  AddItem(file, "mnuEasyMenu", "メニュー切り換え(フル/簡易)", QKeySequence("Ctrl+X"),
          [this] { session_.ToggleMenuMode(); });
  AddItem(file, "mnuExit", "終了", QKeySequence("Ctrl+Q"), [this] { session_.Shutdown(); });
  AddMenu(nullptr, "mnuDeform", "変形");
  AddMenu(nullptr, "mnuConstruction", "作図(継続)");
  AddMenu(nullptr, "mnuMeasure", "測定");
  AddMenu(nullptr, "mnuZoom", "ｽﾞｰﾑ");
  AddMenu(nullptr, "mnuLocus", "軌跡");
  QMenu* option = AddMenu(nullptr, "mnuOption", "ｵﾌﾟｼｮﾝ");
  QMenu* sdeform = AddMenu(option, "mnuOSDeform", "Shift + 変形の動作");
  AddItem(sdeform, "mnuOSDeformLC", "近接直線/円へ", {},
          [this] { session_.ChooseShiftDragKind(1); });
  AddItem(sdeform, "mnuOSDeformL", "近接直線へ", {}, [this] { session_.ChooseShiftDragKind(2); });
  AddItem(sdeform, "mnuOSDeformCross", "格子点へ", {}, [this] { session_.ChooseShiftDragKind(3); });
  QMenu* speed = AddMenu(option, "mnuRedrawslowOption", "作図再生の速度");
  AddItem(speed, "mnuRedrawslowOption_01", "速く(0.2秒)", {},
          [this] { session_.SetReplayInterval(200); });
  AddItem(speed, "mnuRedrawslowOption_03", "標準(0.5秒)", {},
          [this] { session_.SetReplayInterval(500); });
  AddItem(speed, "mnuRedrawslowOption_05", "遅く(1秒)", {},
          [this] { session_.SetReplayInterval(1000); });
  AddMenu(nullptr, "mnuEdit", "編集");
  QMenu* help = AddMenu(nullptr, "mnuHelp", "ﾍﾙﾌﾟ");
  AddItem(help, "mnuHmanual", "ヘルプ(マニュアル)", QKeySequence("F1"),
          [this] { session_.OpenHelp(); });
  AddItem(help, "mnuFigData_Redraw", "作図手続きの再生", QKeySequence("Ctrl+F1"),
          [this] { session_.StartReplay(); });
  AddItem(help, "mnuEcallHis", "call history", {}, [this] { session_.ShowCallHistory(); });
  AddItem(help, "mnuVersion", "バージョン", {}, [this] { ShowAbout(); });
  AddMenu(nullptr, "mnuLanguage", "Language");

  // The object menu of a right click; never shown in the bar.
  objectMenu_ = new QMenu(this);
  objectMenu_->setObjectName("mnuEdit2_point");
  AddItem(objectMenu_, "mnuEdit2_point_Edit", "編集", {}, nullptr);
  AddItem(objectMenu_, "mnuEdit2_point_Bounded", "編集(束縛条件)", {}, nullptr);
  AddItem(objectMenu_, "mnuEdit2_point_Set_Free", "フリーにする", {}, nullptr);
  AddItem(objectMenu_, "mnuEdit2_point_Deform", "キーボードで変形", {}, nullptr);
}

QMenu* KVwin::MenuNamed(const QString& name) const { return findChild<QMenu*>(name); }

QAction* KVwin::ActionNamed(const QString& name) const {
  for (QAction* a : findChildren<QAction*>())
    if (a->objectName() == name) return a;
  return nullptr;
}

void KVwin::ApplyTopMenuEnabling() {
  const TopMenuEnabling& m = session_.TopMenus();
  const std::pair<const char*, bool> items[] = {
      {"mnuFile", m.file},       {"mnuDeform", m.deform}, {"mnuConstruction", m.construction},
      {"mnuMeasure", m.measure}, {"mnuOption", m.option}, {"mnuEdit", m.edit},
      {"mnuHelp", m.help},       {"mnuZoom", m.zoom},     {"mnuLocus", m.locus}};
  for (const auto& [name, enabled] : items)
    if (QMenu* menu = MenuNamed(name)) menu->menuAction()->setEnabled(enabled);
}

void KVwin::Recaption() {
  for (const auto& [object, japanese] : japaneseCaptions_)
    if (auto* action = qobject_cast<QAction*>(object)) action->setText(Q(session_.Tr(S(japanese))));
}

// --- UiPort ---

void KVwin::MessageOk(std::string_view text, std::string_view title) {
  QMessageBox::information(this, Q(title), Q(text), QMessageBox::Ok);
}

bool KVwin::MessageOkCancel(std::string_view text, std::string_view title) {
  return QMessageBox::question(this, Q(title), Q(text), QMessageBox::Ok | QMessageBox::Cancel) ==
         QMessageBox::Ok;
}

std::optional<std::string> KVwin::InputBox(std::string_view prompt, std::string_view title,
                                           std::string_view defaultText) {
  bool ok = false;
  QString text =
      QInputDialog::getText(this, Q(title), Q(prompt), QLineEdit::Normal, Q(defaultText), &ok);
  if (!ok) return std::nullopt;
  return S(text);
}

void KVwin::Beep() { QApplication::beep(); }

void KVwin::OpenWithSystem(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)));
}

void KVwin::StatusChanged() {
  setWindowTitle(Q(session_.Caption()));
  for (int n = 1; n <= kStatusPanelCount; ++n) {
    const StatusPanel& p = session_.Panel(n);
    status_->SetPanel(n, Q(p.text), p.sunken, p.raised);
  }
  ApplyTopMenuEnabling();
}

void KVwin::RequestRepaint() { canvas_->update(); }

void KVwin::StartTimer(int intervalMs) { replayTimer_.start(intervalMs); }
void KVwin::StopTimer() { replayTimer_.stop(); }

void KVwin::ApplyLanguage() { Recaption(); }

void KVwin::LayOutStatusPanels() { status_->show(); }

void KVwin::ApplyWindowSize(int widthTwips, int heightTwips, int windowState) {
  if (windowState == 2) {
    showMaximized();
    return;
  }
  if (widthTwips < 301 || heightTwips < 301) return;
  QScreen* s = screen();
  const double dpiX = s ? s->logicalDotsPerInchX() : 96.0;
  const double dpiY = s ? s->logicalDotsPerInchY() : 96.0;
  resize(TwipsToPixels(widthTwips, dpiX), TwipsToPixels(heightTwips, dpiY));
}

void KVwin::ApplyMenuMode(bool /*easy*/) {}

void KVwin::SetMeasurementRecordsVisible(bool visible) {
  if (QAction* a = ActionNamed("mnuLocusNumCSV")) a->setVisible(visible);
}

void KVwin::CopyCanvasToClipboard() {
  QApplication::clipboard()->setImage(canvas_->grab().toImage());
}

std::optional<uint32_t> KVwin::ChooseColour(uint32_t initial) {
  QColor c = QColorDialog::getColor(
      QColor((initial >> 16) & 0xFF, (initial >> 8) & 0xFF, initial & 0xFF), this);
  if (!c.isValid()) return std::nullopt;
  return (uint32_t(c.red()) << 16) | (uint32_t(c.green()) << 8) | uint32_t(c.blue());
}

void KVwin::PopupObjectMenu() {
  const ObjectMenuState& m = session_.ObjectMenu();
  if (QAction* a = ActionNamed("mnuEdit2_point_Edit")) a->setText(Q(m.editCaption));
  const std::tuple<const char*, bool, const std::string*> items[] = {
      {"mnuEdit2_point_Bounded", m.boundedVisible, &m.boundedCaption},
      {"mnuEdit2_point_Set_Free", m.setFreeVisible, &m.setFreeCaption},
      {"mnuEdit2_point_Deform", m.deformVisible, &m.deformCaption}};
  for (const auto& [name, visible, caption] : items) {
    if (QAction* a = ActionNamed(name)) {
      a->setVisible(visible);
      if (visible) a->setText(Q(*caption));
    }
  }
  objectMenu_->popup(QCursor::pos());
}

void KVwin::ShowTextWindow(std::string_view title, std::string_view text) {
  auto* view = findChild<QPlainTextEdit*>("KVDataView");
  if (!view) {
    view = new QPlainTextEdit(this);
    view->setObjectName("KVDataView");
    view->setWindowFlag(Qt::Window);
    view->setReadOnly(true);
    view->resize(420, 360);
  }
  view->setWindowTitle(Q(title));
  view->setPlainText(Q(text));
  view->show();
}

void KVwin::ShowAbout() {
  QMessageBox box(this);
  box.setObjectName("KVAbout");
  box.setWindowTitle(Q(session_.Tr("バージョン")));
  box.setText(Q(std::string(kProgramTitle) + " " + std::to_string(kVersionMajor) + "." +
                std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision)));
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

void KVwin::Quit() {
  quitting_ = true;
  hide();
  QCoreApplication::quit();
}

void KVwin::closeEvent(QCloseEvent* event) {
  if (!quitting_) session_.Shutdown();
  event->accept();
}

}  // namespace kv
