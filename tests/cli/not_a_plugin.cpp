// A DLL that loads fine but is no plug-in: it exports other functions than the host needs.
#include <windows.h>

extern "C" __declspec(dllexport) int __cdecl hello(void) { return 1; }
extern "C" __declspec(dllexport) int __cdecl goodbye(void) { return 0; }
