# `cmake --install build [--prefix /usr/local]` puts:
#   bin/zenithwand, bin/zorcam-sim-ctl            the program and the simulator's mount tool
#   lib/zenithwand/libzorcam.so                    the camera library (the program looks for it
#                                                  beside itself, then in ../lib/zenithwand);
#   lib/zenithwand/libzorcam-indi.so               the INDI camera library, when it is built
#   share/zenithwand/Blend.Style, Dark.Style       the style files (looked up beside the program,
#                                                  then in ../share/zenithwand, then the current folder)
#   share/applications/com.example.zenithwand.desktop   the desktop menu entry
#   share/icons/hicolor/256x256/apps/zenithwand.png
#   share/metainfo/com.example.zenithwand.metainfo.xml  the software-centre description
#   share/man/man1/zenithwand.1.gz, zorcam-sim-ctl.1.gz
#   share/doc/zenithwand/copyright, changelog.gz
# The language tables, star data and pictures are compiled into the program.
# An installed program (share/zenithwand beside its bin folder) keeps its settings in
# the user's configuration folder. cmake/Package.cmake makes a Debian package of this.
include(GNUInstallDirs)

set(ZW_APP_ID com.example.zenithwand)

install(TARGETS zenithwand RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(_camera_library zorcam zorcam-indi)
  if(TARGET ${_camera_library})
    install(TARGETS ${_camera_library} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/zenithwand)
  endif()
endforeach()
if(TARGET zorcam-sim-ctl)
  install(TARGETS zorcam-sim-ctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/resources/styles/Blend.Style ${CMAKE_SOURCE_DIR}/resources/styles/Dark.Style
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zenithwand)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/zenithwand.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${ZW_APP_ID}.desktop)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/zenithwand.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME ${ZW_APP_ID}.metainfo.xml)
install(FILES ${CMAKE_SOURCE_DIR}/resources/images/zenithwand.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

# Manual pages and the changelog go compressed, as Debian wants them (gzip -9n:
# no name or time stamp, so the package is the same from one build to the next).
set(_zw_gz_dir ${CMAKE_BINARY_DIR}/packaging)
set(_zw_gz_files)
foreach(_f zenithwand.1 zorcam-sim-ctl.1 changelog)
  add_custom_command(OUTPUT ${_zw_gz_dir}/${_f}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_zw_gz_dir}
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/${_f} > ${_zw_gz_dir}/${_f}.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${_f} VERBATIM)
  list(APPEND _zw_gz_files ${_zw_gz_dir}/${_f}.gz)
endforeach()
add_custom_target(zw_packaging_docs ALL DEPENDS ${_zw_gz_files})
install(FILES ${_zw_gz_dir}/zenithwand.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET zorcam-sim-ctl)
  install(FILES ${_zw_gz_dir}/zorcam-sim-ctl.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${_zw_gz_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zenithwand)

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
