// The closer across processes: a browser stand-in whose matching window the injected module
// closes, a second process that maps the module itself and shares the switch, and a second
// process that maps it at another address before the host switches on.
#include <gtest/gtest.h>
#include <stdio.h>

#include "child_process.h"
#include "debug_listener.h"
#include "wine/plugin_host.h"

namespace {

const char kRules[] =
    "// pop-ups of the test browser\r\n"
    "class,AdFrame\r\n"
    "title,Special offer\r\n";

class CrossProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    adwindows = BuiltFile("LUNET_ADWINDOWS");
    probe = BuiltFile("LUNET_PROBE");
    ASSERT_FALSE(adwindows.empty()) << "LUNET_ADWINDOWS must name lunet-adwindows.exe";
    ASSERT_FALSE(probe.empty()) << "LUNET_PROBE must name lunet-probe.exe";
    ASSERT_FALSE(host.dllPath.empty()) << "LUNET_DLL must name the built lunet.dll";
    host.dir.Write("killwnd.txt", kRules);
    ASSERT_TRUE(host.Map());
    ASSERT_EQ(1, host.Load());
  }
  void TearDown() override {
    // Leave the closer off and the module unmapped whatever happened above.
    if (host.handle()) host.Choose("off");
    host.Unmap();
  }

  static std::string CommandLine(const std::string& program,
                                 const std::vector<std::string>& arguments) {
    std::string commandLine = QuotedArgument(program);
    for (const std::string& argument : arguments) commandLine += " " + QuotedArgument(argument);
    return commandLine;
  }

  // Runs program with the arguments to its end; its standard output. It must succeed.
  static std::string Run(const std::string& program, const std::vector<std::string>& arguments) {
    ChildProcess child(CommandLine(program, arguments), ChildProcess::kCapture);
    EXPECT_EQ(0u, child.Finish()) << child.output();
    return child.output();
  }

  std::vector<WindowFate> OpenWindows(const std::vector<std::string>& windows) {
    std::vector<std::string> arguments = {"--hold", "500"};
    arguments.insert(arguments.end(), windows.begin(), windows.end());
    return ParseWindowFates(Run(adwindows, arguments));
  }

  std::string Probe(const std::vector<std::string>& options) {
    std::vector<std::string> arguments = {host.dllPath};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return Run(probe, arguments);
  }

  PluginHost host;
  std::string adwindows;
  std::string probe;
};

const std::vector<std::string> kWindows = {
    "AdFrame=Special offer: 50% off",  // the one to close
    "NoteFrame=Special offer",         // other class
    "AdFrame=Weather today",           // right class, other title
};

void ExpectOnlyTheAdClosed(const std::vector<WindowFate>& fates) {
  EXPECT_EQ("closed", FateOf(fates, "AdFrame Special offer: 50% off"));
  EXPECT_EQ("open", FateOf(fates, "NoteFrame Special offer"));
  EXPECT_EQ("open", FateOf(fates, "AdFrame Weather today"));
}

TEST_F(CrossProcessTest, InjectedCloserClosesOnlyTheMatchingWindow) {
  std::vector<WindowFate> before = OpenWindows(kWindows);
  ASSERT_EQ(3u, before.size());
  EXPECT_EQ("open", FateOf(before, "AdFrame Special offer: 50% off"));

  EXPECT_EQ(Sent(answer::kNowEnabled), host.Choose("on").bytes);
  ExpectOnlyTheAdClosed(OpenWindows(kWindows));

  EXPECT_EQ(Sent(answer::kNowDisabled), host.Choose("off").bytes);
  EXPECT_EQ("open", FateOf(OpenWindows(kWindows), "AdFrame Special offer: 50% off"));
}

TEST_F(CrossProcessTest, SecondProcessSharesTheSwitchAndTheDirectory) {
  host.Choose("on");
  // Another directory whose marker and rules would change everything if load took it.
  TempDir other;
  other.Write("config.dat", "Enabled");
  other.Write("killwnd.txt", "class,NoteFrame\r\ntitle,Special offer\r\n");
  std::string output = Probe({"--menu", "--load", other.path()});
  std::vector<std::string> lines = OutputLines(output);
  ASSERT_EQ(3u, lines.size()) << output;
  EXPECT_EQ("menu 305", lines[1]);  // the second process sees the closer on
  EXPECT_EQ("load 1", lines[2]);

  EXPECT_EQ(305, host.AskId("OnMenuExec").length);
  ExpectOnlyTheAdClosed(OpenWindows(kWindows));
}

TEST_F(CrossProcessTest, SwitchOnWorksAfterAnotherProcessMappedTheModuleElsewhere) {
  const SharedStateRecord* shared = host.Shared();
  ASSERT_TRUE(shared);
  EXPECT_EQ(host.handle(), shared->module);

  std::string output = Probe({"--reserve-base"});
  unsigned long long preferred = 0, loaded = 0;
  ASSERT_EQ(2, sscanf(output.c_str(), "preferred 0x%llx loaded 0x%llx", &preferred, &loaded))
      << output;
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(host.handle()), preferred);
  ASSERT_NE(preferred, loaded) << "the loader did not relocate the module";

  // The second process's attach recorded its own address, which names no module here: a hook
  // installed with the shared handle would fail.
  EXPECT_EQ(loaded, reinterpret_cast<UINT_PTR>(shared->module));
  HOOKPROC procedure = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(host.notify));
  HHOOK wrong = SetWindowsHookExA(WH_SHELL, procedure, shared->module, 0);
  EXPECT_EQ(NULL, wrong);
  if (wrong) UnhookWindowsHookEx(wrong);

  EXPECT_EQ(Sent(answer::kNowEnabled), host.Choose("on").bytes);
  EXPECT_TRUE(shared->hook != NULL);
  ExpectOnlyTheAdClosed(OpenWindows(kWindows));
}

// True once a debug-output listener holds the desktop's buffer, within 10 s.
bool ListenerStarted() {
  for (int waited = 0; waited < 10000; waited += 20) {
    HANDLE ready = OpenEventA(SYNCHRONIZE, FALSE, "DBWIN_BUFFER_READY");
    if (ready) {
      CloseHandle(ready);
      return true;
    }
    Sleep(20);
  }
  return false;
}

// lunet-rules watch while the injected closer works in another process: each close with the
// process, the texts the hook read and the rules that matched; a second listener is turned away.
TEST_F(CrossProcessTest, WatchShowsEachCloseWithTheRulesThatMatched) {
  std::string rules = BuiltFile("LUNET_RULES");
  ASSERT_FALSE(rules.empty()) << "LUNET_RULES must name lunet-rules.exe";
  ChildProcess watch(CommandLine(rules, {"watch", host.dir.path(), "--count", "2"}),
                     ChildProcess::kCapture);
  EXPECT_TRUE(ListenerStarted());
  ChildProcess second(CommandLine(rules, {"watch", host.dir.path()}),
                      ChildProcess::kCaptureWithErrors);
  EXPECT_EQ(4u, second.Finish()) << second.output();
  EXPECT_NE(std::string::npos, second.output().find("another program already listens"))
      << second.output();
  host.Choose("on");
  std::vector<WindowFate> fates =
      OpenWindows({"AdFrame=Special offer: 50% off", "AdFrame=Weather today",
                   "AdFrame=Special offer \"now\" C:\\ads\\"});
  EXPECT_EQ("open", FateOf(fates, "AdFrame Weather today"));
  EXPECT_EQ(0u, watch.Finish());
  std::vector<std::string> lines = OutputLines(watch.output());
  ASSERT_EQ(4u, lines.size()) << watch.output();
  const std::string rulesAt = " by class rule \"AdFrame\" (" + host.dir.path() +
                              "killwnd.txt:2) and title fragment \"Special offer\" (" +
                              host.dir.path() + "killwnd.txt:3)";
  EXPECT_NE(std::string::npos, lines[1].find("  lunet-adwindows.exe (pid ")) << lines[1];
  EXPECT_NE(
      std::string::npos,
      lines[1].find(")  closed class \"AdFrame\" title \"Special offer: 50% off\" " + rulesAt))
      << lines[1];
  EXPECT_NE(std::string::npos,
            lines[2].find(" title \"Special offer \"now\" C:\\ads\\\" " + rulesAt))
      << lines[2];
  EXPECT_EQ("2 closes seen", lines[3]);
}

// After the rules are edited, a program that already runs keeps the rules it read, even when the
// closer is switched off and on again: Wine keeps a hook's module mapped in every process it
// reached (Windows may unmap it some time after unhooking, so that a later switch-on reads the
// files anew). Users are told to restart such programs, which holds on both; a program started
// after the edit uses the new rules.
TEST_F(CrossProcessTest, RunningProgramsKeepTheirRulesUntilRestarted) {
  DebugListener listener;
  std::string error;
  ASSERT_TRUE(listener.Open(error)) << error;
  host.Choose("on");
  ChildProcess running(
      CommandLine(adwindows, {"--hold", "4000", "--again", "3000", "AdFrame=Special offer: 50% off",
                              "AdFrame=Deal of the day"}),
      ChildProcess::kCapture);
  // Its first close report: the module has read the rules in that process.
  DWORD processId = 0;
  std::string report;
  EXPECT_TRUE(listener.Next(5000, processId, report));
  host.dir.Write("killwnd_custom.txt", "title,Deal of the day\r\n");
  host.Choose("off");
  host.Choose("on");
  EXPECT_EQ(0u, running.Finish());
  std::vector<WindowFate> fates = ParseWindowFates(running.output());
  EXPECT_EQ("closed", FateOf(fates, "AdFrame Special offer: 50% off")) << running.output();
  EXPECT_EQ("open", FateOf(fates, "AdFrame Deal of the day")) << running.output();
  EXPECT_EQ("closed", FateOf(OpenWindows({"AdFrame=Deal of the day"}), "AdFrame Deal of the day"));
}

}  // namespace
