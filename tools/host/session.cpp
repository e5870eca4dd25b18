// Answers are Shift_JIS; they are shown converted for the console, line by line, then as the
// balloon would show them.
#include "session.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "child_process.h"
#include "console_text.h"
#include "host_messages.h"
#include "message_pump.h"
#include "owned.h"

namespace {

const unsigned kShiftJis = 932;

using namespace host_text;

// A text of the plug-in's, in UTF-8 for a message.
std::string Shown(const std::string& shiftJis) { return AsUtf8(shiftJis, kShiftJis); }

std::string Indented(const std::string& text, const std::string& indent) {
  std::string out;
  for (const std::string& line : SplitLines(text)) out += indent + line + "\n";
  return out;
}

bool ParseCount(const std::string& text, long& value) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  value = atol(text.c_str());
  return true;
}

// What configure's message box said, read before lunet-host presses its OK button.
struct BoxSeen {
  bool seen = false;
  std::string caption;
  std::string text;
};
BoxSeen box;

// The box's texts as the plug-in passed them: the system widened them from the ANSI code page,
// so narrowing them back with it gives the bytes again.
std::string WindowBytes(HWND window) {
  WCHAR wide[1024];
  int units = GetWindowTextW(window, wide, 1024);
  char bytes[4096];
  int count = WideCharToMultiByte(CP_ACP, 0, wide, units, bytes, sizeof bytes, NULL, NULL);
  return std::string(bytes, count > 0 ? count : 0);
}

BOOL CALLBACK PressOk(HWND window, LPARAM) {
  char className[16];
  if (!GetClassNameA(window, className, sizeof className) || strcmp(className, "#32770") != 0) {
    return TRUE;
  }
  if (!box.seen) {
    box.seen = true;
    box.caption = WindowBytes(window);
    HWND text = GetDlgItem(window, 0xFFFF);  // a message box's static text
    if (text) box.text = WindowBytes(text);
  }
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
  return FALSE;
}

// Runs inside the message box's own message loop.
VOID CALLBACK LookForBox(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), PressOk, 0);
}

}  // namespace

bool Session::Execute(const std::string& line) {
  size_t begin = line.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos || line[begin] == '#') return true;
  size_t end = line.find_last_not_of(" \t\r\n");
  std::string text = line.substr(begin, end - begin + 1);
  size_t space = text.find_first_of(" \t");
  std::string name = text.substr(0, space);
  std::string rest;
  if (space != std::string::npos) rest = text.substr(text.find_first_not_of(" \t", space));
  // A script's own narration is shown as text, not as a command.
  // Commands are text in the ANSI code page, like the titles they name: shown converted.
  if (options_.echo && name != "echo") WriteText(stdout, "> " + text + "\n", CP_ACP);

  long number;
  if (ParseCount(name, number)) return Pick(name);
  if (name == "version" && rest.empty()) return Send(MakeRequest("version", ""));
  if (name == "menu" && rest.empty()) return Send(MakeRequest("OnMenuExec", ""));
  if (name == "pick") return Pick(rest);
  if (name == "choose" && !rest.empty()) return Send(MakeRequest("OnChoiceSelect", rest));
  if ((name == "on" || name == "off") && rest.empty()) {
    return Send(MakeRequest("OnChoiceSelect", name));
  }
  if (name == "send" && !rest.empty()) return SendFile(rest);
  if (name == "getversion" && rest.empty()) return GetVersion();
  if (name == "notify") return Notify(rest.empty() ? "OnNotify" : rest);
  if (name == "configure" && rest.empty()) return Configure();
  if (name == "run" && !rest.empty()) return Run(rest);
  if (name == "sleep" && ParseCount(rest, number)) {
    PumpMessages(static_cast<DWORD>(number));
    return true;
  }
  if (name == "echo") {
    WriteText(stdout, rest + "\n", CP_ACP);
    return true;
  }
  if ((name == "help" || name == "?") && rest.empty()) {
    HostSay(kCommandHelp);
    return true;
  }
  if ((name == "quit" || name == "exit") && rest.empty()) {
    quit_ = true;
    return true;
  }
  HostError(HostText(kUnknownCommand, AsUtf8(text, CP_ACP)));
  return false;
}

bool Session::Send(const std::string& request) {
  std::string answer, note;
  LONG reported = 0;
  if (!plugin_.Request(request, answer, reported, note)) {
    HostError(HostText(kNoBlock, "request"));
    return false;
  }
  ShowAnswer(answer, reported, note);
  return true;
}

bool Session::Pick(const std::string& number) {
  long index;
  if (!ParseCount(number, index) || index < 1 || static_cast<size_t>(index) > choices_.size()) {
    HostError(choices_.empty() ? HostText(kNoMenu) : HostText(kPickRange, choices_.size()));
    return false;
  }
  const Choice& choice = choices_[index - 1];
  HostSay(kPicked, index, Shown(choice.label), Shown(choice.id));
  return Send(MakeRequest("OnChoiceSelect", choice.id));
}

bool Session::SendFile(const std::string& name) {
  std::string bytes;
  OwnedFile opened(name == "-" ? nullptr : fopen(name.c_str(), "rb"));
  FILE* file = name == "-" ? stdin : opened.get();
  if (!file) {
    HostError(HostText(kCannotOpen, AsUtf8(name, CP_ACP)));
    return false;
  }
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
  return Send(bytes);
}

bool Session::GetVersion() {
  std::string answer, note;
  LONG reported = 0;
  if (!plugin_.has("getversion")) {
    HostError(HostText(kNoExport, "getversion"));
    return false;
  }
  if (!plugin_.GetVersion(answer, reported, note)) {
    HostError(HostText(kNoBlock, "getversion"));
    return false;
  }
  ShowAnswer(answer, reported, note);
  return true;
}

bool Session::Notify(const std::string& id) {
  if (!plugin_.has("notify")) {
    HostError(HostText(kNoExport, "notify"));
    return false;
  }
  std::string text = "NOTIFY" + MakeRequest(id, "").substr(3);
  HGLOBAL result = NULL;
  plugin_.Notify(text, result);
  if (!result) {
    HostSay(kNotifyTookBlock);
    return true;
  }
  // A block back is the host's to free, whatever it holds.
  HostSay(kNotifyReturnedBlock, GlobalSize(result));
  GlobalFree(result);
  return true;
}

bool Session::Configure() {
  if (!plugin_.has("configure")) {
    HostError(HostText(kNoExport, "configure"));
    return false;
  }
  box = BoxSeen();
  UINT_PTR timer = options_.pressOk ? SetTimer(NULL, 0, 50, LookForBox) : 0;
  int result = 0;
  plugin_.Configure(NULL, result);
  if (timer) KillTimer(NULL, timer);
  if (box.seen) {
    HostSay(kMessageBox, Shown(Quote(box.caption)), Shown(box.text));
  }
  HostSay(kConfigureReturned, result);
  return true;
}

bool Session::Run(const std::string& commandLine) {
  fflush(stdout);
  fflush(stderr);
  ChildProcess program(commandLine);
  if (!program.started()) {
    HostError(HostText(kCannotStart, AsUtf8(commandLine, CP_ACP), ErrorText(program.startError())));
    return false;
  }
  // Keep handling messages while waiting: the plug-in's hooks belong to this thread.
  DWORD code = program.Finish(true);
  HostSay(kExit, code);
  return true;
}

void Session::ShowAnswer(const std::string& answer, LONG reported, const std::string& note) {
  size_t nul = answer.find('\0');
  std::string text = answer.substr(0, nul);
  WriteText(stdout, Indented(options_.brief ? SplitLines(text + "\n")[0] : text, "< "), kShiftJis);
  HostSay(nul == std::string::npos   ? kBytesNoNul
          : nul == answer.size() - 1 ? kBytesNulIncluded
                                     : kBytesAfterNul,
          reported);
  if (!note.empty()) HostError(HostText(kWarning, note));
  if (options_.raw) fputs(Indented(HexDump(answer), "  ").c_str(), stdout);

  std::string script = HeaderValue(text, "Script");
  if (script.empty()) return;
  std::string balloon = BalloonText(script);
  HostSay(kBalloon);
  WriteText(stdout, Indented(balloon, "    | "), kShiftJis);
  // Like the balloon, which shows the new script in place of the old menu.
  choices_ = ParseChoices(script);
  if (choices_.empty()) return;
  HostSay(kChoices);
  for (size_t i = 0; i < choices_.size(); ++i) {
    PrintLine(stdout, "    " + std::to_string(i + 1) + ". " + Shown(choices_[i].label) + " (" +
                          Shown(choices_[i].id) + ")");
  }
}
