// EventHandler: the process-wide registry of the plug-in's event handlers,
// per host event domain. While a domain has handlers, the plug-in's default
// listener is subscribed to it (EventListener); each event the host delivers
// to that listener is passed to handleEvent, which calls the handlers of the
// event's domain. Its static getters turn the host's event domain names into
// their numeric ids.
//
//   EventHandler* registry = EventHandler::instance();
//   registry->addSelectionEventHandler(&watcher);          // subscribes the listener
//   ...                                                     // the listener calls handleEvent(event)
//   registry->removeAllEventHandler();                      // before the plug-in unloads
//
// Thread-safe: every table operation takes one non-recursive lock, which the
// subscription calls also hold while they call the host. An event delivered
// on that same thread during such a call makes handleEvent throw
// ImproperLock (events/ImproperLock.h). Handlers run outside the lock.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "WyrdanPluginUtilities/events/IZolEventHandler.h"
#include "zol/framework/ZolIEventManager.h"

namespace kyr::orla::plugin::wyrdan {

namespace internal {
class CriticalSection;
}

class WYRDAN_EXPORT EventHandler {
 public:
  /// The registry, made on first use (thread-safe); it lives until the
  /// library unloads.
  static EventHandler* instance();

  EventHandler(EventHandler const&) = delete;
  EventHandler& operator=(EventHandler const&) = delete;
  /// Unsubscribes nothing: handlers are removed before the library unloads.
  ~EventHandler();

  /// Registers `handler` (not owned; kept until removed) for `domainId` and
  /// asks the default listener to listen to the domain, on every call. A
  /// handler is registered at most once per domain.
  void addDomainEventHandler(long long domainId, IZolEventHandler* handler);
  /// Unregisters `handler` from `domainId`; when the domain loses its last
  /// handler, the default listener stops listening to it. An unknown handler
  /// or domain changes nothing and calls nothing.
  void removeDomainEventHandler(long long domainId, IZolEventHandler* handler);
  /// Drops every handler of `domainId` and stops listening to it, also when
  /// it had none.
  void removeDomainEventHandlers(long long domainId);
  /// Drops every handler and stops listening to every domain that had any.
  void removeAllEventHandler();

  /// Calls the handlers registered for the event's domain when it was taken,
  /// in ascending address order, on this thread and outside the lock.
  /// Handlers added or removed meanwhile count from the next event. Returns
  /// EventHandled when a handler ran, EventNotHandled when the domain had
  /// none. A handler's exception ends the delivery and passes to the caller.
  /// Throws ImproperLock when this thread is inside one of the registry's
  /// subscription changes. Allocates nothing.
  Zol::Framework::HandleEventStatus handleEvent(Zol::Framework::ZolEvent const& event);

  /// The viewport width and height the registry keeps: 0 and 0.
  void viewportSize(int& width, int& height);

  // Shorthands: add or remove one handler for the domain their getter names
  // at the moment of the call.
  void addFilterChangeEventHandler(IZolEventHandler* handler);
  void removeFilterChangeEventHandler(IZolEventHandler* handler);
  void addGeomPluginEventHandler(IZolEventHandler* handler);
  void removeGeomPluginEventHandler(IZolEventHandler* handler);
  void addGeomPluginModelDisplayEventHandler(IZolEventHandler* handler);
  void removeGeomPluginModelDisplayEventHandler(IZolEventHandler* handler);
  void addGeomPluginODMEventHandler(IZolEventHandler* handler);
  void removeGeomPluginODMEventHandler(IZolEventHandler* handler);
  void addGuiEventHandler(IZolEventHandler* handler);
  void removeGuiEventHandler(IZolEventHandler* handler);
  void addMissionChangeEventHandler(IZolEventHandler* handler);
  void removeMissionChangeEventHandler(IZolEventHandler* handler);
  void addModeChangeEventHandler(IZolEventHandler* handler);
  void removeModeChangeEventHander(IZolEventHandler* handler);
  void addModelPersistenceEventHandler(IZolEventHandler* handler);
  void removeModelPersistenceEventHandler(IZolEventHandler* handler);
  void addModelingPluginEventHandler(IZolEventHandler* handler);
  void removeModelingPluginEventHandler(IZolEventHandler* handler);
  void addMotionPluginEventHandler(IZolEventHandler* handler);
  void removeMotionPluginEventHandler(IZolEventHandler* handler);
  void addODMModeEventHandler(IZolEventHandler* handler);
  void removeODMModeEventHandler(IZolEventHandler* handler);
  void addPivotEventHandler(IZolEventHandler* handler);
  void removePivotEventHandler(IZolEventHandler* handler);
  void addPostPluginEventHandler(IZolEventHandler* handler);
  void removePostPluginEventHandler(IZolEventHandler* handler);
  void addProcessorEventHandler(IZolEventHandler* handler);
  void removeProcessorEventHandler(IZolEventHandler* handler);
  void addRestorePanelValueToDefaultEventHandler(IZolEventHandler* handler);
  void removeRestorePanelValueToDefaultEventHandler(IZolEventHandler* handler);
  void addSelectionEventHandler(IZolEventHandler* handler);
  void removeSelectionEventHandler(IZolEventHandler* handler);

  // Domain ids, asked of the host event manager on every call (nothing is
  // cached); 0 without an event manager. getDomainId and the getters of the
  // domains the plug-in may create look the name up and create the domain
  // when the host does not know it; the look-up-only getters (entity,
  // selection, the geometry plug-in's domains) give 0 for an unknown domain.

  static long long getDomainId(std::string const& name);
  /// "kyr.orla.appfw.Entity", look-up only.
  static long long getEntityDomainId();
  /// "kyr.orla.appfw.PickFilterEvent"
  static long long getFilterChangeDomainId();
  /// "GeomPluginEventDomain", look-up only.
  static long long getGeomDomainId();
  /// "kyr.orla.plugin.geometry.ModelDisplayService", look-up only.
  static long long getGeomModelDisplayDomainId();
  /// "Cormoran.Plugins.GeomPlugin.OnDisplayMenu", look-up only.
  static long long getGeomODMDomainId();
  /// "kyr.orla.appfw.Missions"
  static long long getMissionsEventDomainId();
  /// "kyr.orla.appfw.ModelPersistence"
  static long long getModelPersistenceDomainId();
  /// "KYR.Cormoran.Plugins.ModelingPlugin"
  static long long getModelingDomainId();
  /// "kyr.orla.appfw.Modes"
  static long long getModesDomainId();
  /// "kyr.orla.plugin.motion"
  static long long getMotionDomainId();
  /// "kyr.orla.appfw.PluginODMDomain"
  static long long getODMModeDomainId();
  /// "kyr.orla.appfw.PivotDataFW"
  static long long getPivotDomainId();
  /// "kyr.orla.appfw.PluginOptionsEvents"
  static long long getPluginOptsDomainId();
  /// "KYR.PostPluginDomain"
  static long long getPostPluginDomainId();
  /// "kyr.orla.appfw.CmdProcessor"
  static long long getProcessorDomainId();
  /// "kyr.orla.appfw.RestorePanelValueToDefaultDomainName"
  static long long getRestorePanelValueToDefaultDomainId();
  /// "kyr.orla.appfw.SelectionManagerEvent", look-up only.
  static long long getSelectionDomainId();
  /// "KYR.Plugins.ModelingPlugin.StudyManager"
  static long long getStudyManagerDomainId();
  /// "kyr.orla.appfw.UndoRedoFWEvent"
  static long long getUndoRedoDomainId();
  /// The GUI executive's event channel; 0 without the GUI executive service.
  /// Throws Zol::ZolSystemException_24 when that service is not a GUI executive.
  static long long getGUIChannelId();

 protected:
  EventHandler();

 private:
  // One domain's handlers in ascending address order. Never changed once
  // published: a change builds a new list, so handleEvent shares the current
  // one without copying it.
  using Handlers = std::vector<IZolEventHandler*>;

  int m_viewportWidth = 0;
  int m_viewportHeight = 0;
  std::map<long long, std::shared_ptr<const Handlers>> m_handlers;
  std::unique_ptr<internal::CriticalSection> m_lock;
};

}  // namespace kyr::orla::plugin::wyrdan
