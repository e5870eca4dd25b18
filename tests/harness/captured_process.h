// Windows only: a program started by a test, a benchmark or the soak, its output read back
// through a pipe while it runs; and the command lines to start one.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "child_process.h"
#include "owned.h"

class CapturedProcess {
 public:
  // Standard output captured, and standard error too when withErrors; else the error goes
  // where this process's does.
  explicit CapturedProcess(const std::string& commandLine, bool withErrors = false);

  bool started() const { return child_ && child_->started(); }
  DWORD id() const { return child_ ? child_->id() : 0; }
  DWORD Wait(DWORD ms) { return child_ ? child_->Wait(ms) : STILL_ACTIVE; }
  // Ends the program at once, wherever its threads are, as a crash or the task manager does.
  bool Terminate(UINT code) { return started() && TerminateProcess(child_->handle(), code); }
  // Reads the output until the program ends: the exit code (STILL_ACTIVE if it never started).
  // With serveMessages this thread's window messages are handled meanwhile.
  DWORD Finish(bool serveMessages = false);
  const std::string& output() const { return output_; }

 private:
  void ReadAvailable();

  KernelHandle read_;
  std::unique_ptr<ChildProcess> child_;
  std::string output_;
};

// One argument as the started program's runtime splits it again: quoted, backslashes before a
// quote doubled, quotes escaped (a directory ends in a backslash).
std::string QuotedArgument(const std::string& argument);

// This program's own path, to start it again or to find files beside it; "" when it cannot be
// read.
std::string ProgramPath();
