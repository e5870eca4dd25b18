// The close report read back by lunet-rules: whatever bytes a window's texts hold, the parser
// gets back what the module wrote.
#include "closer/close_report.h"

#include <gtest/gtest.h>

#include "close_report_reader.h"

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

}  // namespace
