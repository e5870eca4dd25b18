// Class-level allocation from the runtime heap: new returns null on failure instead of throwing.
#pragma once

#include <stddef.h>
#include <stdlib.h>

#define LUNET_HEAP_ALLOCATED                                                 \
  static void* operator new(size_t bytes) noexcept { return malloc(bytes); } \
  static void operator delete(void* block) noexcept { free(block); }
