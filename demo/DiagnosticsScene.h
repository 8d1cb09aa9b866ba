// The demo's scene of diagnostics and user messages: the log filtered by its
// environment variables (which lines reach the console, the host's kernel
// logger and the debugger output), LogHelper's stamped lines, a localised
// status-bar message and a pop-up.
#pragma once

#include "Transcript.h"
#include "simhost/SimHost.h"

namespace demo {

void diagnosticsScene(simhost::SimHost& host, Transcript& transcript);

}  // namespace demo
