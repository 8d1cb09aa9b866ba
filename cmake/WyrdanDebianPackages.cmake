# Debian packages of the install components, split as Debian splits a
# library (the package target, or cpack --preset package):
#
#   runtime  libwyrdanpluginutilities<SOVERSION>  the library and the host SDK's kernel runtime
#   dev      libwyrdanpluginutilities-dev         headers, CMake package, pkg-config files, .so links
#   testbed  libwyrdansimhost-dev                 the simulated host and its GoogleTest support, whole
#
# The runtime package is named after the SONAME, so that runtimes of
# different interfaces install side by side; everything it ships sits in
# folders named after it. Each package carries the licence as its copyright
# file and a changelog, as Debian requires.
set(WYRDAN_DEB_MAINTAINER "WyrdanPluginUtilities developers <packaging@wyrdanpluginutilities.invalid>"
    CACHE STRING "Maintainer field of the Debian packages")

set(wyrdan_deb_runtime "libwyrdanpluginutilities${WYRDAN_SOVERSION}")
set(wyrdan_deb_dev "libwyrdanpluginutilities-dev")
set(wyrdan_deb_testbed "libwyrdansimhost-dev")

# The copyright file in Debian's machine-readable form, with the licence text
# of LICENSE (below its title and copyright line): "Expat" is Debian's name
# for the MIT licence.
file(STRINGS "${PROJECT_SOURCE_DIR}/LICENSE" licence_lines)
set(copyright_text "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
                   "Upstream-Name: WyrdanPluginUtilities\n\nFiles: *\n")
set(licence_body "")
set(in_body FALSE)
foreach(line IN LISTS licence_lines)
  if(line MATCHES "^Copyright \\(c\\) (.*)$")
    string(APPEND copyright_text "Copyright: ${CMAKE_MATCH_1}\nLicense: Expat\n")
    set(in_body TRUE)
  elseif(in_body)
    if(line STREQUAL "")
      string(APPEND licence_body " .\n")
    else()
      string(APPEND licence_body " ${line}\n")
    endif()
  endif()
endforeach()
if(NOT in_body)
  message(FATAL_ERROR "LICENSE has no copyright line")
endif()
string(REGEX REPLACE "^ \\.\n" "" licence_body "${licence_body}")
set(deb_dir "${PROJECT_BINARY_DIR}/debian")
file(WRITE "${deb_dir}/copyright" ${copyright_text} "${licence_body}")

# A native package's changelog: one entry for this version, which points at
# the project's own. The date honours SOURCE_DATE_EPOCH.
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE "${deb_dir}/changelog"
     "wyrdanpluginutilities (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
     "  * Version ${PROJECT_VERSION} of WyrdanPluginUtilities: its CHANGELOG.md\n"
     "    lists the changes.\n\n"
     " -- ${WYRDAN_DEB_MAINTAINER}  ${changelog_date}\n")
find_program(WYRDAN_GZIP gzip REQUIRED)
execute_process(COMMAND "${WYRDAN_GZIP}" -9 -n -c "${deb_dir}/changelog"
                OUTPUT_FILE "${deb_dir}/changelog.gz" RESULT_VARIABLE gzip_result)
if(NOT gzip_result EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${deb_dir}/changelog")
endif()

foreach(component runtime dev testbed)
  install(FILES "${deb_dir}/copyright" "${deb_dir}/changelog.gz"
          DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/${wyrdan_deb_${component}}"
          COMPONENT ${component})
endforeach()

# Packages with shared libraries in the loader's folders tell it through
# libc's ldconfig trigger.
file(WRITE "${deb_dir}/triggers" "activate-noawait ldconfig\n")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wyrdanpluginutilities)
set(CPACK_PACKAGE_VENDOR "the WyrdanPluginUtilities developers")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/deb")
set(CPACK_COMPONENTS_ALL runtime dev testbed)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# Installed under DESTDIR with the configured prefix (/usr), so that the
# pkg-config files name /usr and not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${WYRDAN_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Depends on the system's libraries from dpkg-shlibdeps; the project's own
# libraries, which it cannot look up, are found in the build tree and named
# by the component dependencies below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${PROJECT_BINARY_DIR}/host-sdk" "${PROJECT_BINARY_DIR}/Utilities"
                                                "${PROJECT_BINARY_DIR}/simhost")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME "${wyrdan_deb_runtime}")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA "${deb_dir}/triggers")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "utilities for plug-ins of a desktop CAE host
WyrdanPluginUtilities gives plug-ins of a desktop engineering-simulation
host typed, cached access to the host's services and short entry points
over its component framework.

This package holds the shared library and the host SDK's kernel runtime
it builds on.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME "${wyrdan_deb_dev}")
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
# The installed headers include ICU's; the CMake package and pkg-config
# files ask for it.
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libicu-dev")
set(CPACK_DEBIAN_DEV_DESCRIPTION
    "utilities for plug-ins of a desktop CAE host (development files)
WyrdanPluginUtilities gives plug-ins of a desktop engineering-simulation
host typed, cached access to the host's services and short entry points
over its component framework.

This package holds the headers of the library and of the host SDK, the
CMake package (find_package(WyrdanPluginUtilities)) and the pkg-config
files WyrdanPluginUtilities and WyrdanZolKernel.")

set(CPACK_DEBIAN_TESTBED_PACKAGE_NAME "${wyrdan_deb_testbed}")
set(CPACK_DEBIAN_TESTBED_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_TESTBED_PACKAGE_CONTROL_EXTRA "${deb_dir}/triggers")
# The GoogleTest support links gMock and GoogleTest into the test program.
set(CPACK_DEBIAN_TESTBED_PACKAGE_DEPENDS "libgmock-dev, libgtest-dev")
set(CPACK_DEBIAN_TESTBED_DESCRIPTION
    "simulated CAE host for testing plug-ins of WyrdanPluginUtilities
A working in-memory host for testing plug-in code without the host
application: a call journal, fault injection and reference accounting,
with GoogleTest fixtures and gMock matchers over it.

This package holds the simulated host's and its GoogleTest support's
libraries and headers, their targets of the CMake package (components
WyrdanSimHost and WyrdanSimHostGTest) and the pkg-config files
WyrdanSimHost and WyrdanSimHostGTest.")

include(CPack)
cpack_add_component(runtime DISPLAY_NAME "Runtime")
cpack_add_component(dev DISPLAY_NAME "Development files" DEPENDS runtime)
cpack_add_component(testbed DISPLAY_NAME "Simulated host" DEPENDS runtime dev)
