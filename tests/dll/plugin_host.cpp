#include "dll/plugin_host.h"

#include <stdlib.h>
#include <string.h>

#include "text.h"

std::string BuiltFile(const char* variable) {
  const char* value = getenv(variable);
  if (!value || !*value) return "";
  std::string path = value;
  // A path of the build machine: under Wine, drive Z: is its root.
  if (path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

PluginHost::PluginHost() {
  if (!dir.path().empty()) dllPath = dir.File("lunet.dll");
  std::string built = BuiltFile("LUNET_DLL");
  if (built.empty() || dllPath.empty() || !CopyFileA(built.c_str(), dllPath.c_str(), FALSE)) {
    dllPath.clear();
  }
}

PluginHost::~PluginHost() { Unmap(); }

bool PluginHost::Map() {
  return !dllPath.empty() && PluginModule::Map(dllPath) && load && unload && request &&
         getversion && notify && configure;
}

void PluginHost::Unmap() {
  if (loaded_ && unload) unload();
  loaded_ = false;
  PluginModule::Unmap();
}

BOOL PluginHost::LoadFrom(const std::string& directory) {
  loaded_ = true;
  return CallLoad(load, directory);
}

const SharedStateRecord* PluginHost::Shared() const {
  if (!handle()) return nullptr;
  const BYTE* base = reinterpret_cast<const BYTE*>(handle());
  const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    if (strncmp(reinterpret_cast<const char*>(section->Name), "shared", 8) == 0) {
      return reinterpret_cast<const SharedStateRecord*>(base + section->VirtualAddress);
    }
  }
  return nullptr;
}

std::vector<WindowFate> ParseWindowFates(const std::string& output) {
  std::vector<WindowFate> fates;
  for (const std::string& line : Lines(output)) {
    WindowFate fate;
    if (line.compare(0, 5, "open ") == 0) {
      fate.window = line.substr(5);
    } else if (line.compare(0, 7, "closed ") == 0) {
      size_t space = line.find(' ', 7);
      if (space == std::string::npos) continue;
      fate.closed = true;
      fate.ms = atof(line.substr(7, space - 7).c_str());
      fate.window = line.substr(space + 1);
    } else {
      continue;
    }
    fates.push_back(fate);
  }
  return fates;
}

std::string FateOf(const std::vector<WindowFate>& fates, const std::string& window) {
  for (const WindowFate& fate : fates) {
    if (fate.window == window) return fate.closed ? "closed" : "open";
  }
  return "missing";
}
