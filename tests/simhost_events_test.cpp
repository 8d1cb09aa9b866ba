// The simulated host's event manager: domains and channels, subscriptions,
// publishing, firing and delivering (from several threads too), the faults
// and journal of event calls, and the plug-in's process-wide listener.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/SimHostTest.h"

namespace {

using simhost::CallPattern;
using testing_support::SimHostTest;

using EventManager = Zol::Framework::ZolIEventManagerInterface;
using Zol::Framework::EventFilter;
using Zol::Framework::EventHandled;
using Zol::Framework::EventNotHandled;
using Zol::Framework::ZolEvent;
using Zol::Framework::ZolIEventListenerInterface;
using ListenerPtr = ZolSmartPointer<ZolIEventListenerInterface>;
using PluginListenerPtr = ZolSmartPointer<simhost::SimPluginListener>;

// Listeners that write "<name>: <event>" to one log, in delivery order, then
// run `also`. They may be called from several threads at once; the test reads
// the log while nothing is delivered.
class SimEventsTest : public SimHostTest {
 protected:
  PluginListenerPtr recorder(const std::string& name, std::function<void(const ZolEvent&)> also = {}) {
    return simhost::makeSimObject<simhost::SimPluginListener>(
        host.context(), name, [this, name, also = std::move(also)](const ZolEvent& event) {
          {
            std::lock_guard<std::mutex> lock(logMutex);
            log.push_back(entry(name, event));
          }
          if (also) also(event);
          return EventHandled;
        });
  }
  static std::string entry(const std::string& name, const ZolEvent& event) {
    return name + ": " + simhost::argumentText(event);
  }

  std::mutex logMutex;
  std::vector<std::string> log;
  simhost::SimEventManager& events = host.eventManager();
};

TEST_F(SimEventsTest, DomainsAreFoundCreatedOrUnknownAndOnlyPluginCallsAreJournaled) {
  std::int64_t id = -1;
  EXPECT_EQ(events.lookUpDomainId("Test.Domain", id).getCode(), Zol::ZolResult_24_8::kFailure);
  EXPECT_EQ(id, -1) << "a failed look-up writes nothing";

  ASSERT_TRUE(events.createDomainId("Test.Domain", id).isOk());
  EXPECT_EQ(events.domainId("Test.Domain"), id);
  std::int64_t found = 0;
  EXPECT_TRUE(events.createDomainId("Test.Domain", found).isOk());
  EXPECT_EQ(found, id) << "creating a known domain finds it";

  const std::int64_t modes = events.defineDomain("kyr.orla.appfw.Modes");
  EXPECT_TRUE(events.lookUpDomainId("kyr.orla.appfw.Modes", found).isOk());
  EXPECT_EQ(found, modes) << "a domain the host defined is known to the plug-in";
  EXPECT_EQ(host.journal().count(CallPattern::of<EventManager>()), 4u)
      << "defineDomain and domainId are the host's own, not journaled";
}

TEST(SimEventManager, DomainsKeepTheirIdsAcrossTheHostsOfTheProcessAndChannelsNeverRepeat) {
  testing_support::LeakCheck leakCheck;
  std::vector<std::int64_t> domains;
  std::vector<std::int64_t> fresh;
  for (int round = 0; round < 2; ++round) {
    simhost::SimHost host;
    simhost::SimEventManager& events = host.eventManager();
    std::int64_t domain = 0;
    std::int64_t channel = 0;
    ASSERT_FALSE(events.lookUpDomainId("Test.Domain", domain).isOk()) << "each host starts without this domain";
    ASSERT_TRUE(events.createDomainId("Test.Domain", domain).isOk());
    ASSERT_TRUE(events.createChannelId(channel).isOk());
    domains.push_back(domain);
    fresh.insert(fresh.end(), {channel, events.defineDomain("Test.Other " + std::to_string(round)),
                               host.guiExecutive().guiChannelId()});
  }
  EXPECT_EQ(domains[0], domains[1]) << "a domain name keeps its id from host to host";
  fresh.push_back(domains[0]);
  EXPECT_EQ(std::set<std::int64_t>(fresh.begin(), fresh.end()).size(), fresh.size())
      << "channels and other domains never reuse an id";
}

TEST(SimEventManager, TheHostsShutDownEndsSubscriptionsOfListenersThatHoldTheManager) {
  testing_support::LeakCheck leakCheck;
  {
    simhost::SimHost host;
    const ZolSmartPointer<EventManager> manager(&host.eventManager());
    const auto holder = simhost::makeSimObject<simhost::SimPluginListener>(
        host.context(), "holder", [manager](const ZolEvent&) { return EventHandled; });
    ASSERT_TRUE(manager->addListenerForAllEvents(host.eventManager().defineDomain("Test.Domain"), holder, 2).isOk());
  }
  EXPECT_EQ(testing_support::liveObjectsNamed("event manager"), 0u)
      << "a subscriber that holds the manager would otherwise keep both alive";
}

TEST_F(SimEventsTest, OneSubscriptionPerIdAndListenerThatReAddingReplaces) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const std::int64_t other = events.defineDomain("Test.Other");
  const auto a = recorder("A");
  const auto b = recorder("B");
  const std::uint32_t unsubscribed = simhost::referenceCount(a);

  ASSERT_TRUE(events.addListener(domain, a, 2, {1, 2}).isOk());
  ASSERT_TRUE(events.addListener(domain, a, 3, {5}).isOk());
  ASSERT_TRUE(events.addListenerForAllEvents(domain, b, 2).isOk());
  ASSERT_TRUE(events.addListener(other, a, 2, {}).isOk());
  {
    const auto subscribed = events.subscriptions(domain);  // holds the listeners until the block ends
    ASSERT_EQ(subscribed.size(), 2u);
    EXPECT_TRUE(Zol::isSameObject(subscribed[0].listener, a));
    EXPECT_EQ(subscribed[0].mode, 3);
    EXPECT_EQ(subscribed[0].filter, (EventFilter{5})) << "the second addListener replaced filter and mode";
  }
  EXPECT_EQ(simhost::referenceCount(a), unsubscribed + 2) << "one reference per subscription";

  EXPECT_TRUE(events.removeListener(domain, a).isOk());
  EXPECT_TRUE(events.removeListener(domain, a).isOk()) << "removing an unknown pair succeeds";
  ASSERT_EQ(events.subscriptions(domain).size(), 1u);
  EXPECT_TRUE(Zol::isSameObject(events.subscriptions(domain)[0].listener, b));
  EXPECT_EQ(events.subscriptions(other).size(), 1u) << "a removal ends one id's subscription only";
  EXPECT_EQ(simhost::referenceCount(a), unsubscribed + 1);

  EXPECT_EQ(events.addListener(domain, ListenerPtr(), 2, {}).getCode(), Zol::ZolResult_24_8::kFailure);
  EXPECT_EQ(events.subscriptions(domain).size(), 1u) << "an empty listener is not subscribed";

  events.clear();
  EXPECT_TRUE(events.subscriptions(other).empty());
  EXPECT_EQ(simhost::referenceCount(a), unsubscribed);
}

TEST_F(SimEventsTest, PublishFireAndDeliverReachTheListenersWhoseFiltersAdmitTheEvent) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const std::int64_t other = events.defineDomain("Test.Other");
  const std::int64_t silent = events.defineDomain("Test.Silent");
  const auto a = recorder("A");
  const auto b = recorder("B");
  const auto c = recorder("C");
  ASSERT_TRUE(events.addListener(domain, a, 2, {1, 2}).isOk());
  ASSERT_TRUE(events.addListenerForAllEvents(domain, b, 2).isOk());
  ASSERT_TRUE(events.addListener(other, c, 2, {2}).isOk());
  ASSERT_TRUE(events.addListener(other, a, 3, {}).isOk());

  struct Case {
    std::int64_t domain;
    std::int32_t event;
    std::vector<std::string> reached;  // in subscription order
  };
  const Case cases[] = {
      {domain, 1, {"A", "B"}}, {domain, 2, {"A", "B"}}, {domain, 3, {"B"}},
      {other, 2, {"C", "A"}},  {other, 7, {"A"}},       {silent, 1, {}},
  };
  for (const Case& test : cases) {
    const ZolEvent event{test.domain, test.event, Zol::ZolAny_24_8(test.event * 10)};
    SCOPED_TRACE(simhost::argumentText(event));
    std::vector<std::string> expected;
    for (const std::string& name : test.reached) expected.push_back(entry(name, event));

    log.clear();
    EXPECT_TRUE(events.publishEvent(event, 0).isOk());
    EXPECT_EQ(log, expected) << "published";
    log.clear();
    EXPECT_TRUE(events.fireEvent(event, 1, a).isOk());
    EXPECT_EQ(log, expected) << "fired by A, which receives it like any subscriber";
    log.clear();
    EXPECT_EQ(events.deliver(event), expected.size());
    EXPECT_EQ(log, expected) << "delivered by the host";
  }
}

TEST_F(SimEventsTest, ListenersRunOnTheCallersThreadUnlockedAndTheirChangesReachTheNextEvent) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const auto late = recorder("late");
  simhost::SimPluginListener* first = nullptr;  // raw: a listener holding itself would never go
  PluginListenerPtr second;
  std::thread::id thread;
  const auto a = recorder("A", [&](const ZolEvent&) {
    thread = std::this_thread::get_id();
    // Would deadlock if the manager held its lock while delivering.
    events.removeListener(domain, ListenerPtr(first));
    events.removeListener(domain, second);
    events.addListenerForAllEvents(domain, late, 2);
  });
  first = a.get();
  second = recorder("B");
  ASSERT_TRUE(events.addListenerForAllEvents(domain, a, 2).isOk());
  ASSERT_TRUE(events.addListenerForAllEvents(domain, second, 2).isOk());

  const ZolEvent one{domain, 1, {}};
  const ZolEvent two{domain, 2, {}};
  ASSERT_TRUE(events.publishEvent(one, 0).isOk());
  EXPECT_EQ(thread, std::this_thread::get_id());
  EXPECT_EQ(log, (std::vector<std::string>{entry("A", one), entry("B", one)}))
      << "B, removed during the delivery, still receives it; late, added during it, does not";
  log.clear();
  EXPECT_EQ(events.deliver(two), 1u);
  EXPECT_EQ(log, std::vector<std::string>{entry("late", two)});
}

TEST_F(SimEventsTest, AListenersExceptionReachesTheOneWhoDelivered) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const auto failing = recorder("failing", [](const ZolEvent& event) {
    if (event.eventId == 9) throw std::runtime_error("listener failed");
  });
  const auto after = recorder("after");
  ASSERT_TRUE(events.addListenerForAllEvents(domain, failing, 2).isOk());
  ASSERT_TRUE(events.addListenerForAllEvents(domain, after, 2).isOk());

  EXPECT_THROW(events.publishEvent({domain, 9, {}}, 0), std::runtime_error);
  EXPECT_EQ(log, std::vector<std::string>{entry("failing", {domain, 9, {}})}) << "later listeners are not called";
  EXPECT_THROW(events.deliverOnThreads(2, {{domain, 1, {}}, {domain, 9, {}}}), std::runtime_error);
  EXPECT_EQ(after->deliveries(), 2u) << "each thread delivered the events before the failing one";
}

TEST_F(SimEventsTest, EventCallsAreJournaledAndFaultCheckedButHostDeliveryIsNot) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const auto a = recorder("A");
  host.journal().clear();
  ASSERT_TRUE(events.addListener(domain, a, 2, {1, 2}).isOk());
  ASSERT_TRUE(events.publishEvent({domain, 2, Zol::ZolAny_24_8(5)}, 0).isOk());
  ASSERT_TRUE(events.fireEvent({domain, 1, {}}, 1, a).isOk());
  EXPECT_EQ(events.deliver({domain, 1, {}}), 1u);
  ASSERT_TRUE(events.removeListener(domain, a).isOk());

  ASSERT_EQ(host.journal().size(), 4u) << "neither deliver() nor the listener is journaled";
  EXPECT_EQ(host.journal().count(CallPattern::of<EventManager>("fireEvent").with(ZolEvent{domain, 1, {}}, 1, a)), 1u);

  ASSERT_TRUE(events.addListenerForAllEvents(domain, a, 2).isOk());
  log.clear();
  host.faults().inject(CallPattern::of<EventManager>("publishEvent"), simhost::Fault::errorResult(9));
  EXPECT_EQ(events.publishEvent({domain, 1, {}}, 0).getCode(), 9);
  EXPECT_TRUE(log.empty()) << "a failed call delivers nothing";
  host.faults().inject(CallPattern::of<EventManager>("addListener"), simhost::Fault::errorResult());
  EXPECT_FALSE(events.addListener(domain, a, 3, {4}).isOk());
  EXPECT_TRUE(events.subscriptions(domain).at(0).allEvents) << "a failed call changes no subscription";
}

TEST_F(SimEventsTest, ACallbackFaultRunsInsideTheCallThenTheCallProceeds) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const auto a = recorder("A");
  const auto b = recorder("B");
  ASSERT_TRUE(events.addListenerForAllEvents(domain, b, 2).isOk());

  std::size_t reached = 0;
  std::size_t subscribedMeanwhile = 0;
  const ZolEvent meanwhile{domain, 1, {}};
  host.faults().inject(CallPattern::of<EventManager>("addListener").with(domain, a, 2, EventFilter{1}),
                       simhost::Fault::callback([&] {
                         subscribedMeanwhile = events.subscriptions(domain).size();
                         std::int64_t id = 0;
                         events.lookUpDomainId("Test.Domain", id);  // a host call: the plan's lock is free
                         reached = events.deliver(meanwhile);
                       }),
                       1);
  EXPECT_TRUE(events.addListener(domain, a, 2, {1}).isOk());
  EXPECT_EQ(subscribedMeanwhile, 1u) << "the action runs before the call does anything";
  EXPECT_EQ(reached, 1u);
  EXPECT_EQ(log, std::vector<std::string>{entry("B", meanwhile)});
  EXPECT_EQ(events.subscriptions(domain).size(), 2u) << "then the call proceeds";
  EXPECT_EQ(host.journal().count(CallPattern::of<EventManager>("lookUpDomainId")), 1u);
}

TEST(SimPluginListener, OneListenerServesEveryHostOfTheProcess) {
  testing_support::LeakCheck leakCheck;
  std::vector<std::string> received;
  const auto listener = simhost::makePluginListener([&received](const ZolEvent& event) {
    received.push_back(simhost::argumentText(event));
    return event.eventId == 1 ? EventHandled : EventNotHandled;
  });
  std::vector<std::string> expected;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    simhost::SimHost host;
    host.registerPluginListener(listener);
    EXPECT_TRUE(
        Zol::isSameObject(kyr::orla::appfw::ServiceCacheAppFrame::eventManager_, host.eventManager().asService()));
    Zol::ZolIService service;
    ASSERT_TRUE(host.provider().getService("kyr.orla.plugin.wyrdan.WyrdanPluginInitializer", "", service).isOk());
    const auto found = Zol::interfaceCast<ZolIEventListenerInterface>(service);
    EXPECT_TRUE(Zol::isSameObject(found, listener));
    const std::int64_t domain = host.eventManager().defineDomain("Test.Domain");
    ASSERT_TRUE(host.eventManager().addListenerForAllEvents(domain, found, 2).isOk());
    const ZolEvent handled{domain, 1, Zol::ZolAny_24_8(7)};
    EXPECT_EQ(host.eventManager().deliver(handled), 1u);
    EXPECT_EQ(found->handleEvent({domain, 2, {}}), EventNotHandled) << "the callback's answer";
    expected.insert(expected.end(), {simhost::argumentText(handled), simhost::argumentText(ZolEvent{domain, 2, {}})});
  }
  EXPECT_EQ(received, expected);
  EXPECT_EQ(simhost::referenceCount(listener), 1u) << "each host let go of the listener and its subscription";
  EXPECT_FALSE(kyr::orla::appfw::ServiceCacheAppFrame::eventManager_);
}

TEST_F(SimEventsTest, ConcurrentSubscribersAndDeliveriesKeepFiltersAndCounts) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  std::vector<ZolEvent> batch;
  for (std::int32_t index = 0; index < 200; ++index) batch.push_back({domain, 1 + index % 2, Zol::ZolAny_24_8(index)});

  std::atomic<bool> filterBroken{false};
  const auto stable = simhost::makeSimObject<simhost::SimPluginListener>(host.context(), "stable", nullptr);
  // Unsubscribes and subscribes itself again on each of its events.
  simhost::SimPluginListener* self = nullptr;
  const auto reentrant =
      simhost::makeSimObject<simhost::SimPluginListener>(host.context(), "reentrant", [&](const ZolEvent& event) {
        if (event.eventId != 2) filterBroken = true;
        events.removeListener(domain, ListenerPtr(self));
        events.addListener(domain, ListenerPtr(self), 2, {2});
        return EventHandled;
      });
  self = reentrant.get();
  constexpr std::size_t kChurners = 2;
  std::vector<PluginListenerPtr> churning;
  for (std::size_t index = 0; index < kChurners; ++index) {
    churning.push_back(simhost::makeSimObject<simhost::SimPluginListener>(
        host.context(), "churning " + std::to_string(index), [&](const ZolEvent& event) {
          if (event.eventId != 1) filterBroken = true;
          return EventHandled;
        }));
  }
  ASSERT_TRUE(events.addListenerForAllEvents(domain, stable, 2).isOk());
  ASSERT_TRUE(events.addListener(domain, reentrant, 2, {2}).isOk());

  for (const std::size_t threads : {1u, 4u}) {
    SCOPED_TRACE(threads);
    const std::size_t before = stable->deliveries();
    std::atomic<bool> delivering{true};
    std::vector<std::vector<std::int64_t>> channels(kChurners);
    std::vector<std::thread> churners;
    for (std::size_t index = 0; index < kChurners; ++index) {
      churners.emplace_back([&, index] {
        do {
          events.addListener(domain, churning[index], 2, {1});
          std::int64_t channel = 0;
          events.createChannelId(channel);
          channels[index].push_back(channel);
          events.removeListener(domain, churning[index]);
        } while (delivering);
      });
    }
    host.workThread().post([&] {
      for (const ZolEvent& event : batch) events.publishEvent(event, 0);
    });
    events.deliverOnThreads(threads, batch);
    host.workThread().waitIdle();
    delivering = false;
    for (std::thread& churner : churners) churner.join();

    EXPECT_EQ(stable->deliveries() - before, (threads + 1) * batch.size()) << "a steady subscriber misses nothing";
    EXPECT_FALSE(filterBroken) << "no listener received an event its filter excludes";
    const auto left = events.subscriptions(domain);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_TRUE(Zol::isSameObject(left[0].listener, stable));
    EXPECT_TRUE(Zol::isSameObject(left[1].listener, reentrant));
    std::set<std::int64_t> distinct;
    std::size_t made = 0;
    for (const auto& ids : channels) {
      distinct.insert(ids.begin(), ids.end());
      made += ids.size();
    }
    EXPECT_EQ(distinct.size(), made) << "channel ids made at once are still unique";
  }
}

}  // namespace
