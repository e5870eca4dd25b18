#include "console_text.h"

namespace {

#ifdef _WIN32
std::wstring Widen(const std::string& bytes, unsigned codePage) {
  int count = static_cast<int>(bytes.size());
  if (count == 0) return std::wstring();
  int units = MultiByteToWideChar(codePage, 0, bytes.data(), count, NULL, 0);
  std::wstring wide(units > 0 ? units : 0, L'\0');
  if (units > 0) MultiByteToWideChar(codePage, 0, bytes.data(), count, &wide[0], units);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  int count = static_cast<int>(wide.size());
  if (count == 0) return std::string();
  int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, NULL, 0, NULL, NULL);
  std::string out(bytes > 0 ? bytes : 0, '\0');
  if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, &out[0], bytes, NULL, NULL);
  return out;
}
#endif

}  // namespace

void WriteText(FILE* stream, const std::string& bytes, unsigned codePage) {
#ifdef _WIN32
  std::wstring wide = Widen(bytes, codePage);
  HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode;
  if (GetConsoleMode(handle, &mode)) {
    // The console shows UTF-16 whatever its output code page is; flush first to keep order.
    fflush(stream);
    DWORD written;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, NULL);
    return;
  }
  std::string out = Utf8(wide);
  fwrite(out.data(), 1, out.size(), stream);
#else
  (void)codePage;
  fwrite(bytes.data(), 1, bytes.size(), stream);
#endif
}

std::string Quote(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (unsigned char byte : bytes) {
    if (byte == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += static_cast<char>(byte);
    }
  }
  out += '"';
  return out;
}
