#include "message_pump.h"

void PumpMessages(DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    DWORD passed = GetTickCount() - start;
    if (passed >= ms) return;
    MsgWaitForMultipleObjects(0, NULL, FALSE, ms - passed, QS_ALLINPUT);
  }
}
