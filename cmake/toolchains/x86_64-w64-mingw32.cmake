# Cross-builds for 64-bit Windows with Debian's mingw-w64 (the posix threads
# variant, package g++-mingw-w64-x86-64-posix): the host's own platform.
# WYRDAN_WINDOWS_DEPS names the prefix holding ICU and oneTBB built for the
# target (scripts/windows-test.sh builds them there).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-gcc-ar-posix)
set(CMAKE_RANLIB ${triple}-gcc-ranlib-posix)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
if(DEFINED WYRDAN_WINDOWS_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH "${WYRDAN_WINDOWS_DEPS}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
