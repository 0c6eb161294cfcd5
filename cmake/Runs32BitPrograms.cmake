# Whether this machine runs 32-bit x86 programs. Some kernels are built
# without the 32-bit emulation and answer "Exec format error": there the
# 32-bit Linux tests run under qemu-i386-static and 32-bit Wine cannot run at
# all. Decided by running the smallest such program (it only exits),
# assembled and linked with binutils. VELLAMIRE_RUNS_32BIT_PROGRAMS=yes or no
# in the environment forces the answer, to try the other path.
#   include(): vellamire_runs_32bit_programs(<folder> <variable>)
#   cmake [-DFOLDER=<folder>] -P cmake/Runs32BitPrograms.cmake   (prints yes or no)

# Sets the variable TRUE where the program ran, FALSE otherwise; its files are
# made in the folder and removed. Cannot fail.
function(vellamire_runs_32bit_programs folder result)
  if(DEFINED ENV{VELLAMIRE_RUNS_32BIT_PROGRAMS})
    string(COMPARE EQUAL "$ENV{VELLAMIRE_RUNS_32BIT_PROGRAMS}" yes runs)
    set(${result} ${runs} PARENT_SCOPE)
    return()
  endif()
  set(program ${folder}/exit32)
  file(WRITE ${program}.s ".globl _start\n_start:\n movl $1, %eax\n xorl %ebx, %ebx\n int $0x80\n")
  execute_process(COMMAND as --32 -o ${program}.o ${program}.s
                  RESULT_VARIABLE assembled OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND ld -m elf_i386 -o ${program} ${program}.o
                  RESULT_VARIABLE linked OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND ${program} RESULT_VARIABLE ran OUTPUT_QUIET ERROR_QUIET)
  file(REMOVE ${program}.s ${program}.o ${program})
  if(assembled EQUAL 0 AND linked EQUAL 0 AND ran EQUAL 0)
    set(${result} TRUE PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(NOT FOLDER)
    set(FOLDER ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  vellamire_runs_32bit_programs(${FOLDER} runs)
  set(answer no)
  if(runs)
    set(answer yes)
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${answer})
endif()
