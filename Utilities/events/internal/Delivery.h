// One event delivery in progress on the calling thread: the handlers it
// copied from the registry's table, which it calls after the registry's lock
// is released, and its place in the thread's chain of deliveries in
// progress (nested ones first), so that a handler removed on this thread
// while the delivery runs is not called afterwards.
//
//   Delivery delivery(registry, domainId);
//   delivery.copy(handlers);   // under the registry's lock
//   delivery.callEach(event);  // after it
//
// Everything a delivery keeps is its own: on the stack, or for a domain with
// many handlers one heap block, freed when the delivery ends. It never reads
// the registry again, so a registry destroyed meanwhile harms nothing.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "WyrdanPluginUtilities/events/IZolEventHandler.h"
#include "WyrdanPluginUtilities/events/internal/EventThread.h"
#include "zol/framework/ZolIEventManager.h"

namespace kyr::orla::plugin::wyrdan::internal {

class Delivery {
 public:
  /// A delivery of `registry`'s handlers of `domainId`, none copied yet.
  Delivery(const void* registry, long long domainId) noexcept : registry_(registry), domainId_(domainId) {}
  Delivery(const Delivery&) = delete;
  Delivery& operator=(const Delivery&) = delete;

  /// Copies `handlers`, called under the registry's lock. Throws
  /// std::bad_alloc only for a domain of more handlers than a delivery keeps
  /// on the stack.
  void copy(const std::vector<IZolEventHandler*>& handlers) {
    count_ = handlers.size();
    if (count_ > kKeptOnStack) spill();
    IZolEventHandler* const* __restrict from = handlers.data();
    IZolEventHandler** __restrict to = handlers_;
    for (std::size_t i = 0; i < count_; ++i) to[i] = from[i];
  }

  /// Calls each copied handler in turn, in the calling thread's chain while
  /// it does, skipping those removed on this thread since the copy. A
  /// handler's exception ends the calls.
  void callEach(const Zol::Framework::ZolEvent& event) {
    const Joined joined(*this);
    const long long domainId = domainId_;
    IZolEventHandler* const* const end = handlers_ + count_;
    for (IZolEventHandler* const* at = handlers_; at != end; ++at) {
      // Read again after each call: the handler before may have removed it.
      if (IZolEventHandler* handler = *at) handler->handleDomainEvent(domainId, event);
    }
  }

  /// Marks `handler` (every handler when null) of `domainId` (every domain
  /// when null) as removed from `registry`, in the deliveries in progress on
  /// the calling thread.
  static void forget(const void* registry, const long long* domainId, const IZolEventHandler* handler) noexcept;

 private:
  // Enough for the handlers a plug-in registers on one domain, as a rule.
  static constexpr std::size_t kKeptOnStack = 16;

  // The delivery's place at the head of the thread's chain while it calls.
  class Joined {
   public:
    explicit Joined(Delivery& delivery) noexcept : delivery_(delivery) {
      delivery.outer_ = eventThread.deliveries;
      eventThread.deliveries = &delivery;
    }
    ~Joined() { eventThread.deliveries = delivery_.outer_; }
    Joined(const Joined&) = delete;
    Joined& operator=(const Joined&) = delete;

   private:
    Delivery& delivery_;
  };

  void spill();

  const void* const registry_;
  const long long domainId_;
  std::size_t count_ = 0;
  Delivery* outer_ = nullptr;
  std::unique_ptr<IZolEventHandler*[]> spilled_;
  IZolEventHandler** handlers_ = onStack_;
  IZolEventHandler* onStack_[kKeptOnStack];
};

}  // namespace kyr::orla::plugin::wyrdan::internal
