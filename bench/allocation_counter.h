// Counts every allocation of the benchmark program (the global operator new is replaced in
// allocation_counter.cpp), so that hot paths can be checked for allocating.
#pragma once

namespace kv::bench {

long long AllocationCount();

}  // namespace kv::bench
