#include "workloads/Signals2Workloads.h"

#include <boost/signals2/signal.hpp>

namespace bench {

struct Signals2Delivery::Signal {
  boost::signals2::signal<void(long long, const Zol::Framework::ZolEvent&)> signal;
};

Signals2Delivery::Signals2Delivery(long entries)
    : handlers_(entries), event_(benchEvent()), signal_(std::make_unique<Signal>()) {
  for (IZolEventHandler* handler : handlers_.pointers()) {
    signal_->signal.connect([handler](long long domainId, const Zol::Framework::ZolEvent& event) {
      handler->handleDomainEvent(domainId, event);
    });
  }
}

Signals2Delivery::~Signals2Delivery() = default;

void Signals2Delivery::run() const { signal_->signal(event_.domainId, event_); }

bool Signals2Delivery::verify() const {
  return handlers_.eachCalledOnceBy([this] { run(); });
}

}  // namespace bench
