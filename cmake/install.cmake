# Installation: the game directory holds everything the launcher finds
# relative to its working directory; desktop entry, icon and manual go to
# the usual shared places.
set(ORVEK_GAME_DIR "lib/games/orvek" CACHE STRING "Game directory, relative to the install prefix")

install(TARGETS orvek-launcher DESTINATION ${ORVEK_GAME_DIR})
install(PROGRAMS dist/orvek DESTINATION ${ORVEK_GAME_DIR})
install(FILES pixmaps/orvek.xpm DESTINATION ${ORVEK_GAME_DIR}/pixmaps)
install(DIRECTORY ${CMAKE_BINARY_DIR}/plugins/ DESTINATION ${ORVEK_GAME_DIR}
        FILES_MATCHING PATTERN "*.ren" PATTERN "test" EXCLUDE)

# The desktop entry names the game directory by its full path, known only
# once the prefix is (cmake --install --prefix may change it).
install(CODE "
  set(ORVEK_GAME_PATH \"\${CMAKE_INSTALL_PREFIX}/${ORVEK_GAME_DIR}\")
  configure_file(${PROJECT_SOURCE_DIR}/dist/orvek.desktop.in ${CMAKE_BINARY_DIR}/orvek.desktop @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\" TYPE FILE
       FILES ${CMAKE_BINARY_DIR}/orvek.desktop)
")
install(FILES dist/orvek.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES dist/orvek-launcher.6 DESTINATION share/man/man6)
