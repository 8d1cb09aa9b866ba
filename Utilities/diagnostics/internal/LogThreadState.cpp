#include "WyrdanPluginUtilities/diagnostics/internal/LogThreadState.h"

#include <mutex>
#include <thread>

#include "WyrdanPluginUtilities/internal/ThreadLocal.h"

namespace kyr::orla::plugin::wyrdan::internal {

namespace {

// The calling thread's state, and whether it was freed already. Trivially
// destructible, so that it can still be read after the thread's destructors
// ran, and read without a call where the platform allows.
struct Slot {
  LogThreadState* state;
  bool ended;
};
WYRDAN_THREAD_LOCAL Slot slot = {nullptr, false};

// Frees the calling thread's state when the thread ends.
struct StateOwner {
  StateOwner() = default;
  StateOwner(const StateOwner&) = delete;
  StateOwner& operator=(const StateOwner&) = delete;
  ~StateOwner() {
    LogThreadState* const state = slot.state;
    slot = {nullptr, true};
    delete state;
  }
};

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
  const SinkReads* const self = slot.state != nullptr ? &slot.state->reads : nullptr;
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

LogThreadState* callingThreadLogState() {
  if (slot.state != nullptr || slot.ended) return slot.state;
  auto state = std::make_unique<LogThreadState>();
  static thread_local StateOwner owner;
  slot.state = state.release();
  return slot.state;
}

}  // namespace kyr::orla::plugin::wyrdan::internal
