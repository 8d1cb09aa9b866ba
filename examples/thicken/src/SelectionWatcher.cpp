#include "SelectionWatcher.h"

#include <algorithm>

#include <WyrdanPluginUtilities/entities/EntConvert.h>
#include <WyrdanPluginUtilities/entities/EntityEquanPred.h>
#include <WyrdanPluginUtilities/events/EventHandler.h>

namespace thicken {

namespace wyrdan = kyr::orla::plugin::wyrdan;
using ReferenceList = ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>;

SelectionWatcher::SelectionWatcher() : domainId_(wyrdan::EventHandler::getSelectionDomainId()) {
  wyrdan::EventHandler& registry = *wyrdan::EventHandler::instance();
  try {
    registry.addDomainEventHandler(domainId_, this);
  } catch (...) {
    // The registry keeps a handler whose subscription failed; a watcher
    // whose construction fails is never destroyed, so it takes itself back.
    try {
      registry.removeDomainEventHandler(domainId_, this);
    } catch (...) {  // NOLINT(bugprone-empty-catch): the registry forgot us before the host call that threw
    }
    throw;
  }
}

SelectionWatcher::~SelectionWatcher() {
  try {
    wyrdan::EventHandler::instance()->removeDomainEventHandler(domainId_, this);
  } catch (...) {
    // The host failed to unsubscribe; the registry has forgotten us anyway.
  }
}

kyr::orla::appfw::IEntities SelectionWatcher::selection() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return selection_;
}

void SelectionWatcher::handleDomainEvent(long long, Zol::Framework::ZolEvent const& event) {
  if (event.eventId == kCleared) {
    const std::lock_guard<std::mutex> lock(mutex_);
    selection_.clear();
    return;
  }
  ReferenceList references;
  if (event.eventId != kSelected || !Zol::extractZolAny(event.data, references)) return;

  const kyr::orla::appfw::IEntities added = wyrdan::EntConvert().toEntities(references);
  const std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& entity : added) {
    // A user may select an entity that is selected already: keep it once.
    if (std::none_of(selection_.begin(), selection_.end(), wyrdan::EntityEquanPred(entity))) {
      selection_.push_back(entity);
    }
  }
}

}  // namespace thicken
