// Undo of the last construction. The step table is the only history: undo takes steps off its
// end, a macro group (its opening step, the steps it expanded into and its closing step) at
// once, together with the numbers the macro made for its steps.
#pragma once

#include "model/figure.h"

namespace kv {

// Removes the last construction: one step, or a whole macro group when the last step closes
// one. Returns false when the figure has no step (nothing is changed; the caller beeps). The
// caller runs RecomputeAll afterwards.
bool UndoLast(Figure& fig);

}  // namespace kv
