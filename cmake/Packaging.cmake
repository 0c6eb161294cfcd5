# Installs the program as a desktop application (executable, menu entry,
# AppStream metainfo, icons in the hicolor theme, manual page, changelog and
# copyright) and lets CPack build a .deb from it. Included for the Qt build only.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/Changelog.cmake)

# Lower case, as AppStream asks of new component ids.
set(VELLAMIRE_APP_ID io.github.vellamire.vellamire)
set(VELLAMIRE_CONTACT "Vellamire maintainers <maintainers@users.noreply.github.com>")
set(_app_dir ${PROJECT_SOURCE_DIR}/app)
set(_made_dir ${PROJECT_BINARY_DIR}/package-files)
set(_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/vellamire)

# --- Files made from the changelog and the license ----------------------------
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_app_dir}/changelog)
vellamire_read_changelog(${_app_dir}/changelog _newest_version VELLAMIRE_RELEASE_DATE VELLAMIRE_RELEASES)
if(NOT _newest_version STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "app/changelog: the newest entry is for ${_newest_version}, the project is ${PROJECT_VERSION}")
endif()
configure_file(${_app_dir}/${VELLAMIRE_APP_ID}.metainfo.xml.in
               ${_made_dir}/${VELLAMIRE_APP_ID}.metainfo.xml @ONLY)
configure_file(${_app_dir}/vellamire.1.in ${_made_dir}/vellamire.1 @ONLY)

# The copyright file in Debian's machine-readable format, with the license
# text of LICENSE (lines indented by one blank, empty ones as " .").
string(REPLACE "\n\n" "\n.\n" _license "${VELLAMIRE_LICENSE_BODY}")
string(REPLACE "\n" "\n " VELLAMIRE_LICENSE_TEXT " ${_license}")
configure_file(${_app_dir}/copyright.in ${_made_dir}/copyright @ONLY)

# Compressed as Debian ships them: gzip's best, without name or time stamp.
find_program(VELLAMIRE_GZIP gzip REQUIRED)
function(vellamire_gzip from to)
  execute_process(COMMAND ${VELLAMIRE_GZIP} -9 -n -c ${from} OUTPUT_FILE ${to}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${from}: ${status}")
  endif()
endfunction()
vellamire_gzip(${_made_dir}/vellamire.1 ${_made_dir}/vellamire.1.gz)
vellamire_gzip(${_app_dir}/changelog ${_made_dir}/changelog.gz)

# --- Install rules -------------------------------------------------------------
# Directories as Debian wants them, whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS vellamire RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's, or --strip) also drops the compilers'
# version notes (.comment), as Debian strips its programs.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:vellamire>\"
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR \"strip --remove-section=.comment: \${status}\")
    endif()
  endif()")
install(FILES ${_app_dir}/vellamire.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_made_dir}/${VELLAMIRE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_app_dir}/icons/vellamire.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${_app_dir}/icons/vellamire-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME vellamire.png)
endforeach()
install(FILES ${_made_dir}/vellamire.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_made_dir}/changelog.gz ${_made_dir}/copyright DESTINATION ${_doc_dir})

# --- The .deb -------------------------------------------------------------------
# File times in the package are SOURCE_DATE_EPOCH where it is set (CPack
# reads it), so scripts/release gives the same bytes for the same commit.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellamire)
set(CPACK_PACKAGE_VENDOR "Vellamire")
set(CPACK_PACKAGE_CONTACT "${VELLAMIRE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "A small single-window tool: from today's sunrise and sunset and the next\nday's sunrise it computes the twelve day hours and twelve night hours with\ntheir ruling planets and archangels.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The window is laid out in Arial's and Courier New's widths: any one of the
# packages with faces of those widths. dpkg-shlibdeps (dpkg-dev) adds the Qt 6
# and C++ runtime packages the executable links against, with their versions.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation | fonts-liberation2 | fonts-croscore | fonts-urw-base35")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Wayland platform, so that in a Wayland session (Debian's default) the
# window runs natively instead of through the X11 compatibility server.
if(QT_VERSION_MAJOR EQUAL 5)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qtwayland5)
else()
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
endif()
include(CPack)
