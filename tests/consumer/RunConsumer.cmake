# One step of the installed package's check, run by ctest as
#   cmake -DSTEP=<step> -DBUILD_DIR=... -DWORK_DIR=... -P RunConsumer.cmake
# install     installs BUILD_DIR into WORK_DIR/prefix; fails when an installed
#             header includes oneTBB, which consumers need not have, when an
#             installed library carries a run path or a SONAME other than
#             lib<name>.so.SOVERSION, when the licence is missing, or when the
#             package's version check accepts other versions than the library
#             keeps the interface of
# cmake       configures, builds and runs the consumer of SOURCE_DIR,
#             my_plugin_check, and its GoogleTest test, my_plugin_tests,
#             against the installed CMake package, with oneTBB hidden from
#             find_package and without the project's WARNINGS (they are the
#             project's, not its users'); fails unless the README's CMake lines
#             for them are the consumer's
# pkg-config  compiles my_plugin_check (main.cpp) and my_plugin_tests
#             (plugin_test.cpp) with the README's pkg-config lines for them,
#             seeing only the package's, ICU's and GoogleTest's .pc files, and
#             runs them with the README's LD_LIBRARY_PATH
# subproject  configures a project that adds PROJECT_DIR with add_subdirectory
cmake_policy(VERSION 3.25)
set(prefix "${WORK_DIR}/prefix")
set(readme "${PROJECT_DIR}/README.md")
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

  # Every library is found by its SONAME in the loader's folders (or through
  # LD_LIBRARY_PATH), none through a run path of its own.
  set(libraries WyrdanPluginUtilities WyrdanZolKernel WyrdanSimHost WyrdanSimHostGTest)
  string(REPLACE "." "\\." soversion "${SOVERSION}")
  foreach(library IN LISTS libraries)
    set(file "${prefix}/${LIBDIR}/lib${library}.so.${VERSION}")
    if(NOT EXISTS "${file}")
      message(FATAL_ERROR "lib${library}.so.${VERSION} is not installed in ${prefix}/${LIBDIR}")
    endif()
    capture(dynamic "${READELF}" -d "${file}")
    if(NOT dynamic MATCHES "Library soname: \\[lib${library}\\.so\\.${soversion}\\]")
      message(FATAL_ERROR "lib${library}.so.${VERSION} has not the SONAME lib${library}.so.${SOVERSION}:\n${dynamic}")
    endif()
    if(dynamic MATCHES "\\((RUNPATH|RPATH)\\)[^\n]*")
      message(FATAL_ERROR "lib${library}.so.${VERSION} carries a run path: ${CMAKE_MATCH_0}")
    endif()
  endforeach()
  if(NOT EXISTS "${prefix}/${DOCDIR}/LICENSE")
    message(FATAL_ERROR "the licence is not installed in ${prefix}/${DOCDIR}")
  endif()

  # The package's version check accepts the versions whose interface the
  # library keeps, as Version::isCompatible does: before 1.0 the same minor
  # version, from 1.0 on an older or the same minor version of its major.
  string(REPLACE "." ";" numbers "${VERSION}")
  list(GET numbers 0 major)
  list(GET numbers 1 minor)
  math(EXPR next_minor "${minor} + 1")
  math(EXPR next_major "${major} + 1")
  set(requests "${major}.${minor}=TRUE" "${major}.${minor}.0=TRUE" "${major}.${next_minor}=FALSE"
               "${next_major}.0=FALSE")
  if(minor GREATER 0)
    math(EXPR previous_minor "${minor} - 1")
    if(major EQUAL 0)
      list(APPEND requests "${major}.${previous_minor}=FALSE")
    else()
      list(APPEND requests "${major}.${previous_minor}=TRUE")
    endif()
  endif()
  foreach(request IN LISTS requests)
    string(REPLACE "=" ";" request "${request}")
    list(GET request 0 PACKAGE_FIND_VERSION)
    list(GET request 1 expected)
    string(REPLACE "." ";" wanted "${PACKAGE_FIND_VERSION}")
    list(GET wanted 0 PACKAGE_FIND_VERSION_MAJOR)
    list(GET wanted 1 PACKAGE_FIND_VERSION_MINOR)
    set(PACKAGE_FIND_VERSION_RANGE FALSE)
    set(PACKAGE_VERSION_COMPATIBLE)
    include("${prefix}/${LIBDIR}/cmake/WyrdanPluginUtilities/WyrdanPluginUtilitiesConfigVersion.cmake")
    if(NOT PACKAGE_VERSION_COMPATIBLE STREQUAL expected)
      message(FATAL_ERROR "the package ${VERSION} answers ${PACKAGE_VERSION_COMPATIBLE} to a request for "
                          "${PACKAGE_FIND_VERSION}, not ${expected}")
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
  # The README's lines for the two programs are the consumer's, word for word.
  file(STRINGS "${readme}" readme_lines
       REGEX "^(find_package\\(GTest |target_link_libraries\\(my_plugin_(tests|check) )")
  if(NOT readme_lines MATCHES "find_package.*my_plugin_tests.*my_plugin_check")
    message(FATAL_ERROR "the README's CMake lines for the package's users are not found: ${readme_lines}")
  endif()
  file(STRINGS "${SOURCE_DIR}/CMakeLists.txt" consumer_lines)
  foreach(line IN LISTS readme_lines)
    if(NOT line IN_LIST consumer_lines)
      message(FATAL_ERROR "the README's line\n  ${line}\nis not in ${SOURCE_DIR}/CMakeLists.txt")
    endif()
  endforeach()
  run(${CMAKE_COMMAND} --build "${work}")
  # The build's run path names the prefix, but my_plugin_check needs the SDK
  # runtime only through the library, which has no run path.
  set(library_path "LD_LIBRARY_PATH=${prefix}/${LIBDIR}")
  run(${CMAKE_COMMAND} -E env "${library_path}" "${work}/my_plugin_check")
  run_gtest("${work}/my_plugin_tests" ${CMAKE_COMMAND} -E env "${library_path}")

elseif(STEP STREQUAL "pkg-config")
  if(NOT PKG_CONFIG)
    message(FATAL_ERROR "pkg-config is needed for this test (scripts/bootstrap.sh test installs it)")
  endif()
  set(work "${WORK_DIR}/pkg-config-consumer")
  file(REMOVE_RECURSE "${work}")
  # A search path with the package, ICU and GoogleTest alone, as on a
  # machine with no other development files.
  foreach(dependency icu-uc gtest gmock gmock_main)
    capture(pc_dir ${PKG_CONFIG} --variable=pcfiledir ${dependency})
    file(COPY "${pc_dir}/${dependency}.pc" DESTINATION "${work}/pkgconfig")
  endforeach()
  set(ENV{PKG_CONFIG_LIBDIR} "${prefix}/${LIBDIR}/pkgconfig:${work}/pkgconfig")
  unset(ENV{PKG_CONFIG_PATH})
  foreach(package WyrdanZolKernel WyrdanPluginUtilities WyrdanSimHost WyrdanSimHostGTest)
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
  # The README's lines: the program, pkg-config's modules and the output.
  set(pattern "^c\\+\\+ -std=c\\+\\+17 (my_plugin_[a-z]+)\\.cpp \\$\\(pkg-config --cflags --libs ([^)]+)\\) -o ([a-z_]+)$")
  file(STRINGS "${readme}" lines REGEX "${pattern}")
  list(LENGTH lines count)
  if(NOT count EQUAL 2)
    message(FATAL_ERROR "the README has ${count} pkg-config lines for my_plugin_test and my_plugin_check, not 2")
  endif()
  file(STRINGS "${readme}" run_line REGEX "^LD_LIBRARY_PATH=\"\\$HOME/wyrdan/([^\"]+)\" \\./my_plugin_tests$")
  if(NOT run_line MATCHES "LD_LIBRARY_PATH=\"\\$HOME/wyrdan/([^\"]+)\"")
    message(FATAL_ERROR "the README's line that runs my_plugin_tests is not found")
  endif()
  set(library_path "${prefix}/${CMAKE_MATCH_1}")
  separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
  set(built)
  foreach(line IN LISTS lines)
    string(REGEX MATCH "${pattern}" line "${line}")
    set(program "${CMAKE_MATCH_3}")
    separate_arguments(modules UNIX_COMMAND "${CMAKE_MATCH_2}")
    if(CMAKE_MATCH_1 STREQUAL "my_plugin_test")
      set(source plugin_test.cpp)
    elseif(CMAKE_MATCH_1 STREQUAL "my_plugin_check")
      set(source main.cpp)
    else()
      message(FATAL_ERROR "the README's pkg-config line compiles ${CMAKE_MATCH_1}.cpp, which the consumer has not")
    endif()
    capture(flags ${PKG_CONFIG} --cflags --libs ${modules})
    separate_arguments(flags UNIX_COMMAND "${flags}")
    # The consumer chooses its language version; everything else comes from pkg-config.
    run("${CXX_COMPILER}" ${cxx_flags} -std=c++17 "${SOURCE_DIR}/${source}" ${flags} -o "${work}/${program}")
    list(APPEND built ${program})
  endforeach()
  list(SORT built)
  if(NOT built STREQUAL "my_plugin_check;my_plugin_tests")
    message(FATAL_ERROR "the README's pkg-config lines build ${built}, not my_plugin_check and my_plugin_tests")
  endif()
  run(${CMAKE_COMMAND} -E env "LD_LIBRARY_PATH=${library_path}" "${work}/my_plugin_check")
  run_gtest("${work}/my_plugin_tests" ${CMAKE_COMMAND} -E env "LD_LIBRARY_PATH=${library_path}")

elseif(STEP STREQUAL "subproject")
  set(work "${WORK_DIR}/subproject")
  file(REMOVE_RECURSE "${work}")
  run(${CMAKE_COMMAND} -S "${SOURCE_DIR}/subproject" -B "${work}" -G Ninja
      "-DWYRDAN_SOURCE_DIR=${PROJECT_DIR}"
      "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}")

else()
  message(FATAL_ERROR "unknown STEP '${STEP}'")
endif()
