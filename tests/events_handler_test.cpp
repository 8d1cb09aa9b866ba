// The handler registry (EventHandler) on the simulated host's event manager:
// the subscription that follows the handlers, the order they run in, changes
// and failures during a delivery, and each domain's shorthands.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/events/EventHandler.h"
#include "WyrdanPluginUtilities/events/ImproperLock.h"
#include "support/EventTest.h"
#include "support/Memory.h"

namespace {

using kyr::orla::plugin::wyrdan::EventHandler;
using kyr::orla::plugin::wyrdan::ImproperLock;
using kyr::orla::plugin::wyrdan::IZolEventHandler;
using testing_support::managerCall;
using Zol::Framework::EventFilter;
using Zol::Framework::ZolEvent;

// Records the order in which handlers ran; handlers may act on the registry.
struct Recorder : IZolEventHandler {
  explicit Recorder(std::vector<const Recorder*>& order) : ran(order) {}
  void handleDomainEvent(long long domainId, ZolEvent const& event) override {
    EXPECT_EQ(domainId, event.domainId);
    ran.push_back(this);
    if (action) action();
  }
  std::vector<const Recorder*>& ran;
  std::function<void()> action;
};

// A registry of the test's own besides the process-wide one.
class OwnRegistry : public EventHandler {};

class EventHandlerTest : public testing_support::EventTest {
 protected:
  EventHandler& registry = *EventHandler::instance();
  std::vector<const Recorder*> ran;
  // In ascending address order, as the registry calls them.
  Recorder handlers[3] = {Recorder(ran), Recorder(ran), Recorder(ran)};
  const long long mine = host.eventManager().defineDomain("Test.Mine");

  Zol::Framework::HandleEventStatus deliver(long long id, int eventId = 1) {
    return registry.handleEvent(ZolEvent{id, eventId, Zol::ZolAny_24_8(eventId)});
  }
};

// Handlers compiled against the host's declaration of the interface call
// handleDomainEvent through the first slot of its table. By the Itanium C++
// ABI, a pointer to a virtual member holds one plus the slot's byte offset.
TEST(IZolEventHandlerLayout, HandleDomainEventIsTheFirstVirtualOperation) {
  const auto member = &IZolEventHandler::handleDomainEvent;
  std::uintptr_t slot = 0;
  static_assert(sizeof member >= sizeof slot);
  std::memcpy(&slot, &member, sizeof slot);
  EXPECT_EQ(slot, 1u);
}

TEST_F(EventHandlerTest, TheSubscriptionFollowsTheHandlers) {
  registry.addDomainEventHandler(mine, &handlers[0]);
  EXPECT_EQ(subscriptions(mine), 1u) << "the plug-in listener's";
  host.journal().clear();
  registry.addDomainEventHandler(mine, &handlers[0]);
  registry.addDomainEventHandler(mine, &handlers[1]);
  EXPECT_EQ(host.journal().count(managerCall("addListenerForAllEvents")), 0u) << "listened already";

  registry.removeDomainEventHandler(mine, &handlers[0]);
  EXPECT_EQ(subscriptions(mine), 1u) << "one handler is left";
  host.eventManager().deliver(ZolEvent{mine, 1, {}});
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&handlers[1]})) << "a handler added twice is removed by one remove";
  registry.removeDomainEventHandler(mine, &handlers[1]);
  EXPECT_EQ(subscriptions(mine), 0u) << "the last handler's removal unsubscribes";
  host.journal().clear();
  registry.removeDomainEventHandler(mine, &handlers[1]);
  registry.removeDomainEventHandler(424242, &handlers[1]);
  EXPECT_EQ(host.journal().size(), 0u) << "unknown handlers and domains call nothing";

  registry.addDomainEventHandler(mine, &handlers[0]);
  registry.addDomainEventHandler(mine, &handlers[2]);
  registry.removeDomainEventHandlers(mine);
  EXPECT_EQ(subscriptions(mine), 0u);
  EXPECT_EQ(deliver(mine), Zol::Framework::EventNotHandled);
  registry.removeDomainEventHandlers(mine);

  const long long modes = EventHandler::getModesDomainId();
  registry.addModeChangeEventHandler(&handlers[0]);
  registry.addDomainEventHandler(mine, &handlers[1]);
  EXPECT_EQ(host.eventManager().subscriptions(modes)[0].filter, (EventFilter{1, 2})) << "the modes domain's own";
  registry.removeAllEventHandler();
  EXPECT_EQ(subscriptions(modes) + subscriptions(mine), 0u);
  host.journal().clear();
  registry.removeAllEventHandler();
  EXPECT_EQ(host.journal().size(), 0u) << "an empty table asks nothing of the host";

  int width = -1;
  int height = -1;
  registry.viewportSize(width, height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
}

// Null handlers are ignored: one would crash the thread that delivers the
// domain's next event.
TEST_F(EventHandlerTest, HandlersRunInAddressOrderOnTheirDomainOnly) {
  registry.addDomainEventHandler(mine, nullptr);
  registry.addSelectionEventHandler(nullptr);
  EXPECT_EQ(host.journal().count(managerCall("addListenerForAllEvents")), 0u);
  EXPECT_EQ(deliver(mine), Zol::Framework::EventNotHandled);

  const long long other = host.eventManager().defineDomain("Test.Other");
  registry.addDomainEventHandler(mine, &handlers[2]);
  registry.addDomainEventHandler(mine, &handlers[0]);
  registry.addDomainEventHandler(other, &handlers[1]);
  host.journal().clear();
  registry.removeDomainEventHandler(mine, nullptr);
  EXPECT_EQ(host.journal().size(), 0u);
  EXPECT_EQ(host.eventManager().deliver(ZolEvent{mine, 5, Zol::ZolAny_24_8(5)}), 1u);
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&handlers[0], &handlers[2]})) << "ascending addresses";
  EXPECT_GT(testing_support::pluginListener()->deliveries(), 0u);

  ran.clear();
  EXPECT_EQ(deliver(other), Zol::Framework::EventHandled);
  EXPECT_EQ(deliver(host.eventManager().defineDomain("Test.Silent")), Zol::Framework::EventNotHandled);
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&handlers[1]}));
}

// A handler removed on the delivering thread is not called afterwards in that
// delivery, so a handler may remove another and delete it at once; one added
// counts from the next event.
TEST_F(EventHandlerTest, ChangesOnTheDeliveringThreadRemoveAtOnceAndAddForTheNextEvent) {
  Recorder& first = handlers[0];
  Recorder& second = handlers[1];
  Recorder& third = handlers[2];
  const std::pair<const char*, std::function<void()>> removals[] = {
      {"one handler", [&] { registry.removeDomainEventHandler(mine, &second); }},
      {"the domain's handlers", [&] { registry.removeDomainEventHandlers(mine); }},
      {"every handler", [&] { registry.removeAllEventHandler(); }},
  };
  for (const auto& [name, remove] : removals) {
    SCOPED_TRACE(name);
    registry.addDomainEventHandler(mine, &second);
    registry.addDomainEventHandler(mine, &first);
    first.action = [&] {
      remove();
      registry.addDomainEventHandler(mine, &third);
    };
    ran.clear();
    EXPECT_EQ(deliver(mine), Zol::Framework::EventHandled);
    EXPECT_EQ(ran, (std::vector<const Recorder*>{&first}));
    first.action = nullptr;
    registry.removeDomainEventHandler(mine, &first);
    ran.clear();
    deliver(mine);
    EXPECT_EQ(ran, (std::vector<const Recorder*>{&third}));
    registry.removeAllEventHandler();
  }
}

// A handler that changes the table and then delivers again on the same
// thread: the nested delivery sees the change, and so does the outer one
// when it goes on.
TEST_F(EventHandlerTest, ANestedDeliveryAfterAChangeSeesIt) {
  registry.addDomainEventHandler(mine, &handlers[1]);
  registry.addDomainEventHandler(mine, &handlers[0]);
  Recorder& first = handlers[0];
  Recorder& second = handlers[1];
  Recorder& third = handlers[2];
  bool changed = false;
  first.action = [&] {
    if (std::exchange(changed, true)) return;
    registry.removeDomainEventHandler(mine, &second);
    registry.addDomainEventHandler(mine, &third);
    deliver(mine, 2);
  };
  deliver(mine, 1);
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&first, &first, &third}));

  ran.clear();
  std::thread other([&] { deliver(mine, 3); });
  other.join();
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&first, &third})) << "another thread sees the change too";
}

// A delivery on another thread, past its copy, still calls the handlers it
// copied when the registry is gone meanwhile (the handlers outlive it); it
// reads nothing of the registry any more (ASan checks).
TEST_F(EventHandlerTest, ADeliveryInProgressOutlivesItsRegistry) {
  auto own = std::make_unique<OwnRegistry>();
  own->addDomainEventHandler(mine, &handlers[0]);
  own->addDomainEventHandler(mine, &handlers[1]);
  std::promise<void> inFirstHandler;
  std::promise<void> registryGone;
  handlers[0].action = [&] {
    inFirstHandler.set_value();
    registryGone.get_future().wait();
  };
  std::thread delivering([&, registry = own.get()] { registry->handleEvent(ZolEvent{mine, 1, {}}); });
  inFirstHandler.get_future().wait();
  own->removeAllEventHandler();
  own.reset();
  registryGone.set_value();
  delivering.join();
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&handlers[0], &handlers[1]}))
      << "removed on another thread, the second handler is still called for the event in progress";
}

// Whatever a delivery keeps is freed when it ends: nested deliveries after
// table changes, threads that delivered once and ended, and deliveries that
// alternate between two registries leave the heap as they found it. Without a
// host, whose journal would grow with every change.
TEST(EventDelivery, LeavesNothingBehind) {
  std::vector<const Recorder*> ran;
  const auto deliver = [&](EventHandler& to, long long id) {
    to.handleEvent(ZolEvent{id, 1, {}});
    ran.clear();
  };
  OwnRegistry registry[2];
  constexpr int kDomains = 16;
  constexpr int kHandlersPerDomain = 32;
  std::deque<Recorder> recorders;
  for (long long id = 1; id <= kDomains; ++id) {
    for (int h = 0; h < kHandlersPerDomain; ++h) registry[0].addDomainEventHandler(id, &recorders.emplace_back(ran));
  }
  ran.reserve(kHandlersPerDomain + 1);
  const auto changeTable = [&] {
    registry[0].removeDomainEventHandler(kDomains, &recorders.back());
    registry[0].addDomainEventHandler(kDomains, &recorders.back());
  };

  constexpr int kNesting = 20'000;
  int depth = 0;
  Recorder nesting(ran);
  nesting.action = [&] {
    if (depth == kNesting) return;
    ++depth;
    changeTable();
    registry[0].handleEvent(ZolEvent{1, 1, {}});
  };
  registry[0].addDomainEventHandler(1, &nesting);
  ran.reserve(2 * kNesting * (kHandlersPerDomain + 1));
  {
    const std::size_t empty = testing_support::heapInUse();
    char* volatile block = new char[4096];
    EXPECT_GE(testing_support::heapGrowthSince(empty), 4096) << "the count sees an allocation";
    delete[] block;
  }
  // A first thread makes what the C library keeps for threads to come.
  testing_support::runOnStackOf(std::size_t{1} << 30, [&] { deliver(registry[0], 2); });
  std::size_t before = testing_support::heapInUse();
  testing_support::runOnStackOf(std::size_t{1} << 30, [&] { deliver(registry[0], 1); });
  EXPECT_EQ(depth, kNesting);
  EXPECT_LE(testing_support::heapGrowthSince(before), 1024) << "nested deliveries";
  registry[0].removeDomainEventHandler(1, &nesting);

  before = testing_support::heapInUse();
  for (int t = 0; t < 3000; ++t) {
    changeTable();
    std::thread([&] { registry[0].handleEvent(ZolEvent{1 + t % kDomains, 1, {}}); }).join();
  }
  EXPECT_LE(testing_support::heapGrowthSince(before), 1024) << "threads that ended";

  ran.clear();
  registry[1].addDomainEventHandler(1, &recorders.front());
  deliver(registry[1], 1);
  before = testing_support::heapInUse();
  for (int i = 0; i < 400'000; ++i) deliver(registry[i % 2], 1);
  EXPECT_LE(testing_support::heapGrowthSince(before), 1024) << "two registries alternating";
}

TEST_F(EventHandlerTest, AThrowingHandlerEndsItsEventAndLeavesTheLockFree) {
  registry.addDomainEventHandler(mine, &handlers[0]);
  registry.addDomainEventHandler(mine, &handlers[1]);
  Recorder& first = handlers[0];
  first.action = [] { throw std::runtime_error("handler failed"); };
  EXPECT_THROW(deliver(mine), std::runtime_error);
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&first})) << "the handlers after it did not run";
  first.action = nullptr;
  registry.removeDomainEventHandler(mine, &first);
  ran.clear();
  EXPECT_EQ(deliver(mine), Zol::Framework::EventHandled);
  EXPECT_EQ(ran.size(), 1u);
}

// The registry holds its lock while it changes a subscription at the host; an
// event the host delivers on that thread meanwhile finds the lock taken by
// its own thread.
TEST_F(EventHandlerTest, AnEventDeliveredDuringASubscriptionChangeRaisesImproperLock) {
  registry.addDomainEventHandler(mine, &handlers[0]);
  const long long other = host.eventManager().defineDomain("Test.Other");
  host.faults().inject(managerCall("addListenerForAllEvents").with(other, testing_support::pluginListener(), 2),
                       simhost::Fault::callback([&] {
                         host.eventManager().deliver(ZolEvent{mine, 1, {}});
                       }),
                       1);
  EXPECT_THROW(registry.addDomainEventHandler(other, &handlers[1]), ImproperLock);
  EXPECT_TRUE(ran.empty());
  EXPECT_STRNE(ImproperLock().what(), "");

  EXPECT_EQ(deliver(mine), Zol::Framework::EventHandled) << "the lock was released on the way out";
  registry.addDomainEventHandler(other, &handlers[1]);
  EXPECT_EQ(subscriptions(other), 1u);
}

// Each registry has its lock: when another registry's change runs inside this
// one's host call, an event for this registry on that thread still finds this
// registry's lock taken by its own thread, also when nothing in the table
// changed since the thread's last delivery.
TEST_F(EventHandlerTest, ImproperLockIsPerRegistryThroughNestedChanges) {
  OwnRegistry inner;
  registry.addDomainEventHandler(mine, &handlers[0]);
  deliver(mine);
  ran.clear();
  const long long innerDomain = host.eventManager().defineDomain("Test.Inner");
  host.faults().inject(managerCall("lookUpDomainId"),
                       simhost::Fault::callback([&] { inner.addDomainEventHandler(innerDomain, &handlers[1]); }), 1);
  host.faults().inject(managerCall("addListenerForAllEvents").with(innerDomain, testing_support::pluginListener(), 2),
                       simhost::Fault::callback([&] { deliver(mine); }), 1);
  EXPECT_THROW(registry.addDomainEventHandler(mine, &handlers[0]), ImproperLock);
  EXPECT_TRUE(ran.empty());
  inner.removeAllEventHandler();
}

// A delivery that starts on another thread while a change holds the lock
// waits for the change, then sees it: during removeAllEventHandler's host
// calls, no handler is called after the host unsubscribed it. The thread has
// delivered before, so it holds nothing it would need the lock to refresh.
TEST_F(EventHandlerTest, ADeliveryDuringAChangeWaitsForItAndSeesIt) {
  registry.addDomainEventHandler(mine, &handlers[0]);
  std::promise<void> delivered;
  std::promise<void> deliverAgain;
  std::atomic<bool> deliveredAgain{false};
  std::thread delivering([&] {
    deliver(mine);
    delivered.set_value();
    deliverAgain.get_future().wait();
    deliver(mine);
    deliveredAgain = true;
  });
  delivered.get_future().wait();
  ran.clear();
  host.faults().inject(managerCall("removeListener"), simhost::Fault::callback([&] {
                         deliverAgain.set_value();
                         std::this_thread::sleep_for(std::chrono::milliseconds(100));
                         EXPECT_FALSE(deliveredAgain) << "it waits while the change holds the lock";
                       }),
                       1);
  registry.removeAllEventHandler();
  delivering.join();
  EXPECT_TRUE(ran.empty()) << "the delivery saw the table after the change";
}

TEST_F(EventHandlerTest, AnUnknownLookUpOnlyDomainRegistersUnderIdZero) {
  registry.addSelectionEventHandler(&handlers[0]);
  ASSERT_EQ(subscriptions(0), 1u);
  for (const auto& subscription : host.eventManager().subscriptions(0)) {
    EXPECT_TRUE(subscription.allEvents) << "id 0 has no domain subscription of its own";
  }
  EXPECT_EQ(deliver(0), Zol::Framework::EventHandled);
  registry.removeSelectionEventHandler(&handlers[0]);
  EXPECT_EQ(subscriptions(0), 0u);
}

}  // namespace
