// What a mode does when it has no task of its own for an event.
#include "session/mode.h"

#include "session/input_modes.h"
#include "session/ui_port.h"

namespace kv {

void Mode::Press(ModeHost& host, const PointerEvent& /*e*/) { host.RedrawAll(); }

void Mode::Key(ModeHost& host, int code, int shift) {
  if (code != kKeyEscape) return;
  host.RedrawAll();
  if (host.ShiftHeld(shift)) host.PopMode();
}

void Mode::Timer(ModeHost& host) { host.Ui().StopTimer(); }

}  // namespace kv
