// A non-recursive lock over a oneTBB mutex that knows its owning thread:
// taking it again on the owning thread raises ImproperLock instead of
// deadlocking. Meets the standard Lockable requirements, so it is used
// through std::lock_guard.
#pragma once

#include <atomic>
#include <thread>

#include <oneapi/tbb/mutex.h>

namespace kyr::orla::plugin::wyrdan::internal {

class CriticalSection {
 public:
  CriticalSection() = default;
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  /// Blocks until the lock is free, then takes it. Throws ImproperLock when
  /// the calling thread holds it already.
  void lock();
  /// Releases the lock; only its owner calls this.
  void unlock() noexcept;
  /// True when the calling thread holds the lock. A read: takes nothing.
  bool heldByThisThread() const noexcept {
    return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id();
  }

 private:
  tbb::mutex mutex_;
  // Written only by the owner while it holds the mutex; read by any thread
  // to tell whether it is the owner (no other thread can store its own id).
  std::atomic<std::thread::id> owner_{};
};

}  // namespace kyr::orla::plugin::wyrdan::internal
