# The toolchain of the windows-x86 preset: 32-bit Windows, which 64-bit Windows runs too.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(FLAGWRIGHT_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
