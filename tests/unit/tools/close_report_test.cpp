// The close report read back by lunet-rules: whatever bytes a window's texts hold, the parser
// gets back what the module wrote; on Windows, the feed that reads the reports as they arrive.
#include "closer/close_report.h"

#include <gtest/gtest.h>

#include "close_report_reader.h"

#ifdef _WIN32
#include "close_feed.h"
#include "common_messages.h"
#include "desktop.h"
#endif

namespace {

TEST(CloseReportLine, HostileTextsComeBackWhole) {
  std::string hostile = "a \"quoted\" C:\\path\\\tx\x01\x7F\x80\xE9\xFF";
  hostile += std::string(254 - hostile.size(), '\\');
  const struct {
    const char* className;
    std::string title;
    LONG dropped;
  } cases[] = {{"AdFrame", hostile, 0}, {"Ad\"Frame\\", "", 17}, {"", "\x81\x5C\x82\xA0", 1}};
  for (const auto& c : cases) {
    char line[kDebugBufferBytes];
    HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0xBEEF0));
    size_t length =
        FormatCloseReport(line, sizeof line, 4242, window, c.className, c.title.c_str(), c.dropped);
    ASSERT_LT(length, sizeof line - 1);
    CloseReport report;
    ASSERT_TRUE(ParseCloseReport(line, report)) << line;
    EXPECT_EQ(4242u, report.processId);
    EXPECT_EQ(0xBEEF0u, report.window);
    EXPECT_EQ(c.className, report.className);
    EXPECT_EQ(c.title, report.title);
    EXPECT_EQ(static_cast<unsigned long>(c.dropped), report.dropped);
  }
}

// Every digit of the widest handles and process ids the data model holds: 8 hex digits in 32-bit
// builds, 16 in 64-bit ones.
TEST(CloseReportLine, NumbersAreWrittenInFull) {
  const UINT_PTR top = UINT_PTR(1) << (8 * sizeof(UINT_PTR) - 1);
  const struct {
    UINT_PTR handle;
    const char* hex;
  } cases[] = {{~UINT_PTR(0), sizeof(UINT_PTR) == 4 ? "FFFFFFFF" : "FFFFFFFFFFFFFFFF"},
               {top, sizeof(UINT_PTR) == 4 ? "80000000" : "8000000000000000"},
               {0x1A2B, "1A2B"}};
  for (const auto& c : cases) {
    char line[kDebugBufferBytes];
    FormatCloseReport(line, sizeof line, 0xFFFFFFFFu, reinterpret_cast<HWND>(c.handle), "C", "T",
                      0x7FFFFFFF);
    EXPECT_EQ(std::string("lunet: close pid=4294967295 hwnd=0x") + c.hex +
                  " class=\"C\" title=\"T\" dropped=2147483647\n",
              line);
  }
}

TEST(CloseReportLine, OtherDebugOutputIsNotAReport) {
  CloseReport report;
  for (const char* text : {"", "hello\n", "lunet: close pid=1 hwnd=0x2 class=\"A\"",
                           "lunet: close pid=1 hwnd=0x2 class=\"A\" title=\"B\" dropped=\n",
                           "lunet: close pid=1 hwnd=0x2 class=\"A\" title=\"B\\x4\"\n",
                           "lunet: close pid=1 hwnd=0x2 class=\"A\" title=\"B\" extra\n"}) {
    EXPECT_FALSE(ParseCloseReport(text, report)) << text;
  }
}

#ifdef _WIN32
// A time as a count, 0 for one that is no date (a missed report's time never set).
ULONGLONG Ticks(const SYSTEMTIME& at) {
  FILETIME file = {};
  if (!SystemTimeToFileTime(&at, &file)) return 0;
  return (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

// One listener on the desktop: a second feed is told why it cannot listen, and can once the
// first stops. Each report arrives parsed, named with its program; what the queue cannot hold
// is counted, with its times, until taken.
TEST(CloseFeed, ReportsArriveParsedAndTheBufferIsGivenBack) {
  using namespace rule_engine;
  HWND window = CreateWindowExA(0, "STATIC", "ad", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
  ASSERT_TRUE(window);
  CloseFeed feed, second;
  std::string error;
  ASSERT_TRUE(feed.Start(error)) << error;
  EXPECT_FALSE(second.Start(error));
  EXPECT_EQ(Text(common_text::kListenerBusy), error);
  ReportClose(window, "AdFrame", "Special \"offer\"");
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(feed.Ready(), 10000));
  Missed missed;
  std::vector<FedClose> closes = feed.Take(missed);
  ASSERT_EQ(1u, closes.size());
  EXPECT_EQ(GetCurrentProcessId(), closes[0].report.processId);
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(window), closes[0].report.window);
  EXPECT_EQ("AdFrame", closes[0].report.className);
  EXPECT_EQ("Special \"offer\"", closes[0].report.title);
  EXPECT_EQ(ProcessName(GetCurrentProcessId()), closes[0].program);
  EXPECT_EQ(0u, missed.count);

  const size_t sent = CloseFeed::kCapacity + 60;
  for (size_t i = 0; i < sent; ++i) {
    ReportClose(window, "AdFrame", "offer");
    Sleep(1);
  }
  Sleep(200);
  closes = feed.Take(missed);
  EXPECT_EQ(CloseFeed::kCapacity, closes.size());
  EXPECT_LT(0u, missed.count);
  EXPECT_GE(sent - CloseFeed::kCapacity, missed.count);
  EXPECT_LT(0u, Ticks(missed.first));
  EXPECT_LE(Ticks(missed.first), Ticks(missed.last));
  EXPECT_TRUE(feed.Take(missed).empty());
  EXPECT_EQ(0u, missed.count);

  feed.Stop();
  EXPECT_TRUE(second.Start(error)) << error;
  second.Stop();
  EXPECT_TRUE(feed.Start(error)) << error;
  DestroyWindow(window);
}
#endif

}  // namespace
