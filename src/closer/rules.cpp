// Rule files: "keyword,value" lines, keyword "class" or "title" in any letter case, "//" starts
// a comment; killwnd.txt first, then killwnd_custom.txt.
#include "closer/rules.h"

#include <memory>

#include "shared/plugin_folder.h"
#include "support/text_reader.h"

RuleStore KillRules;

namespace {

void InitList(RuleList& list, uint32_t capacity) {
  list.items = static_cast<StrBuf**>(malloc(capacity * sizeof(StrBuf*)));
  list.count = 0;
  list.capacity = list.items ? capacity : 0;
}

void ClearList(RuleList& list) {
  for (uint32_t i = 0; i < list.count; ++i) delete list.items[i];
  list.count = 0;
}

// Room for one more rule: 0 when the array cannot grow.
int MakeRoom(RuleList& list) {
  if (list.count + 1 <= list.capacity) return 1;
  uint32_t capacity = 2 * (list.count + 1);
  StrBuf** grown = static_cast<StrBuf**>(realloc(list.items, capacity * sizeof(StrBuf*)));
  if (!grown) return 0;
  list.items = grown;
  list.capacity = capacity;
  return 1;
}

// A rule whose object cannot be allocated, or that finds no room in the list, is not added.
void AddRule(RuleList& list, const char* value) {
  std::unique_ptr<StrBuf> rule(new StrBuf);
  if (!rule) return;
  rule->Assign(value);
  if (!MakeRoom(list)) return;
  list.items[list.count++] = rule.release();
}

// clang-format off
const unsigned char kLower[128] = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,
    16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26,  27,  28,  29,  30,  31,
    ' ', '!', '"', '#', '$', '%', '&', '\'', '(', ')', '*', '+', ',', '-', '.', '/',
    '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', ':', ';', '<', '=', '>', '?',
    '@', 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o',
    'p', 'q', 'r', 's', 't', 'u', 'v', 'w', 'x', 'y', 'z', '[', '\\', ']', '^', '_',
    '`', 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o',
    'p', 'q', 'r', 's', 't', 'u', 'v', 'w', 'x', 'y', 'z', '{', '|', '}', '~', 127,
};
// clang-format on

// Bytes from 0x80 keep their value sign-extended, so compared unsigned they rank above ASCII.
uint32_t Fold(char c) {
  unsigned char byte = static_cast<unsigned char>(c);
  if (byte < 0x80) return kLower[byte];
  return static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
}

}  // namespace

void StoreRuleLine(void* store, const MappedTextReader&, int, RuleLineKind kind, const char* text) {
  if (kind == RuleLineClass) AddRule(static_cast<RuleStore*>(store)->ClassRules, text);
  if (kind == RuleLineTitle) AddRule(static_cast<RuleStore*>(store)->TitleRules, text);
}

// In the DLL the store is built by the runtime's start-up inside DllMain's attach, under the
// loader lock, where making a critical section is allowed: it loads nothing and waits for no one.
// InitializeCriticalSection would raise an exception on XP when memory is short; this one says 0.
RuleStore::RuleStore() : lockMade(0), abandoned(0) {
  lockMade = InitializeCriticalSectionAndSpinCount(&lock, 0) ? 1 : 0;
  InitList(ClassRules, 4);
  InitList(TitleRules, 64);
}

RuleStore::~RuleStore() {
  if (abandoned) return;
  ClearList(ClassRules);
  ClearList(TitleRules);
  free(ClassRules.items);
  free(TitleRules.items);
  ClassRules = RuleList{nullptr, 0, 0};
  TitleRules = RuleList{nullptr, 0, 0};
  if (lockMade) DeleteCriticalSection(&lock);
  lockMade = 0;
}

int CompareNoCaseAscii(const char* first, const char* second) {
  for (;; ++first, ++second) {
    // Equal bytes fold to equal values; only where they differ is the table needed.
    if (*first == *second) {
      if (!*first) return 0;
      continue;
    }
    uint32_t a = Fold(*first), b = Fold(*second);
    if (a == 0 || b == 0) break;
    if (a > b) return 1;
    if (a < b) return -1;
  }
  if (!*first && !*second) return 0;
  return *second ? -1 : 1;
}

void AbandonRules() { KillRules.abandoned = 1; }

void ClearRules() {
  ClearList(KillRules.ClassRules);
  ClearList(KillRules.TitleRules);
}

int WalkRuleFile(const char* path, RuleLineSeen seen, void* context) {
  MappedTextReader reader;
  reader.delimiter = ',';
  reader.lineCount = 0;
  if (!reader.Open(path, 1)) return 0;
  for (;;) {
    int line = reader.lineCount + 1;
    const char* field = reader.ReadField(0);
    if (reader.FieldEnd != FieldEndDelimiter) {
      seen(context, reader, line, RuleLineShort, field);
      if (reader.FieldEnd == FieldEndData) break;
      continue;
    }
    if (field[0] == '/' && field[1] == '/') {
      seen(context, reader, line, RuleLineComment, field);
      reader.SkipLine();
      continue;
    }
    RuleLineKind kind = CompareNoCaseAscii(field, kClassKeyword) == 0   ? RuleLineClass
                        : CompareNoCaseAscii(field, kTitleKeyword) == 0 ? RuleLineTitle
                                                                        : RuleLineOther;
    seen(context, reader, line, kind, kind == RuleLineOther ? field : reader.ReadField(0));
    if (reader.FieldEnd != FieldEndLine) reader.SkipLine();
  }
  reader.CloseReader();
  return 1;
}

int LoadRuleFile(const char* path, RuleStore& store) {
  return WalkRuleFile(path, StoreRuleLine, &store);
}

int LoadRules(const char* directory, RuleStore& store) {
  ClearList(store.ClassRules);
  ClearList(store.TitleRules);
  if (!directory) directory = "";
  StrBuf path;
  path.Assign(directory);
  path.Append(kRulesFile, sizeof kRulesFile - 1);
  LoadRuleFile(path.data, store);
  path.Assign(directory);
  path.Append(kCustomRulesFile, sizeof kCustomRulesFile - 1);
  LoadRuleFile(path.data, store);
  path.Release();
  return 1;
}

int LoadPluginRules() {
  char directory[MAX_PATH];
  if (PluginPath("", directory)) return LoadRules(directory);
  ClearRules();
  return 1;
}
