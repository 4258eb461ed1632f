// The replaced global allocation functions of the benchmark program.
#include "allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {
long long allocationCount = 0;
}

namespace kv::bench {
long long AllocationCount() { return allocationCount; }
}  // namespace kv::bench

void* operator new(std::size_t size) {
  ++allocationCount;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
