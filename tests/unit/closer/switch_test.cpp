// The on/off switch: the desktop-wide hook it installs and the marker file it keeps.
#include "closer/switch.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <filesystem>

#include "closer/hook.h"
#include "harness/temp_dir.h"
#include "shared/shared_state.h"
#include "unit/closer/test_desktop.h"

#ifndef _WIN32
#include "standin.h"
#endif

namespace {

// The state load leaves in a fresh process: closer off, this process's module recorded, and a
// plug-in directory of its own with its trailing separator.
class SwitchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.path().empty());
    memset(&SharedState, 0, sizeof SharedState);
    instance = TestModuleInstance();
    SharedState.module = instance;
    ProcessModule = instance;
    snprintf(SharedState.PluginDir, sizeof SharedState.PluginDir, "%s", dir.path().c_str());
  }
  // Off whatever a failed test left, so no hook outlives it.
  void TearDown() override {
    if (SharedState.enabled) SetEnabled(0, 0);
#ifndef _WIN32
    standin::RemoveAllHooks();
#endif
  }

  bool Enabled() const { return SharedState.enabled == 1; }
  std::string Marker() const { return dir.File("config.dat"); }
#ifndef _WIN32
  std::vector<standin::InstalledHook> Hooks() const { return standin::InstalledHooks(); }
#endif

  TempDir dir;
  HINSTANCE instance = NULL;
};

TEST_F(SwitchTest, OnInstallsTheShellHookAndWritesTheMarker) {
  SetEnabled(1, 1);
  EXPECT_TRUE(Enabled());
  EXPECT_TRUE(SharedState.hook != NULL);
  EXPECT_EQ("Enabled", ReadFileBytes(Marker()));
#ifndef _WIN32
  auto hooks = Hooks();
  ASSERT_EQ(1u, hooks.size());
  EXPECT_EQ(WH_SHELL, hooks[0].type);
  EXPECT_EQ(&ShellHookProc, hooks[0].proc);
  EXPECT_EQ(instance, hooks[0].module);
  EXPECT_EQ(0u, hooks[0].threadId);
  EXPECT_EQ(SharedState.hook, hooks[0].handle);
#endif

  SetEnabled(0, 1);
  EXPECT_FALSE(Enabled());
  EXPECT_FALSE(FileExists(Marker()));
#ifndef _WIN32
  EXPECT_TRUE(Hooks().empty());
#endif
}

TEST_F(SwitchTest, HookNamesThisProcessModuleWhateverTheSharedOneSays) {
  // Another process attached last and recorded its own handle, which means nothing here: the
  // real SetWindowsHookExA refuses a handle that is no module of the calling process.
  SharedState.module = reinterpret_cast<HINSTANCE>(0x00020000);
  SetEnabled(1, 0);
  EXPECT_TRUE(SharedState.hook != NULL);
#ifndef _WIN32
  ASSERT_EQ(1u, Hooks().size());
  EXPECT_EQ(instance, Hooks()[0].module);
#endif
}

TEST_F(SwitchTest, SwitchingToTheCurrentStateDoesNothing) {
  SetEnabled(1, 1);
  HHOOK hook = SharedState.hook;
  dir.Write("config.dat", "kept");
  SetEnabled(5, 1);  // any non-zero is on
  EXPECT_EQ("kept", ReadFileBytes(Marker()));
  EXPECT_EQ(hook, SharedState.hook);
  std::filesystem::remove(Marker());
  SetEnabled(1, 1);
  EXPECT_FALSE(FileExists(Marker()));
#ifndef _WIN32
  EXPECT_EQ(1u, Hooks().size());
#endif

  SetEnabled(0, 0);
  dir.Write("config.dat", "kept");
  SetEnabled(0, 1);
  EXPECT_EQ("kept", ReadFileBytes(Marker()));
}

TEST_F(SwitchTest, OffWithoutPersistLeavesTheMarker) {
  SetEnabled(1, 1);
  SetEnabled(0, 0);
  EXPECT_FALSE(Enabled());
  EXPECT_EQ("Enabled", ReadFileBytes(Marker()));
#ifndef _WIN32
  EXPECT_TRUE(Hooks().empty());
#endif
}

TEST_F(SwitchTest, DirectoryWithoutRoomForTheMarkerWritesNone) {
  // Filled to the last byte without a terminator: no marker path fits.
  memset(SharedState.PluginDir, 'a', sizeof SharedState.PluginDir);
  SetEnabled(1, 1);
  EXPECT_TRUE(Enabled());
  SetEnabled(0, 1);
  EXPECT_FALSE(Enabled());
}

#ifndef _WIN32
TEST_F(SwitchTest, FailedHookInstallStillCountsAsOn) {
  standin::ArmedFailures disarm;
  standin::FailNextHookInstall();
  SetEnabled(1, 1);
  EXPECT_TRUE(Enabled());
  EXPECT_EQ(NULL, SharedState.hook);
  EXPECT_TRUE(FileExists(Marker()));
  SetEnabled(0, 1);
  EXPECT_FALSE(Enabled());
  EXPECT_FALSE(FileExists(Marker()));
}
#endif

}  // namespace
