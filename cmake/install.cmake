# SPDX-License-Identifier: MIT
# Installation: the game directory holds everything the launcher finds
# relative to its working directory; the command, desktop entry, icon and
# manual pages go to the usual shared places.
set(ORVEK_GAME_DIR "lib/games/orvek" CACHE STRING "Game directory, relative to the install prefix")

install(TARGETS orvek-launcher DESTINATION ${ORVEK_GAME_DIR})
install(PROGRAMS dist/orvek DESTINATION ${ORVEK_GAME_DIR})
install(FILES pixmaps/orvek.xpm DESTINATION ${ORVEK_GAME_DIR}/pixmaps)
# The dialog's look and sound, as in the demo.
install(FILES demo/OrvekLauncher.rc demo/orvek.wav DESTINATION ${ORVEK_GAME_DIR})
if(TARGET plugins)
  install(TARGETS software opengl LIBRARY DESTINATION ${ORVEK_GAME_DIR})
endif()

# The command on PATH, in Debian's folder for games: a relative link to the
# start script, which finds its game directory through it, so the install
# can be moved as a whole (DESTDIR, a package).
if(IS_ABSOLUTE "${ORVEK_GAME_DIR}")
  set(script_target ${ORVEK_GAME_DIR}/orvek)
else()
  file(RELATIVE_PATH script_target /games /${ORVEK_GAME_DIR}/orvek)
endif()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/games)
file(CREATE_LINK ${script_target} ${CMAKE_BINARY_DIR}/games/orvek SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/games/orvek DESTINATION games)

# The desktop entry names the start script by its full path, known only once
# the prefix is (cmake --install --prefix may change it).
install(CODE "set(ORVEK_GAME_DIR [[${ORVEK_GAME_DIR}]])
  set(ORVEK_SOURCE [[${PROJECT_SOURCE_DIR}]])
  set(ORVEK_BUILD [[${CMAKE_BINARY_DIR}]])")
install(SCRIPT cmake/desktop-entry.cmake)
install(FILES dist/orvek.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES dist/orvek.6 dist/orvek-launcher.6 DESTINATION share/man/man6)
