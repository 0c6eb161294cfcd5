# Runs report_sweep and compares what it prints with what is committed: the
# SHA-256 of the whole output (report_sweep.sha256) and of each block
# (report_sweep.digests: name, cases, SHA-256), so a change to any report
# fails even when every build changes alike. A failure names the changed
# blocks. It runs no shell, so it runs alike through any emulator.
#   cmake -DSWEEP=<program> [-DEMULATOR=<runner>] -DEXPECTED=<file> -DDIGESTS=<file>
#         -DOUTPUT=<file> -P check_sweep.cmake
# A pass keeps the reports as sweep-<sha256>.txt beside OUTPUT, and a later
# failure shows the first cases of each block that differ from them; without
# them it gives the command that compares with another commit.
cmake_minimum_required(VERSION 3.25)
get_filename_component(dir "${OUTPUT}" DIRECTORY)

execute_process(COMMAND ${EMULATOR} ${SWEEP} --blocks OUTPUT_FILE ${OUTPUT}
                ERROR_VARIABLE log RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "report_sweep ended with ${status}:\n${log}")
endif()

# The sweep's own SHA-256 of each block, and of them all, which must be the
# file's: what it hashed is what it printed.
string(REGEX MATCHALL "(^|\n)block [^ \r\n]+ [0-9]+ [0-9a-f]+" blocks "${log}")
list(TRANSFORM blocks REPLACE "^\n?block " "" OUTPUT_VARIABLE found)
string(REGEX MATCH "(^|\n)all [0-9]+ ([0-9a-f]+)" all "${log}")
file(SHA256 ${OUTPUT} actual)
if(NOT CMAKE_MATCH_2 STREQUAL actual)
  message(FATAL_ERROR "report_sweep hashed sha256 '${CMAKE_MATCH_2}' but printed ${actual}:\n${log}")
endif()
list(JOIN found "\n" lines)
file(WRITE ${dir}/report_sweep.digests "${lines}\n")

file(STRINGS ${EXPECTED} expected LIMIT_COUNT 1)
file(STRINGS ${DIGESTS} committed)
list(LENGTH found count)
if(actual STREQUAL expected AND found STREQUAL committed)
  file(GLOB kept ${dir}/sweep-*.txt)
  if(kept)
    file(REMOVE ${kept})
  endif()
  file(RENAME ${OUTPUT} ${dir}/sweep-${actual}.txt)
  message(STATUS "report_sweep: sha256 ${actual} and the digests of ${count} blocks, as committed")
  return()
endif()

# The blocks whose line is not in both lists, as "name (cases)".
set(changed "")
foreach(line IN LISTS found committed)
  if(NOT line IN_LIST found OR NOT line IN_LIST committed)
    string(REGEX MATCH "^([^ ]+) ([0-9]+)" block "${line}")
    list(APPEND changed "${CMAKE_MATCH_1} (${CMAKE_MATCH_2} cases)")
  endif()
endforeach()
list(REMOVE_DUPLICATES changed)
list(JOIN changed ", " names)
string(CONCAT fix "If the change is meant, copy ${dir}/report_sweep.digests over "
       "tools/report_sweep.digests and write ${actual} into tools/report_sweep.sha256.")
if(actual STREQUAL expected)
  message(FATAL_ERROR "the reports are as committed (sha256 ${actual}), but "
                      "tools/report_sweep.digests differs for ${names}. ${fix}")
elseif(NOT changed)
  message(FATAL_ERROR "every block is as tools/report_sweep.digests holds it, but the "
                      "reports' sha256 is ${actual}, not ${expected}. ${fix}")
endif()
if(EXISTS ${dir}/sweep-${expected}.txt)
  execute_process(COMMAND ${EMULATOR} ${SWEEP} --diff INPUT_FILE ${dir}/sweep-${expected}.txt
                  OUTPUT_VARIABLE difference)
  # Where it is long, the count of each block first, then the cases as far
  # as a screenful or two.
  string(LENGTH "${difference}" length)
  if(length GREATER 6000)
    string(REGEX MATCHALL "[^\n]+ cases differ\n|[^\n]+ cases in all\n" counts "${difference}")
    list(JOIN counts "" counts)
    string(SUBSTRING "${difference}" 0 6000 difference)
    string(CONCAT difference "${counts}" "${difference}" "\n(cut here)\n")
  endif()
  string(CONCAT report "Against the committed reports, kept in ${dir}/sweep-${expected}.txt:\n"
         "${difference}")
else()
  set(runner "")
  if(EMULATOR)
    set(runner " \"-DEMULATOR=${EMULATOR}\"")
  endif()
  string(CONCAT report "To see the cases that differ from another commit (HEAD, or the one "
         "before the change):\n"
         "  cmake -DBASE=HEAD -DSWEEP=${SWEEP}${runner} -P ${CMAKE_CURRENT_LIST_DIR}/diff_sweep.cmake\n")
endif()
# As printed, unformatted; then the summary.
message(NOTICE "${report}")
message(FATAL_ERROR "the sweep's reports changed (sha256 ${actual}, committed ${expected}) "
                    "in the blocks ${names}. ${fix}")
