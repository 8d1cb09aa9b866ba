// The handler registry's critical section: a non-recursive lock over a
// oneTBB mutex that knows its owning thread, so that taking it again on that
// thread raises ImproperLock instead of deadlocking.
//
//   std::lock_guard<CriticalSection> change(section);      // a table change
//   CriticalSection::SharedHold delivery(section);         // copying one domain's handlers
//
// Changes take it exclusively and may call the host while they hold it.
// Deliveries take it shared, only long enough to copy a few pointers, so
// they wait for a change in progress but not for one another. A shared
// holder counts itself in one of several counters, each on a cache line of
// its own and chosen by thread, so that deliveries on different threads
// write no memory they share; a change raises a flag, then waits for the
// counters to drain. Meets the standard Lockable requirements.
#pragma once

#include <array>
#include <atomic>

#include <oneapi/tbb/mutex.h>

#include "WyrdanPluginUtilities/events/internal/EventThread.h"

namespace kyr::orla::plugin::wyrdan::internal {

class CriticalSection {
 public:
  CriticalSection() = default;
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  /// Blocks until no other thread holds the section in any way, then takes
  /// it exclusively. Throws ImproperLock when the calling thread holds it
  /// already.
  void lock();
  /// Releases the exclusive hold; only its owner calls this, in the reverse
  /// order of taking.
  void unlock() noexcept;
  /// A shared hold, from construction to release() or destruction.
  class SharedHold {
   public:
    /// Blocks while a change holds `section`, then takes a shared hold.
    /// Throws ImproperLock when the calling thread holds it exclusively.
    explicit SharedHold(CriticalSection& section) : holders_(&section.callingThreadsCount()) {
      if (eventThread.heldSections != nullptr) section.throwIfHeldByThisThread();
      holders_->fetch_add(1, std::memory_order_seq_cst);
      if (section.changing_.load(std::memory_order_seq_cst)) section.waitForChange(*holders_);
    }
    ~SharedHold() {
      if (holders_ != nullptr) release();
    }
    SharedHold(const SharedHold&) = delete;
    SharedHold& operator=(const SharedHold&) = delete;

    /// Ends the hold early; called once at most.
    void release() noexcept {
      holders_->fetch_sub(1, std::memory_order_release);
      holders_ = nullptr;
    }

   private:
    std::atomic<unsigned>* holders_;
  };

  /// True when the calling thread holds the section exclusively. A read of
  /// the thread's own memory: takes nothing.
  bool heldByThisThread() const noexcept;

 private:
  // A power of two; more than the host runs delivering threads at once, as a
  // rule. Threads that share a counter still count correctly, only slower.
  static constexpr unsigned kCounters = 16;

  struct alignas(128) ReaderCount {
    std::atomic<unsigned> holders{0};
  };

  std::atomic<unsigned>& callingThreadsCount() noexcept {
    const std::size_t end = eventThread.readerCounterEnd;
    auto* counters = reinterpret_cast<char*>(readers_.data()) - sizeof(ReaderCount);
    return reinterpret_cast<ReaderCount*>(counters + (end != 0 ? end : assignReaderCounter()))->holders;
  }
  // The slow paths, kept out of the delivery's own code.
  static std::size_t assignReaderCounter() noexcept;
  void throwIfHeldByThisThread() const;
  void waitForChange(std::atomic<unsigned>& holders);

  tbb::mutex changes_;
  // Set by the exclusive holder from taking to release.
  std::atomic<bool> changing_{false};
  // The section the owner held before this one; written and read by the
  // owner only, while it holds this section.
  const CriticalSection* previous_ = nullptr;
  std::array<ReaderCount, kCounters> readers_;
};

}  // namespace kyr::orla::plugin::wyrdan::internal
