# Checks the Windows program as a file, from objdump's view of its headers:
#   cmake -DOBJDUMP=<objdump> -DFORMAT=pei-i386|pei-x86-64 -DEXE=<program> -P exe_checks.cmake
# The image format; only the system's own DLLs among the imports, so nothing
# need be installed; GetDpiForWindow not among them, as the window looks it up
# at run time (Windows 10 1607 on): imported, it would keep the program from
# starting on earlier Windows; ASLR and NX as Windows' own programs have them
# (DYNAMIC_BASE with the relocations that let Windows move the program,
# NX_COMPAT). Fails naming the first check that does not hold.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p -h ${EXE} OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${EXE}")
endif()

set(failures "")
if(NOT headers MATCHES "file format ${FORMAT}\n")
  list(APPEND failures "not a ${FORMAT} image")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
string(REPLACE "DLL Name: " "" imports "${imports}")
foreach(dll IN LISTS imports)
  string(TOLOWER "${dll}" name)
  if(NOT name MATCHES "^(kernel32|user32|gdi32|msvcrt|advapi32|comctl32)\\.dll$")
    list(APPEND failures "imports ${dll}, which Windows does not have")
  endif()
endforeach()
if(headers MATCHES "GetDpiForWindow")
  list(APPEND failures "imports GetDpiForWindow, which Windows before 10 1607 lacks")
endif()
string(REGEX MATCH "\nDllCharacteristics[^\n]*(\n\t[^\n]*)*" flags "${headers}")
foreach(flag DYNAMIC_BASE NX_COMPAT)
  if(NOT flags MATCHES "\t${flag}(\n|$)")
    list(APPEND failures "DllCharacteristics lacks ${flag}")
  endif()
endforeach()
if(headers MATCHES "relocations stripped" OR NOT headers MATCHES "\n +[0-9]+ \\.reloc ")
  list(APPEND failures "no relocations (.reloc), so ASLR cannot move the program")
endif()

if(failures)
  list(JOIN failures "\n  " failures)
  message(FATAL_ERROR "${EXE}:\n  ${failures}")
endif()
list(JOIN imports " " imports)
message(STATUS "${EXE}: ${FORMAT}, imports ${imports}, DYNAMIC_BASE with .reloc, NX_COMPAT")
