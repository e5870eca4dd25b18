// The posix-thread runtime links libwinpthread in, whose timed waits import GetTickCount64: XP's
// kernel32 has none, and XP would refuse to start the program. The import's address slot is
// defined here instead, so the linker takes no import for it; the waits call the count below.
#include <windows.h>

namespace {

// Milliseconds since the machine started, from the performance counter, as libwinpthread counts
// where it is built for XP: 64 bits wide, so never wrapping as GetTickCount does after 49.7 days.
ULONGLONG WINAPI TickCount64() {
  LARGE_INTEGER frequency, now;
  if (!QueryPerformanceFrequency(&frequency) || !QueryPerformanceCounter(&now)) {
    return GetTickCount();
  }
  ULONGLONG ticks = now.QuadPart, perSecond = frequency.QuadPart;
  // In two parts, so that the product does not overflow after weeks at a high frequency.
  return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}

}  // namespace

// The name the 32-bit import table gives the slot: a pointer to the function, called through.
extern "C" ULONGLONG(WINAPI* const tickCount64Slot)(void) __asm__("__imp__GetTickCount64@0");
ULONGLONG(WINAPI* const tickCount64Slot)(void) = TickCount64;
