// Windows only: a program started by this process, with this process's console and standard
// handles or with its output sent to handles given. The owner ends it if it is still running.
#pragma once

#include <windows.h>

#include <string>

#include "owned.h"

class ChildProcess {
 public:
  // output and errors, when given, are inheritable handles the program writes its standard
  // output and error to; else it writes where this process does.
  explicit ChildProcess(const std::string& commandLine, HANDLE output = NULL, HANDLE errors = NULL);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_.valid(); }
  HANDLE handle() const { return process_.get(); }
  DWORD id() const { return id_; }
  // GetLastError of a start that failed.
  DWORD startError() const { return startError_; }
  // Waits up to ms for the end: the exit code, or STILL_ACTIVE while it runs.
  DWORD Wait(DWORD ms);
  // Waits for the end: the exit code (STILL_ACTIVE if it never started). With serveMessages this
  // thread's window messages are handled meanwhile: a plug-in's hooks belong to this thread.
  DWORD Finish(bool serveMessages = false);

 private:
  KernelHandle process_;
  DWORD id_ = 0;
  DWORD startError_ = 0;
};
