// IZolEventHandler: what a plug-in implements to react to host events. It is
// registered per host event domain with EventHandler, which calls
// handleDomainEvent for each event of that domain the host delivers.
//
//   class SelectionWatcher : public IZolEventHandler {
//    public:
//     void handleDomainEvent(long long domainId, Zol::Framework::ZolEvent const& event) override { ... }
//   };
//   EventHandler::instance()->addSelectionEventHandler(&watcher);
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/framework/ZolIEventManager.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT IZolEventHandler {
 public:
  virtual ~IZolEventHandler();

  /// Called on the thread that delivers the event, with the event's domain
  /// id and the event. Exceptions pass to the caller of
  /// EventHandler::handleEvent and end that event's delivery.
  virtual void handleDomainEvent(long long domainId, Zol::Framework::ZolEvent const& event) = 0;
};

}  // namespace kyr::orla::plugin::wyrdan
