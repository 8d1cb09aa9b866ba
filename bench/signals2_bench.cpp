// The boost::signals2 peer of EventHandler::handleEvent: a signal with one
// slot per handler, each calling the same kind of counting handler, emitted
// once per event, as a user would dispatch events without the registry.
// Built only when Boost's headers are found.
#include <boost/signals2/signal.hpp>

#include "Comparison.h"
#include "workloads/EventWorkloads.h"

namespace {

// One event to `entries` handlers through a signal; a workload as in
// workloads/EventWorkloads.h.
class Signals2Delivery {
 public:
  explicit Signals2Delivery(long entries) : handlers_(entries), event_(bench::benchEvent()) {
    for (bench::IZolEventHandler* handler : handlers_.pointers()) {
      signal_.connect([handler](long long domainId, const Zol::Framework::ZolEvent& event) {
        handler->handleDomainEvent(domainId, event);
      });
    }
  }

  void run() const { signal_(event_.domainId, event_); }

  bool verify() const {
    return handlers_.eachCalledOnceBy([this] { run(); });
  }

 private:
  bench::CountingHandlers handlers_;
  const Zol::Framework::ZolEvent event_;
  boost::signals2::signal<void(long long, const Zol::Framework::ZolEvent&)> signal_;
};

const bench::Reference kSignals2("BM_HandleEvent", "Signals2", bench::measure<Signals2Delivery>,
                                 {bench::Aim{0.15}, bench::Aim{0.10, 8}});

}  // namespace
