# Installing (`cmake --install`) and packaging (CPack), from the project's name and version:
# - Windows: <name>-<x.y.z>-win32.zip holding the program file alone (the x86-64 test build makes
#   <name>-<x.y.z>-win64.zip); the program is statically linked and needs nothing beside it.
# - Linux: <name>_<x.y.z>_<arch>.deb with the program in /usr/bin, a desktop entry and the icon in
#   the hicolor sizes; its Debian dependencies come from the libraries the program links
#   (dpkg-shlibdeps), so that installing it pulls in WebKitGTK, GTK, libcurl and giflib.
# tools/package builds both.
if(NOT TARGET orvane)
  return()
endif()

string(TOLOWER "${PROJECT_NAME}" orvane_package_name)
set(CPACK_PACKAGE_NAME ${orvane_package_name})
set(CPACK_PACKAGE_VENDOR "${PROJECT_NAME}")
set(CPACK_PACKAGE_VERSION
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "The publisher's landing page in a window, with update notices")
set(CPACK_PACKAGE_DESCRIPTION
    "Shows the publisher's landing page in a small window and tells the user when the publisher \
has published a newer version.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(ORVANE_PLATFORM STREQUAL "win32")
  install(TARGETS orvane RUNTIME DESTINATION .)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(orvane_windows_arch win64)
  else()
    set(orvane_windows_arch win32)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_PACKAGE_FILE_NAME "${orvane_package_name}-${CPACK_PACKAGE_VERSION}-${orvane_windows_arch}")
elseif(ORVANE_PLATFORM STREQUAL "gtk")
  include(GNUInstallDirs)
  install(TARGETS orvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file(${CMAKE_SOURCE_DIR}/resources/gtk/orvane.desktop.in
                 ${CMAKE_BINARY_DIR}/generated/${orvane_package_name}.desktop @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/generated/${orvane_package_name}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 24 32 48 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/orvane-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${orvane_package_name}.png)
  endforeach()

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PROJECT_NAME} publisher <publisher@localhost>"
      CACHE STRING "Maintainer field of the Debian package")
  set(CPACK_DEBIAN_PACKAGE_SECTION web)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The status bar and the notice are Chinese texts; any CJK font shows them.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
  if(ORVANE_HTTPS)
    # The version fetch verifies the update host's certificate against the system's CA bundle.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "ca-certificates")
  endif()
endif()

include(CPack)
