// libFuzzer entry for the evaluator target.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kv::fuzz::EvaluatorTarget(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
