# The part both mingw-w64 toolchains share; VELLAMIRE_MINGW_TRIPLET names the
# target. Everything the compiler brings (libgcc, libstdc++, winpthread) is
# linked in statically, so the programs import only the system's own DLLs.
set(CMAKE_SYSTEM_NAME Windows)

# Debian installs each compiler in two thread models; the posix one is
# preferred because it has std::thread, and either links statically.
foreach(lang C CXX)
  if(lang STREQUAL "C")
    set(driver gcc)
  else()
    set(driver g++)
  endif()
  find_program(CMAKE_${lang}_COMPILER
    NAMES ${VELLAMIRE_MINGW_TRIPLET}-${driver}-posix ${VELLAMIRE_MINGW_TRIPLET}-${driver}
    REQUIRED)
endforeach()
find_program(CMAKE_RC_COMPILER NAMES ${VELLAMIRE_MINGW_TRIPLET}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${VELLAMIRE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(VELLAMIRE_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources to build")
# The program that ships carries no symbols.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")

# --- Size of the program that ships ----------------------------------------
# What each of these saves on the 32-bit vellamire.exe is in the README
# (Windows); the CI stage 40-windows.sh holds the executable to its budget.
# The tests are built the same way, so they run what ships.
#
# C++20: from C++20 on libstdc++ no longer declares its std::string code as
# instantiated in the library, so the few members the program uses are
# compiled into it, and not the library's whole prebuilt copy, whose
# try/catch would bring the exception machinery along.
set(CMAKE_CXX_STANDARD 20)
# No exceptions: the program throws none and catches none (app/win32_runtime.cpp
# ends it where the library would throw); GoogleTest builds without them too.
# Each function and datum in a section of its own, so the linker drops what
# nothing uses; and optimized for size.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
if(VELLAMIRE_MINGW_TRIPLET MATCHES "^i686")
  # 32-bit Windows unwinds by frame, not by table: with no exceptions, the
  # tables would only take room. (64-bit Windows needs them.)
  string(APPEND CMAKE_CXX_FLAGS_INIT " -fno-asynchronous-unwind-tables")
endif()
set(CMAKE_EXE_LINKER_FLAGS_INIT "${CMAKE_EXE_LINKER_FLAGS_INIT} -Wl,--gc-sections")
# A cache entry, since the platform's defaults would add -O3 after an _INIT value.
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG" CACHE STRING "Flags for Release builds")
set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG" CACHE STRING "Flags for Release builds")
