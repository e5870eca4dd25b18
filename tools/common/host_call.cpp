#include "host_call.h"

#include <string.h>

#include "common_messages.h"

HGLOBAL HostBlock(const std::string& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, bytes.size());
  if (block && !bytes.empty()) memcpy(block, bytes.data(), bytes.size());
  return block;
}

PluginAnswer TakeAnswer(HGLOBAL block, LONG reported) {
  PluginAnswer answer;
  answer.length = reported;
  if (!block) return answer;
  answer.returned = true;
  SIZE_T size = GlobalSize(block);
  SIZE_T count = reported > 0 ? static_cast<SIZE_T>(reported) : 0;
  if (reported < 0) answer.note = Text(common_text::kNegativeLength);
  if (count > size) {
    answer.note = Text(common_text::kLengthExceeds, static_cast<long>(reported),
                       static_cast<unsigned long>(size));
    count = size;
  }
  answer.bytes.assign(static_cast<const char*>(block), count);
  GlobalFree(block);
  return answer;
}

PluginAnswer CallRequest(plugin_abi::RequestEntry request, const std::string& text) {
  return CallRequest(request, text, static_cast<LONG>(text.size()));
}

PluginAnswer CallRequest(plugin_abi::RequestEntry request, const std::string& text, LONG claimed) {
  LONG length = claimed;
  HGLOBAL block = request(HostBlock(text), &length);
  return TakeAnswer(block, length);
}

PluginAnswer CallGetVersion(plugin_abi::GetVersionEntry getversion) {
  LONG length = 0;
  HGLOBAL block = getversion(&length);
  return TakeAnswer(block, length);
}

BOOL CallLoad(plugin_abi::LoadEntry load, const std::string& directory) {
  return load(HostBlock(directory), static_cast<LONG>(directory.size()));
}

HGLOBAL CallNotify(plugin_abi::NotifyEntry notify, const std::string& text) {
  return notify(HostBlock(text));
}
