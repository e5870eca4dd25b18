// The built lunet.dll as the host uses it: LoadLibraryA from its plug-in directory, the six
// exports by name, the whole protocol, the marker file across unload and reload, and the real
// message boxes of configure.
#include <gtest/gtest.h>

#include "protocol/message_boxes.h"
#include "wine/plugin_host.h"

namespace {

class DllHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(host.dllPath.empty()) << "LUNET_DLL must name the built lunet.dll";
    ASSERT_TRUE(host.Map());
  }
  std::string Marker() const { return host.dir.File("config.dat"); }
  LONG MenuLength() { return host.AskId("OnMenuExec").length; }

  PluginHost host;
};

TEST_F(DllHostTest, ExportsAnswerTheProtocolByteForByte) {
  ASSERT_EQ(1, host.Load());
  EXPECT_TRUE(Answered(host.AskId("version"), answer::kVersion, 61));
  EXPECT_TRUE(Answered(host.AskId("OnSecondChange"), answer::kNoContent, 50));
  EXPECT_TRUE(Answered(host.AskId("OnMenuExec"), answer::Menu(false), 303));
  EXPECT_TRUE(Answered(host.Choose("cancel"), answer::kCancelled, 70));
  for (const Exchange& exchange : IdentifierExchanges()) {
    EXPECT_EQ(exchange.answer, host.Ask(exchange.request).bytes) << exchange.what;
  }
  EXPECT_FALSE(FileExists(Marker()));

  EXPECT_TRUE(Answered(host.Choose("on"), answer::kNowEnabled, 72));
  EXPECT_TRUE(Answered(host.AskId("OnMenuExec"), answer::Menu(true), 305));
  EXPECT_TRUE(Answered(host.Choose("off"), answer::kNowDisabled, 72));
}

TEST_F(DllHostTest, RequestGuardsTheHostsBlocksAndLength) {
  LONG length = -1;
  HGLOBAL block = host.request(HostBlock("ID: version"), &length);
  ASSERT_TRUE(block);
  EXPECT_EQ(50, length);
  GlobalFree(block);
  length = 100000;
  block = host.request(HostBlock("ID: version"), &length);
  ASSERT_TRUE(block);
  EXPECT_EQ(61, length);
  EXPECT_EQ(61u, GlobalSize(block));
  GlobalFree(block);
  EXPECT_EQ(NULL, host.request(HostBlock("ID: version"), NULL));
}

TEST_F(DllHostTest, MarkerCarriesTheStateAcrossUnloadAndReload) {
  ASSERT_EQ(1, host.Load());
  EXPECT_EQ(303, MenuLength());
  host.Choose("on");
  EXPECT_EQ("Enabled", ReadFileBytes(Marker()));
  EXPECT_EQ(305, MenuLength());

  EXPECT_EQ(1, host.unload());
  EXPECT_EQ(303, MenuLength());
  EXPECT_EQ("Enabled", ReadFileBytes(Marker()));
  ASSERT_EQ(1, host.Load());
  EXPECT_EQ(305, MenuLength());

  // A new start of the host: the module comes back on from the marker alone.
  host.Unmap();
  EXPECT_TRUE(FileExists(Marker()));
  ASSERT_TRUE(host.Map());
  EXPECT_EQ(303, MenuLength());
  ASSERT_EQ(1, host.Load());
  EXPECT_EQ(305, MenuLength());

  host.Choose("off");
  EXPECT_FALSE(FileExists(Marker()));
  host.Unmap();
  ASSERT_TRUE(host.Map());
  ASSERT_EQ(1, host.Load());
  EXPECT_EQ(303, MenuLength());
}

TEST_F(DllHostTest, LoadRefusesADirectoryTooLongForTheMarker) {
  ASSERT_EQ(1, host.Load());
  EXPECT_EQ(1, host.LoadFrom(host.dir.path() + std::string(250, 'd')));
  host.Choose("on");
  // The marker went into the directory that was accepted.
  EXPECT_TRUE(FileExists(Marker()));
  host.Choose("off");
}

TEST_F(DllHostTest, GetversionAndNotify) {
  LONG length = 0;
  HGLOBAL block = host.getversion(&length);
  ASSERT_TRUE(block);
  EXPECT_EQ(10, length);
  EXPECT_EQ(10u, GlobalSize(block));
  EXPECT_EQ("PLUGIN/2.0", std::string(static_cast<const char*>(block), 10));
  GlobalFree(block);
  EXPECT_EQ(NULL, host.notify(HostBlock("ID: OnChoiceSelect\r\nReference0: on\r\n")));
}

TEST_F(DllHostTest, ConfigureShowsTheRealMessageBoxes) {
  ASSERT_EQ(1, host.Load());
  MessageBoxes boxes;
  EXPECT_EQ(IDOK, host.configure(NULL));
  EXPECT_EQ("Enabled", ReadFileBytes(Marker()));
  EXPECT_EQ(305, MenuLength());
  EXPECT_EQ(IDOK, host.configure(NULL));
  EXPECT_FALSE(FileExists(Marker()));
  EXPECT_EQ(303, MenuLength());

  EXPECT_EQ(ConfigureTwiceBoxes(), boxes.Take());
}

}  // namespace
