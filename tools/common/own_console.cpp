#include "own_console.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "common_messages.h"

#ifdef _WIN32
#include <windows.h>
#endif

bool OwnsConsole() {
  const char* seam = getenv("LUNET_OWN_CONSOLE");
  if (seam && *seam) return strcmp(seam, "1") == 0;
#ifdef _WIN32
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2) == 1;
#else
  return false;
#endif
}

int EndOfRun(int status) {
  if (!OwnsConsole()) return status;
  fflush(stderr);
  PrintPrompt(Format(kCommonMessages, common_text::kPressEnter));
  for (int c = getchar(); c != EOF && c != '\n';) c = getchar();
  return status;
}
