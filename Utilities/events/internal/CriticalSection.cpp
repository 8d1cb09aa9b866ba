#include "WyrdanPluginUtilities/events/internal/CriticalSection.h"

#include "WyrdanPluginUtilities/events/ImproperLock.h"

namespace kyr::orla::plugin::wyrdan::internal {

void CriticalSection::lock() {
  if (heldByThisThread()) throw ImproperLock();
  mutex_.lock();
  owner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
}

void CriticalSection::unlock() noexcept {
  owner_.store(std::thread::id(), std::memory_order_relaxed);
  mutex_.unlock();
}

}  // namespace kyr::orla::plugin::wyrdan::internal
