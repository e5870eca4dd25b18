// The host's side of the module's exports, for both targets: requests as the host writes them,
// and one round trip through a fixed global block.
#pragma once

#include <string.h>
#include <windows.h>

#include <string>

namespace bench {

inline std::string RequestText(const std::string& id, const std::string& extra = "") {
  return "GET PLUGIN/2.0\r\nSender: host\r\nCharset: Shift_JIS\r\nSecurityLevel: local\r\nID: " +
         id + "\r\n" + extra + "\r\n";
}

inline std::string ChoiceText(const std::string& choice) {
  return RequestText("OnChoiceSelect", "Reference0: " + choice + "\r\n");
}

// The request copied into a fixed block, the module called, its answer freed; returns the
// length the module reported, terminator included.
template <typename Request>
LONG RoundTrip(Request request, const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, text.size());
  memcpy(block, text.data(), text.size());
  LONG length = static_cast<LONG>(text.size());
  HGLOBAL answer = request(block, &length);
  GlobalFree(answer);
  return length;
}

// The plug-in directory handed to load in a block of its own, which the module frees.
template <typename Load>
void LoadFrom(Load load, const std::string& directory) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, directory.size());
  memcpy(block, directory.data(), directory.size());
  load(block, static_cast<LONG>(directory.size()));
}

}  // namespace bench
