// Stand-in for the runtime's Shift_JIS to JIS X 0208 conversion of one pair code.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif
unsigned int _mbcjmstojis(unsigned int code);
#ifdef __cplusplus
}
#endif
