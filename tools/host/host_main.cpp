// lunet-host: the desktop-character host's side of a plug-in, on the console. Loads the DLL,
// hands it its directory, sends it requests from the command line, a script or the keyboard,
// and unloads it at the end.
#include <stdio.h>

#include <string>
#include <vector>

#include "console_text.h"
#include "host_cli.h"
#include "host_messages.h"
#include "lunet_files.h"
#include "own_console.h"
#include "owned.h"
#include "plugin.h"
#include "plugin_module.h"
#include "session.h"
#include "text.h"
#include "tool_version.h"

namespace {

enum Exit { kOk = 0, kCommandFailed = 1, kUsage = 2, kPluginUnusable = 3 };

bool ReadLine(FILE* file, std::string& line) {
  line.clear();
  char chunk[1024];
  while (fgets(chunk, sizeof chunk, file)) {
    line += chunk;
    if (line.back() == '\n') return true;
  }
  return !line.empty();
}

// A script line as the plug-in's texts are: UTF-8 converted to the ANSI code page, which any
// other line is in already.
std::string ScriptLine(const std::string& name, int number, std::string line) {
  if (number == 1 && line.compare(0, 3, kBom) == 0) line.erase(0, 3);
  if (IsAscii(line) || !IsCodePageText(line, CP_UTF8)) return line;
  bool lost = false;
  std::string converted = ToCodePage(line, CP_ACP, &lost);
  if (lost) {
    std::string shown = Quote(converted.substr(0, converted.find_last_not_of("\r\n") + 1));
    Complain(host_text::kScriptLineLost, PathText(name), number, GetACP(), PathText(shown));
  }
  return converted;
}

int RunScript(Session& session, const std::string& name) {
  OwnedFile opened(name == "-" ? nullptr : fopen(name.c_str(), "rb"));
  FILE* file = name == "-" ? stdin : opened.get();
  if (!file) {
    Complain(host_text::kCannotOpen, PathText(name));
    return kCommandFailed;
  }
  int result = kOk;
  std::string line;
  for (int number = 1; !session.quit() && ReadLine(file, line); ++number) {
    if (!session.Execute(ScriptLine(name, number, line))) {
      result = kCommandFailed;
      break;
    }
  }
  return result;
}

int RunCommands(Session& session, const std::vector<std::string>& commands) {
  for (const std::string& command : commands) {
    if (session.quit()) break;
    if (!session.Execute(command)) return kCommandFailed;
  }
  return kOk;
}

// A number typed with the input method on, full-width digits in Shift_JIS (82 4F-82 58) or
// UTF-8 (EF BC 90-99), as ASCII digits; other lines as they are. Only a line of nothing else:
// elsewhere those bytes may be parts of other characters.
std::string HalfWidthNumber(const std::string& line) {
  std::string digits;
  size_t end = line.find_last_not_of(" \t\r\n");
  const unsigned char* u = reinterpret_cast<const unsigned char*>(line.data());
  for (size_t i = 0; end != std::string::npos && i <= end;) {
    if (i + 1 <= end && u[i] == 0x82 && u[i + 1] >= 0x4F && u[i + 1] <= 0x58) {
      digits += static_cast<char>('0' + u[i + 1] - 0x4F);
      i += 2;
    } else if (i + 2 <= end && u[i] == 0xEF && u[i + 1] == 0xBC && u[i + 2] >= 0x90 &&
               u[i + 2] <= 0x99) {
      digits += static_cast<char>('0' + u[i + 2] - 0x90);
      i += 3;
    } else {
      return line;
    }
  }
  return digits.empty() ? line : digits;
}

// Like the balloon: the menu first, then the user's picks; a failed command is only reported.
int RunInteractive(Session& session) {
  session.Execute("menu");
  // Typed lines are on the screen already; lines from a pipe are shown, so the output reads.
  DWORD mode;
  bool typed = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode);
  std::string line;
  for (;;) {
    if (session.choices()) {
      PrintPrompt(Text(host_text::kPickPrompt, session.choices()));
    } else {
      PrintPrompt(Text(host_text::kCommandPrompt));
    }
    if (!ReadLine(stdin, line)) break;
    if (!typed) printf("%s%s", line.c_str(), line.back() == '\n' ? "" : "\n");
    session.Execute(HalfWidthNumber(line));
    if (session.quit()) break;
  }
  printf("\n");
  return kOk;
}

// Loads the plug-in and hands it to the session; the exit status.
int RunSession(const host_cli::Arguments& args) {
  bool interactive = args.script.empty() && args.commands.empty();
  HostOptions options;
  options.raw = args.raw;
  options.brief = args.brief;
  options.echo = !interactive;
  options.pressOk = !args.showBoxes;
  PluginModule plugin;
  std::string folder;
  if (!LoadFolder(args.plugin, args.directory, folder) || !OpenPlugin(args.plugin, plugin)) {
    return kPluginUnusable;
  }
  Say(host_text::kLoaded, PathText(plugin.path()));
  BOOL loaded = CallLoad(plugin.load, folder);
  Say(host_text::kLoadReturned, PathText(Quote(folder)), loaded);
  WarnIfNoRules(folder);

  Session session(plugin, options, folder);
  int result = interactive           ? RunInteractive(session)
               : args.script.empty() ? RunCommands(session, args.commands)
                                     : RunScript(session, args.script);
  BOOL unloaded = plugin.unload();
  plugin.Unmap();
  Say(host_text::kUnloadReturned, unloaded);
  return result;
}

// Started by a double-click, with a console of its own and no arguments, it is the host of the
// lunet.dll beside it.
int Run(int argc, char** argv) {
  host_cli::Arguments args;
  if (argc == 1 && OwnsConsole()) {
    args.plugin = ProgramFolder() + "lunet.dll";
    return RunSession(args);
  }
  int parsed = host_cli::ParseArguments(std::vector<std::string>(argv + 1, argv + argc), args);
  if (parsed != kOk) return parsed;
  if (args.help) {
    Say(host_cli::HelpText());
  } else if (args.version) {
    PrintVersion("lunet-host");
  }
  return args.help || args.version ? kOk : RunSession(args);
}

}  // namespace

int main(int argc, char** argv) { return EndOfRun(Run(argc, argv)); }
