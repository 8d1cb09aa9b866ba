// The libsigc++ peer of EventHandler::handleEvent: a signal with one slot per
// handler, each calling the same kind of counting handler, emitted once per
// event; bare, and behind a std::mutex as a user who emits from several
// threads writes it. Built only when libsigc++ is found.
//
//   bench::SigcDelivery delivery(8);  // 8 slots
//   if (delivery.verify()) delivery.run();  // one emission: 8 handler calls
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "workloads/EventWorkloads.h"

namespace bench {

class SigcDelivery {
 public:
  explicit SigcDelivery(long entries);
  ~SigcDelivery();
  SigcDelivery(const SigcDelivery&) = delete;
  SigcDelivery& operator=(const SigcDelivery&) = delete;

  void run() const;
  bool verify() const;

 protected:
  /// The emission alone.
  void emitOnce() const;
  /// True when `deliver` calls every handler exactly once.
  bool eachHandlerCalledOnceBy(const std::function<void()>& deliver) const {
    return handlers_.eachCalledOnceBy(deliver);
  }

 private:
  struct Signal;
  CountingHandlers handlers_;
  const Zol::Framework::ZolEvent event_;
  std::unique_ptr<Signal> signal_;
};

/// SigcDelivery with every emission under an uncontended std::mutex.
class LockedSigcDelivery : public SigcDelivery {
 public:
  using SigcDelivery::SigcDelivery;
  void run() const;
  bool verify() const;

 private:
  mutable std::mutex mutex_;
};

}  // namespace bench
