#include "harness/captured_process.h"

#include "message_pump.h"

CapturedProcess::CapturedProcess(const std::string& commandLine, bool withErrors) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
  HANDLE read = NULL, write = NULL;
  if (!CreatePipe(&read, &write, &inherit, 0)) return;
  read_.reset(read);
  // Only the child's end is inherited, or the pipe would never report the end.
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  KernelHandle writeEnd(write);
  child_ = std::make_unique<ChildProcess>(commandLine, write, withErrors ? write : NULL);
}

// Keeps the pipe drained so a talkative program never blocks on it.
void CapturedProcess::ReadAvailable() {
  char chunk[4096];
  DWORD available = 0, got = 0;
  while (PeekNamedPipe(read_.get(), NULL, 0, NULL, &available, NULL) && available &&
         ReadFile(read_.get(), chunk, sizeof chunk, &got, NULL) && got) {
    output_.append(chunk, got);
  }
}

DWORD CapturedProcess::Finish(bool serveMessages) {
  if (!started()) return STILL_ACTIVE;
  while (serveMessages && !PumpUntil(child_->handle(), 100)) ReadAvailable();
  // The pipe ends when the program and every process it handed the pipe to have ended.
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(read_.get(), chunk, sizeof chunk, &got, NULL) && got) output_.append(chunk, got);
  return child_->Wait(INFINITE);
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
