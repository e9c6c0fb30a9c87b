# cmake --install [--prefix P]: the libraries with their headers, the
# programs, the files the engine reads at run time, and the package files
# for find_package(vexclk CONFIG) and pkg-config (vexclk.pc).
#
#   P/lib/libvexclk_*.a, P/include/vexclk/<folder>/*.h   ("clickdata/click_data.h")
#   P/bin/vexclk, vexclk-palette (and vexclk-gui when it is built)
#   P/share/vexclk/data/*.tsv, P/share/vexclk/fonts/fonts.conf
#   P/lib/cmake/vexclk/, P/lib/pkgconfig/vexclk.pc
include(CMakePackageConfigHelpers)

set(VEXCLK_CORE_LIBRARIES vexclk_host vexclk_net vexclk_engine vexclk_settings vexclk_res
    vexclk_cdf vexclk_clickdata vexclk_sky vexclk_thumbs)
set(VEXCLK_WINDOW_LIBRARIES vexclk_ui vexclk_thumbs_ui vexclk_palette)
set(VEXCLK_PROGRAMS vexclk vexclk-palette)
if(TARGET vexclk-gui)
  list(APPEND VEXCLK_PROGRAMS vexclk-gui)
endif()
set(VEXCLK_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/vexclk)
set(VEXCLK_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/vexclk)

# vexclk::host, vexclk::sky, vexclk::palette, ...
foreach(library IN LISTS VEXCLK_CORE_LIBRARIES VEXCLK_WINDOW_LIBRARIES)
  string(REPLACE "vexclk_" "" name ${library})
  set_target_properties(${library} PROPERTIES EXPORT_NAME ${name})
endforeach()
# Two sets, so that a program using only the core needs no Qt.
install(TARGETS ${VEXCLK_CORE_LIBRARIES} EXPORT vexclkTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS ${VEXCLK_WINDOW_LIBRARIES} EXPORT vexclkWindowTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT vexclkTargets NAMESPACE vexclk:: DESTINATION ${VEXCLK_CMAKE_DIR})
install(EXPORT vexclkWindowTargets NAMESPACE vexclk:: DESTINATION ${VEXCLK_CMAKE_DIR})
install(TARGETS ${VEXCLK_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Headers keep the folders the build publishes (host/ui/ inside host/).
foreach(folder host engine settings res cdf clickdata sky thumbs palette)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vexclk/${folder}
          FILES_MATCHING PATTERN "*.h")
endforeach()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${VEXCLK_SHARE_DIR}/data
        FILES_MATCHING PATTERN "*.tsv" PATTERN "README.md")
install(FILES ${PROJECT_SOURCE_DIR}/res/fonts/fonts.conf DESTINATION ${VEXCLK_SHARE_DIR}/fonts)

configure_package_config_file(cmake/vexclkConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/vexclkConfig.cmake INSTALL_DESTINATION ${VEXCLK_CMAKE_DIR}
  PATH_VARS VEXCLK_SHARE_DIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/vexclkConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vexclkConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/vexclkConfigVersion.cmake
        DESTINATION ${VEXCLK_CMAKE_DIR})
file(RELATIVE_PATH VEXCLK_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" VEXCLK_PC_TO_PREFIX "${VEXCLK_PC_TO_PREFIX}")
configure_file(cmake/vexclk.pc.in ${CMAKE_CURRENT_BINARY_DIR}/vexclk.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vexclk.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Each installed binary learns its prefix: the install slot (host/install_dir.h)
# of every copy that holds one is filled with P/share/vexclk, whatever P the
# install is given.  Files land under $DESTDIR when it is set, but the slot
# names the prefix the programs will run from.
add_executable(vexclk-relocate cmake/relocate.cpp)
target_link_libraries(vexclk-relocate PRIVATE vexclk_host)
set(relocated ${CMAKE_INSTALL_LIBDIR}/$<TARGET_FILE_NAME:vexclk_host>)
foreach(program IN LISTS VEXCLK_PROGRAMS)
  list(APPEND relocated ${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${program}>)
endforeach()
install(CODE "
  set(relocate \"$<TARGET_FILE:vexclk-relocate>\")
  set(relocated \"${relocated}\")
  set(share_dir \"${VEXCLK_SHARE_DIR}\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/relocate_installed.cmake\")
")
