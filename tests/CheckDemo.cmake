# Runs the demo session and checks that it ends normally and shows what it is
# there to show: the browser's tree refreshed by the edit's announcement, the
# dependency edge between the two engineering objects and their generation,
# the filtered log reaching its three outputs, a localised status message, a
# pop-up, the task run on the work thread under the wait cursor and a
# transaction, an assembly's parts depth-first, the modes, the flush with its
# events, the study objects' default names, the host calls the task made
# marked as the work thread's, the injected faults each answered as the
# library documents, and the leak check: the objects held on purpose named
# with their holders, a reference kept past the host named as leaked.
# EMULATOR, when set, runs the demo of a cross build.
execute_process(COMMAND ${EMULATOR} ${DEMO} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the demo ended with ${result}\n${errors}")
endif()
# A Windows program ends its lines of text with CR LF.
string(REPLACE "\r\n" "\n" output "${output}")
foreach(expected
    "\\| Model \\[Assembly\\] \\(1, 1, 0\\)\n   \\|   Plate 1 \\[Plate\\] \\(5, 1, 0\\)\n"
    "\\|   Plate 1 \\[Plate\\] \\(5, 1, 0\\), updated 1 time\n"
    "\\|   Plate 3 \\[Plate\\] \\(5, 3, 0\\)\n"
    "GUID \\{00000020-[^\n]*\n   \\| \\(no edges\\)\n"
    "addUpstreamNode\\(\\) -> true\n   \\| bracket -> bracket mesh"
    "the host generated: bracket, bracket mesh\n"
    "removeUpstreamNode\\(bracket\\)[^\n]*\n([^\n]*host <- [^\n]*\n)*   \\| \\(no edges\\)\n"
    "addListener\\(2, [^\n]*WyrdanPluginInitializer[^\n]*, 2, \\[1, 3, 2, 9, 10, 15\\]\\)"
    "EntityWatcher::handleDomainEvent\\(domain #[0-9]+, event 2, "
    "removeListener\\(2, [^\n]*WyrdanPluginInitializer[^\n]*\n   event 2 now reaches 1 listener\n"
    "\nmesher: 1824 cells on plate 3\nexport: plate 3 has no material\n"
    "kernel logger \\| severity 1 \\| mesher: 1824 cells on plate 3\n"
    "kernel logger \\| severity 1 \\| export: plate 3 has no material\n"
    "debugger      \\| mesher: 1824 cells on plate 3\n   debugger      \\| export: plate 3 has no material\n"
    "severity 2 \\| [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9] >> meshed 3 of 4 plates\n"
    "format\\({3, 4}\\)\\.getStr\\(\\) -> \"3 of 4 plates meshed\"\n"
    "status bar shows \\[Information\\] 3 of 4 plates meshed\n"
    "message box \"Warning\": Plate 3 has no material \\(Assign one before meshing\\.\\) \\[OK\\]\n"
    "showPopMessage\\(\\) -> code 0, message boxes shown: 1\n"
    "ScopeWait\\(true, true\\)[^\n]*\n(   host <- [^\n]*\n)*   wait cursor shown \\(depth 1\\), transaction open \\(begun 1, ended 0\\)\n"
    "the task ran on the host's work thread; the call returned after it\n   while it ran: wait cursor shown \\(depth 2\\), transaction open"
    "endTransaction\\(\\)[^\n]*\n(   host <- [^\n]*\n)*[^\n]*event 21[^\n]*\n   wait cursor hidden \\(depth 0\\), transaction closed \\(begun 1, ended 1\\)\n"
    "getAllParts\\(frame\\) -> Plate, Pin, Leaf, Bolt\n"
    "isDesignPart\\(pin\\) -> true\n"
    "isDressUpMode\\(\\) -> true, isReadonlyMode\\(\\) -> false\n"
    "heard persistence event 21 \\(Gearbox, false\\)\n[^=]*heard persistence event 3 \\(Gearbox, true\\)\n"
    "heard persistence event 21 \\(Gearbox, false\\)\n   host <- [^\n]*flushModel\\(\\)[^\n]*\n   flushModel\\(\\) failed"
    "type 41: \"Study 1\", \"Study 2\", \\.\\.\\. counted per owner\n   type 42: \"Scenario 1\", \"Scenario 2\", \\.\\.\\.\n"
    "host <- Zol.Framework.ZolIServiceAccess.getServiceProvider\\(\\)\n   host <- Zol.Framework.ZolIServiceAccess.getServiceProvider\\(\\)\n   asked twice"
    "runGuiAction\\(KYR.WyrdanPlugin.TaskInvoker, [^\n]* #[0-9]+\n   host <- kyr.orla.appfw.ICmdProcessor.getRunningCommandIds\\(\\) on command processor #[0-9]+ \\[work thread\\]\n   the task ran on the host's work thread"
    "getAppFWUnitsService\\(\\) -> \\(none\\)[^\n]*\n   host <- [^\n]*getService\\(kyr.orla.appfw.Units, \\)[^\n]*\n   getAppFWUnitsService\\(\\) -> \"kyr.orla.appfw.Units\" #[0-9]+"
    "EditEntityHelper drops the host's results; plate 5's thickness: 2 \\(Zol.Int32\\)\n"
    "setProperties\\(\\) threw Zol.ZolSystemException \"disk full\"; plate 5's thickness: 2 \\(Zol.Int32\\)\n"
    "No fault armed[^\n]*\n(   host <- [^\n]*\n)+   plate 5's thickness: 6 \\(Zol.Int32\\)\n"
    "the host decoded every payload and refused no call\n"
    "alive: Zol.Framework.ServiceProvider \\([0-9]+, held: [^\n]*ServiceHelper: service provider"
    "counts only references nobody declared\n   leaked: entity \\(5, 5, 0\\) \\(1\\)\n   leaked: model \\(1\\)\n\n"
    "releases plate 5[^\n]*\n   leaked: \\(nothing\\)\n"
    "\nDone\\.\n$")
  if(NOT output MATCHES "${expected}")
    message(FATAL_ERROR "the demo's output lacks \"${expected}\":\n${output}")
  endif()
endforeach()
string(REGEX MATCHALL "[^\n]* \\[work thread\\]\n" work_thread_calls "${output}")
list(LENGTH work_thread_calls work_thread_count)
if(NOT work_thread_count EQUAL 1)
  message(FATAL_ERROR "only the task's host call ran on the work thread, yet ${work_thread_count} are marked:\n${output}")
endif()
if(output MATCHES "solver: never composed")
  message(FATAL_ERROR "a log statement of a scope that is not wanted was written:\n${output}")
endif()
