# Toolchain for a 32-bit Windows build with MinGW-w64 (i686).
# Toolchain facts only: target system, compilers and resource compiler.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(MINGW_PREFIX "i686-w64-mingw32-" CACHE STRING "Name prefix of the MinGW-w64 tools")

# Finds one tool of the toolchain, or stops with a message naming it.
function(morvane_find_tool variable tool)
  find_program(_tool_path NAMES "${MINGW_PREFIX}${tool}" NO_CACHE)
  if(NOT _tool_path)
    message(FATAL_ERROR "${MINGW_PREFIX}${tool} not found: install MinGW-w64 for i686 "
                        "or set MINGW_PREFIX")
  endif()
  set(${variable} "${_tool_path}" CACHE FILEPATH "" FORCE)
endfunction()

morvane_find_tool(CMAKE_C_COMPILER gcc)
morvane_find_tool(CMAKE_CXX_COMPILER g++)
morvane_find_tool(CMAKE_RC_COMPILER windres)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
