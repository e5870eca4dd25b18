#include "message_pump.h"

bool PumpUntil(HANDLE handle, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    DWORD passed = GetTickCount() - start;
    if (ms != INFINITE && passed >= ms) return false;
    DWORD left = ms == INFINITE ? INFINITE : ms - passed;
    DWORD woke = MsgWaitForMultipleObjects(handle ? 1 : 0, handle ? &handle : NULL, FALSE, left,
                                           QS_ALLINPUT);
    if (handle && woke == WAIT_OBJECT_0) return true;
  }
}
