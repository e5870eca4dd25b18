// The window check: real windows on Windows, the stand-in desktop natively.
#include "closer/hook.h"

#include <stdio.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "unit/closer/rules_fixture.h"
#include "unit/closer/test_desktop.h"

#ifndef _WIN32
#include "standin.h"
#endif

namespace {

class WindowCheck : public RulesFixture {
 protected:
  // One title-redraw notification for the window, as the system sends it.
  static void Redraw(const TestWindow& window) {
    ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(window.handle()), 0);
  }
  // One redraw of each window in turn; then the close requests each has had.
  static std::vector<int> RedrawEach(std::initializer_list<TestWindow*> windows) {
    for (TestWindow* window : windows) Redraw(*window);
    std::vector<int> closes;
    for (TestWindow* window : windows) closes.push_back(window->CloseRequests());
    return closes;
  }
};
using Closes = std::vector<int>;

TEST_F(WindowCheck, MatchingWindowIsAskedToCloseOnEveryRedraw) {
  LoadFiles("class,AdFrame\ntitle,Special offer\n");
  TestWindow ad("AdFrame", "Today: Special offer!");
  Redraw(ad);
  EXPECT_EQ(1, ad.CloseRequests());
  Redraw(ad);
  EXPECT_EQ(2, ad.CloseRequests());
}

TEST_F(WindowCheck, ClassAndFragmentMustBothMatch) {
  LoadFiles("class,AdFrame\ntitle,Special offer\n", "class,lunetcasepad\n");
  TestWindow noFragment("AdFrame", "Ordinary page");
  TestWindow otherClass("PlainFrame", "Special offer");
  TestWindow fragmentCase("AdFrame", "special offer");
  TestWindow classCase("LunetCasePad", "Special offer inside");
  // Fragments are case-sensitive, class names are not.
  EXPECT_EQ((Closes{0, 0, 0, 1}),
            RedrawEach({&noFragment, &otherClass, &fragmentCase, &classCase}));
}

// The start of a close report for a window of that process.
std::string ReportStart(const TestWindow& window, DWORD processId = GetCurrentProcessId()) {
  char text[64];
  snprintf(text, sizeof text, "lunet: close pid=%lu hwnd=0x%llX ",
           static_cast<unsigned long>(processId),
           static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window.handle())));
  return text;
}

// One line per close, with the texts as the hook read them (at most 254 bytes) and every byte
// that could break the line or its quoting escaped; nothing for the windows left open.
TEST_F(WindowCheck, EachCloseIsReportedInOneLine) {
  CloseReports reports;
  LoadFiles("class,AdFrame\ntitle,offer\n");
  TestWindow plain("AdFrame", "weather");
  TestWindow other("PlainFrame", "offer");
  TestWindow ad("AdFrame", "a \"special\" offer\tC:\\x\x01\x7F\xE9");
  TestWindow longTitle("AdFrame", std::string(249, 'x') + "offer" + "cut");
  std::vector<std::string> lines;
  for (TestWindow* window : {&plain, &other, &ad, &longTitle}) {
    Redraw(*window);
    for (const std::string& line : reports.Take()) lines.push_back(line);
  }
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(
      ReportStart(ad) +
          "class=\"AdFrame\" title=\"a \\x22special\\x22 offer\\x09C:\\x5Cx\\x01\\x7F\xE9\"\n",
      lines[0]);
  EXPECT_EQ(
      ReportStart(longTitle) + "class=\"AdFrame\" title=\"" + std::string(249, 'x') + "offer\"\n",
      lines[1]);
}

// A listener that keeps the buffer never holds up a close: the reports it cannot take are
// counted, and the next one that goes through carries the count. Without a listener nothing is
// counted, since nothing is lost to anyone.
TEST_F(WindowCheck, BusyListenerCostsReportsNotCloses) {
  LoadFiles("class,AdFrame\ntitle,offer\n");
  TestWindow ad("AdFrame", "offer");
  Redraw(ad);  // nobody listens
  CloseReports reports;
  DWORD processId = 0;
  std::string held;
  Redraw(ad);
  ASSERT_TRUE(reports.listener().Take(0, processId, held));
  EXPECT_EQ(GetCurrentProcessId(), processId);
  EXPECT_EQ(ReportStart(ad) + "class=\"AdFrame\" title=\"offer\"\n", held);
  for (int i = 0; i < 3; ++i) Redraw(ad);
  EXPECT_EQ(5, ad.CloseRequests());
  EXPECT_TRUE(reports.Take().empty());
  reports.listener().HandBack();
  Redraw(ad);
  EXPECT_EQ(
      (std::vector<std::string>{ReportStart(ad) + "class=\"AdFrame\" title=\"offer\" dropped=3\n"}),
      reports.Take());
  Redraw(ad);
  EXPECT_EQ((std::vector<std::string>{ReportStart(ad) + "class=\"AdFrame\" title=\"offer\"\n"}),
            reports.Take());
}

TEST_F(WindowCheck, OnlyTitleRedrawsAreChecked) {
  LoadFiles("class,AdFrame\ntitle,offer\n");
  TestWindow ad("AdFrame", "offer");
  for (int code : {HSHELL_WINDOWCREATED, HSHELL_WINDOWACTIVATED, HSHELL_WINDOWDESTROYED, 5, 7}) {
    ShellHookProc(code, reinterpret_cast<WPARAM>(ad.handle()), 0);
  }
  EXPECT_EQ(0, ad.CloseRequests());
}

TEST_F(WindowCheck, EmptyFragmentClosesEveryWindowOfAListedClass) {
  LoadFiles("class,AdFrame\ntitle,");
  TestWindow ad("AdFrame", "anything at all");
  TestWindow untitled("AdFrame", "");
  TestWindow other("PlainFrame", "anything at all");
  EXPECT_EQ((Closes{1, 1, 0}), RedrawEach({&ad, &untitled, &other}));
}

TEST_F(WindowCheck, TextsAreCutAfter254Bytes) {
  const std::string longClass = "C" + std::string(254, 'k');  // 255 bytes
  LoadFiles("class," + longClass.substr(0, 254) + "\ntitle,AD\n");
  TestWindow inside(longClass, std::string(252, 'x') + "AD");
  TestWindow straddling(longClass, std::string(253, 'x') + "AD");
  TestWindow beyond(longClass, std::string(254, 'x') + "AD");
  EXPECT_EQ((Closes{1, 0, 0}), RedrawEach({&inside, &straddling, &beyond}));

  LoadFiles("class," + longClass + "\ntitle,AD\n");  // the full name is never seen
  TestWindow full(longClass, "AD");
  Redraw(full);
  EXPECT_EQ(0, full.CloseRequests());
}

TEST_F(WindowCheck, EmptyStoreIsLoadedFromThePluginDirectory) {
  WriteRules("class,AdFrame\ntitle,offer\n");
  TestWindow ad("AdFrame", "offer");
  Redraw(ad);
  EXPECT_EQ(1, ad.CloseRequests());
  EXPECT_EQ(1u, KillRules.ClassRules.count);

  // While both lists hold rules, edits to the files do not reach the store.
  WriteRules("class,Other\ntitle,nothing\n");
  Redraw(ad);
  EXPECT_EQ(2, ad.CloseRequests());
  EXPECT_EQ((Texts{"AdFrame"}), Classes());
}

TEST_F(WindowCheck, ClassRulesAloneCloseNothingAndTitlesAreReloaded) {
  LoadFiles("class,AdFrame\n");
  TestWindow ad("AdFrame", "offer");
  Redraw(ad);
  EXPECT_EQ(0, ad.CloseRequests());
  EXPECT_TRUE(Titles().empty());

  // The empty title list makes every matching class re-read both files.
  WriteRules("class,AdFrame\ntitle,offer\n");
  Redraw(ad);
  EXPECT_EQ(1, ad.CloseRequests());
  EXPECT_EQ((Texts{"offer"}), Titles());
}

TEST_F(WindowCheck, WindowThatIsGoneReadsAsEmptyText) {
  LoadFiles("class,\ntitle,\n");  // an empty class rule matches only an empty class name
  TestWindow gone("AdFrame", "offer");
  HWND handle = gone.handle();
  gone.Destroy();
  ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(handle), 0);
  EXPECT_EQ(1, MatchClass(""));
  EXPECT_EQ(0, MatchClass("AdFrame"));
}

#ifndef _WIN32
TEST_F(WindowCheck, EveryNotificationIsPassedOnUnchanged) {
  LoadFiles("class,AdFrame\ntitle,offer\n");
  TestWindow ad("AdFrame", "offer");
  ScopedValue<HHOOK> hook(SharedState.hook, reinterpret_cast<HHOOK>(0x1234));
  standin::TakeNextHookCalls();
  standin::ArmedFailures disarm;
  standin::SetNextHookResult(42);
  EXPECT_EQ(42, ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(ad.handle()), 7));
  EXPECT_EQ(42, ShellHookProc(HSHELL_WINDOWCREATED, 99, 8));
  std::vector<standin::NextHookCall> calls = standin::TakeNextHookCalls();
  ASSERT_EQ(2u, calls.size());
  EXPECT_EQ(SharedState.hook, calls[0].hook);
  EXPECT_EQ(HSHELL_REDRAW, calls[0].code);
  EXPECT_EQ(reinterpret_cast<WPARAM>(ad.handle()), calls[0].wParam);
  EXPECT_EQ(7, calls[0].lParam);
  EXPECT_EQ(HSHELL_WINDOWCREATED, calls[1].code);
  EXPECT_EQ(99u, calls[1].wParam);
  EXPECT_EQ(8, calls[1].lParam);
  EXPECT_EQ(1, ad.CloseRequests());
}

// The report names the window's own process, not the one the check runs in: a 32-bit hook runs
// for 64-bit programs on the thread that installed it.
TEST_F(WindowCheck, ReportNamesTheWindowsProcess) {
  CloseReports reports;
  LoadFiles("class,AdFrame\ntitle,offer\n");
  TestWindow ad("AdFrame", "offer");
  standin::SetWindowProcess(ad.handle(), 4242);
  Redraw(ad);
  EXPECT_EQ(
      (std::vector<std::string>{ReportStart(ad, 4242) + "class=\"AdFrame\" title=\"offer\"\n"}),
      reports.Take());
}
#endif

}  // namespace
