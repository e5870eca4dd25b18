// Blocks handed to the plug-in are exactly as long as their text, with no terminator behind it,
// so a plug-in that reads past the length it was given is caught by heap checks, not hidden.
#include "plugin.h"

#include <string.h>

namespace {

HGLOBAL MakeBlock(const std::string& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, bytes.size());
  if (block && !bytes.empty()) memcpy(block, bytes.data(), bytes.size());
  return block;
}

// Takes a block the plug-in returned: reads the reported length, never past the block, and
// frees it, as the host owns it now.
std::string TakeBlock(HGLOBAL block, LONG reported, std::string& note) {
  SIZE_T size = GlobalSize(block);
  SIZE_T count = reported > 0 ? static_cast<SIZE_T>(reported) : 0;
  note.clear();
  if (reported < 0) note = "negative length reported";
  if (count > size) {
    note = "reported length " + std::to_string(reported) + " exceeds the block's " +
           std::to_string(size) + " bytes";
    count = size;
  }
  std::string bytes(static_cast<const char*>(block), count);
  GlobalFree(block);
  return bytes;
}

template <typename Proc>
void Find(HMODULE module, const char* name, Proc& proc) {
  proc = reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, NULL);
  return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

}  // namespace

std::string ErrorText(DWORD error) {
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0, text,
                 sizeof text, NULL);
  std::string line = text;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) {
    line.pop_back();
  }
  return "error " + std::to_string(error) + (line.empty() ? "" : ": " + line);
}

Plugin::~Plugin() { Close(); }

bool Plugin::Open(const std::string& dllPath, const std::string& directory, std::string& error) {
  path_ = FullPath(dllPath);
  DWORD attributes = GetFileAttributesA(path_.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error = dllPath + ": no such file";
    return false;
  }
  if (!directory.empty()) {
    if (!IsDirectory(directory)) {
      error = directory + ": not a directory";
      return false;
    }
    directory_ = FullPath(directory);
    if (directory_.back() != '\\' && directory_.back() != '/') directory_ += '\\';
  } else {
    directory_ = path_.substr(0, path_.find_last_of("\\/") + 1);
  }
  // Dependencies beside the plug-in are found as the host finds them.
  module_ = LoadLibraryExA(path_.c_str(), NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module_) {
    error = dllPath + ": cannot be loaded: " + ErrorText(GetLastError());
    return false;
  }
  Find(module_, "load", load_);
  Find(module_, "unload", unload_);
  Find(module_, "request", request_);
  Find(module_, "getversion", getversion_);
  Find(module_, "notify", notify_);
  Find(module_, "configure", configure_);
  std::string missing;
  for (const char* name : {"load", "unload", "request"}) {
    if (!has(name)) missing += std::string(missing.empty() ? "" : ", ") + name;
  }
  if (!missing.empty()) {
    error = dllPath + ": not a plug-in: it does not export " + missing;
    FreeLibrary(module_);
    module_ = NULL;
    return false;
  }
  return true;
}

bool Plugin::has(const char* exportName) const {
  return module_ && GetProcAddress(module_, exportName) != NULL;
}

BOOL Plugin::Load() {
  // The module frees the block it is given.
  return load_(MakeBlock(directory_), static_cast<LONG>(directory_.size()));
}

BOOL Plugin::Close() {
  if (!module_) return FALSE;
  BOOL result = unload_();
  FreeLibrary(module_);
  module_ = NULL;
  return result;
}

bool Plugin::Request(const std::string& text, std::string& answer, LONG& reported,
                     std::string& note) {
  reported = static_cast<LONG>(text.size());
  HGLOBAL block = request_(MakeBlock(text), &reported);
  if (!block) return false;
  answer = TakeBlock(block, reported, note);
  return true;
}

bool Plugin::GetVersion(std::string& answer, LONG& reported, std::string& note) {
  if (!getversion_) return false;
  reported = 0;
  HGLOBAL block = getversion_(&reported);
  if (!block) return false;
  answer = TakeBlock(block, reported, note);
  return true;
}

bool Plugin::Notify(const std::string& text, HGLOBAL& result) {
  if (!notify_) return false;
  result = notify_(MakeBlock(text));
  return true;
}

bool Plugin::Configure(HWND owner, int& result) {
  if (!configure_) return false;
  result = configure_(owner);
  return true;
}
