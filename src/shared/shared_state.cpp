// SharedState sits in a data section shared by every process that maps lunet.dll.
#include "shared/shared_state.h"

#ifdef _WIN32
// Only plain values and fixed arrays here, never pointers into one process's memory.
#define LUNET_SHARED __attribute__((section("shared"), shared))
#else
#define LUNET_SHARED
#endif

SharedStateRecord SharedState LUNET_SHARED = {0, NULL, NULL, {0}};

HINSTANCE ProcessModule = NULL;
