# `cmake --install build [--prefix /usr/local]` puts:
#   bin/zenithwand, bin/zorcam-sim-ctl            the program and the simulator's mount tool
#   lib/zenithwand/libzorcam.so                    the camera library (the program looks for it
#                                                  beside itself, then in ../lib/zenithwand)
#   share/zenithwand/Blend.Style, Dark.Style       the style files (looked up beside the program,
#                                                  then in ../share/zenithwand, then the current folder)
#   share/applications/zenithwand.desktop          the desktop menu entry
#   share/icons/hicolor/256x256/apps/zenithwand.png
include(GNUInstallDirs)

install(TARGETS zenithwand RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zorcam)
  install(TARGETS zorcam LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/zenithwand)
endif()
if(TARGET zorcam-sim-ctl)
  install(TARGETS zorcam-sim-ctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/resources/styles/Blend.Style ${CMAKE_SOURCE_DIR}/resources/styles/Dark.Style
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zenithwand)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/zenithwand.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/images/zenithwand.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
