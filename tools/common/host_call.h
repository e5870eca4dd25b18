// The host's side of a plug-in's calls, for both targets: text handed over in a fixed global
// block that the plug-in frees, and the block it answers with taken back and freed, as the
// desktop-character host does it.
#pragma once

#include <windows.h>

#include <string>

#include "host/plugin_abi.h"

// A plug-in's six entry points, null where it lacks one.
struct PluginEntries {
  plugin_abi::LoadEntry load = nullptr;
  plugin_abi::UnloadEntry unload = nullptr;
  plugin_abi::RequestEntry request = nullptr;
  plugin_abi::GetVersionEntry getversion = nullptr;
  plugin_abi::NotifyEntry notify = nullptr;
  plugin_abi::ConfigureEntry configure = nullptr;
};

// A fixed global block exactly as long as bytes, with no terminator behind it, so a plug-in that
// reads past the length it was given is caught by heap checks, not hidden. NULL when out of
// memory.
HGLOBAL HostBlock(const std::string& bytes);

struct PluginAnswer {
  bool returned = false;  // a block came back
  LONG length = 0;        // what the plug-in stored through the length pointer
  std::string bytes;      // the block's first length bytes, never past its end
  std::string note;       // why bytes holds less than length says, if it does
};

// Takes a block the plug-in returned: reads the reported length, never past the block, and frees
// it, as the host owns it now. A NULL block is no answer.
PluginAnswer TakeAnswer(HGLOBAL block, LONG reported);

// request with text in a block of its own and claimed in the length it is given (the text's
// size unless said otherwise), its answer taken.
PluginAnswer CallRequest(plugin_abi::RequestEntry request, const std::string& text);
PluginAnswer CallRequest(plugin_abi::RequestEntry request, const std::string& text, LONG claimed);
PluginAnswer CallGetVersion(plugin_abi::GetVersionEntry getversion);
// load with the plug-in's directory in a block of its own, which the plug-in frees.
BOOL CallLoad(plugin_abi::LoadEntry load, const std::string& directory);
// notify with text in a block of its own; what notify returned.
HGLOBAL CallNotify(plugin_abi::NotifyEntry notify, const std::string& text);

// A "PLUGIN/2.0" text as the host writes it, for request (verb GET) and notify (verb NOTIFY):
// the identifier, and Reference0 when one is given. lunet-host, the tests, the benchmarks and
// the soak all send these.
inline std::string ProtocolText(const char* verb, const std::string& id,
                                const std::string& reference0 = "") {
  std::string text = std::string(verb) +
                     " PLUGIN/2.0\r\nSender: lunet-host\r\nCharset: Shift_JIS\r\n"
                     "SecurityLevel: local\r\nID: " +
                     id + "\r\n";
  if (!reference0.empty()) text += "Reference0: " + reference0 + "\r\n";
  return text + "\r\n";
}

inline std::string RequestText(const std::string& id, const std::string& reference0 = "") {
  return ProtocolText("GET", id, reference0);
}

// The request the balloon sends when a menu choice is picked.
inline std::string ChoiceText(const std::string& choice) {
  return RequestText("OnChoiceSelect", choice);
}
