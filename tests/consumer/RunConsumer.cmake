# One step of the installed package's check, run by ctest as
#   cmake -DSTEP=<step> -DBUILD_DIR=... -DWORK_DIR=... -P RunConsumer.cmake
# install     installs BUILD_DIR into WORK_DIR/prefix; fails when an installed
#             header includes oneTBB, which consumers need not have
# cmake       configures, builds and runs the consumer of SOURCE_DIR and its
#             GoogleTest test against the installed CMake package, with oneTBB
#             hidden from find_package and without the project's WARNINGS
#             (they are the project's, not its users')
# pkg-config  compiles the consumer with the flags pkg-config gives for the
#             installed library and simulated host, and the GoogleTest test
#             with those of WyrdanSimHostGTest, seeing only the package's,
#             ICU's and GoogleTest's .pc files, and runs them
# subproject  configures a project that adds PROJECT_DIR with add_subdirectory
set(prefix "${WORK_DIR}/prefix")
include("${CMAKE_CURRENT_LIST_DIR}/../CheckCompileFlags.cmake")

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGV}")
  endif()
endfunction()

# Output of a command that must succeed.
function(capture variable)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${output}")
  endif()
  set(${variable} "${output}" PARENT_SCOPE)
endfunction()

# Runs the GoogleTest program `test`, with `ARGN` before it (an environment),
# and fails unless its 2 tests ran and passed.
function(run_gtest test)
  capture(output ${ARGN} "${test}")
  if(NOT output MATCHES "\\[  PASSED  \\] 2 tests\\.")
    message(FATAL_ERROR "${test} did not pass its 2 tests:\n${output}")
  endif()
endfunction()

if(STEP STREQUAL "install")
  file(REMOVE_RECURSE "${prefix}")
  run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
  file(GLOB_RECURSE headers "${prefix}/${INCLUDEDIR}/*.h")
  if(NOT headers)
    message(FATAL_ERROR "no header installed under ${prefix}/${INCLUDEDIR}")
  endif()
  foreach(header IN LISTS headers)
    file(STRINGS "${header}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](tbb|oneapi)/")
    if(includes)
      message(FATAL_ERROR "${header} includes oneTBB: ${includes}")
    endif()
  endforeach()

elseif(STEP STREQUAL "cmake")
  set(work "${WORK_DIR}/cmake-consumer")
  file(REMOVE_RECURSE "${work}")
  run(${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${work}" -G Ninja
      "-DCMAKE_PREFIX_PATH=${prefix}"
      -DCMAKE_DISABLE_FIND_PACKAGE_TBB=ON
      "-DWYRDAN_VERSION=${VERSION}"
      "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}"
      "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
      -DCMAKE_EXPORT_COMPILE_COMMANDS=ON)
  separate_arguments(warnings UNIX_COMMAND "${WARNINGS}")
  if(NOT warnings)
    message(FATAL_ERROR "WARNINGS names no warning option")
  endif()
  check_compile_flags("${work}/compile_commands.json" "/main\\.cpp$" ABSENT ${warnings} -Werror)
  run(${CMAKE_COMMAND} --build "${work}")
  run("${work}/consumer")
  run_gtest("${work}/plugin_test")

elseif(STEP STREQUAL "pkg-config")
  if(NOT PKG_CONFIG)
    message(FATAL_ERROR "pkg-config is needed for this test (scripts/bootstrap.sh test installs it)")
  endif()
  set(work "${WORK_DIR}/pkg-config-consumer")
  file(REMOVE_RECURSE "${work}")
  # A search path with the package, ICU and GoogleTest alone, as on a
  # machine with no other development files.
  foreach(dependency icu-uc gtest gmock)
    capture(pc_dir ${PKG_CONFIG} --variable=pcfiledir ${dependency})
    file(COPY "${pc_dir}/${dependency}.pc" DESTINATION "${work}/pkgconfig")
  endforeach()
  set(ENV{PKG_CONFIG_LIBDIR} "${prefix}/${LIBDIR}/pkgconfig:${work}/pkgconfig")
  unset(ENV{PKG_CONFIG_PATH})
  foreach(package zol-host-sdk WyrdanPluginUtilities WyrdanSimHost WyrdanSimHostGTest)
    # Validation covers the required packages too: only the package's own files count.
    capture(problems ${PKG_CONFIG} --validate ${package})
    if(problems MATCHES "${prefix}[^\n]*")
      message(FATAL_ERROR "${package}.pc: ${CMAKE_MATCH_0}")
    endif()
    capture(version ${PKG_CONFIG} --modversion ${package})
    if(NOT version STREQUAL VERSION)
      message(FATAL_ERROR "${package}.pc has version ${version}, not ${VERSION}")
    endif()
  endforeach()
  capture(flags ${PKG_CONFIG} --cflags --libs WyrdanPluginUtilities WyrdanSimHost)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
  # The consumer chooses its language version; everything else comes from pkg-config.
  run("${CXX_COMPILER}" ${cxx_flags} -std=c++17 "${SOURCE_DIR}/main.cpp" ${flags} -o "${work}/consumer")
  run(${CMAKE_COMMAND} -E env "LD_LIBRARY_PATH=${prefix}/${LIBDIR}" "${work}/consumer")

  capture(flags ${PKG_CONFIG} --cflags --libs WyrdanSimHostGTest)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  run("${CXX_COMPILER}" ${cxx_flags} -std=c++17 "${SOURCE_DIR}/plugin_test.cpp" ${flags} -o "${work}/plugin_test")
  run_gtest("${work}/plugin_test" ${CMAKE_COMMAND} -E env "LD_LIBRARY_PATH=${prefix}/${LIBDIR}")

elseif(STEP STREQUAL "subproject")
  set(work "${WORK_DIR}/subproject")
  file(REMOVE_RECURSE "${work}")
  run(${CMAKE_COMMAND} -S "${SOURCE_DIR}/subproject" -B "${work}" -G Ninja
      "-DWYRDAN_SOURCE_DIR=${PROJECT_DIR}"
      "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}")

else()
  message(FATAL_ERROR "unknown STEP '${STEP}'")
endif()
