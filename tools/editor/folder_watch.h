// The rule files' folder watched for changes that other programs make (Notepad, lunet-rules
// add): a change notification that the message loop waits on with the window's messages, so the
// list follows without polling.
#pragma once

#include <windows.h>

#include <string>

namespace rule_editor {

class FolderWatch {
 public:
  FolderWatch() = default;
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Watches the folder's files (names, sizes, writes); false when the folder cannot be watched.
  bool Start(const std::string& folder);
  // The handle the loop waits on, signalled after a change; NULL while nothing is watched.
  HANDLE Handle() const { return handle_; }
  // Waits for the next change after one was signalled.
  void Rearm();

 private:
  HANDLE handle_ = NULL;
};

}  // namespace rule_editor
