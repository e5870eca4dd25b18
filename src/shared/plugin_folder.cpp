#include "shared/plugin_folder.h"

#include <string.h>

#include "shared/shared_state.h"

int PluginPath(const char* name, char (&path)[MAX_PATH]) {
  size_t dir = strnlen(SharedState.PluginDir, sizeof SharedState.PluginDir);
  size_t file = strlen(name);
  if (dir + file + 1 > sizeof path) return 0;
  memcpy(path, SharedState.PluginDir, dir);
  memcpy(path + dir, name, file + 1);
  return 1;
}
