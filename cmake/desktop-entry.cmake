# SPDX-License-Identifier: MIT
# Installs the desktop entry as ORVEK_APP_ID.desktop, from the template into
# which the build merged the translations; run by cmake --install with
# ORVEK_GAME_DIR, ORVEK_APP_ID, ORVEK_APPLICATIONS_DIR and ORVEK_BUILD set. Exec takes the start script's path as one quoted argument,
# in which a double quote, backquote, dollar sign or backslash is escaped by
# a backslash; then every backslash is doubled, as the format escapes all
# string values, and a per cent sign, which would start a field code, is
# doubled too.
if(IS_ABSOLUTE "${ORVEK_GAME_DIR}")
  set(exec "${ORVEK_GAME_DIR}/orvek")
else()
  set(exec "${CMAKE_INSTALL_PREFIX}/${ORVEK_GAME_DIR}/orvek")
endif()
string(REGEX REPLACE [[(["`$\])]] [[\\\1]] exec "${exec}")
string(REPLACE [[\]] [[\\]] exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(ORVEK_EXEC "\"${exec}\"")
configure_file(${ORVEK_BUILD}/po/orvek.desktop.in ${ORVEK_BUILD}/${ORVEK_APP_ID}.desktop @ONLY)
if(NOT IS_ABSOLUTE "${ORVEK_APPLICATIONS_DIR}")
  set(ORVEK_APPLICATIONS_DIR "${CMAKE_INSTALL_PREFIX}/${ORVEK_APPLICATIONS_DIR}")
endif()
file(INSTALL DESTINATION "${ORVEK_APPLICATIONS_DIR}" TYPE FILE
     FILES ${ORVEK_BUILD}/${ORVEK_APP_ID}.desktop)
