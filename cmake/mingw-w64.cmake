# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads, for std::thread).
# Test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Headers and libraries come from the Windows sysroot only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime (libstdc++, libgcc, winpthread) linked in: every program imports
# system DLLs only and runs from any folder.
# CMake switches back to dynamic libraries after a static one it found (libodbc32.a); the
# compiler's runtime comes at the end of the line, so the line must end static too.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_LINK_SEARCH_END_STATIC ON)

# Test programs, and GoogleTest's listing of their tests, run under Wine, quietly. Wine's
# prefix, display and server come from the environment (scripts/windows-env.sh).
find_program(FLAGWRIGHT_ENV env)
find_program(FLAGWRIGHT_WINE wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${FLAGWRIGHT_ENV} WINEDEBUG=-all ${FLAGWRIGHT_WINE})
