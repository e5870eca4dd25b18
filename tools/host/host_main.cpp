// lunet-host: the desktop-character host's side of a plug-in, on the console. Loads the DLL,
// hands it its directory, sends it requests from the command line, a script or the keyboard,
// and unloads it at the end.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "console_text.h"
#include "owned.h"
#include "plugin.h"
#include "session.h"
#include "shared/plugin_folder.h"

namespace {

enum Exit { kOk = 0, kCommandFailed = 1, kUsage = 2, kPluginUnusable = 3 };

const char kUsageText[] =
    "usage: lunet-host [options] PLUGIN.dll [COMMAND]...\n"
    "\n"
    "Loads the plug-in as the desktop-character host does, calls load with its directory,\n"
    "runs the commands (each argument is one command line: quote the ones with arguments),\n"
    "and calls unload at the end. Without commands or --script it is interactive: it shows\n"
    "the plug-in's menu and sends the choice you pick.\n"
    "\n"
    "options:\n"
    "  --dir DIR       the directory load receives (default: the plug-in's own)\n"
    "  --script FILE   run the commands in FILE, one a line ('-': standard input); a line in\n"
    "                  UTF-8 (a byte order mark allowed) is converted to the ANSI code page,\n"
    "                  with a warning for characters it cannot hold; other lines are taken\n"
    "                  as ANSI code page text\n"
    "  --raw           show each answer's bytes in hex too\n"
    "  --brief         show only the status line of each answer's headers\n"
    "  --show-boxes    leave configure's message boxes for you to close\n"
    "  --help\n"
    "\n";

const char kExitText[] =
    "\nexit status: 0 every command worked; 1 a command failed (a script stops there);\n"
    "2 usage error; 3 the plug-in cannot be used (no such file, missing exports, bad --dir).\n";

struct Arguments {
  std::string plugin, directory, script;
  std::vector<std::string> commands;
  HostOptions options;
};

int UsageError(const std::string& message) {
  fprintf(stderr, "lunet-host: %s\n(lunet-host --help tells more)\n", message.c_str());
  return kUsage;
}

// 0 when the arguments are usable, else the exit status.
int ParseArguments(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--dir" && hasValue) {
      args.directory = argv[++i];
    } else if (arg == "--script" && hasValue) {
      args.script = argv[++i];
    } else if (arg == "--raw") {
      args.options.raw = true;
    } else if (arg == "--brief") {
      args.options.brief = true;
    } else if (arg == "--show-boxes") {
      args.options.pressOk = false;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError("unknown option " + arg);
    } else if (args.plugin.empty()) {
      args.plugin = arg;
    } else {
      args.commands.push_back(arg);
    }
  }
  if (args.plugin.empty()) return UsageError("no plug-in given");
  if (!args.script.empty() && !args.commands.empty()) {
    return UsageError("give commands either as arguments or with --script, not both");
  }
  return kOk;
}

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
  if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
  bool ascii = true;
  for (char c : line) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii || !LooksLikeUtf8(line)) return line;
  bool lost = false;
  std::string converted = ToCodePage(line, CP_ACP, &lost);
  if (lost) {
    fflush(stdout);
    fprintf(stderr, "lunet-host: warning: %s:%d: the ANSI code page (%u) cannot hold every "
            "character; the line reads ", name.c_str(), number, GetACP());
    WriteText(stderr, Quote(converted.substr(0, converted.find_last_not_of("\r\n") + 1)) + "\n",
              CP_ACP);
  }
  return converted;
}

int RunScript(Session& session, const std::string& name) {
  OwnedFile opened(name == "-" ? nullptr : fopen(name.c_str(), "rb"));
  FILE* file = name == "-" ? stdin : opened.get();
  if (!file) {
    fprintf(stderr, "lunet-host: %s: cannot be opened\n", name.c_str());
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

// Like the balloon: the menu first, then the user's picks; a failed command is only reported.
int RunInteractive(Session& session) {
  session.Execute("menu");
  // Typed lines are on the screen already; lines from a pipe are shown, so the output reads.
  DWORD mode;
  bool typed = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode);
  std::string line;
  for (;;) {
    if (session.choices()) {
      printf("\npick 1-%u, or a command (help, quit): ", static_cast<unsigned>(session.choices()));
    } else {
      printf("\ncommand (menu, help, quit): ");
    }
    fflush(stdout);
    if (!ReadLine(stdin, line)) break;
    if (!typed) printf("%s%s", line.c_str(), line.back() == '\n' ? "" : "\n");
    session.Execute(line);
    if (session.quit()) break;
  }
  printf("\n");
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
      fputs(kUsageText, stdout);
      fputs(kCommandHelp, stdout);
      fputs(kExitText, stdout);
      return kOk;
    }
    if (strcmp(argv[i], "--dir") == 0 || strcmp(argv[i], "--script") == 0) ++i;
  }
  Arguments args;
  int parsed = ParseArguments(argc, argv, args);
  if (parsed != kOk) return parsed;
  bool interactive = args.script.empty() && args.commands.empty();
  args.options.echo = !interactive;

  Plugin plugin;
  std::string error;
  if (!plugin.Open(args.plugin, args.directory, error)) {
    WriteText(stderr, "lunet-host: " + error + "\n", CP_ACP);
    return kPluginUnusable;
  }
  WriteText(stdout, "loaded " + plugin.path() + "\n", CP_ACP);
  BOOL loaded = plugin.Load();
  WriteText(stdout,
            "load(" + Quote(plugin.directory()) + ") returned " + std::to_string(loaded) + "\n",
            CP_ACP);

  // The closer loads its rules from its own folder: without them it closes nothing, silently.
  std::string folder = plugin.directory();
  if (GetFileAttributesA((folder + kRulesFile).c_str()) == INVALID_FILE_ATTRIBUTES &&
      GetFileAttributesA((folder + kCustomRulesFile).c_str()) == INVALID_FILE_ATTRIBUTES) {
    fflush(stdout);
    WriteText(stderr,
              "lunet-host: warning: the plug-in will close nothing: no killwnd.txt or "
              "killwnd_custom.txt in " + folder + "\n",
              CP_ACP);
  }

  Session session(plugin, args.options);
  int result = interactive           ? RunInteractive(session)
               : args.script.empty() ? RunCommands(session, args.commands)
                                     : RunScript(session, args.script);
  BOOL unloaded = plugin.Close();
  printf("unload() returned %d\n", unloaded);
  return result;
}
