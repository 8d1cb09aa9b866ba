# Small helpers so that each folder's CMakeLists.txt reads as a list.

# wyrdan_add_classes(<target> <folder> <Class>...)
# Adds <folder>/<Class>.cpp as a source of <target> and installs
# <folder>/<Class>.h as its public header
# <WyrdanPluginUtilities/<folder>/<Class>.h> (one header and one source per
# class).
function(wyrdan_add_classes target folder)
  foreach(class IN LISTS ARGN)
    target_sources(${target} PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/${class}.cpp"
                                     "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/${class}.h")
    install(FILES "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/${class}.h"
            DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/WyrdanPluginUtilities/${folder}"
            COMPONENT dev)
  endforeach()
endfunction()

# wyrdan_add_test_suite(<name> SOURCES <file>... LABELS <label>... [LIBRARIES <lib>...]
#                       [CONCURRENT <gtest filter>])
# One GoogleTest executable; every test case runs as its own ctest test (and
# so in its own process, with fresh process-wide state). LABELS name the
# subsystem, so that `ctest -L <subsystem>` runs it. The cases that
# CONCURRENT matches are labelled "concurrency" too, for ThreadSanitizer, and
# the target concurrency_tests builds every suite holding such tests (the tsan
# build builds nothing else).
function(wyrdan_add_test_suite name)
  cmake_parse_arguments(ARG "" "CONCURRENT" "SOURCES;LIBRARIES;LABELS" ${ARGN})
  if(NOT ARG_LABELS)
    message(FATAL_ERROR "test suite ${name} has no LABELS: name the subsystem it tests")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_CONCURRENT OR "concurrency" IN_LIST ARG_LABELS)
    if(NOT TARGET concurrency_tests)
      add_custom_target(concurrency_tests)
    endif()
    add_dependencies(concurrency_tests ${name})
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gmock GTest::gtest_main)
  # Labels are set by a script ctest includes after discovery, over the
  # discovered test lists: gtest_discover_tests's PROPERTIES would split a list
  # of labels into separate properties.
  set(labels_script "${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake")
  # Listing a program's tests through an emulator (Wine) starts it first.
  set(discovery_timeout 5)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    set(discovery_timeout 60)
  endif()
  if(ARG_CONCURRENT)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT ${discovery_timeout}
                         TEST_FILTER "-${ARG_CONCURRENT}" TEST_LIST ${name}_serial)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT ${discovery_timeout}
                         TEST_FILTER "${ARG_CONCURRENT}" TEST_LIST ${name}_concurrent)
    file(WRITE "${labels_script}"
         "foreach(test IN LISTS ${name}_serial)\n"
         "  set_tests_properties(\"\${test}\" PROPERTIES LABELS \"${ARG_LABELS}\")\n"
         "endforeach()\n"
         "foreach(test IN LISTS ${name}_concurrent)\n"
         "  set_tests_properties(\"\${test}\" PROPERTIES LABELS \"${ARG_LABELS};concurrency\")\n"
         "endforeach()\n")
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT ${discovery_timeout}
                         TEST_LIST ${name}_serial)
    file(WRITE "${labels_script}"
         "foreach(test IN LISTS ${name}_serial)\n"
         "  set_tests_properties(\"\${test}\" PROPERTIES LABELS \"${ARG_LABELS}\")\n"
         "endforeach()\n")
  endif()
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${labels_script}")
endfunction()

# wyrdan_install_pkgconfig(<template> <component>)
# Installs <template> (<name>.pc.in) as <libdir>/pkgconfig/<name>.pc, as part
# of the install component <component>. The file
# is written at install time, so that its paths name the prefix actually
# installed to (cmake --install --prefix, or the configured prefix under
# DESTDIR). The template may use @PROJECT_VERSION@,
# @WYRDAN_ICU_MINIMUM_VERSION@, @WYRDAN_PC_PREFIX@, @WYRDAN_PC_LIBDIR@ and
# @WYRDAN_PC_INCLUDEDIR@.
function(wyrdan_install_pkgconfig template component)
  get_filename_component(name "${template}" NAME_WLE)
  foreach(dir LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
      set(WYRDAN_PC_${dir} "${CMAKE_INSTALL_${dir}}")
    else()
      set(WYRDAN_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
    endif()
  endforeach()
  if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(destination "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
  else()
    set(destination "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig")
  endif()
  # Everything but the prefix is known now; the prefix is filled in at install.
  set(WYRDAN_PC_PREFIX "@WYRDAN_PC_PREFIX@")
  set(staged "${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/${name}.in")
  set(written "${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/${name}")
  configure_file("${template}" "${staged}" @ONLY)
  install(CODE "set(WYRDAN_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
configure_file(\"${staged}\" \"${written}\" @ONLY)
file(INSTALL \"${written}\" DESTINATION \"${destination}\")" COMPONENT ${component})
endfunction()

# wyrdan_icu_for_windows(<ICU target>...)
# With WYRDAN_ICU_STATIC (the windows preset's ICU, built by
# cmake/windows/icu), ICU is a static library on Windows: its headers must not
# declare its functions imported from a DLL, and its common library reads the
# time zone through the registry. Does nothing otherwise.
function(wyrdan_icu_for_windows)
  if(NOT WIN32 OR NOT WYRDAN_ICU_STATIC)
    return()
  endif()
  foreach(target IN LISTS ARGN)
    set_property(TARGET ${target} APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS U_STATIC_IMPLEMENTATION)
    set_property(TARGET ${target} APPEND PROPERTY INTERFACE_LINK_LIBRARIES advapi32)
  endforeach()
endfunction()
