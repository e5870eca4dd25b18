// The stand-in's named kernel objects, for the calls in files.cpp that take any handle.
#pragma once

#include <windows.h>

namespace named {

// Each answers false when the handle or view is not a named object's, so the caller goes on
// with its own kinds.
bool Close(HANDLE handle);
bool MapView(HANDLE handle, DWORD access, SIZE_T bytes, LPVOID& view);
bool Unmap(LPCVOID view);
// A mapping backed by memory rather than a file (CreateFileMappingA of INVALID_HANDLE_VALUE).
HANDLE CreateMemoryMapping(DWORD protect, DWORD size, LPCSTR name);

}  // namespace named
