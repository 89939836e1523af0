# Installation: the game directory holds everything the launcher finds
# relative to its working directory; desktop entry, icon and manual go to
# the usual shared places.
set(ORVEK_GAME_DIR "lib/games/orvek" CACHE STRING "Game directory, relative to the install prefix")
set(ORVEK_GAME_PATH "${CMAKE_INSTALL_PREFIX}/${ORVEK_GAME_DIR}")

install(TARGETS orvek-launcher DESTINATION ${ORVEK_GAME_DIR})
install(PROGRAMS dist/orvek DESTINATION ${ORVEK_GAME_DIR})
install(FILES pixmaps/orvek.xpm DESTINATION ${ORVEK_GAME_DIR}/pixmaps)
install(DIRECTORY ${CMAKE_BINARY_DIR}/plugins/ DESTINATION ${ORVEK_GAME_DIR}
        FILES_MATCHING PATTERN "*.ren" PATTERN "test" EXCLUDE)

configure_file(dist/orvek.desktop.in ${CMAKE_BINARY_DIR}/orvek.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/orvek.desktop DESTINATION share/applications)
install(FILES dist/orvek.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES dist/orvek-launcher.6 DESTINATION share/man/man6)
