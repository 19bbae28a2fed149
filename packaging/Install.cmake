# Installing like a desktop game (make install) and the Debian package (make package): the program and its
# data, a launcher that runs it in the player's own folder, the menu entry, icons and AppStream data.
include(GNUInstallDirs)

set(KES_VERSION ${PROJECT_VERSION})
# Who answers for the package: its Maintainer, the changelog's signature and the copyright file's contact.
set(KES_CONTACT "The Kestrovane developers <developers@kestrovane.example>")
# Where the README screenshots are published; the software-centre entry links its pictures there.
set(KES_SCREENSHOT_URL "https://kestrovane.example/screenshots/"
    CACHE STRING "Web folder holding menu.png, play.png, story.png and settings.png")

set(KES_GAME_INSTALL_DIR ${CMAKE_INSTALL_LIBEXECDIR}/kestrovane)
set(KES_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/kestrovane)
# The launcher finds the program and data relative to itself, so an install works under any prefix.
file(RELATIVE_PATH KES_BIN_TO_GAME /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${KES_GAME_INSTALL_DIR}/kestrovane)
file(RELATIVE_PATH KES_BIN_TO_DATA /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${KES_DATA_INSTALL_DIR}/data)

set(KES_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kestrovane.in ${KES_PACKAGING_DIR}/kestrovane @ONLY)
# The menu entry and the software-centre entry carry every language's names and words, merged from po/.
configure_file(${CMAKE_CURRENT_LIST_DIR}/kestrovane.desktop.in ${KES_PACKAGING_DIR}/${KES_APP_ID}.desktop.in @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kestrovane.metainfo.xml.in
               ${KES_PACKAGING_DIR}/${KES_APP_ID}.metainfo.xml.in @ONLY)
file(GLOB KES_PO_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
add_custom_command(
  OUTPUT ${KES_PACKAGING_DIR}/${KES_APP_ID}.desktop
  COMMAND ${KES_MSGFMT} --desktop -d ${CMAKE_SOURCE_DIR}/po --template=${KES_PACKAGING_DIR}/${KES_APP_ID}.desktop.in
          -o ${KES_PACKAGING_DIR}/${KES_APP_ID}.desktop
  DEPENDS ${KES_PACKAGING_DIR}/${KES_APP_ID}.desktop.in ${KES_PO_FILES} ${CMAKE_SOURCE_DIR}/po/LINGUAS
  VERBATIM)
add_custom_command(
  OUTPUT ${KES_PACKAGING_DIR}/${KES_APP_ID}.metainfo.xml
  COMMAND ${KES_MSGFMT} --xml -d ${CMAKE_SOURCE_DIR}/po --template=${KES_PACKAGING_DIR}/${KES_APP_ID}.metainfo.xml.in
          -o ${KES_PACKAGING_DIR}/${KES_APP_ID}.metainfo.xml
  DEPENDS ${KES_PACKAGING_DIR}/${KES_APP_ID}.metainfo.xml.in ${KES_PO_FILES} ${CMAKE_SOURCE_DIR}/po/LINGUAS
  VERBATIM)
add_custom_target(desktop_entries ALL DEPENDS ${KES_PACKAGING_DIR}/${KES_APP_ID}.desktop
                                              ${KES_PACKAGING_DIR}/${KES_APP_ID}.metainfo.xml)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${KES_PACKAGING_DIR}/copyright @ONLY)
# The manual page and the changelog are installed compressed, as Debian keeps them: gzip -9n, no name or time
# inside, so that every build of one version is the same.
foreach(document kestrovane.6 changelog)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${document}.in ${KES_PACKAGING_DIR}/${document} @ONLY)
  add_custom_command(
    OUTPUT ${KES_PACKAGING_DIR}/${document}.gz
    COMMAND gzip -9nkf ${KES_PACKAGING_DIR}/${document}
    DEPENDS ${KES_PACKAGING_DIR}/${document}
    VERBATIM)
  list(APPEND KES_COMPRESSED_DOCUMENTS ${KES_PACKAGING_DIR}/${document}.gz)
endforeach()
add_custom_target(documents ALL DEPENDS ${KES_COMPRESSED_DOCUMENTS})

install(TARGETS kestrovane RUNTIME DESTINATION ${KES_GAME_INSTALL_DIR})
# The command goes where Debian puts a game's under /usr (games/), and in bin/ under any other prefix
# (/usr/local, /opt/...). The prefix is known only when installing; both folders sit one level below it, so
# the launcher's relative paths hold either way.
install(CODE "
  if(CMAKE_INSTALL_PREFIX MATCHES \"(^|/)usr/?$\")
    set(kes_command_dir games)
  else()
    set(kes_command_dir ${CMAKE_INSTALL_BINDIR})
  endif()
  file(INSTALL ${KES_PACKAGING_DIR}/kestrovane DESTINATION \"\${CMAKE_INSTALL_PREFIX}/\${kes_command_dir}\"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
")
install(DIRECTORY ${CMAKE_BINARY_DIR}/data DESTINATION ${KES_DATA_INSTALL_DIR})
install(FILES ${KES_PACKAGING_DIR}/${KES_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KES_PACKAGING_DIR}/${KES_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${KES_ICON_THEME_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${KES_PACKAGING_DIR}/kestrovane.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${KES_PACKAGING_DIR}/copyright ${KES_PACKAGING_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrovane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrovane)
set(CPACK_PACKAGE_VERSION ${KES_VERSION})
set(CPACK_PACKAGE_CONTACT "${KES_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-scrolling action platformer aboard a drifting ship")
# Lines of at most 80 columns, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION "Your ship is adrift and overrun by blobs. Run, jump and shoot your way\n\
through its decks, collect health, oxygen tanks, keycards and a weapon, and\n\
reach each deck's exit before your oxygen runs out. Settings, progress and\n\
screenshots are kept in ~/.local/share/kestrovane.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies are read from the libraries the program links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
