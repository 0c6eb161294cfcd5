# The checks of the .deb package, each a test of the preset package:
#   cmake -DCHECK=<check> -DDIR=<folder> [-D<name>=<value>...] -P deb_checks.cmake
#   make       makes the .deb with CPack (CPACK, CONFIG) in DIR, unpacked into DIR/root;
#   contents   it holds the program, menu entry, metainfo, icons, manual page,
#              changelog and copyright file, depends on Qt 6 and the fonts and
#              recommends qt6-wayland;
#   metainfo   appstreamcli validate --pedantic --strict has no remark on FILE;
#   lintian    lintian -I --pedantic has no remark, pedantic and informational
#              ones included;
#   hardening  hardening-check finds the unpacked program hardened, and for what
#              it cannot judge in it every compile command (COMMANDS) has the flag.
# Fails naming what it found.
cmake_minimum_required(VERSION 3.25)

# Runs the command; sets output (both streams) and status in the caller.
macro(run)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE output ERROR_VARIABLE output
                  RESULT_VARIABLE status)
endmacro()

if(CHECK STREQUAL "make")
  file(REMOVE_RECURSE ${DIR})
  run(${CPACK} -G DEB -B ${DIR} --config ${CONFIG})
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack -G DEB failed:\n${output}")
  endif()
endif()
file(GLOB deb ${DIR}/vellamire_*.deb)

if(CHECK STREQUAL "make")
  run(dpkg-deb -x ${deb} ${DIR}/root)
  file(SIZE ${deb} size)
  message(STATUS "${deb}: ${size} bytes, unpacked in ${DIR}/root")
elseif(CHECK STREQUAL "contents")
  run(dpkg-deb -c ${deb})
  set(app_id io.github.vellamire.vellamire)
  set(paths usr/bin/vellamire usr/share/applications/vellamire.desktop
      usr/share/metainfo/${app_id}.metainfo.xml usr/share/man/man1/vellamire.1.gz
      usr/share/doc/vellamire/changelog.gz usr/share/doc/vellamire/copyright
      usr/share/icons/hicolor/scalable/apps/vellamire.svg)
  foreach(size 16 22 24 32 48 64 128 256)
    list(APPEND paths usr/share/icons/hicolor/${size}x${size}/apps/vellamire.png)
  endforeach()
  foreach(path IN LISTS paths)
    string(FIND "${output}" " ./${path}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "missing from ${deb}: /${path}")
    endif()
  endforeach()
  run(dpkg-deb -f ${deb} Depends Recommends)
  foreach(want "Depends: [^\n]*libqt6widgets6" "Depends: [^\n]*fonts-liberation \\|"
               "Recommends: [^\n]*qt6-wayland")
    if(NOT output MATCHES "${want}")
      message(FATAL_ERROR "${deb}: no match for \"${want}\" in\n${output}")
    endif()
  endforeach()
  list(LENGTH paths count)
  message(STATUS "${deb} holds all ${count} files;\n${output}")
elseif(CHECK STREQUAL "metainfo")
  run(appstreamcli validate --pedantic --strict --no-net ${FILE})
  if(NOT status EQUAL 0 OR output MATCHES "^[EWIP]: " OR output MATCHES "\n[EWIP]: ")
    message(FATAL_ERROR "appstreamcli has remarks on ${FILE}:\n${output}")
  endif()
elseif(CHECK STREQUAL "lintian")
  run(lintian -I --pedantic --fail-on error,warning,info,pedantic ${deb})
  # Lintian's own note on running as root is no finding.
  string(REPLACE "running with root privileges is not recommended!" "" findings "${output}")
  string(STRIP "${findings}" findings)
  if(NOT status EQUAL 0 OR findings)
    message(FATAL_ERROR "lintian -I --pedantic has remarks on ${deb}:\n${output}")
  endif()
elseif(CHECK STREQUAL "hardening")
  # Position independence, the stack protector, read-only relocations and
  # immediate binding show in the program. Three lines cannot say yes for it,
  # whatever it is built with: fortified calls (its only copies are
  # libstdc++'s, which call memcpy and memmove directly), stack-clash probes
  # (no stack frame of its own needs one) and control-flow protection (Debian
  # 12's C start-up files carry no CET note). For those, the compile commands.
  run(hardening-check --nofortify --nocfprotection ${DIR}/root/usr/bin/vellamire)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "hardening-check finds the packaged program unhardened:\n${output}")
  endif()
  file(STRINGS ${COMMANDS} commands REGEX "\"command\": ")
  foreach(command IN LISTS commands)
    foreach(flag -fstack-protector-strong -D_FORTIFY_SOURCE=2 -fstack-clash-protection
                 -fcf-protection)
      string(FIND "${command} " " ${flag} " at)
      if(at EQUAL -1)
        message(FATAL_ERROR "compiled without ${flag}: ${command}")
      endif()
    endforeach()
  endforeach()
  list(LENGTH commands count)
  message(STATUS "${output}all ${count} files compiled with the stack protector, fortified "
                 "calls, stack-clash probes and control-flow protection")
else()
  message(FATAL_ERROR "no check named \"${CHECK}\"")
endif()
