#include "WyrdanPluginUtilities/events/internal/DeliveryTable.h"

#include <algorithm>
#include <mutex>

#include "WyrdanPluginUtilities/events/ImproperLock.h"
#include "WyrdanPluginUtilities/events/internal/CriticalSection.h"

namespace kyr::orla::plugin::wyrdan::internal {

namespace {

// The calling thread's place in the tables: which table its view belongs
// to, and which table it is changing. Initial-exec: reached without a call.
struct Slot {
  std::uint64_t table;
  DeliveryThread* thread;
  std::uint64_t changing;
};
thread_local Slot slot __attribute__((tls_model("initial-exec"))) = {0, nullptr, 0};

// Out of the delivery's own code, which stays small.
[[noreturn]] __attribute__((noinline, cold)) void throwImproperLock() { throw ImproperLock(); }

// Tables this small are searched front to back: fewer instructions than
// halving, for the few domains a plug-in listens to.
constexpr std::size_t kScannedDomains = 8;

std::uint64_t newIdentity() {
  static std::atomic<std::uint64_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

DeliveryTable::DeliveryTable(CriticalSection& lock)
    : lock_(lock), identity_(newIdentity()), current_(std::make_shared<const DeliverySnapshot>()) {}

DeliveryTable::~DeliveryTable() = default;

void DeliveryTable::publish(const std::map<long long, DeliveryHandlers>& table) {
  auto snapshot = std::make_shared<DeliverySnapshot>();
  snapshot->domains.assign(table.begin(), table.end());
  current_ = std::move(snapshot);
  version_.fetch_add(1, std::memory_order_release);
}

DeliveryTable::Change::Change(const DeliveryTable& table) : previous_(slot.changing) {
  slot.changing = table.identity_;
}

DeliveryTable::Change::~Change() { slot.changing = previous_; }

DeliveryTable::View::View(DeliveryTable& table) : thread_(table.callingThread()) { ++thread_->depth; }

DeliveryTable::View::~View() { --thread_->depth; }

const DeliveryHandlers* DeliveryTable::View::find(long long domainId) const noexcept {
  const auto& domains = thread_->snapshot->domains;
  if (domains.size() <= kScannedDomains) {
    for (const auto& [id, handlers] : domains) {
      if (id == domainId) return &handlers;
    }
    return nullptr;
  }
  const auto found = std::lower_bound(domains.begin(), domains.end(), domainId,
                                      [](const auto& entry, long long id) { return entry.first < id; });
  return found != domains.end() && found->first == domainId ? &found->second : nullptr;
}

DeliveryThread* DeliveryTable::callingThread() {
  const Slot& mine = slot;
  if (mine.changing == identity_) throwImproperLock();
  if (mine.table == identity_ && mine.thread->version == version_.load(std::memory_order_acquire)) return mine.thread;
  return refreshCallingThread();
}

// The calling thread's first delivery from this table, or its first since
// a change: under the lock, it makes the thread's view or brings it up to
// date. A snapshot still read by a delivery in progress on the thread is
// kept until that delivery ends. Kept out of the delivery's own code.
__attribute__((noinline, cold)) DeliveryThread* DeliveryTable::refreshCallingThread() {
  std::lock_guard<CriticalSection> lock(lock_);
  Slot& mine = slot;
  if (mine.table != identity_) {
    threads_.push_back(std::make_unique<DeliveryThread>());
    mine.thread = threads_.back().get();
    mine.table = identity_;
  }
  DeliveryThread& thread = *mine.thread;
  if (thread.depth == 0) {
    thread.retired.clear();
  } else if (thread.snapshot) {
    thread.retired.push_back(std::move(thread.snapshot));
  }
  thread.snapshot = current_;
  thread.version = version_.load(std::memory_order_relaxed);
  return &thread;
}

}  // namespace kyr::orla::plugin::wyrdan::internal
