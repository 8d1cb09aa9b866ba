#include "WyrdanPluginUtilities/events/internal/Delivery.h"

namespace kyr::orla::plugin::wyrdan::internal {

// Out of the delivery's own code: few domains have this many handlers.
[[gnu::noinline, gnu::cold]] void Delivery::spill() {
  spilled_ = std::make_unique<IZolEventHandler*[]>(count_);
  handlers_ = spilled_.get();
}

void Delivery::forget(const void* registry, const long long* domainId, const IZolEventHandler* handler) noexcept {
  for (Delivery* delivery = eventThread.deliveries; delivery != nullptr; delivery = delivery->outer_) {
    if (delivery->registry_ != registry || (domainId != nullptr && delivery->domainId_ != *domainId)) continue;
    for (std::size_t i = 0; i < delivery->count_; ++i) {
      if (handler == nullptr || delivery->handlers_[i] == handler) delivery->handlers_[i] = nullptr;
    }
  }
}

}  // namespace kyr::orla::plugin::wyrdan::internal
