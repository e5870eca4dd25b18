// The per-process rule store: class names and title fragments loaded from the two rule files.
#pragma once

#include <windows.h>

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
  // Scans share it; loading and clearing take it alone.
  SRWLOCK lock;
  // Set when the process is ending: the store is left as it is and the destructor frees nothing.
  int abandoned;
};

extern RuleStore KillRules;

int LoadRules(const char* directory);
int LoadRuleFile(const char* path);
// LoadRules on the shared plug-in folder; a PluginDir without a terminator loads nothing.
int LoadPluginRules();
void ClearRules();
// For the process's end (DllMain's detach with a non-null reserved argument): the other threads
// were stopped wherever they were, perhaps inside the store's lock or the heap's, so neither may
// be touched again; the system takes the memory back.
void AbandonRules();
int CompareNoCaseAscii(const char* first, const char* second);

// Scoped holds of the store's lock.
class RulesShared {
 public:
  RulesShared() { AcquireSRWLockShared(&KillRules.lock); }
  ~RulesShared() { ReleaseSRWLockShared(&KillRules.lock); }
  RulesShared(const RulesShared&) = delete;
  RulesShared& operator=(const RulesShared&) = delete;
};

class RulesExclusive {
 public:
  RulesExclusive() { AcquireSRWLockExclusive(&KillRules.lock); }
  ~RulesExclusive() { ReleaseSRWLockExclusive(&KillRules.lock); }
  RulesExclusive(const RulesExclusive&) = delete;
  RulesExclusive& operator=(const RulesExclusive&) = delete;
};
