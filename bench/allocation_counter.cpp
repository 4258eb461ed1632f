// The replaced global allocation functions of the benchmark program.
#include "allocation_counter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {
long long allocationCount = 0;
long long liveBytes = 0;
}  // namespace

namespace kv::bench {
long long AllocationCount() { return allocationCount; }
long long LiveBytes() { return liveBytes; }
}  // namespace kv::bench

void* operator new(std::size_t size) {
  ++allocationCount;
  if (void* p = std::malloc(size ? size : 1)) {
    liveBytes += static_cast<long long>(malloc_usable_size(p));
    return p;
  }
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept {
  if (p) liveBytes -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }
