// Leaving the scribble mode.
#include "session/modes/scribble_mode.h"

#include "session/input_modes.h"

namespace kv {

ScribbleMode::ScribbleMode() : Mode(kModeScribble) {}

void ScribbleMode::Key(ModeHost& host, int code, int /*shift*/) {
  if (code != kKeyEscape) return;
  host.PopMode();
  host.RedrawAll();
}

}  // namespace kv
