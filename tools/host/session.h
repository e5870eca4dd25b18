// The commands of lunet-host, run one line at a time against a loaded plug-in.
#pragma once

#include <string>
#include <vector>

#include "answer.h"
#include "host_call.h"
#include "host_cli.h"
#include "plugin_module.h"

struct HostOptions {
  bool raw = false;     // show answers in hex too
  bool brief = false;   // of the headers of an answer, show only the status line
  bool echo = true;     // print each command before running it (scripts)
  bool pressOk = true;  // read configure's message box and press OK
};

class Session {
 public:
  // folder: the one load received, where lunet.dll keeps its switch.
  Session(PluginModule& plugin, const HostOptions& options, const std::string& folder)
      : plugin_(plugin), options_(options), folder_(folder) {}

  // Runs one command line; false when it failed. Blank lines and # comments do nothing.
  bool Execute(const std::string& line);
  bool quit() const { return quit_; }
  size_t choices() const { return choices_.size(); }

  // The commands, as the rows of host_cli.cpp name them; false when one failed.
  bool Version(const host_cli::CommandLine& command);
  bool Menu(const host_cli::CommandLine& command);
  bool Pick(const host_cli::CommandLine& command);
  bool Choose(const host_cli::CommandLine& command);
  bool Switch(const host_cli::CommandLine& command);
  bool SendFile(const host_cli::CommandLine& command);
  bool GetVersion(const host_cli::CommandLine& command);
  bool Notify(const host_cli::CommandLine& command);
  bool Configure(const host_cli::CommandLine& command);
  bool Run(const host_cli::CommandLine& command);
  bool Sleep(const host_cli::CommandLine& command);
  bool Echo(const host_cli::CommandLine& command);
  bool Help(const host_cli::CommandLine& command);
  bool Quit(const host_cli::CommandLine& command);

 private:
  bool Send(const std::string& request);
  // Whether lunet.dll's closer is on: its menu then offers to switch it off. Asked quietly.
  bool CloserIsOn();
  // Shows what the export answered; false, said, when it gave no block back.
  bool ShowAnswer(const char* exportName, const PluginAnswer& answer);

  PluginModule& plugin_;
  HostOptions options_;
  std::string folder_;
  std::vector<Choice> choices_;
  bool quit_ = false;
};
