# Desktop integration: the launcher entry, the *.redu file type and the icon.
# Installed beside the program (which is installed with its run-time files by the
# main build); the build tree uses none of them.
include(GNUInstallDirs)
if(RADOVE_BUILD_UI)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/radove.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/radove-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME radove.xml)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/radove.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
