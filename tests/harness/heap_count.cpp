// The wrappers see only calls from objects linked into this binary (the module's libraries, the
// stand-in, the program's own code); the C++ library's own operator new is not wrapped, and the
// module never uses it.
#include "harness/heap_count.h"

#include <malloc.h>

#include <atomic>

namespace {

std::atomic<bool> counting{false};
std::atomic<uint64_t> allocations{0};
std::atomic<uint64_t> frees{0};
std::atomic<int64_t> liveBytes{0};

bool Counting() { return counting.load(std::memory_order_relaxed); }

int64_t Usable(void* block) { return block ? static_cast<int64_t>(malloc_usable_size(block)) : 0; }

// A new block, counted while counting is on.
void* Counted(void* block) {
  if (!Counting()) return block;
  allocations.fetch_add(1, std::memory_order_relaxed);
  liveBytes.fetch_add(Usable(block), std::memory_order_relaxed);
  return block;
}

}  // namespace

extern "C" {

void* __real_malloc(size_t bytes);
void* __real_calloc(size_t count, size_t bytes);
void* __real_realloc(void* block, size_t bytes);
void __real_free(void* block);

void* __wrap_malloc(size_t bytes) { return Counted(__real_malloc(bytes)); }

void* __wrap_calloc(size_t count, size_t bytes) { return Counted(__real_calloc(count, bytes)); }

void* __wrap_realloc(void* block, size_t bytes) {
  if (!Counting()) return __real_realloc(block, bytes);
  int64_t before = Usable(block);
  void* moved = __real_realloc(block, bytes);
  allocations.fetch_add(1, std::memory_order_relaxed);
  // A failed realloc keeps the old block.
  if (moved || bytes == 0) liveBytes.fetch_add(Usable(moved) - before, std::memory_order_relaxed);
  return moved;
}

void __wrap_free(void* block) {
  if (Counting()) {
    frees.fetch_add(1, std::memory_order_relaxed);
    liveBytes.fetch_sub(Usable(block), std::memory_order_relaxed);
  }
  __real_free(block);
}

}  // extern "C"

void CountHeap(bool on) { counting.store(on, std::memory_order_relaxed); }

HeapCount CurrentHeap() {
  return {allocations.load(std::memory_order_relaxed), frees.load(std::memory_order_relaxed),
          liveBytes.load(std::memory_order_relaxed)};
}
