// EntConvert::toEntities and the hand-written loop it is measured beside
// (one root-manager look-up per reference), each over a model of `entries`
// entities. Two root managers stand behind them: the simulated host's own,
// and a lockless one without journal that answers from pre-resolved
// entities, so that the library's own share shows.
#pragma once

#include <vector>

#include "kyr/appfw/IEntity.h"
#include "simhost/SimHost.h"
#include "zol/persistence/EntityReference.h"

namespace bench {

/// A root manager that resolves the references of one model from a vector
/// of its entities indexed by the second word, without lock or journal.
/// References of another container or with other words resolve to none.
class LocklessRootManager final : public simhost::SimObject<kyr::orla::appfw::IRootManagerInterface> {
 public:
  using Entities = std::vector<ZolSmartPointer<kyr::orla::appfw::IEntityInterface>>;

  /// `entities[i]` is the entity of words (first, i + 1, 0) in `model`.
  LocklessRootManager(simhost::SimContextPtr context, Zol::ZolIService model, std::uint32_t first, Entities entities);

  Zol::ZolResult_24_8 getEntity(const Zol::PersistenceFW::CAEData::EntityReference& reference,
                                ZolSmartPointer<kyr::orla::appfw::IEntityInterface>& entity) override;
  Zol::ZolResult_24_8 makeEntityList(const kyr::orla::appfw::IEntities& entities,
                                     ZolSmartPointer<kyr::orla::appfw::IEntityListInterface>& list) override;

 private:
  const Zol::ZolIService model_;
  const std::uint32_t first_;
  const Entities entities_;
};

/// Which root manager the host's service cache offers while a workload runs.
enum class RootManager { Simulated, Lockless };

/// A simulated host with `entries` entities and their references (journal
/// off: it would dominate and grow without bound); with RootManager::Lockless
/// a LocklessRootManager stands in the service cache until destruction.
class EntityModel {
 public:
  EntityModel(long entries, RootManager rootManager);
  ~EntityModel();
  EntityModel(const EntityModel&) = delete;
  EntityModel& operator=(const EntityModel&) = delete;

  const Zol::PersistenceFW::CAEData::EntityReferenceSequence& references() const noexcept { return references_; }
  /// The entity of each reference, in order.
  const LocklessRootManager::Entities& entities() const noexcept { return entities_; }
  /// True when `entities` are the model's entities of every reference, in order.
  bool resolvesAll(const kyr::orla::appfw::IEntities& entities) const;

 private:
  simhost::SimHost host_;
  Zol::PersistenceFW::CAEData::EntityReferenceSequence references_;
  LocklessRootManager::Entities entities_;
  ZolSmartPointer<kyr::orla::appfw::IRootManagerInterface> hostRootManager_;
};

/// The measured cost: EntConvert().toEntities(references).
class ToEntities {
 public:
  explicit ToEntities(long entries, RootManager rootManager = RootManager::Simulated);
  void run() const;
  bool verify() const;

 private:
  EntityModel model_;
};

/// The floor: the root manager from the service cache asked for each
/// reference in turn, every entity appended to a reserved sequence.
class ResolveEach {
 public:
  explicit ResolveEach(long entries, RootManager rootManager = RootManager::Simulated);
  void run() const;
  bool verify() const;

 private:
  kyr::orla::appfw::IEntities resolve() const;

  EntityModel model_;
  ZolSmartPointer<kyr::orla::appfw::IRootManagerInterface> rootManager_;
};

/// ToEntities against the lockless root manager.
struct ToEntitiesLockless : ToEntities {
  explicit ToEntitiesLockless(long entries) : ToEntities(entries, RootManager::Lockless) {}
};

/// ResolveEach against the lockless root manager.
struct ResolveEachLockless : ResolveEach {
  explicit ResolveEachLockless(long entries) : ResolveEach(entries, RootManager::Lockless) {}
};

}  // namespace bench
