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
#include <utility>
#include <vector>

#include "WyrdanPluginUtilities/events/IZolEventHandler.h"

namespace kyr::orla::plugin::wyrdan::internal {

class CriticalSection;

/// One domain's handlers, in ascending address order.
using DeliveryHandlers = std::vector<IZolEventHandler*>;

/// Every domain's handlers, sorted by domain id. Never changed once published.
struct DeliverySnapshot {
  std::vector<std::pair<long long, DeliveryHandlers>> domains;
};

/// One thread's view of one table, used by that thread alone; it refreshes
/// its snapshot under the table's lock.
struct DeliveryThread {
  std::shared_ptr<const DeliverySnapshot> snapshot;
  std::uint64_t version = ~std::uint64_t{0};
  int depth = 0;  // deliveries in progress on the thread
  // Snapshots replaced while a delivery on the thread still read them; kept
  // until a refresh finds no delivery in progress.
  std::vector<std::shared_ptr<const DeliverySnapshot>> retired;
};

class DeliveryTable {
 public:
  /// An empty table read under `lock`, which must outlive it.
  explicit DeliveryTable(CriticalSection& lock);
  ~DeliveryTable();
  DeliveryTable(const DeliveryTable&) = delete;
  DeliveryTable& operator=(const DeliveryTable&) = delete;

  /// Makes `table` what deliveries that start from now on read. The caller
  /// holds the lock.
  void publish(const std::map<long long, DeliveryHandlers>& table);

  /// Marks the calling thread as changing the table while it lives (the
  /// caller holds the lock): a delivery the thread starts meanwhile raises
  /// ImproperLock.
  class Change {
   public:
    explicit Change(const DeliveryTable& table);
    ~Change();
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

   private:
    std::uint64_t previous_;
  };

  /// One delivery on the calling thread, reading the snapshot current when
  /// it starts. Throws ImproperLock when the thread is changing the table.
  /// Lives on the stack of one delivery.
  class View {
   public:
    explicit View(DeliveryTable& table);
    ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    /// The handlers of `domainId`; null when the domain has none.
    const DeliveryHandlers* find(long long domainId) const noexcept;

   private:
    DeliveryThread* thread_;
  };

 private:
  // The calling thread's view of this table, its snapshot current.
  DeliveryThread* callingThread();
  DeliveryThread* refreshCallingThread();

  CriticalSection& lock_;
  const std::uint64_t identity_;
  std::atomic<std::uint64_t> version_{0};
  std::shared_ptr<const DeliverySnapshot> current_;       // under lock_
  std::vector<std::unique_ptr<DeliveryThread>> threads_;  // under lock_
};

}  // namespace kyr::orla::plugin::wyrdan::internal
