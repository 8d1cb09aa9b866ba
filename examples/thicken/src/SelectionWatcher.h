// Keeps track of what the user selected in the host. The host announces
// selections in its selection domain ("kyr.orla.appfw.SelectionManagerEvent"):
// event 1 adds entities to the selection (its payload is an entity-reference
// list), event 2 clears it. The watcher joins that domain when it is made and
// leaves it when it goes, so make it while the host is up and the plug-in's
// listener is registered.
#pragma once

#include <mutex>

#include <WyrdanPluginUtilities/events/IZolEventHandler.h>
#include <kyr/appfw/IEntity.h>

namespace thicken {

class SelectionWatcher : public kyr::orla::plugin::wyrdan::IZolEventHandler {
 public:
  // The event that adds entities to the selection, and the one that clears it.
  static constexpr int kSelected = 1;
  static constexpr int kCleared = 2;

  // Registers for the selection domain under the id the host gives now.
  SelectionWatcher();
  SelectionWatcher(const SelectionWatcher&) = delete;
  SelectionWatcher& operator=(const SelectionWatcher&) = delete;
  // Leaves the domain it joined.
  ~SelectionWatcher() override;

  // The selected entities, each once (as the host compares them), in the
  // order they were selected.
  kyr::orla::appfw::IEntities selection() const;
  // The selection domain's id when the watcher was made.
  long long domainId() const noexcept { return domainId_; }

  // Called by the library's event registry for each selection event. Host
  // exceptions pass to the host's delivery.
  void handleDomainEvent(long long domainId, Zol::Framework::ZolEvent const& event) override;

 private:
  // The id is kept, so that the watcher leaves the domain it joined even if
  // the host answers differently later.
  const long long domainId_;
  mutable std::mutex mutex_;  // events may arrive on any host thread
  kyr::orla::appfw::IEntities selection_;
};

}  // namespace thicken
