#include "pick_target.h"

#include <string.h>

#include "ascii_case.h"

#ifdef _WIN32
#include <tlhelp32.h>

#include "owned.h"
#endif

namespace rule_engine {

namespace {

// The folder's components, split at either separator. A double-byte code page's trail byte may
// be 0x5C, but no component this looks for holds such a character.
std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts(1);
  for (char c : path) {
    if (c == '\\' || c == '/') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

bool EndsWithZip(const std::string& name) {
  return name.size() > 4 && FoldedAscii(name.substr(name.size() - 4)) == ".zip";
}

// The text after the prefix (letter case aside) and a number, or null when it does not start so.
const char* AfterNumbered(const std::string& text, const char* prefix) {
  size_t length = strlen(prefix);
  if (text.size() <= length || FoldedAscii(text.substr(0, length)) != FoldedAscii(prefix))
    return nullptr;
  size_t end = text.find_first_not_of("0123456789", length);
  return end == length || end == std::string::npos ? nullptr : text.c_str() + end;
}

}  // namespace

// Explorer runs a program from inside a zip by extracting it into the temporary folder: XP's
// "Temporary Directory 1 for NAME.zip", Vista's and later "Temp1_NAME.zip" (another number
// when that one exists).
bool InsideZip(const std::string& folder) {
  for (const std::string& part : Components(folder)) {
    if (!EndsWithZip(part)) continue;
    const char* xp = AfterNumbered(part, "Temporary Directory ");
    const char* vista = AfterNumbered(part, "Temp");
    if ((xp && strncmp(xp, " for ", 5) == 0) || (vista && *vista == '_')) return true;
  }
  return false;
}

#ifdef _WIN32

namespace {

bool ProcessHolds(DWORD processId, const char* module) {
  // TH32CS_SNAPMODULE32 adds a 32-bit process's modules when the caller is 64-bit.
  FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId));
  MODULEENTRY32 entry;
  entry.dwSize = sizeof entry;
  if (!snapshot.valid() || !Module32First(snapshot.get(), &entry)) return false;
  do {
    if (FoldedAscii(entry.szModule) == FoldedAscii(module)) return true;
  } while (Module32Next(snapshot.get(), &entry));
  return false;
}

bool IsDesktopOrTaskbar(HWND window) {
  if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  for (const char* shell : {"Shell_TrayWnd", "Shell_SecondaryTrayWnd", "Progman", "WorkerW"}) {
    if (strcmp(name, shell) == 0) return true;
  }
  return false;
}

}  // namespace

std::vector<DWORD> ProcessesHolding(const char* module) {
  std::vector<DWORD> holders;
  FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  if (!snapshot.valid() || !Process32First(snapshot.get(), &entry)) return holders;
  do {
    if (entry.th32ProcessID != 0 && ProcessHolds(entry.th32ProcessID, module)) {
      holders.push_back(entry.th32ProcessID);
    }
  } while (Process32Next(snapshot.get(), &entry));
  return holders;
}

TargetRefusal RefusalOf(HWND window, const std::vector<DWORD>& hosts) {
  if (!window || IsDesktopOrTaskbar(window)) return TargetRefusal::kDesktop;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == GetCurrentProcessId()) return TargetRefusal::kOwnProcess;
  for (DWORD host : hosts) {
    if (host == processId) return TargetRefusal::kHost;
  }
  return TargetRefusal::kNone;
}

#endif

}  // namespace rule_engine
