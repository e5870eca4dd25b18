// The built lunet.dll under abuse that takes more than its exports: directories at and past the
// longest that fits, a rule file locked by another process, and a hooked process that exits
// while its threads are inside the rule store. Windows only (Wine).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "child_process.h"
#include "dll/plugin_host.h"
#include "harness/forward_redraw.h"
#include "harness/protocol/protocol.h"
#include "harness/recording_window.h"
#include "harness/temp_dir.h"
#include "harness/windows_kit.h"
#include "message_pump.h"
#include "owned.h"

namespace {

// Each test has its own copy of the DLL in its own plug-in directory, so its shared section
// starts zeroed; the closer is switched off again at the end.
class AbuseTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dll.Map()) << "cannot load " << dll.dllPath; }
  void TearDown() override {
    if (Enabled()) Choose("off");
  }

  bool Enabled() const { return dll.Shared() && dll.Shared()->enabled == 1; }
  // Chooses "on" or "off" from the menu; true when the matching answer came back.
  bool Choose(const std::string& choice) {
    const std::string& expected = choice == "on" ? answer::kNowEnabled : answer::kNowDisabled;
    return dll.Choose(choice).bytes == Sent(expected);
  }

  PluginHost dll;
  const TempDir& plugin = dll.dir;
};

// The path with the prefix that lifts the MAX_PATH limit; the wide calls take it at any length.
std::wstring LongPath(const std::string& path) {
  return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

// Nested directories below base whose path, with its trailing separator, is exactly length bytes.
std::string MakeDirectoryOfLength(const std::string& base, size_t length) {
  std::string path = base;
  while (path.size() < length) {
    size_t left = length - path.size();
    size_t name = left - 1 > 100 ? 100 : left - 1;
    if (left - (name + 1) == 1) --name;  // never leave a single byte for the last component
    path += std::string(name, 'd');
    CreateDirectoryW(LongPath(path).c_str(), NULL);
    path += '\\';
  }
  return path;
}

bool WriteMarker(const std::string& directory) {
  FileHandle file(CreateFileW(LongPath(directory + "config.dat").c_str(), GENERIC_WRITE, 0, NULL,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
  return file.valid();
}

TEST_F(AbuseTest, DirectoryOf249BytesIsTakenLongerOnesRefused) {
  TempDir base;
  std::string longest = MakeDirectoryOfLength(base.path(), 249);
  ASSERT_EQ(249u, longest.size());
  ASSERT_TRUE(WriteMarker(longest));
  ASSERT_TRUE(CreateDirectoryA(base.File("e").c_str(), NULL));
  std::string tooLong = MakeDirectoryOfLength(base.path() + "e\\", 250);
  ASSERT_EQ(250u, tooLong.size());
  ASSERT_TRUE(WriteMarker(tooLong));

  ASSERT_EQ(1, dll.Load());
  EXPECT_EQ(1, dll.LoadFrom(tooLong));
  EXPECT_FALSE(Enabled()) << "a 250-byte directory was taken";
  EXPECT_EQ(1, dll.LoadFrom(std::string(300, 'x')));
  EXPECT_FALSE(Enabled());
  ASSERT_TRUE(Choose("on"));
  EXPECT_TRUE(FileExists(plugin.File("config.dat")));
  ASSERT_TRUE(Choose("off"));

  // 249 bytes fit with "config.dat" and its NUL: its marker switches the closer on.
  EXPECT_EQ(1, dll.LoadFrom(longest));
  EXPECT_TRUE(Enabled());
  ASSERT_TRUE(Choose("off"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((longest + "config.dat").c_str()));
  DeleteFileW(LongPath(tooLong + "config.dat").c_str());
}

// Another program of the fault tests, with its arguments.
std::string AbuseChild(const std::string& arguments) {
  return "\"" + BuiltFile("LUNET_ABUSE_CHILD") + "\" " + arguments;
}

// Another process holds killwnd.txt open without sharing: the hook's reload skips it and still
// reads killwnd_custom.txt, so only windows matching the custom rules are closed.
TEST_F(AbuseTest, RuleFileLockedByAnotherProcess) {
  std::string locked = plugin.Write("killwnd.txt", "class,LunetLockedRule\r\ntitle,Advert\r\n");
  plugin.Write("killwnd_custom.txt", "class,LunetCustomRule\r\ntitle,Advert\r\n");
  plugin.Write("config.dat", "Enabled");
  std::string eventName = "lunet-abuse-hold-" + std::to_string(GetCurrentProcessId());
  KernelHandle ready(CreateEventA(NULL, TRUE, FALSE, eventName.c_str()));
  ChildProcess holder(AbuseChild("hold \"" + locked + "\" " + eventName));
  ASSERT_TRUE(holder.started());
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready.get(), 10000)) << "the holder did not start";
  FileHandle reader(CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL));
  ASSERT_FALSE(reader.valid()) << "the holder does not lock the file";

  RecordingWindow lockedWindow("LunetLockedRule", "An Advert", RecordingWindow::kKeep);
  RecordingWindow customWindow("LunetCustomRule", "An Advert", RecordingWindow::kKeep);
  ASSERT_TRUE(lockedWindow.handle() && customWindow.handle());
  ASSERT_EQ(1, dll.Load());
  ASSERT_TRUE(Enabled());
  RedrawForwarding forwarding;
  ASSERT_TRUE(forwarding.started());
  EXPECT_TRUE(ForwardRedraw(customWindow.handle()));
  EXPECT_TRUE(ForwardRedraw(lockedWindow.handle()));
  PumpPending();
  EXPECT_NE(0, customWindow.closes());
  EXPECT_EQ(0, lockedWindow.closes());
}

// A hooked process calls ExitProcess while four threads keep reloading and scanning its rule
// store (a class rule and no title rule, so every redraw of its windows reloads). The system
// stops those threads wherever they are, possibly holding the store's lock or the heap's; the
// process must still end, with its own exit code, every time.
TEST_F(AbuseTest, ProcessExitsWhileItsStoreIsInUse) {
  const int kRuns = 24;
  int ended = 0;
  for (int run = 0; run < kRuns; ++run) {
    // A copy of its own, so its shared section starts off and is nobody else's.
    TempDir dir;
    std::string copy = dir.File("lunet.dll");
    ASSERT_TRUE(CopyFileA(BuiltFile("LUNET_DLL").c_str(), copy.c_str(), FALSE));
    dir.Write("killwnd.txt", "class,LunetChurnTarget\r\n");
    dir.Write("config.dat", "Enabled");
    // A backslash before the closing quote must be doubled, or it escapes the quote.
    ChildProcess churn(AbuseChild("churn \"" + copy + "\" \"" + dir.path() + "\\\" " +
                                  std::to_string(run * 7 % 50)));
    ASSERT_TRUE(churn.started());
    DWORD code = churn.Wait(20000);
    EXPECT_EQ(42u, code) << "run " << run
                         << (code == STILL_ACTIVE ? ": the process hung at exit"
                                                  : ": unexpected exit code");
    if (code == 42) ++ended;
  }
  EXPECT_EQ(kRuns, ended);
}

}  // namespace
