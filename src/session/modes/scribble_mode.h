// The scribble mode (70): freehand strokes over the figure with the scribble colour. Every
// menu is disabled while it runs; Esc or the right button leaves it.
#pragma once

#include "session/mode.h"

namespace kv {

class ScribbleMode : public Mode {
 public:
  ScribbleMode();

  // The strokes are drawn by the scribble work; until it lands a press only keeps its place.
  void Press(ModeHost& /*host*/, const PointerEvent& /*e*/) override {}
  void Key(ModeHost& host, int code, int shift) override;
};

}  // namespace kv
