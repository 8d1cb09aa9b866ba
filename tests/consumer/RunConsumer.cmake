# Installs BUILD_DIR into WORK_DIR/prefix, then configures, builds and runs
# the consumer project of SOURCE_DIR against it. The consumer is compiled
# without the project's WARNINGS: they are the project's, not its users'.
include("${CMAKE_CURRENT_LIST_DIR}/../CheckCompileFlags.cmake")
file(REMOVE_RECURSE "${WORK_DIR}")

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGV}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK_DIR}/prefix")
run(${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${WORK_DIR}/build" -G Ninja
    "-DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix"
    "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}"
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON)
separate_arguments(warnings UNIX_COMMAND "${WARNINGS}")
if(NOT warnings)
  message(FATAL_ERROR "WARNINGS names no warning option")
endif()
check_compile_flags("${WORK_DIR}/build/compile_commands.json" "/main\\.cpp$" ABSENT ${warnings} -Werror)
run(${CMAKE_COMMAND} --build "${WORK_DIR}/build")
run("${WORK_DIR}/build/consumer")
