// Counts every allocation of the benchmark program (the global operator new is replaced in
// allocation_counter.cpp), so that hot paths can be checked for allocating.
#pragma once

namespace kv::bench {

long long AllocationCount();
// Bytes held by live allocations (usable sizes, as the allocator hands them out).
long long LiveBytes();

}  // namespace kv::bench
