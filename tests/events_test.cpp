// Events: the plug-in's own domain and channel, the host's domain ids and the
// subscriptions of a listener, on the simulated host's event manager (the
// handler registry: events_handler_test.cpp).
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/events/EventHandler.h"
#include "WyrdanPluginUtilities/events/EventListener.h"
#include "WyrdanPluginUtilities/events/PluginEventManager.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/EventTest.h"
#include "zol/kernel/ZolException.h"

namespace {

using kyr::orla::appfw::ServiceCacheAppFrame;
using kyr::orla::plugin::wyrdan::EventHandler;
using kyr::orla::plugin::wyrdan::EventListener;
using kyr::orla::plugin::wyrdan::PluginEventManager;
using simhost::CallPattern;
using Zol::Framework::EventFilter;
using Zol::Framework::ZolEvent;
using ListenerPtr = ZolSmartPointer<Zol::Framework::ZolIEventListenerInterface>;
using testing_support::managerCall;

// A listener of the test's own that records what reaches it.
ZolSmartPointer<simhost::SimPluginListener> recordingListener(std::vector<ZolEvent>& received) {
  return simhost::makePluginListener([&received](const ZolEvent& event) {
    received.push_back(event);
    return Zol::Framework::EventHandled;
  });
}

class PluginEventManagerTest : public testing_support::PluginTest {
 protected:
  std::vector<ZolEvent> received;
  const ListenerPtr listener = recordingListener(received);
};

TEST_F(PluginEventManagerTest, DomainsAreFoundOrCreatedAtTheHost) {
  PluginEventManager first;
  EXPECT_EQ(host.journal().count(managerCall("lookUpDomainId").with(PluginEventManager::Domain_Name)), 1u);
  EXPECT_EQ(host.journal().count(managerCall("createDomainId").with(PluginEventManager::Domain_Name)), 1u);
  const auto created = host.eventManager().domainId(PluginEventManager::Domain_Name);
  ASSERT_TRUE(created);
  EXPECT_EQ(PluginEventManager::Domain_Id, *created);

  host.journal().clear();
  PluginEventManager second;
  EXPECT_EQ(host.journal().count(managerCall("lookUpDomainId")), 1u);
  EXPECT_EQ(host.journal().count(managerCall("createDomainId")), 0u) << "the domain exists now";
  EXPECT_EQ(PluginEventManager::Domain_Id, *created);

  PluginEventManager copy(second);
  EXPECT_EQ(host.journal().count(managerCall("lookUpDomainId")), 1u) << "a copy does not look the domain up";

  long long id = -1;
  EXPECT_FALSE(copy.getDomainID("Test.Unknown", id).isOk());
  EXPECT_EQ(id, -1) << "a failed look-up writes nothing";
  EXPECT_TRUE(copy.createDomainID("Test.Unknown", id).isOk());
  long long found = 0;
  EXPECT_TRUE(copy.getDomainID("Test.Unknown", found).isOk());
  EXPECT_EQ(found, id);
  EXPECT_EQ(id, *host.eventManager().domainId("Test.Unknown"));
}

// Each operation is one host call with the plug-in's ids, the mode and the
// values filled in, and returns the host's result unchanged.
TEST_F(PluginEventManagerTest, EachOperationIsOneHostCall) {
  PluginEventManager events;
  const long long domain = PluginEventManager::Domain_Id;
  long long other = host.eventManager().defineDomain("Test.Other");
  const Zol::ZolAny_24_8 payload = Zol::makeZolAny("moved");
  const EventFilter filter{3, 1, 3};
  struct Case {
    const char* name;
    std::function<Zol::ZolResult_24_8()> call;
    CallPattern expected;
  };
  const Case cases[] = {
      {"addListener(domain, event)", [&] { return events.addListener(other, 7, listener); },
       managerCall("addListener").with(other, listener, 2, EventFilter{7})},
      {"addListener(event)", [&] { return events.addListener(7, listener); },
       managerCall("addListener").with(domain, listener, 2, EventFilter{7})},
      {"addListener(filter)", [&] { return events.addListener(filter, listener); },
       managerCall("addListener").with(domain, listener, 2, filter)},
      {"addChannelListener(channel)", [&] { return events.addChannelListener(other, listener); },
       managerCall("addListenerForAllEvents").with(other, listener, 2)},
      {"fireEvent(domain, ...)", [&] { return events.fireEvent(other, 4, payload, listener); },
       managerCall("fireEvent").with(ZolEvent{other, 4, payload}, 1, listener)},
      {"fireEvent(...)", [&] { return events.fireEvent(4, payload, listener); },
       managerCall("fireEvent").with(ZolEvent{domain, 4, payload}, 1, listener)},
      {"publishEvent(...)", [&] { return events.publishEvent(4, payload); },
       managerCall("publishEvent").with(ZolEvent{domain, 4, payload}, 0)},
      {"publishEvent(domain, ...)", [&] { return events.publishEvent(domain, 4, payload); },
       managerCall("publishEvent").with(ZolEvent{domain, 4, payload}, 0)},
      {"removeListener(domain, ...)", [&] { return events.removeListener(other, listener); },
       managerCall("removeListener").with(other, listener)},
      {"removeListener(...)", [&] { return events.removeListener(listener); },
       managerCall("removeListener").with(domain, listener)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.journal().clear();
    EXPECT_TRUE(c.call().isOk());
    EXPECT_EQ(host.journal().size(), 1u);
    EXPECT_EQ(host.journal().count(c.expected), 1u);

    host.faults().inject(c.expected, simhost::Fault::errorResult(7), 1);
    EXPECT_EQ(c.call().getCode(), 7) << "the host's result comes back unchanged";
  }
}

TEST_F(PluginEventManagerTest, ChannelListenersAndTheirRemoval) {
  PluginEventManager events;
  events.addChannelListener(listener);
  long long firstChannel = PluginEventManager::Channel_Id;
  events.addChannelListener(listener);
  EXPECT_EQ(host.journal().count(managerCall("createChannelId")), 2u);
  EXPECT_NE(PluginEventManager::Channel_Id, firstChannel) << "the second channel replaces the first";
  EXPECT_EQ(host.eventManager().subscriptions(firstChannel).size(), 1u) << "nothing unsubscribed the first";

  events.addListener(1, listener);
  events.removeListener(listener);
  EXPECT_TRUE(host.eventManager().subscriptions(PluginEventManager::Domain_Id).empty());
  EXPECT_EQ(host.eventManager().subscriptions(PluginEventManager::Channel_Id).size(), 1u)
      << "removeListener(listener) leaves the channel subscription";
  events.removeListener(PluginEventManager::Channel_Id, listener);
  events.removeListener(firstChannel, listener);
  EXPECT_TRUE(host.eventManager().subscriptions(PluginEventManager::Channel_Id).empty());
}

TEST_F(PluginEventManagerTest, MovedFromOrWithoutAnEventManagerNothingIsCalled) {
  PluginEventManager events;
  PluginEventManager moved(std::move(events));
  ServiceCacheAppFrame::eventManager_.reset();
  PluginEventManager none;
  PluginEventManager copy(moved);
  copy = none;
  events = std::move(moved);  // NOLINT: move assignment exchanges the event managers
  host.journal().clear();
  for (PluginEventManager* empty : {&moved, &copy, &none}) {
    EXPECT_TRUE(empty->publishEvent(1, Zol::ZolAny_24_8(1)).isOk());
  }
  EXPECT_EQ(host.journal().size(), 0u) << "moved from, assigned an empty one or made without one";
  events.publishEvent(1, Zol::ZolAny_24_8(1));
  EXPECT_EQ(host.journal().count(managerCall("publishEvent")), 1u) << "the moved-from object took the other's";
}

// Domain ids, and the registry's shorthands and the listener's subscriptions
// for each domain.
class DomainIdTest : public testing_support::EventTest {
 protected:
  // The subscription of `listener` to `id`; fails the test when there is none.
  simhost::SimEventManager::Subscription subscriptionTo(long long id) {
    for (const auto& subscription : host.eventManager().subscriptions(id)) {
      if (Zol::isSameObject(subscription.listener, listener)) return subscription;
    }
    ADD_FAILURE() << "no subscription to " << id;
    return {};
  }

  static std::string textOf(const EventFilter& events) {
    std::string text;
    for (const auto event : events) text += (text.empty() ? "" : " ") + std::to_string(event);
    return text;
  }

  struct Handler : kyr::orla::plugin::wyrdan::IZolEventHandler {
    void handleDomainEvent(long long, ZolEvent const&) override {}
  } handler;
  std::vector<ZolEvent> received;
  const ListenerPtr listener = recordingListener(received);
};

TEST_F(DomainIdTest, GettersCreateOrOnlyLookUpAndNeverCacheAndShorthandsUseThem) {
  using Change = void (EventHandler::*)(kyr::orla::plugin::wyrdan::IZolEventHandler*);
  using Listen = void (EventListener::*)(long long);
  struct Case {
    long long (*get)();
    const char* name;
    bool creates;
    Change add;
    Change remove;
    Listen listen;
    const char* events;
    int mode;
  };
  const Case cases[] = {
      {&EventHandler::getEntityDomainId, "kyr.orla.appfw.Entity", false, nullptr, nullptr,
       &EventListener::listenEntityDomainEvent, "1 3 2 9 10 15", 2},
      {&EventHandler::getFilterChangeDomainId, "kyr.orla.appfw.PickFilterEvent", true,
       &EventHandler::addFilterChangeEventHandler, &EventHandler::removeFilterChangeEventHandler,
       &EventListener::listenFilterDomainEvent, "1000", 3},
      {&EventHandler::getGeomDomainId, "GeomPluginEventDomain", false, &EventHandler::addGeomPluginEventHandler,
       &EventHandler::removeGeomPluginEventHandler, &EventListener::listenGeomPluginEvent, "115", 2},
      {&EventHandler::getGeomModelDisplayDomainId, "kyr.orla.plugin.geometry.ModelDisplayService", false,
       &EventHandler::addGeomPluginModelDisplayEventHandler, &EventHandler::removeGeomPluginModelDisplayEventHandler,
       &EventListener::listenGeomPluginModelDisplayEvent, "100", 2},
      {&EventHandler::getGeomODMDomainId, "Cormoran.Plugins.GeomPlugin.OnDisplayMenu", false,
       &EventHandler::addGeomPluginODMEventHandler, &EventHandler::removeGeomPluginODMEventHandler,
       &EventListener::listenGeomPluginODMEvent, "1001", 2},
      {&EventHandler::getMissionsEventDomainId, "kyr.orla.appfw.Missions", true,
       &EventHandler::addMissionChangeEventHandler, &EventHandler::removeMissionChangeEventHandler,
       &EventListener::listenMissionChangeDomainEvent, "1", 2},
      {&EventHandler::getModelPersistenceDomainId, "kyr.orla.appfw.ModelPersistence", true,
       &EventHandler::addModelPersistenceEventHandler, &EventHandler::removeModelPersistenceEventHandler,
       &EventListener::listenModelPersistenceDomainEvent, "1 5 20 30 21", 3},
      {&EventHandler::getModelingDomainId, "KYR.Cormoran.Plugins.ModelingPlugin", true,
       &EventHandler::addModelingPluginEventHandler, &EventHandler::removeModelingPluginEventHandler,
       &EventListener::listenModelingPluginEvent, "", 2},
      {&EventHandler::getModesDomainId, "kyr.orla.appfw.Modes", true, &EventHandler::addModeChangeEventHandler,
       &EventHandler::removeModeChangeEventHander, &EventListener::listenModesDomainEvent, "1 2", 3},
      {&EventHandler::getMotionDomainId, "kyr.orla.plugin.motion", true, &EventHandler::addMotionPluginEventHandler,
       &EventHandler::removeMotionPluginEventHandler, &EventListener::listenMotionPluginEvent, "1 2", 2},
      {&EventHandler::getODMModeDomainId, "kyr.orla.appfw.PluginODMDomain", true, &EventHandler::addODMModeEventHandler,
       &EventHandler::removeODMModeEventHandler, &EventListener::listenODMModeDomainEvent, "1 2", 2},
      {&EventHandler::getPivotDomainId, "kyr.orla.appfw.PivotDataFW", true, &EventHandler::addPivotEventHandler,
       &EventHandler::removePivotEventHandler, &EventListener::listenPivotDomainEvent, "1001 1002 1003 1004 1006 3002",
       3},
      {&EventHandler::getPluginOptsDomainId, "kyr.orla.appfw.PluginOptionsEvents", true, nullptr, nullptr,
       &EventListener::listenPluginOptsDomainEvent, "300 400", 3},
      {&EventHandler::getPostPluginDomainId, "KYR.PostPluginDomain", true, &EventHandler::addPostPluginEventHandler,
       &EventHandler::removePostPluginEventHandler, &EventListener::listenPostPluginDomainEvent,
       "4001 4002 4003 4004 4005", 2},
      {&EventHandler::getProcessorDomainId, "kyr.orla.appfw.CmdProcessor", true,
       &EventHandler::addProcessorEventHandler, &EventHandler::removeProcessorEventHandler,
       &EventListener::listenProcessorDomainEvent, "4 5", 2},
      {&EventHandler::getRestorePanelValueToDefaultDomainId, "kyr.orla.appfw.RestorePanelValueToDefaultDomainName",
       true, &EventHandler::addRestorePanelValueToDefaultEventHandler,
       &EventHandler::removeRestorePanelValueToDefaultEventHandler,
       &EventListener::listenRestorePanelValueToDefaultDomainEvent, "1", 2},
      {&EventHandler::getSelectionDomainId, "kyr.orla.appfw.SelectionManagerEvent", false,
       &EventHandler::addSelectionEventHandler, &EventHandler::removeSelectionEventHandler,
       &EventListener::listenSelectionEvent, "1 2", 2},
      {&EventHandler::getStudyManagerDomainId, "KYR.Plugins.ModelingPlugin.StudyManager", true, nullptr, nullptr,
       nullptr, "", 0},
      {&EventHandler::getUndoRedoDomainId, "kyr.orla.appfw.UndoRedoFWEvent", true, nullptr, nullptr,
       &EventListener::listenUndoRedoEvent, "2 3 5 6", 2},
  };
  EventHandler& registry = *EventHandler::instance();
  EventListener subscriber(listener);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool atStart = host.eventManager().domainId(c.name).has_value();  // the model browser's are
    host.journal().clear();
    const long long first = c.get();
    EXPECT_EQ(host.journal().count(managerCall("lookUpDomainId").with(c.name)), 1u);
    EXPECT_EQ(host.journal().count(managerCall("createDomainId").with(c.name)), c.creates && !atStart ? 1u : 0u);
    EXPECT_EQ(first, atStart || c.creates ? *host.eventManager().domainId(c.name) : 0);

    const long long known = host.eventManager().defineDomain(c.name);
    host.journal().clear();
    EXPECT_EQ(c.get(), known);
    EXPECT_EQ(c.get(), known);
    EXPECT_EQ(host.journal().count(managerCall("lookUpDomainId").with(c.name)), 2u) << "ids are not cached";
    EXPECT_EQ(host.journal().count(managerCall("createDomainId")), 0u);

    if (c.add != nullptr) {
      (registry.*c.add)(&handler);
      EXPECT_EQ(subscriptions(known), 1u);
      (registry.*c.remove)(&handler);
      EXPECT_EQ(subscriptions(known), 0u);
    }
    if (c.listen != nullptr) {
      (subscriber.*c.listen)(12345);
      const auto subscription = subscriptionTo(known);
      EXPECT_EQ(textOf(subscription.filter), c.events) << "the events, in their order";
      EXPECT_EQ(subscription.mode, c.mode);
      host.journal().clear();
      (subscriber.*c.listen)(known);
      EXPECT_EQ(host.journal().count(managerCall("addListener")), 0u) << "a listened domain is not subscribed again";
    }
  }
  EXPECT_TRUE(host.eventManager().subscriptions(12345).empty()) << "the argument is not the domain";
  host.journal().clear();
  const long long mine = EventHandler::getDomainId("Test.Mine");
  EXPECT_EQ(mine, *host.eventManager().domainId("Test.Mine"));
  EXPECT_EQ(host.journal().count(managerCall("createDomainId").with("Test.Mine")), 1u);
}

TEST_F(DomainIdTest, TheGuiChannelComesFromTheGuiExecutive) {
  const long long channel = EventHandler::getGUIChannelId();
  EXPECT_NE(channel, 0);
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.ZolIGuiExecutive", "getGuiChannelId"), 1u);
  EventHandler::instance()->addGuiEventHandler(&handler);
  EXPECT_EQ(subscriptions(channel), 1u) << "the GUI shorthand listens on the channel";
  EventHandler::instance()->removeGuiEventHandler(&handler);
  EXPECT_EQ(subscriptions(channel), 0u);

  ServiceCacheAppFrame::eventManager_.reset();
  EXPECT_EQ(EventHandler::getGUIChannelId(), channel) << "the event manager plays no part";
}

// An EventListener whose subscription table a test can fill.
class TableListener : public EventListener {
 public:
  using EventListener::EventListener;
  using EventListener::initialize;
};

TEST_F(DomainIdTest, TheListenersTableRoutesIdsAndUnknownIdsGetEveryEvent) {
  const long long selection = host.eventManager().defineDomain("kyr.orla.appfw.SelectionManagerEvent");
  const long long mine = host.eventManager().defineDomain("Test.Mine");
  TableListener subscriber(listener);
  subscriber.listenDomainEvent(selection);
  EXPECT_TRUE(subscriptionTo(selection).allEvents) << "without the table every id is generic";
  subscriber.removeAllListener();

  subscriber.initialize();
  subscriber.listenDomainEvent(selection);
  EXPECT_EQ(subscriptionTo(selection).filter, (EventFilter{1, 2}));
  subscriber.listenDomainEvent(mine);
  subscriber.listenDomainEvent(0);  // the geometry domains are unknown here: their id 0 has no entry
  for (long long id : {mine, 0LL}) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(subscriptionTo(id).allEvents);
    EXPECT_EQ(subscriptionTo(id).mode, 2);
  }
  const auto subscriptionCalls = [this] {
    return host.journal().count(managerCall("addListener")) +
           host.journal().count(managerCall("addListenerForAllEvents")) +
           host.journal().count(managerCall("removeListener"));
  };
  host.journal().clear();
  subscriber.listenDomainEvent(mine);
  EXPECT_EQ(host.journal().size(), 0u);

  // A copy knows what its source listens to; destroying either calls nothing.
  {
    TableListener copy(subscriber);
    copy.listenDomainEvent(mine);
    TableListener assigned(ListenerPtr{});
    assigned = copy;
    assigned = testing_support::itself(assigned);
    assigned.listenDomainEvent(selection);
  }
  EXPECT_EQ(subscriptionCalls(), 0u);

  subscriber.removeDomainListener(12345);
  EXPECT_EQ(subscriptionCalls(), 0u) << "an id not listened is not unsubscribed";
  subscriber.removeDomainListener(mine);
  EXPECT_TRUE(host.eventManager().subscriptions(mine).empty());
  subscriber.listenDomainEvent(mine);
  EXPECT_TRUE(subscriptionTo(mine).allEvents) << "subscribed again after its removal";
  subscriber.removeAllListener();
  EXPECT_EQ(host.journal().count(managerCall("removeListener")), 4u) << "mine, then mine, 0 and the selection";
  subscriber.listenDomainEvent(selection);
  EXPECT_EQ(subscriptionTo(selection).filter, (EventFilter{1, 2})) << "subscribed again after removeAllListener";
  subscriber.removeAllListener();
}

}  // namespace
