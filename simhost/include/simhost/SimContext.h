// What every simulated object of one host shares: the journal and the fault plan.
#pragma once

#include <memory>

#include "simhost/CallJournal.h"
#include "simhost/FaultPlan.h"

namespace simhost {

struct SimContext {
  CallJournal journal;
  FaultPlan faults;
};

using SimContextPtr = std::shared_ptr<SimContext>;

}  // namespace simhost
