# Toolchain for a 32-bit Windows build with MinGW-w64 (i686).
set(MINGW_CPU i686)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")
