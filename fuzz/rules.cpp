// Fuzzes the rule loader through real files: arbitrary bytes become killwnd.txt (and, when the
// first byte is odd, the second half becomes killwnd_custom.txt), then LoadRules reads the
// directory. Every stored rule must be a NUL-terminated string found in the input, holding no
// separator or line end, and there can be no more rules than lines.
#include "closer/rules.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "scratch.h"

namespace {

size_t Lines(const std::string& bytes) {
  return static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n') +
                             std::count(bytes.begin(), bytes.end(), '\r')) +
         1;
}

void CheckList(const RuleList& list, const std::string& input) {
  if (list.count > list.capacity || (list.count && !list.items)) abort();
  for (uint32_t i = 0; i < list.count; ++i) {
    const StrBuf* rule = list.items[i];
    if (!rule || !rule->data || rule->length < 1 || rule->length > rule->capacity) abort();
    if (rule->data[rule->length - 1] != 0 || strlen(rule->data) != rule->length - 1) abort();
    std::string value(rule->data, rule->length - 1);
    if (value.find_first_of(",\r\n") != std::string::npos) abort();
    if (input.find(value) == std::string::npos) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t split = size && (data[0] & 1) ? size / 2 : size;
  WriteScratchFile("killwnd.txt", data, split);
  size_t lines = Lines(input.substr(0, split));
  if (split < size) {
    WriteScratchFile("killwnd_custom.txt", data + split, size - split);
    lines += Lines(input.substr(split));
  } else {
    RemoveScratchFile("killwnd_custom.txt");
  }

  if (LoadRules(ScratchDir().c_str()) != 1) abort();
  CheckList(KillRules.ClassRules, input);
  CheckList(KillRules.TitleRules, input);
  if (KillRules.ClassRules.count + KillRules.TitleRules.count > lines) abort();
  ClearRules();
  if (KillRules.ClassRules.count || KillRules.TitleRules.count) abort();
  return 0;
}
