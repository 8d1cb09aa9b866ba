// The host kernel's logger, fetched from the kernel access on first need and
// kept until the slot is destroyed. Logger and LogHelper each own one slot,
// with its own recursive mutex.
#pragma once

#include <atomic>

#include "zol/kernel/ZolKernel.h"
#include "zol/kernel/ZolRecursiveMutex.h"

namespace kyr::orla::plugin::wyrdan::internal {

class KernelLoggerSlot {
 public:
  using LoggerPtr = ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface>;

  KernelLoggerSlot() = default;
  KernelLoggerSlot(const KernelLoggerSlot&) = delete;
  KernelLoggerSlot& operator=(const KernelLoggerSlot&) = delete;

  /// A new reference to the kernel logger. Until one was obtained, each call
  /// asks the kernel access under the mutex (checking again inside it, so
  /// that concurrent first calls ask once); the request's result is not
  /// examined. Afterwards no lock is taken. Empty while the kernel has no
  /// logger. Thread-safe; an exception of the kernel access passes through.
  LoggerPtr acquire();

  /// The reference the slot keeps; empty before one was obtained. For the
  /// held-reference report, which runs while nothing logs.
  const LoggerPtr& held() const noexcept { return logger_; }

 private:
  Zol::Threading::RecursiveMutex_24_8 mutex_;
  // Set, with release order, once logger_ holds the logger; logger_ is never
  // written again, so a reader that sees the flag reads it without the lock.
  std::atomic<bool> obtained_{false};
  LoggerPtr logger_;
};

}  // namespace kyr::orla::plugin::wyrdan::internal
