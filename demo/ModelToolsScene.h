// The demo's scene of the model tools: a small assembly's parts found
// depth-first, the application modes, the part being designed, and the flush
// of the open model with the persistence events a host subscriber hears.
#pragma once

#include "Transcript.h"
#include "simhost/SimHost.h"

namespace demo {

/// Plays the scene on `host`, whose service access the plug-in holds already.
void modelToolsScene(simhost::SimHost& host, Transcript& transcript);

}  // namespace demo
