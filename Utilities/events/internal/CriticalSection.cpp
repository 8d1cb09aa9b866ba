#include "WyrdanPluginUtilities/events/internal/CriticalSection.h"

#include "WyrdanPluginUtilities/events/ImproperLock.h"

namespace kyr::orla::plugin::wyrdan::internal {

namespace {
// The innermost lock the calling thread holds. Initial-exec: read without a
// call on every event delivery.
thread_local const CriticalSection* heldByThread __attribute__((tls_model("initial-exec"))) = nullptr;
}  // namespace

bool CriticalSection::heldByThisThread() const noexcept {
  for (const CriticalSection* held = heldByThread; held != nullptr; held = held->previous_) {
    if (held == this) return true;
  }
  return false;
}

void CriticalSection::lock() {
  if (heldByThisThread()) throw ImproperLock();
  mutex_.lock();
  previous_ = heldByThread;
  heldByThread = this;
}

// Locks are released in the reverse order of taking (std::lock_guard), so
// this one is the innermost.
void CriticalSection::unlock() noexcept {
  heldByThread = previous_;
  mutex_.unlock();
}

}  // namespace kyr::orla::plugin::wyrdan::internal
