# `cmake --install build [--prefix /usr/local]` puts:
#   bin/zenithwand, bin/zorcam-sim-ctl            the program and the simulator's mount tool
#   lib/<multiarch>/zenithwand/libzorcam.so       the camera library (the program looks for it
#                                                  beside itself, then in this folder)
#   lib/<multiarch>/zenithwand/libzorcam-indi.so  the INDI camera library, when it is built
#   share/zenithwand/Blend.Style, Dark.Style, Night.Style  the style files (looked up beside the program,
#                                                  then in ../share/zenithwand, then the current folder)
#   share/applications/com.example.zenithwand.desktop   the desktop menu entry
#   share/icons/hicolor/256x256/apps/zenithwand.png
#   share/metainfo/com.example.zenithwand.metainfo.xml  the software-centre description
#   share/man/man1/zenithwand.1.gz, zorcam-sim-ctl.1.gz
#   share/doc/zenithwand/copyright, changelog.gz
# <multiarch> is the platform's library triplet (x86_64-linux-gnu): the private
# libraries of one architecture stay apart, and none sits where the system's
# linker looks. The language tables, star data and pictures are compiled into the
# program. An installed program (share/zenithwand beside its bin folder) keeps its
# settings in the user's configuration folder. cmake/Package.cmake makes a Debian
# package of this.
include(GNUInstallDirs)

set(ZW_APP_ID com.example.zenithwand)
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(ZW_CAMERA_LIBRARY_DIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/zenithwand)
else()
  set(ZW_CAMERA_LIBRARY_DIR lib/zenithwand)
endif()
# The program finds that folder from its own.
file(RELATIVE_PATH _zw_camera_library_from_bin /p/${CMAKE_INSTALL_BINDIR} /p/${ZW_CAMERA_LIBRARY_DIR})
set_source_files_properties(${CMAKE_SOURCE_DIR}/camera/Zorcamlib.cpp TARGET_DIRECTORY zw_gui
  PROPERTIES COMPILE_DEFINITIONS ZW_CAMERA_LIBRARY_DIR="${_zw_camera_library_from_bin}")

install(TARGETS zenithwand RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(_camera_library zorcam zorcam-indi)
  if(TARGET ${_camera_library})
    install(TARGETS ${_camera_library} LIBRARY DESTINATION ${ZW_CAMERA_LIBRARY_DIR})
  endif()
endforeach()
if(TARGET zorcam-sim-ctl)
  install(TARGETS zorcam-sim-ctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/resources/styles/Blend.Style ${CMAKE_SOURCE_DIR}/resources/styles/Dark.Style
              ${CMAKE_SOURCE_DIR}/resources/styles/Night.Style
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
