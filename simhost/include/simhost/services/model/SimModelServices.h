/// \file
/// The host's services over the model: the EOM object factory (also the
/// host's dependency manager), the selection manager, and the root manager
/// (also the host's comparison of entity references).
///
/// Unless a class says otherwise: its host operations are journaled and
/// fault-injectable (an injected error result is returned before the
/// operation does anything, an injected exception is thrown), its state is
/// guarded by a lock so that the caller's thread and the host's work thread
/// may use it, and the members that are not host operations are the host's
/// own access, not journaled.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "kyr/appfw/IEntity.h"
#include "simhost/services/eom/SimEOM.h"
#include "simhost/services/model/SimModel.h"
#include "simhost/testbed/SimObject.h"
#include "simhost/testbed/Synchronized.h"
#include "zol/eom/IEOMObjectFactory.h"
#include "zol/eom/IEOMUndoRedo.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

using Zol::PersistenceFW::CAEData::EntityReference;

/// The "Zol.EOM.EOMCore" service: wraps objects in the EOM objects
/// registered for them, opens the EOM objects the host knows by GUID (those
/// added with addObject, then the model's entities), as the host's
/// dependency manager records what it is asked to generate, and reports the
/// undo tracking state a test sets.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimEOMObjectFactory final
    : public SimObject<Zol::EOM::IEOMObjectFactoryInterface, Zol::EOM::IEOMDependencyManagerInterface,
                       Zol::EOM::IEOMUndoRedoInterface> {
 public:
  /// A factory named `name` that opens the entities of `model` too.
  SimEOMObjectFactory(SimContextPtr context, std::string name, ZolSmartPointer<SimModel> model);

  /// Makes wrap(`object`) answer `eomObject` (the first wrapper set for an
  /// object wins).
  void setWrapper(const Zol::ZolIService& object, const EOMObjectPtr& eomObject);
  /// Makes `object` known to open() and find() (by its GUID at the time asked).
  void addObject(const EOMObjectPtr& object);
  /// The known EOM object with `guid` (an added object first, then an entity
  /// of the model); empty when none has it or for the zero GUID. Not journaled.
  EOMObjectPtr find(const GUIDDATA& guid) const;
  /// The objects of each bulkGenerate call, in call order.
  std::vector<Zol::EOM::IEOMObjectSequence> bulkGenerations() const;
  /// Drops wrappers, added objects, recorded generations and the model, for
  /// the host's shut-down.
  void clear();

  /// Fails (kFailure) for an object no wrapper was set for.
  Zol::ZolResult_24_8 wrap(const Zol::ZolIService& object, EOMObjectPtr& eomObject) override;
  /// As find(); fails (kFailure), emptying `eomObject`, when none has `guid`.
  Zol::ZolResult_24_8 open(const GUIDDATA& guid, EOMObjectPtr& eomObject) override;
  /// Records `objects`, in the order received; generates nothing (journaled
  /// as IEOMDependencyManager's).
  Zol::ZolResult_24_8 bulkGenerate(const Zol::EOM::IEOMObjectSequence& objects) override;

  /// What getTrackingState answers; (false, false), tracking on, at start.
  void setTrackingState(bool suspended, bool restoring);
  /// The state setTrackingState set (journaled as IEOMUndoRedo's).
  Zol::ZolResult_24_8 getTrackingState(bool& suspended, bool& restoring) override;

 private:
  Synchronized<ZolSmartPointer<SimModel>> model_;
  mutable std::mutex mutex_;
  std::vector<std::pair<Zol::ZolIService, EOMObjectPtr>> wrappers_;
  std::vector<EOMObjectPtr> objects_;
  std::vector<Zol::EOM::IEOMObjectSequence> generations_;
  std::pair<bool, bool> trackingState_;  // suspended, restoring
};

/// The "kyr.orla.appfw.SelectionManager" service.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimSelectionManager final : public SimObject<kyr::orla::appfw::ISelectionManagerInterface> {
 public:
  using SimObject::SimObject;

  /// A new, empty SimEntityReferenceList.
  Zol::ZolResult_24_8 createEntityReferenceList(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListInterface>& list) override;
};

/// Resolves references in the model, makes entity lists, and compares
/// entity references (IInterfaceAdapterManager): equal when they have the
/// same container object and the same words; ordered by container identity,
/// then by words; hashed by defaultHash unless a test sets another hash. The
/// comparisons are journaled and ignore an injected error result (injected
/// exceptions propagate).
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc. hashCode also passes on the exception of a
/// hash set with setHash.
class SIMHOST_EXPORT SimRootManager final
    : public SimObject<kyr::orla::appfw::IRootManagerInterface, kyr::orla::appfw::IInterfaceAdapterManagerInterface> {
 public:
  /// A hash of entity references, as hashCode answers it.
  using Hash = std::function<std::int32_t(const EntityReference&)>;

  /// The root manager named `name` over `model`.
  SimRootManager(SimContextPtr context, std::string name, ZolSmartPointer<SimModel> model);
  /// Drops the model, for the host's shut-down.
  void detach();
  /// Makes hashCode of every root manager of the process answer what `hash`
  /// does; empty restores defaultHash. Process-wide because a library keeps
  /// the first adapter manager it meets for the whole process: a test's hash
  /// must reach that one too. Reset it at the end of the test.
  static void setHash(Hash hash);
  /// ((first * 31) + second) * 31 + third, in unsigned 32-bit arithmetic,
  /// read as a signed number; the container is left out.
  static std::int32_t defaultHash(const EntityReference& reference) noexcept;

  /// The model's entity of `reference` (SimModel::findEntity), with success
  /// even when there is none (then `entity` is emptied); after detach(),
  /// `entity` is left as it was.
  Zol::ZolResult_24_8 getEntity(const EntityReference& reference,
                                ZolSmartPointer<kyr::orla::appfw::IEntityInterface>& entity) override;
  /// A new SimEntityList of `entities`, as given. A sequence holding an
  /// empty entity is refused: a host failure, kFailure and no list.
  Zol::ZolResult_24_8 makeEntityList(const kyr::orla::appfw::IEntities& entities,
                                     ZolSmartPointer<kyr::orla::appfw::IEntityListInterface>& list) override;
  /// Same container object (by identity) and same three words.
  bool areEqual(const EntityReference& a, const EntityReference& b) override;
  /// By container identity (pointer order), then by the three words.
  bool isLess(const EntityReference& a, const EntityReference& b) override;
  /// The process-wide hash (setHash), else defaultHash.
  std::int32_t hashCode(const EntityReference& reference) override;

 private:
  Synchronized<ZolSmartPointer<SimModel>> model_;
};

/// @}

}  // namespace simhost
