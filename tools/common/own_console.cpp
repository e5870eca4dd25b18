#include "own_console.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "common_messages.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
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

std::string ProgramFolder() {
  char path[4096];
#ifdef _WIN32
  DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
  if (length >= MAX_PATH) length = 0;
#else
  ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length < 0 || length == sizeof path) length = 0;
#endif
  std::string program(path, static_cast<size_t>(length));
  return program.substr(0, program.find_last_of("\\/") + 1);
}

int EndOfRun(int status) {
  if (!OwnsConsole()) return status;
  fflush(stderr);
  PrintPrompt(Text(common_text::kPressEnter));
  for (int c = getchar(); c != EOF && c != '\n';) c = getchar();
  return status;
}
