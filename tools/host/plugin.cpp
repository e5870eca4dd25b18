// Blocks handed to the plug-in are exactly as long as their text, with no terminator behind it,
// so a plug-in that reads past the length it was given is caught by heap checks, not hidden.
#include "plugin.h"

#include <string.h>

#include "harness/is_directory.h"

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
  if (!module_.Map(path_, LOAD_WITH_ALTERED_SEARCH_PATH)) {
    error = dllPath + ": cannot be loaded: " + ErrorText(GetLastError());
    return false;
  }
  std::string missing;
  for (const char* name : {"load", "unload", "request"}) {
    if (!has(name)) missing += std::string(missing.empty() ? "" : ", ") + name;
  }
  if (!missing.empty()) {
    error = dllPath + ": not a plug-in: it does not export " + missing;
    module_.Unmap();
    return false;
  }
  return true;
}

bool Plugin::has(const char* exportName) const {
  return module_.handle() && GetProcAddress(module_.handle(), exportName) != NULL;
}

BOOL Plugin::Load() {
  // The module frees the block it is given.
  return module_.load(MakeBlock(directory_), static_cast<LONG>(directory_.size()));
}

BOOL Plugin::Close() {
  if (!module_.handle()) return FALSE;
  BOOL result = module_.unload();
  module_.Unmap();
  return result;
}

bool Plugin::Request(const std::string& text, std::string& answer, LONG& reported,
                     std::string& note) {
  reported = static_cast<LONG>(text.size());
  HGLOBAL block = module_.request(MakeBlock(text), &reported);
  if (!block) return false;
  answer = TakeBlock(block, reported, note);
  return true;
}

bool Plugin::GetVersion(std::string& answer, LONG& reported, std::string& note) {
  if (!module_.getversion) return false;
  reported = 0;
  HGLOBAL block = module_.getversion(&reported);
  if (!block) return false;
  answer = TakeBlock(block, reported, note);
  return true;
}

bool Plugin::Notify(const std::string& text, HGLOBAL& result) {
  if (!module_.notify) return false;
  result = module_.notify(MakeBlock(text));
  return true;
}

bool Plugin::Configure(HWND owner, int& result) {
  if (!module_.configure) return false;
  result = module_.configure(owner);
  return true;
}
