// Number kinds (placeholder until the routines are written).
#include "geometry/kinds.h"

namespace kv {
void RecomputeNumber(Figure&, int32_t) {}
void SignedAngle(Figure&, const PointRec&, const PointRec&, const PointRec&, NumberRec&, bool) {}
}  // namespace kv
