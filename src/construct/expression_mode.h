// Mode 21 while the expression dialog builds a new expression number: the dialog appends its
// own CALC step when the user ends the input; the mode then leaves and the figure is
// relabelled and recomputed. A cancelled dialog adds nothing but the new variables typed in it.
#pragma once

#include "session/mode.h"

namespace kv {

class ExpressionMode : public Mode {
 public:
  ExpressionMode();

  // Pushes the mode and opens the expression dialog.
  static void Start(ModeHost& host);

  // The dialog has the keys and clicks; the canvas waits.
  void Press(ModeHost& /*host*/, const PointerEvent& /*e*/) override {}
  void Key(ModeHost& /*host*/, int /*code*/, int /*shift*/) override {}
  void DialogClosed(ModeHost& host, DialogModel& dialog) override;
};

}  // namespace kv
