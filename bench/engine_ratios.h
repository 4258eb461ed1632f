// Prints the engine's times against the plain reference loop, measured in the same run.
#pragma once

namespace kv::bench {

void ReportEngineRatios();

}  // namespace kv::bench
