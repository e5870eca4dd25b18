// What a host sees of the six exports, written once and run against every kind of module the
// test binary instantiates: linked natively, linked under Wine, the built DLL under Wine. Only
// the exports and the plug-in directory are looked at, so each kind answers for itself.
#include <gtest/gtest.h>
#include <string.h>

#include <filesystem>
#include <string>

#include "harness/protocol/message_boxes.h"
#include "owned.h"
#include "shared/plugin_folder.h"
#include "unit/host/export_test.h"

void ExportTest::SetUp() {
  ASSERT_FALSE(dir.path().empty());
  module_ = GetParam().make();
  ASSERT_TRUE(module_ && module_->Start()) << "the module cannot be reached";
}

void ExportTest::TearDown() {
  if (!module_) return;
  if (Enabled()) Choose("off");
  module_->Stop();
}

void ExportTest::Restart() {
  module_->Stop();
  ASSERT_TRUE(module_->Start());
}

bool ExportTest::Enabled() { return AskId("OnMenuExec").bytes == Sent(answer::Menu(true)); }

namespace {

const std::string kVersionRequest = "GET PLUGIN/2.0\r\nID: version\r\n\r\n";

// Bytes that can never hold "ID:" (no 'I') nor end the text (no NUL), from a fixed sequence.
std::string Garbage(size_t size) {
  std::string bytes(size, '\0');
  uint32_t state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 23);
    if (c == 'I' || c == 0) c = 'i';
  }
  return bytes;
}

TEST_P(ExportTest, GetversionHandsOverTenBytesAndNotifyOnlyFrees) {
  LONG length = 0;
  HGLOBAL block = module().getversion(&length);
  ASSERT_TRUE(block);
  EXPECT_EQ(10, length);
  EXPECT_EQ(10u, GlobalSize(block));
  EXPECT_EQ("PLUGIN/2.0", std::string(static_cast<const char*>(block), 10));
  GlobalFree(block);
  block = module().getversion(NULL);
  EXPECT_TRUE(block);
  GlobalFree(block);

  ASSERT_EQ(1, Load(dir.path()));
  EXPECT_EQ(NULL, module().notify(HostBlock("ID: OnChoiceSelect\r\nReference0: on\r\n")));
  EXPECT_EQ(NULL, module().notify(NULL));
  EXPECT_FALSE(Enabled());
  EXPECT_FALSE(FileExists(Marker()));
}

TEST_P(ExportTest, AnswersTheProtocolByteForByte) {
  // Before any load, too.
  EXPECT_TRUE(Answered(AskId("version"), answer::kVersion, 61));
  ASSERT_EQ(1, Load(dir.path()));
  EXPECT_TRUE(Answered(AskId("OnSecondChange"), answer::kNoContent, 50));
  EXPECT_TRUE(Answered(AskId("OnMenuExec"), answer::Menu(false), 303));
  EXPECT_TRUE(Answered(Choose("cancel"), answer::kCancelled, 70));
  for (const Exchange& exchange : IdentifierExchanges()) {
    EXPECT_EQ(exchange.answer, Ask(module().request, exchange.request).bytes) << exchange.what;
  }
  EXPECT_FALSE(FileExists(Marker()));

  EXPECT_TRUE(Answered(Choose("on"), answer::kNowEnabled, 72));
  EXPECT_EQ("Enabled", ReadFileBytes(Marker()));
  EXPECT_TRUE(Answered(AskId("OnMenuExec"), answer::Menu(true), 305));
  EXPECT_TRUE(Answered(Choose("off"), answer::kNowDisabled, 72));
  EXPECT_FALSE(FileExists(Marker()));
}

TEST_P(ExportTest, ConfigureTogglesAndTellsTheUser) {
  ASSERT_EQ(1, Load(dir.path()));
  MessageBoxes boxes;
  EXPECT_EQ(IDOK, module().configure(NULL));
  EXPECT_TRUE(Enabled());
  EXPECT_EQ("Enabled", ReadFileBytes(Marker()));
  EXPECT_EQ(IDOK, module().configure(NULL));
  EXPECT_FALSE(Enabled());
  EXPECT_FALSE(FileExists(Marker()));
  EXPECT_EQ(ConfigureTwiceBoxes(), boxes.Take());
}

TEST_P(ExportTest, LoadRestoresTheMarkedStateAndKeepsTheDirectoryWhileOn) {
  TempDir marked;
  marked.Write("config.dat", "written by hand");
  ASSERT_EQ(1, Load(dir.path()));
  EXPECT_FALSE(Enabled());
  ASSERT_EQ(1, Load(marked.path()));
  EXPECT_TRUE(Enabled());
  EXPECT_EQ("written by hand", ReadFileBytes(marked.File("config.dat")));

  // While on, another directory is not taken: switching off removes the first one's marker.
  ASSERT_EQ(1, Load(dir.path()));
  EXPECT_TRUE(Answered(Choose("off"), answer::kNowDisabled, 72));
  EXPECT_FALSE(FileExists(marked.File("config.dat")));
}

// load never reads past the block or takes a directory it cannot hold with the marker behind
// it; the state stays as it was, and the marker goes where it went before.
TEST_P(ExportTest, LoadRefusesBlocksAndDirectoriesItCannotHold) {
  ASSERT_EQ(1, Load(dir.path()));
  EXPECT_EQ(1, module().load(NULL, 10));
  // A marked directory in blocks it may not take.
  TempDir marked;
  marked.Write("config.dat", "Enabled");
  EXPECT_EQ(1, module().load(HostBlock(marked.path()), -1));
  EXPECT_EQ(1, module().load(HostBlock(marked.path()), 0x7FFFFFFF));
  // Within the longest directory, but past the end of the block.
  EXPECT_EQ(1, module().load(HostBlock(marked.path()), 200));
  EXPECT_EQ(1, Load(std::string(kMaxPluginDir + 1, 'd')));
  EXPECT_FALSE(Enabled());
  EXPECT_TRUE(Answered(Choose("on"), answer::kNowEnabled, 72));
  EXPECT_TRUE(FileExists(Marker()));
  EXPECT_TRUE(Answered(Choose("off"), answer::kNowDisabled, 72));

  // The longest that fits is taken: the marker no longer goes to the first directory.
  EXPECT_EQ(1, Load(std::string(kMaxPluginDir, 'd')));
  Choose("on");
  EXPECT_FALSE(FileExists(Marker()));
}

// An empty directory, and none loaded yet, mean the current directory.
TEST_P(ExportTest, EmptyDirectoryMeansTheCurrentOne) {
  TempDir current;
  ScopedCurrentDirectory inside(current.path());
  ASSERT_TRUE(inside.moved());
  EXPECT_TRUE(Answered(Choose("on"), answer::kNowEnabled, 72));
  EXPECT_TRUE(FileExists(current.File("config.dat")));
  EXPECT_TRUE(Answered(Choose("off"), answer::kNowDisabled, 72));
  EXPECT_FALSE(FileExists(current.File("config.dat")));

  ASSERT_EQ(1, Load(dir.path()));
  ASSERT_EQ(1, Load(""));
  Choose("on");
  EXPECT_TRUE(FileExists(current.File("config.dat")));
  EXPECT_FALSE(FileExists(Marker()));
  Choose("off");  // while the current directory is still this one
}

TEST_P(ExportTest, MarkerCarriesTheStateAcrossUnloadAndRestart) {
  EXPECT_EQ(1, module().unload());  // before any load: nothing to do
  dir.Write("config.dat", "Enabled");
  ASSERT_EQ(1, Load(dir.path()));
  ASSERT_EQ(1, Load(dir.path()));
  EXPECT_TRUE(Enabled());
  EXPECT_EQ(1, module().unload());
  EXPECT_EQ(1, module().unload());
  EXPECT_FALSE(Enabled());
  EXPECT_EQ("Enabled", ReadFileBytes(Marker()));
  ASSERT_EQ(1, Load(dir.path()));
  EXPECT_TRUE(Enabled());

  // A new start of the host: off until load, then on from the marker alone.
  Restart();
  EXPECT_FALSE(Enabled());
  ASSERT_EQ(1, Load(dir.path()));
  EXPECT_TRUE(Enabled());

  Choose("off");
  EXPECT_FALSE(FileExists(Marker()));
  Restart();
  ASSERT_EQ(1, Load(dir.path()));
  EXPECT_FALSE(Enabled());
}

TEST_P(ExportTest, RequestLengthsThatDisagreeWithTheBlock) {
  RequestEntry request = module().request;
  // Far longer than the block: the copy stops at the block's end.
  EXPECT_TRUE(Answered(CallRequest(request, kVersionRequest, 1 << 30), answer::kVersion, 61));
  // Negative and zero lengths are empty requests.
  EXPECT_TRUE(Answered(CallRequest(request, kVersionRequest, -5), answer::kNoContent, 50));
  EXPECT_TRUE(Answered(CallRequest(request, kVersionRequest, 0), answer::kNoContent, 50));
  // Shorter than the text: only what was claimed is read.
  EXPECT_TRUE(Answered(CallRequest(request, kVersionRequest, 18), answer::kNoContent, 50));
}

TEST_P(ExportTest, RequestWithoutBlockOrLengthPointer) {
  LONG length = 40;
  HGLOBAL block = module().request(NULL, &length);
  EXPECT_TRUE(Answered(TakeAnswer(block, length), answer::kNoContent, 50));
  // No length pointer: nothing can be answered; the block is still taken and freed.
  EXPECT_EQ(NULL, module().request(HostBlock(kVersionRequest), NULL));
  EXPECT_EQ(NULL, module().request(NULL, NULL));
  EXPECT_EQ(Sent(answer::kVersion), Ask(module().request, kVersionRequest).bytes);
}

TEST_P(ExportTest, GarbageAndNulBytesHideTheIdentifier) {
  RequestEntry request = module().request;
  std::string garbage = Garbage(16u << 20);
  EXPECT_EQ(Sent(answer::kNoContent), Ask(request, garbage).bytes);
  // The whole block is searched: an ID line at its very end is found.
  EXPECT_EQ(Sent(answer::kVersion), Ask(request, garbage + "\r\nID: version\r\n").bytes);
  EXPECT_EQ(Sent(answer::kNoContent),
            Ask(request, std::string("GET PLUGIN/2.0\r\n\0\0", 18) + "ID: version\r\n").bytes);
  EXPECT_EQ(Sent(answer::kNoContent), Ask(request, std::string(64, '\0')).bytes);
}

// A directory named config.dat: the marker can be neither written nor deleted, the state still
// follows every choice.
TEST_P(ExportTest, MarkerPathTakenByADirectory) {
  ASSERT_TRUE(std::filesystem::create_directory(Marker()));
  ASSERT_EQ(1, Load(dir.path()));
  EXPECT_TRUE(Enabled());  // any attributes count as the marker
  EXPECT_TRUE(Answered(Choose("off"), answer::kNowDisabled, 72));
  EXPECT_FALSE(Enabled());
  EXPECT_TRUE(Answered(Choose("on"), answer::kNowEnabled, 72));
  EXPECT_TRUE(Enabled());
  EXPECT_TRUE(Answered(Choose("off"), answer::kNowDisabled, 72));
  EXPECT_TRUE(std::filesystem::is_directory(Marker()));
}

// The marker held open without sharing: deleting it fails, the switch still goes off.
TEST_P(ExportTest, LockedMarkerCannotStopTheSwitch) {
  ASSERT_EQ(1, Load(dir.path()));
  Choose("on");
  ASSERT_TRUE(FileExists(Marker()));
  FileHandle holder(CreateFileA(Marker().c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL));
  ASSERT_TRUE(holder.valid());
  EXPECT_TRUE(Answered(Choose("off"), answer::kNowDisabled, 72));
  EXPECT_FALSE(Enabled());
}

}  // namespace
