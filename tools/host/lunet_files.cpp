#include "lunet_files.h"

#include "console_text.h"
#include "host_messages.h"
#include "is_directory.h"
#include "shared/plugin_folder.h"

void WarnIfNoRules(const std::string& folder) {
  if (!IsFile(folder + kRulesFile) && !IsFile(folder + kCustomRulesFile)) {
    Complain(host_text::kNoRules, PathText(folder));
  }
}

void WarnIfSwitchNotSaved(const std::string& folder) {
  if (!IsFile(folder + kMarkerFile)) {
    Complain(host_text::kSwitchNotSaved, PathText(folder));
  }
}
