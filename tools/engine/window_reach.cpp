// The integrity level is a Vista token query: its functions are looked up at run time, so that
// the programs still load on XP, where the query fails and every window is taken as reached.
#include "window_reach.h"

#include <windows.h>

#include "engine_messages.h"

namespace rule_engine {

bool HasTaskbarButton(unsigned long exStyle, bool owned) {
  if (exStyle & WS_EX_APPWINDOW) return true;
  return !owned && !(exStyle & WS_EX_TOOLWINDOW);
}

std::string ReachText(Reach reach) {
  switch (reach) {
    case Reach::kReached: return "";
    case Reach::kNoTaskbarButton: return Text(engine_text::kReachNoTaskbarButton);
    case Reach::kElevated: return Text(engine_text::kReachElevated);
  }
  return "";
}

#ifdef _WIN32

namespace {

typedef BOOL(WINAPI* OpenProcessTokenCall)(HANDLE, DWORD, PHANDLE);
typedef BOOL(WINAPI* GetTokenInformationCall)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD,
                                              PDWORD);
typedef PDWORD(WINAPI* GetSidSubAuthorityCall)(PSID, DWORD);
typedef PUCHAR(WINAPI* GetSidSubAuthorityCountCall)(PSID);

template <typename Call>
Call Find(HMODULE module, const char* name) {
  return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The integrity level (a mandatory label's last sub-authority: 0x2000 medium, 0x3000 high) of
// the process; false where it cannot be read.
bool IntegrityOf(HANDLE process, DWORD* level) {
  // advapi32 stays loaded for the life of the program once any of its functions is used.
  HMODULE advapi = LoadLibraryA("advapi32.dll");
  if (!advapi) return false;
  auto openToken = Find<OpenProcessTokenCall>(advapi, "OpenProcessToken");
  auto query = Find<GetTokenInformationCall>(advapi, "GetTokenInformation");
  auto subAuthority = Find<GetSidSubAuthorityCall>(advapi, "GetSidSubAuthority");
  auto count = Find<GetSidSubAuthorityCountCall>(advapi, "GetSidSubAuthorityCount");
  HANDLE token = NULL;
  if (!openToken || !query || !subAuthority || !count || !openToken(process, TOKEN_QUERY, &token)) {
    return false;
  }
  // A label is a SID of one sub-authority: a few dozen bytes.
  union {
    TOKEN_MANDATORY_LABEL label;
    unsigned char bytes[128];
  } buffer;
  DWORD size = 0;
  bool read = query(token, TokenIntegrityLevel, &buffer, sizeof buffer, &size) &&
              *count(buffer.label.Label.Sid) > 0;
  if (read) *level = *subAuthority(buffer.label.Label.Sid, *count(buffer.label.Label.Sid) - 1);
  CloseHandle(token);
  return read;
}

// PROCESS_QUERY_LIMITED_INFORMATION reaches elevated processes, but XP refuses it: there the
// full query right is asked for.
HANDLE OpenForQuery(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  return process ? process : OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
}

bool Elevated(HWND window) {
  DWORD processId = 0, theirs = 0, ours = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenForQuery(processId);
  if (!process) return false;
  bool known = IntegrityOf(process, &theirs) && IntegrityOf(GetCurrentProcess(), &ours);
  CloseHandle(process);
  return known && theirs > ours;
}

}  // namespace

Reach ReachOf(HWND window) {
  bool owned = GetWindow(window, GW_OWNER) != NULL;
  DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
  if (!HasTaskbarButton(exStyle, owned)) return Reach::kNoTaskbarButton;
  return Elevated(window) ? Reach::kElevated : Reach::kReached;
}

#endif

}  // namespace rule_engine
