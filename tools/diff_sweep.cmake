# Shows the first reports of the sweep in which a build of this tree differs
# from another commit, block by block (or in BLOCK alone), as a unified diff
# with a report's 40 lines of context:
#   cmake -DBASE=<commit> [-DBLOCK=<name>] [-DSWEEP=<program>] [-DEMULATOR=<runner>]
#         -P tools/diff_sweep.cmake
# BASE defaults to HEAD, SWEEP to build/engine/tools/report_sweep. The other
# commit's report_sweep is built from git archive in build/sweep-base/<commit>,
# where its reports are kept for the next comparison. Ends with an error when
# a report differs.
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
if(NOT EXISTS ${base}/sweep.txt)
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
  execute_process(COMMAND ${base}/build/tools/report_sweep OUTPUT_FILE ${base}/sweep.part
                  ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(RENAME ${base}/sweep.part ${base}/sweep.txt)
endif()

# Both outputs cut into blocks by this build's report_sweep.
set(here ${source}/build/sweep-base/here)
file(REMOVE_RECURSE ${here}/blocks ${base}/blocks)
file(MAKE_DIRECTORY ${here}/blocks ${base}/blocks)
execute_process(COMMAND ${EMULATOR} ${SWEEP} OUTPUT_FILE ${here}/sweep.txt
                COMMAND_ERROR_IS_FATAL ANY)
foreach(dir ${base} ${here})
  execute_process(COMMAND ${EMULATOR} ${SWEEP} --cut ${dir}/blocks INPUT_FILE ${dir}/sweep.txt
                  OUTPUT_VARIABLE counts COMMAND_ERROR_IS_FATAL ANY)
endforeach()
string(REGEX MATCHALL "(^|\n)[^ \n]+" names "${counts}")
list(TRANSFORM names STRIP)
if(BLOCK)
  if(NOT BLOCK IN_LIST names)
    message(FATAL_ERROR "no block ${BLOCK}; the blocks are ${names}")
  endif()
  set(names ${BLOCK})
endif()

set(changed "")
foreach(name IN LISTS names)
  file(SHA256 ${base}/blocks/${name}.txt was)
  file(SHA256 ${here}/blocks/${name}.txt now)
  if(was STREQUAL now)
    continue()
  endif()
  list(APPEND changed ${name})
  execute_process(COMMAND diff -U 40 --label "${BASE} ${name}" --label "this build ${name}"
                          ${base}/blocks/${name}.txt ${here}/blocks/${name}.txt
                  COMMAND head -n 130)
endforeach()
if(changed)
  message(FATAL_ERROR "the reports differ from ${BASE}'s in the blocks: ${changed}")
endif()
message(STATUS "the reports are ${BASE}'s in ${names}")
