// EventHandler::handleEvent and the references it is measured beside. Each
// single-threaded workload delivers one event of one domain to `entries`
// handlers, so an entry is one handler call; the threaded ones deliver
// `entries` events to one handler, split across their threads. No simulated
// host is needed: without one the registry only registers handlers and
// subscribes nothing.
//
//   bench::HandleEvent delivery(8);  // 8 handlers registered on one domain
//   if (delivery.verify()) delivery.run();  // one event: 8 handler calls
//
// The registry is process-wide: a workload registers its handlers on
// construction and removes them on destruction, one workload at a time.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "WyrdanPluginUtilities/events/EventHandler.h"
#include "WyrdanPluginUtilities/events/IZolEventHandler.h"
#include "zol/framework/ZolIEventManager.h"

namespace bench {

using kyr::orla::plugin::wyrdan::EventHandler;
using kyr::orla::plugin::wyrdan::IZolEventHandler;

/// A handler that counts its calls: the least work a handler does.
class CountingHandler final : public IZolEventHandler {
 public:
  void handleDomainEvent(long long domainId, const Zol::Framework::ZolEvent& event) override;
  std::uint64_t calls() const noexcept { return calls_; }

 private:
  std::uint64_t calls_ = 0;
};

/// `count` counting handlers, fixed in place for their lifetime.
class CountingHandlers {
 public:
  explicit CountingHandlers(long count);
  CountingHandlers(const CountingHandlers&) = delete;
  CountingHandlers& operator=(const CountingHandlers&) = delete;

  /// The handlers, in the order they were made.
  const std::vector<IZolEventHandler*>& pointers() const noexcept { return pointers_; }
  /// Runs `deliver`; true when it called every handler exactly once.
  bool eachCalledOnceBy(const std::function<void()>& deliver) const;

 private:
  std::vector<CountingHandler> handlers_;
  std::vector<IZolEventHandler*> pointers_;
};

/// The event every workload delivers, of a domain nothing else uses.
Zol::Framework::ZolEvent benchEvent();

/// The measured cost: EventHandler::handleEvent with `entries` handlers
/// registered on the event's domain.
class HandleEvent {
 public:
  explicit HandleEvent(long entries);
  ~HandleEvent();
  HandleEvent(const HandleEvent&) = delete;
  HandleEvent& operator=(const HandleEvent&) = delete;

  void run() const;
  bool verify() const;

 private:
  CountingHandlers handlers_;
  const Zol::Framework::ZolEvent event_;
  EventHandler* const registry_;
};

/// The floor a thread-safe user writes first: an uncontended std::mutex
/// locked and unlocked around taking the handler list, then each handler
/// called through its virtual function.
class HandleEventFloor {
 public:
  explicit HandleEventFloor(long entries);
  void run() const;
  bool verify() const;

 private:
  CountingHandlers handlers_;
  const Zol::Framework::ZolEvent event_;
  mutable std::mutex mutex_;
};

/// The least work that detects re-entry: an owner-checking spin lock (one
/// read of the owner, an exchange, an owner store, a release store) around
/// taking the handler list, then each handler called through its virtual
/// function.
class HandleEventSpinFloor {
 public:
  explicit HandleEventSpinFloor(long entries);
  void run() const;
  bool verify() const;

 private:
  CountingHandlers handlers_;
  const Zol::Framework::ZolEvent event_;
  mutable std::atomic<bool> locked_{false};
  mutable std::atomic<const void*> owner_{nullptr};
};

/// A handler that counts its calls per thread, so that threads calling it
/// at once write nothing they share.
class ThreadCountingHandler final : public IZolEventHandler {
 public:
  void handleDomainEvent(long long domainId, const Zol::Framework::ZolEvent& event) override;
  /// The calls of every ThreadCountingHandler on the calling thread.
  static std::uint64_t callsOnThisThread() noexcept;
};

/// EventHandler::handleEvent of `entries` events to one handler of one
/// domain, split evenly across `threads` threads started for each run and
/// released together; run() returns when every thread is done.
class ConcurrentHandleEvent {
 public:
  ConcurrentHandleEvent(long entries, int threads);
  ~ConcurrentHandleEvent();
  ConcurrentHandleEvent(const ConcurrentHandleEvent&) = delete;
  ConcurrentHandleEvent& operator=(const ConcurrentHandleEvent&) = delete;

  void run() const;
  bool verify() const;

 private:
  /// Runs the deliveries; the handler calls counted on all threads.
  std::uint64_t deliver() const;

  const long entries_;
  const int threads_;
  ThreadCountingHandler handler_;
  const Zol::Framework::ZolEvent event_;
  EventHandler* const registry_;
};

/// ConcurrentHandleEvent on two threads.
struct TwoThreadHandleEvent : ConcurrentHandleEvent {
  explicit TwoThreadHandleEvent(long entries) : ConcurrentHandleEvent(entries, 2) {}
};

/// ConcurrentHandleEvent on one thread, started as the two are.
struct OneThreadHandleEvent : ConcurrentHandleEvent {
  explicit OneThreadHandleEvent(long entries) : ConcurrentHandleEvent(entries, 1) {}
};

}  // namespace bench
