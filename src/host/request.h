// The "PLUGIN/2.0" request: the host's block in, a Shift_JIS script answer out.
#pragma once

#include <windows.h>

#include "support/strbuf.h"

extern "C" HGLOBAL __cdecl request(HGLOBAL block, LONG* length);

// Fills response and returns 1 for a request the module serves ("version", "OnMenuExec",
// "OnChoiceSelect"); 0 otherwise.
int HandleRequest(const char* text, StrBuf& response);
