// One event delivery in progress on the calling thread: the handlers it
// copied from the registry's table, which it calls after the registry's lock
// is released, and its place in the thread's chain of deliveries in
// progress (nested ones first), so that a handler removed on this thread
// while the delivery runs is not called afterwards.
//
//   Delivery delivery(registry, domainId, handlers);   // copied under the lock
//   delivery.callEach(event);                           // after it
//
// Everything a delivery keeps is its own: on the stack, or for a domain with
// many handlers one heap block, freed when the delivery ends. It never reads
// the registry again, so a registry destroyed meanwhile harms nothing.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "WyrdanPluginUtilities/events/IZolEventHandler.h"
#include "zol/framework/ZolIEventManager.h"

namespace kyr::orla::plugin::wyrdan::internal {

class Delivery {
 public:
  /// Copies `handlers`, the handlers `registry` keeps for `domainId`, and
  /// joins the calling thread's chain. Throws std::bad_alloc only for a
  /// domain of more handlers than a delivery keeps on the stack.
  Delivery(const void* registry, long long domainId, const std::vector<IZolEventHandler*>& handlers);
  /// Leaves the chain and frees the copy.
  ~Delivery();
  Delivery(const Delivery&) = delete;
  Delivery& operator=(const Delivery&) = delete;

  /// Calls each copied handler in turn, skipping those removed on this
  /// thread since the copy. A handler's exception ends the calls.
  void callEach(const Zol::Framework::ZolEvent& event) const;

  /// Marks `handler` (every handler when null) of `domainId` (every domain
  /// when null) as removed from `registry`, in the deliveries in progress on
  /// the calling thread.
  static void forget(const void* registry, const long long* domainId, const IZolEventHandler* handler) noexcept;

 private:
  // Enough for the handlers a plug-in registers on one domain, as a rule.
  static constexpr std::size_t kKeptOnStack = 16;

  const void* const registry_;
  const long long domainId_;
  const std::size_t count_;
  std::unique_ptr<IZolEventHandler*[]> spilled_;
  IZolEventHandler** const handlers_;
  Delivery* const outer_;
  IZolEventHandler* onStack_[kKeptOnStack];
};

}  // namespace kyr::orla::plugin::wyrdan::internal
