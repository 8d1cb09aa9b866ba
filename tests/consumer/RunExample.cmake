# The example plug-in (examples/thicken) as its author builds it: configured
# against the package that package_install put into WORK_DIR/prefix, built,
# and its tests run with ctest; fails when any of them fails. Run by ctest as
#   cmake -DEXAMPLE_DIR=... -DWORK_DIR=... -DCTEST=... -DCXX_COMPILER=... -DCXX_FLAGS=... -P RunExample.cmake
# For Windows: installs INSTALL_FROM into WORK_DIR/prefix itself, then
# cross-builds the example with TOOLCHAIN_FILE against it and WINDOWS_DEPS,
# its tests run through EMULATOR, which finds the installed DLLs through
# WYRDAN_WINE_PATH.
set(prefix "${WORK_DIR}/prefix")
set(work "${WORK_DIR}/example")

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGV}")
  endif()
endfunction()

file(REMOVE_RECURSE "${work}")
if(TOOLCHAIN_FILE)
  file(REMOVE_RECURSE "${prefix}")
  run(${CMAKE_COMMAND} --install "${INSTALL_FROM}" --prefix "${prefix}")
  set(ENV{WYRDAN_WINE_PATH} "${prefix}/bin")
  run(${CMAKE_COMMAND} -S "${EXAMPLE_DIR}" -B "${work}" -G Ninja
      "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE}"
      "-DCMAKE_CROSSCOMPILING_EMULATOR=${EMULATOR}"
      "-DWYRDAN_WINDOWS_DEPS=${WINDOWS_DEPS}"
      "-DWyrdanPluginUtilities_DIR=${prefix}/lib/cmake/WyrdanPluginUtilities")
else()
  run(${CMAKE_COMMAND} -S "${EXAMPLE_DIR}" -B "${work}" -G Ninja
      "-DCMAKE_PREFIX_PATH=${prefix}"
      "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}"
      "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
endif()
run(${CMAKE_COMMAND} --build "${work}")
# Each discovered test in a process of its own, as the example's tests expect.
run(${CTEST} --test-dir "${work}" --output-on-failure --no-tests=error)
