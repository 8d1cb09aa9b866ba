/// \class simhost::Synchronized
/// A value that the caller's thread and the host's work thread share: read as
/// a copy, replaced whole. The replaced value is destroyed after the lock is
/// released, so releasing a smart pointer never runs under it.
///
/// \par Threads and exceptions
/// Thread-safe. get() throws only what copying `T` throws, set() only what
/// moving it throws.
///
/// \code
///   simhost::Synchronized<ZolSmartPointer<SimModel>> model;
///   if (auto current = model.get()) ...
/// \endcode
#pragma once

#include <mutex>
#include <utility>

namespace simhost {

/// \addtogroup simhost_testbed
/// @{

template <class T>
class Synchronized {
 public:
  /// A value-initialised `T` (an empty smart pointer).
  Synchronized() = default;
  /// Holds `value`.
  explicit Synchronized(T value) : value_(std::move(value)) {}
  /// Not copyable: share the value through get() instead.
  Synchronized(const Synchronized&) = delete;
  /// Not assignable: replace the value with set().
  Synchronized& operator=(const Synchronized&) = delete;

  /// A copy of the value, taken under the lock.
  T get() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return value_;
  }

  /// Replaces the value under the lock; the old one is destroyed after it.
  void set(T value) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      std::swap(value_, value);
    }
  }

 private:
  mutable std::mutex mutex_;
  T value_{};
};

/// @}

}  // namespace simhost
