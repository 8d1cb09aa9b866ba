// The demo's task scene: a function run on the host's work thread while a
// ScopeWait shows the wait cursor and holds a host transaction open.
#pragma once

#include "Transcript.h"
#include "simhost/SimHost.h"

namespace demo {

/// Runs the scene on `host`, whose service access the plug-in already has.
void taskScene(simhost::SimHost& host, Transcript& transcript);

}  // namespace demo
