# The user guide (HTML written here, with the screenshots that
# scripts/guide-screenshots takes). It is copied beside the program in the
# build folder, where the program looks for it as it looks for system/, and
# installed under share/doc/sorvanel/guide.
file(GLOB SORVANEL_GUIDE_FILES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/*.html ${CMAKE_CURRENT_LIST_DIR}/*.css
  ${CMAKE_CURRENT_LIST_DIR}/images/*.png)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/guide/index.html
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${CMAKE_BINARY_DIR}/guide
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_LIST_DIR}
    ${CMAKE_BINARY_DIR}/guide
  COMMAND ${CMAKE_COMMAND} -E remove ${CMAKE_BINARY_DIR}/guide/guide.cmake
  DEPENDS ${SORVANEL_GUIDE_FILES} VERBATIM)
add_custom_target(guide ALL DEPENDS ${CMAKE_BINARY_DIR}/guide/index.html)

install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/ DESTINATION share/doc/sorvanel/guide
  FILES_MATCHING PATTERN "*.html" PATTERN "*.css" PATTERN "*.png")
