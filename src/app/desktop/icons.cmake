# The program's icon as PNG in the usual hicolor sizes, drawn from the SVG at
# build time with rsvg-convert (librsvg2-bin), for the desktops and software
# centres that show no SVG. The SVG itself is installed beside them.
find_program(SORVANEL_RSVG_CONVERT rsvg-convert)
if(NOT SORVANEL_RSVG_CONVERT)
  message(WARNING "rsvg-convert (librsvg2-bin) not found: no PNG icons are built")
  return()
endif()

set(SORVANEL_ICON_SVG ${CMAKE_SOURCE_DIR}/src/window/icons/sorvanel.svg)
set(SORVANEL_ICON_PNGS)
foreach(size 16 32 48 64 128 256)
  set(folder ${CMAKE_BINARY_DIR}/icons/${size}x${size})
  add_custom_command(OUTPUT ${folder}/sorvanel.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${SORVANEL_RSVG_CONVERT} -w ${size} -h ${size}
      -o ${folder}/sorvanel.png ${SORVANEL_ICON_SVG}
    DEPENDS ${SORVANEL_ICON_SVG} VERBATIM)
  list(APPEND SORVANEL_ICON_PNGS ${folder}/sorvanel.png)
  install(FILES ${folder}/sorvanel.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(icons ALL DEPENDS ${SORVANEL_ICON_PNGS})
