#include "host/exports.h"

#include <string.h>

#include "closer/rules.h"
#include "closer/switch.h"
#include "shared/plugin_folder.h"
#include "shared/shared_state.h"

namespace {

const char kCaption[] = "Tessop";
// Shift_JIS message texts, byte for byte: 有効になりました。 ("It is now on.") and
// 無効になりました。 ("It is now off.").
const char kEnabledMessage[] =
    "\x97\x4C\x8C\xF8\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB5\x82\xBD\x81\x42";
const char kDisabledMessage[] =
    "\x96\xB3\x8C\xF8\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB5\x82\xBD\x81\x42";

// A directory the module can use: not negative, within the host's block, and short enough
// for PluginDir to hold it with the marker file behind it.
bool UsableDirectory(HGLOBAL block, LONG length) {
  if (length < 0 || length > kMaxPluginDir) return false;
  if (length == 0) return true;
  return block && static_cast<SIZE_T>(length) <= GlobalSize(block);
}

}  // namespace

extern "C" BOOL __cdecl load(HGLOBAL block, LONG length) {
  if (SharedState.enabled == 1 || !UsableDirectory(block, length)) {
    GlobalFree(block);
    return 1;
  }
  if (length) memcpy(SharedState.PluginDir, block, static_cast<size_t>(length));
  SharedState.PluginDir[length] = 0;
  GlobalFree(block);
  char marker[MAX_PATH];
  if (PluginPath(kMarkerFile, marker) && GetFileAttributesA(marker) != INVALID_FILE_ATTRIBUTES) {
    SetEnabled(1, 0);
  }
  return 1;
}

extern "C" BOOL __cdecl unload(void) {
  if (SharedState.enabled == 1) SetEnabled(0, 0);
  return 1;
}

extern "C" HGLOBAL __cdecl getversion(LONG* length) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, 10);
  if (!block) return NULL;
  memcpy(block, "PLUGIN/2.0", 10);
  if (length) *length = 10;
  return block;
}

extern "C" HGLOBAL __cdecl notify(HGLOBAL block) { return GlobalFree(block); }

extern "C" int __cdecl configure(HWND owner) {
  if (SharedState.enabled == 1) {
    SetEnabled(0, 1);
    return MessageBoxA(owner, kDisabledMessage, kCaption, MB_OK);
  }
  SetEnabled(1, 1);
  return MessageBoxA(owner, kEnabledMessage, kCaption, MB_OK);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    // Without its lock the store cannot be used: refusing the load beats a crash in the host or
    // in a hooked program later.
    if (!KillRules.lockMade) return FALSE;
    SharedState.module = instance;
    ProcessModule = instance;
    DisableThreadLibraryCalls(instance);
    if (SharedState.enabled == 1) {
      RulesHold hold;
      LoadPluginRules();
    }
  } else if (reason == DLL_PROCESS_DETACH) {
    // A non-null reserved argument means the process is ending, not FreeLibrary: the lock may
    // be held by a thread that no longer exists, and waiting for it would hang the exit.
    // A refused attach is followed by this detach, lock or no lock.
    if (reserved) {
      AbandonRules();
    } else if (SharedState.enabled == 1 && KillRules.lockMade) {
      RulesHold hold;
      ClearRules();
    }
  }
  return TRUE;
}
