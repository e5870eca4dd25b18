// A critical section held for a scope: entered when made, left on every way out of the scope.
#pragma once

#include <windows.h>

class ScopedCriticalSection {
 public:
  explicit ScopedCriticalSection(CRITICAL_SECTION& section) : section_(section) {
    EnterCriticalSection(&section_);
  }
  ~ScopedCriticalSection() { LeaveCriticalSection(&section_); }
  ScopedCriticalSection(const ScopedCriticalSection&) = delete;
  ScopedCriticalSection& operator=(const ScopedCriticalSection&) = delete;

 private:
  CRITICAL_SECTION& section_;
};
