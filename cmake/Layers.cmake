# The layers of the system, from the ground up. Each folder is a library of
# its own that links only folders declared above it in this file, and names
# every one it includes from; tools/check_layers.py reads this table and
# refuses an include that reaches past it.
#
#   tessaline_layer(<folder> [DEPENDS <folder>...])
#
# A lower folder that needs something only an upper one knows (the
# application, the main window, the wizard) asks through a small
# interface that the upper folder answers.

# Every library of the system compiles alike: one precompiled header, made
# once, serves them all.
add_library(tessaline_build_settings INTERFACE)
target_include_directories(tessaline_build_settings INTERFACE ${CMAKE_SOURCE_DIR})
target_compile_definitions(tessaline_build_settings INTERFACE
  QT_NO_KEYWORDS
  TESSALINE_VERSION="${PROJECT_VERSION}")
target_link_libraries(tessaline_build_settings INTERFACE
  Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport
  PNG::PNG JPEG::JPEG TIFF::TIFF ZLIB::ZLIB
  Freetype::Freetype Fontconfig::Fontconfig GIF::GIF qpdf::libqpdf Cups::Cups X11::X11)
add_library(tessaline_pch OBJECT ${CMAKE_SOURCE_DIR}/cmake/pch.cpp)
target_link_libraries(tessaline_pch PRIVATE tessaline_build_settings)
target_precompile_headers(tessaline_pch PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch.h)
tessaline_warnings(tessaline_pch)

set(TESSALINE_LAYERS)
function(tessaline_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "DEPENDS")
  foreach(dep IN LISTS layer_DEPENDS)
    if(NOT dep IN_LIST TESSALINE_LAYERS)
      message(FATAL_ERROR "${folder} depends on ${dep}, which is not a layer below it")
    endif()
  endforeach()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/${folder}/*.cpp
    ${CMAKE_SOURCE_DIR}/${folder}/*.h
    ${CMAKE_SOURCE_DIR}/${folder}/*.qrc)
  # Files ending in _main.cpp hold a main() and belong to an executable.
  list(FILTER sources EXCLUDE REGEX "_main\\.cpp$")
  set(target tessaline_${folder})
  add_library(${target} STATIC ${sources})
  target_link_libraries(${target} PUBLIC tessaline_build_settings)
  foreach(dep IN LISTS layer_DEPENDS)
    target_link_libraries(${target} PUBLIC tessaline_${dep})
  endforeach()
  target_precompile_headers(${target} REUSE_FROM tessaline_pch)
  tessaline_warnings(${target})
  # Files that arrive through a merge or a new glob must reach moc too. The
  # moc step's own dependencies only name headers it has already seen, so
  # when the file list changes its stamp is removed and the step runs again.
  string(REPLACE ";" "\n" source_list "${sources}")
  set(list_file ${CMAKE_BINARY_DIR}/layer_sources_${folder}.txt)
  set(previous "")
  if(EXISTS ${list_file})
    file(READ ${list_file} previous)
  endif()
  if(NOT previous STREQUAL "${source_list}\n")
    file(REMOVE ${CMAKE_BINARY_DIR}/${target}_autogen/timestamp)
    file(WRITE ${list_file} "${source_list}\n")
  endif()
  set(TESSALINE_LAYERS ${TESSALINE_LAYERS} ${folder} PARENT_SCOPE)
endfunction()

# 1. What the program carries compiled in: its pictures and string tables.
tessaline_layer(resources)
# 2. Bytes, handles, files, text conversion, alerts.
tessaline_layer(foundation DEPENDS resources)
# 3. Our small layer over Qt: the Dc, printers, keys, the registry.
tessaline_layer(platform DEPENDS foundation)
# 4. Pictures, pens, brushes and shapes.
tessaline_layer(graphics DEPENDS resources foundation platform)
# 5. Fonts and display-text effects; the barcodes; the database engine.
tessaline_layer(typography DEPENDS resources foundation platform graphics)
tessaline_layer(barcode DEPENDS foundation platform graphics)
tessaline_layer(database DEPENDS foundation)
# 6. The frames of a card and their stores.
tessaline_layer(frames DEPENDS foundation platform graphics typography barcode database)
# 7. The tools that work on frames: the tool document, trackers, key events.
tessaline_layer(toolbase DEPENDS foundation platform graphics database frames)
# 8. The rich text engine.
tessaline_layer(text DEPENDS foundation platform graphics database frames toolbase)
# 9. The records the documents, dialogs, wizard and shell share: label
#    stock, print settings, print jobs, preferences, clipboard formats, menus.
tessaline_layer(records DEPENDS foundation graphics)
# 10. The wizard's catalogue: templates, backdrops, designs and its tree.
tessaline_layer(catalog DEPENDS foundation graphics frames records)
# 11. The dialogs.
tessaline_layer(dialogs DEPENDS resources foundation platform graphics typography barcode database frames text
  records catalog)
# 12. The database document and its windows.
tessaline_layer(dbdoc DEPENDS resources foundation platform database records dialogs)
# 13. The card document, its views, tools and printing.
tessaline_layer(carddoc DEPENDS resources foundation platform graphics typography barcode database frames toolbase
  text records catalog dialogs dbdoc)
# 14. The new-document wizard.
tessaline_layer(wizard DEPENDS resources foundation platform graphics database frames records catalog dialogs dbdoc
  carddoc)
# 15. The application: the main window, its menus and bars, the documents.
tessaline_layer(app DEPENDS resources foundation platform graphics typography database frames toolbase text records
  catalog dialogs dbdoc carddoc wizard)

# Links target with the layers its sources include from, and with nothing
# else: a program of the tools or the tests links what it uses.
function(tessaline_link_used_layers target)
  set(used)
  foreach(src IN LISTS ARGN)
    file(STRINGS ${src} lines REGEX "^#include \"[a-z_]+/")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" folder "${line}")
      if(folder IN_LIST TESSALINE_LAYERS AND NOT folder IN_LIST used)
        list(APPEND used ${folder})
      endif()
    endforeach()
  endforeach()
  foreach(folder IN LISTS used)
    target_link_libraries(${target} PRIVATE tessaline_${folder})
  endforeach()
endfunction()
