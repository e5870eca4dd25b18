// Global memory blocks over the C heap; a small header remembers each block's size.
#include <stdlib.h>
#include <windows.h>

#include <atomic>

#include "standin.h"

namespace {

thread_local DWORD lastError = 0;
std::atomic<int> failingAllocs{0};

struct alignas(16) BlockHeader {
  SIZE_T size;
};

}  // namespace

extern "C" DWORD GetLastError(void) { return lastError; }
extern "C" void SetLastError(DWORD error) { lastError = error; }

extern "C" HGLOBAL GlobalAlloc(UINT, SIZE_T bytes) {
  if (failingAllocs.load() > 0) {
    --failingAllocs;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  BlockHeader* header = static_cast<BlockHeader*>(malloc(sizeof(BlockHeader) + bytes));
  if (!header) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  header->size = bytes;
  return header + 1;
}

extern "C" HGLOBAL GlobalFree(HGLOBAL block) {
  if (block) free(static_cast<BlockHeader*>(block) - 1);
  return NULL;
}

extern "C" SIZE_T GlobalSize(HGLOBAL block) {
  return block ? (static_cast<BlockHeader*>(block) - 1)->size : 0;
}

void standin::FailGlobalAllocs(int n) { failingAllocs = n; }
