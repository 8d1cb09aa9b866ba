// What every simulated object of one host shares: the journal, the fault plan
// and the dependency graph of its engineering objects.
#pragma once

#include <memory>
#include <string>

#include "simhost/CallJournal.h"
#include "simhost/FaultPlan.h"
#include "simhost/SimDependencyGraph.h"
#include "simhost/SimHostExport.h"

namespace simhost {

struct SIMHOST_EXPORT SimContext {
  CallJournal journal;
  FaultPlan faults;
  SimDependencyGraph dependencies;

  /// Whether a host call has to be rendered at all.
  bool observing() const noexcept { return journal.enabled() || faults.armed(); }

  /// Journals one host operation and applies injected faults: throws an
  /// injected exception or returns an injected error result; success otherwise.
  Zol::ZolResult_24_8 hostCall(HostCall call);
};

using SimContextPtr = std::shared_ptr<SimContext>;

}  // namespace simhost
