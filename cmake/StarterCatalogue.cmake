# The wizard's starter catalogue: categories, backdrops and layout templates
# made at build time by tessaline-tool through the card document's own
# save-as-template path, so that they always match the program that reads
# them. Staged with the rest of the data and installed with it.
set(TESSALINE_STARTER_WORK ${CMAKE_BINARY_DIR}/starter-catalogue)
set(TESSALINE_STARTER_STAMP ${TESSALINE_STAGED_DATA}/Wizard/Wiz_Tree)
add_custom_command(OUTPUT ${TESSALINE_STARTER_STAMP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${TESSALINE_STARTER_WORK} ${TESSALINE_STAGED_DATA}/Wizard
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESSALINE_STARTER_WORK}
  # A leak report of a sanitizer build must not fail the build.
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:tessaline-tool> wizard starter ${TESSALINE_STARTER_WORK}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${TESSALINE_STARTER_WORK}/Wizard ${TESSALINE_STAGED_DATA}/Wizard
  DEPENDS tessaline-tool
  COMMENT "Making the wizard's starter catalogue"
  VERBATIM)
add_custom_target(tessaline_starter_catalogue DEPENDS ${TESSALINE_STARTER_STAMP})
add_dependencies(tessaline_data tessaline_starter_catalogue)
install(DIRECTORY ${TESSALINE_STAGED_DATA}/Wizard DESTINATION share/tessaline)
