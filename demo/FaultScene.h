// The demo's closing scenes: host failures injected into the plug-in's calls,
// each answered as the library documents it, and, once the host is gone, the
// reference accounting's leak check.
#pragma once

#include "Transcript.h"
#include "kyr/appfw/IEntity.h"
#include "simhost/SimHost.h"

namespace demo {

/// Runs the fault scene on `host`, whose service access the plug-in has.
void faultScene(simhost::SimHost& host, Transcript& transcript);

/// Shows what is still alive after the host has gone and why: what the
/// plug-in side holds on purpose, then what leaked: `forgotten`, a reference
/// kept past the host, until the scene releases it.
void leakCheckScene(Transcript& transcript, ZolSmartPointer<kyr::orla::appfw::IEntityInterface>& forgotten);

}  // namespace demo
