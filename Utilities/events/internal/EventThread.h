// What the event code keeps per thread, as plain values in one thread-local
// block, so that a delivery reaches all of it from one address. A thread that
// ends leaves nothing behind.
#pragma once

#include <cstddef>

#include "WyrdanPluginUtilities/internal/ThreadLocal.h"

namespace kyr::orla::plugin::wyrdan::internal {

class CriticalSection;
class Delivery;

struct EventThread {
  // The critical sections the thread holds exclusively, innermost first
  // (chained through the sections).
  const CriticalSection* heldSections;
  // The deliveries in progress on the thread, innermost first (chained
  // through the deliveries).
  Delivery* deliveries;
  // Where the thread counts its shared holds in a critical section: the
  // byte offset of its counter, plus one counter's size; 0 until the
  // thread's first shared hold.
  std::size_t readerCounterEnd;
};

extern WYRDAN_THREAD_LOCAL EventThread eventThread;

}  // namespace kyr::orla::plugin::wyrdan::internal
