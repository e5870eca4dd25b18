// The close report read back by lunet-rules: whatever bytes a window's texts hold, the parser
// gets back what the module wrote.
#include "close_report.h"

#include <gtest/gtest.h>

#include "closer/close_report.h"

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
    size_t length = FormatCloseReport(line, sizeof line, 4242, window, c.className,
                                      c.title.c_str(), c.dropped);
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
