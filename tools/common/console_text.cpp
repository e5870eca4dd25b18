#include "console_text.h"

#ifdef _WIN32
#include <shellapi.h>
#endif

void WriteText(FILE* stream, const std::string& bytes, unsigned codePage) {
  std::string utf8 = AsUtf8(bytes, codePage);
#ifdef _WIN32
  HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode;
  if (GetConsoleMode(handle, &mode)) {
    // The console shows UTF-16 whatever its output code page is; flush first to keep order.
    fflush(stream);
    std::wstring wide = Widen(utf8, CP_UTF8);
    DWORD written;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, NULL);
    return;
  }
#endif
  fwrite(utf8.data(), 1, utf8.size(), stream);
}

#ifdef _WIN32
std::vector<std::string> TypedArguments(int argc, char** argv) {
  std::vector<std::string> typed;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; wide && count == argc && i < count; ++i) {
    typed.push_back(Narrow(wide[i], CP_UTF8));
  }
  if (wide) LocalFree(wide);
  // Should the two parsings ever disagree, the ANSI arguments are the better guess.
  for (int i = static_cast<int>(typed.size()) + 1; i < argc; ++i) {
    typed.push_back(Narrow(Widen(argv[i], CP_ACP), CP_UTF8));
  }
  return typed;
}

std::string InputToUtf8(const std::string& bytes) {
  // Without a console (a service, a detached process) no input code page is set.
  unsigned inputPage = GetConsoleCP();
  return Narrow(Widen(bytes, inputPage ? inputPage : GetOEMCP()), CP_UTF8);
}
#else
std::vector<std::string> TypedArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

std::string InputToUtf8(const std::string& bytes) { return bytes; }
#endif
