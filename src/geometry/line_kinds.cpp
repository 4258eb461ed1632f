// Line kinds (placeholder until the routines are written).
#include "geometry/kinds.h"

namespace kv {
void RecomputeLine(Figure&, int32_t) {}
}  // namespace kv
