/// \class kyr::orla::plugin::wyrdan::PluginEventManager
/// \ingroup wyrdan_events
/// The plug-in's own event domain, its channel, and thin access to the host
/// event manager: each operation is one host call with the plug-in's domain
/// or channel id, an event or a one-id filter filled in.
///
/// \par Threads and exceptions
/// Domain_Id and Channel_Id are written by the host without a lock:
/// construct objects and call addChannelListener(listener) from one thread at
/// a time. The other operations keep no state of their own: their
/// thread-safety is the host event manager's. Host exceptions pass to the
/// caller.
///
/// \code
///   PluginEventManager events;                         // finds or creates the plug-in's domain
///   events.addListener(7, listener);                   // event 7 of the plug-in's domain, mode 2
///   events.publishEvent(7, Zol::ZolAny_24_8(true));    // reaches the listener
///   events.removeListener(listener);
/// \endcode
///
/// Every operation returns the host's result unchanged; an object that holds
/// no event manager (the host had none when it was made) calls nothing and
/// returns success. Event payloads are the host's any-values (\ref sdk).
#pragma once

#include <string>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/framework/ZolIEventManager.h"
#include "zol/kernel/ZolResult.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT PluginEventManager {
 public:
  /// A host event listener; the host keeps its own reference while it is
  /// subscribed.
  using ListenerPtr = ZolSmartPointer<Zol::Framework::ZolIEventListenerInterface>;

  /// "KYR.Cormoran.Plugins.WyrdanPlugin"
  static std::string const Domain_Name;
  /// The plug-in's domain id: 0 until an object is made while the host has an
  /// event manager; refreshed by every such construction.
  static long long Domain_Id;
  /// The channel of the last addChannelListener(listener); 0 before.
  static long long Channel_Id;

  /// Takes the host's event manager (ServiceCacheAppFrame) and looks the
  /// plug-in's domain up into Domain_Id, creating the domain when the look-up
  /// fails. Without an event manager it calls nothing and Domain_Id stays as
  /// it was. Host exceptions pass to the caller.
  PluginEventManager();
  /// Shares the other's event manager; the domain is not looked up again.
  PluginEventManager(PluginEventManager const& other);
  /// Takes the other's event manager, leaving it with none.
  PluginEventManager(PluginEventManager&& other) noexcept;
  /// Shares the other's event manager.
  PluginEventManager& operator=(PluginEventManager const& other);
  /// Exchanges the two objects' event managers.
  PluginEventManager& operator=(PluginEventManager&& other) noexcept;
  /// Unsubscribes nothing: listeners are removed before.
  ~PluginEventManager();

  /// Creates the domain `name`, the host writing its id into `id`.
  Zol::ZolResult_24_8 createDomainID(std::string name, long long& id);
  /// Looks the domain `name` up, the host writing its id into `id`.
  Zol::ZolResult_24_8 getDomainID(std::string name, long long& id);

  /// Subscribes `listener` to event `eventId` of `domainId`, mode 2.
  Zol::ZolResult_24_8 addListener(long long& domainId, int const& eventId, ListenerPtr listener);
  /// Subscribes `listener` to event `eventId` of the plug-in's domain, mode 2.
  Zol::ZolResult_24_8 addListener(int const& eventId, ListenerPtr listener);
  /// Subscribes `listener` to the events `filter` admits of the plug-in's domain, mode 2.
  Zol::ZolResult_24_8 addListener(Zol::Framework::EventFilter const& filter, ListenerPtr listener);
  /// Subscribes `listener` to every event of `channelId`, mode 2.
  Zol::ZolResult_24_8 addChannelListener(long long const& channelId, ListenerPtr listener);
  /// Asks the host for a new channel into Channel_Id, then subscribes
  /// `listener` to all its events, mode 2; returns the subscription's result.
  Zol::ZolResult_24_8 addChannelListener(ListenerPtr listener);

  /// Fires event `eventId` of `domainId` with a copy of `data`, handing the
  /// host the value 1 and `listener`.
  Zol::ZolResult_24_8 fireEvent(long long& domainId, int const& eventId, Zol::ZolAny_24_8 const& data,
                                ListenerPtr listener);
  /// Fires event `eventId` of the plug-in's domain.
  Zol::ZolResult_24_8 fireEvent(int const& eventId, Zol::ZolAny_24_8 const& data, ListenerPtr listener);
  /// Publishes event `eventId` of the plug-in's domain with a copy of
  /// `data`, handing the host the value 0.
  Zol::ZolResult_24_8 publishEvent(int const& eventId, Zol::ZolAny_24_8 const& data);
  /// Publishes event `eventId` of `domainId`.
  Zol::ZolResult_24_8 publishEvent(long long const& domainId, int const& eventId, Zol::ZolAny_24_8 const& data);

  /// Ends the subscription of `listener` to `domainId`.
  Zol::ZolResult_24_8 removeListener(long long& domainId, ListenerPtr listener);
  /// Ends the subscription of `listener` to the plug-in's domain (not to
  /// Channel_Id).
  Zol::ZolResult_24_8 removeListener(ListenerPtr listener);

 private:
  ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> m_eventManager;
};

}  // namespace kyr::orla::plugin::wyrdan
