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
            DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/WyrdanPluginUtilities/${folder}")
  endforeach()
endfunction()

# wyrdan_add_test_suite(<name> SOURCES <file>... [LIBRARIES <lib>...] [LABELS <label>...]
#                       [CONCURRENT <gtest filter>])
# One GoogleTest executable; every test case runs as its own ctest test (and
# so in its own process, with fresh process-wide state). The cases that
# CONCURRENT matches are labelled "concurrency" too, for ThreadSanitizer.
function(wyrdan_add_test_suite name)
  cmake_parse_arguments(ARG "" "CONCURRENT" "SOURCES;LIBRARIES;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gmock GTest::gtest_main)
  if(ARG_CONCURRENT)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER "-${ARG_CONCURRENT}"
                         PROPERTIES LABELS "${ARG_LABELS}")
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER "${ARG_CONCURRENT}"
                         PROPERTIES LABELS "${ARG_LABELS};concurrency")
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()
