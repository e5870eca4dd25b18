#include "code_page.h"

#ifndef _WIN32
#include <errno.h>
#include <iconv.h>
#endif

#ifdef _WIN32
std::wstring Widen(const std::string& bytes, unsigned codePage) {
  int count = static_cast<int>(bytes.size());
  int units = count ? MultiByteToWideChar(codePage, 0, bytes.data(), count, NULL, 0) : 0;
  std::wstring wide(units > 0 ? units : 0, L'\0');
  if (units > 0) MultiByteToWideChar(codePage, 0, bytes.data(), count, &wide[0], units);
  return wide;
}

std::string Narrow(const std::wstring& wide, unsigned codePage) {
  int count = static_cast<int>(wide.size());
  int bytes = count ? WideCharToMultiByte(codePage, 0, wide.data(), count, NULL, 0, NULL, NULL) : 0;
  std::string out(bytes > 0 ? bytes : 0, '\0');
  if (bytes > 0) WideCharToMultiByte(codePage, 0, wide.data(), count, &out[0], bytes, NULL, NULL);
  return out;
}
#endif

namespace {

const char kHex[] = "0123456789ABCDEF";

// Decoded text is UTF-16 on Windows, which WideCharToMultiByte turns into UTF-8, and UTF-8
// elsewhere, which iconv writes directly.

#ifdef _WIN32
typedef std::wstring Chars;

// Whether what was appended after before is one C1 control, U+0080 to U+009F.
bool IsC1(const Chars& out, size_t before) {
  return out.size() == before + 1 && out.back() >= 0x80 && out.back() < 0xA0;
}

// One character of the code page at the start of bytes, appended to out; returns its length in
// bytes, or 0 when no character of the code page starts there.
class CharDecoder {
 public:
  explicit CharDecoder(unsigned codePage) : codePage_(codePage) {}
  size_t Next(const char* bytes, size_t left, Chars& out) {
    wchar_t units[8];
    for (size_t length = 1; length <= 4 && length <= left; ++length) {
      int count = MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, bytes,
                                      static_cast<int>(length), units, 8);
      if (count > 0) {
        out.append(units, count);
        return length;
      }
    }
    return 0;
  }

 private:
  unsigned codePage_;
};
#else
typedef std::string Chars;

bool IsC1(const Chars& out, size_t before) {
  return out.size() == before + 2 && static_cast<unsigned char>(out[before]) == 0xC2 &&
         static_cast<unsigned char>(out[before + 1]) < 0xA0;
}

// iconv knows no CP65001: UTF-8 goes by its own name.
std::string IconvName(unsigned codePage) {
  return codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage);
}

class CharDecoder {
 public:
  explicit CharDecoder(unsigned codePage)
      : handle_(iconv_open("UTF-8", IconvName(codePage).c_str())) {}
  ~CharDecoder() {
    if (handle_ != Failed()) iconv_close(handle_);
  }
  CharDecoder(const CharDecoder&) = delete;
  CharDecoder& operator=(const CharDecoder&) = delete;

  size_t Next(const char* bytes, size_t left, Chars& out) {
    if (handle_ == Failed()) return 0;
    for (size_t length = 1; length <= 4 && length <= left; ++length) {
      char utf8[16];
      char* in = const_cast<char*>(bytes);
      char* cursor = utf8;
      size_t inLeft = length, outLeft = sizeof utf8;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);
      if (iconv(handle_, &in, &inLeft, &cursor, &outLeft) != static_cast<size_t>(-1) &&
          outLeft < sizeof utf8) {
        out.append(utf8, cursor - utf8);
        return length;
      }
    }
    return 0;
  }

 private:
  static iconv_t Failed() { return reinterpret_cast<iconv_t>(-1); }
  iconv_t handle_;
};
#endif

void AppendEscape(unsigned char byte, Chars& out) {
  out += '\\';
  out += 'x';
  out += kHex[byte >> 4];
  out += kHex[byte & 15];
}

// Appends the next character of the text to out and returns its length in bytes; 0, leaving out
// as it was, for a byte that starts no character and for a C1 control, which some code pages
// (1252 among them) map their unused bytes to.
size_t NextChar(CharDecoder& decoder, const std::string& bytes, size_t at, Chars& out) {
  size_t before = out.size();
  size_t length = decoder.Next(bytes.data() + at, bytes.size() - at, out);
  if (length == 0 || (length == 1 && IsC1(out, before))) {
    out.resize(before);
    return 0;
  }
  return length;
}

// The text's characters, with \xHH for each byte that is none, so the reader sees the bytes.
Chars Decode(const std::string& bytes, unsigned codePage) {
  CharDecoder decoder(codePage);
  Chars out;
  for (size_t i = 0; i < bytes.size();) {
    size_t length = NextChar(decoder, bytes, i, out);
    if (length == 0) {
      AppendEscape(static_cast<unsigned char>(bytes[i]), out);
      length = 1;
    }
    i += length;
  }
  return out;
}

}  // namespace

std::string AsUtf8(const std::string& bytes, unsigned codePage) {
#ifdef _WIN32
  return Narrow(Decode(bytes, codePage), CP_UTF8);
#else
  // UTF-8 is decoded too, so that bytes that are none show as \xHH, as in any code page.
  if (codePage == CP_ACP) return bytes;
  return Decode(bytes, codePage);
#endif
}

std::string Quote(const std::string& bytes) {
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

int KnownCodePage(unsigned codePage) {
#ifdef _WIN32
  return IsValidCodePage(codePage) ? 1 : 0;
#else
  iconv_t handle = iconv_open("UTF-32LE", IconvName(codePage).c_str());
  if (handle == reinterpret_cast<iconv_t>(-1)) return 0;
  iconv_close(handle);
  return 1;
#endif
}

int IsAscii(const std::string& bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return 0;
  }
  return 1;
}

int IsCodePageText(const std::string& bytes, unsigned codePage) {
#ifndef _WIN32
  if (codePage == CP_ACP) return 1;
#endif
  CharDecoder decoder(codePage);
  Chars ignored;
  for (size_t i = 0, length = 0; i < bytes.size(); i += length) {
    length = NextChar(decoder, bytes, i, ignored);
    if (length == 0) return 0;
  }
  return 1;
}

#ifdef _WIN32
std::string ToCodePage(const std::string& utf8, unsigned codePage, bool* lost) {
  std::wstring wide = Widen(utf8, CP_UTF8);
  std::string out = Narrow(wide, codePage);
  // Best-fit replacements set no flag: only reading the text back tells.
  if (lost) *lost = Widen(out, codePage) != wide;
  return out;
}

#else
std::string ToCodePage(const std::string& utf8, unsigned codePage, bool* lost) {
  if (lost) *lost = false;
  if (codePage == CP_ACP) return utf8;
  iconv_t handle = iconv_open(IconvName(codePage).c_str(), "UTF-8");
  if (handle == reinterpret_cast<iconv_t>(-1)) return utf8;
  std::string out(utf8.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  char* cursor = &out[0];
  size_t inLeft = utf8.size(), outLeft = out.size();
  while (inLeft > 0 && iconv(handle, &in, &inLeft, &cursor, &outLeft) == static_cast<size_t>(-1)) {
    if (errno == E2BIG || outLeft == 0) break;
    // A character the code page lacks, or a byte that is no UTF-8: one '?' for it.
    if (lost) *lost = true;
    *cursor++ = '?';
    --outLeft;
    do {
      ++in;
      --inLeft;
    } while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
  }
  iconv_close(handle);
  out.resize(out.size() - outLeft);
  return out;
}

#endif
