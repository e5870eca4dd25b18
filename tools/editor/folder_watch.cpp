#include "folder_watch.h"

namespace rule_editor {

FolderWatch::~FolderWatch() {
  if (handle_) FindCloseChangeNotification(handle_);
}

bool FolderWatch::Start(const std::string& folder) {
  HANDLE handle = FindFirstChangeNotificationA(
      folder.c_str(), FALSE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
  // The call gives INVALID_HANDLE_VALUE, not NULL, when it fails.
  if (handle == INVALID_HANDLE_VALUE) return false;
  handle_ = handle;
  return true;
}

void FolderWatch::Rearm() {
  if (handle_ && !FindNextChangeNotification(handle_)) {
    FindCloseChangeNotification(handle_);
    handle_ = NULL;
  }
}

}  // namespace rule_editor
