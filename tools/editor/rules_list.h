// The rules list: one row per class rule or title fragment line of both rule files (killwnd.txt
// first), in the files' order, with the value as its writer saw it and what the plug-in makes
// of it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "rule_set.h"

namespace rule_editor {

struct RuleRow {
  size_t file = 0;       // in RuleSet::Files()
  std::string fileName;  // UTF-8
  int line = 0;          // 1-based
  const rule_engine::RuleKind* kind = nullptr;
  std::string value;      // the rule's bytes as the file holds them
  std::string lineBytes;  // the whole line as shown, to check it is still there before a change
  std::string shown;      // the value as its writer saw it, decoded from its encoding (UTF-8)
  std::string notes;      // marks and warnings in the user's language (UTF-8)
  bool released = false;  // a line of killwnd.txt, which an update of the release replaces
};

// Whether the file's bytes are saved in UTF-8 where the code page is another.
bool SavedInUtf8(const std::string& content, unsigned codePage);

// The rows of the rules; contents holds each file's bytes as read with them.
std::vector<RuleRow> RuleRows(const rule_engine::RuleSet& rules,
                              const std::vector<std::string>& contents);

void AddRuleColumns(HWND list);
// The list's rows replaced by these; each item's lParam is its index.
void FillRulesList(HWND list, const std::vector<RuleRow>& rows);
// The row chosen in the list, or -1.
int ChosenRow(HWND list);

// The file's name alone, for the list and the messages.
std::string FileName(const std::string& path);

}  // namespace rule_editor
