# Shows the cases of the report sweep in which a build of this tree differs
# from another commit, block by block, with their entries and the lines that
# differ:
#   cmake -DBASE=<commit> [-DBLOCK=<name>] [-DSWEEP=<program>] [-DEMULATOR=<runner>]
#         -P tools/diff_sweep.cmake
# BASE defaults to HEAD, SWEEP to build/engine/tools/report_sweep. The other
# commit's files are taken with git archive into build/sweep-base/<commit>,
# its report_sweep is built there (engine only) and its reports are kept
# there for the next comparison. Ends with an error when a case differs.
cmake_minimum_required(VERSION 3.25)
get_filename_component(source "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(NOT BASE)
  set(BASE HEAD)
endif()
if(NOT SWEEP)
  set(SWEEP ${source}/build/engine/tools/report_sweep)
endif()
if(NOT EXISTS ${SWEEP})
  message(FATAL_ERROR "no ${SWEEP}; build it first: "
                      "cmake --preset engine && cmake --build --preset engine --target report_sweep")
endif()
execute_process(COMMAND git -C ${source} rev-parse --verify --quiet "${BASE}^{commit}"
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "no commit ${BASE} in ${source}")
endif()

set(base ${source}/build/sweep-base/${commit})
if(NOT EXISTS ${base}/reports.txt)
  message(STATUS "building report_sweep of ${BASE} (${commit}) in ${base}")
  file(REMOVE_RECURSE ${base})
  file(MAKE_DIRECTORY ${base})
  execute_process(COMMAND git -C ${source} archive --format=tar -o ${base}/source.tar ${commit}
                  COMMAND_ERROR_IS_FATAL ANY)
  file(ARCHIVE_EXTRACT INPUT ${base}/source.tar DESTINATION ${base}/source)
  file(REMOVE ${base}/source.tar)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${base}/source -B ${base}/build
                          -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLAMIRE_ENGINE_ONLY=ON
                          -DVELLAMIRE_BUILD_TESTS=OFF
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${base}/build --target report_sweep -j2
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${base}/build/tools/report_sweep OUTPUT_FILE ${base}/reports.part
                  ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(RENAME ${base}/reports.part ${base}/reports.txt)
endif()

set(only "")
if(BLOCK)
  set(only --block ${BLOCK})
endif()
message(STATUS "${SWEEP} against ${BASE} (${commit}); \"other\" is ${BASE}'s")
execute_process(COMMAND ${EMULATOR} ${SWEEP} --diff ${only} INPUT_FILE ${base}/reports.txt
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the reports differ from ${BASE}'s, or report_sweep failed (${status})")
endif()
