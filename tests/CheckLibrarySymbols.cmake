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
  "TaskHelper operator= 2" "TaskHelper execteSyncOnWorkThread 1" "TaskInvoker TaskInvoker 1" "TaskInvoker invoke 1"
  "TaskInvoker ~TaskInvoker 1" "ScopeWait ScopeWait 2" "ScopeWait operator= 1" "ScopeWait ~ScopeWait 1"
  "UndoRedoHelper operator= 2" "UndoRedoHelper isEOMTracking 1" "UndoRedoHelper isUndoRedoCommand 1"
  "EntConvert EntConvert 2" "EntConvert operator= 1" "EntConvert ~EntConvert 1" "EntConvert toEntRefSeq 2"
  "EntConvert toEntities 2" "EntConvert toEntity 1" "EntConvert toEntList 3" "EntConvert toEntRefList 3"
  "PluginEventManager PluginEventManager 3" "PluginEventManager operator= 2" "PluginEventManager ~PluginEventManager 1"
  "PluginEventManager createDomainID 1" "PluginEventManager getDomainID 1" "PluginEventManager addListener 3"
  "PluginEventManager addChannelListener 2" "PluginEventManager fireEvent 2" "PluginEventManager publishEvent 2"
  "PluginEventManager removeListener 2"
  "EventHandler instance 1" "EventHandler EventHandler 1" "EventHandler ~EventHandler 1" "EventHandler addDomainEventHandler 1"
  "EventHandler removeDomainEventHandler 1" "EventHandler removeDomainEventHandlers 1"
  "EventHandler removeAllEventHandler 1" "EventHandler handleEvent 1" "EventHandler viewportSize 1"
  "EventHandler addFilterChangeEventHandler 1" "EventHandler removeFilterChangeEventHandler 1"
  "EventHandler addGeomPluginEventHandler 1" "EventHandler removeGeomPluginEventHandler 1"
  "EventHandler addGeomPluginModelDisplayEventHandler 1" "EventHandler removeGeomPluginModelDisplayEventHandler 1"
  "EventHandler addGeomPluginODMEventHandler 1" "EventHandler removeGeomPluginODMEventHandler 1"
  "EventHandler addGuiEventHandler 1" "EventHandler removeGuiEventHandler 1"
  "EventHandler addMissionChangeEventHandler 1" "EventHandler removeMissionChangeEventHandler 1"
  "EventHandler addModeChangeEventHandler 1" "EventHandler removeModeChangeEventHander 1"
  "EventHandler addModelPersistenceEventHandler 1" "EventHandler removeModelPersistenceEventHandler 1"
  "EventHandler addModelingPluginEventHandler 1" "EventHandler removeModelingPluginEventHandler 1"
  "EventHandler addMotionPluginEventHandler 1" "EventHandler removeMotionPluginEventHandler 1"
  "EventHandler addODMModeEventHandler 1" "EventHandler removeODMModeEventHandler 1"
  "EventHandler addPivotEventHandler 1" "EventHandler removePivotEventHandler 1"
  "EventHandler addPostPluginEventHandler 1" "EventHandler removePostPluginEventHandler 1"
  "EventHandler addProcessorEventHandler 1" "EventHandler removeProcessorEventHandler 1"
  "EventHandler addRestorePanelValueToDefaultEventHandler 1"
  "EventHandler removeRestorePanelValueToDefaultEventHandler 1"
  "EventHandler addSelectionEventHandler 1" "EventHandler removeSelectionEventHandler 1"
  "EventHandler getDomainId 1" "EventHandler getEntityDomainId 1" "EventHandler getFilterChangeDomainId 1"
  "EventHandler getGeomDomainId 1" "EventHandler getGeomModelDisplayDomainId 1" "EventHandler getGeomODMDomainId 1"
  "EventHandler getMissionsEventDomainId 1" "EventHandler getModelPersistenceDomainId 1"
  "EventHandler getModelingDomainId 1" "EventHandler getModesDomainId 1" "EventHandler getMotionDomainId 1"
  "EventHandler getODMModeDomainId 1" "EventHandler getPivotDomainId 1" "EventHandler getPluginOptsDomainId 1"
  "EventHandler getPostPluginDomainId 1" "EventHandler getProcessorDomainId 1"
  "EventHandler getRestorePanelValueToDefaultDomainId 1" "EventHandler getSelectionDomainId 1"
  "EventHandler getStudyManagerDomainId 1" "EventHandler getUndoRedoDomainId 1" "EventHandler getGUIChannelId 1"
  "IZolEventHandler ~IZolEventHandler 1" "ImproperLock what 1"
  "EventListener EventListener 2" "EventListener operator= 1" "EventListener ~EventListener 1"
  "EventListener listenDomainEvent 1" "EventListener listenEntityDomainEvent 1" "EventListener listenFilterDomainEvent 1"
  "EventListener listenGeomPluginEvent 1" "EventListener listenGeomPluginModelDisplayEvent 1"
  "EventListener listenGeomPluginODMEvent 1" "EventListener listenMissionChangeDomainEvent 1"
  "EventListener listenModelPersistenceDomainEvent 1" "EventListener listenModelingPluginEvent 1"
  "EventListener listenModesDomainEvent 1" "EventListener listenMotionPluginEvent 1"
  "EventListener listenODMModeDomainEvent 1" "EventListener listenPivotDomainEvent 1"
  "EventListener listenPluginOptsDomainEvent 1" "EventListener listenPostPluginDomainEvent 1"
  "EventListener listenProcessorDomainEvent 1" "EventListener listenRestorePanelValueToDefaultDomainEvent 1"
  "EventListener listenSelectionEvent 1" "EventListener listenUndoRedoEvent 1" "EventListener removeDomainListener 1"
  "EventListener removeAllListener 1" "EventListener initialize 1" "EventListener getDefListener 1"
  "EntityCompare EntityCompare 1" "EntityCompare equals 2" "EntityCompare lessThan 2" "EntityCompare hashCode 2"
  "EntityCompare getByEntityReference 1" "EntityCompare getEntityReferenceSafe 1" "EntityHashCompare operator() 4"
  "EntityEquanPred EntityEquanPred 2" "EntityEquanPred operator() 2" "EntityFastCompare operator() 1"
  "EntityFastCompare equal 1" "EntityFastCompare lessThan 1" "EntityW2Compare operator() 1" "EntityW2Compare equal 1"
  "EntityW2Compare lessThan 1" "GUIDCompare operator() 1" "GUIDCompare lessThan 1" "GUIDCompare equal 1"
  "GUIDEuqanPred GUIDEuqanPred 1" "GUIDEuqanPred operator() 1" "POCompare operator() 1" "POCompare equals 1"
  "POCompare lessThan 1" "POCompare getGUID 1" "EOMCompare EOMCompare 2" "EOMCompare operator() 2"
  "EOMCompare equals 1" "EOMCompare lessThan 1"
  "BrowserHelper BrowserHelper 2" "BrowserHelper operator= 1" "BrowserHelper ~BrowserHelper 1"
  "BrowserHelper getMBTab 2" "BrowserHelper showTab 1" "BrowserHelper getRootEntity 1" "BrowserHelper addNode 2"
  "BrowserHelper addNodeToRoot 1" "BrowserHelper addToViewport 1" "BrowserHelper addNodes 1" "BrowserHelper addParts 1"
  "BrowserHelper insertNode 1" "BrowserHelper removeNode 1" "BrowserHelper removeNodes 1"
  "BrowserHelper reparentNode 1" "BrowserHelper updateNode 1" "BrowserHelper updateNodes 1"
  "BrowserHelper updateAttribute 1" "BrowserHelper updateNodesAttribute 1" "BrowserHelper initialize 1"
  "EOMObjectAdapter EOMObjectAdapter 3" "EOMObjectAdapter operator= 1" "EOMObjectAdapter ~EOMObjectAdapter 1"
  "EOMObjectAdapter setEomObject 1" "EOMObjectAdapter eomObject 1" "EOMObjectAdapter eomObjectName 1"
  "EOMObjectAdapter setEomObjectName 1" "EOMObjectAdapter eomObjectTypeName 1" "EOMObjectAdapter persistentObject 1"
  "EOMObjectAdapter getDpoContainer 1" "EOMObjectAdapter open 1" "EOMObjectAdapter wrap 1"
  "EOMObjectAdapter addUpstreamNodes 2" "EOMObjectAdapter addUpstreamNodesV2 2" "EOMObjectAdapter addUpstreamNode 1"
  "EOMObjectAdapter addUpstreamNodeV2 1" "EOMObjectAdapter addDownstreamNode 1" "EOMObjectAdapter addDownstreamNodeV2 1"
  "EOMObjectAdapter addDownstreamNodes 1" "EOMObjectAdapter removeUpstreamNodes 2"
  "EOMObjectAdapter removeUpstreamNodesV2 1" "EOMObjectAdapter removeUpstreamNode 1"
  "EOMObjectAdapter removeUpstreamNodeV2 1" "EOMObjectAdapter removeDownstreamNode 1"
  "EOMObjectAdapter removeDownstreamNodeV2 1" "EOMObjectAdapter removeDownstreamNodes 1"
  "EOMObjectAdapter clearUpstreamNodes 1" "EOMObjectAdapter clearUpstreamNodesbyType 1"
  "EOMObjectAdapter clearDownstreamNodesV2 1" "EOMObjectAdapter printDepGraph 1"
  "GenerativeHelper operator= 2" "GenerativeHelper addToGenerateList 1" "GenerativeHelper bulkGenerateObjects 1"
  "Logger initialize 1" "Logger uninitialize 1" "Logger write 1" "Logger enableDebugLog 3" "Logger enableErrorLog 1"
  "ScopeLog ScopeLog 2" "ScopeLog ~ScopeLog 1" "ScopeLog stream 1" "ScopeLog sink 1"
  "LogHelper instance 1" "LogHelper operator= 1" "LogHelper logMessage 1" "LogHelper release 1"
  "LogHelper LogHelper 1" "LogHelper ~LogHelper 1" "LogHelper write 1"
  "LocalStr LocalStr 4" "LocalStr operator= 2" "LocalStr ~LocalStr 1" "LocalStr format 1" "LocalStr getUStr 1"
  "LocalStr getStr 1" "LocalStr getWStr 1" "LocalStr initialize 1" "LocalStr loadRes 1"
  "MessageHandler postStatusMessage 1" "MessageHandler showMessage 2" "MessageHandler showPopMessage 1")
list(APPEND expected
  "SessionManager instance 1" "SessionManager SessionManager 2" "SessionManager operator= 1"
  "SessionManager ~SessionManager 1" "SessionManager attach 1" "SessionManager release 1"
  "ISessionObserver ISessionObserver 2" "ISessionObserver operator= 1" "ISessionObserver ~ISessionObserver 1")
list(APPEND expected
  "ModelHelper operator= 2" "ModelHelper flush 1" "ModelHelper publishPersistenceEvent 1"
  "PluginHelperTool operator= 2" "PluginHelperTool flushModel 1" "PluginHelperTool isDressUpMode 1"
  "PluginHelperTool isReadonlyMode 1" "PluginHelperTool getAllParts 1" "PluginHelperTool pfwObject2EOMObject 1"
  "PluginHelperTool registerDefaultNames 1"
  "EntityTypeID EntityTypeID 4" "EntityTypeID operator= 2" "EntityTypeID ~EntityTypeID 1" "EntityTypeID typeID 1"
  "EntityTypeID typeName 1" "EntityIDSet instance 1" "EntityIDSet operator= 1" "EntityIDSet nextID 1"
  "EntityIDSet reset 1"
  "PluginEnv PluginEnv 3" "PluginEnv operator= 2" "PluginEnv ~PluginEnv 1" "PluginEnv getEnvValue 1"
  "PluginEnv isEnvExist 1" "PluginEnv isEnvSet 1" "ProductHelper instance 1" "ProductHelper isOrlaProduct 1"
  "ProductHelper isTSXProduct 1" "ProductHelper isProductName 1" "ProductHelper isDesignPart 1")
list(APPEND expected "Version string 1" "Version number 1" "Version isCompatible 1")

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
# The public data members, which plug-ins read and write directly.
foreach(variable "PluginEventManager::Domain_Name" "PluginEventManager::Domain_Id" "PluginEventManager::Channel_Id")
  if(NOT symbols MATCHES " [BD] kyr::orla::plugin::wyrdan::${variable}(\\[abi:cxx11\\])?\n")
    list(APPEND missing "${variable}")
  endif()
endforeach()
if(missing)
  string(REPLACE ";" "\n  " missing "${missing}")
  message(FATAL_ERROR "not exported:\n  ${missing}")
endif()
# The static-only helpers export no constructor: nothing makes one.
foreach(class ServiceProviderHelper TaskHelper ModelHelper PluginHelperTool UndoRedoHelper GenerativeHelper)
  if(symbols MATCHES " T kyr::orla::plugin::wyrdan::${class}::${class}\\(")
    message(FATAL_ERROR "${class} exports a constructor")
  endif()
endforeach()
# Nothing but the library's own interface: no instantiation of the standard
# library's templates, nor anything of the host SDK's.
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-f]+ [A-Za-z] (.*)$")
    set(name "${CMAKE_MATCH_1}")
    if(NOT name MATCHES "^kyr::orla::plugin::wyrdan::" AND NOT name MATCHES " for kyr::orla::plugin::wyrdan::")
      message(FATAL_ERROR "the library exports what is not its own: ${name}")
    endif()
  endif()
endforeach()
if(symbols MATCHES "simhost")
  message(FATAL_ERROR "the library refers to the simulated host")
endif()
