# The spelling dictionary the program ships: made at build time from
# Debian's American English word list (package wamerican) by
# tessaline-tool, staged with the rest of the data and installed with it.
# The program looks for it under this name (text/spell_dictionary.cpp).
set(TESSALINE_WORD_LIST /usr/share/dict/american-english CACHE FILEPATH
    "Word list the default spelling dictionary is made from")
set(TESSALINE_DEFAULT_DICTIONARY "${TESSALINE_STAGED_DATA}/Dictionaries/English (US).dic")

if(EXISTS ${TESSALINE_WORD_LIST})
  add_custom_command(OUTPUT ${TESSALINE_DEFAULT_DICTIONARY}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TESSALINE_STAGED_DATA}/Dictionaries
    # A leak report of a sanitizer build must not fail the build; the
    # tool's own tests look for leaks.
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:tessaline-tool> dict build ${TESSALINE_WORD_LIST} ${TESSALINE_DEFAULT_DICTIONARY}
    DEPENDS tessaline-tool ${TESSALINE_WORD_LIST}
    COMMENT "Making the default spelling dictionary"
    VERBATIM)
  add_custom_target(tessaline_dictionary DEPENDS ${TESSALINE_DEFAULT_DICTIONARY})
  add_dependencies(tessaline_data tessaline_dictionary)
  install(FILES ${TESSALINE_DEFAULT_DICTIONARY} DESTINATION share/tessaline/Dictionaries)
else()
  message(WARNING "${TESSALINE_WORD_LIST} is missing (package wamerican): "
                  "the program is built without its default spelling dictionary")
endif()
