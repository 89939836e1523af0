# SPDX-License-Identifier: MIT
# Run with -DSOURCE, -DBUILD and -DDEMO: copies the demo game's files. The
# files that playing the demo changes (the launcher's choices, its archive
# list and the game's own configuration) are only copied while missing, so
# a rebuild keeps what the player chose; every other file is refreshed.
file(MAKE_DIRECTORY ${DEMO}/pixmaps)
set(kept)
foreach(name OrvekLauncher.ini RezList autoexec.cfg)
  if(EXISTS ${DEMO}/${name})
    list(APPEND kept PATTERN ${name} EXCLUDE)
  endif()
endforeach()
if(EXISTS ${SOURCE}/demo)
  file(COPY ${SOURCE}/demo/ DESTINATION ${DEMO} ${kept})
endif()
if(EXISTS ${SOURCE}/pixmaps/orvek.xpm)
  file(COPY ${SOURCE}/pixmaps/orvek.xpm DESTINATION ${DEMO}/pixmaps)
endif()
# The window's icon and the catalogues of the player's language, where the
# launcher and the start script look for them in a game run in place.
file(COPY ${SOURCE}/dist/orvek.svg DESTINATION ${DEMO}/icons/hicolor/scalable/apps)
file(COPY ${BUILD}/po/locale DESTINATION ${DEMO})
file(GLOB renderers ${BUILD}/plugins/*.ren)
if(renderers)
  file(COPY ${renderers} DESTINATION ${DEMO})
endif()
# The demo is started like a game: through the start script, next to the
# launcher. It plays in place: its start script is the source's, which does
# not take itself for an install.
file(COPY ${BUILD}/orvek-launcher ${SOURCE}/dist/orvek ${SOURCE}/dist/orvek-popup.awk
     ${SOURCE}/dist/orvek-words.awk DESTINATION ${DEMO})
