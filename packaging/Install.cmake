# Installing like a desktop game (make install) and the Debian package (make package): the program and its
# data, a launcher that runs it in the player's own folder, the menu entry, icons and AppStream data.
include(GNUInstallDirs)

set(KES_VERSION ${PROJECT_VERSION})
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
configure_file(${CMAKE_CURRENT_LIST_DIR}/kestrovane.desktop.in ${KES_PACKAGING_DIR}/${KES_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kestrovane.metainfo.xml.in ${KES_PACKAGING_DIR}/${KES_APP_ID}.metainfo.xml
               @ONLY)

install(TARGETS kestrovane RUNTIME DESTINATION ${KES_GAME_INSTALL_DIR})
install(PROGRAMS ${KES_PACKAGING_DIR}/kestrovane DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/data DESTINATION ${KES_DATA_INSTALL_DIR})
install(FILES ${KES_PACKAGING_DIR}/${KES_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KES_PACKAGING_DIR}/${KES_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${KES_ICON_THEME_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrovane)
set(CPACK_PACKAGE_VERSION ${KES_VERSION})
set(CPACK_PACKAGE_CONTACT "The Kestrovane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-scrolling action platformer aboard a drifting ship")
set(CPACK_PACKAGE_DESCRIPTION "Your ship is adrift and overrun by blobs. Run, jump and shoot your way \
through its decks,\ncollect health, oxygen tanks, keycards and a weapon, and reach each deck's exit \
before\nyour oxygen runs out. Settings, progress and screenshots are kept in ~/.local/share/kestrovane.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies are read from the libraries the program links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
