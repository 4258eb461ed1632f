// Status bar panels as framed labels in one row.
#include "ui/status_bar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>

namespace kv {

namespace {
// Shares of the bar's width; the panels shrink together so that small windows fit.
constexpr int kPanelShares[KVStatus1::kPanels + 1] = {0, 11, 14, 10, 5, 6, 4, 5, 10, 4, 4, 11};
}  // namespace

StatusPanelLabel::StatusPanelLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
}

void StatusPanelLabel::SetFullText(const QString& text) {
  fullText_ = text;
  setToolTip(text);
  Elide();
}

void StatusPanelLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void StatusPanelLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) Elide();
}

void StatusPanelLabel::Elide() {
  const int room = contentsRect().width() - 2 * margin() - 2;
  const QString shown = fontMetrics().elidedText(fullText_, Qt::ElideRight, std::max(room, 0));
  // A panel too narrow for even "…" keeps the text cut by its frame.
  setText(shown.isEmpty() && !fullText_.isEmpty() ? fullText_ : shown);
}

KVStatus1::KVStatus1(QWidget* parent) : QWidget(parent) {
  setObjectName("KVStatus1");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 1, 2, 1);
  layout->setSpacing(2);
  for (int n = 1; n <= kPanels; ++n) {
    auto* label = new StatusPanelLabel(this);
    label->setObjectName(QString("Panel%1").arg(n));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setLineWidth(1);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->installEventFilter(this);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(12);
    layout->addWidget(label, kPanelShares[n]);
    labels_[n] = label;
    for (QTimer** timer : {&noteTimers_[n], &pressTimers_[n]}) {
      *timer = new QTimer(this);
      (*timer)->setSingleShot(true);
    }
    connect(noteTimers_[n], &QTimer::timeout, this,
            [this, n] { labels_[n]->SetFullText(texts_[n]); });
    connect(pressTimers_[n], &QTimer::timeout, this, [this, n] {
      pressed_[n] = false;
      ShowLook(n);
    });
  }
}

void KVStatus1::SetPanel(int n, const QString& text, bool sunken, bool raised) {
  if (n < 1 || n > kPanels) return;
  texts_[n] = text;
  if (!noteTimers_[n]->isActive() && labels_[n]->FullText() != text) labels_[n]->SetFullText(text);
  sunken_[n] = sunken;
  raised_[n] = raised;
  ShowLook(n);
}

void KVStatus1::ShowLook(int n) {
  QLabel* label = labels_[n];
  const bool in = sunken_[n] || pressed_[n];
  // A switch that is on looks pressed in, a raised panel stands out; others lie flat.
  label->setFrameShadow(raised_[n] ? QFrame::Raised : QFrame::Sunken);
  label->setLineWidth(in ? 2 : 1);
  label->setAutoFillBackground(in);
  label->setBackgroundRole(in ? QPalette::Mid : QPalette::Window);
}

void KVStatus1::ShowNote(int n, const QString& note, int ms) {
  if (n < 1 || n > kPanels) return;
  labels_[n]->SetFullText(note);
  noteTimers_[n]->start(ms);
}

void KVStatus1::Press(int n, int ms) {
  if (n < 1 || n > kPanels) return;
  pressed_[n] = true;
  ShowLook(n);
  pressTimers_[n]->start(ms);
}

QString KVStatus1::PanelText(int n) const { return n >= 1 && n <= kPanels ? texts_[n] : QString(); }

QString KVStatus1::ShownText(int n) const {
  return n >= 1 && n <= kPanels ? labels_[n]->FullText() : QString();
}

bool KVStatus1::PanelSunken(int n) const {
  return n >= 1 && n <= kPanels && (sunken_[n] || pressed_[n]);
}

StatusPanelLabel* KVStatus1::PanelLabel(int n) const {
  return n >= 1 && n <= kPanels ? labels_[n] : nullptr;
}

bool KVStatus1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
    return QWidget::eventFilter(watched, event);
  if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
  for (int n = 1; n <= kPanels; ++n) {
    if (labels_[n] != watched) continue;
    if (event->type() == QEvent::MouseButtonPress) {
      emit PanelClicked(n);
    } else {
      emit PanelDoubleClicked(n);
    }
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kv
