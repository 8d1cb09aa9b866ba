# Fails when the library's dynamic symbols hold more than its own interface:
# a constructor of a static-only helper, an instantiation of the standard
# library, anything of the host SDK's or of the simulated host. That the
# interface is all there, member by member, is the ABI check's
# (scripts/abi-check.sh, against the baseline in abi/).
execute_process(COMMAND nm -DC --defined-only "${LIBRARY}" OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()

# The static-only helpers export no constructor: nothing makes one.
foreach(class ServiceProviderHelper TaskHelper ModelHelper PluginHelperTool UndoRedoHelper GenerativeHelper)
  if(symbols MATCHES " T kyr::orla::plugin::wyrdan::${class}::${class}\\(")
    message(FATAL_ERROR "${class} exports a constructor")
  endif()
endforeach()
# Nothing but the library's own interface: no instantiation of the standard
# library's templates, nor anything of the host SDK's. Told by the mangled
# names, which say whose a symbol is (a demangled one may begin with one of
# the library's types returned by a template of the standard library's).
execute_process(COMMAND nm -D --defined-only "${LIBRARY}" OUTPUT_VARIABLE mangled RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" mangled_lines "${mangled}")
foreach(line IN LISTS mangled_lines)
  if(line MATCHES "^[0-9a-f]+ [A-Za-z] (.*)$")
    set(name "${CMAKE_MATCH_1}")
    if(NOT name MATCHES "^_Z(N|NK|TVN|TIN|TSN|Thn[0-9]+_N|Thn[0-9]+_NK)3kyr4orla6plugin6wyrdan")
      message(FATAL_ERROR "the library exports what is not its own: ${name}")
    endif()
  endif()
endforeach()
if(symbols MATCHES "simhost")
  message(FATAL_ERROR "the library refers to the simulated host")
endif()
