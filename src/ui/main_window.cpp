// The main window: widgets, menus, and the Qt side of the session's port.
#include "ui/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QHelpEvent>
#include <QInputDialog>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSpacerItem>
#include <QStandardPaths>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "images/folder_bitmaps.h"
#include "images/picture_export.h"
#include "session/about_text.h"
#include "session/disabled_reason.h"
#include "ui/canvas_widget.h"
#include "ui/language_dialog.h"
#include "ui/menu_access_keys.h"
#include "ui/model_dialog.h"
#include "ui/status_bar.h"
#include "ui/text_viewer.h"

namespace kv {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

}  // namespace

int TwipsToPixels(int twips, double dotsPerInch) {
  return static_cast<int>(std::lround(twips * dotsPerInch / 1440.0));
}

int PixelsToTwips(int pixels, double dotsPerInch) {
  return dotsPerInch > 0 ? static_cast<int>(std::lround(pixels * 1440.0 / dotsPerInch)) : 0;
}

QString WritableDocumentsFolder() {
  for (auto location : {QStandardPaths::DocumentsLocation, QStandardPaths::HomeLocation}) {
    const QString folder = QStandardPaths::writableLocation(location);
    if (!folder.isEmpty() && QFileInfo(folder).isDir() && QFileInfo(folder).isWritable())
      return folder;
  }
  return QDir::homePath();
}

SavePlace SavePlaceFor(const QString& folder, const QString& presetName,
                       const std::function<bool(const QString&)>& writable) {
  // A figure opened from the installed samples would be saved where nobody can write: the
  // dialog opens on the user's documents instead, with the figure's name.
  const QFileInfo preset(presetName);
  if (preset.isAbsolute() && writable(preset.absolutePath()))
    return {preset.absolutePath(), presetName};
  SavePlace place{folder, preset.fileName()};
  if (place.file == "untitled") place.file.clear();
  if (place.folder.isEmpty() || !writable(place.folder)) place.folder = WritableDocumentsFolder();
  return place;
}

QStringList NameFiltersOf(const std::string& filter) {
  QStringList filters;
  const QStringList parts = QString::fromUtf8(filter.c_str()).split('|');
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) continue;
    // The description names its patterns already ("KV4(*.kv4)"); add them when it does not.
    filters << (parts[i].contains('(') ? parts[i] : parts[i] + " (" + parts[i + 1] + ")");
  }
  return filters;
}

int SaveFilterFor(const QStringList& filters, const QString& presetName) {
  const QString suffix = QFileInfo(presetName).suffix();
  if (!suffix.isEmpty()) {
    for (int i = 0; i < filters.size(); ++i)
      if (DefaultSuffixOf(filters[i]).compare(suffix, Qt::CaseInsensitive) == 0) return i;
  }
  return static_cast<int>(filters.size()) - 1;
}

QString DefaultSuffixOf(const QString& nameFilter) {
  const int star = nameFilter.indexOf("*.");
  if (star < 0) return {};
  QString suffix;
  for (int i = star + 2; i < nameFilter.size(); ++i) {
    const QChar c = nameFilter[i];
    if (!c.isLetterOrNumber()) break;
    suffix += c;
  }
  return suffix;
}

namespace {

QPointF ScreenDpi(const QWidget* w) {
  const QScreen* s = w->screen();
  return s ? QPointF(s->logicalDotsPerInchX(), s->logicalDotsPerInchY()) : QPointF(96, 96);
}

}  // namespace

namespace {

// Alt pressed and released alone moves to the menu bar, as desktop programs do, whatever the
// style says.
class MenuBarStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_MenuBar_AltKeyNavigation) return 1;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

}  // namespace

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
  const QPointF dpi = ScreenDpi(this);
  resize(TwipsToPixels(kStandardWindowWidthTwips, dpi.x()),
         TwipsToPixels(kStandardWindowHeightTwips, dpi.y()));

  replayTimer_.setObjectName("ReplayTimer");
  connect(&replayTimer_, &QTimer::timeout, this, [this] { session_.TimerTick(); });
  connect(status_, &KVStatus1::PanelClicked, this, [this](int n) { session_.StatusPanelClick(n); });
  connect(status_, &KVStatus1::PanelDoubleClicked, this,
          [this](int n) { session_.StatusPanelDoubleClick(n); });
  BuildMenus();
  // F10 reaches the menu bar as Alt does; the bar shows why a menu is disabled when hovered.
  auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
  connect(f10, &QShortcut::activated, this, &KVwin::OpenMenuBar);
  menuBar()->installEventFilter(this);
  auto* barStyle = new MenuBarStyle;
  barStyle->setParent(menuBar());
  menuBar()->setStyle(barStyle);
  desktopOpener_ = new DesktopOpener(this);
  desktopOpener_->failed = [this](const QString& file) { ReportOpenFailure(S(file), true); };
  urlOpener = [this](const QUrl& url) { return desktopOpener_->Open(url); };
}

KVwin::~KVwin() = default;

void KVwin::OpenMenuBar() {
  for (QAction* a : menuBar()->actions()) {
    if (a->isVisible() && a->isEnabled()) {
      menuBar()->setActiveAction(a);
      return;
    }
  }
}

bool KVwin::eventFilter(QObject* watched, QEvent* event) {
  if (watched == menuBar() && event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QAction* a = menuBar()->actionAt(help->pos());
    if (a && !a->isEnabled() && !a->toolTip().isEmpty()) {
      QToolTip::showText(help->globalPos(), a->toolTip(), menuBar());
    } else {
      QToolTip::hideText();
    }
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void KVwin::Start(const std::string& programFolder, const std::string& commandLine,
                  const std::string& shippedFolder) {
  Session::StartupArgs args;
  args.programFolder = programFolder;
  args.shippedFolder = shippedFolder;
  args.commandLine = commandLine;
  args.canvasWidth = canvas_->width();
  args.canvasHeight = canvas_->height();
  session_.Startup(args);
  canvas_->setFocus();
}

// --- Menus ---

void KVwin::BuildMenus() {
  for (const MenuItemInfo& row : MenuTree()) {
    const auto id = static_cast<size_t>(row.id);
    const QString name = Q(row.name);
    QMenu* parentMenu =
        row.parent == MenuCommand::kNone ? nullptr : menus_[static_cast<size_t>(row.parent)];
    QAction* action = nullptr;
    if (row.flags & kMenuPopupOnly) {
      // The object menu opens at the mouse; it never sits in the bar.
      menus_[id] = new QMenu(this);
      menus_[id]->setObjectName(name);
      action = menus_[id]->menuAction();
    } else if (HasSubmenu(row.id)) {
      if (parentMenu && (row.flags & kMenuSeparatorBefore)) parentMenu->addSeparator();
      menus_[id] = parentMenu ? parentMenu->addMenu(QString()) : menuBar()->addMenu(QString());
      menus_[id]->setObjectName(name);
      action = menus_[id]->menuAction();
    } else {
      if (parentMenu && (row.flags & kMenuSeparatorBefore)) parentMenu->addSeparator();
      action = parentMenu ? parentMenu->addAction(QString()) : menuBar()->addAction(QString());
      if (!row.shortcut.empty()) action->setShortcut(QKeySequence(Q(row.shortcut)));
      action->setCheckable((row.flags & kMenuCheckable) != 0);
      const MenuCommand cmd = row.id;
      connect(action, &QAction::triggered, this, [this, cmd] { OnCommand(cmd); });
      action->setEnabled(Session::Implements(cmd));
    }
    action->setObjectName(name);
    actions_[id] = action;
  }
  ApplyMenuMode(false);
}

bool KVwin::TopMenuEnabledFor(MenuCommand cmd) const {
  MenuCommand top = cmd;
  for (int depth = 0; depth < 8 && MenuInfo(top).parent != MenuCommand::kNone; ++depth)
    top = MenuInfo(top).parent;
  const QAction* a = actions_[static_cast<size_t>(top)];
  return !a || a->isEnabled();
}

void KVwin::OnCommand(MenuCommand cmd) {
  // A shortcut reaches its item even while the item's top-level menu is disabled by the mode;
  // it acts only when the menu would let it, except the canvas copy, which works in every mode
  // as its status panel does.
  if (cmd == MenuCommand::mnufBMP || TopMenuEnabledFor(cmd)) session_.Command(cmd);
  // A checkable item toggles its own mark when triggered; the session's marks decide.
  for (const auto& [item, checked] : session_.CheckMarks())
    if (QAction* a = actions_[static_cast<size_t>(item)]) a->setChecked(checked);
}

QMenu* KVwin::MenuNamed(const QString& name) const {
  auto cmd = FindMenuCommand(S(name));
  return cmd ? menus_[static_cast<size_t>(*cmd)] : nullptr;
}

QAction* KVwin::ActionNamed(const QString& name) const {
  auto cmd = FindMenuCommand(S(name));
  return cmd ? actions_[static_cast<size_t>(*cmd)] : nullptr;
}

void KVwin::ApplyTopMenuEnabling() {
  const TopMenuEnabling& m = session_.TopMenus();
  using M = MenuCommand;
  const std::pair<M, bool> items[] = {
      {M::mnuFile, m.file},       {M::mnuDeform, m.deform}, {M::mnuConstruction, m.construction},
      {M::mnuMeasure, m.measure}, {M::mnuOption, m.option}, {M::mnuEdit, m.edit},
      {M::mnuHelp, m.help},       {M::mnuZoom, m.zoom},     {M::mnuLocus, m.locus}};
  // A disabled menu says why, in its tooltip and status tip.
  const QString reason = Q(session_.Tr(DisabledReasonOf(session_.CurrentInputMode())));
  for (const auto& [cmd, enabled] : items) {
    if (QAction* a = actions_[static_cast<size_t>(cmd)]) {
      a->setEnabled(enabled);
      a->setToolTip(enabled ? QString() : reason);
      a->setStatusTip(enabled ? QString() : reason);
    }
  }
}

void KVwin::Recaption() {
  const int mode = session_.EasyMenu() ? kMenuModeEasy : kMenuModeFull;
  for (const MenuItemInfo& row : MenuTree())
    if (QAction* a = actions_[static_cast<size_t>(row.id)])
      a->setText(MenuText(Q(session_.Tr(MenuJapaneseCaption(row.id, mode))),
                          row.parent == MenuCommand::kNone ? AccessKeyOf(row.id) : 0));
  if (QAction* a = actions_[static_cast<size_t>(MenuCommand::mnuOWindowMini)])
    a->setText(Q(session_.ThumbnailMenuCaption()));
}

// --- UiPort ---

void KVwin::MessageOk(std::string_view text, std::string_view title) {
  QMessageBox::information(this, Q(title), Q(text), QMessageBox::Ok);
}

void KVwin::MessageWarning(std::string_view text, std::string_view title) {
  QMessageBox::warning(this, Q(title), Q(text), QMessageBox::Ok);
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
  // A page or file that cannot be shown is said so, with its path, so that the user can open
  // it by hand.
  const QString file = Q(path);
  if (!QFileInfo::exists(file)) {
    MessageWarning(session_.Tr("ファイルが見つかりません") + "\n" + path, kProgramTitle);
    return;
  }
  if (urlOpener && urlOpener(QUrl::fromLocalFile(file))) return;
  ReportOpenFailure(path, false);
}

void KVwin::ReportOpenFailure(const std::string& path, bool handlerStarted) {
  const QString file = Q(path);
  const bool page =
      file.endsWith(".htm", Qt::CaseInsensitive) || file.endsWith(".html", Qt::CaseInsensitive);
  std::string_view failure;
  if (handlerStarted) {
    // The desktop's handler started and then gave up: no program could show the file.
    failure = page ? "次のページを開けませんでした。" : "次のファイルを開けませんでした。";
  } else {
    failure = page ? "次のページを開くブラウザを起動できませんでした。"
                   : "次のファイルを開くプログラムを起動できませんでした。";
  }
  MessageWarning(session_.Tr(failure) + "\n" + path, kProgramTitle);
}

void KVwin::StatusChanged() {
  setWindowTitle(Q(session_.Caption()));
  for (int n = 1; n <= kStatusPanelCount; ++n) {
    const StatusPanel& p = session_.Panel(n);
    status_->SetPanel(n, Q(p.text), p.sunken, p.raised);
  }
  ApplyTopMenuEnabling();
  for (const auto& [cmd, checked] : session_.CheckMarks())
    if (QAction* a = actions_[static_cast<size_t>(cmd)]) a->setChecked(checked);
  if (QAction* a = actions_[static_cast<size_t>(MenuCommand::mnuOWindowMini)])
    a->setText(Q(session_.ThumbnailMenuCaption()));
}

void KVwin::RequestRepaint() { canvas_->update(); }

void KVwin::StartTimer(int intervalMs) { replayTimer_.start(intervalMs); }
void KVwin::StopTimer() { replayTimer_.stop(); }

void KVwin::ApplyLanguage() {
  // Qt's standard buttons and dialogs follow the interface language too.
  qtTranslations_.Apply(session_.translator.language);
  Recaption();
}

void KVwin::LayOutStatusPanels() { status_->show(); }

void KVwin::ApplyWindowSize(int widthTwips, int heightTwips, int windowState) {
  if (windowState == 2) {
    showMaximized();
    return;
  }
  if (widthTwips < 301 || heightTwips < 301) return;
  const QPointF dpi = ScreenDpi(this);
  resize(TwipsToPixels(widthTwips, dpi.x()), TwipsToPixels(heightTwips, dpi.y()));
}

std::pair<int, int> KVwin::WindowSizeTwips() {
  const QPointF dpi = ScreenDpi(this);
  return {PixelsToTwips(width(), dpi.x()), PixelsToTwips(height(), dpi.y())};
}

void KVwin::ApplyMenuMode(bool easy) {
  const int mode = easy ? kMenuModeEasy : kMenuModeFull;
  for (const MenuItemInfo& row : MenuTree()) {
    QAction* a = actions_[static_cast<size_t>(row.id)];
    if (!a || (row.flags & kMenuPopupOnly)) continue;
    a->setVisible(MenuVisibleInMode(row.id, mode));
  }
  if (QAction* csv = actions_[static_cast<size_t>(MenuCommand::mnuLocusNumCSV)])
    csv->setVisible(session_.MeasurementRecordsAvailable());
  Recaption();
}

void KVwin::SetMeasurementRecordsVisible(bool visible) {
  if (QAction* a = actions_[static_cast<size_t>(MenuCommand::mnuLocusNumCSV)])
    a->setVisible(visible);
}

std::optional<std::string> KVwin::OpenFileDialog(const std::string& folder,
                                                 const std::string& filter) {
  QFileDialog dialog(this, QString(), Q(folder));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  const QStringList filters = NameFiltersOf(filter);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.back());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return S(dialog.selectedFiles().front());
}

std::optional<std::string> KVwin::SaveFileDialog(const std::string& folder,
                                                 const std::string& filter,
                                                 const std::string& presetName) {
  const SavePlace place = SavePlaceFor(Q(folder), Q(presetName), [](const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
  });
  QFileDialog dialog(this, QString(), place.folder);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  // A name typed without an extension takes that of the chosen type, so a figure becomes a
  // file that double-clicking opens and a picture keeps its picture type.
  const QStringList filters = NameFiltersOf(filter);
  dialog.setNameFilters(filters);
  const int start = SaveFilterFor(filters, place.file);
  if (start >= 0) {
    dialog.selectNameFilter(filters[start]);
    dialog.setDefaultSuffix(DefaultSuffixOf(filters[start]));
  }
  connect(&dialog, &QFileDialog::filterSelected, &dialog,
          [&dialog](const QString& chosen) { dialog.setDefaultSuffix(DefaultSuffixOf(chosen)); });
  if (!place.file.isEmpty()) dialog.selectFile(place.file);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return S(dialog.selectedFiles().front());
}

QImage KVwin::CanvasPicture() {
  // Painted from the session's state at the canvas's inner size: what the canvas shows, also
  // while the window is hidden or covered.
  if (layout()) layout()->activate();
  return ScenePicture(session_.MakeScene(), std::max(1, canvas_->width()),
                      std::max(1, canvas_->height()));
}

void KVwin::CopyCanvasToClipboard() {
  QApplication::clipboard()->setImage(CanvasPicture());
  // The copy leaves nothing on the screen: the panel springs back and the bar says it.
  status_->Press(6, 200);
  status_->ShowNote(11, Q(session_.Tr("コピーしました")), 2500);
}

int KVwin::WindowState() {
  if (isMinimized()) return 1;
  if (isMaximized() || isFullScreen()) return 2;
  return 0;
}

void KVwin::SetStatusBarVisible(bool visible) { status_->setVisible(visible); }

void KVwin::SetMenuVisible(MenuCommand menu, bool visible) {
  if (QAction* a = actions_[static_cast<size_t>(menu)]) a->setVisible(visible);
}

bool KVwin::PrintWindowOn(QPrinter& printer) {
  const QPixmap window = grab();
  QPainter painter;
  if (window.isNull() || !painter.begin(&printer)) return false;
  // The window fills the page's printable width (or height), keeping its proportions.
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const double scale = std::min(page.width() / window.width(), page.height() / window.height());
  painter.drawPixmap(QRectF(0, 0, window.width() * scale, window.height() * scale), window,
                     QRectF(window.rect()));
  return painter.end();
}

bool KVwin::PrintWindow() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  dialog.setObjectName("PrintDialog");
  if (dialog.exec() != QDialog::Accepted) return true;  // the user chose not to print
  return PrintWindowOn(printer);
}

std::string KVwin::ExportPicture(const std::string& path) {
  std::string error;
  if (layout()) layout()->activate();
  if (!kv::ExportPicture(session_.MakeScene(), std::max(1, canvas_->width()),
                         std::max(1, canvas_->height()), path, PictureFormatOf(path), error))
    return error;
  return {};
}

std::pair<int, int> KVwin::MakeFolderBitmaps(const std::string& folder, bool thumbnail) {
  const FolderBitmapsResult r = kv::MakeFolderBitmaps(
      folder, thumbnail, [this](const std::string& path) { return session_.OpenFigure(path); },
      [this] { return CanvasPicture(); });
  return {r.written, static_cast<int>(r.failed.size())};
}

void KVwin::PlaceWindowCopy(int widthTwips, int heightTwips) {
  if (isMaximized() || isMinimized()) showNormal();
  const QPointF dpi = ScreenDpi(this);
  move(x() + frameGeometry().width(), y());
  resize(TwipsToPixels(widthTwips, dpi.x()), TwipsToPixels(heightTwips, dpi.y()));
}

void KVwin::StartProgramCopy(const std::string& figurePath) {
  // A second instance of this program, which opens the figure named on its command line.
  if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), {Q(figurePath)}))
    OpenWithSystem(figurePath);
}

std::optional<Rgb> KVwin::ChooseColour(Rgb initial) {
  QColor c = QColorDialog::getColor(QColor(initial.r, initial.g, initial.b), this);
  if (!c.isValid()) return std::nullopt;
  return Rgb{uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())};
}

Rgb KVwin::ButtonFaceColour() {
  QColor c = palette().color(QPalette::Button);
  return Rgb{uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())};
}

void KVwin::PopupObjectMenu() {
  const ObjectMenuState& m = session_.ObjectMenu();
  if (QAction* a = ActionNamed("mnuEdit2_point_Edit")) a->setText(MenuText(Q(m.editCaption), 0));
  const std::tuple<const char*, bool, const std::string*> items[] = {
      {"mnuEdit2_point_Bounded", m.boundedVisible, &m.boundedCaption},
      {"mnuEdit2_point_Set_Free", m.setFreeVisible, &m.setFreeCaption},
      {"mnuEdit2_point_Deform", m.deformVisible, &m.deformCaption}};
  for (const auto& [name, visible, caption] : items) {
    if (QAction* a = ActionNamed(name)) {
      a->setVisible(visible);
      if (visible) a->setText(MenuText(Q(*caption), 0));
    }
  }
  if (QMenu* menu = menus_[static_cast<size_t>(MenuCommand::mnuEdit2_point)])
    menu->popup(QCursor::pos());
}

void KVwin::TextViewerChanged() {
  if (!textViewer_) textViewer_ = new TextViewer(session_, this);
  textViewer_->ShowState();
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
  const AboutTexts texts = AboutBoxTexts(session_.translator);
  QMessageBox box(this);
  box.setObjectName("KVAbout");
  box.setWindowTitle(Q(texts.windowTitle));
  box.setText(Q(texts.heading));
  box.setInformativeText(Q(texts.body));
  box.setStandardButtons(QMessageBox::Ok);
  box.button(QMessageBox::Ok)->setText(Q(texts.okCaption));
  // A title wider than its window is cut by the window manager: the box is made wide enough
  // for the whole title with room for the title bar's buttons.
  const int titleWidth =
      QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) * 5 / 4 + 120;
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  box.exec();
}

void KVwin::Quit() {
  quitting_ = true;
  hide();
  QCoreApplication::quit();
}

Answer KVwin::AskYesNoCancel(std::string_view text, std::string_view title,
                             std::string_view yesCaption, std::string_view noCaption,
                             std::string_view cancelCaption) {
  QMessageBox box(this);
  box.setObjectName("NewConstchk");
  box.setWindowTitle(Q(title));
  box.setText(Q(text));
  QPushButton* yes = box.addButton(Q(yesCaption), QMessageBox::YesRole);
  QPushButton* no = box.addButton(Q(noCaption), QMessageBox::NoRole);
  QPushButton* cancel = box.addButton(Q(cancelCaption), QMessageBox::RejectRole);
  box.setDefaultButton(no);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == yes) return Answer::kYes;
  if (box.clickedButton() == no) return Answer::kNo;
  return Answer::kCancel;
}

LanguageChoice KVwin::ChooseLanguage(Language current, std::string_view fontFamily) {
  // The font chooser opens on the window's own font, the canvas font the settings keep.
  KVLanguage dialog(current, Q(fontFamily), this);
  dialog.ApplyLanguage(session_.translator);
  dialog.exec();
  LanguageChoice choice;
  choice.language = dialog.ChosenLanguage();
  if (auto family = dialog.ChosenFont()) choice.fontFamily = S(*family);
  return choice;
}

std::optional<std::string> KVwin::ChooseFont(std::string_view current) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, QFont(Q(current)), this);
  if (!ok) return std::nullopt;
  return S(chosen.family());
}

void KVwin::ApplyInterfaceFont(std::string_view family) {
  ApplyInterfaceFontFamily(Q(family));
  canvas_->update();
}

void KVwin::ShowDialog(DialogModel& dialog) {
  DialogEnded();
  modelDialog_ = new ModelDialog(session_, dialog, this);
  modelDialog_->open();
}

void KVwin::SetDragPointer(bool sizeAll) {
  canvas_->setCursor(sizeAll ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

void KVwin::DialogEnded() {
  if (!modelDialog_) return;
  modelDialog_->hide();
  modelDialog_->deleteLater();
  modelDialog_ = nullptr;
}

void KVwin::closeEvent(QCloseEvent* event) {
  // The session asks about unsaved changes; staying keeps the window and the figure.
  if (!quitting_ && !session_.RequestClose()) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace kv
