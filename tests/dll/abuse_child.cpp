// A second process for the fault tests, Windows only:
//   abuse_child hold FILE EVENT        opens FILE without sharing, sets EVENT, waits to be killed
//   abuse_child churn DLL DIR MS       loads DLL, calls load(DIR) (DIR holds config.dat, so the
//                                      closer comes on), keeps four threads sending title redraws
//                                      that reload the rule store, and after MS milliseconds calls
//                                      ExitProcess(42) while they are still at it
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <atomic>

#include "harness/forward_redraw.h"
#include "harness/recording_window.h"
#include "harness/windows_kit.h"
#include "message_pump.h"
#include "owned.h"
#include "plugin_module.h"

namespace {

const int kThreads = 4;
const char kChurnClass[] = "LunetChurnTarget";
std::atomic<long> redraws{0};

int Hold(const char* file, const char* event) {
  HANDLE held = CreateFileA(file, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (held == INVALID_HANDLE_VALUE) return 3;
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, event);
  if (!ready) return 4;
  SetEvent(ready);
  Sleep(INFINITE);
  return 0;
}

DWORD WINAPI Redraw(LPVOID) {
  RecordingWindow window(kChurnClass, "churn", RecordingWindow::kDestroy);
  if (!window.handle() || !StartRedrawForwarding()) return 1;
  for (;;) {
    ForwardRedraw(window.handle());
    ++redraws;
    PumpPending();
  }
}

int Churn(const char* dll, const char* dir, int milliseconds) {
  // ExitProcess ends the process with the module still mapped.
  PluginModule module;
  if (!module.Map(dll)) return 5;
  if (!module.load) return 6;
  size_t length = strlen(dir);
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, length);
  memcpy(block, dir, length);
  module.load(block, static_cast<LONG>(length));
  // Left to run: the handles go at once, the threads live on until the exit.
  for (int i = 0; i < kThreads; ++i) KernelHandle(CreateThread(NULL, 0, Redraw, NULL, 0, NULL));
  // Exit only once the store has been busy for a while.
  while (redraws < 40) Sleep(1);
  Sleep(static_cast<DWORD>(milliseconds));
  ExitProcess(42);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && strcmp(argv[1], "hold") == 0) return Hold(argv[2], argv[3]);
  if (argc == 5 && strcmp(argv[1], "churn") == 0) return Churn(argv[2], argv[3], atoi(argv[4]));
  return 2;
}
