# Runs report_sweep and compares what it prints with what is committed: the
# SHA-256 of the whole output (report_sweep.sha256) and of each block
# (report_sweep.digests: name, cases, SHA-256), so a change to any report
# fails even when every build changes alike, and the failure names the blocks
# that changed. It runs no shell, so it runs alike through any emulator.
#   cmake -DSWEEP=<program> [-DEMULATOR=<runner>] -DEXPECTED=<file> -DDIGESTS=<file>
#         -DOUTPUT=<folder> -P check_sweep.cmake
# The reports go to OUTPUT/sweep.txt, the blocks to OUTPUT/blocks/, and the
# digests found to OUTPUT/report_sweep.digests.
cmake_minimum_required(VERSION 3.25)
set(blocks ${OUTPUT}/blocks)
file(REMOVE_RECURSE ${blocks})
file(MAKE_DIRECTORY ${blocks})
execute_process(COMMAND ${EMULATOR} ${SWEEP} OUTPUT_FILE ${OUTPUT}/sweep.txt
                ERROR_VARIABLE log RESULT_VARIABLE status)
if(status EQUAL 0)
  execute_process(COMMAND ${EMULATOR} ${SWEEP} --cut ${blocks} INPUT_FILE ${OUTPUT}/sweep.txt
                  OUTPUT_VARIABLE counts ERROR_VARIABLE log RESULT_VARIABLE status)
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "report_sweep ended with ${status}:\n${log}")
endif()

# "name cases sha256" for each block, in the sweep's order.
string(REGEX MATCHALL "[^\n]+" counts "${counts}")
set(found "")
foreach(line IN LISTS counts)
  string(REGEX MATCH "^[^ ]+" name "${line}")
  file(SHA256 ${blocks}/${name}.txt digest)
  list(APPEND found "${line} ${digest}")
endforeach()
list(JOIN found "\n" lines)
file(WRITE ${OUTPUT}/report_sweep.digests "${lines}\n")
file(SHA256 ${OUTPUT}/sweep.txt actual)
file(STRINGS ${EXPECTED} expected LIMIT_COUNT 1)
file(STRINGS ${DIGESTS} committed)
if(actual STREQUAL expected AND found STREQUAL committed)
  list(LENGTH found count)
  message(STATUS "report_sweep: sha256 ${actual} and the digests of its ${count} blocks, as committed")
  return()
endif()

# The blocks whose line is not in both lists.
set(changed "")
foreach(line IN LISTS found committed)
  if(NOT line IN_LIST found OR NOT line IN_LIST committed)
    string(REGEX MATCH "^[^ ]+" name "${line}")
    list(APPEND changed ${name})
  endif()
endforeach()
list(REMOVE_DUPLICATES changed)
list(JOIN changed " " names)
list(GET changed 0 first)
set(runner "")
if(EMULATOR)
  set(runner " \"-DEMULATOR=${EMULATOR}\"")
endif()
message(FATAL_ERROR
  "the sweep's reports changed (sha256 ${actual}, committed ${expected}) in the blocks: "
  "${names}\n"
  "The first differing reports of a block against another commit (HEAD, or the one before the "
  "change):\n"
  "  cmake -DBASE=HEAD -DBLOCK=${first} -DSWEEP=${SWEEP}${runner} -P "
  "${CMAKE_CURRENT_LIST_DIR}/diff_sweep.cmake\n"
  "If the change is meant, copy ${OUTPUT}/report_sweep.digests over tools/report_sweep.digests "
  "and write ${actual} into tools/report_sweep.sha256.")
