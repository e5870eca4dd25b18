// The exported entry points besides request, and DllMain's attach and detach.
#include "host/exports.h"

#include <gtest/gtest.h>
#include <string.h>

#include <filesystem>

#include "closer/rules.h"
#include "closer/switch.h"
#include "protocol/message_boxes.h"
#include "host/module_fixture.h"
#include "host/plugin_abi.h"
#include "protocol/protocol.h"
#include "host/request.h"
#include "shared/plugin_folder.h"
#include "shared/shared_state.h"

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

using ExportsTest = ModuleTest;

TEST_F(ExportsTest, LoadRestoresTheMarkedStateWithoutRewritingTheMarker) {
  Load(dir.path());
  EXPECT_EQ(dir.path(), PluginDir());
  EXPECT_FALSE(Enabled());

  TempDir marked;
  marked.Write("config.dat", "written by hand");
  Load(marked.path());
  EXPECT_EQ(marked.path(), PluginDir());
  EXPECT_TRUE(Enabled());
  EXPECT_EQ("written by hand", ReadFileBytes(marked.File("config.dat")));
}

TEST_F(ExportsTest, LoadWhileOnKeepsTheDirectory) {
  dir.Write("config.dat", "Enabled");
  Load(dir.path());
  ASSERT_TRUE(Enabled());
  TempDir other;
  Load(other.path());  // the block is freed all the same
  EXPECT_EQ(dir.path(), PluginDir());
}

TEST_F(ExportsTest, LoadRefusesDirectoriesItCannotHold) {
  Load(dir.path());
  // One byte too long for "config.dat" and its NUL behind it.
  Load(std::string(kMaxPluginDir + 1, 'd'));
  EXPECT_EQ(dir.path(), PluginDir());

  EXPECT_EQ(1, load(HostBlock("elsewhere\\"), -1));
  EXPECT_EQ(dir.path(), PluginDir());

  // A length beyond the host's block.
  EXPECT_EQ(1, load(HostBlock("elsewhere\\"), 200));
  EXPECT_EQ(dir.path(), PluginDir());
  EXPECT_FALSE(Enabled());

  Load(std::string(kMaxPluginDir, 'd'));
  EXPECT_EQ(std::string(kMaxPluginDir, 'd'), PluginDir());
  Load("");
  EXPECT_EQ("", PluginDir());
}

TEST_F(ExportsTest, UnloadSwitchesOffUntilTheNextLoad) {
  EXPECT_EQ(1, unload());  // while off: nothing to do
  Load(dir.path());
  SetEnabled(1, 1);
  EXPECT_EQ(1, unload());
  EXPECT_FALSE(Enabled());
  EXPECT_EQ("Enabled", ReadFileBytes(Marker()));
#ifndef _WIN32
  EXPECT_TRUE(standin::InstalledHooks().empty());
#endif
  Load(dir.path());
  EXPECT_TRUE(Enabled());
}

TEST_F(ExportsTest, GetversionHandsOverTenBytesWithoutTerminator) {
  LONG length = 0;
  HGLOBAL block = getversion(&length);
  ASSERT_TRUE(block);
  EXPECT_EQ(10, length);
  EXPECT_EQ(10u, GlobalSize(block));
  EXPECT_EQ("PLUGIN/2.0", std::string(static_cast<const char*>(block), 10));
  GlobalFree(block);
  GlobalFree(getversion(NULL));
}

TEST_F(ExportsTest, NotifyOnlyFreesTheBlock) {
  Load(dir.path());
  EXPECT_EQ(NULL, notify(HostBlock("ID: OnChoiceSelect\r\nReference0: on\r\n")));
  EXPECT_FALSE(Enabled());
}

TEST_F(ExportsTest, ConfigureTogglesAndTellsTheUser) {
  Load(dir.path());
  MessageBoxes boxes;
  EXPECT_EQ(IDOK, configure(NULL));
  EXPECT_TRUE(Enabled());
  EXPECT_EQ("Enabled", ReadFileBytes(Marker()));
  EXPECT_EQ(IDOK, configure(NULL));
  EXPECT_FALSE(Enabled());
  EXPECT_FALSE(FileExists(Marker()));

  EXPECT_EQ(ConfigureTwiceBoxes(), boxes.Take());
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

TEST_F(DllMainTest, OtherReasonsDoNothing) {
  SetEnabled(1, 0);
  HINSTANCE other = reinterpret_cast<HINSTANCE>(0x20000000);
  EXPECT_TRUE(DllMain(other, DLL_THREAD_ATTACH, NULL));
  EXPECT_TRUE(DllMain(other, DLL_THREAD_DETACH, NULL));
  EXPECT_EQ(instance, SharedState.module);
  EXPECT_EQ(0u, Rules());
}

}  // namespace
