# The part both mingw-w64 toolchains share; VELLAMIRE_MINGW_TRIPLET names the
# target.
set(CMAKE_SYSTEM_NAME Windows)

# Debian installs each compiler in two thread models; the posix one is
# preferred because it has std::thread.
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
