// The plug-in's binary interface as a host sees it: the six exports by name, with the types a
// host calls them through. All are caller-cleans-up; blocks go both ways as fixed global memory.
#pragma once

#include <windows.h>

namespace plugin_abi {

typedef BOOL(__cdecl* LoadEntry)(HGLOBAL block, LONG length);
typedef BOOL(__cdecl* UnloadEntry)(void);
typedef HGLOBAL(__cdecl* RequestEntry)(HGLOBAL block, LONG* length);
typedef HGLOBAL(__cdecl* GetVersionEntry)(LONG* length);
typedef HGLOBAL(__cdecl* NotifyEntry)(HGLOBAL block);
typedef int(__cdecl* ConfigureEntry)(HWND owner);

const char kLoad[] = "load";
const char kUnload[] = "unload";
const char kRequest[] = "request";
const char kGetVersion[] = "getversion";
const char kNotify[] = "notify";
const char kConfigure[] = "configure";

}  // namespace plugin_abi
