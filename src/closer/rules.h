// The per-process rule store: class names and title fragments loaded from the two rule files.
#pragma once

#include <windows.h>

#include "support/critical_section.h"
#include "support/strbuf.h"

struct RuleList {
  StrBuf** items;
  uint32_t count;
  uint32_t capacity;
};

class RuleStore {
 public:
  RuleStore();
  ~RuleStore();
  RuleStore(const RuleStore&) = delete;
  RuleStore& operator=(const RuleStore&) = delete;

  RuleList ClassRules;
  RuleList TitleRules;
  // Held by every scan, load and clear. A critical section, not a reader-writer lock: Windows
  // XP has none, and a scan holds it for well under a microsecond.
  CRITICAL_SECTION lock;
  // 0 when the lock could not be made (Windows XP short of memory): the store must not be used.
  int lockMade;
  // Set when the process is ending: the store is left as it is and the destructor frees nothing.
  int abandoned;
};

extern RuleStore KillRules;

// Into the plug-in's store unless another is given (a checking tool loads into its own).
int LoadRules(const char* directory, RuleStore& store = KillRules);
int LoadRuleFile(const char* path, RuleStore& store = KillRules);

// What the loader makes of one line of a rule file: a line that ended after its first field
// (Short; also the file's end, when the reader's FieldEnd is FieldEndData), a comment, a class
// rule, a title fragment, or a line with an unknown keyword, which it skips.
enum RuleLineKind { RuleLineShort, RuleLineComment, RuleLineClass, RuleLineTitle, RuleLineOther };
// The keywords before the comma, compared with ASCII letter case folded; the tools that check and
// write rule files spell them from here.
const char kClassKeyword[] = "class";
const char kTitleKeyword[] = "title";
class MappedTextReader;
// Told of each line as the loader reads it: the line's number from 1, its kind, and the value of
// a rule or else the first field. The reader stands after what the loader took: its FieldEnd
// tells whether more of the line follows, which the loader skips.
typedef void (*RuleLineSeen)(void* context, const MappedTextReader& reader, int line,
                             RuleLineKind kind, const char* text);
// The loader's walk through a rule file, LoadRuleFile's and a checking tool's; 0 when the file
// cannot be opened (missing, empty, in use).
int WalkRuleFile(const char* path, RuleLineSeen seen, void* context);
// LoadRuleFile's step for each line the walk sees: a class rule or a title fragment added to the
// store that context points to. A checking tool calls it from its own walk, so that the file it
// reports on is the one read, once, into the store.
void StoreRuleLine(void* store, const MappedTextReader& reader, int line, RuleLineKind kind,
                   const char* text);
// LoadRules on the shared plug-in folder; a PluginDir without a terminator loads nothing.
int LoadPluginRules();
void ClearRules();
// For the process's end (DllMain's detach with a non-null reserved argument): the other threads
// were stopped wherever they were, perhaps inside the store's lock or the heap's, so neither may
// be touched again; the system takes the memory back.
void AbandonRules();
int CompareNoCaseAscii(const char* first, const char* second);

// A scoped hold of the plug-in's store's lock.
class RulesHold : public ScopedCriticalSection {
 public:
  RulesHold() : ScopedCriticalSection(KillRules.lock) {}
};
