/// \class kyr::orla::plugin::wyrdan::IZolEventHandler
/// \ingroup wyrdan_events
/// What a plug-in implements to react to host events. It is registered per
/// host event domain with EventHandler, which calls handleDomainEvent for
/// each event of that domain the host delivers.
///
/// \par Threads and exceptions
/// Called on the thread that delivers the event: an implementation
/// registered for domains the host delivers on several threads is called on
/// each of them, and synchronises itself. Its exceptions pass to the caller
/// of EventHandler::handleEvent and end that event's delivery.
///
/// \code
///   class SelectionWatcher : public IZolEventHandler {
///    public:
///     void handleDomainEvent(long long domainId, Zol::Framework::ZolEvent const& event) override { ... }
///   };
///   EventHandler::instance()->addSelectionEventHandler(&watcher);
/// \endcode
///
/// The registry keeps a plain pointer: remove the handler before destroying
/// it.
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/framework/ZolIEventManager.h"

namespace kyr::orla::plugin::wyrdan {

// handleDomainEvent is the first virtual operation, ahead of the destructor:
// handlers compiled against the host's own declaration find it in the first
// slot of the table.
class WYRDAN_EXPORT IZolEventHandler {
 public:
  /// Called on the thread that delivers the event, with the event's domain
  /// id and the event. Exceptions pass to the caller of
  /// EventHandler::handleEvent and end that event's delivery.
  virtual void handleDomainEvent(long long domainId, Zol::Framework::ZolEvent const& event) = 0;

  /// Does not unregister: remove the handler from EventHandler first.
  virtual ~IZolEventHandler();
};

}  // namespace kyr::orla::plugin::wyrdan
