# Toolchain for a 64-bit Windows build with MinGW-w64 (x86_64).
set(MINGW_CPU x86_64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")
