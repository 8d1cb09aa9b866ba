#include "WyrdanPluginUtilities/events/EventHandler.h"

#include <algorithm>
#include <cstdint>
#include <mutex>

#include "WyrdanPluginUtilities/events/EventListener.h"
#include "WyrdanPluginUtilities/events/internal/CriticalSection.h"
#include "WyrdanPluginUtilities/events/internal/Delivery.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "kyr/appfw/ZolIGuiExecutive.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using appfw::ServiceCacheAppFrame;

constexpr char kFilterChangeDomain[] = "kyr.orla.appfw.PickFilterEvent";
constexpr char kMissionsDomain[] = "kyr.orla.appfw.Missions";
constexpr char kModesDomain[] = "kyr.orla.appfw.Modes";
constexpr char kModelPersistenceDomain[] = "kyr.orla.appfw.ModelPersistence";
constexpr char kODMModeDomain[] = "kyr.orla.appfw.PluginODMDomain";
constexpr char kPivotDomain[] = "kyr.orla.appfw.PivotDataFW";
constexpr char kPluginOptionsDomain[] = "kyr.orla.appfw.PluginOptionsEvents";
constexpr char kProcessorDomain[] = "kyr.orla.appfw.CmdProcessor";
constexpr char kRestorePanelValueDomain[] = "kyr.orla.appfw.RestorePanelValueToDefaultDomainName";
constexpr char kUndoRedoDomain[] = "kyr.orla.appfw.UndoRedoFWEvent";

enum class Missing { Create, LeaveUnknown };

// The id of the domain `name`: looked up, and created when missing if asked
// to. 0 without an event manager, or for an unknown domain left unknown.
long long domainIdOf(const std::string& name, Missing missing) {
  ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> manager = ServiceCacheAppFrame::eventManager_;
  if (!manager) return 0;
  std::int64_t id = 0;
  if (!manager->lookUpDomainId(name, id).isOk() && missing == Missing::Create) manager->createDomainId(name, id);
  return id;
}

// The entry of `domainId` in `table`, or where it would go.
template <class Table>
auto entryOf(Table& table, long long domainId) {
  return std::lower_bound(table.begin(), table.end(), domainId,
                          [](const auto& entry, long long id) { return entry.first < id; });
}

// The handlers of `domainId`; null when the domain has none. The few domains
// a plug-in listens to are searched front to back: fewer instructions than
// halving.
template <class Table>
const auto* handlersOf(const Table& table, long long domainId) {
  constexpr std::size_t kScanned = 8;
  if (table.size() <= kScanned) {
    for (const auto& [id, handlers] : table) {
      if (id == domainId) return &handlers;
    }
    return static_cast<decltype(&table.front().second)>(nullptr);
  }
  const auto entry = entryOf(table, domainId);
  return entry != table.end() && entry->first == domainId ? &entry->second : nullptr;
}

// Delivers `event` to `handlers`, `registry`'s handlers of its domain, read
// under `hold`: copies them, releases the hold, and calls each.
[[gnu::noinline]] Zol::Framework::HandleEventStatus deliverToEach(const EventHandler* registry,
                                                                  const std::vector<IZolEventHandler*>& handlers,
                                                                  internal::CriticalSection::SharedHold& hold,
                                                                  const Zol::Framework::ZolEvent& event) {
  internal::Delivery delivery(registry, event.domainId);
  delivery.copy(handlers);
  hold.release();
  delivery.callEach(event);
  return Zol::Framework::EventHandled;
}

}  // namespace

EventHandler* EventHandler::instance() {
  static EventHandler registry;
  return &registry;
}

EventHandler::EventHandler() : m_lock(std::make_unique<internal::CriticalSection>()) {}

// A copy still being taken finishes before the table goes; deliveries past
// their copy never read the registry again.
EventHandler::~EventHandler() {
  if (m_lock->heldByThisThread()) return;
  const std::lock_guard<internal::CriticalSection> lock(*m_lock);
  m_handlers.clear();
}

void EventHandler::addDomainEventHandler(long long domainId, IZolEventHandler* handler) {
  if (handler == nullptr) return;
  const std::lock_guard<internal::CriticalSection> lock(*m_lock);
  auto entry = entryOf(m_handlers, domainId);
  if (entry == m_handlers.end() || entry->first != domainId) entry = m_handlers.emplace(entry, domainId, Handlers());
  Handlers& handlers = entry->second;
  const auto at = std::lower_bound(handlers.begin(), handlers.end(), handler);
  if (at == handlers.end() || *at != handler) handlers.insert(at, handler);
  EventListener::getDefListener()->listenDomainEvent(domainId);
}

void EventHandler::removeDomainEventHandler(long long domainId, IZolEventHandler* handler) {
  if (handler == nullptr) return;
  const std::lock_guard<internal::CriticalSection> lock(*m_lock);
  const auto entry = entryOf(m_handlers, domainId);
  if (entry == m_handlers.end() || entry->first != domainId) return;
  Handlers& handlers = entry->second;
  const auto found = std::lower_bound(handlers.begin(), handlers.end(), handler);
  if (found == handlers.end() || *found != handler) return;
  handlers.erase(found);
  internal::Delivery::forget(this, &domainId, handler);
  if (!handlers.empty()) return;
  EventListener::getDefListener()->removeDomainListener(domainId);
  m_handlers.erase(entry);
}

void EventHandler::removeDomainEventHandlers(long long domainId) {
  const std::lock_guard<internal::CriticalSection> lock(*m_lock);
  const auto entry = entryOf(m_handlers, domainId);
  if (entry != m_handlers.end() && entry->first == domainId) m_handlers.erase(entry);
  internal::Delivery::forget(this, &domainId, nullptr);
  EventListener::getDefListener()->removeDomainListener(domainId);
}

// An empty table asks nothing of the host: not even for the listener.
void EventHandler::removeAllEventHandler() {
  const std::lock_guard<internal::CriticalSection> lock(*m_lock);
  if (m_handlers.empty()) return;
  EventListener* listener = EventListener::getDefListener();
  for (const auto& entry : m_handlers) listener->removeDomainListener(entry.first);
  m_handlers.clear();
  internal::Delivery::forget(this, nullptr, nullptr);
}

// The handlers are read under a shared hold, so that deliveries on several
// threads do not wait for one another, and called after it is released. A
// domain's only handler needs no copy: no handler comes after it.
Zol::Framework::HandleEventStatus EventHandler::handleEvent(Zol::Framework::ZolEvent const& event) {
  internal::CriticalSection::SharedHold hold(*m_lock);
  const Handlers* handlers = handlersOf(m_handlers, event.domainId);
  if (handlers == nullptr || handlers->empty()) return Zol::Framework::EventNotHandled;
  if (handlers->size() > 1) return deliverToEach(this, *handlers, hold, event);
  IZolEventHandler* const only = handlers->front();
  hold.release();
  only->handleDomainEvent(event.domainId, event);
  return Zol::Framework::EventHandled;
}

void EventHandler::viewportSize(int& width, int& height) {
  width = m_viewportWidth;
  height = m_viewportHeight;
}

void EventHandler::addFilterChangeEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getDomainId(kFilterChangeDomain), handler);
}
void EventHandler::removeFilterChangeEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getDomainId(kFilterChangeDomain), handler);
}
void EventHandler::addGeomPluginEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getGeomDomainId(), handler);
}
void EventHandler::removeGeomPluginEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getGeomDomainId(), handler);
}
void EventHandler::addGeomPluginModelDisplayEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getGeomModelDisplayDomainId(), handler);
}
void EventHandler::removeGeomPluginModelDisplayEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getGeomModelDisplayDomainId(), handler);
}
void EventHandler::addGeomPluginODMEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getGeomODMDomainId(), handler);
}
void EventHandler::removeGeomPluginODMEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getGeomODMDomainId(), handler);
}
void EventHandler::addGuiEventHandler(IZolEventHandler* handler) { addDomainEventHandler(getGUIChannelId(), handler); }
void EventHandler::removeGuiEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getGUIChannelId(), handler);
}
void EventHandler::addMissionChangeEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getDomainId(kMissionsDomain), handler);
}
void EventHandler::removeMissionChangeEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getDomainId(kMissionsDomain), handler);
}
void EventHandler::addModeChangeEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getDomainId(kModesDomain), handler);
}
void EventHandler::removeModeChangeEventHander(IZolEventHandler* handler) {
  removeDomainEventHandler(getDomainId(kModesDomain), handler);
}
void EventHandler::addModelPersistenceEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getDomainId(kModelPersistenceDomain), handler);
}
void EventHandler::removeModelPersistenceEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getDomainId(kModelPersistenceDomain), handler);
}
void EventHandler::addModelingPluginEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getModelingDomainId(), handler);
}
void EventHandler::removeModelingPluginEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getModelingDomainId(), handler);
}
void EventHandler::addMotionPluginEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getMotionDomainId(), handler);
}
void EventHandler::removeMotionPluginEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getMotionDomainId(), handler);
}
void EventHandler::addODMModeEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getDomainId(kODMModeDomain), handler);
}
void EventHandler::removeODMModeEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getDomainId(kODMModeDomain), handler);
}
void EventHandler::addPivotEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getDomainId(kPivotDomain), handler);
}
void EventHandler::removePivotEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getDomainId(kPivotDomain), handler);
}
void EventHandler::addPostPluginEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getPostPluginDomainId(), handler);
}
void EventHandler::removePostPluginEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getPostPluginDomainId(), handler);
}
void EventHandler::addProcessorEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getDomainId(kProcessorDomain), handler);
}
void EventHandler::removeProcessorEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getDomainId(kProcessorDomain), handler);
}
void EventHandler::addRestorePanelValueToDefaultEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getDomainId(kRestorePanelValueDomain), handler);
}
void EventHandler::removeRestorePanelValueToDefaultEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getDomainId(kRestorePanelValueDomain), handler);
}
void EventHandler::addSelectionEventHandler(IZolEventHandler* handler) {
  addDomainEventHandler(getSelectionDomainId(), handler);
}
void EventHandler::removeSelectionEventHandler(IZolEventHandler* handler) {
  removeDomainEventHandler(getSelectionDomainId(), handler);
}

long long EventHandler::getDomainId(std::string const& name) { return domainIdOf(name, Missing::Create); }
long long EventHandler::getEntityDomainId() { return domainIdOf("kyr.orla.appfw.Entity", Missing::LeaveUnknown); }
long long EventHandler::getFilterChangeDomainId() { return getDomainId(kFilterChangeDomain); }
long long EventHandler::getGeomDomainId() { return domainIdOf("GeomPluginEventDomain", Missing::LeaveUnknown); }
long long EventHandler::getGeomModelDisplayDomainId() {
  return domainIdOf("kyr.orla.plugin.geometry.ModelDisplayService", Missing::LeaveUnknown);
}
long long EventHandler::getGeomODMDomainId() {
  return domainIdOf("Cormoran.Plugins.GeomPlugin.OnDisplayMenu", Missing::LeaveUnknown);
}
long long EventHandler::getMissionsEventDomainId() { return getDomainId(kMissionsDomain); }
long long EventHandler::getModelPersistenceDomainId() { return getDomainId(kModelPersistenceDomain); }
long long EventHandler::getModelingDomainId() {
  return domainIdOf("KYR.Cormoran.Plugins.ModelingPlugin", Missing::Create);
}
long long EventHandler::getModesDomainId() { return getDomainId(kModesDomain); }
long long EventHandler::getMotionDomainId() { return domainIdOf("kyr.orla.plugin.motion", Missing::Create); }
long long EventHandler::getODMModeDomainId() { return getDomainId(kODMModeDomain); }
long long EventHandler::getPivotDomainId() { return getDomainId(kPivotDomain); }
long long EventHandler::getPluginOptsDomainId() { return getDomainId(kPluginOptionsDomain); }
long long EventHandler::getPostPluginDomainId() { return domainIdOf("KYR.PostPluginDomain", Missing::Create); }
long long EventHandler::getProcessorDomainId() { return getDomainId(kProcessorDomain); }
long long EventHandler::getRestorePanelValueToDefaultDomainId() { return getDomainId(kRestorePanelValueDomain); }
long long EventHandler::getSelectionDomainId() {
  return domainIdOf("kyr.orla.appfw.SelectionManagerEvent", Missing::LeaveUnknown);
}
long long EventHandler::getStudyManagerDomainId() {
  return domainIdOf("KYR.Plugins.ModelingPlugin.StudyManager", Missing::Create);
}
long long EventHandler::getUndoRedoDomainId() { return getDomainId(kUndoRedoDomain); }

long long EventHandler::getGUIChannelId() {
  auto gui = Zol::interfaceCastOrThrow<appfw::ZolIGuiExecutiveInterface>(ServiceHelper::getGuiExeutive());
  if (!gui) return 0;
  std::int64_t id = 0;
  gui->getGuiChannelId(id);
  return id;
}

}  // namespace kyr::orla::plugin::wyrdan
