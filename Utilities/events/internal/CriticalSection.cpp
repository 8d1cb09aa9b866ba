#include "WyrdanPluginUtilities/events/internal/CriticalSection.h"

#include <thread>

#include "WyrdanPluginUtilities/events/ImproperLock.h"

namespace kyr::orla::plugin::wyrdan::internal {

WYRDAN_THREAD_LOCAL EventThread eventThread{};

namespace {
std::atomic<unsigned> nextCounter{0};
}  // namespace

bool CriticalSection::heldByThisThread() const noexcept {
  for (const CriticalSection* held = eventThread.heldSections; held != nullptr; held = held->previous_) {
    if (held == this) return true;
  }
  return false;
}

[[gnu::noinline, gnu::cold]] std::size_t CriticalSection::assignReaderCounter() noexcept {
  const std::size_t index = nextCounter.fetch_add(1, std::memory_order_relaxed) % kCounters;
  eventThread.readerCounterEnd = (index + 1) * sizeof(ReaderCount);
  return eventThread.readerCounterEnd;
}

[[gnu::noinline, gnu::cold]] void CriticalSection::throwIfHeldByThisThread() const {
  if (heldByThisThread()) throw ImproperLock();
}

// The flag goes up before the counters are read, and a reader counts itself
// before it reads the flag, both sequentially consistent: either the change
// sees the reader's count and waits for it, or the reader sees the flag and
// steps aside.
void CriticalSection::lock() {
  if (heldByThisThread()) throw ImproperLock();
  changes_.lock();
  changing_.store(true, std::memory_order_seq_cst);
  for (ReaderCount& readers : readers_) {
    // Readers only copy a few pointers while they hold the section.
    while (readers.holders.load(std::memory_order_seq_cst) != 0) std::this_thread::yield();
  }
  previous_ = eventThread.heldSections;
  eventThread.heldSections = this;
}

void CriticalSection::unlock() noexcept {
  eventThread.heldSections = previous_;
  changing_.store(false, std::memory_order_release);
  changes_.unlock();
}

// Steps aside, and waits on the change's own mutex until no change holds the
// section.
[[gnu::noinline, gnu::cold]] void CriticalSection::waitForChange(std::atomic<unsigned>& holders) {
  do {
    holders.fetch_sub(1, std::memory_order_release);
    changes_.lock();
    changes_.unlock();
    holders.fetch_add(1, std::memory_order_seq_cst);
  } while (changing_.load(std::memory_order_seq_cst));
}

}  // namespace kyr::orla::plugin::wyrdan::internal
