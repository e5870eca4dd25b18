// Messages of lunet-host, usage and help among them, in English and Japanese.
#pragma once

#include "messages.h"

namespace host_text {
enum Id {
  kUsage,
  kCommandHelp,
  kExitCodes,
  kUsageError,
  kUnknownOption,
  kNoPlugin,
  kCommandsTwice,
  kScriptLineLost,
  kCannotOpen,
  kPickPrompt,
  kCommandPrompt,
  kLoaded,
  kLoadReturned,
  kNoRules,
  kUnloadReturned,
  kNoSuchFile,
  kNotADirectory,
  kCannotLoad,
  kNotAPlugin,
  kError,
  kErrorWithText,
  kUnknownCommand,
  kNoBlock,
  kNoMenu,
  kPickRange,
  kPicked,
  kNoExport,
  kNotifyTookBlock,
  kNotifyReturnedBlock,
  kMessageBox,
  kConfigureReturned,
  kCannotStart,
  kExit,
  kBytesNulIncluded,
  kBytesNoNul,
  kBytesAfterNul,
  kWarning,
  kBalloon,
  kChoices,
  kCount
};
}  // namespace host_text

extern const MessageTable kHostMessages;

// The message in this run's language, and the same printed.
template <typename... Args>
std::string HostText(host_text::Id id, const Args&... args) {
  return Format(kHostMessages, id, args...);
}
template <typename... Args>
void HostSay(FILE* stream, host_text::Id id, const Args&... args) {
  Print(stream, kHostMessages, id, args...);
}

// "lunet-host: " and the UTF-8 text, a line on stderr.
void HostError(const std::string& text);
