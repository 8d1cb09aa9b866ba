/// \class simhost::SimContext
/// What every simulated object of one host shares: the journal, the fault
/// plan, what the host could not take from the plug-in side, and the
/// dependency graph of its engineering objects. Its parts are
/// thread-safe: the caller's thread and the host's work thread use them
/// alike.
#pragma once

#include <memory>
#include <string>

#include "simhost/CallJournal.h"
#include "simhost/FaultPlan.h"
#include "simhost/HostFailures.h"
#include "simhost/SimDependencyGraph.h"
#include "simhost/SimHostExport.h"

namespace simhost {

struct SIMHOST_EXPORT SimContext {
  /// The record of every host operation called on this host's objects.
  CallJournal journal;
  /// The faults armed for this host's operations.
  FaultPlan faults;
  /// The payloads the host could not decode and the calls it refused.
  HostFailures failures;
  /// The dependency edges of this host's engineering objects.
  SimDependencyGraph dependencies;

  /// Whether a host call has to be rendered at all: the journal is enabled
  /// or a fault is armed.
  bool observing() const noexcept { return journal.enabled() || faults.armed(); }

  /// Journals one host operation and applies injected faults: throws an
  /// injected exception or returns an injected error result; success
  /// otherwise. The call is journaled before the fault fires, so a failed
  /// call is in the journal too.
  Zol::ZolResult_24_8 hostCall(HostCall call);
};

/// The context as its objects share it: it lives while any of them does.
using SimContextPtr = std::shared_ptr<SimContext>;

}  // namespace simhost
