# Installs Trevalin as a desktop program (`cmake --install`, prefix and
# DESTDIR honoured) and describes its Debian package (`cpack -G DEB`): the
# two programs, the desktop entry, AppStream metadata, the icon, the MIME
# type of project files, man pages, the README, the manual, the demo
# project, and the Debian copyright and changelog. Every file installed is
# listed in tests/install/expected-files.txt, which scripts/check-install
# compares against the install tree and the package.
#
# A core-only build (TREVALIN_WITH_QT=OFF) has no programs and installs
# nothing.
if(NOT TARGET trevalin)
  return()
endif()

include(GNUInstallDirs)

set(TREVALIN_APP_ID org.trevalin.Trevalin)
set(TREVALIN_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/trevalin)
set(_res ${PROJECT_SOURCE_DIR}/resources)

install(TARGETS trevalin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Loaded by both programs when they export (CExportModule looks for it in
# the same place relative to bin/).
install(TARGETS trevalin_export_module LIBRARY DESTINATION ${TREVALIN_MODULE_INSTALL_DIR})
# Loaded by both programs when they look for faces (CFaceModule).
install(TARGETS trevalin_faces_module LIBRARY DESTINATION ${TREVALIN_MODULE_INSTALL_DIR})
if(TARGET trevalin-render)
  install(TARGETS trevalin-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Desktop integration, all named after the application id.
install(FILES ${_res}/${TREVALIN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${_res}/${TREVALIN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${_res}/${TREVALIN_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages)
foreach(_size 16 22 24 32 48 64 128 256)
  install(FILES ${_res}/icons/hicolor/${_size}x${_size}/apps/${TREVALIN_APP_ID}.png
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${_size}x${_size}/apps)
endforeach()
install(FILES ${_res}/icons/hicolor/scalable/apps/${TREVALIN_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)

# Man pages, compressed as Debian ships them (gzip -n: no name or time
# stamp, so the same page always gives the same bytes).
find_program(TREVALIN_GZIP gzip REQUIRED)
set(_man_pages)
foreach(_page trevalin.1 trevalin-render.1)
  set(_gz ${PROJECT_BINARY_DIR}/man/${_page}.gz)
  add_custom_command(OUTPUT ${_gz}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/man/${_page} ${PROJECT_BINARY_DIR}/man/${_page}
    COMMAND ${TREVALIN_GZIP} -9nf ${PROJECT_BINARY_DIR}/man/${_page}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${_page}
    COMMENT "Compressing man page ${_page}"
    VERBATIM)
  list(APPEND _man_pages ${_gz})
endforeach()
add_custom_target(trevalin_man_pages ALL DEPENDS ${_man_pages})
install(FILES ${_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package's copyright (machine-readable) and changelog, where
# Debian keeps them; the changelog compressed like the man pages. Its newest
# entry's version is the package's (scripts/check-install compares them).
set(_changelog ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_command(OUTPUT ${_changelog}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
    ${PROJECT_BINARY_DIR}/packaging/changelog.Debian
  COMMAND ${TREVALIN_GZIP} -9nf ${PROJECT_BINARY_DIR}/packaging/changelog.Debian
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
  COMMENT "Compressing the Debian changelog"
  VERBATIM)
add_custom_target(trevalin_debian_changelog ALL DEPENDS ${_changelog})
install(FILES ${_changelog} ${PROJECT_SOURCE_DIR}/packaging/debian/copyright DESTINATION ${TREVALIN_DOC_DIR})

# Documents and the demo project (copy the examples folder somewhere
# writable and run `trevalin-render demo.tvl` in it).
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${TREVALIN_DOC_DIR})
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/manual.md)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.md ${PROJECT_SOURCE_DIR}/docs/manual-inputs.png
    ${PROJECT_SOURCE_DIR}/docs/manual-result.png ${PROJECT_SOURCE_DIR}/docs/manual-export.png
    ${PROJECT_SOURCE_DIR}/docs/manual-faces.png DESTINATION ${TREVALIN_DOC_DIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/examples/demo.tvl DESTINATION ${TREVALIN_DOC_DIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/examples/images/source.bmp ${PROJECT_SOURCE_DIR}/examples/images/target.bmp
  DESTINATION ${TREVALIN_DOC_DIR}/examples/images)

# The Debian package: trevalin_<version>_<arch>.deb, its dependencies found
# by dpkg-shlibdeps from the libraries the programs and modules link (the
# face module's libdlib19.1 among them). Qt's xcb platform
# plugin and its JPEG reader come with libqt6gui6, which that finds too.
# Added to those, what the programs load without linking it: a CJK font for
# the Chinese interface (without one every Chinese text is drawn as boxes)
# and Qt's readers for WebP and TIFF pictures. Recommended: Qt's own Chinese
# texts for its standard dialogs, and dlib's landmark model (libdlib-data),
# without which 自动人脸特征线 says that it is missing.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trevalin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Trevalin developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "image morphing along matching feature lines")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Trevalin developers <developers@trevalin.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-wqy-microhei, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libdlib-data")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary above is the synopsis line; this is the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Trevalin turns a source picture into a target picture in a chosen number of
steps. Feature lines drawn on both pictures drive a field warp of each,
followed by a cross-dissolve; a plain cross-dissolve can be chosen instead.
Every frame is written as a BMP file and the sequence as an AVI video.
.
The package holds the desktop application (trevalin, in Simplified Chinese)
and the headless render command (trevalin-render).")
include(CPack)
