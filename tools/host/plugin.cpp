#include "plugin.h"

#include <stdio.h>
#include <string.h>

#include "console_text.h"
#include "host_call.h"
#include "host_messages.h"
#include "is_directory.h"
#include "owned.h"

namespace {

// The answer's parts for the session; false when no block came back.
bool Took(const PluginAnswer& taken, std::string& answer, LONG& reported, std::string& note) {
  reported = taken.length;
  if (!taken.returned) return false;
  answer = taken.bytes;
  note = taken.note;
  return true;
}

// 32 or 64 from the PE header's machine, 0 for a file that is neither. The header follows the
// DOS stub within the first kilobyte in every DLL a linker writes.
int DllBits(const std::string& path) {
  OwnedFile file(path.c_str(), "rb");
  unsigned char head[1024] = {};
  size_t read = file.get() ? fread(head, 1, sizeof head, file.get()) : 0;
  if (read < 64 || head[0] != 'M' || head[1] != 'Z') return 0;
  size_t at = head[60] | head[61] << 8 | head[62] << 16 | static_cast<size_t>(head[63]) << 24;
  if (at > read - 6 || memcmp(head + at, "PE\0\0", 4) != 0) return 0;
  unsigned machine = head[at + 4] | head[at + 5] << 8;
  return machine == IMAGE_FILE_MACHINE_I386 ? 32 : machine == IMAGE_FILE_MACHINE_AMD64 ? 64 : 0;
}

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, NULL);
  return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

}  // namespace

std::string ErrorText(DWORD error, const std::string& file) {
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0, text,
                 sizeof text, NULL);
  std::string line = text;
  // FORMAT_MESSAGE_IGNORE_INSERTS leaves "%1" where the system's text names the file.
  for (size_t at; !file.empty() && (at = line.find("%1")) != std::string::npos;) {
    line.replace(at, 2, file);
  }
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) {
    line.pop_back();
  }
  // The system's text is in the ANSI code page, in the system's language.
  return line.empty() ? HostText(host_text::kError, error)
                      : HostText(host_text::kErrorWithText, error, AsUtf8(line, CP_ACP));
}

Plugin::~Plugin() { Close(); }

bool Plugin::Open(const std::string& dllPath, const std::string& directory, std::string& error) {
  path_ = FullPath(dllPath);
  DWORD attributes = GetFileAttributesA(path_.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error = HostText(host_text::kNoSuchFile, AsUtf8(dllPath, CP_ACP));
    return false;
  }
  if (!directory.empty()) {
    if (!IsDirectory(directory)) {
      error = HostText(host_text::kNotADirectory, AsUtf8(directory, CP_ACP));
      return false;
    }
    directory_ = FullPath(directory);
    if (directory_.back() != '\\' && directory_.back() != '/') directory_ += '\\';
  } else {
    directory_ = path_.substr(0, path_.find_last_of("\\/") + 1);
  }
  // Dependencies beside the plug-in are found as the host finds them.
  if (!module_.Map(path_, LOAD_WITH_ALTERED_SEARCH_PATH)) {
    DWORD code = GetLastError();
    int bits = static_cast<int>(sizeof(void*) * 8), dll = DllBits(path_);
    if (code == ERROR_BAD_EXE_FORMAT && dll && dll != bits) {
      error = HostText(host_text::kOtherBitness, AsUtf8(dllPath, CP_ACP), dll, bits);
      return false;
    }
    std::string why = ErrorText(code, dllPath);
    error = HostText(host_text::kCannotLoad, AsUtf8(dllPath, CP_ACP), why);
    return false;
  }
  std::string missing;
  for (const char* name : {"load", "unload", "request"}) {
    if (!has(name)) missing += std::string(missing.empty() ? "" : ", ") + name;
  }
  if (!missing.empty()) {
    error = HostText(host_text::kNotAPlugin, AsUtf8(dllPath, CP_ACP), missing);
    module_.Unmap();
    return false;
  }
  return true;
}

bool Plugin::has(const char* exportName) const {
  return module_.handle() && GetProcAddress(module_.handle(), exportName) != NULL;
}

BOOL Plugin::Load() {
  return CallLoad(module_.load, directory_);
}

BOOL Plugin::Close() {
  if (!module_.handle()) return FALSE;
  BOOL result = module_.unload();
  module_.Unmap();
  return result;
}

bool Plugin::Request(const std::string& text, std::string& answer, LONG& reported,
                     std::string& note) {
  return Took(CallRequest(module_.request, text), answer, reported, note);
}

bool Plugin::GetVersion(std::string& answer, LONG& reported, std::string& note) {
  if (!module_.getversion) return false;
  return Took(CallGetVersion(module_.getversion), answer, reported, note);
}

bool Plugin::Notify(const std::string& text, HGLOBAL& result) {
  if (!module_.notify) return false;
  result = CallNotify(module_.notify, text);
  return true;
}

bool Plugin::Configure(HWND owner, int& result) {
  if (!module_.configure) return false;
  result = module_.configure(owner);
  return true;
}
