# Runs report_sweep and compares the SHA-256 of what it prints with the one
# committed in report_sweep.sha256, so a change to any report fails even when
# every build changes alike.
#   cmake -DSWEEP=<program> [-DEMULATOR=<runner>] -DEXPECTED=<file> -DOUTPUT=<file> -P check_sweep.cmake
execute_process(COMMAND ${EMULATOR} ${SWEEP} OUTPUT_FILE ${OUTPUT} ERROR_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "report_sweep ended with ${status}")
endif()
file(SHA256 ${OUTPUT} actual)
file(STRINGS ${EXPECTED} expected LIMIT_COUNT 1)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "the sweep's reports changed: sha256 ${actual}, committed ${expected}; "
                      "the reports are in ${OUTPUT}")
endif()
message(STATUS "report_sweep: sha256 ${actual}, as committed")
