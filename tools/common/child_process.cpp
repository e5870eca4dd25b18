#include "child_process.h"

#include <vector>

#include "message_pump.h"

ChildProcess::ChildProcess(const std::string& commandLine, HANDLE output, HANDLE errors) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output ? output : GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = errors ? errors : GetStdHandle(STD_ERROR_HANDLE);
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

DWORD ChildProcess::Finish(bool serveMessages) {
  if (!started()) return STILL_ACTIVE;
  if (serveMessages) PumpUntil(process_.get(), INFINITE);
  return Wait(INFINITE);
}
