// What the host sees of the module: its memory blocks, the answers it gets back, and the exact
// answer texts it expects. Shared by the unit tests and the tests that load the built DLL.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "host/plugin_abi.h"
#include "host_call.h"

using plugin_abi::RequestEntry;
using Answer = PluginAnswer;

// Sends text (its whole size, NULs included) and frees the answer block as the host does.
inline Answer Ask(RequestEntry entry, const std::string& text) { return CallRequest(entry, text); }
// The same, for the host's request with the identifier (RequestText).
Answer AskId(RequestEntry entry, const std::string& id);
// An "OnChoiceSelect" request carrying choice in Reference0.
Answer Choose(RequestEntry entry, const std::string& choice);

// The answers, written out from the protocol byte for byte, without the NUL the module adds.
namespace answer {
extern const std::string kNoContent;
extern const std::string kVersion;
extern const std::string kCancelled;
extern const std::string kNowEnabled;
extern const std::string kNowDisabled;
std::string Menu(bool enabled);
}  // namespace answer

// The answer as the host receives it: the text and its terminating NUL.
std::string Sent(const std::string& text);

// The answer came back as text with its NUL and with the length the host is told (NUL counted).
::testing::AssertionResult Answered(const Answer& answer, const std::string& text, LONG length);

// A request and the answer it gets while the closer is off; none of them changes any state.
struct Exchange {
  const char* what;
  std::string request;
  std::string answer;  // as sent, NUL included
};
// How identifiers and choices are found: spacing, prefixes, first occurrences, unserved ones.
std::vector<Exchange> IdentifierExchanges();

// The message texts of configure, Shift_JIS.
extern const std::string kEnabledMessage;
extern const std::string kDisabledMessage;
