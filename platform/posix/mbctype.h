// Stand-in for the runtime's multibyte code page: process-wide, 0 at start as for a
// single-byte ANSI code page.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif
int _getmbcp(void);
int _setmbcp(int codePage);
#ifdef __cplusplus
}
#endif
