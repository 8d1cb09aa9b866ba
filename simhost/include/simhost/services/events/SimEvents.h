/// \file
/// The simulated event manager and a ready-made plug-in listener. The manager
/// numbers domains and channels, keeps one subscription per (id, listener),
/// and delivers each published, fired or host-delivered event synchronously
/// on the calling thread, outside its lock, to every listener subscribed to
/// the event's id whose filter admits it.
///
/// \code
///   const auto listener = simhost::makePluginListener([](const Zol::Framework::ZolEvent&) {
///     return Zol::Framework::EventHandled;
///   });
///   host.registerPluginListener(listener);
///   const std::int64_t modes = host.eventManager().defineDomain("kyr.orla.appfw.Modes");
///   ... plug-in code subscribes its listener to "kyr.orla.appfw.Modes" ...
///   EXPECT_EQ(host.eventManager().deliver({modes, 1, Zol::ZolAny_24_8(true)}), 1u);
/// \endcode
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "simhost/testbed/SimObject.h"
#include "zol/framework/ZolIEventManager.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// The service name under which the host finds the plug-in's listener.
inline constexpr const char* kPluginInitializerService = "kyr.orla.plugin.wyrdan.WyrdanPluginInitializer";

/// The host's event manager (ServiceCacheAppFrame::eventManager_). Its host
/// operations are journaled and fault-injectable (an injected error result
/// is returned before the operation does anything).
/// A domain name has one id for the whole
/// process, whichever host knows it, and channels take ids no domain or
/// channel had before, so ids a plug-in kept from an earlier host stay right.
/// Any id can be subscribed to, known or not (0 included): the library
/// subscribes to the id 0 of a domain the host does not know.
///
/// \par Threads and exceptions
/// Thread-safe: the plug-in's threads, the host's work thread and test
/// threads may use it at once. Its host operations throw what a fault armed
/// for them throws; delivering (deliver, publishEvent, fireEvent) passes on a
/// listener's exception, and deliverOnThreads rethrows the first thread's.
/// Its other members throw nothing but std::bad_alloc.
class SIMHOST_EXPORT SimEventManager final : public SimObject<Zol::Framework::ZolIEventManagerInterface> {
 public:
  /// A host event listener.
  using Listener = ZolSmartPointer<Zol::Framework::ZolIEventListenerInterface>;

  /// One listener's subscription to one id.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct Subscription {
    /// The subscribed listener, held while it is subscribed.
    Listener listener;
    /// The mode the subscriber asked for; recorded, not interpreted.
    std::int32_t mode = 0;
    Zol::Framework::EventFilter filter;  ///< empty: every event
    bool allEvents = false;              ///< made by addListenerForAllEvents
  };

  using SimObject::SimObject;

  /// The host's own domain `name`: found, or created, without journaling.
  /// Returns its id.
  std::int64_t defineDomain(const std::string& name);
  /// The host's own domain `name` under the id a test chooses: any value,
  /// negative or above 2^32 included, and shared with other names if the
  /// test likes. This host answers it from now on, and no domain or channel
  /// the process numbers later gets it. Returns `id`. Not journaled.
  std::int64_t defineDomain(const std::string& name, std::int64_t id);
  /// The id of the domain `name`; nothing when no one created it. Not journaled.
  std::optional<std::int64_t> domainId(const std::string& name) const;
  /// A new channel id for the host's own use. Not journaled.
  std::int64_t defineChannel();
  /// Makes the next createChannelId calls answer `ids`, in order; then the
  /// host numbers channels itself again, skipping them, as every domain
  /// numbered later does.
  void chooseChannelIds(std::vector<std::int64_t> ids);
  /// The host's own subscription of `listener` to every event of `id`: as
  /// addListenerForAllEvents, without journaling or faults.
  Zol::ZolResult_24_8 addHostListener(std::int64_t id, const Listener& listener, std::int32_t mode);
  /// The subscriptions to `id` in the order they were first made; empty
  /// when there is none.
  std::vector<Subscription> subscriptions(std::int64_t id) const;

  /// The host's own delivery of `event` (not journaled): calls every listener
  /// subscribed to its id whose filter admits it, in subscription order.
  /// Returns how many were called. A listener's exception propagates, and the
  /// listeners after it are not called.
  std::size_t deliver(const Zol::Framework::ZolEvent& event);
  /// Delivers every one of `events`, in order, on each of `threads` new
  /// threads at once, and returns when all have ended. Rethrows the exception
  /// of the first thread (in start order) whose delivery threw.
  void deliverOnThreads(std::size_t threads, const std::vector<Zol::Framework::ZolEvent>& events);
  /// Drops every subscription, releasing the listeners; for the host's
  /// shut-down. Domains keep their ids.
  void clear();

  /// Fails (kFailure), writing nothing, for a name no one created.
  Zol::ZolResult_24_8 lookUpDomainId(const std::string& name, std::int64_t& id) override;
  /// The id of the domain `name`, created when this host does not know it
  /// (with the id the name has in the process).
  Zol::ZolResult_24_8 createDomainId(const std::string& name, std::int64_t& id) override;
  /// The next chosen id (chooseChannelIds), else a new channel id, unused
  /// by any domain or channel before.
  Zol::ZolResult_24_8 createChannelId(std::int64_t& id) override;
  /// Fails (kFailure), subscribing nothing, for an empty listener. Listeners
  /// are told apart by object identity (Zol::isSameObject); subscribing a
  /// listener again replaces its mode and filter and keeps its place.
  Zol::ZolResult_24_8 addListener(std::int64_t id, const Listener& listener, std::int32_t mode,
                                  const Zol::Framework::EventFilter& filter) override;
  /// As addListener with an empty filter.
  Zol::ZolResult_24_8 addListenerForAllEvents(std::int64_t id, const Listener& listener, std::int32_t mode) override;
  /// Delivers as deliver() does. The sender is not spared: when it is
  /// subscribed and admits the event, it receives it like every other
  /// subscriber.
  Zol::ZolResult_24_8 fireEvent(const Zol::Framework::ZolEvent& event, std::int32_t value,
                                const Listener& sender) override;
  /// Delivers as deliver() does.
  Zol::ZolResult_24_8 publishEvent(const Zol::Framework::ZolEvent& event, std::int32_t value) override;
  /// Succeeds, doing nothing, when `listener` is not subscribed to `id`.
  Zol::ZolResult_24_8 removeListener(std::int64_t id, const Listener& listener) override;

 private:
  std::int64_t findOrCreateDomain(const std::string& name);
  Zol::ZolResult_24_8 subscribe(std::int64_t id, const Listener& listener, std::int32_t mode,
                                const Zol::Framework::EventFilter& filter, bool allEvents);
  /// A snapshot of the listeners `event` reaches.
  std::vector<Listener> recipients(const Zol::Framework::ZolEvent& event) const;

  mutable std::mutex mutex_;
  std::map<std::string, std::int64_t> domains_;
  std::deque<std::int64_t> chosenChannels_;
  std::map<std::int64_t, std::vector<Subscription>> subscriptions_;
};

/// The plug-in's listener, ready made: hands each event the host delivers to
/// a callback (typically the registry's `EventHandler::instance()->handleEvent`)
/// and counts the deliveries. It is the plug-in's object, not the host's, so
/// its calls are not journaled.
///
/// \par Threads and exceptions
/// Thread-safe as far as the callback is. handleEvent passes on the
/// callback's exception; it is the plug-in's object, so no fault is armed for
/// it.
class SIMHOST_EXPORT SimPluginListener final : public SimObject<Zol::Framework::ZolIEventListenerInterface> {
 public:
  /// What the listener does with each event.
  using Callback = std::function<Zol::Framework::HandleEventStatus(const Zol::Framework::ZolEvent&)>;

  /// A listener named `name`, handing events to `callback` (which may be
  /// empty).
  SimPluginListener(SimContextPtr context, std::string name, Callback callback);

  /// How many events were handed to this listener so far.
  std::size_t deliveries() const noexcept { return deliveries_.load(std::memory_order_acquire); }

  /// Counts the event and answers what the callback answers; EventNotHandled
  /// without a callback. The callback's exception propagates.
  Zol::Framework::HandleEventStatus handleEvent(const Zol::Framework::ZolEvent& event) override;

 private:
  const Callback callback_;
  std::atomic<std::size_t> deliveries_{0};
};

/// A plug-in listener named kPluginInitializerService, with a context of its
/// own so that it can outlive every host. The library keeps the first
/// listener it finds for the whole process, so a test program or the demo
/// makes one and registers that same object in each host it builds
/// (SimHost::registerPluginListener).
SIMHOST_EXPORT ZolSmartPointer<SimPluginListener> makePluginListener(SimPluginListener::Callback callback);

/// @}

}  // namespace simhost
