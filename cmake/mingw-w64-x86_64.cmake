# Cross-compiling for 64-bit Windows with Debian's mingw-w64 packages: the
# SDK's own headers and import libraries, nothing of the host's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DUCKDEMO_MINGW_HOST x86_64-w64-mingw32)
# The POSIX threading variant, the one scripts/install-deps.sh installs.
set(CMAKE_C_COMPILER ${DUCKDEMO_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DUCKDEMO_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${DUCKDEMO_MINGW_HOST}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DUCKDEMO_MINGW_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
