// Status bar panels as framed labels in one row.
#include "ui/status_bar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace kv {

namespace {
// Shares of the bar's width; the panels shrink together so that small windows fit.
constexpr int kPanelShares[KVStatus1::kPanels + 1] = {0, 11, 15, 11, 5, 6, 4, 5, 10, 4, 4, 8};
}  // namespace

KVStatus1::KVStatus1(QWidget* parent) : QWidget(parent) {
  setObjectName("KVStatus1");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 1, 2, 1);
  layout->setSpacing(2);
  for (int n = 1; n <= kPanels; ++n) {
    auto* label = new QLabel(this);
    label->setObjectName(QString("Panel%1").arg(n));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setLineWidth(1);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->installEventFilter(this);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(12);
    layout->addWidget(label, kPanelShares[n]);
    labels_[n] = label;
  }
}

void KVStatus1::SetPanel(int n, const QString& text, bool sunken, bool raised) {
  if (n < 1 || n > kPanels) return;
  QLabel* label = labels_[n];
  if (label->text() != text) {
    label->setText(text);
    label->setToolTip(text);  // narrow panels cut long texts such as a replayed step
  }
  sunken_[n] = sunken;
  // A switch that is on looks pressed in, a raised panel stands out; others lie flat.
  label->setFrameShadow(raised ? QFrame::Raised : QFrame::Sunken);
  label->setLineWidth(sunken ? 2 : 1);
  label->setAutoFillBackground(sunken);
  label->setBackgroundRole(sunken ? QPalette::Mid : QPalette::Window);
}

QString KVStatus1::PanelText(int n) const {
  return n >= 1 && n <= kPanels ? labels_[n]->text() : QString();
}

bool KVStatus1::PanelSunken(int n) const { return n >= 1 && n <= kPanels && sunken_[n]; }

QLabel* KVStatus1::PanelLabel(int n) const { return n >= 1 && n <= kPanels ? labels_[n] : nullptr; }

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
