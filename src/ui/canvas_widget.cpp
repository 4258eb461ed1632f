// Canvas painting and event conversion.
#include "ui/canvas_widget.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "qtcanvas/qt_canvas.h"
#include "session/session.h"

namespace kv {

int VirtualKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kKeyEnter;
    case Qt::Key_Escape:
      return kKeyEscape;
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Down:
      return kKeyDown;
    default:
      break;
  }
  // Letters and digits share their codes with the platform's virtual keys.
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return qtKey;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 112 + (qtKey - Qt::Key_F1);
  return 0;
}

int ButtonBitsOf(Qt::MouseButtons buttons) {
  int bits = 0;
  if (buttons & Qt::LeftButton) bits |= kLeftButton;
  if (buttons & Qt::RightButton) bits |= kRightButton;
  if (buttons & Qt::MiddleButton) bits |= kMiddleButton;
  return bits;
}

int ShiftBitsOf(Qt::KeyboardModifiers modifiers) {
  int bits = 0;
  if (modifiers & Qt::ShiftModifier) bits |= kShiftMask;
  if (modifiers & Qt::ControlModifier) bits |= kCtrlMask;
  if (modifiers & Qt::AltModifier) bits |= 4;
  return bits;
}

CanvasWidget::CanvasWidget(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
  setObjectName("KVcanvas");
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QPointF CanvasWidget::ToWorld(QPointF pixel) const {
  return {session_.view.WorldX(pixel.x()), session_.view.WorldY(pixel.y())};
}

void CanvasWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas canvas(painter, width(), height(), logicalDpiY());
  Scene scene = session_.MakeScene();
  int bad = -1;
  if (scene.drag) {
    // During a drag what does not move is painted once into an image; each step paints the
    // moving objects over a copy of it.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    const uint64_t key = session_.FixedLayerKey();
    if (fixedLayer_.isNull() || fixedLayer_.size() != pixels || key != fixedLayerKey_) {
      fixedLayer_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
      fixedLayer_.setDevicePixelRatio(ratio);
      QPainter layerPainter(&fixedLayer_);
      QtCanvas layerCanvas(layerPainter, width(), height(), logicalDpiY());
      scene.layer = PaintLayer::kFixed;
      fixedBadColour_ = renderer_.Paint(scene, layerCanvas).badColourIndex;
      fixedLayerKey_ = key;
    }
    // A plain copy: the layer is opaque, so nothing needs blending.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), fixedLayer_);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    scene.layer = PaintLayer::kMoving;
    bad = renderer_.Paint(scene, canvas).badColourIndex;
    if (bad < 0) bad = fixedBadColour_;
  } else {
    if (!fixedLayer_.isNull()) fixedLayer_ = QImage();
    bad = renderer_.Paint(scene, canvas).badColourIndex;
  }
  // A colour index outside the palette (from an edited file) is drawn black and named once in
  // a message box, shown after the paint so that painting never waits on the user.
  if (bad >= 0 && bad != reportedBadColour_)
    QTimer::singleShot(
        0, this, [this, bad] { QMessageBox::warning(this, QString(), QString::number(bad)); });
  reportedBadColour_ = bad;
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
  QPointF w = ToWorld(event->position());
  session_.Press(ButtonBitsOf(event->button()), ShiftBitsOf(event->modifiers()), w.x(), w.y());
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
  QPointF w = ToWorld(event->position());
  session_.Move(ButtonBitsOf(event->buttons()), ShiftBitsOf(event->modifiers()), w.x(), w.y());
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
  QPointF w = ToWorld(event->position());
  session_.Release(ButtonBitsOf(event->button()), ShiftBitsOf(event->modifiers()), w.x(), w.y());
}

void CanvasWidget::mouseDoubleClickEvent(QMouseEvent*) { session_.DoubleClick(); }

void CanvasWidget::keyPressEvent(QKeyEvent* event) {
  int code = VirtualKeyOf(event->key());
  if (code == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  session_.Key(code, ShiftBitsOf(event->modifiers()));
}

void CanvasWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const QWidget* top = window();
  session_.Resize(width(), height(), top && top->isMinimized());
}

}  // namespace kv
