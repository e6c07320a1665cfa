# The Debian package, made by CPack: both programs and data/ in
# /usr/lib/duckdemo/ with links in /usr/games/, a desktop entry each, the
# icon in the hicolor theme, AppStream metadata, manual pages, the copyright
# file and the changelog. `cmake --build <dir> --target deb` writes it to
# DUCKDEMO_PACKAGE_DIR. Included from the top CMakeLists.txt on Linux.
set(DUCKDEMO_PACKAGE_DIR ${CMAKE_BINARY_DIR}/packages CACHE PATH "Where the deb target writes the package")
set(DUCKDEMO_MAINTAINER "The duckdemo developers <duckdemo@example.org>" CACHE STRING "The package's maintainer")
set(DUCKDEMO_APP_ID org.duckdemo.duckdemo)
set(DUCKDEMO_INSTALLED_DIR /usr/${DUCKDEMO_INSTALL_DIR})
set(package_files ${PROJECT_SOURCE_DIR}/packaging/debian)
set(staged ${CMAKE_BINARY_DIR}/package-files)

configure_file(${package_files}/duckdemo.desktop.in ${staged}/${DUCKDEMO_APP_ID}.desktop COPYONLY)
configure_file(${package_files}/duckdemo-ce.desktop.in ${staged}/${DUCKDEMO_APP_ID}-ce.desktop COPYONLY)
configure_file(${package_files}/metainfo.xml.in ${staged}/${DUCKDEMO_APP_ID}.metainfo.xml @ONLY)
configure_file(${package_files}/duckdemo.6.in ${staged}/duckdemo.6 @ONLY)
configure_file(${package_files}/duckdemo-ce.6.in ${staged}/duckdemo-ce.6 @ONLY)
configure_file(${package_files}/changelog.in ${staged}/changelog @ONLY)

# Debian wants manual pages and changelogs compressed, with no time stamp
# inside, so the package is the same from run to run.
set(compressed "")
foreach(file duckdemo.6 duckdemo-ce.6 changelog)
  add_custom_command(OUTPUT ${staged}/${file}.gz
    COMMAND gzip -9nc ${staged}/${file} > ${staged}/${file}.gz
    DEPENDS ${staged}/${file}
    VERBATIM)
  list(APPEND compressed ${staged}/${file}.gz)
endforeach()
add_custom_target(package_files ALL DEPENDS ${compressed})

# The links are made here and installed as links.
foreach(program duckdemo duckdemo-ce)
  file(CREATE_LINK ../${DUCKDEMO_INSTALL_DIR}/${program} ${staged}/${program} SYMBOLIC)
  install(FILES ${staged}/${program} DESTINATION games)
endforeach()
install(FILES ${staged}/${DUCKDEMO_APP_ID}.desktop ${staged}/${DUCKDEMO_APP_ID}-ce.desktop
  DESTINATION share/applications)
install(FILES ${staged}/${DUCKDEMO_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${staged}/duckdemo.6.gz ${staged}/duckdemo-ce.6.gz DESTINATION share/man/man6)
install(FILES ${package_files}/copyright ${staged}/changelog.gz DESTINATION share/doc/duckdemo)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/icons/duckdemo-${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
    RENAME duckdemo.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME duckdemo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "birthday demo and duck shell game")
# CPack indents each line and marks the empty one as a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A 74-second intro, drawn pixel by pixel in step with a tracker song, then a
shell game: one duck is marked with a star, the ducks swap places, and you
point at the marked one. Every right guess brings more and faster swaps.

Two programs: duckdemo for the desktop, with a setup box, and duckdemo-ce,
a handheld's portrait screen watched sideways.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${DUCKDEMO_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The setup box's text is drawn in DejaVu Sans, which no library links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS ffmpeg)
include(CPack)

add_custom_target(deb
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake -B ${DUCKDEMO_PACKAGE_DIR}
  DEPENDS duckdemo duckdemo-ce assetgen_data assetgen_icons package_files
  VERBATIM)
