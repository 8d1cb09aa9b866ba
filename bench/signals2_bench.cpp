// The boost::signals2 peer of EventHandler::handleEvent
// (workloads/Signals2Workloads.h). Built only when Boost's headers are found.
#include "Comparison.h"
#include "workloads/Signals2Workloads.h"

namespace {

const bench::Reference kSignals2("BM_HandleEvent", "Signals2", bench::measure<bench::Signals2Delivery>,
                                 {bench::Aim{0.15}, bench::Aim{0.10, 8}});

}  // namespace
