// Drawing strokes and leaving the scribble mode.
#include "session/modes/scribble_mode.h"

#include "session/input_modes.h"
#include "session/ui_port.h"

namespace kv {

ScribbleMode::ScribbleMode(const Rgb& colour, const int& width)
    : Mode(kModeScribble), colour_(colour), width_(width) {}

void ScribbleMode::Press(ModeHost& host, const PointerEvent& e) {
  // A press alone leaves one pixel: a stroke of a single point.
  down_ = true;
  strokes_.push_back(Stroke{colour_, width_ < 1 ? 1 : width_, {{e.x, e.y}}});
  host.RepaintNeeded();
}

void ScribbleMode::Move(ModeHost& host, const PointerEvent& e) {
  if (!down_ || strokes_.empty()) {
    host.Ui().SetDragPointer(false);
    return;
  }
  strokes_.back().points.push_back({e.x, e.y});
  host.RepaintNeeded();
}

void ScribbleMode::Release(ModeHost& /*host*/, const PointerEvent& /*e*/) { down_ = false; }

void ScribbleMode::Key(ModeHost& host, int code, int /*shift*/) {
  if (code != kKeyEscape) return;
  host.PopMode();
  host.RedrawAll();
}

}  // namespace kv
