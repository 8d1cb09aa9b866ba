/// \class kyr::orla::plugin::wyrdan::EventListener
/// \ingroup wyrdan_events
/// Subscribes one host event listener to host event domains and remembers
/// which ids it has subscribed to. For each domain the plug-in uses it knows
/// which events to ask for and in which mode; any other id is subscribed for
/// all its events. The handler registry (EventHandler) drives the default
/// instance, built around the plug-in's initializer service.
///
/// \par Threads and exceptions
/// Not synchronised: the default instance is used under the registry's lock,
/// other instances by one thread at a time. Host exceptions pass to the
/// caller, the id's state unchanged.
///
/// \code
///   EventListener listener(myListener);
///   listener.listenDomainEvent(EventHandler::getDomainId("MyPlugin.Events"));  // every event, mode 2
///   listener.removeAllListener();
/// \endcode
///
/// Each id moves between "not listened" and "listened" with exactly one host
/// call per move; repeated calls in the same state call nothing. Results of
/// the host are not examined; without a host event manager nothing changes.
#pragma once

#include <map>
#include <set>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/framework/ZolIEventManager.h"
#include "zol/kernel/ZolHoldings.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT EventListener {
 public:
  /// Holds `listener` (it may be empty: it is still handed to the host).
  /// The subscription table starts empty, so until initialize() runs every
  /// id is subscribed for all its events. No host call.
  EventListener(ZolSmartPointer<Zol::Framework::ZolIEventListenerInterface> const& listener);  // NOLINT: implicit
  /// Copies the listener, the listened ids and the subscription table.
  EventListener(EventListener const& other);
  /// As the copy; assigning an object to itself changes nothing.
  EventListener& operator=(EventListener const& other);
  /// Unsubscribes nothing: the host keeps its own references.
  ~EventListener();

  /// Subscribes to `domainId`: through the domain's own subscription when
  /// the table has one for the id, otherwise for every event of the id in
  /// mode 2, unless the id is listened already. The event manager is the host
  /// service cache's, taken on each call.
  void listenDomainEvent(long long domainId);

  /// \name The domains' own subscriptions
  /// Each subscribes its domain (found by its EventHandler getter on every
  /// call, not by the argument, which is unused) with its events and mode,
  /// unless that domain is listened already. The getters of the domains the
  /// plug-in may create create them when missing; a look-up-only domain the
  /// host does not know is subscribed as id 0.
  ///@{

  /// Entity domain: events 1, 3, 2, 9, 10, 15; mode 2.
  void listenEntityDomainEvent(long long domainId);
  /// "kyr.orla.appfw.PickFilterEvent": event 1000; mode 3.
  void listenFilterDomainEvent(long long domainId);
  /// Geometry plug-in domain: event 115; mode 2.
  void listenGeomPluginEvent(long long domainId);
  /// Geometry model display domain: event 100; mode 2.
  void listenGeomPluginModelDisplayEvent(long long domainId);
  /// Geometry on-display-menu domain: event 1001; mode 2.
  void listenGeomPluginODMEvent(long long domainId);
  /// "kyr.orla.appfw.Missions": event 1; mode 2.
  void listenMissionChangeDomainEvent(long long domainId);
  /// "kyr.orla.appfw.ModelPersistence": events 1, 5, 20, 30, 21; mode 3.
  void listenModelPersistenceDomainEvent(long long domainId);
  /// Modeling plug-in domain: every event (an empty filter); mode 2.
  void listenModelingPluginEvent(long long domainId);
  /// "kyr.orla.appfw.Modes": events 1, 2; mode 3.
  void listenModesDomainEvent(long long domainId);
  /// Motion plug-in domain: events 1, 2; mode 2.
  void listenMotionPluginEvent(long long domainId);
  /// "kyr.orla.appfw.PluginODMDomain": events 1, 2; mode 2.
  void listenODMModeDomainEvent(long long domainId);
  /// "kyr.orla.appfw.PivotDataFW": events 1001, 1002, 1003, 1004, 1006, 3002; mode 3.
  void listenPivotDomainEvent(long long domainId);
  /// "kyr.orla.appfw.PluginOptionsEvents": events 300, 400; mode 3.
  void listenPluginOptsDomainEvent(long long domainId);
  /// Post plug-in domain: events 4001 to 4005; mode 2.
  void listenPostPluginDomainEvent(long long domainId);
  /// "kyr.orla.appfw.CmdProcessor": events 4, 5; mode 2.
  void listenProcessorDomainEvent(long long domainId);
  /// "kyr.orla.appfw.RestorePanelValueToDefaultDomainName": event 1; mode 2.
  void listenRestorePanelValueToDefaultDomainEvent(long long domainId);
  /// Selection domain: events 1, 2; mode 2.
  void listenSelectionEvent(long long domainId);
  /// "kyr.orla.appfw.UndoRedoFWEvent": events 2, 3, 5, 6; mode 2.
  void listenUndoRedoEvent(long long domainId);
  ///@}

  /// Unsubscribes from `domainId` when it is listened; otherwise calls nothing.
  void removeDomainListener(long long domainId);
  /// Unsubscribes from every listened id, in ascending order. The
  /// subscription table stays.
  void removeAllListener();

 protected:
  /// Maps the current id of each domain that has its own subscription to
  /// that subscription (creating the domains the plug-in may create), keeps
  /// earlier entries not overwritten, and drops the entry of id 0 (domains
  /// the host does not know).
  void initialize();

 private:
  /// The registry drives the default instance.
  friend class EventHandler;
  using Subscription = void (EventListener::*)(long long);

  /// The default instance, around the service
  /// "kyr.orla.plugin.wyrdan.WyrdanPluginInitializer" as found on the first
  /// call (empty when missing or not a listener), kept until the library
  /// unloads; initialize() runs on every call. Called under the registry's lock.
  static EventListener* getDefListener();

  /// Subscribes `domainId` to `events` (all events when empty) in `mode`,
  /// unless it is listened already.
  void subscribe(long long domainId, Zol::Framework::EventFilter const& events, int mode);

  ZolSmartPointer<Zol::Framework::ZolIEventListenerInterface> m_listener;
  std::set<long long> m_listened;
  std::map<long long, Subscription> m_subscriptions;

  /// Names the default instance's listener, held until unload.
  static const Zol::ZolHoldingsRegistration m_holdings;
};

}  // namespace kyr::orla::plugin::wyrdan
