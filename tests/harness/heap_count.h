// Heap calls of the code linked into a native program, counted by wrapping malloc, realloc,
// calloc and free at link time (-Wl,--wrap=..., which linking heap_count adds): every call the
// module makes is seen. Native only.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct HeapCount {
  uint64_t allocations;  // malloc, calloc and realloc calls
  uint64_t frees;        // free calls
  int64_t liveBytes;     // usable bytes of the blocks now held
};

HeapCount CurrentHeap();

// Counting costs a few nanoseconds per call; benchmarks that compare speed with code whose heap
// calls are not wrapped run with it off.
void CountHeap(bool on);

// Counts while it lives.
class HeapCounting {
 public:
  HeapCounting() { CountHeap(true); }
  ~HeapCounting() { CountHeap(false); }
  HeapCounting(const HeapCounting&) = delete;
  HeapCounting& operator=(const HeapCounting&) = delete;
};
