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
/// Thread-safe: every table change takes the registry's one non-recursive
/// lock, and holds it while it calls the host to change a subscription; a
/// delivery takes it only to copy the handlers of its event's domain, and
/// calls them after releasing it. Deliveries on several threads do not wait
/// for one another; a delivery that starts during a change waits for the
/// change to end. The domain getters take no lock; getGUIChannelId and the
/// GUI shorthands reach the service cache (ServiceHelper). Host exceptions
/// pass to the caller, the table keeping the change made before the failing
/// host call; a handler's exception passes out of handleEvent. Taking the
/// lock on a thread that holds it raises ImproperLock
/// (events/ImproperLock.h): an event delivered on the thread of a
/// subscription change, during that change, and any table operation the host
/// calls back into on that thread. Each registry has its own lock.
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
///
/// What it keeps: the table, and the lock (about 2 KiB, whatever the number
/// of threads). A delivery keeps its own copy of one domain's
/// handlers, on its stack (on the heap beyond 16 handlers), freed when it
/// ends; nothing is kept per thread or per delivery once the delivery ends.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "WyrdanPluginUtilities/events/IZolEventHandler.h"
#include "zol/framework/ZolIEventManager.h"

namespace kyr::orla::plugin::wyrdan {

namespace internal {
class CriticalSection;
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
  /// Waits for a delivery copying its handlers to finish the copy; a
  /// delivery past its copy reads nothing of the registry, so it may go on
  /// calling its handlers. A delivery that starts once the registry is
  /// destroyed is the host's fault: remove every handler first, which
  /// unsubscribes the listener.
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
  /// whole and the domains before the failing one unsubscribed. An empty
  /// table makes no host call.
  void removeAllEventHandler();

  /// Calls the handlers registered for the event's domain when the delivery
  /// starts, in ascending address order, on this thread and outside the
  /// lock: every add and remove that returned before is seen, and handlers
  /// added meanwhile count from the next event. A handler removed on this
  /// thread during the delivery (by a handler, say) is not called afterwards
  /// in it, so a handler may remove another and delete it at once; one
  /// removed on another thread may still be called for this event, so keep
  /// a handler alive until no delivery that could have copied it still runs.
  /// Returns EventHandled when a handler ran, EventNotHandled when the
  /// domain had none. A handler's exception ends the delivery and passes to
  /// the caller. Waits while another thread changes the table; throws
  /// ImproperLock when this thread is changing it. Allocates nothing for a
  /// domain of up to 16 handlers.
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
  /// (ServiceHelper).
  static long long getGUIChannelId();
  ///@}

 protected:
  /// An empty registry with its lock. Use instance(): the registry is meant
  /// to be one per process.
  EventHandler();

 private:
  // One domain's handlers in ascending address order.
  using Handlers = std::vector<IZolEventHandler*>;
  // Each domain that has handlers, with them, in ascending id order.
  using Table = std::vector<std::pair<long long, Handlers>>;

  int m_viewportWidth = 0;
  int m_viewportHeight = 0;
  Table m_handlers;
  std::unique_ptr<internal::CriticalSection> m_lock;
};

}  // namespace kyr::orla::plugin::wyrdan
