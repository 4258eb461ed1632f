// Point kinds (placeholder until the routines are written).
#include "geometry/kinds.h"

namespace kv {
void RecomputePoint(Figure&, int32_t) {}
bool ApplyBinding(Figure&, int32_t) { return true; }
void SetBoundParam(Figure&, int32_t) {}
}  // namespace kv
