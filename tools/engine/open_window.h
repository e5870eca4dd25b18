// A window as the desktop shows it, apart from the desktop's calls, so that what is worked out
// over a list of windows builds and is tested everywhere.
#pragma once

#include <windows.h>

#include <string>

namespace rule_engine {

struct OpenWindow {
  HWND handle = NULL;
  std::string className;  // read as the hook reads them: at most 254 bytes
  std::string title;
  bool visible = false;
};

}  // namespace rule_engine
