# Registers the tests with CTest.
enable_testing()

# vellamire_add_test(<name> COMMAND <program> [<argument>...]
#                    [ENVIRONMENT <variable>=<value>...] [TIMEOUT <seconds>])
# adds a CTest test that runs the command with the variables set, and stops
# the configuration when COMMAND is missing or an argument is unknown.
function(vellamire_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TIMEOUT" "COMMAND;ENVIRONMENT")
  if(NOT arg_COMMAND OR arg_UNPARSED_ARGUMENTS OR arg_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "vellamire_add_test(${name}): needs COMMAND, and takes only ENVIRONMENT and TIMEOUT besides")
  endif()
  add_test(NAME ${name} COMMAND ${arg_COMMAND})
  if(arg_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${arg_ENVIRONMENT}")
  endif()
  if(arg_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${arg_TIMEOUT})
  endif()
endfunction()
