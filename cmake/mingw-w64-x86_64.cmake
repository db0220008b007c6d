# Cross build of the 64-bit Windows program with Debian's g++-mingw-w64-x86-64:
#   cmake -S . -B build/win32 --toolchain cmake/mingw-w64-x86_64.cmake && cmake --build build/win32
# The project sees the Windows target and builds only wolby.exe on the win32
# backend (no SDL, no tests, no benchmarks).
# The posix thread variant has the whole C++ library; with a static link the
# .exe needs no DLL beyond Windows' own (the C++ runtime, libgcc and
# winpthread are all inside it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(WOLBY_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${WOLBY_MINGW_PREFIX}-g++-posix ${WOLBY_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${WOLBY_MINGW_PREFIX}-gcc-posix ${WOLBY_MINGW_PREFIX}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${WOLBY_MINGW_PREFIX}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${WOLBY_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
