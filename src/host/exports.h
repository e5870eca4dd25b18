// The module's exported entry points (caller-cleans-up convention) and its loader entry point.
#pragma once

#include <windows.h>

extern "C" {
BOOL __cdecl load(HGLOBAL block, LONG length);
BOOL __cdecl unload(void);
HGLOBAL __cdecl getversion(LONG* length);
HGLOBAL __cdecl notify(HGLOBAL block);
int __cdecl configure(HWND owner);
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
}
