#include "ui/text_viewer.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace kv {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

struct ViewerItem {
  ViewerCommand cmd;
  const char* name;
  const char* caption;
  bool inModeMenu;
};

constexpr ViewerItem kItems[] = {
    {ViewerCommand::mnuExit, "mnuExit", "終了", false},
    {ViewerCommand::mnuClear, "mnuClear", "クリア", false},
    {ViewerCommand::mnuModeOverwrite, "mnuModeOverwrite", "上書", true},
    {ViewerCommand::mnuModeAppend, "mnuModeAppend", "追加", true},
    {ViewerCommand::mnuModeFowardAppend, "mnuModeFowardAppend", "先送り", true},
    {ViewerCommand::mnuDispMatrixSWOff, "mnuDispMatrixSWOff", "行列表示Off", false},
};

}  // namespace

TextViewer::TextViewer(Session& session, QWidget* parent) : QMainWindow(parent), session_(session) {
  setObjectName("TextViewer");
  setWindowFlag(Qt::Window);
  // The main window keeps the focus while matrices arrive.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowTitle("Data Viewer");
  text_ = new QPlainTextEdit(this);
  text_->setObjectName("Text1");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  setCentralWidget(text_);
  resize(480, 400);

  modeMenu_ = new QMenu(this);
  modeMenu_->setObjectName("mnuMode");
  for (const ViewerItem& item : kItems) {
    QAction* a = new QAction(this);
    a->setObjectName(item.name);
    if (item.inModeMenu) {
      a->setCheckable(true);
      modeMenu_->addAction(a);
    } else {
      menuBar()->addAction(a);
    }
    if (item.cmd == ViewerCommand::mnuClear) menuBar()->addMenu(modeMenu_);
    const ViewerCommand cmd = item.cmd;
    connect(a, &QAction::triggered, this, [this, cmd] { session_.ViewerMenu(cmd); });
    actions_[static_cast<size_t>(item.cmd)] = a;
  }
}

void TextViewer::ShowState() {
  const TextViewerState& v = session_.Viewer();
  for (const ViewerItem& item : kItems) Action(item.cmd)->setText(Q(session_.Tr(item.caption)));
  modeMenu_->setTitle(Q(session_.Tr("モード")));
  if (!v.caption.empty()) setWindowTitle(Q(v.caption));
  modeMenu_->menuAction()->setVisible(v.modeMenuVisible);
  Action(ViewerCommand::mnuModeOverwrite)->setChecked(v.writeMode == ViewerWriteMode::kOverwrite);
  Action(ViewerCommand::mnuModeAppend)->setChecked(v.writeMode == ViewerWriteMode::kAppend);
  Action(ViewerCommand::mnuModeFowardAppend)
      ->setChecked(v.writeMode == ViewerWriteMode::kInsertFront);
  const QString text = QString::fromUtf8(v.text.c_str()).replace("\r\n", "\n");
  if (text_->toPlainText() != text) text_->setPlainText(text);
  setVisible(v.visible);
}

}  // namespace kv
