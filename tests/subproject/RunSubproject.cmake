# Configures the project of SOURCE_DIR, which adds this project (PROJECT_DIR)
# as a subdirectory, in WORK_DIR, and checks from its compile commands that
# the project's WARNINGS, and -Werror, reach the library's sources and not
# the including project's own program. Nothing is built.
include("${CMAKE_CURRENT_LIST_DIR}/../CheckCompileFlags.cmake")
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${WORK_DIR}" -G Ninja
                        "-DWYRDAN_SOURCE_DIR=${PROJECT_DIR}" "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}"
                        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "configuring the including project failed (${result})")
endif()

separate_arguments(warnings UNIX_COMMAND "${WARNINGS}")
if(NOT warnings)
  message(FATAL_ERROR "WARNINGS names no warning option")
endif()
set(database "${WORK_DIR}/compile_commands.json")
check_compile_flags("${database}" "/Utilities/.*\\.cpp$" PRESENT ${warnings} -Werror)
check_compile_flags("${database}" "/tests/consumer/main\\.cpp$" ABSENT ${warnings} -Werror)
