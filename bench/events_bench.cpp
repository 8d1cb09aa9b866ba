// EventHandler::handleEvent with 1 and 8 handlers on one domain, beside two
// floors, each one lock then one virtual call per handler: the least that
// detects re-entry (an owner-checking spin lock) and what a thread-safe user
// writes first (an uncontended std::mutex); and, in signals2_bench.cpp and
// sigc_bench.cpp, beside boost::signals2 and libsigc++. An entry is one
// handler call, so each ratio compares the same events with the same
// handlers. Delivery allocates nothing once the handlers are registered.
//
// Also handleEvent from two threads at once on one domain with one handler
// beside one thread, by the wall clock; here an entry is one event. Two
// threads aim for 1.6 times the events per second of one, a time per event
// of at most 0.625 times one thread's: deliveries on different threads write
// no memory they share. On a quiet two-core machine only; a busy one cannot
// give the second thread a core.
#include "Comparison.h"
#include "workloads/EventWorkloads.h"

namespace {

const bench::Cost kHandleEvent("BM_HandleEvent", bench::measure<bench::HandleEvent>, {1, 8});
const bench::Reference kFloor("BM_HandleEvent", "Floor", bench::measure<bench::HandleEventFloor>, bench::Aim{1.0});
const bench::Reference kSpinFloor("BM_HandleEvent", "SpinFloor", bench::measure<bench::HandleEventSpinFloor>);
const bench::AllocationLimit kNoAllocation("BM_HandleEvent", 0);

const bench::Cost kTwoThreads("BM_HandleEventTwoThreads", bench::measure<bench::TwoThreadHandleEvent>, {1000000},
                              bench::Clock::Wall);
const bench::Reference kOneThread("BM_HandleEventTwoThreads", "OneThread", bench::measure<bench::OneThreadHandleEvent>,
                                  bench::Aim{0.625});

}  // namespace
