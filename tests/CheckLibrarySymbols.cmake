# Fails unless the library's dynamic symbols export ServiceHelper and carry
# nothing of the simulated host.
execute_process(COMMAND nm -DC "${LIBRARY}" OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
foreach(member setZolServiceAccess releaseServices getServiceProvider getGuiExeutive getTrashbin getViewport
               getCurrentModel getEOMUtility getIEntRefFactory getTransactionBroker)
  if(NOT symbols MATCHES " T kyr::orla::plugin::wyrdan::ServiceHelper::${member}\\(")
    message(FATAL_ERROR "ServiceHelper::${member} is not exported")
  endif()
endforeach()
if(symbols MATCHES "simhost")
  message(FATAL_ERROR "the library refers to the simulated host")
endif()
