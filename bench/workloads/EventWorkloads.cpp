#include "workloads/EventWorkloads.h"

#include <algorithm>
#include <atomic>
#include <numeric>
#include <stdexcept>
#include <thread>

#include <benchmark/benchmark.h>

namespace bench {

namespace {

using Zol::Framework::ZolEvent;

// Not a domain id any host hands out in this process: there is no host.
constexpr long long kBenchDomain = 0x5eed;

// The calls of ThreadCountingHandler on this thread.
thread_local std::uint64_t threadCalls = 0;

}  // namespace

void CountingHandler::handleDomainEvent(long long /*domainId*/, const ZolEvent& /*event*/) { ++calls_; }

CountingHandlers::CountingHandlers(long count) : handlers_(static_cast<std::size_t>(count)) {
  for (CountingHandler& handler : handlers_) pointers_.push_back(&handler);
}

bool CountingHandlers::eachCalledOnceBy(const std::function<void()>& deliver) const {
  std::vector<std::uint64_t> before;
  for (const CountingHandler& handler : handlers_) before.push_back(handler.calls());
  deliver();
  for (std::size_t i = 0; i < handlers_.size(); ++i) {
    if (handlers_[i].calls() != before[i] + 1) return false;
  }
  return true;
}

ZolEvent benchEvent() { return ZolEvent{kBenchDomain, 1, {}}; }

HandleEvent::HandleEvent(long entries) : handlers_(entries), event_(benchEvent()), registry_(EventHandler::instance()) {
  for (IZolEventHandler* handler : handlers_.pointers()) registry_->addDomainEventHandler(event_.domainId, handler);
}

HandleEvent::~HandleEvent() { registry_->removeDomainEventHandlers(event_.domainId); }

void HandleEvent::run() const { benchmark::DoNotOptimize(registry_->handleEvent(event_)); }

bool HandleEvent::verify() const {
  Zol::Framework::HandleEventStatus status = Zol::Framework::EventNotHandled;
  return handlers_.eachCalledOnceBy([&] { status = registry_->handleEvent(event_); }) &&
         status == Zol::Framework::EventHandled;
}

HandleEventFloor::HandleEventFloor(long entries) : handlers_(entries), event_(benchEvent()) {}

void HandleEventFloor::run() const {
  const std::vector<IZolEventHandler*>* handlers = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    handlers = &handlers_.pointers();
  }
  for (IZolEventHandler* handler : *handlers) handler->handleDomainEvent(event_.domainId, event_);
}

bool HandleEventFloor::verify() const {
  return handlers_.eachCalledOnceBy([this] { run(); });
}

namespace {
// The calling thread's identity for the spin lock's owner: the address of a
// thread-local, reached without a call.
thread_local char threadToken;
}  // namespace

HandleEventSpinFloor::HandleEventSpinFloor(long entries) : handlers_(entries), event_(benchEvent()) {}

void HandleEventSpinFloor::run() const {
  const void* self = &threadToken;
  if (owner_.load(std::memory_order_relaxed) == self) throw std::logic_error("re-entered");
  while (locked_.exchange(true, std::memory_order_acquire)) {
  }
  owner_.store(self, std::memory_order_relaxed);
  const std::vector<IZolEventHandler*>* handlers = &handlers_.pointers();
  owner_.store(nullptr, std::memory_order_relaxed);
  locked_.store(false, std::memory_order_release);
  for (IZolEventHandler* handler : *handlers) handler->handleDomainEvent(event_.domainId, event_);
}

bool HandleEventSpinFloor::verify() const {
  return handlers_.eachCalledOnceBy([this] { run(); });
}

void ThreadCountingHandler::handleDomainEvent(long long /*domainId*/, const ZolEvent& /*event*/) { ++threadCalls; }

std::uint64_t ThreadCountingHandler::callsOnThisThread() noexcept { return threadCalls; }

ConcurrentHandleEvent::ConcurrentHandleEvent(long entries, int threads)
    : entries_(entries), threads_(threads), event_(benchEvent()), registry_(EventHandler::instance()) {
  registry_->addDomainEventHandler(event_.domainId, &handler_);
}

ConcurrentHandleEvent::~ConcurrentHandleEvent() { registry_->removeDomainEventHandler(event_.domainId, &handler_); }

void ConcurrentHandleEvent::run() const { benchmark::DoNotOptimize(deliver()); }

bool ConcurrentHandleEvent::verify() const { return deliver() == static_cast<std::uint64_t>(entries_); }

std::uint64_t ConcurrentHandleEvent::deliver() const {
  std::atomic<bool> go{false};
  std::vector<std::uint64_t> calls(static_cast<std::size_t>(threads_));
  std::vector<std::thread> workers;
  workers.reserve(calls.size());
  for (int t = 0; t < threads_; ++t) {
    // The first entries % threads threads take one event more.
    const long share = entries_ / threads_ + (t < entries_ % threads_ ? 1 : 0);
    workers.emplace_back([this, &go, &calls, t, share] {
      while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
      const std::uint64_t before = ThreadCountingHandler::callsOnThisThread();
      for (long i = 0; i < share; ++i) registry_->handleEvent(event_);
      calls[static_cast<std::size_t>(t)] = ThreadCountingHandler::callsOnThisThread() - before;
    });
  }
  go.store(true, std::memory_order_release);
  for (std::thread& worker : workers) worker.join();
  return std::accumulate(calls.begin(), calls.end(), std::uint64_t{0});
}

}  // namespace bench
