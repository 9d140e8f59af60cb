# The layers of the system, from the ground up. Each folder is a library of
# its own that links only folders declared above it in this file, and names
# every one it includes from; tools/check_layers.py reads this table and
# refuses an include that reaches past it.
#
#   tessaline_layer(<folder> [WINDOWS] [DEPENDS <folder>...] [USES <library>...])
#
# Every layer links Qt Core and Gui; USES names the other outside libraries
# its own files use. WINDOWS marks a layer that may show a window: it links
# Qt Widgets, and only such a layer may include a widget header (the check
# refuses one anywhere else), so the ground stays free of the window system.
#
# A lower folder that needs something only an upper one knows (the
# application, the main window, the wizard) asks through a small
# interface that the upper folder answers.

# Every library of the system compiles alike: one precompiled header, made
# once, serves them all. It holds only Core and Gui headers and is made
# with only their definitions, so that a layer linking more (and defining
# more) can still use it.
add_library(tessaline_build_settings INTERFACE)
target_include_directories(tessaline_build_settings INTERFACE ${CMAKE_SOURCE_DIR})
target_compile_definitions(tessaline_build_settings INTERFACE
  QT_NO_KEYWORDS
  TESSALINE_VERSION="${PROJECT_VERSION}")
target_link_libraries(tessaline_build_settings INTERFACE Qt6::Core Qt6::Gui)
# The sanitizer builds link the layers as shared libraries: each of their
# test and fuzz programs would otherwise carry an instrumented copy of the
# whole system, over two gigabytes in all. Everything there compiles as
# position-independent code, so that one precompiled header serves the
# libraries and the programs alike.
if(TESSALINE_SANITIZE OR TESSALINE_THREAD_SANITIZE)
  set(TESSALINE_LAYER_KIND SHARED)
  add_compile_options(-fPIC)
else()
  set(TESSALINE_LAYER_KIND STATIC)
endif()
add_library(tessaline_pch OBJECT ${CMAKE_SOURCE_DIR}/cmake/pch.cpp)
target_link_libraries(tessaline_pch PRIVATE tessaline_build_settings)
target_precompile_headers(tessaline_pch PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch.h)
tessaline_warnings(tessaline_pch)

include(${CMAKE_CURRENT_LIST_DIR}/compiled_alone.cmake)

set(TESSALINE_LAYERS)
function(tessaline_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 layer "WINDOWS" "" "DEPENDS;USES")
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
  add_library(${target} ${TESSALINE_LAYER_KIND} ${sources})
  target_link_libraries(${target} PUBLIC tessaline_build_settings ${layer_USES})
  if(layer_WINDOWS)
    target_link_libraries(${target} PUBLIC Qt6::Widgets)
  endif()
  foreach(dep IN LISTS layer_DEPENDS)
    target_link_libraries(${target} PUBLIC tessaline_${dep})
  endforeach()
  target_precompile_headers(${target} REUSE_FROM tessaline_pch)
  tessaline_warnings(${target})
  # The folder's files compile in batches: loading the precompiled header
  # takes a fifth of a small file's compile time. A file of one batch is
  # not the batch's main file, which GCC would otherwise warn of for a
  # type of the file's own.
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 16)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
  endif()
  foreach(alone IN LISTS TESSALINE_COMPILED_ALONE)
    if(alone MATCHES "^${folder}/")
      set_source_files_properties(${CMAKE_SOURCE_DIR}/${alone} TARGET_DIRECTORY ${target}
        PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
  endforeach()
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
tessaline_layer(foundation DEPENDS resources USES ZLIB::ZLIB)
# 3. The print queue: jobs handed to the print service (libcups), and what
#    a queue says it takes.
tessaline_layer(printqueue USES Cups::Cups)
# 4. Our small layer over Qt: the Dc, printers, keys, the registry; the
#    first layer that shows a window (message boxes, the file dialogs).
#    It asks fontconfig for faces and reads the lock keys (X11). A vector
#    device hands its finished pages to the page file an output above
#    makes (page_file.h).
tessaline_layer(platform WINDOWS DEPENDS foundation printqueue
  USES Qt6::PrintSupport Fontconfig::Fontconfig X11::X11)
# 5. The two print outputs, each over the Dc. The PDF output: print jobs
#    painted into PDF files by several threads, joined by qpdf, their pages'
#    content shortened and compressed (libdeflate, and zlib taken over on
#    the painting threads).
tessaline_layer(pdf DEPENDS foundation printqueue platform
  USES Qt6::PrintSupport ZLIB::ZLIB LibDeflate::LibDeflate qpdf::libqpdf)
#    The PostScript output: print jobs written as PostScript, to a file or
#    a queue that takes it, with the fonts they carry, their pages and
#    pictures compressed (libdeflate; photographs as JPEG through Qt).
tessaline_layer(postscript DEPENDS foundation printqueue platform USES LibDeflate::LibDeflate)
# 6. Pictures, pens, brushes and shapes; the picture files' own libraries.
tessaline_layer(graphics DEPENDS resources foundation platform USES PNG::PNG JPEG::JPEG TIFF::TIFF GIF::GIF)
# 7. Fonts and display-text effects; the barcodes; the database engine.
tessaline_layer(typography WINDOWS DEPENDS resources foundation platform graphics)
tessaline_layer(barcode DEPENDS foundation platform graphics)
tessaline_layer(database DEPENDS foundation USES ZLIB::ZLIB)
# 8. The frames of a card and their stores.
tessaline_layer(frames DEPENDS foundation platform graphics typography barcode database)
# 9. The tools that work on frames: the tool document, trackers, key events.
tessaline_layer(toolbase WINDOWS DEPENDS foundation platform graphics database frames)
# 10. The rich text engine.
tessaline_layer(text WINDOWS DEPENDS foundation platform graphics database frames toolbase)
# 11. The records the documents, dialogs, wizard and shell share: label
#    stock, print settings, print jobs, preferences, clipboard formats, menus.
tessaline_layer(records WINDOWS DEPENDS foundation platform graphics USES Qt6::PrintSupport)
# 12. The wizard's catalogue: templates, backdrops, designs and its tree.
tessaline_layer(catalog DEPENDS foundation graphics frames records)
# 13. The dialogs, and the context a job chosen in the Print dialog draws
#     into (the PDF or the PostScript output).
tessaline_layer(dialogs WINDOWS DEPENDS resources foundation printqueue platform pdf postscript graphics typography
  barcode database frames text records catalog USES Qt6::PrintSupport)
# 14. The database document and its windows.
tessaline_layer(dbdoc WINDOWS DEPENDS resources foundation platform pdf database records dialogs USES Qt6::PrintSupport)
# 15. The card document, its views, tools and printing.
tessaline_layer(carddoc WINDOWS DEPENDS resources foundation printqueue platform pdf postscript graphics typography
  barcode database frames toolbase text records catalog dialogs dbdoc USES Qt6::PrintSupport)
# 16. The new-document wizard.
tessaline_layer(wizard WINDOWS DEPENDS resources foundation platform graphics database frames records catalog
  dialogs dbdoc carddoc)
# 17. The application: the main window, its menus and bars, the documents.
tessaline_layer(app WINDOWS DEPENDS resources foundation platform graphics typography database frames toolbase
  text records catalog dialogs dbdoc carddoc wizard USES Qt6::PrintSupport)

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
