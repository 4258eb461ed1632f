// The loci and the measurement record that follow a deformation.
#include "session/session.h"

namespace kv {

void Session::BeforeDeformStep(int32_t /*dragged*/) {}

void Session::AfterDeformStep(int32_t /*dragged*/, const DragPlan& /*plan*/) {}

}  // namespace kv
