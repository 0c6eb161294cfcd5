# Cross-compiles for 64-bit x86 Windows with Debian's mingw-w64
# (g++-mingw-w64-x86-64); the preset windows64-tests uses it.
set(VELLAMIRE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
