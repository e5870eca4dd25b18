#include "lunet_files.h"

#include <windows.h>

#include "console_text.h"
#include "host_messages.h"
#include "shared/plugin_folder.h"

namespace {

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void WarnIfNoRules(const std::string& folder) {
  if (!FileExists(folder + kRulesFile) && !FileExists(folder + kCustomRulesFile)) {
    Complain(host_text::kNoRules, PathText(folder));
  }
}

void WarnIfSwitchNotSaved(const std::string& folder) {
  if (!FileExists(folder + kMarkerFile)) {
    Complain(host_text::kSwitchNotSaved, PathText(folder));
  }
}
