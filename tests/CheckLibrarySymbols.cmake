# Fails unless the library's dynamic symbols export every class and public
# member built so far (each overload counted), and carry nothing of the
# simulated host.
execute_process(COMMAND nm -DC --defined-only "${LIBRARY}" OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()

# "<Class> <member> <overloads>": every exported member, constructors and
# assignments included.
set(expected
  "ServiceHelper ServiceHelper 2" "ServiceHelper operator= 2" "ServiceHelper ~ServiceHelper 1"
  "ServiceHelper setZolServiceAccess 1" "ServiceHelper releaseServices 1" "ServiceHelper getServiceProvider 1"
  "ServiceHelper getAppExecutive 1" "ServiceHelper getFrameworkAccess 1" "ServiceHelper getGuiExeutive 1"
  "ServiceHelper getAppFWUnitsService 1" "ServiceHelper getObjectPropertiesManager 1"
  "ServiceHelper getPluginMgrService 1" "ServiceHelper getScriptNameMgr 1" "ServiceHelper getSelectionManager 1"
  "ServiceHelper getBaseCommonService 1" "ServiceHelper getModelManagement 1" "ServiceHelper getFEMEntities 1"
  "ServiceHelper getShellEntities 1" "ServiceHelper getMDPManager 1" "ServiceHelper getSolverService 1"
  "ServiceHelper getDisplayDataManager 1" "ServiceHelper getConfigurationManager 1" "ServiceHelper getPFW 1"
  "ServiceHelper getUtilUnitsService 1" "ServiceHelper getEOMDependencyMgr 1" "ServiceHelper getEOMObjectFactory 1"
  "ServiceHelper getEOMUtility 1" "ServiceHelper getIEntRefFactory 1" "ServiceHelper getTransactionBroker 1"
  "ServiceHelper getCurrentModel 1" "ServiceHelper getTrashbin 1" "ServiceHelper getViewport 1"
  "ServiceProviderHelper initialize 1" "ServiceProviderHelper getService 1"
  "ServiceProviderHelper getServiceProvider 1"
  "DataBunch DataBunch 6" "DataBunch operator= 2" "DataBunch ~DataBunch 1" "DataBunch empty 1" "DataBunch hasData 1"
  "DataBunch queryData 1" "DataBunch remove 1" "DataBunch clear 1" "DataBunch begin 2" "DataBunch end 2"
  "DataBunch toCmdParams 1" "DataBunch toZolAny 1"
  "CmdInvoker CmdInvoker 5" "CmdInvoker operator= 1" "CmdInvoker ~CmdInvoker 1" "CmdInvoker invoke 2"
  "CmdInvoker invokeSync 1" "CmdInvoker invokeAsync 1" "CmdInvoker getOutputParams 1" "CmdInvoker getReturnValue 1"
  "CmdInvoker getURCommand 1" "CmdInvoker getInvocationRequest 1"
  "EditEntityHelper EditEntityHelper 6" "EditEntityHelper operator= 2" "EditEntityHelper ~EditEntityHelper 1"
  "EditEntityHelper setAttribute 1" "EditEntityHelper setProperties 2"
  "CreateEntityHelper CreateEntityHelper 3" "CreateEntityHelper operator= 2"
  "CreateEntityHelper ~CreateEntityHelper 1"
  "EntConvert EntConvert 2" "EntConvert operator= 1" "EntConvert ~EntConvert 1" "EntConvert toEntRefSeq 2"
  "EntConvert toEntities 2" "EntConvert toEntity 1" "EntConvert toEntList 3" "EntConvert toEntRefList 3")

string(REPLACE "\n" ";" lines "${symbols}")
set(missing)
foreach(entry IN LISTS expected)
  string(REPLACE " " ";" entry "${entry}")
  list(GET entry 0 class)
  list(GET entry 1 member)
  list(GET entry 2 overloads)
  set(signatures)
  foreach(line IN LISTS lines)
    string(FIND "${line}" " T kyr::orla::plugin::wyrdan::${class}::${member}(" at)
    if(at EQUAL -1)
      string(FIND "${line}" " T kyr::orla::plugin::wyrdan::${class}::${member}[abi:cxx11](" at)
    endif()
    if(NOT at EQUAL -1)
      string(SUBSTRING "${line}" ${at} -1 signature)
      list(APPEND signatures "${signature}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES signatures)
  list(LENGTH signatures found)
  if(found LESS overloads)
    list(APPEND missing "${class}::${member} (${found} of ${overloads})")
  endif()
endforeach()
if(missing)
  string(REPLACE ";" "\n  " missing "${missing}")
  message(FATAL_ERROR "not exported:\n  ${missing}")
endif()
if(symbols MATCHES "simhost")
  message(FATAL_ERROR "the library refers to the simulated host")
endif()
