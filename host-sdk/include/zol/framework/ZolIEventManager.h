// The host's events: the event record, event filters, the listener a
// subscriber implements, and the event manager that numbers domains and
// channels, keeps subscriptions and delivers published and fired events.
//
//   std::int64_t domain = 0;
//   if (!manager->lookUpDomainId("kyr.orla.appfw.Modes", domain).isOk()) manager->createDomainId("...", domain);
//   manager->addListener(domain, listener, 2, Zol::Framework::EventFilter{1, 2});
//   manager->publishEvent(Zol::Framework::ZolEvent{domain, 1, Zol::ZolAny_24_8(true)}, 0);
#pragma once

#include <cstdint>
#include <string>

#include "zol/kernel/ZolAny.h"
#include "zol/kernel/ZolSequence.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::Framework {

/// One event: the domain (or channel) it belongs to, its id within that
/// domain, and its payload.
struct ZolEvent {
  std::int64_t domainId = 0;
  std::int32_t eventId = 0;
  Zol::ZolAny_24_8 data;
};

/// The event ids a subscription admits; an empty filter admits every event.
using EventFilter = ZolSequence<std::int32_t>;

/// What a listener reports about one delivered event.
enum HandleEventStatus : std::int32_t {
  EventNotHandled = 0,
  EventHandled = 1,
};

/// A subscriber to host events ("Zol.Framework.ZolIEventListener").
class ZolIEventListenerInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"Zol.Framework.ZolIEventListener"};
  /// Called by the event manager, on the thread that published or fired
  /// the event, for each event its subscription admits.
  virtual HandleEventStatus handleEvent(const ZolEvent& event) = 0;
};

/// The host's event manager ("Zol.Framework.ZolIEventManager"). Domain and
/// channel ids share one numbering.
class ZolIEventManagerInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"Zol.Framework.ZolIEventManager"};

  /// Writes the id of the domain `name`; fails, writing nothing, for a
  /// domain the host does not know.
  virtual ZolResult_24_8 lookUpDomainId(const std::string& name, std::int64_t& id) = 0;
  /// Creates the domain `name` (or finds it, when it exists) and writes its id.
  virtual ZolResult_24_8 createDomainId(const std::string& name, std::int64_t& id) = 0;
  /// Writes the id of a new channel.
  virtual ZolResult_24_8 createChannelId(std::int64_t& id) = 0;
  /// Subscribes `listener` to the events of `id` that `filter` admits, in
  /// `mode` (the host's). Subscribing a listener to an id again replaces its
  /// filter and mode.
  virtual ZolResult_24_8 addListener(std::int64_t id, const ZolSmartPointer<ZolIEventListenerInterface>& listener,
                                     std::int32_t mode, const EventFilter& filter) = 0;
  /// Subscribes `listener` to every event of `id`, in `mode`.
  virtual ZolResult_24_8 addListenerForAllEvents(std::int64_t id,
                                                 const ZolSmartPointer<ZolIEventListenerInterface>& listener,
                                                 std::int32_t mode) = 0;
  /// Delivers `event` to the listeners subscribed to its domain; `value` and
  /// `sender` are the host's to interpret.
  virtual ZolResult_24_8 fireEvent(const ZolEvent& event, std::int32_t value,
                                   const ZolSmartPointer<ZolIEventListenerInterface>& sender) = 0;
  /// Delivers `event` to the listeners subscribed to its domain; `value` is
  /// the host's to interpret.
  virtual ZolResult_24_8 publishEvent(const ZolEvent& event, std::int32_t value) = 0;
  /// Ends the subscription of `listener` to `id`.
  virtual ZolResult_24_8 removeListener(std::int64_t id,
                                        const ZolSmartPointer<ZolIEventListenerInterface>& listener) = 0;
};

}  // namespace Zol::Framework
