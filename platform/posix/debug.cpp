// Debug output: what the module says through OutputDebugStringA, kept for the tests.
#include <unistd.h>
#include <windows.h>

#include <mutex>

#include "standin.h"

namespace {
std::mutex lock;
std::vector<std::string> lines;
}  // namespace

extern "C" DWORD GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

extern "C" void OutputDebugStringA(LPCSTR text) {
  std::lock_guard<std::mutex> guard(lock);
  lines.push_back(text ? text : "");
}

namespace standin {

std::vector<std::string> TakeDebugOutput() {
  std::lock_guard<std::mutex> guard(lock);
  std::vector<std::string> taken;
  taken.swap(lines);
  return taken;
}

}  // namespace standin
