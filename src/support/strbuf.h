// StrBuf and WStrBuf: growable, zero-terminated strings whose length counts the terminator.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "support/heap.h"

struct StrBuf {
  char* data;
  uint32_t length;    // bytes in use, terminator included
  uint32_t capacity;  // bytes in the block

  StrBuf() : data(nullptr), length(0), capacity(0) {}  // unset
  struct EmptyTag {};
  explicit StrBuf(EmptyTag);  // empty text
  ~StrBuf() { Release(); }
  StrBuf(const StrBuf&) = delete;
  StrBuf& operator=(const StrBuf&) = delete;
  // A rule of the store is one on the heap; new gives null when the heap is exhausted.
  LUNET_HEAP_ALLOCATED

  StrBuf& Assign(const char* text);
  void Append(const char* bytes, uint32_t n);
  int Reserve(uint32_t n);
  char* AppendSlot();
  void GrowTo(uint32_t n);
  void Release();
  StrBuf& AssignWide(const WCHAR* text);  // defined with the charset conversion

  // Hands this string's block to other, freeing the block other held before.
  void MoveTo(StrBuf& other);
  // Capacity becomes exactly n elements; content kept.
  void SetCapacity(uint32_t n);
};

struct WStrBuf {
  WCHAR* data;
  uint32_t length;    // units in use, terminator included
  uint32_t capacity;  // units in the block

  WStrBuf() : data(nullptr), length(0), capacity(0) {}
  explicit WStrBuf(StrBuf::EmptyTag);
  ~WStrBuf() { Release(); }
  WStrBuf(const WStrBuf&) = delete;
  WStrBuf& operator=(const WStrBuf&) = delete;

  WStrBuf& Assign(const WCHAR* text);
  void Release();
};

inline constexpr StrBuf::EmptyTag kEmptyText{};
