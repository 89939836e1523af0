# SPDX-License-Identifier: MIT
# Installation: the game directory holds everything the launcher finds
# relative to its working directory; the command, desktop entry, AppStream
# file, icon and manual pages go to the usual shared places.
include(GNUInstallDirs)
set(ORVEK_GAME_DIR "lib/games/orvek" CACHE STRING
    "Game directory: launcher, start script, renderers (relative to the install prefix)")
set(ORVEK_DATA_DIR "" CACHE STRING
    "The dialog's picture, look and sound, reached through links in the game directory (relative to the install prefix; empty: in the game directory itself)")
# The launcher finds the installed icon and its catalogues from its own
# folder as well, for a prefix such as /opt/orvek that is none of the
# desktop's data folders: the way from the game directory to the icon
# themes' folder and to the locale folder. With the folders relative to the
# prefix it holds for any prefix (cmake --install --prefix). The start
# script finds the catalogues the same way.
set(game_dir "${ORVEK_GAME_DIR}")
set(icons_dir "${CMAKE_INSTALL_DATAROOTDIR}/icons")
set(locale_dir "${CMAKE_INSTALL_LOCALEDIR}")
foreach(dir game_dir icons_dir locale_dir)
  if(NOT IS_ABSOLUTE "${${dir}}")
    set(${dir} "${CMAKE_INSTALL_PREFIX}/${${dir}}")
  endif()
endforeach()
file(RELATIVE_PATH icons_from_game_dir "${game_dir}" "${icons_dir}")
file(RELATIVE_PATH locale_from_game_dir "${game_dir}" "${locale_dir}")
target_compile_definitions(orvek-launcher PRIVATE "ORVEK_ICONS_FROM_GAME_DIR=\"${icons_from_game_dir}\""
                           "ORVEK_LOCALE_FROM_GAME_DIR=\"${locale_from_game_dir}\"")

set(data_dir "${ORVEK_DATA_DIR}")
if(data_dir STREQUAL "")
  set(data_dir "${ORVEK_GAME_DIR}")
endif()

# install_link(DIR NAME TARGET): installs into DIR a symbolic link NAME to the
# installed TARGET. With both relative to the prefix the link is relative, so
# the install can be moved as a whole (DESTDIR, a package); otherwise it
# holds TARGET's full path.
function(install_link dir name target)
  if(IS_ABSOLUTE "${dir}" OR IS_ABSOLUTE "${target}")
    if(NOT IS_ABSOLUTE "${target}")
      set(target ${CMAKE_INSTALL_PREFIX}/${target})
    endif()
  else()
    file(RELATIVE_PATH target /${dir} /${target})
  endif()
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/links)
  file(CREATE_LINK ${target} ${CMAKE_BINARY_DIR}/links/${name} SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/links/${name} DESTINATION ${dir})
endfunction()

# The install's own copy of the start script knows that it is installed, and
# so never writes the game directory (dist/orvek says more), and where the
# install's catalogues are.
file(READ ${PROJECT_SOURCE_DIR}/dist/orvek script)
string(REPLACE "'" "'\\''" quoted_locale "${locale_from_game_dir}")
string(REPLACE "\ninstalled=no\nlocaledir='locale'\n" "\ninstalled=yes\nlocaledir='${quoted_locale}'\n"
       installed_script "${script}")
if(installed_script STREQUAL script)
  message(FATAL_ERROR "dist/orvek has no lines installed=no and localedir='locale' for the install to change")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/dist/orvek)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/installed/orvek CONTENT "${installed_script}")

install(TARGETS orvek-launcher DESTINATION ${ORVEK_GAME_DIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/installed/orvek DESTINATION ${ORVEK_GAME_DIR})
install(FILES dist/orvek-popup.awk dist/orvek-words.awk DESTINATION ${ORVEK_GAME_DIR})
if(TARGET plugins)
  install(TARGETS software opengl LIBRARY DESTINATION ${ORVEK_GAME_DIR})
endif()

# The dialog's picture, look and sound (as in the demo): data that is the
# same on every architecture, which distributions keep under share/.
install(FILES pixmaps/orvek.xpm DESTINATION ${data_dir}/pixmaps)
install(FILES demo/OrvekLauncher.rc demo/orvek.wav DESTINATION ${data_dir})
if(NOT data_dir STREQUAL ORVEK_GAME_DIR)
  foreach(name pixmaps OrvekLauncher.rc orvek.wav)
    install_link(${ORVEK_GAME_DIR} ${name} ${data_dir}/${name})
  endforeach()
endif()

# The command on PATH, in Debian's folder for games: a link to the start
# script, which finds its game directory through it.
install_link(games orvek ${ORVEK_GAME_DIR}/orvek)

# The desktop entry names the start script by its full path, known only once
# the prefix is (cmake --install --prefix may change it).
install(CODE "set(ORVEK_GAME_DIR [[${ORVEK_GAME_DIR}]])
  set(ORVEK_APP_ID [[${ORVEK_APP_ID}]])
  set(ORVEK_APPLICATIONS_DIR [[${CMAKE_INSTALL_DATAROOTDIR}/applications]])
  set(ORVEK_BUILD [[${CMAKE_BINARY_DIR}]])")
install(SCRIPT cmake/desktop-entry.cmake)
# Both carry the translations of po/, merged in by the build.
configure_file(dist/orvek.metainfo.xml.in ${CMAKE_BINARY_DIR}/${ORVEK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/po/${ORVEK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES dist/orvek.svg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
install(FILES dist/orvek.6 dist/orvek-launcher.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
