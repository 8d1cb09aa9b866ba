#include "WyrdanPluginUtilities/events/internal/CriticalSection.h"

#include <thread>

#include "WyrdanPluginUtilities/events/ImproperLock.h"

namespace kyr::orla::plugin::wyrdan::internal {

namespace {

// The sections the calling thread holds exclusively, innermost first,
// chained through their previous_ members; and the reader counter the thread
// uses, one past its index (0 until its first shared hold). Both are plain
// values: a thread that ends leaves nothing behind. Initial-exec: read
// without a call on every delivery.
thread_local const CriticalSection* heldByThread __attribute__((tls_model("initial-exec"))) = nullptr;
thread_local unsigned threadCounter __attribute__((tls_model("initial-exec"))) = 0;

std::atomic<unsigned> nextCounter{0};

}  // namespace

bool CriticalSection::heldByThisThread() const noexcept {
  for (const CriticalSection* held = heldByThread; held != nullptr; held = held->previous_) {
    if (held == this) return true;
  }
  return false;
}

std::atomic<unsigned>& CriticalSection::callingThreadsCount() noexcept {
  unsigned counter = threadCounter;
  if (counter == 0) {
    counter = nextCounter.fetch_add(1, std::memory_order_relaxed) % kCounters + 1;
    threadCounter = counter;
  }
  return readers_[counter - 1].holders;
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
  previous_ = heldByThread;
  heldByThread = this;
}

void CriticalSection::unlock() noexcept {
  heldByThread = previous_;
  changing_.store(false, std::memory_order_release);
  changes_.unlock();
}

void CriticalSection::lock_shared() {
  if (heldByThread != nullptr && heldByThisThread()) throw ImproperLock();
  std::atomic<unsigned>& holders = callingThreadsCount();
  holders.fetch_add(1, std::memory_order_seq_cst);
  while (changing_.load(std::memory_order_seq_cst)) {
    // Step aside, and wait on the change's own mutex until it ends.
    holders.fetch_sub(1, std::memory_order_release);
    changes_.lock();
    changes_.unlock();
    holders.fetch_add(1, std::memory_order_seq_cst);
  }
}

void CriticalSection::unlock_shared() noexcept { callingThreadsCount().fetch_sub(1, std::memory_order_release); }

}  // namespace kyr::orla::plugin::wyrdan::internal
