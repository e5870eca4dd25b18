#include "closer/switch.h"

#include <stdio.h>

#include "closer/hook.h"
#include "shared/plugin_folder.h"
#include "shared/shared_state.h"

void SetEnabled(int on, int persist) {
  if ((on != 0) == (SharedState.enabled != 0)) return;
  char marker[MAX_PATH];
  int haveMarker = PluginPath(kMarkerFile, marker);
  if (on) {
    // Our own handle in this process: the shared one may come from a process that mapped the
    // module at another address.
    SharedState.hook = SetWindowsHookExA(WH_SHELL, ShellHookProc, ProcessModule, 0);
    // On even when the hook could not be installed (no interactive desktop, say): the flag is
    // the user's choice, which the menu offers to undo and the marker carries to the next start,
    // where installing is tried again. Unhooking a null handle later fails harmlessly.
    SharedState.enabled = 1;
    if (persist && haveMarker) {
      FILE* file = fopen(marker, "wb");
      if (file) {
        static const char kMarkerText[] = "Enabled";
        fwrite(kMarkerText, 1, sizeof kMarkerText - 1, file);
        fclose(file);
      }
    }
  } else {
    // The handle may have been installed by another process that maps the module (the host
    // that switched on, while a second one switches off): hook handles are desktop-wide, not
    // per process, so whichever process holds the shared switch may remove the hook.
    UnhookWindowsHookEx(SharedState.hook);
    SharedState.enabled = 0;
    if (persist && haveMarker) DeleteFileA(marker);
  }
}
