// The kernel's recursive mutex and its scope lock.
//
//   Zol::Threading::RecursiveLock_24_8 lock(mutex);
#pragma once

#include <mutex>

namespace Zol::Threading {

class RecursiveMutex_24_8 {
 public:
  void lock() { mutex_.lock(); }
  bool try_lock() { return mutex_.try_lock(); }
  void unlock() { mutex_.unlock(); }

 private:
  std::recursive_mutex mutex_;
};

/// Holds a RecursiveMutex_24_8 for its scope.
class RecursiveLock_24_8 {
 public:
  explicit RecursiveLock_24_8(RecursiveMutex_24_8& mutex) : lock_(mutex) {}

 private:
  std::lock_guard<RecursiveMutex_24_8> lock_;
};

}  // namespace Zol::Threading
