# 32-bit Windows: the build the host loads.
set(LUNET_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
