// WideCharToMultiByte over iconv, one character at a time so that what a code page cannot hold
// becomes the default character '?', as the system does. OEM is 437 and ANSI 1252, as in Wine.
#include <iconv.h>
#include <windows.h>

#include <string>

namespace {

const char* IconvName(UINT codePage) {
  switch (codePage) {
    case CP_ACP:
    case CP_THREAD_ACP:
    case 1252: return "CP1252";
    case CP_OEMCP:
    case 437: return "CP437";
    case 874: return "CP874";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 54936: return "GB18030";
    case CP_UTF8: return "UTF-8";
    default: return nullptr;
  }
}

// Appends the encoding of one code point, or '?' when the code page has none.
void Encode(iconv_t converter, char32_t codePoint, std::string& out) {
  char input[4];
  for (int i = 0; i < 4; ++i) input[i] = static_cast<char>((codePoint >> (8 * i)) & 0xFF);
  char output[8];
  char* in = input;
  char* outCursor = output;
  size_t inLeft = 4, outLeft = sizeof output;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter, &in, &inLeft, &outCursor, &outLeft) == static_cast<size_t>(-1)) {
    out += '?';
    return;
  }
  out.append(output, static_cast<size_t>(outCursor - output));
}

}  // namespace

extern "C" int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR source, int units, LPSTR output,
                                   int outputBytes, LPCSTR, LPBOOL usedDefault) {
  const char* name = IconvName(codePage);
  if (!source || outputBytes < 0 || !name || (outputBytes > 0 && !output)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (usedDefault) *usedDefault = FALSE;
  size_t count = 0;
  if (units < 0) {
    while (source[count]) ++count;
    ++count;  // the terminator is converted too
  } else {
    count = static_cast<size_t>(units);
  }
  iconv_t converter = iconv_open(name, "UTF-32LE");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    char32_t unit = source[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && source[i + 1] >= 0xDC00 &&
        source[i + 1] <= 0xDFFF) {
      Encode(converter, 0x10000 + ((unit - 0xD800) << 10) + (source[i + 1] - 0xDC00), out);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      out += '?';
    } else {
      Encode(converter, unit, out);
    }
  }
  iconv_close(converter);
  if (outputBytes == 0) return static_cast<int>(out.size());
  if (out.size() > static_cast<size_t>(outputBytes)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  out.copy(output, out.size());
  return static_cast<int>(out.size());
}
