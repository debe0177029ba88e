# Cross build for 64-bit Windows with the posix-thread mingw-w64 compilers.
# The release is the i686 build; this one runs where 32-bit code cannot (a
# machine without 32-bit mode, under 64-bit Wine) and keeps the code 64-bit
# clean.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run under 64-bit Wine; the environment (prefix, display, server and
# the wine wrapper on PATH) comes from scripts/wine-env.sh.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
