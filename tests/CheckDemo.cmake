# Runs the demo session and checks that it ends normally and shows what it is
# there to show: the browser's tree refreshed by the edit's announcement, the
# dependency edge between the two engineering objects and their generation,
# an assembly's parts depth-first, the modes, and the flush with its events.
execute_process(COMMAND ${DEMO} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the demo ended with ${result}\n${errors}")
endif()
foreach(expected
    "\\| Model \\[Assembly\\] \\(1, 1, 0\\)\n   \\|   Plate 1 \\[Plate\\] \\(5, 1, 0\\)\n"
    "\\|   Plate 1 \\[Plate\\] \\(5, 1, 0\\), updated 1 time\n"
    "\\|   Plate 3 \\[Plate\\] \\(5, 3, 0\\)\n"
    "addUpstreamNode\\(\\) -> true\n   \\| bracket -> bracket mesh"
    "the host generated: bracket, bracket mesh\n"
    "getAllParts\\(frame\\) -> Plate, Pin, Leaf, Bolt\n"
    "isDesignPart\\(pin\\) -> true\n"
    "isDressUpMode\\(\\) -> true, isReadonlyMode\\(\\) -> false\n"
    "heard persistence event 21 \\(Gearbox, false\\)\n[^=]*heard persistence event 3 \\(Gearbox, true\\)\n"
    "heard persistence event 21 \\(Gearbox, false\\)\n   host <- [^\n]*flushModel\\(\\)[^\n]*\n   flushModel\\(\\) failed"
    "\nDone\\.\n$")
  if(NOT output MATCHES "${expected}")
    message(FATAL_ERROR "the demo's output lacks \"${expected}\":\n${output}")
  endif()
endforeach()
