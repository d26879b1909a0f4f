# Cross build for Windows with Debian's mingw-w64 (posix threads, for std::thread), for the
# target that the including toolchain file names in FLAGWRIGHT_MINGW_TARGET. Test programs run
# under Wine, which runs 32-bit programs too where wine32 is installed.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${FLAGWRIGHT_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FLAGWRIGHT_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${FLAGWRIGHT_MINGW_TARGET}-windres)

# Headers and libraries come from the Windows sysroot only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${FLAGWRIGHT_MINGW_TARGET})
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
