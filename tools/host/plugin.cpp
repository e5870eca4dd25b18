#include "plugin.h"

#include <stdio.h>
#include <string.h>

#include "console_text.h"
#include "host_messages.h"
#include "is_directory.h"
#include "owned.h"

namespace {

using namespace host_text;

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

// A host cannot run a plug-in without these three: it hands over the folder, asks, and lets go.
// getversion, notify and configure it calls only when they are there.
std::string MissingExports(const PluginModule& plugin) {
  std::string missing;
  const std::pair<bool, const char*> needed[] = {{plugin.load != nullptr, plugin_abi::kLoad},
                                                 {plugin.unload != nullptr, plugin_abi::kUnload},
                                                 {plugin.request != nullptr, plugin_abi::kRequest}};
  for (const auto& entry : needed) {
    if (!entry.first) missing += std::string(missing.empty() ? "" : ", ") + entry.second;
  }
  return missing;
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
  return line.empty() ? Text(kError, error) : Text(kErrorWithText, error, PathText(line));
}

bool LoadFolder(const std::string& dllPath, const std::string& given, std::string& folder) {
  if (given.empty()) {
    std::string dll = FullPath(dllPath);
    folder = dll.substr(0, dll.find_last_of("\\/") + 1);
    return true;
  }
  if (!IsDirectory(given)) {
    Complain(kNotADirectory, PathText(given));
    return false;
  }
  folder = FullPath(given);
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return true;
}

bool OpenPlugin(const std::string& dllPath, PluginModule& plugin) {
  std::string path = FullPath(dllPath), shown = PathText(dllPath);
  if (!IsFile(path)) {
    Complain(kNoSuchFile, shown);
    return false;
  }
  // Dependencies beside the plug-in are found as the host finds them.
  if (!plugin.Map(path, LOAD_WITH_ALTERED_SEARCH_PATH)) {
    DWORD code = GetLastError();
    int bits = static_cast<int>(sizeof(void*) * 8), dll = DllBits(path);
    if (code == ERROR_BAD_EXE_FORMAT && dll && dll != bits) {
      Complain(kOtherBitness, shown, dll, bits);
    } else {
      Complain(kCannotLoad, shown, ErrorText(code, dllPath));
    }
    return false;
  }
  std::string missing = MissingExports(plugin);
  if (missing.empty()) return true;
  Complain(kNotAPlugin, shown, missing);
  plugin.Unmap();
  return false;
}
