// The drawing canvas of the main window: paints the session's state and passes mouse and key
// events to the session in world coordinates (origin at the canvas centre, y up).
#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

#include "draw/renderer.h"

namespace kv {

class Session;

// Platform key -> the virtual key code the session works with (0 for keys it does not use).
int VirtualKeyOf(int qtKey);
// Mouse buttons and keyboard modifiers as the session's bit sets.
int ButtonBitsOf(Qt::MouseButtons buttons);
int ShiftBitsOf(Qt::KeyboardModifiers modifiers);

class CanvasWidget : public QWidget {
  Q_OBJECT
 public:
  CanvasWidget(Session& session, QWidget* parent = nullptr);

  // A pixel of the canvas (0..width-1, 0..height-1) in world coordinates.
  QPointF ToWorld(QPointF pixel) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  Session& session_;
  Renderer renderer_;
  int reportedBadColour_ = -1;  // the bad colour index last named in a message box
  // The objects that do not move during a drag, painted when the drag starts.
  QImage fixedLayer_;
  uint64_t fixedLayerKey_ = 0;
  int fixedBadColour_ = -1;
};

}  // namespace kv
