// A non-recursive lock over a oneTBB mutex that knows its owning thread:
// taking it again on the owning thread raises ImproperLock instead of
// deadlocking. Meets the standard Lockable requirements, so it is used
// through std::lock_guard. Each thread keeps the locks it holds as a chain
// in a thread-local, innermost first, so asking whether the calling thread
// holds a lock is a read of its own memory.
#pragma once

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
  bool heldByThisThread() const noexcept;

 private:
  tbb::mutex mutex_;
  // The lock the owner held before this one; written and read by the owner
  // only, while it holds this lock.
  const CriticalSection* previous_ = nullptr;
};

}  // namespace kyr::orla::plugin::wyrdan::internal
