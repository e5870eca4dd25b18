#include "child_process.h"

#include <vector>

#include "message_pump.h"

ChildProcess::ChildProcess(const std::string& commandLine, Output output) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
  HANDLE read = NULL, write = NULL;
  if (output != kInherit) {
    if (!CreatePipe(&read, &write, &inherit, 0)) {
      startError_ = GetLastError();
      return;
    }
    read_.reset(read);
    // Only the child's end is inherited, or the pipe would never report the end.
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  }
  KernelHandle writeEnd(write);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = write ? write : GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = output == kCaptureWithErrors ? write : GetStdHandle(STD_ERROR_HANDLE);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back(0);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(NULL, line.data(), NULL, NULL, TRUE, 0, NULL, NULL, &startup, &info)) {
    startError_ = GetLastError();
    return;
  }
  KernelHandle thread(info.hThread);  // not needed: closed at once
  process_.reset(info.hProcess);
  id_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
  if (started() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
  }
}

DWORD ChildProcess::Wait(DWORD ms) {
  DWORD code = STILL_ACTIVE;
  if (started() && WaitForSingleObject(process_.get(), ms) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process_.get(), &code);
  }
  return code;
}

// Keeps the pipe drained so a talkative program never blocks on it.
void ChildProcess::ReadAvailable() {
  char chunk[4096];
  DWORD available = 0, got = 0;
  while (PeekNamedPipe(read_.get(), NULL, 0, NULL, &available, NULL) && available &&
         ReadFile(read_.get(), chunk, sizeof chunk, &got, NULL) && got) {
    output_.append(chunk, got);
  }
}

DWORD ChildProcess::Finish(bool serveMessages) {
  if (!started()) return STILL_ACTIVE;
  while (serveMessages && !PumpUntil(process_.get(), read_.valid() ? 100 : INFINITE)) {
    if (read_.valid()) ReadAvailable();
  }
  // The pipe ends when the program and every process it handed the pipe to have ended.
  char chunk[4096];
  DWORD got = 0;
  while (read_.valid() && ReadFile(read_.get(), chunk, sizeof chunk, &got, NULL) && got)
    output_.append(chunk, got);
  return Wait(INFINITE);
}

std::string QuotedArgument(const std::string& argument) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

std::string ProgramPath() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? "" : path;
}
