// Answers are fixed Shift_JIS texts; the identifiers are recognised by prefix only, in a fixed
// order, exactly as the host has always been answered.
#include "host/request.h"

#include <stdlib.h>
#include <string.h>

#include "closer/switch.h"
#include "shared/shared_state.h"

// Macros only so that the literals below join into whole answers at compile time; undefined
// after them. The Shift_JIS texts, byte for byte: 有効にしました。 ("Turned on."), 無効にしました。
// ("Turned off."), 有効にする ("Turn on"), 無効にする ("Turn off"), キャンセル ("Cancel"), and
// the menu's title.
#define HEADER_OK "PLUGIN/2.0 200 OK\r\nCharset: Shift_JIS\r\n"
#define SJIS_ENABLED_NOW "\x97\x4C\x8C\xF8\x82\xC9\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42"
#define SJIS_DISABLED_NOW "\x96\xB3\x8C\xF8\x82\xC9\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42"
#define SJIS_ENABLE "\x97\x4C\x8C\xF8\x82\xC9\x82\xB7\x82\xE9"
#define SJIS_DISABLE "\x96\xB3\x8C\xF8\x82\xC9\x82\xB7\x82\xE9"
#define SJIS_CANCEL "\x83\x4C\x83\x83\x83\x93\x83\x5A\x83\x8B"
#define SJIS_TITLE "\x83\x7E\x83\x4A\x83\x67\x83\x8C\x83\x6D\x83\x58\x83\x6E\x83\x8B\x83\x5B"

namespace {

const char kNoContent[] = "PLUGIN/2.0 204 No Content\r\nCharset: Shift_JIS\r\n\r\n";
const char kVersion[] = HEADER_OK "Value: PLUGIN/2.0\r\n\r\n";
const char kCancelled[] = HEADER_OK "Script: \\h\\b[-1]\\u\\b[-1]\\e\r\n\r\n";
const char kNowEnabled[] = HEADER_OK "Script: \\h" SJIS_ENABLED_NOW "\\e\r\n\r\n";
const char kNowDisabled[] = HEADER_OK "Script: \\h" SJIS_DISABLED_NOW "\\e\r\n\r\n";

const char kMenuHead[] = HEADER_OK
    "SecurityLevel: local\r\n"
    "Marker: Zorvel PLUGIN Menu\r\n"
    "Script: \\h\\f[bold,true]\\[" SJIS_TITLE "\\]\\f[bold,normal]\\n\\n[half]";
const char kChoiceDisable[] = "\\![*]\\q[" SJIS_DISABLE ",off]";
const char kChoiceEnable[] = "\\![*]\\q[" SJIS_ENABLE ",on]";
const char kMenuMiddle[] = "\\n\\n[half]\\![*]\\q[" SJIS_CANCEL
                           ",cancel]\\e\r\n"
                           "Event: OnZorvelMenu\r\n";
const char kReferenceDisable[] = "Reference0: " SJIS_DISABLE ",off\r\n";
const char kReferenceEnable[] = "Reference0: " SJIS_ENABLE ",on\r\n";
const char kReferenceCancel[] = "Reference1: " SJIS_CANCEL ",cancel\r\n";

#undef HEADER_OK
#undef SJIS_ENABLED_NOW
#undef SJIS_DISABLED_NOW
#undef SJIS_ENABLE
#undef SJIS_DISABLE
#undef SJIS_CANCEL
#undef SJIS_TITLE

template <size_t N>
void AppendLiteral(StrBuf& out, const char (&text)[N]) {
  out.Append(text, N - 1);
}

template <size_t N>
bool StartsWith(const char* text, const char (&prefix)[N]) {
  return strncmp(text, prefix, N - 1) == 0;
}

// The text after a header name found anywhere in the request, past any spaces.
template <size_t N>
const char* HeaderValue(const char* text, const char (&name)[N]) {
  const char* found = strstr(text, name);
  if (!found) return nullptr;
  found += N - 1;
  while (*found == ' ') ++found;
  return found;
}

void ComposeMenu(StrBuf& response) {
  int enabled = SharedState.enabled;
  response.Assign(kMenuHead);
  if (enabled) {
    AppendLiteral(response, kChoiceDisable);
  } else {
    AppendLiteral(response, kChoiceEnable);
  }
  AppendLiteral(response, kMenuMiddle);
  if (enabled) {
    AppendLiteral(response, kReferenceDisable);
  } else {
    AppendLiteral(response, kReferenceEnable);
  }
  AppendLiteral(response, kReferenceCancel);
  response.Append("\r\n", 2);
}

int HandleChoice(const char* text, StrBuf& response) {
  const char* choice = HeaderValue(text, "Reference0:");
  if (!choice) return 0;
  if (StartsWith(choice, "cancel")) {
    response.Assign(kCancelled);
    return 1;
  }
  if (StartsWith(choice, "on")) {
    response.Assign(kNowEnabled);
    SetEnabled(1, 1);
    return 1;
  }
  if (StartsWith(choice, "off")) {
    response.Assign(kNowDisabled);
    SetEnabled(0, 1);
    return 1;
  }
  return 0;
}

}  // namespace

int HandleRequest(const char* text, StrBuf& response) {
  const char* id = HeaderValue(text, "ID:");
  if (!id) return 0;
  if (StartsWith(id, "version")) {
    response.Assign(kVersion);
    return 1;
  }
  if (StartsWith(id, "OnMenuExec")) {
    ComposeMenu(response);
    return 1;
  }
  if (StartsWith(id, "OnChoiceSelect")) return HandleChoice(text, response);
  return 0;
}

extern "C" HGLOBAL __cdecl request(HGLOBAL block, LONG* length) {
  if (!length) {
    GlobalFree(block);
    return NULL;
  }
  // A negative length or a missing block is an empty request; never read past the block.
  size_t count = *length > 0 && block ? static_cast<size_t>(*length) : 0;
  if (block && count > GlobalSize(block)) count = GlobalSize(block);
  char* text = static_cast<char*>(malloc(count + 1));
  if (!text) {
    GlobalFree(block);
    return NULL;
  }
  if (count) memcpy(text, block, count);
  text[count] = 0;
  GlobalFree(block);

  StrBuf response(kEmptyText);
  int served = HandleRequest(text, response);
  free(text);
  if (!served || response.length <= 1) response.Assign(kNoContent);

  HGLOBAL answer = GlobalAlloc(GMEM_FIXED, response.length);
  if (!answer) return NULL;  // the length stays as it was
  memcpy(answer, response.data, response.length);
  *length = static_cast<LONG>(response.length);
  return answer;
}
