# Installs the program as a desktop application (executable, menu entry,
# AppStream metainfo, icons in the hicolor theme) and lets CPack build a .deb
# from it. Included for the Qt build only.
include(GNUInstallDirs)

set(VELLAMIRE_APP_ID io.github.vellamire.Vellamire)
set(_app_dir ${PROJECT_SOURCE_DIR}/app)

install(TARGETS vellamire RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_app_dir}/vellamire.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_app_dir}/${VELLAMIRE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_app_dir}/icons/vellamire.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${_app_dir}/icons/vellamire-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME vellamire.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellamire)
set(CPACK_PACKAGE_VENDOR "Vellamire")
set(CPACK_PACKAGE_CONTACT "Vellamire maintainers <maintainers@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "A small single-window tool: from today's sunrise and sunset and the next\nday's sunrise it computes the twelve day hours and twelve night hours with\ntheir ruling planets and archangels.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (dpkg-dev) names the Qt 6 and C++ runtime packages the
# executable links against, with their versions.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs a platform plugin; the xcb one comes with libqt6gui6 as
# packaged by Debian, the fonts make the fixed-pitch report box look right.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
include(CPack)
