#include "WyrdanPluginUtilities/diagnostics/internal/LogThreadState.h"

#include <memory>
#include <mutex>
#include <thread>

// Where each thread's state is kept, and how it is freed when the thread
// ends: callingThreadLogState, and existingLogState for a look that makes
// nothing.
#if defined(_WIN32)
#include "windows/LogThreadSlot.inc"
#else
#include "posix/LogThreadSlot.inc"
#endif

namespace kyr::orla::plugin::wyrdan::internal {

namespace {

// Every thread's reads, linked through themselves, and their lock: made on
// first use and never destroyed, since threads may log while the library's
// statics are destroyed.
std::mutex& listMutex() {
  static auto* const mutex = new std::mutex;
  return *mutex;
}
SinkReads* listHead = nullptr;

// One awaitReaders at a time: each uses the awaited counts.
std::mutex awaitMutex;

}  // namespace

SinkReads::SinkReads() noexcept {
  const std::lock_guard<std::mutex> lock(listMutex());
  next_ = listHead;
  if (next_ != nullptr) next_->previous_ = this;
  listHead = this;
}

SinkReads::~SinkReads() {
  const std::lock_guard<std::mutex> lock(listMutex());
  if (previous_ != nullptr) {
    previous_->next_ = next_;
  } else {
    listHead = next_;
  }
  if (next_ != nullptr) next_->previous_ = previous_;
}

// Notes each other thread's count once, then polls until every count that was
// odd has changed: each read begun before the call has ended by then. The
// list's lock is taken per pass, not held while waiting, so that threads
// start and end meanwhile.
void SinkReads::awaitReaders() noexcept {
  const std::lock_guard<std::mutex> awaiting(awaitMutex);
  const LogThreadState* const own = existingLogState();
  const SinkReads* const self = own != nullptr ? &own->reads : nullptr;
  {
    const std::lock_guard<std::mutex> lock(listMutex());
    for (SinkReads* reads = listHead; reads != nullptr; reads = reads->next_) {
      reads->awaited_ = reads == self ? 0 : reads->count_.load();
    }
  }
  for (;;) {
    bool reading = false;
    {
      const std::lock_guard<std::mutex> lock(listMutex());
      for (const SinkReads* reads = listHead; reads != nullptr && !reading; reads = reads->next_) {
        reading = reads->awaited_ % 2 == 1 && reads->count_.load(std::memory_order_acquire) == reads->awaited_;
      }
    }
    if (!reading) return;
    std::this_thread::yield();
  }
}

}  // namespace kyr::orla::plugin::wyrdan::internal
