// The main window's state and how it speaks: the folder, its rules as listed, the window chosen
// as a rule's target, and the last change (what Undo takes back).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "close_feed.h"
#include "desktop.h"
#include "folder_watch.h"
#include "rule_file_edit.h"
#include "rule_set.h"
#include "rules_list.h"

namespace rule_editor {

struct Editor {
  HWND dialog = NULL;
  std::string dir;  // with its separator, in the ANSI code page
  unsigned codePage = CP_ACP;
  std::unique_ptr<rule_engine::RuleSet> rules;
  std::vector<std::string> contents;  // each rule file's bytes as listed
  std::vector<RuleRow> rows;
  // The window the finder or the list chose: its class and title as the plug-in reads them.
  rule_engine::OpenWindow target;
  bool haveTarget = false;
  std::string targetWholeTitle;          // its title as it holds it, longer than the hook reads
  std::vector<DWORD> hosts;              // the processes holding lunet.dll, read as a drag starts
  std::vector<std::wstring> beforeDrag;  // the target's controls as a drag found them
  std::vector<rule_engine::RuleFileChange> lastChange;  // in the order made
  FolderWatch watch;
  HWND boxOwner = NULL;  // a dialog in front of the main window, which then owns the boxes
  // The closes view while it is shown, and the feed that listens only then.
  HWND closesView = NULL;
  std::unique_ptr<rule_engine::CloseFeed> feed;
  std::vector<rule_engine::FedClose> closes;  // as listed, oldest first
};

// The window that owns the boxes and dialogs an action opens.
inline HWND BoxOwner(const Editor& editor) {
  return editor.boxOwner ? editor.boxOwner : editor.dialog;
}

// The rule files read again and listed; the row chosen stays chosen while its line holds the
// same bytes, so that a removal never leaves the next rule chosen in its place.
void Reload(Editor& editor);

// What the window says in IDC_MESSAGES: cleared as an action starts, then a line at a time.
void ClearMessages(Editor& editor);
void Say(Editor& editor, const std::string& utf8);
// A Yes/No question, and a refusal or an error with OK, in a message box owned by the window in
// front under the editor's caption; the text then goes to IDC_MESSAGES too.
bool Ask(Editor& editor, const std::string& utf8);
void Tell(Editor& editor, const std::string& utf8);

// A rule's bytes and a window's text shown in UTF-8, as the plug-in's code page reads them.
std::string Shown(const Editor& editor, const std::string& bytes);

}  // namespace rule_editor
