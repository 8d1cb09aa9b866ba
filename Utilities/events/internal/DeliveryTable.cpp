#include "WyrdanPluginUtilities/events/internal/DeliveryTable.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "WyrdanPluginUtilities/events/internal/CriticalSection.h"

namespace kyr::orla::plugin::wyrdan::internal {

// Every domain's handlers, sorted by domain id.
struct DeliverySnapshot {
  std::vector<std::pair<long long, DeliveryTable::Handlers>> domains;
};

// One thread's view of one table, used by that thread alone; it refreshes
// its snapshot under the lock.
struct DeliveryThread {
  std::shared_ptr<const DeliverySnapshot> snapshot;
  std::uint64_t version = ~std::uint64_t{0};
  int depth = 0;  // deliveries in progress on the thread
  // Snapshots a nested delivery replaced while an outer one still reads them.
  std::vector<std::shared_ptr<const DeliverySnapshot>> retired;
};

namespace {

// Which table the calling thread's state belongs to. Initial-exec: the
// library is loaded with its plug-in, and the thread's slot is then two
// words reached without a call.
struct ThreadSlot {
  std::uint64_t table = 0;
  DeliveryThread* thread = nullptr;
};
thread_local ThreadSlot slot __attribute__((tls_model("initial-exec")));

std::uint64_t newIdentity() {
  static std::atomic<std::uint64_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

DeliveryTable::DeliveryTable(CriticalSection& lock)
    : lock_(lock), identity_(newIdentity()), current_(std::make_shared<const DeliverySnapshot>()) {}

DeliveryTable::~DeliveryTable() = default;

void DeliveryTable::publish(const std::map<long long, Handlers>& table) {
  auto snapshot = std::make_shared<DeliverySnapshot>();
  snapshot->domains.assign(table.begin(), table.end());
  current_ = std::move(snapshot);
  version_.fetch_add(1, std::memory_order_release);
}

DeliveryThread* DeliveryTable::adoptCallingThread() {
  std::lock_guard<CriticalSection> lock(lock_);
  threads_.push_back(std::make_unique<DeliveryThread>());
  return threads_.back().get();
}

void DeliveryTable::refresh(DeliveryThread& thread) {
  std::lock_guard<CriticalSection> lock(lock_);
  if (thread.depth > 0) thread.retired.push_back(std::move(thread.snapshot));
  thread.snapshot = current_;
  thread.version = version_.load(std::memory_order_relaxed);
}

DeliveryTable::View::View(DeliveryTable& table) {
  ThreadSlot& mine = slot;
  if (mine.table != table.identity_) {
    mine.thread = table.adoptCallingThread();
    mine.table = table.identity_;
  }
  thread_ = mine.thread;
  if (thread_->version != table.version_.load(std::memory_order_acquire)) table.refresh(*thread_);
  ++thread_->depth;
}

DeliveryTable::View::~View() {
  if (--thread_->depth == 0 && !thread_->retired.empty()) thread_->retired.clear();
}

const DeliveryTable::Handlers* DeliveryTable::View::find(long long domainId) const noexcept {
  const auto& domains = thread_->snapshot->domains;
  const auto found = std::lower_bound(domains.begin(), domains.end(), domainId,
                                      [](const auto& entry, long long id) { return entry.first < id; });
  return found != domains.end() && found->first == domainId ? &found->second : nullptr;
}

}  // namespace kyr::orla::plugin::wyrdan::internal
