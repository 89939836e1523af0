# SPDX-License-Identifier: MIT
# The demo game directory build/demo: what a game ships beside the launcher,
# laid out afresh on every build so that the README's first command shows
# the dialog with sample renderers, archives, a picture and a sound.
set(DEMO_DIR ${CMAKE_BINARY_DIR}/demo)
add_custom_target(demo-dir ALL
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DBUILD=${CMAKE_BINARY_DIR} -DDEMO=${DEMO_DIR}
          -P ${PROJECT_SOURCE_DIR}/cmake/layout-demo.cmake
  COMMENT "Laying out the demo game directory")
add_dependencies(demo-dir orvek-launcher translations)
if(TARGET plugins)
  add_dependencies(demo-dir plugins)
endif()
