# Run with -DSOURCE, -DBUILD and -DDEMO: copies the demo game's files.
file(MAKE_DIRECTORY ${DEMO}/pixmaps)
if(EXISTS ${SOURCE}/demo)
  file(COPY ${SOURCE}/demo/ DESTINATION ${DEMO})
endif()
if(EXISTS ${SOURCE}/pixmaps/orvek.xpm)
  file(COPY ${SOURCE}/pixmaps/orvek.xpm DESTINATION ${DEMO}/pixmaps)
endif()
file(GLOB renderers ${BUILD}/plugins/*.ren)
if(renderers)
  file(COPY ${renderers} DESTINATION ${DEMO})
endif()
# The demo is started like an installed game: through the start script,
# next to the launcher.
file(COPY ${BUILD}/orvek-launcher ${SOURCE}/dist/orvek DESTINATION ${DEMO})
