# cmake -DBUILD_DIR=... -DWORK_DIR=... -DCXX=... [-DFLAGS=...] -P check.cmake
#
# Installs the build BUILD_DIR into a fresh prefix under WORK_DIR, builds
# this folder's host programs against it twice (find_package, and pkg-config
# with the compiler alone), runs them and checks that:
#   - the installed engine reads the installed catalogues, not the source tree's;
#   - the text of Sirius they print is the installed `vexclk text`'s, and Japanese;
#   - the installed windows select the installed fonts configuration.
# FLAGS: the compile and link flags of the build (its sanitizers).
set(here ${CMAKE_CURRENT_LIST_DIR})
set(prefix ${WORK_DIR}/prefix)
set(time 2026-01-01T21:00)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/home)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err
                  WORKING_DIRECTORY ${WORK_DIR})
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# The programs run with an empty settings store and no overrides.
set(clean_env ${CMAKE_COMMAND} -E env --unset=VEXCLK_DATA --unset=FONTCONFIG_FILE
    --unset=XDG_CONFIG_HOME --unset=XDG_DATA_HOME HOME=${WORK_DIR}/home)
function(expect_equal what actual expected)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${what}:\n  got:      '${actual}'\n  expected: '${expected}'")
  endif()
endfunction()

run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(installed bin/vexclk bin/vexclk-palette share/vexclk/data/stars.tsv
        share/vexclk/fonts/fonts.conf include/vexclk/clickdata/click_data.h
        include/vexclk/host/ui/ui_misc.h lib/cmake/vexclk/vexclkConfig.cmake)
  if(NOT EXISTS ${prefix}/${installed})
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()

run("vexclk text" ${clean_env} ${prefix}/bin/vexclk text --raw --time ${time} Star.HIP32349)
set(text "${out}")
if(NOT text MATCHES "シリウス" OR NOT text MATCHES "おおいぬ座")
  message(FATAL_ERROR "the installed vexclk gave no text of Sirius:\n${text}")
endif()
set(expected "data: ${prefix}/share/vexclk/data\n${text}")

# find_package(vexclk CONFIG)
run("configuring the package user" ${CMAKE_COMMAND} -S ${here} -B ${WORK_DIR}/cmake-user
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Debug
    "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
run("building the package user" ${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-user)
file(READ ${WORK_DIR}/cmake-user/data_dir.txt data_dir)
expect_equal("vexclk_DATA_DIR" "${data_dir}" "${prefix}/share/vexclk/data")
run("sirius (find_package)" ${clean_env} ${WORK_DIR}/cmake-user/sirius ${time})
expect_equal("sirius (find_package)" "${out}" "${expected}")
run("fonts (find_package)" ${clean_env} ${WORK_DIR}/cmake-user/fonts)
expect_equal("fonts (find_package)" "${out}" "fonts: ${prefix}/share/vexclk/fonts/fonts.conf\n")

# pkg-config vexclk, and the compiler alone
set(pc_env ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/lib/pkgconfig)
run("pkg-config" ${pc_env} pkg-config --cflags --libs vexclk)
separate_arguments(pc_flags UNIX_COMMAND "${out}")
separate_arguments(flags UNIX_COMMAND "${FLAGS}")
run("building with pkg-config" ${CXX} -std=c++20 ${flags} ${here}/sirius.cpp -o
    ${WORK_DIR}/pc-sirius ${pc_flags})
run("pkg-config datadir" ${pc_env} pkg-config --variable=datadir vexclk)
string(STRIP "${out}" pc_data_dir)
file(REAL_PATH "${pc_data_dir}" pc_data_dir)
expect_equal("pkg-config datadir" "${pc_data_dir}" "${prefix}/share/vexclk/data")
run("sirius (pkg-config)" ${clean_env} ${WORK_DIR}/pc-sirius ${time})
expect_equal("sirius (pkg-config)" "${out}" "${expected}")
message(STATUS "installed into ${prefix}; both host programs print the installed text of Sirius")
