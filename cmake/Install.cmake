# `cmake --install` on Linux: the program, its pictures in the data folder
# (where the launcher looks for them, relative to the program), the man page,
# the desktop icon and the freedesktop entry.
if(WIN32)
  return()
endif()
install(TARGETS Quillmere RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
list(TRANSFORM QM_PICTURE_FILES PREPEND ${QM_RUNTIME_DIR}/ OUTPUT_VARIABLE qm_pictures)
install(FILES ${qm_pictures} DESTINATION ${QM_INSTALL_DATA_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/dist/Quillmere.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/quillmere.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
install(FILES ${PROJECT_SOURCE_DIR}/dist/quillmere.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
