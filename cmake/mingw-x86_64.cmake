# 64-bit Windows: for 64-bit hosts, and the Windows tests on machines that cannot run 32-bit code.
set(LUNET_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
