#include "closer/switch.h"

#include <stdio.h>
#include <string.h>

#include "closer/hook.h"
#include "host/shared_state.h"

int PluginPath(const char* name, char (&path)[260]) {
  size_t dir = strnlen(SharedState.PluginDir, sizeof SharedState.PluginDir);
  size_t file = strlen(name);
  if (dir + file + 1 > sizeof path) return 0;
  memcpy(path, SharedState.PluginDir, dir);
  memcpy(path + dir, name, file + 1);
  return 1;
}

void SetEnabled(int on, int persist) {
  if ((on != 0) == (SharedState.enabled != 0)) return;
  char marker[260];
  int haveMarker = PluginPath("config.dat", marker);
  if (on) {
    // Our own handle in this process: the shared one may come from a process that mapped the
    // module at another address.
    SharedState.hook = SetWindowsHookExA(WH_SHELL, ShellHookProc, ProcessModule, 0);
    SharedState.enabled = 1;
    if (persist && haveMarker) {
      FILE* file = fopen(marker, "wb");
      if (file) {
        fwrite("Enabled", 1, 7, file);
        fclose(file);
      }
    }
  } else {
    UnhookWindowsHookEx(SharedState.hook);
    SharedState.enabled = 0;
    if (persist && haveMarker) DeleteFileA(marker);
  }
}
