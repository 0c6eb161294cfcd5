# Registers the tests with CTest.
enable_testing()

# vellamire_add_test(<name> COMMAND <program> [<argument>...]
#                    [NEEDS <package>=<path>...] [EMULATED]
#                    [ENVIRONMENT <variable>=<value>...] [FIXTURES <fixture>...]
#                    [LABELS <label>...] [TIMEOUT <seconds>])
# adds a CTest test that runs the command with the variables set, after the
# fixtures it names are set up, and stops the configuration when COMMAND is
# missing or an argument is unknown. A test that ends with status 77, or
# prints "needs the Debian package <name>" (or "needs <what> (the Debian
# package <name>)"), is skipped: it lacks an optional Debian package. NEEDS
# names such packages by a path each installs; where one is missing when the
# test runs, the test says so and is skipped.
# EMULATED says that the command runs a program of this build through
# CMAKE_CROSSCOMPILING_EMULATOR, as CMake does where COMMAND names a target:
# the test then also needs the emulator's fixtures and is disabled where the
# emulator cannot run on this machine (below).
function(vellamire_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "EMULATED" "TIMEOUT" "COMMAND;NEEDS;ENVIRONMENT;FIXTURES;LABELS")
  if(NOT arg_COMMAND OR arg_UNPARSED_ARGUMENTS OR arg_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "vellamire_add_test(${name}): needs COMMAND, and takes only NEEDS, EMULATED, ENVIRONMENT, FIXTURES, LABELS and TIMEOUT besides")
  endif()
  set(command "${arg_COMMAND}")  # quoted: an argument keeps its semicolons
  list(GET command 0 program)
  if(CMAKE_CROSSCOMPILING AND TARGET ${program})
    set(arg_EMULATED TRUE)
  endif()
  if(arg_EMULATED)
    list(APPEND arg_FIXTURES ${VELLAMIRE_EMULATOR_FIXTURES})
    if(VELLAMIRE_EMULATOR_MISSING)
      set(command ${CMAKE_COMMAND} -E echo "needs the Debian package ${VELLAMIRE_EMULATOR_MISSING}")
    endif()
  endif()
  if(arg_NEEDS)
    # The paths are looked at when the test runs, by needs.cmake, which then
    # runs the command, so a target's program is named here.
    if(TARGET ${program})
      list(POP_FRONT command)
      list(PREPEND command ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${program}>)
    endif()
    list(JOIN arg_NEEDS "," needs)
    list(PREPEND command ${CMAKE_COMMAND} -DNEEDS=${needs}
         -P ${PROJECT_SOURCE_DIR}/tests/fixtures/needs.cmake --)
  endif()
  add_test(NAME ${name} COMMAND ${command})
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77
                       SKIP_REGULAR_EXPRESSION "needs [^\n]*the Debian package")
  foreach(property ENVIRONMENT LABELS TIMEOUT)
    if(arg_${property})
      set_tests_properties(${name} PROPERTIES ${property} "${arg_${property}}")
    endif()
  endforeach()
  if(arg_FIXTURES)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${arg_FIXTURES}")
  endif()
  if(arg_EMULATED AND VELLAMIRE_EMULATOR_DISABLED)
    set_tests_properties(${name} PROPERTIES DISABLED TRUE)
  endif()
endfunction()

# vellamire_add_gtest(<target>) registers a GoogleTest program: each of its
# tests as a CTest test where the program runs on this machine, and the whole
# program as one test (--gtest_brief) in a cross build, where listing its
# tests would start the emulator before the fixtures it needs. Cannot fail.
include(GoogleTest)
function(vellamire_add_gtest target)
  if(CMAKE_CROSSCOMPILING)
    vellamire_add_test(${target} COMMAND ${target} --gtest_brief=1 TIMEOUT 600)
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()

# vellamire_add_service(<fixture> PACKAGE <debian-package> READY <path>
#                       COMMAND <program> [<argument>...]
#                       [ENVIRONMENT <variable>=<value>...] [FIXTURES <fixture>...])
# makes the fixture <fixture>: the test <fixture>_start runs the command in
# the background (tests/fixtures/service.sh) and ends once it has made READY
# anew, and <fixture>_stop ends it after the last test that needs it. The
# fixtures it names are set up before it. Without the program, the start is
# skipped, naming PACKAGE.
function(vellamire_add_service fixture)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "PACKAGE;READY" "COMMAND;ENVIRONMENT;FIXTURES")
  if(NOT arg_COMMAND OR NOT arg_PACKAGE OR NOT arg_READY OR arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "vellamire_add_service(${fixture}): needs PACKAGE, READY and COMMAND")
  endif()
  set(service ${PROJECT_SOURCE_DIR}/tests/fixtures/service.sh)
  set(state ${PROJECT_BINARY_DIR}/fixtures)
  set(options TIMEOUT 60)
  foreach(option ENVIRONMENT FIXTURES)
    if(arg_${option})
      list(APPEND options ${option} ${arg_${option}})
    endif()
  endforeach()
  vellamire_add_test(${fixture}_start
    COMMAND bash ${service} start ${state} ${fixture} ${arg_PACKAGE} ${arg_READY} ${arg_COMMAND}
    ${options})
  vellamire_add_test(${fixture}_stop COMMAND bash ${service} stop ${state} ${fixture} TIMEOUT 30)
  set_tests_properties(${fixture}_start PROPERTIES FIXTURES_SETUP ${fixture})
  set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture})
endfunction()

# The X display of this build's own X server (Xvfb), from a number that
# follows from the build folder, so two builds' servers do not meet and no
# desktop's display (:0 and the few after it) is taken. Cannot fail.
string(MD5 _folder_hash "${PROJECT_BINARY_DIR}")
string(SUBSTRING "${_folder_hash}" 0 3 _folder_hash)
math(EXPR _display "100 + 0x${_folder_hash} % 800")
set(VELLAMIRE_TEST_DISPLAY ":${_display}")

# vellamire_add_x_server() makes the fixture x_server, once: Xvfb on
# VELLAMIRE_TEST_DISPLAY, 1600x1200 in 24-bit colour, large enough for the
# window at 192 dpi, listening on no network port.
function(vellamire_add_x_server)
  get_property(made GLOBAL PROPERTY VELLAMIRE_X_SERVER_MADE)
  if(made)
    return()
  endif()
  set_property(GLOBAL PROPERTY VELLAMIRE_X_SERVER_MADE TRUE)
  string(SUBSTRING "${VELLAMIRE_TEST_DISPLAY}" 1 -1 number)
  vellamire_add_service(x_server PACKAGE xvfb READY /tmp/.X11-unix/X${number}
    COMMAND Xvfb ${VELLAMIRE_TEST_DISPLAY} -screen 0 1600x1200x24 -nolisten tcp)
endfunction()

# vellamire_add_wine_prefix(<fixture> PREFIX <folder> [FONTS <file>...])
# makes the fixture <fixture>: a Wine prefix in <folder> for the build's Wine
# (_wine, _wine_arch, _wine_package below) with its server running, on the
# build's X server, made once (tests/fixtures/wine.cmake); FONTS are copied
# into its windows\Fonts as it is made. Disabled where Wine cannot run.
function(vellamire_add_wine_prefix fixture)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "PREFIX" "FONTS")
  set(needs ${_wine_package}=${_wine} wine64=/usr/lib/wine/wineserver64)
  foreach(font IN LISTS arg_FONTS)
    list(APPEND needs fonts-wine=${font})
  endforeach()
  list(JOIN arg_FONTS "," fonts)
  foreach(action start stop)
    vellamire_add_test(${fixture}_${action}
      COMMAND ${CMAKE_COMMAND} -DACTION=${action} -DLOADER=${_wine} -DARCH=${_wine_arch}
              -DPREFIX=${arg_PREFIX} -DDISPLAY=${VELLAMIRE_TEST_DISPLAY} "-DFONTS=${fonts}"
              -P ${PROJECT_SOURCE_DIR}/tests/fixtures/wine.cmake
      NEEDS ${needs} TIMEOUT 600)
  endforeach()
  set_tests_properties(${fixture}_start PROPERTIES FIXTURES_SETUP ${fixture}
                       FIXTURES_REQUIRED x_server)
  set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture}
                       FIXTURES_REQUIRED x_server)
  if(VELLAMIRE_EMULATOR_DISABLED)
    set_tests_properties(${fixture}_start ${fixture}_stop x_server_start x_server_stop
                         PROPERTIES DISABLED TRUE)
  endif()
endfunction()

# --- What a cross build's tests run under -----------------------------------
# CMAKE_CROSSCOMPILING_EMULATOR, unless given: for 32-bit x86 Linux nothing
# where this machine runs 32-bit programs, qemu-i386-static where it does
# not; for Windows, Wine of the program's architecture, in a prefix of the
# build's own (fixture wine) on the build's own X server. Where this machine
# runs no 32-bit programs, the 32-bit Windows build's tests under Wine are
# disabled (VELLAMIRE_EMULATOR_DISABLED says why). Where the emulator is
# missing at configure time, each test says which package it needs and is
# skipped (VELLAMIRE_EMULATOR_MISSING names it). VELLAMIRE_EMULATOR_FIXTURES
# are the fixtures the emulator needs.
include(${CMAKE_CURRENT_LIST_DIR}/Runs32BitPrograms.cmake)
set(VELLAMIRE_EMULATOR_FIXTURES "")
set(VELLAMIRE_EMULATOR_DISABLED "")
set(VELLAMIRE_EMULATOR_MISSING "")

# Makes the emulator the command, with the program last, and notes the
# package where the program is missing. Cannot fail.
macro(vellamire_set_emulator package program)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ARGN} ${program})
  if(NOT EXISTS ${program})
    set(VELLAMIRE_EMULATOR_MISSING ${package})
    message(STATUS "${program} is missing, so the tests that need it are skipped: install "
                   "the Debian package ${package} and configure again")
  endif()
endmacro()

if(CMAKE_CROSSCOMPILING AND NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    vellamire_runs_32bit_programs(${PROJECT_BINARY_DIR} _runs_32bit)
  endif()
  if(NOT WIN32)
    if(NOT _runs_32bit)
      message(STATUS "This machine runs no 32-bit x86 programs: the tests run under qemu-i386-static")
      vellamire_set_emulator(qemu-user-static /usr/bin/qemu-i386-static)
    endif()
  else()
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(_wine_package wine32:i386)
      set(_wine /usr/lib/wine/wine)
      set(_wine_arch win32)
      if(NOT _runs_32bit)
        set(VELLAMIRE_EMULATOR_DISABLED "this machine runs no 32-bit x86 programs, so 32-bit Wine cannot run here")
        message(STATUS "The tests under Wine are disabled: ${VELLAMIRE_EMULATOR_DISABLED}")
      endif()
    else()
      set(_wine_package wine64)
      set(_wine /usr/lib/wine/wine64)
      set(_wine_arch win64)
    endif()
    set(_prefix ${PROJECT_BINARY_DIR}/wine)
    vellamire_set_emulator(${_wine_package} ${_wine} /usr/bin/env WINEPREFIX=${_prefix}
      DISPLAY=${VELLAMIRE_TEST_DISPLAY} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
    # Each fixture named: CTest ends a fixture after the last test that names it.
    set(VELLAMIRE_EMULATOR_FIXTURES x_server wine)
    vellamire_add_x_server()
    vellamire_add_wine_prefix(wine PREFIX ${_prefix})
  endif()
endif()
