# Part of the install script (cmake/install.cmake): fills the install slot of
# the installed copies listed in `relocated` (paths under the prefix) with
# the prefix's `share_dir`, running the program `relocate`.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(files)
foreach(file IN LISTS relocated)
  list(APPEND files "$ENV{DESTDIR}${prefix}/${file}")
endforeach()
if(NOT IS_ABSOLUTE "${share_dir}")
  set(share_dir "${prefix}/${share_dir}")
endif()
message(STATUS "Installed programs look for their data in ${share_dir}")
execute_process(COMMAND "${relocate}" "${share_dir}" ${files} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "vexclk-relocate failed (${status}): the installed programs would not "
                      "find their data")
endif()
