#include "harness/polling_closer.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <string>
#include <vector>

#include "harness/recording_window.h"
#include "message_pump.h"
#include "owned.h"

namespace {

struct Poller {
  std::vector<std::string> classes;
  std::vector<std::string> titles;
  HANDLE ready = NULL;
  int windows = 0;
  int polls = -1;  // the first poll warms up and is not counted
  double busyUs = 0, startUs = 0, startCpu = 0, lastWindows = 0;
};
Poller poller;

int Refuse(const char* message) {
  fprintf(stderr, "poller: %s (error %lu)\n", message, GetLastError());
  return 1;
}

bool ReadPollRules(const char* path) {
  OwnedFile in(path, "rb");
  if (!in.get()) return false;
  char line[1024];
  while (fgets(line, sizeof line, in.get())) {
    line[strcspn(line, "\r\n")] = 0;
    char* comma = strchr(line, ',');
    if (!comma) continue;
    *comma = 0;
    char* value = comma + 1;
    value[strcspn(value, ",")] = 0;
    if (_stricmp(line, "class") == 0) poller.classes.push_back(value);
    if (_stricmp(line, "title") == 0) poller.titles.push_back(value);
  }
  return true;
}

// The same test as the hook's: the class first, the title only for a listed class.
BOOL CALLBACK PollWindow(HWND window, LPARAM) {
  ++poller.windows;
  char name[256];
  if (GetClassNameA(window, name, sizeof name) <= 0) return TRUE;
  bool listed = false;
  for (const std::string& rule : poller.classes) {
    if (_stricmp(name, rule.c_str()) == 0) {
      listed = true;
      break;
    }
  }
  if (!listed) return TRUE;
  char title[256];
  if (GetWindowTextA(window, title, sizeof title) <= 0) title[0] = 0;
  for (const std::string& fragment : poller.titles) {
    if (strstr(title, fragment.c_str())) {
      PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    }
  }
  return TRUE;
}

VOID CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
  double before = NowUs();
  poller.windows = 0;
  EnumWindows(PollWindow, 0);
  poller.lastWindows = poller.windows;
  if (poller.polls < 0) {
    poller.startUs = NowUs();
    poller.startCpu = ProcessCpuMs();
    if (poller.ready) SetEvent(poller.ready);
  } else {
    poller.busyUs += NowUs() - before;
  }
  ++poller.polls;
}

double FileTimeMs(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 1e4;
}

}  // namespace

double ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  return FileTimeMs(kernel) + FileTimeMs(user);
}

int RunPoller(int argc, char** argv) {
  if (argc < 6) return Refuse("arguments: --poller MS FILE (STOP READY | --for MS)");
  if (!ReadPollRules(argv[3])) return Refuse((std::string("no rules at ") + argv[3]).c_str());
  bool timed = strcmp(argv[4], "--for") == 0;
  HANDLE stop = timed ? NULL : OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
  // A timed run counts from the end of the warm-up poll, which sets ready.
  poller.ready = timed ? CreateEventA(NULL, TRUE, FALSE, NULL)
                       : OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[5]);
  if (!poller.ready || (!timed && !stop)) return Refuse("no events");
  if (!SetTimer(NULL, 0, static_cast<UINT>(atoi(argv[2])), Poll)) return Refuse("no timer");
  if (timed) {
    PumpUntil(poller.ready, INFINITE);
    PumpMessages(static_cast<DWORD>(atoi(argv[5])));
  } else {
    PumpUntil(stop, INFINITE);
  }
  double elapsedMs = (NowUs() - poller.startUs) / 1e3;
  printf("polls %d\nbusy_us %.1f\ncpu_ms %.3f\nelapsed_ms %.1f\nwindows %.0f\n", poller.polls,
         poller.busyUs, ProcessCpuMs() - poller.startCpu, elapsedMs, poller.lastWindows);
  fflush(stdout);
  return 0;
}
