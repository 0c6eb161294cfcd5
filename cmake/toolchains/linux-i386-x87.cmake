# 32-bit x86 Linux with x87 floating point, as the program's original
# platform computes: g++ -m32 (Debian's g++-multilib). Only the engine and its
# tests are built this way; GoogleTest is compiled from Debian's sources.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32 -march=i686 -mfpmath=387")
set(CMAKE_CXX_FLAGS_INIT "-m32 -march=i686 -mfpmath=387")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(VELLAMIRE_ENGINE_ONLY ON CACHE BOOL "" FORCE)
set(VELLAMIRE_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources to build")
