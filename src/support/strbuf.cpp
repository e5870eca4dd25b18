// Growable strings: every growth that finds capacity < m sets it to 2m, except Reserve.
#include "support/strbuf.h"

#include <stdlib.h>
#include <string.h>

// A failed allocation is not looked at here, as the module's strings never did; the allocations
// whose failure must be survived (a request's working copy, a rule object) are checked where
// they are made.
namespace {

void* Resize(void* block, size_t bytes) { return block ? realloc(block, bytes) : malloc(bytes); }

}  // namespace

StrBuf::StrBuf(EmptyTag) : data(nullptr), length(0), capacity(0) {
  SetCapacity(2);
  data[0] = 0;
  length = 1;
}

void StrBuf::SetCapacity(uint32_t n) {
  data = static_cast<char*>(Resize(data, n));
  capacity = n;
}

StrBuf& StrBuf::Assign(const char* text) {
  if (!text) return *this;
  uint32_t n = static_cast<uint32_t>(strlen(text)) + 1;
  length = 0;
  if (capacity < n) {
    // The text may live inside our own block; copy it out of harm's way first.
    if (data && text >= data && text < data + capacity) {
      char* fresh = static_cast<char*>(malloc(2 * n));
      memcpy(fresh, text, n);
      free(data);
      data = fresh;
      capacity = 2 * n;
      length = n;
      return *this;
    }
    SetCapacity(2 * n);
  }
  memmove(data, text, n);
  length = n;
  return *this;
}

void StrBuf::Append(const char* bytes, uint32_t n) {
  if (!bytes) return;
  if (capacity < length + n) {
    // Appending a piece of ourselves: the old block stays until the piece is copied out of it,
    // so nothing is computed from a pointer that realloc may have freed.
    if (data && bytes >= data && bytes < data + capacity) {
      char* old = data;
      data = static_cast<char*>(malloc(2 * (length + n)));
      memcpy(data, old, capacity);
      bytes = data + (bytes - old);
      free(old);
      capacity = 2 * (length + n);
    } else {
      Reserve(2 * (length + n));
    }
  }
  memmove(data + length - 1, bytes, n);
  length += n;
  data[length - 1] = 0;
}

int StrBuf::Reserve(uint32_t n) {
  if (!data || n > capacity) SetCapacity(n);
  return 1;
}

char* StrBuf::AppendSlot() {
  if (capacity < length + 1) SetCapacity(2 * length + 2);
  return data + length++;
}

void StrBuf::GrowTo(uint32_t n) {
  if (capacity < n) SetCapacity(2 * n);
}

void StrBuf::Release() {
  free(data);
  data = nullptr;
  length = 0;
  capacity = 0;
}

void StrBuf::MoveTo(StrBuf& other) {
  char* old = other.data;
  other.data = data;
  other.length = length;
  other.capacity = capacity;
  data = nullptr;
  length = 0;
  capacity = 0;
  free(old);
}

WStrBuf::WStrBuf(StrBuf::EmptyTag) : data(nullptr), length(0), capacity(0) {
  data = static_cast<WCHAR*>(malloc(2 * sizeof(WCHAR)));
  data[0] = 0;
  capacity = 2;
  length = 1;
}

WStrBuf& WStrBuf::Assign(const WCHAR* text) {
  if (!text) return *this;
  uint32_t n = 1;
  while (text[n - 1]) ++n;
  length = 0;
  if (capacity < n) {
    WCHAR* fresh = static_cast<WCHAR*>(malloc(2 * n * sizeof(WCHAR)));
    memcpy(fresh, text, n * sizeof(WCHAR));
    free(data);
    data = fresh;
    capacity = 2 * n;
  } else {
    memmove(data, text, n * sizeof(WCHAR));
  }
  length = n;
  return *this;
}

void WStrBuf::Release() {
  free(data);
  data = nullptr;
  length = 0;
  capacity = 0;
}
