// Fuzzes the exported request entry: arbitrary request bytes, and blocks whose size disagrees
// with the length the host claims. Every answer must be one of the fixed texts (or the menu for
// the state the request found), handed back with length = bytes + 1 and a closing NUL, and only
// the "on"/"off" choices may change the state and the marker file.
//
// Input: byte 0 chooses the framing (bits 0-1 length mode, bit 2 null block, bit 3 start
// switched on, bit 4 null length pointer); the remaining bytes are the request.
#include "host/request.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <string>

#include "closer/switch.h"
#include "scratch.h"
#include "shared/shared_state.h"

namespace {

#define HEADER_OK "PLUGIN/2.0 200 OK\r\nCharset: Shift_JIS\r\n"
#define SJIS_ENABLE "\x97\x4C\x8C\xF8\x82\xC9\x82\xB7\x82\xE9"
#define SJIS_DISABLE "\x96\xB3\x8C\xF8\x82\xC9\x82\xB7\x82\xE9"
#define SJIS_CANCEL "\x83\x4C\x83\x83\x83\x93\x83\x5A\x83\x8B"
#define MENU_HEAD                                                            \
  HEADER_OK                                                                  \
  "SecurityLevel: local\r\nMarker: Zorvel PLUGIN Menu\r\n"                   \
  "Script: \\h\\f[bold,true]\\["                                             \
  "\x83\x7E\x83\x4A\x83\x67\x83\x8C\x83\x6D\x83\x58\x83\x6E\x83\x8B\x83\x5B" \
  "\\]\\f[bold,normal]\\n\\n[half]"
#define MENU_MIDDLE "\\n\\n[half]\\![*]\\q[" SJIS_CANCEL ",cancel]\\e\r\nEvent: OnZorvelMenu\r\n"
#define MENU_TAIL "Reference1: " SJIS_CANCEL ",cancel\r\n\r\n"

const char kNoContent[] = "PLUGIN/2.0 204 No Content\r\nCharset: Shift_JIS\r\n\r\n";
const char kVersion[] = HEADER_OK "Value: PLUGIN/2.0\r\n\r\n";
const char kCancelled[] = HEADER_OK "Script: \\h\\b[-1]\\u\\b[-1]\\e\r\n\r\n";
const char kNowEnabled[] = HEADER_OK
    "Script: \\h\x97\x4C\x8C\xF8\x82\xC9\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\\e\r\n\r\n";
const char kNowDisabled[] = HEADER_OK
    "Script: \\h\x96\xB3\x8C\xF8\x82\xC9\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\\e\r\n\r\n";
const char kMenuWhileOn[] = MENU_HEAD "\\![*]\\q[" SJIS_DISABLE ",off]" MENU_MIDDLE
                                      "Reference0: " SJIS_DISABLE ",off\r\n" MENU_TAIL;
const char kMenuWhileOff[] = MENU_HEAD "\\![*]\\q[" SJIS_ENABLE ",on]" MENU_MIDDLE
                                       "Reference0: " SJIS_ENABLE ",on\r\n" MENU_TAIL;

enum Answer {
  kAnswerNoContent,
  kAnswerVersion,
  kAnswerCancelled,
  kAnswerOn,
  kAnswerOff,
  kAnswerMenu,
  kAnswerUnknown
};

bool Is(const char* answer, size_t length, const char* text) {
  return length == strlen(text) + 1 && memcmp(answer, text, length) == 0;
}

Answer Classify(const char* answer, size_t length, int wasOn) {
  if (Is(answer, length, kNoContent)) return kAnswerNoContent;
  if (Is(answer, length, kVersion)) return kAnswerVersion;
  if (Is(answer, length, kCancelled)) return kAnswerCancelled;
  if (Is(answer, length, kNowEnabled)) return kAnswerOn;
  if (Is(answer, length, kNowDisabled)) return kAnswerOff;
  if (Is(answer, length, wasOn ? kMenuWhileOn : kMenuWhileOff)) return kAnswerMenu;
  return kAnswerUnknown;
}

bool MarkerExists() {
  struct stat info;
  return stat((ScratchDir() + "config.dat").c_str(), &info) == 0;
}

// The request as the handler may see it: the bytes within the block, up to the first NUL.
std::string VisibleText(const uint8_t* bytes, size_t count) {
  std::string text(reinterpret_cast<const char*>(bytes), count);
  return text.substr(0, text.find('\0'));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string& dir = ScratchDir();
  if (dir.size() >= sizeof SharedState.PluginDir - 11) abort();
  memcpy(SharedState.PluginDir, dir.c_str(), dir.size() + 1);
  // The stand-in's desktop-wide hook needs a module handle, as the system does.
  ProcessModule = reinterpret_cast<HINSTANCE>(0x10000000);
  SharedState.module = ProcessModule;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  const uint8_t* body = data + 1;
  const size_t bodySize = size - 1;

  if (mode & 8) SetEnabled(1, 1);
  const int wasOn = SharedState.enabled;
  const bool hadMarker = MarkerExists();

  HGLOBAL block = NULL;
  if (!(mode & 4)) {
    block = GlobalAlloc(GMEM_FIXED, bodySize);
    if (bodySize) memcpy(block, body, bodySize);
  }
  LONG claimed;
  switch (mode & 3) {
    case 0: claimed = static_cast<LONG>(bodySize); break;
    case 1: claimed = static_cast<LONG>(bodySize) + 1 + (mode >> 5) * 4096; break;  // too long
    case 2: claimed = -1 - static_cast<LONG>(bodySize); break;
    default: claimed = static_cast<LONG>(bodySize / 2); break;
  }

  if (mode & 16) {
    // No length pointer: the block is freed (LeakSanitizer checks) and nothing comes back.
    if (request(block, NULL) != NULL) abort();
  } else {
    LONG length = claimed;
    HGLOBAL answer = request(block, &length);
    if (!answer || length < 1 || GlobalSize(answer) != static_cast<SIZE_T>(length)) abort();
    const char* text = static_cast<const char*>(answer);
    if (text[length - 1] != 0) abort();
    Answer kind = Classify(text, static_cast<size_t>(length), wasOn);
    if (kind == kAnswerUnknown) abort();

    size_t seen = (mode & 4) || claimed <= 0 ? 0 : static_cast<size_t>(claimed);
    if (seen > bodySize) seen = bodySize;
    if (VisibleText(body, seen).find("ID:") == std::string::npos && kind != kAnswerNoContent) {
      abort();
    }
    if (kind == kAnswerOn) {
      if (SharedState.enabled != 1 || !MarkerExists()) abort();
    } else if (kind == kAnswerOff) {
      if (SharedState.enabled != 0 || MarkerExists()) abort();
    } else if (SharedState.enabled != wasOn || MarkerExists() != hadMarker) {
      abort();
    }
    GlobalFree(answer);
  }

  // Back to off with no marker for the next input.
  SetEnabled(0, 1);
  RemoveScratchFile("config.dat");
  return 0;
}
