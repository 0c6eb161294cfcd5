# Cross-compiles for 32-bit x86 Windows with Debian's mingw-w64
# (g++-mingw-w64-i686); the presets windows, windows-tests and release-win32
# use it.
set(VELLAMIRE_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
