// Answers are Shift_JIS; they are shown converted for the console, line by line, then as the
// balloon would show them.
#include "session.h"

#include <stdio.h>
#include <string.h>

#include "child_process.h"
#include "console_text.h"
#include "host_messages.h"
#include "lunet_files.h"
#include "message_pump.h"
#include "owned.h"
#include "plugin.h"
#include "text.h"

namespace {

// The plug-in answers in Shift_JIS whatever the system's code page is.
const unsigned kShiftJis = 932;

using namespace host_text;

// False, said, when the plug-in lacks the export.
bool RequireExport(bool present, const char* name) {
  if (!present) Complain(kNoExport, name);
  return present;
}

// What configure's message box said, read before lunet-host presses its OK button. Global: the
// timer that finds the box calls back with no context of ours.
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
  host_cli::CommandLine command;
  if (!host_cli::SplitCommand(line, command)) return true;
  // A script's own narration is shown as text, not as a command.
  // Commands are text in the ANSI code page, like the titles they name: shown converted.
  if (options_.echo && command.name != "echo") {
    WriteText(stdout, "> " + command.text + "\n", CP_ACP);
  }
  const host_cli::Command* row = host_cli::FindCommand(command);
  if (!row) {
    Complain(kUnknownCommand, PathText(command.text));
    return false;
  }
  if (!(this->*row->run)(command)) return false;
  if (row->switches && CloserIsOn()) WarnIfSwitchNotSaved(folder_);
  return true;
}

bool Session::Version(const host_cli::CommandLine&) { return Send(RequestText("version")); }

bool Session::Menu(const host_cli::CommandLine&) { return Send(RequestText("OnMenuExec")); }

bool Session::Choose(const host_cli::CommandLine& command) {
  return Send(ChoiceText(command.rest));
}

// on and off: the choice of that name, whatever the menu offers.
bool Session::Switch(const host_cli::CommandLine& command) {
  return Send(ChoiceText(command.name));
}

bool Session::Sleep(const host_cli::CommandLine& command) {
  long milliseconds = 0;
  host_cli::ParseCount(command.rest, milliseconds);
  PumpMessages(static_cast<DWORD>(milliseconds));
  return true;
}

bool Session::Echo(const host_cli::CommandLine& command) {
  WriteText(stdout, command.rest + "\n", CP_ACP);
  return true;
}

bool Session::Help(const host_cli::CommandLine&) {
  Say(host_cli::CommandHelp());
  return true;
}

bool Session::Quit(const host_cli::CommandLine&) {
  quit_ = true;
  return true;
}

bool Session::CloserIsOn() {
  PluginAnswer answer = CallRequest(plugin_.request, RequestText("OnMenuExec"));
  std::string text = answer.bytes.substr(0, answer.bytes.find('\0'));
  for (const Choice& choice : ParseChoices(LineHeaderValue(text, "Script"))) {
    if (choice.id == "off") return true;
  }
  return false;
}

bool Session::Send(const std::string& request) {
  return ShowAnswer(plugin_abi::kRequest, CallRequest(plugin_.request, request));
}

bool Session::Pick(const host_cli::CommandLine& command) {
  long index;
  if (!host_cli::ParseCount(command.rest, index) || index < 1 ||
      static_cast<size_t>(index) > choices_.size()) {
    choices_.empty() ? Complain(kNoMenu) : Complain(kPickRange, choices_.size());
    return false;
  }
  const Choice& choice = choices_[index - 1];
  Say(kPicked, index, AsUtf8(choice.label, kShiftJis), AsUtf8(choice.id, kShiftJis));
  return Send(ChoiceText(choice.id));
}

bool Session::SendFile(const host_cli::CommandLine& command) {
  const std::string& name = command.rest;
  std::string bytes;
  OwnedFile opened(name == "-" ? nullptr : fopen(name.c_str(), "rb"));
  FILE* file = name == "-" ? stdin : opened.get();
  if (!file) {
    Complain(kCannotOpen, PathText(name));
    return false;
  }
  ReadToEnd(file, bytes);
  return Send(bytes);
}

bool Session::GetVersion(const host_cli::CommandLine&) {
  if (!RequireExport(plugin_.getversion != nullptr, plugin_abi::kGetVersion)) return false;
  return ShowAnswer(plugin_abi::kGetVersion, CallGetVersion(plugin_.getversion));
}

bool Session::Notify(const host_cli::CommandLine& command) {
  if (!RequireExport(plugin_.notify != nullptr, plugin_abi::kNotify)) return false;
  std::string id = command.rest.empty() ? "OnNotify" : command.rest;
  HGLOBAL result = CallNotify(plugin_.notify, ProtocolText("NOTIFY", id));
  if (!result) {
    Say(kNotifyTookBlock);
    return true;
  }
  // A block back is the host's to free, whatever it holds.
  Say(kNotifyReturnedBlock, GlobalSize(result));
  GlobalFree(result);
  return true;
}

bool Session::Configure(const host_cli::CommandLine&) {
  if (!RequireExport(plugin_.configure != nullptr, plugin_abi::kConfigure)) return false;
  box = BoxSeen();
  UINT_PTR timer = options_.pressOk ? SetTimer(NULL, 0, 50, LookForBox) : 0;
  int result = plugin_.configure(NULL);
  if (timer) KillTimer(NULL, timer);
  if (box.seen)
    Say(kMessageBox, AsUtf8(Quote(box.caption), kShiftJis), AsUtf8(box.text, kShiftJis));
  Say(kConfigureReturned, result);
  return true;
}

bool Session::Run(const host_cli::CommandLine& command) {
  const std::string& commandLine = command.rest;
  fflush(stdout);
  fflush(stderr);
  ChildProcess program(commandLine);
  if (!program.started()) {
    Complain(kCannotStart, PathText(commandLine), ErrorText(program.startError()));
    return false;
  }
  // Keep handling messages while waiting: the plug-in's hooks belong to this thread.
  DWORD code = program.Finish(true);
  Say(kExit, code);
  return true;
}

bool Session::ShowAnswer(const char* exportName, const PluginAnswer& answer) {
  if (!answer.returned) {
    Complain(kNoBlock, exportName);
    return false;
  }
  const std::string& bytes = answer.bytes;
  size_t nul = bytes.find('\0');
  std::string text = bytes.substr(0, nul);
  WriteText(stdout, Indent(options_.brief ? Lines(text + "\n")[0] : text, "< "), kShiftJis);
  Say(nul == std::string::npos  ? kBytesNoNul
      : nul == bytes.size() - 1 ? kBytesNulIncluded
                                : kBytesAfterNul,
      answer.length);
  if (!answer.note.empty()) Complain(kWarning, answer.note);
  if (options_.raw) fputs(Indent(HexDump(bytes), "  ").c_str(), stdout);

  std::string script = LineHeaderValue(text, "Script");
  if (script.empty()) return true;
  Say(kBalloon);
  WriteText(stdout, Indent(BalloonText(script), "    | "), kShiftJis);
  // Like the balloon, which shows the new script in place of the old menu.
  choices_ = ParseChoices(script);
  if (choices_.empty()) return true;
  Say(kChoices);
  for (size_t i = 0; i < choices_.size(); ++i) {
    PrintLine(stdout, "    " + std::to_string(i + 1) + ". " + AsUtf8(choices_[i].label, kShiftJis) +
                          " (" + AsUtf8(choices_[i].id, kShiftJis) + ")");
  }
  return true;
}
