// The handler registry (EventHandler) on the simulated host's event manager:
// the subscription that follows the handlers, the order they run in, changes
// and failures during a delivery, and each domain's shorthands.
#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/events/EventHandler.h"
#include "WyrdanPluginUtilities/events/ImproperLock.h"
#include "support/EventTest.h"

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

class EventHandlerTest : public testing_support::EventTest {
 protected:
  EventHandler& registry = *EventHandler::instance();
  std::vector<const Recorder*> ran;
  // In ascending address order, as the registry calls them.
  Recorder handlers[3] = {Recorder(ran), Recorder(ran), Recorder(ran)};
  const long long mine = host.eventManager().defineDomain("Test.Mine");

  // The plug-in listener's subscriptions to `id` (the host's model browser
  // may listen there too).
  std::size_t subscriptions(long long id) {
    std::size_t count = 0;
    for (const auto& subscription : host.eventManager().subscriptions(id)) {
      if (Zol::isSameObject(subscription.listener, testing_support::pluginListener())) ++count;
    }
    return count;
  }
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
  EXPECT_EQ(subscriptions(mine), 1u);
  EXPECT_TRUE(
      Zol::isSameObject(host.eventManager().subscriptions(mine)[0].listener, testing_support::pluginListener()));
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

  int width = -1;
  int height = -1;
  registry.viewportSize(width, height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
}

// A null handler would crash the thread that delivers the domain's next event.
TEST_F(EventHandlerTest, ANullHandlerIsIgnored) {
  registry.addDomainEventHandler(mine, nullptr);
  registry.addSelectionEventHandler(nullptr);
  EXPECT_EQ(subscriptions(mine), 0u);
  EXPECT_EQ(host.journal().count(managerCall("addListenerForAllEvents")), 0u);
  EXPECT_EQ(deliver(mine), Zol::Framework::EventNotHandled);

  registry.addDomainEventHandler(mine, &handlers[0]);
  host.journal().clear();
  registry.removeDomainEventHandler(mine, nullptr);
  EXPECT_EQ(host.journal().size(), 0u);
  EXPECT_EQ(deliver(mine), Zol::Framework::EventHandled);
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&handlers[0]}));
}

TEST_F(EventHandlerTest, HandlersRunInAddressOrderOnTheirDomainOnly) {
  const long long other = host.eventManager().defineDomain("Test.Other");
  registry.addDomainEventHandler(mine, &handlers[2]);
  registry.addDomainEventHandler(mine, &handlers[0]);
  registry.addDomainEventHandler(other, &handlers[1]);
  EXPECT_EQ(host.eventManager().deliver(ZolEvent{mine, 5, Zol::ZolAny_24_8(5)}), 1u);
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&handlers[0], &handlers[2]})) << "ascending addresses";
  EXPECT_GT(testing_support::pluginListener()->deliveries(), 0u);

  ran.clear();
  EXPECT_EQ(deliver(other), Zol::Framework::EventHandled);
  EXPECT_EQ(deliver(host.eventManager().defineDomain("Test.Silent")), Zol::Framework::EventNotHandled);
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&handlers[1]}));
}

TEST_F(EventHandlerTest, ChangesDuringADeliveryCountFromTheNextEvent) {
  registry.addDomainEventHandler(mine, &handlers[1]);
  registry.addDomainEventHandler(mine, &handlers[0]);
  Recorder& first = handlers[0];
  Recorder& second = handlers[1];
  first.action = [&] {
    registry.removeDomainEventHandler(mine, &first);
    registry.removeDomainEventHandler(mine, &second);
    registry.addDomainEventHandler(mine, &handlers[2]);
  };
  deliver(mine);
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&first, &second})) << "the delivery in progress keeps its handlers";
  ran.clear();
  deliver(mine);
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&handlers[2]}));
}

// A handler that changes the table and then delivers again on the same
// thread: the nested delivery sees the change, and the outer one goes on with
// the handlers it started with (still alive: ASan checks).
TEST_F(EventHandlerTest, ANestedDeliveryAfterAChangeSeesItAndTheOuterOneKeepsItsHandlers) {
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
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&first, &first, &third, &second}))
      << "the nested event reaches the new table; the outer event ends with the handlers it started with";

  ran.clear();
  std::thread other([&] { deliver(mine, 3); });
  other.join();
  EXPECT_EQ(ran, (std::vector<const Recorder*>{&first, &third})) << "another thread sees the change too";
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

TEST_F(EventHandlerTest, EachShorthandUsesItsDomain) {
  using Change = void (EventHandler::*)(IZolEventHandler*);
  struct Case {
    const char* name;
    Change add;
    Change remove;
    long long (*domain)();
  };
  const Case cases[] = {
      {"filter change", &EventHandler::addFilterChangeEventHandler, &EventHandler::removeFilterChangeEventHandler,
       &EventHandler::getFilterChangeDomainId},
      {"geometry", &EventHandler::addGeomPluginEventHandler, &EventHandler::removeGeomPluginEventHandler,
       &EventHandler::getGeomDomainId},
      {"geometry model display", &EventHandler::addGeomPluginModelDisplayEventHandler,
       &EventHandler::removeGeomPluginModelDisplayEventHandler, &EventHandler::getGeomModelDisplayDomainId},
      {"geometry on-display menu", &EventHandler::addGeomPluginODMEventHandler,
       &EventHandler::removeGeomPluginODMEventHandler, &EventHandler::getGeomODMDomainId},
      {"GUI", &EventHandler::addGuiEventHandler, &EventHandler::removeGuiEventHandler, &EventHandler::getGUIChannelId},
      {"missions", &EventHandler::addMissionChangeEventHandler, &EventHandler::removeMissionChangeEventHandler,
       &EventHandler::getMissionsEventDomainId},
      {"modes", &EventHandler::addModeChangeEventHandler, &EventHandler::removeModeChangeEventHander,
       &EventHandler::getModesDomainId},
      {"model persistence", &EventHandler::addModelPersistenceEventHandler,
       &EventHandler::removeModelPersistenceEventHandler, &EventHandler::getModelPersistenceDomainId},
      {"modeling", &EventHandler::addModelingPluginEventHandler, &EventHandler::removeModelingPluginEventHandler,
       &EventHandler::getModelingDomainId},
      {"motion", &EventHandler::addMotionPluginEventHandler, &EventHandler::removeMotionPluginEventHandler,
       &EventHandler::getMotionDomainId},
      {"on-display menu mode", &EventHandler::addODMModeEventHandler, &EventHandler::removeODMModeEventHandler,
       &EventHandler::getODMModeDomainId},
      {"pivot", &EventHandler::addPivotEventHandler, &EventHandler::removePivotEventHandler,
       &EventHandler::getPivotDomainId},
      {"post", &EventHandler::addPostPluginEventHandler, &EventHandler::removePostPluginEventHandler,
       &EventHandler::getPostPluginDomainId},
      {"processor", &EventHandler::addProcessorEventHandler, &EventHandler::removeProcessorEventHandler,
       &EventHandler::getProcessorDomainId},
      {"restore panel values", &EventHandler::addRestorePanelValueToDefaultEventHandler,
       &EventHandler::removeRestorePanelValueToDefaultEventHandler,
       &EventHandler::getRestorePanelValueToDefaultDomainId},
      {"selection", &EventHandler::addSelectionEventHandler, &EventHandler::removeSelectionEventHandler,
       &EventHandler::getSelectionDomainId},
  };
  for (const char* lookUpOnly : {"GeomPluginEventDomain", "kyr.orla.plugin.geometry.ModelDisplayService",
                                 "Cormoran.Plugins.GeomPlugin.OnDisplayMenu", "kyr.orla.appfw.SelectionManagerEvent"}) {
    host.eventManager().defineDomain(lookUpOnly);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const long long domain = c.domain();
    ASSERT_NE(domain, 0);
    (EventHandler::instance()->*c.add)(&handlers[0]);
    EXPECT_EQ(subscriptions(domain), 1u);
    ran.clear();
    EXPECT_EQ(deliver(domain), Zol::Framework::EventHandled);
    (EventHandler::instance()->*c.remove)(&handlers[0]);
    EXPECT_EQ(subscriptions(domain), 0u);
    EXPECT_EQ(deliver(domain), Zol::Framework::EventNotHandled);
  }
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
