// Expression evaluator (placeholder until written).
#include "expr/evaluator.h"

namespace kv {
void EvaluateCalcStep(Figure&, int32_t) {}
}  // namespace kv
