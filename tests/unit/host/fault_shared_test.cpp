// SharedState as another process may leave it: any process that maps the module can write the
// shared section, so the plug-in directory may come without its terminator. Both targets.
#include <gtest/gtest.h>
#include <string.h>
#include <windows.h>

#include "closer/hook.h"
#include "closer/rules.h"
#include "harness/temp_dir.h"
#include "host/exports.h"
#include "shared/shared_state.h"

namespace {

TEST(SharedStateAbuse, DirectoryWithoutTerminatorIsNeverReadPastItsField) {
  ScopedValue<SharedStateRecord> shared(SharedState, SharedState);
  ScopedValue<HINSTANCE> module(ProcessModule, ProcessModule);
  TempDir dir;
  dir.Write("killwnd.txt", "class,Any\r\ntitle,\r\n");
  ScopedCurrentDirectory inside(dir.path());
  ASSERT_TRUE(inside.moved());
  // 260 bytes naming the current directory, with no room for a NUL: whatever a reader finds
  // behind the field would complete the path, and the rule file is there to be found.
  for (size_t i = 0; i < sizeof SharedState.PluginDir; i += 2)
    memcpy(SharedState.PluginDir + i, "./", 2);
  SharedState.enabled = 1;

  // The reload of the hook and the load at attach find no usable directory: no rules.
  EXPECT_EQ(0, MatchClass("Any"));
  EXPECT_EQ(0u, KillRules.ClassRules.count);
  EXPECT_EQ(TRUE, DllMain(reinterpret_cast<HINSTANCE>(0x10000000), DLL_PROCESS_ATTACH, NULL));
  EXPECT_EQ(0u, KillRules.ClassRules.count);

  // Terminated again, the directory is used.
  strcpy(SharedState.PluginDir, dir.path().c_str());
  EXPECT_EQ(1, MatchClass("Any"));
  EXPECT_EQ(1, MatchTitle("whatever"));

  ClearRules();
}

}  // namespace
