// EventHandler::handleEvent with 1 and 8 handlers on one domain, beside its
// floor (an uncontended std::mutex locked and unlocked, then one virtual
// call per handler) and, in signals2_bench.cpp, beside boost::signals2. An
// entry is one handler call, so each ratio compares the same events with the
// same handlers. Delivery allocates nothing once the handlers are registered.
//
// Also handleEvent from two threads at once on one domain with one handler
// beside one thread, by the wall clock; here an entry is one event. It has no
// aim: the two threads share the registry's lock and the reference count of
// the domain's handler list, so it shows how much of a second core delivery
// can use.
#include "Comparison.h"
#include "workloads/EventWorkloads.h"

namespace {

const bench::Cost kHandleEvent("BM_HandleEvent", bench::measure<bench::HandleEvent>, {1, 8});
const bench::Reference kFloor("BM_HandleEvent", "Floor", bench::measure<bench::HandleEventFloor>, bench::Aim{3.0});
const bench::AllocationLimit kNoAllocation("BM_HandleEvent", 0);

const bench::Cost kTwoThreads("BM_HandleEventTwoThreads", bench::measure<bench::TwoThreadHandleEvent>, {100000},
                              bench::Clock::Wall);
const bench::Reference kOneThread("BM_HandleEventTwoThreads", "OneThread", bench::measure<bench::OneThreadHandleEvent>);

}  // namespace
