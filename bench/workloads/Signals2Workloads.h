// The boost::signals2 peer of EventHandler::handleEvent: a signal with one
// slot per handler, each calling the same kind of counting handler, emitted
// once per event, as a user would dispatch events without the registry.
// Built only when Boost's headers are found.
//
//   bench::Signals2Delivery delivery(8);  // 8 slots
//   if (delivery.verify()) delivery.run();  // one emission: 8 handler calls
#pragma once

#include <memory>

#include "workloads/EventWorkloads.h"

namespace bench {

class Signals2Delivery {
 public:
  explicit Signals2Delivery(long entries);
  ~Signals2Delivery();
  Signals2Delivery(const Signals2Delivery&) = delete;
  Signals2Delivery& operator=(const Signals2Delivery&) = delete;

  void run() const;
  bool verify() const;

 private:
  struct Signal;
  CountingHandlers handlers_;
  const Zol::Framework::ZolEvent event_;
  std::unique_ptr<Signal> signal_;
};

}  // namespace bench
