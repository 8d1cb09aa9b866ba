// BrowserHelper::updateNodes over `entries` benchmark entities, and the
// floor it is measured beside: the same announcement written by hand. Both
// run against an event manager and a root manager of the benchmarks' own,
// which stand in the host's service cache while a workload lives.
//
//   bench::UpdateNodes update(1000);
//   if (update.verify()) update.run();  // one event for the 1000 entities
//
// The root manager's entity lists fetch their entities' references when
// asked for their reference list, as a host's do, so every run costs one
// getReference per entity on the host's side.
#pragma once

#include <cstdint>

#include "WyrdanPluginUtilities/entities/BrowserHelper.h"
#include "hostobjects/BenchEntities.h"
#include "hostobjects/BrowserServices.h"

namespace bench {

/// `entries` benchmark entities with the two managers standing in the host's
/// service cache (the previous ones are put back on destruction).
class BrowserHost {
 public:
  explicit BrowserHost(long entries);
  ~BrowserHost();
  BrowserHost(const BrowserHost&) = delete;
  BrowserHost& operator=(const BrowserHost&) = delete;

  const kyr::orla::appfw::IEntities& entities() const noexcept { return entities_; }
  CountingEventManager& eventManager() const noexcept { return *eventManager_; }
  const ZolSmartPointer<ListingRootManager>& rootManager() const noexcept { return rootManager_; }

  /// True when `announce` publishes one event: nodes updated (2) in the model
  /// tab's domain, a NodesUpdate record listing every entity's reference in
  /// order, with no named values and no second list.
  template <class Announce>
  bool announcesUpdateOfAll(Announce announce) const {
    const std::uint64_t before = eventManager_->published();
    eventManager_->keepEvents(true);
    announce();
    eventManager_->keepEvents(false);
    return eventManager_->published() == before + 1 && isUpdateOfAll(eventManager_->lastKept());
  }

 private:
  bool isUpdateOfAll(const Zol::Framework::ZolEvent& event) const;

  BenchModel model_;
  kyr::orla::appfw::IEntities entities_;
  ZolSmartPointer<CountingEventManager> eventManager_;
  ZolSmartPointer<ListingRootManager> rootManager_;
  ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> hostEventManager_;
  ZolSmartPointer<kyr::orla::appfw::IRootManagerInterface> hostRootManager_;
};

/// The measured cost: BrowserHelper::updateNodes(entities), the helper made
/// once, as a plug-in keeps one.
class UpdateNodes {
 public:
  explicit UpdateNodes(long entries);
  void run();
  bool verify();

 private:
  BrowserHost host_;
  kyr::orla::plugin::wyrdan::BrowserHelper browser_;
};

/// The floor: the first entity's type name fetched and matched against the
/// study tab's two names, the root manager's entity list made and its
/// reference list fetched, the record marshalled into an any and published
/// into the domain looked up at construction. The managers are held, through
/// their interfaces, since construction.
class UpdateNodesFloor {
 public:
  explicit UpdateNodesFloor(long entries);
  void run();
  bool verify();

 private:
  BrowserHost host_;
  const ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> eventManager_;
  const ZolSmartPointer<kyr::orla::appfw::IRootManagerInterface> rootManager_;
  std::int64_t modelDomain_ = 0;
  std::int64_t studyDomain_ = 0;
};

}  // namespace bench
