// The module's close report, read back: one line per window the hook asked to close.
#pragma once

#include <string>

struct CloseReport {
  unsigned long processId = 0;
  unsigned long long window = 0;
  std::string className;  // as the hook read them: ANSI code page, at most 254 bytes each
  std::string title;
  unsigned long dropped = 0;  // reports the module could not hand over before this one
};

// Parses the module's close report (closer/close_report.h) with its \xHH escapes, a final line
// end allowed; false for any other text, which is some other program's debug output.
bool ParseCloseReport(const std::string& line, CloseReport& report);
