// Windows only: a program started by this process, its standard output optionally read back
// through a pipe. The owner closes the handles and ends the program if it is still running.
#pragma once

#include <windows.h>

#include <string>

#include "owned.h"

class ChildProcess {
 public:
  // What the program's standard output (and error) go to.
  enum Output { kInherit, kCapture, kCaptureWithErrors };

  explicit ChildProcess(const std::string& commandLine, Output output = kInherit);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_.valid(); }
  DWORD id() const { return id_; }
  // Ends the program at once, wherever its threads are, as a crash or the task manager does.
  bool Terminate(UINT code) { return started() && TerminateProcess(process_.get(), code); }
  // GetLastError of a start that failed.
  DWORD startError() const { return startError_; }
  // Waits up to ms for the end: the exit code, or STILL_ACTIVE while it runs.
  DWORD Wait(DWORD ms);
  // Reads the output until the program ends: the exit code (STILL_ACTIVE if it never started).
  // With serveMessages this thread's window messages are handled meanwhile.
  DWORD Finish(bool serveMessages = false);
  const std::string& output() const { return output_; }

 private:
  void ReadAvailable();

  KernelHandle read_;
  KernelHandle process_;
  DWORD id_ = 0;
  DWORD startError_ = 0;
  std::string output_;
};

// One argument as the started program's runtime splits it again: quoted, backslashes before a
// quote doubled, quotes escaped (a directory ends in a backslash).
std::string QuotedArgument(const std::string& argument);

// This program's own path, to start it again or to find files beside it; "" when it cannot be
// read.
std::string ProgramPath();
