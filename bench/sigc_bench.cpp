// The libsigc++ peer of EventHandler::handleEvent (workloads/SigcWorkloads.h):
// bare, and behind a std::mutex as a thread-safe user writes it. Built only
// when libsigc++ is found.
#include "Comparison.h"
#include "workloads/SigcWorkloads.h"

namespace {

const bench::Reference kSigc("BM_HandleEvent", "Sigc", bench::measure<bench::SigcDelivery>, bench::Aim{0.5});
const bench::Reference kLockedSigc("BM_HandleEvent", "LockedSigc", bench::measure<bench::LockedSigcDelivery>);

}  // namespace
