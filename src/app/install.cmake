# Installing the program like a desktop program: the executables with their
# system/ and Styles/ folders under <prefix>/lib/sorvanel/ (the program
# folder), links in <prefix>/bin, a desktop entry, icons and the MIME type
# of account files (".fz", "账簿文件"), so file managers open them with it;
# AppStream metadata for software centres, the manual pages, the bash
# completion of sorvanel-cli and the user guide.
set(SORVANEL_PROGRAM_DIR lib/sorvanel)
install(TARGETS sorvanel sorvanel-cli RUNTIME DESTINATION ${SORVANEL_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/system/ DESTINATION ${SORVANEL_PROGRAM_DIR}/system
  FILES_MATCHING PATTERN "*.fz" PATTERN "*.json")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/src/app/Styles/ DESTINATION ${SORVANEL_PROGRAM_DIR}/Styles)
# Qt's own dialogs in Chinese (Debian's qt6-translations-l10n); the program
# also finds them in Qt's folder, the copy serves a program moved elsewhere.
find_file(SORVANEL_QT_CHINESE qtbase_zh_CN.qm
  PATHS /usr/share/qt6/translations ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}
  NO_DEFAULT_PATH)
if(SORVANEL_QT_CHINESE AND SORVANEL_BUNDLE_QT_TRANSLATIONS)
  install(FILES ${SORVANEL_QT_CHINESE} DESTINATION ${SORVANEL_PROGRAM_DIR}/translations)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/src/app/desktop/sorvanel.desktop
  DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/src/window/icons/sorvanel.svg
  DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/src/app/desktop/sorvanel-mime.xml
  DESTINATION share/mime/packages RENAME sorvanel.xml)
install(FILES ${CMAKE_SOURCE_DIR}/src/app/desktop/org.example.sorvanel.metainfo.xml
  DESTINATION share/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/docs/man/sorvanel.1
  ${CMAKE_SOURCE_DIR}/docs/man/sorvanel-cli.1 DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/src/app/desktop/sorvanel-cli.bash
  DESTINATION share/bash-completion/completions RENAME sorvanel-cli)
include(${CMAKE_SOURCE_DIR}/src/app/desktop/icons.cmake)
include(${CMAKE_SOURCE_DIR}/docs/guide/guide.cmake)
install(CODE [[
  set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  file(MAKE_DIRECTORY "${prefix}/bin")
  foreach(program sorvanel sorvanel-cli)
    file(REMOVE "${prefix}/bin/${program}")
    file(CREATE_LINK "../lib/sorvanel/${program}" "${prefix}/bin/${program}" SYMBOLIC)
  endforeach()
  # Desktop databases are refreshed when the tools are there and the
  # install is not staged for a package.
  if(NOT DEFINED ENV{DESTDIR})
    find_program(UPDATE_MIME update-mime-database)
    find_program(UPDATE_DESKTOP update-desktop-database)
    if(UPDATE_MIME)
      execute_process(COMMAND ${UPDATE_MIME} "${prefix}/share/mime" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(UPDATE_DESKTOP)
      execute_process(COMMAND ${UPDATE_DESKTOP} "${prefix}/share/applications" OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]])
