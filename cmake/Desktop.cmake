# The desktop around the program: its desktop entry, the card and database
# file types (shared-mime-info), and the icons of the program and of both
# file types at the sizes desktops look for. The icons are drawn as SVG in
# resources/desktop and turned into PNG files here with rsvg-convert
# (package librsvg2-bin).
#
# Everything is staged into the build tree at the place an installation
# puts it (share/applications, share/mime/packages, share/icons), so that
# a program run from the build tree finds the same files an installed one
# does when it registers itself with the user's desktop.
set(TESSALINE_DESKTOP_SOURCE ${CMAKE_SOURCE_DIR}/resources/desktop)
set(TESSALINE_STAGED_SHARE ${CMAKE_BINARY_DIR}/share)
set(TESSALINE_ICON_SIZES 16 22 24 32 48 64 128 256)

find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert is missing (package librsvg2-bin): it draws the program's icons")
endif()

set(desktop_outputs)
foreach(pair IN ITEMS "tessaline.desktop|applications" "tessaline.xml|mime/packages")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 folder)
  add_custom_command(OUTPUT ${TESSALINE_STAGED_SHARE}/${folder}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TESSALINE_DESKTOP_SOURCE}/${name}
            ${TESSALINE_STAGED_SHARE}/${folder}/${name}
    DEPENDS ${TESSALINE_DESKTOP_SOURCE}/${name})
  list(APPEND desktop_outputs ${TESSALINE_STAGED_SHARE}/${folder}/${name})
  install(FILES ${TESSALINE_DESKTOP_SOURCE}/${name} DESTINATION share/${folder})
endforeach()

foreach(icon IN ITEMS "tessaline|apps" "application-x-tessaline-card|mimetypes"
                      "application-x-tessaline-database|mimetypes")
  string(REPLACE "|" ";" icon "${icon}")
  list(GET icon 0 name)
  list(GET icon 1 context)
  set(svg ${TESSALINE_DESKTOP_SOURCE}/${name}.svg)
  set(scalable ${TESSALINE_STAGED_SHARE}/icons/hicolor/scalable/${context}/${name}.svg)
  add_custom_command(OUTPUT ${scalable}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${svg} ${scalable}
    DEPENDS ${svg})
  list(APPEND desktop_outputs ${scalable})
  foreach(size IN LISTS TESSALINE_ICON_SIZES)
    set(folder ${TESSALINE_STAGED_SHARE}/icons/hicolor/${size}x${size}/${context})
    add_custom_command(OUTPUT ${folder}/${name}.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${folder}/${name}.png ${svg}
      DEPENDS ${svg}
      VERBATIM)
    list(APPEND desktop_outputs ${folder}/${name}.png)
  endforeach()
endforeach()
add_custom_target(tessaline_desktop ALL DEPENDS ${desktop_outputs})
install(DIRECTORY ${TESSALINE_STAGED_SHARE}/icons DESTINATION share)

# A plain installation into a prefix is usable at once: the prefix's MIME
# database and desktop entry cache are brought up to date, unless the files
# are only being staged for a package (DESTDIR), whose own scripts do it.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    find_program(UPDATE_MIME_DATABASE update-mime-database)
    if(UPDATE_MIME_DATABASE)
      execute_process(COMMAND ${UPDATE_MIME_DATABASE} "${CMAKE_INSTALL_PREFIX}/share/mime")
    endif()
    find_program(UPDATE_DESKTOP_DATABASE update-desktop-database)
    if(UPDATE_DESKTOP_DATABASE)
      execute_process(COMMAND ${UPDATE_DESKTOP_DATABASE} -q "${CMAKE_INSTALL_PREFIX}/share/applications")
    endif()
  endif()
]])
