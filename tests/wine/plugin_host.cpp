#include "wine/plugin_host.h"

#include <stdlib.h>
#include <string.h>

#include <sstream>

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

namespace {

// One argument as the runtime of the started program splits it again: backslashes before a
// quote are doubled, quotes escaped (a directory ends in a backslash).
std::string Quoted(const std::string& argument) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

}  // namespace

PluginHost::PluginHost() {
  if (!dir.path().empty()) dllPath = dir.File("lunet.dll");
  std::string built = BuiltFile("LUNET_DLL");
  if (built.empty() || dllPath.empty() || !CopyFileA(built.c_str(), dllPath.c_str(), FALSE)) {
    dllPath.clear();
  }
}

PluginHost::~PluginHost() { Unmap(); }

bool PluginHost::Map() {
  if (dllPath.empty()) return false;
  module = LoadLibraryA(dllPath.c_str());
  if (!module) return false;
  load = ExportOf<decltype(load)>(module, "load");
  unload = ExportOf<decltype(unload)>(module, "unload");
  request = ExportOf<RequestEntry>(module, "request");
  getversion = ExportOf<decltype(getversion)>(module, "getversion");
  notify = ExportOf<decltype(notify)>(module, "notify");
  configure = ExportOf<decltype(configure)>(module, "configure");
  return load && unload && request && getversion && notify && configure;
}

void PluginHost::Unmap() {
  if (!module) return;
  if (loaded_ && unload) unload();
  loaded_ = false;
  FreeLibrary(module);
  module = NULL;
}

BOOL PluginHost::LoadFrom(const std::string& directory) {
  loaded_ = true;
  return load(HostBlock(directory), static_cast<LONG>(directory.size()));
}

const SharedStateRecord* PluginHost::Shared() const {
  if (!module) return nullptr;
  const BYTE* base = reinterpret_cast<const BYTE*>(module);
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

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
  ProgramRun run;
  std::string commandLine = "\"" + program + "\"";
  for (const std::string& argument : arguments) commandLine += " " + Quoted(argument);

  SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
  HANDLE readEnd = NULL, writeEnd = NULL;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back(0);
  run.started = CreateProcessA(program.c_str(), line.data(), NULL, NULL, TRUE, 0, NULL, NULL,
                               &startup, &process) != 0;
  CloseHandle(writeEnd);
  if (run.started) {
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &read, NULL) && read > 0) {
      run.output.append(chunk, read);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(readEnd);
  return run;
}

std::vector<std::string> OutputLines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream text(output);
  std::string line;
  while (std::getline(text, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<WindowFate> ParseWindowFates(const std::string& output) {
  std::vector<WindowFate> fates;
  for (const std::string& line : OutputLines(output)) {
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
