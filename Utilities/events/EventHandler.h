/// \class kyr::orla::plugin::wyrdan::EventHandler
/// \ingroup wyrdan_events
/// The process-wide registry of the plug-in's event handlers, per host event
/// domain. While a domain has handlers, the plug-in's default listener is
/// subscribed to it (EventListener); each event the host delivers to that
/// listener is passed to handleEvent, which calls the handlers of the event's
/// domain. Its static getters turn the host's event domain names into their
/// numeric ids.
///
/// \par Threads and exceptions
/// Thread-safe: every table operation takes one non-recursive lock, which the
/// subscription calls also hold while they call the host; handlers run
/// outside the lock. The domain getters take no lock; getGUIChannelId and the
/// GUI shorthands reach the service cache (ServiceHelper), which serves one
/// thread at a time. Host exceptions pass to the caller, the table keeping
/// the change made before the failing host call; a handler's exception
/// passes out of handleEvent. An event delivered on the thread of a
/// subscription call, during that call, makes handleEvent throw ImproperLock
/// (events/ImproperLock.h); so does any table operation the host calls back
/// into on that thread.
///
/// \code
///   EventHandler* registry = EventHandler::instance();
///   registry->addSelectionEventHandler(&watcher);          // subscribes the listener
///   ...                                                     // the listener calls handleEvent(event)
///   registry->removeAllEventHandler();                      // before the plug-in unloads
/// \endcode
///
/// Every add and remove that reaches the default listener first refreshes it,
/// under the lock: it asks the host for the plug-in's initializer service and
/// for the ids of the host domains the listener subscribes in their own way,
/// creating those the plug-in may create (EventListener). The listener
/// subscribed is the initializer service as the first of these look-ups found
/// it, kept for the process: when that look-up found none, the plug-in hears
/// no host event for good.
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
class DeliveryTable;
}  // namespace internal

class WYRDAN_EXPORT EventHandler {
 public:
  /// The registry, made on first use (thread-safe); it lives until the
  /// library unloads. No host call.
  static EventHandler* instance();

  /// Not copyable: the registry is one per process.
  EventHandler(EventHandler const&) = delete;
  /// Not assignable, for the same reason.
  EventHandler& operator=(EventHandler const&) = delete;
  /// Unsubscribes nothing: handlers are removed before the library unloads.
  ~EventHandler();

  /// Registers `handler` (not owned; kept until removed) for `domainId` and
  /// asks the default listener to listen to the domain, on every call (it
  /// subscribes once). A handler is registered at most once per domain. A
  /// host exception passes after the handler was registered: the handler
  /// stays registered, so remove it before it is destroyed (a handler that
  /// registers itself in its constructor takes itself back when this throws).
  /// A null handler is ignored: nothing is registered and the host is not
  /// called.
  void addDomainEventHandler(long long domainId, IZolEventHandler* handler);
  /// Unregisters `handler` from `domainId`; when the domain loses its last
  /// handler, the default listener stops listening to it. An unknown or null
  /// handler, or an unknown domain, changes nothing and calls nothing.
  void removeDomainEventHandler(long long domainId, IZolEventHandler* handler);
  /// Drops every handler of `domainId` and stops listening to it, also when
  /// it had none (the listener unsubscribes only what it subscribed).
  void removeDomainEventHandlers(long long domainId);
  /// Drops every handler and stops listening to every domain that had any,
  /// in ascending id order. A host exception passes with the table still
  /// whole and the domains before the failing one unsubscribed.
  void removeAllEventHandler();

  /// Calls the handlers registered for the event's domain when the delivery
  /// starts, in ascending address order, on this thread and outside the
  /// lock: every add and remove that returned before is seen, and handlers
  /// added or removed meanwhile count from the next event. Returns
  /// EventHandled when a handler ran, EventNotHandled when the domain had
  /// none. A handler's exception ends the delivery and passes to the caller.
  /// Throws ImproperLock when this thread is inside one of the registry's
  /// subscription changes. When the table has not changed since this
  /// thread's last delivery it takes no lock and allocates nothing; a
  /// thread's first delivery, and its first after a change, take the lock
  /// (the very first also keeps a small record of the thread until the
  /// library unloads).
  Zol::Framework::HandleEventStatus handleEvent(Zol::Framework::ZolEvent const& event);

  /// The viewport width and height the registry keeps: 0 and 0, since
  /// nothing sets them. Takes no lock; never throws.
  void viewportSize(int& width, int& height);

  // Shorthands: add or remove one handler for the domain their getter names
  // at the moment of the call.
  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "kyr.orla.appfw.PickFilterEvent", created when the host does not know it.
  void addFilterChangeEventHandler(IZolEventHandler* handler);
  void removeFilterChangeEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "GeomPluginEventDomain", look-up only: when the host does not know it, the
  /// handler goes under id 0, which the listener then subscribes.
  void addGeomPluginEventHandler(IZolEventHandler* handler);
  void removeGeomPluginEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "kyr.orla.plugin.geometry.ModelDisplayService", look-up only: when the host
  /// does not know it, the handler goes under id 0, which the listener then
  /// subscribes.
  void addGeomPluginModelDisplayEventHandler(IZolEventHandler* handler);
  void removeGeomPluginModelDisplayEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "Cormoran.Plugins.GeomPlugin.OnDisplayMenu", look-up only: when the host
  /// does not know it, the handler goes under id 0, which the listener then
  /// subscribes.
  void addGeomPluginODMEventHandler(IZolEventHandler* handler);
  void removeGeomPluginODMEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for the GUI executive's
  /// event channel (getGUIChannelId), its id taken as a domain id; under id 0
  /// without the GUI executive service. Throws Zol::ZolSystemException_24 when
  /// that service is not a GUI executive.
  void addGuiEventHandler(IZolEventHandler* handler);
  void removeGuiEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "kyr.orla.appfw.Missions", created when the host does not know it.
  void addMissionChangeEventHandler(IZolEventHandler* handler);
  void removeMissionChangeEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "kyr.orla.appfw.Modes", created when the host does not know it (the remove
  /// form is spelt removeModeChangeEventHander).
  void addModeChangeEventHandler(IZolEventHandler* handler);
  void removeModeChangeEventHander(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "kyr.orla.appfw.ModelPersistence", created when the host does not know it.
  void addModelPersistenceEventHandler(IZolEventHandler* handler);
  void removeModelPersistenceEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "KYR.Cormoran.Plugins.ModelingPlugin", created when the host does not know
  /// it.
  void addModelingPluginEventHandler(IZolEventHandler* handler);
  void removeModelingPluginEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "kyr.orla.plugin.motion", created when the host does not know it.
  void addMotionPluginEventHandler(IZolEventHandler* handler);
  void removeMotionPluginEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "kyr.orla.appfw.PluginODMDomain", created when the host does not know it.
  void addODMModeEventHandler(IZolEventHandler* handler);
  void removeODMModeEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "kyr.orla.appfw.PivotDataFW", created when the host does not know it.
  void addPivotEventHandler(IZolEventHandler* handler);
  void removePivotEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "KYR.PostPluginDomain", created when the host does not know it.
  void addPostPluginEventHandler(IZolEventHandler* handler);
  void removePostPluginEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "kyr.orla.appfw.CmdProcessor", created when the host does not know it.
  void addProcessorEventHandler(IZolEventHandler* handler);
  void removeProcessorEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "kyr.orla.appfw.RestorePanelValueToDefaultDomainName", created when the host
  /// does not know it.
  void addRestorePanelValueToDefaultEventHandler(IZolEventHandler* handler);
  void removeRestorePanelValueToDefaultEventHandler(IZolEventHandler* handler);
  ///@}

  ///@{

  /// addDomainEventHandler or removeDomainEventHandler for
  /// "kyr.orla.appfw.SelectionManagerEvent", look-up only: when the host does not
  /// know it, the handler goes under id 0, which the listener then subscribes.
  void addSelectionEventHandler(IZolEventHandler* handler);
  void removeSelectionEventHandler(IZolEventHandler* handler);
  ///@}

  /// \name Domain ids
  /// Asked of the host service cache's event manager on every call (nothing
  /// is cached); 0 without an event manager. getDomainId and the getters of
  /// the domains the plug-in may create look the name up and create the
  /// domain when the host does not know it (the creation's result is not
  /// examined); the look-up-only getters (entity, selection, the geometry
  /// plug-in's domains) give 0 for an unknown domain. The id given is what
  /// the host wrote, whatever its result: a look-up that fails but writes an
  /// id gives that id, one that writes nothing gives 0. They take no lock
  /// and keep no state; host exceptions pass to the caller.
  ///@{

  /// The id of the domain `name`, created when the host does not know it.
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
  /// Throws Zol::ZolSystemException_24 when that service is not a GUI
  /// executive. Unlike the domain getters it reaches the service cache
  /// (ServiceHelper), so it shares that cache's rule of one thread at a time.
  static long long getGUIChannelId();
  ///@}

 protected:
  /// An empty registry with its lock. Use instance(): the registry is meant
  /// to be one per process.
  EventHandler();

 private:
  // One domain's handlers in ascending address order.
  using Handlers = std::vector<IZolEventHandler*>;

  // Publishes the table to deliveries; under the lock, after each change.
  void publish();

  int m_viewportWidth = 0;
  int m_viewportHeight = 0;
  std::map<long long, Handlers> m_handlers;
  std::unique_ptr<internal::CriticalSection> m_lock;
  // What handleEvent reads: the table as of its last change, without the lock.
  std::unique_ptr<internal::DeliveryTable> m_delivery;
};

}  // namespace kyr::orla::plugin::wyrdan
