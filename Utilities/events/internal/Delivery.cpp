#include "WyrdanPluginUtilities/events/internal/Delivery.h"

#include <algorithm>

namespace kyr::orla::plugin::wyrdan::internal {

namespace {

// The innermost delivery in progress on the calling thread. A plain pointer
// into the thread's own stack: nothing is left once the thread's deliveries
// end. Initial-exec: reached without a call.
thread_local Delivery* innermost __attribute__((tls_model("initial-exec"))) = nullptr;

}  // namespace

Delivery::Delivery(const void* registry, long long domainId, const std::vector<IZolEventHandler*>& handlers)
    : registry_(registry),
      domainId_(domainId),
      count_(handlers.size()),
      spilled_(count_ > kKeptOnStack ? std::make_unique<IZolEventHandler*[]>(count_) : nullptr),
      handlers_(spilled_ ? spilled_.get() : onStack_),
      outer_(innermost) {
  std::copy(handlers.begin(), handlers.end(), handlers_);
  innermost = this;
}

Delivery::~Delivery() { innermost = outer_; }

void Delivery::callEach(const Zol::Framework::ZolEvent& event) const {
  for (std::size_t i = 0; i < count_; ++i) {
    // Read again after each call: the handler before may have removed it.
    if (IZolEventHandler* handler = handlers_[i]) handler->handleDomainEvent(domainId_, event);
  }
}

void Delivery::forget(const void* registry, const long long* domainId, const IZolEventHandler* handler) noexcept {
  for (Delivery* delivery = innermost; delivery != nullptr; delivery = delivery->outer_) {
    if (delivery->registry_ != registry || (domainId != nullptr && delivery->domainId_ != *domainId)) continue;
    for (std::size_t i = 0; i < delivery->count_; ++i) {
      if (handler == nullptr || delivery->handlers_[i] == handler) delivery->handlers_[i] = nullptr;
    }
  }
}

}  // namespace kyr::orla::plugin::wyrdan::internal
