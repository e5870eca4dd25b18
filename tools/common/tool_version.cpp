#include "tool_version.h"

#include <stdio.h>

#include "common_messages.h"
#include "lunet_version.h"

void PrintVersion(const char* tool) {
  common_text::Id id = LUNET_COMMIT[0] == '\0' ? common_text::kVersionNoCommit
                       : LUNET_COMMIT_MODIFIED ? common_text::kVersionModified
                                               : common_text::kVersion;
  PrintLine(stdout, Text(id, tool, LUNET_VERSION, LUNET_COMMIT));
}
