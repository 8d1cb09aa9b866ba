#include "WyrdanPluginUtilities/events/EventListener.h"

#include <cstdint>

#include "WyrdanPluginUtilities/events/EventHandler.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/framework/ZolIServiceProvider.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using appfw::ServiceCacheAppFrame;
using Zol::Framework::EventFilter;
using ListenerPtr = ZolSmartPointer<Zol::Framework::ZolIEventListenerInterface>;

constexpr char kPluginInitializer[] = "kyr.orla.plugin.wyrdan.WyrdanPluginInitializer";
constexpr int kMode2 = 2;
constexpr int kMode3 = 3;

// The default instance once it exists, for the held-reference report.
EventListener* defaultInstance = nullptr;

// The plug-in's initializer service as a listener; empty when the host has
// no such service, or it is no listener.
ListenerPtr pluginInitializer() {
  Zol::Framework::ZolIServiceAccess* access = ServiceCacheAppFrame::zolServiceAccess_;
  if (access == nullptr) return {};
  Zol::ZolIService service;
  access->getService(kPluginInitializer, std::string(), service);
  return Zol::interfaceCast<Zol::Framework::ZolIEventListenerInterface>(service);
}

}  // namespace

const Zol::ZolHoldingsRegistration EventListener::m_holdings("EventListener", [](Zol::ZolHeldReferences& held) {
  if (defaultInstance != nullptr) held.add("default listener", defaultInstance->m_listener);
});

EventListener::EventListener(ListenerPtr const& listener) : m_listener(listener) {}

EventListener::EventListener(EventListener const& other) = default;

EventListener& EventListener::operator=(EventListener const& other) {
  if (this != &other) {
    m_listener = other.m_listener;
    m_listened = other.m_listened;
    m_subscriptions = other.m_subscriptions;
  }
  return *this;
}

EventListener::~EventListener() {
  if (defaultInstance == this) defaultInstance = nullptr;
}

EventListener* EventListener::getDefListener() {
  const ListenerPtr listener = pluginInitializer();
  static EventListener instance(listener);
  defaultInstance = &instance;
  instance.initialize();
  return &instance;
}

void EventListener::initialize() {
  const auto map = [this](long long domainId, Subscription subscription) { m_subscriptions[domainId] = subscription; };
  map(EventHandler::getSelectionDomainId(), &EventListener::listenSelectionEvent);
  map(EventHandler::getMotionDomainId(), &EventListener::listenMotionPluginEvent);
  map(EventHandler::getModelingDomainId(), &EventListener::listenModelingPluginEvent);
  map(EventHandler::getEntityDomainId(), &EventListener::listenEntityDomainEvent);
  map(EventHandler::getDomainId("kyr.orla.appfw.UndoRedoFWEvent"), &EventListener::listenUndoRedoEvent);
  map(EventHandler::getDomainId("kyr.orla.appfw.PivotDataFW"), &EventListener::listenPivotDomainEvent);
  map(EventHandler::getDomainId("kyr.orla.appfw.Modes"), &EventListener::listenModesDomainEvent);
  map(EventHandler::getDomainId("kyr.orla.appfw.PickFilterEvent"), &EventListener::listenFilterDomainEvent);
  map(EventHandler::getDomainId("kyr.orla.appfw.ModelPersistence"), &EventListener::listenModelPersistenceDomainEvent);
  map(EventHandler::getDomainId("kyr.orla.appfw.PluginOptionsEvents"), &EventListener::listenPluginOptsDomainEvent);
  map(EventHandler::getPostPluginDomainId(), &EventListener::listenPostPluginDomainEvent);
  map(EventHandler::getDomainId("kyr.orla.appfw.CmdProcessor"), &EventListener::listenProcessorDomainEvent);
  map(EventHandler::getGeomDomainId(), &EventListener::listenGeomPluginEvent);
  map(EventHandler::getGeomODMDomainId(), &EventListener::listenGeomPluginODMEvent);
  map(EventHandler::getGeomModelDisplayDomainId(), &EventListener::listenGeomPluginModelDisplayEvent);
  map(EventHandler::getDomainId("kyr.orla.appfw.PluginODMDomain"), &EventListener::listenODMModeDomainEvent);
  map(EventHandler::getDomainId("kyr.orla.appfw.RestorePanelValueToDefaultDomainName"),
      &EventListener::listenRestorePanelValueToDefaultDomainEvent);
  map(EventHandler::getDomainId("kyr.orla.appfw.Missions"), &EventListener::listenMissionChangeDomainEvent);
  m_subscriptions.erase(0);
}

void EventListener::listenDomainEvent(long long domainId) {
  const auto own = m_subscriptions.find(domainId);
  if (own != m_subscriptions.end()) {
    (this->*(own->second))(domainId);
    return;
  }
  ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> manager = ServiceCacheAppFrame::eventManager_;
  if (!manager || m_listened.count(domainId) != 0) return;
  manager->addListenerForAllEvents(domainId, m_listener, kMode2);
  m_listened.insert(domainId);
}

void EventListener::subscribe(long long domainId, EventFilter const& events, int mode) {
  ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> manager = ServiceCacheAppFrame::eventManager_;
  if (!manager || m_listened.count(domainId) != 0) return;
  manager->addListener(domainId, m_listener, mode, events);
  m_listened.insert(domainId);
}

void EventListener::listenEntityDomainEvent(long long) {
  subscribe(EventHandler::getEntityDomainId(), {1, 3, 2, 9, 10, 15}, kMode2);
}
void EventListener::listenFilterDomainEvent(long long) {
  subscribe(EventHandler::getDomainId("kyr.orla.appfw.PickFilterEvent"), {1000}, kMode3);
}
void EventListener::listenGeomPluginEvent(long long) { subscribe(EventHandler::getGeomDomainId(), {115}, kMode2); }
void EventListener::listenGeomPluginModelDisplayEvent(long long) {
  subscribe(EventHandler::getGeomModelDisplayDomainId(), {100}, kMode2);
}
void EventListener::listenGeomPluginODMEvent(long long) {
  subscribe(EventHandler::getGeomODMDomainId(), {1001}, kMode2);
}
void EventListener::listenMissionChangeDomainEvent(long long) {
  subscribe(EventHandler::getDomainId("kyr.orla.appfw.Missions"), {1}, kMode2);
}
void EventListener::listenModelPersistenceDomainEvent(long long) {
  subscribe(EventHandler::getDomainId("kyr.orla.appfw.ModelPersistence"), {1, 5, 20, 30, 21}, kMode3);
}
void EventListener::listenModelingPluginEvent(long long) {
  subscribe(EventHandler::getModelingDomainId(), EventFilter(), kMode2);
}
void EventListener::listenModesDomainEvent(long long) {
  subscribe(EventHandler::getDomainId("kyr.orla.appfw.Modes"), {1, 2}, kMode3);
}
void EventListener::listenMotionPluginEvent(long long) { subscribe(EventHandler::getMotionDomainId(), {1, 2}, kMode2); }
void EventListener::listenODMModeDomainEvent(long long) {
  subscribe(EventHandler::getDomainId("kyr.orla.appfw.PluginODMDomain"), {1, 2}, kMode2);
}
void EventListener::listenPivotDomainEvent(long long) {
  subscribe(EventHandler::getDomainId("kyr.orla.appfw.PivotDataFW"), {1001, 1002, 1003, 1004, 1006, 3002}, kMode3);
}
void EventListener::listenPluginOptsDomainEvent(long long) {
  subscribe(EventHandler::getDomainId("kyr.orla.appfw.PluginOptionsEvents"), {300, 400}, kMode3);
}
void EventListener::listenPostPluginDomainEvent(long long) {
  subscribe(EventHandler::getPostPluginDomainId(), {4001, 4002, 4003, 4004, 4005}, kMode2);
}
void EventListener::listenProcessorDomainEvent(long long) {
  subscribe(EventHandler::getDomainId("kyr.orla.appfw.CmdProcessor"), {4, 5}, kMode2);
}
void EventListener::listenRestorePanelValueToDefaultDomainEvent(long long) {
  subscribe(EventHandler::getDomainId("kyr.orla.appfw.RestorePanelValueToDefaultDomainName"), {1}, kMode2);
}
void EventListener::listenSelectionEvent(long long) { subscribe(EventHandler::getSelectionDomainId(), {1, 2}, kMode2); }
void EventListener::listenUndoRedoEvent(long long) {
  subscribe(EventHandler::getDomainId("kyr.orla.appfw.UndoRedoFWEvent"), {2, 3, 5, 6}, kMode2);
}

void EventListener::removeDomainListener(long long domainId) {
  ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> manager = ServiceCacheAppFrame::eventManager_;
  if (!manager || m_listened.count(domainId) == 0) return;
  manager->removeListener(domainId, m_listener);
  m_listened.erase(domainId);
}

void EventListener::removeAllListener() {
  ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> manager = ServiceCacheAppFrame::eventManager_;
  if (!manager) return;
  for (long long domainId : m_listened) manager->removeListener(domainId, m_listener);
  m_listened.clear();
}

}  // namespace kyr::orla::plugin::wyrdan
