// The exports as a host sees them, linked into the test; DllMain's attach and detach.
#include "host/exports.h"

#include <gtest/gtest.h>
#include <string.h>

#include <filesystem>

#include "closer/rules.h"
#include "closer/switch.h"
#include "harness/protocol/message_boxes.h"
#include "harness/protocol/protocol.h"
#include "host/plugin_abi.h"
#include "host/request.h"
#include "shared/plugin_folder.h"
#include "shared/shared_state.h"
#include "unit/host/module_fixture.h"

#ifndef _WIN32
#include "standin.h"
#endif

namespace {

// Hosts call the exports through these types: they must stay the module's own.
static_assert(std::is_same<decltype(&load), plugin_abi::LoadEntry>() &&
                  std::is_same<decltype(&unload), plugin_abi::UnloadEntry>() &&
                  std::is_same<decltype(&request), plugin_abi::RequestEntry>() &&
                  std::is_same<decltype(&getversion), plugin_abi::GetVersionEntry>() &&
                  std::is_same<decltype(&notify), plugin_abi::NotifyEntry>() &&
                  std::is_same<decltype(&configure), plugin_abi::ConfigureEntry>(),
              "the plug-in interface no longer matches the module's exports");

std::unique_ptr<ModuleUnderTest> MakeLinked() { return std::make_unique<LinkedModule>(); }

LUNET_EXPORT_TESTS_FOR(Linked);

// The shared record as the image holds it, copied before any test runs: the closer starts off,
// with no handles and no folder, until a load finds the marker file.
const SharedStateRecord kSharedAtStart = SharedState;

TEST(SharedStateAtStart, ClosersStartOffWithNothingShared) {
  EXPECT_EQ(0, kSharedAtStart.enabled);
  EXPECT_EQ(NULL, kSharedAtStart.module);
  EXPECT_EQ(NULL, kSharedAtStart.hook);
  EXPECT_EQ(std::string(sizeof kSharedAtStart.PluginDir, '\0'),
            std::string(kSharedAtStart.PluginDir, sizeof kSharedAtStart.PluginDir));
}

class DllMainTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    dir.Write("killwnd.txt", "// test rules\r\nclass,AdFrame\r\ntitle,Special offer\r\n");
    Load(dir.path());
  }
  static uint32_t Rules() { return KillRules.ClassRules.count + KillRules.TitleRules.count; }
};

TEST_F(DllMainTest, AttachRecordsTheHandleAndLoadsRulesOnlyWhileOn) {
#ifndef _WIN32
  int callsBefore = standin::DisableThreadLibraryCallsCount();
#endif
  HINSTANCE other = reinterpret_cast<HINSTANCE>(0x20000000);
  EXPECT_TRUE(DllMain(other, DLL_PROCESS_ATTACH, NULL));
  EXPECT_EQ(other, SharedState.module);
  EXPECT_EQ(other, ProcessModule);
  EXPECT_EQ(0u, Rules());

  EXPECT_TRUE(DllMain(instance, DLL_PROCESS_ATTACH, NULL));
  SetEnabled(1, 0);
  EXPECT_TRUE(DllMain(instance, DLL_PROCESS_ATTACH, NULL));
  EXPECT_EQ(instance, SharedState.module);
  EXPECT_EQ(1u, KillRules.ClassRules.count);
  EXPECT_EQ(1u, KillRules.TitleRules.count);
#ifndef _WIN32
  EXPECT_EQ(3, standin::DisableThreadLibraryCallsCount() - callsBefore);
#endif
}

TEST_F(DllMainTest, DetachEmptiesTheRulesOnlyWhileOn) {
  LoadRules(dir.path().c_str());
  EXPECT_TRUE(DllMain(instance, DLL_PROCESS_DETACH, NULL));
  EXPECT_EQ(2u, Rules());

  SetEnabled(1, 0);
  EXPECT_TRUE(DllMain(instance, DLL_PROCESS_DETACH, NULL));
  EXPECT_EQ(0u, Rules());
}

// The store's lock could not be made (XP short of memory): the load is refused, and the detach
// the runtime sends after a refused attach touches neither the lock nor the rules.
TEST_F(DllMainTest, WithoutTheStoreLockAttachIsRefusedAndDetachLeavesTheStore) {
  LoadRules(dir.path().c_str());
  SetEnabled(1, 0);
  ScopedValue<int> noLock(KillRules.lockMade, 0);
  EXPECT_FALSE(DllMain(instance, DLL_PROCESS_ATTACH, NULL));
  EXPECT_TRUE(DllMain(instance, DLL_PROCESS_DETACH, NULL));
  EXPECT_EQ(2u, Rules());
}

TEST_F(DllMainTest, ShippedSampleRulesLoadAsTheirCommentsSay) {
  std::string samples = LUNET_SAMPLES_DIR;
#ifdef _WIN32
  samples = "Z:" + samples;  // the build machine's root under Wine
#endif
  TempDir shipped;
  for (const char* name : {"killwnd.txt", "killwnd_custom.txt"}) {
    std::string bytes = ReadFileBytes(samples + name);
    ASSERT_FALSE(bytes.empty()) << samples + name;
    shipped.Write(name, bytes);
  }
  Load(shipped.path());
  SetEnabled(1, 0);
  EXPECT_TRUE(DllMain(instance, DLL_PROCESS_ATTACH, NULL));
  // The comments add nothing; the custom file holds comments only.
  ASSERT_EQ(2u, KillRules.ClassRules.count);
  EXPECT_STREQ("AdPopupWindow", KillRules.ClassRules.items[0]->data);
  EXPECT_STREQ("Promo Frame", KillRules.ClassRules.items[1]->data);
  ASSERT_EQ(2u, KillRules.TitleRules.count);
  EXPECT_STREQ("Special offer", KillRules.TitleRules.items[0]->data);
  EXPECT_STREQ("Sponsored", KillRules.TitleRules.items[1]->data);
}

}  // namespace
