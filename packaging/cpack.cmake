# The Debian package: the whole installation tree under /opt/lumora-channel, and under /usr a
# launcher that gives each user a writable copy of it, a menu entry and an icon.
#   cpack -G DEB --config <build>/CPackConfig.cmake      (packaging/test-deb.sh builds and checks it)
include_guard(GLOBAL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumora-channel)
set(CPACK_PACKAGE_VENDOR "Lumora")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Lumora学汉字 - children's learning programmes client")
set(CPACK_PACKAGE_DESCRIPTION "Desktop client for the Lumora learning channels: Flash movies,
videos and audio for young children, picked from the channel's catalogue,
with the bundled demo content and service.")
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/lumora-channel)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lumora packaging <packaging@lumora.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the X11 and image plugins of Qt, the
# GStreamer elements behind the media player (libav decodes FLV video), and Chinese fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-image-formats-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-libav, fonts-noto-cjk")
# The Wayland platform plugin lets the client run natively in a Wayland session.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")

# The /usr files only go into the package: a plain `cmake --install --prefix ROOT` must never
# write outside ROOT, so they are staged by CPack alone.
configure_file(${CMAKE_CURRENT_LIST_DIR}/stage-desktop.cmake.in
               ${CMAKE_BINARY_DIR}/packaging/stage-desktop.cmake @ONLY)
set(CPACK_INSTALL_SCRIPTS ${CMAKE_BINARY_DIR}/packaging/stage-desktop.cmake)

include(CPack)
