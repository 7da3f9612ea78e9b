# Toolchain for a Windows build with MinGW-w64; included by mingw-i686.cmake and
# mingw-x86_64.cmake, which set MINGW_CPU. Toolchain facts only: target system,
# compilers and resource compiler.

set(CMAKE_SYSTEM_NAME Windows)
if(MINGW_CPU STREQUAL "i686")
  set(CMAKE_SYSTEM_PROCESSOR x86)
elseif(MINGW_CPU STREQUAL "x86_64")
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
else()
  message(FATAL_ERROR "MINGW_CPU must be i686 or x86_64, not '${MINGW_CPU}'")
endif()

set(MINGW_PREFIX "${MINGW_CPU}-w64-mingw32-" CACHE STRING "Name prefix of the MinGW-w64 tools")

# Finds one tool of the toolchain, or stops with a message naming it.
function(morvane_find_tool variable tool)
  find_program(_tool_path NAMES "${MINGW_PREFIX}${tool}" NO_CACHE)
  if(NOT _tool_path)
    message(FATAL_ERROR "${MINGW_PREFIX}${tool} not found: install MinGW-w64 for ${MINGW_CPU} "
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
