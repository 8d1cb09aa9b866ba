#include "workloads/SigcWorkloads.h"

#include <sigc++/sigc++.h>

namespace bench {

struct SigcDelivery::Signal {
  sigc::signal<void(long long, const Zol::Framework::ZolEvent&)> signal;
};

SigcDelivery::SigcDelivery(long entries)
    : handlers_(entries), event_(benchEvent()), signal_(std::make_unique<Signal>()) {
  for (IZolEventHandler* handler : handlers_.pointers()) {
    signal_->signal.connect(sigc::mem_fun(*handler, &IZolEventHandler::handleDomainEvent));
  }
}

SigcDelivery::~SigcDelivery() = default;

void SigcDelivery::emitOnce() const { signal_->signal.emit(event_.domainId, event_); }

void SigcDelivery::run() const { emitOnce(); }

bool SigcDelivery::verify() const {
  return eachHandlerCalledOnceBy([this] { run(); });
}

void LockedSigcDelivery::run() const {
  std::lock_guard<std::mutex> lock(mutex_);
  emitOnce();
}

bool LockedSigcDelivery::verify() const {
  return eachHandlerCalledOnceBy([this] { run(); });
}

}  // namespace bench
