# Install rules for Linux and the Debian package made from them (cpack -G DEB): the program, its
# desktop entry, icons, AppStream metadata, manual page, copyright and changelog.
include(GNUInstallDirs)
set(pkg ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS korvex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${pkg}/linux/korvex.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg}/linux/korvex.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg}/icons/korvex.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${pkg}/icons/korvex-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME korvex.png)
endforeach()

# Debian wants the manual page and the changelog compressed, without a time stamp in the gzip header.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(gz ${CMAKE_BINARY_DIR}/packaging)
add_custom_command(OUTPUT ${gz}/korvex.1.gz ${gz}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${gz}
  COMMAND ${GZIP_EXECUTABLE} -9n -c ${pkg}/linux/korvex.1 > ${gz}/korvex.1.gz
  COMMAND ${GZIP_EXECUTABLE} -9n -c ${pkg}/linux/changelog > ${gz}/changelog.gz
  DEPENDS ${pkg}/linux/korvex.1 ${pkg}/linux/changelog)
add_custom_target(korvex_package_docs ALL DEPENDS ${gz}/korvex.1.gz ${gz}/changelog.gz)
install(FILES ${gz}/korvex.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${gz}/changelog.gz ${pkg}/linux/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvex)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Korvex developers <korvex@korvex.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the data files of an old football-management game")
# CPack puts the summary first and indents each of these lines; an empty line becomes " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Korvex opens the game folder of an old PC football-management game and lets
you browse, search, edit, add and delete its managers, teams and players, fix
its hall of fame and rename its saved games. Each database can be exported to
a CSV sheet and imported back, from the window or from the command line.

Every file is written back in the game's own format, through a temporary file
that replaces the original only when the whole write succeeded.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
