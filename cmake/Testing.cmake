# Registers the tests with CTest.
enable_testing()

# vellamire_add_test(<name> COMMAND <program> [<argument>...]
#                    [ENVIRONMENT <variable>=<value>...] [FIXTURES <fixture>...]
#                    [LABELS <label>...] [TIMEOUT <seconds>])
# adds a CTest test that runs the command with the variables set, after the
# fixtures it names are set up, and stops the configuration when COMMAND is
# missing or an argument is unknown. A test that ends with status 77 is
# skipped: it lacks an optional Debian package, which it names.
function(vellamire_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TIMEOUT" "COMMAND;ENVIRONMENT;FIXTURES;LABELS")
  if(NOT arg_COMMAND OR arg_UNPARSED_ARGUMENTS OR arg_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "vellamire_add_test(${name}): needs COMMAND, and takes only ENVIRONMENT, FIXTURES, LABELS and TIMEOUT besides")
  endif()
  add_test(NAME ${name} COMMAND ${arg_COMMAND})
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
  foreach(property ENVIRONMENT LABELS TIMEOUT)
    if(arg_${property})
      set_tests_properties(${name} PROPERTIES ${property} "${arg_${property}}")
    endif()
  endforeach()
  if(arg_FIXTURES)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${arg_FIXTURES}")
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
