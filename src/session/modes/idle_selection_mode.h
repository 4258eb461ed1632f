// A selection mode whose command is not built yet (the point to drag, the multi-point drag,
// the object to edit, the binding): it waits, and Esc or the right button leaves it.
#pragma once

#include "session/input_modes.h"
#include "session/mode.h"

namespace kv {

class IdleSelectionMode : public Mode {
 public:
  explicit IdleSelectionMode(int16_t code) : Mode(code) {}

  void Press(ModeHost& /*host*/, const PointerEvent& /*e*/) override {}
  void Key(ModeHost& host, int code, int /*shift*/) override {
    if (code != kKeyEscape) return;
    host.PopMode();
    host.RedrawAll();
  }
};

}  // namespace kv
