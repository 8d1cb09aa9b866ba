// What EventHandler::handleEvent reads: the handler table as an immutable
// snapshot, published again after every change, and each delivering thread's
// own reference to the snapshot it last read. A thread whose snapshot is
// still current starts a delivery with one version load: no lock, and no
// reference count that other threads write.
//
//   table.publish(handlers);                 // after a change, under the registry's lock
//   DeliveryTable::View view(table);         // in handleEvent
//   if (const auto* handlers = view.find(domainId)) ...
//
// A thread's first delivery, and its first after a change, take the
// registry's lock to read the current snapshot. A delivery in progress keeps
// the snapshot it started with, also when a handler it calls delivers again
// on the same thread after a change. Each thread's state is owned by the
// table and released with it (when the library unloads); a thread that ends
// leaves its state until then.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "WyrdanPluginUtilities/events/IZolEventHandler.h"

namespace kyr::orla::plugin::wyrdan::internal {

class CriticalSection;
struct DeliverySnapshot;
struct DeliveryThread;

class DeliveryTable {
 public:
  /// One domain's handlers, in ascending address order.
  using Handlers = std::vector<IZolEventHandler*>;

  /// An empty table read under `lock`, which must outlive it.
  explicit DeliveryTable(CriticalSection& lock);
  ~DeliveryTable();
  DeliveryTable(const DeliveryTable&) = delete;
  DeliveryTable& operator=(const DeliveryTable&) = delete;

  /// Makes `table` what deliveries that start from now on read. The caller
  /// holds the lock.
  void publish(const std::map<long long, Handlers>& table);

  /// One delivery on the calling thread, reading the snapshot current when
  /// it starts. Not copyable; lives on the stack of one delivery.
  class View {
   public:
    explicit View(DeliveryTable& table);
    ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    /// The handlers of `domainId`; null when the domain has none.
    const Handlers* find(long long domainId) const noexcept;

   private:
    DeliveryThread* thread_;
  };

 private:
  DeliveryThread* adoptCallingThread();
  void refresh(DeliveryThread& thread);

  CriticalSection& lock_;
  const std::uint64_t identity_;
  std::atomic<std::uint64_t> version_{0};
  std::shared_ptr<const DeliverySnapshot> current_;       // under lock_
  std::vector<std::unique_ptr<DeliveryThread>> threads_;  // under lock_
};

}  // namespace kyr::orla::plugin::wyrdan::internal
