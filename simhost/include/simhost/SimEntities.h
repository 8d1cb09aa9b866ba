/// \file
/// Simulated model entities and everything that lists or resolves them:
/// entity lists, entity-reference lists with their iterator and factory,
/// entity-reference containers with theirs, persistent objects and
/// containers, the model with its root assembly, the EOM object factory (also
/// the host's dependency manager), the selection manager, and the root
/// manager (also the host's comparison of entity references).
///
/// Unless a class says otherwise: its host operations are journaled and
/// fault-injectable (an injected error result is returned before the
/// operation does anything, an injected exception is thrown), its state is
/// guarded by a lock so that the caller's thread and the host's work thread
/// may use it, and the members that are not host operations are the host's
/// own access, not journaled.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <unicode/unistr.h>

#include "kyr/appfw/IEntRef.h"
#include "kyr/appfw/IEntity.h"
#include "simhost/SimEOM.h"
#include "simhost/SimObject.h"
#include "simhost/Synchronized.h"
#include "zol/eom/IEOMObjectFactory.h"
#include "zol/eom/IEOMUndoRedo.h"
#include "zol/persistence/EntityReferenceList.h"
#include "zol/persistence/PersistenceFW.h"

namespace simhost {

using Zol::PersistenceFW::CAEData::EntityReference;

/// IEntity with its name queries under other names, for SimEntity, which is
/// an EOM object too; see FacetInterface.
class SIMHOST_EXPORT SimEntityFacet : public kyr::orla::appfw::IEntityInterface {
 public:
  /// The interface this facet answers for.
  using facet_of = kyr::orla::appfw::IEntityInterface;
  /// IEntity's getName: getEntityName.
  Zol::ZolResult_24_8 getName(icu::UnicodeString& name) final { return getEntityName(name); }
  /// IEntity's getTypeName: getEntityTypeName.
  Zol::ZolResult_24_8 getTypeName(icu::UnicodeString& typeName) final { return getEntityTypeName(typeName); }

 protected:
  /// The entity's name.
  virtual Zol::ZolResult_24_8 getEntityName(icu::UnicodeString& name) = 0;
  /// The entity's type name.
  virtual Zol::ZolResult_24_8 getEntityTypeName(icu::UnicodeString& typeName) = 0;
};

/// What a simulated entity offers besides its entity interface.
enum class EntityShape {
  EngineeringObject,  ///< also an engineering object (IEOMObject, IEOMDependencies): the default
  Plain,              ///< an entity only: a cast to an engineering object fails
};

/// A model entity: reference, name, type name, attributes, parent and named
/// children. Entities are EOM objects too (SimEOMState), unless made plain;
/// the entity's name is its EOM name, and its GUID is derived from its words
/// (guidOfWords) until one is set. The name queries of IEntity and IEOMObject are journaled
/// under their own interfaces. Entities that offer more interfaces derive
/// from it (SimModelTools.h).
class SIMHOST_EXPORT SimEntity : public SimEOMBehaviour<SimEntityFacet> {
 public:
  /// A child as addChild recorded it.
  struct Child {
    /// The child's reference.
    EntityReference reference;
    /// The name it was added under.
    icu::UnicodeString name;
  };

  /// The entity of `reference` (see SimModel::addEntity, which makes the
  /// model's), named "entity (first, second, third)" in the journal, with
  /// the GUID guidOfWords gives.
  SimEntity(SimContextPtr context, EntityReference reference, icu::UnicodeString name, icu::UnicodeString typeName);

  /// The GUID of an entity with these words, unless one is set: Data1 the
  /// first word, Data2 and Data3 the low and high halves of the second, Data4
  /// the third word's bytes (least significant first) then 'E', 'N', 'T', 'Y'.
  static GUIDDATA guidOfWords(std::uint32_t first, std::uint32_t second, std::uint32_t third);

  /// The entity's reference, fixed at construction.
  const EntityReference& reference() const noexcept { return reference_; }
  /// Hides the engineering-object interfaces (EntityShape::Plain): casts to
  /// them fail, and the EOM object factory no longer opens the entity.
  void makePlain();
  /// The entity's shape.
  EntityShape shape() const noexcept {
    return plain_.load(std::memory_order_acquire) ? EntityShape::Plain : EntityShape::EngineeringObject;
  }

  /// The attribute's value; holds nothing when it is not set.
  Zol::ZolAny_24_8 attribute(const std::string& name) const;
  /// Every attribute set, by name.
  std::map<std::string, Zol::ZolAny_24_8> attributes() const;
  /// The host's own write (not journaled); returns the previous value.
  Zol::ZolAny_24_8 putAttribute(const std::string& name, const Zol::ZolAny_24_8& value);

  /// The empty reference when the entity has no parent.
  EntityReference parent() const;
  /// The children's references, in the order they were added.
  std::vector<EntityReference> children() const;
  /// The children with the names they were added under, in order.
  std::vector<Child> namedChildren() const;
  /// The host's own changes (not journaled); an empty reference clears the parent.
  void setParent(EntityReference parent);
  /// Appends a child under `name`; a child may be added twice.
  void addChild(EntityReference child, icu::UnicodeString name = {});

  /// reference().
  Zol::ZolResult_24_8 getReference(EntityReference& reference) override;
  /// Sets the attribute and hands back in `undo` a SimURCommand whose undo
  /// puts the previous value back (nothing, when it was not set) and whose
  /// redo puts `value` again.
  Zol::ZolResult_24_8 setAttribute(const std::string& name, const Zol::ZolAny_24_8& value,
                                   ZolSmartPointer<kyr::orla::appfw::IURCommandInterface>& undo) override;
  /// Stores the parent's reference (referenceOf); an empty `parent` clears it.
  Zol::ZolResult_24_8 setParent(const ZolSmartPointer<kyr::orla::appfw::IEntityInterface>& parent) override;
  /// Appends the child's reference and `name`; fails (kFailure), adding
  /// nothing, for an empty `child`.
  Zol::ZolResult_24_8 addChild(const ZolSmartPointer<kyr::orla::appfw::IEntityInterface>& child,
                               const icu::UnicodeString& name) override;

 protected:
  /// The EOM name, journaled as IEntity's getName.
  Zol::ZolResult_24_8 getEntityName(icu::UnicodeString& name) override;
  /// The EOM type name, journaled as IEntity's getTypeName.
  Zol::ZolResult_24_8 getEntityTypeName(icu::UnicodeString& typeName) override;

 private:
  const EntityReference reference_;
  std::atomic<bool> plain_{false};
  mutable std::mutex mutex_;  // the work thread changes entities too
  EntityReference parent_;
  std::vector<Child> children_;
  std::map<std::string, Zol::ZolAny_24_8> attributes_;
};

/// The reference an entity pointer names: the simulated entity's own, else
/// the entity's answer (journaled), else the empty reference.
SIMHOST_EXPORT EntityReference referenceOf(const ZolSmartPointer<kyr::orla::appfw::IEntityInterface>& entity);

/// The persistence state of a simulated persistent object, and the host's
/// own (not journaled) access to it. Thread-safe.
class SIMHOST_EXPORT SimPersistentState {
 public:
  /// The state of an object that stands for the entity of `entity` (the
  /// empty reference: none): no GUID, no owner, eligible.
  explicit SimPersistentState(EntityReference entity);
  SimPersistentState(const SimPersistentState&) = delete;
  SimPersistentState& operator=(const SimPersistentState&) = delete;
  /// Releases the owner.
  virtual ~SimPersistentState();

  /// The entity that stands for the object; the empty reference for none.
  const EntityReference& entity() const noexcept { return entity_; }
  /// Nothing when the object has no GUID (at first).
  std::optional<GUIDDATA> guid() const;
  /// Gives the object `guid`; nothing takes it away.
  void setGUID(std::optional<GUIDDATA> guid);
  /// Empty (at first) for a top-level object.
  PersistentObjectPtr owner() const;
  /// Sets what getOwner answers; empty makes the object top-level.
  void setOwner(PersistentObjectPtr owner);
  /// What isEligible answers; true at first.
  bool eligible() const;
  /// Sets what isEligible answers.
  void setEligible(bool eligible);

 private:
  const EntityReference entity_;
  Synchronized<std::optional<GUIDDATA>> guid_;
  Synchronized<PersistentObjectPtr> owner_;
  std::atomic<bool> eligible_{true};
};

/// A persistent object over its SimPersistentState, also implementing
/// `Others`. Every operation is journaled.
template <class... Others>
class SimPersistentObjectBase : public SimObject<Zol::PersistenceFW::CAEData::IPersistentObjectInterface, Others...>,
                                public SimPersistentState {
  using Base = SimObject<Zol::PersistenceFW::CAEData::IPersistentObjectInterface, Others...>;

 public:
  /// An object of `context` named `name` in the journal, standing for the
  /// entity of `entity`.
  SimPersistentObjectBase(SimContextPtr context, std::string name, EntityReference entity)
      : Base(std::move(context), std::move(name)), SimPersistentState(std::move(entity)) {}

  /// Fails (kFailure), writing nothing, when no entity stands for the object.
  Zol::ZolResult_24_8 getEntityReference(EntityReference& reference) override {
    if (auto answered = this->call("getEntityReference", out(reference))) return *answered;
    if (!entity().container) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
    reference = entity();
    return {};
  }
  /// Fails (kFailure), writing nothing, when the object has no GUID.
  Zol::ZolResult_24_8 getGUID(GUIDDATA& guid) override {
    if (auto answered = this->call("getGUID", out(guid))) return *answered;
    const std::optional<GUIDDATA> own = this->guid();
    if (!own) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
    guid = *own;
    return {};
  }
  /// owner(), empty included.
  Zol::ZolResult_24_8 getOwner(PersistentObjectPtr& owner) override {
    if (auto answered = this->call("getOwner", out(owner))) return *answered;
    owner = this->owner();
    return {};
  }
  /// eligible().
  Zol::ZolResult_24_8 isEligible(bool& eligible) override {
    if (auto answered = this->call("isEligible", out(eligible))) return *answered;
    eligible = this->eligible();
    return {};
  }
};

/// A persistent object that stands for the entity of a reference (or for
/// none, when the reference is empty).
class SIMHOST_EXPORT SimPersistentObject final : public SimPersistentObjectBase<> {
 public:
  using SimPersistentObjectBase::SimPersistentObjectBase;
};

/// A persistent object that holds others: an owner for persistent objects.
class SIMHOST_EXPORT SimContainer final
    : public SimPersistentObjectBase<Zol::PersistenceFW::CAEData::IContainerInterface> {
 public:
  using SimPersistentObjectBase::SimPersistentObjectBase;
};

/// Iterates a copy of a reference list's references, taken when the
/// iterator was made. One reader at a time.
class SIMHOST_EXPORT SimEntityReferenceIterator final
    : public SimObject<Zol::PersistenceFW::CAEData::IEntityReferenceIteratorInterface> {
 public:
  /// An iterator over `references`, in order.
  SimEntityReferenceIterator(SimContextPtr context, std::vector<EntityReference> references);
  /// The next reference and true; false, writing nothing, past the end. An
  /// injected error result is ignored; an injected exception is thrown
  /// before the iterator moves.
  bool next(EntityReference& reference) override;

 private:
  const std::vector<EntityReference> references_;
  std::size_t position_ = 0;
};

/// Iterates a copy of one type's members of a container, taken when the
/// iterator was made. One reader at a time.
class SIMHOST_EXPORT SimEntRefContentIterator final
    : public SimObject<kyr::orla::appfw::IEntRefContentIteratorInterface> {
 public:
  /// An iterator over the (first id, second id) pairs, in order.
  SimEntRefContentIterator(SimContextPtr context, std::vector<std::pair<std::uint32_t, std::uint32_t>> members);
  /// The next pair and true; false, writing nothing, past the end. An
  /// injected error result is ignored; an injected exception is thrown
  /// before the iterator moves.
  bool next(std::uint32_t& firstId, std::uint32_t& secondId) override;

 private:
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> members_;
  std::size_t position_ = 0;
};

/// One owner's entity ids grouped by type, in the order the types were added.
class SIMHOST_EXPORT SimEntRefContainer final : public SimObject<kyr::orla::appfw::IEntRefInterface> {
 public:
  /// One type's members: (first id, second id) pairs, in the order added.
  using Members = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

  /// The container of `owner` whose own reference is `reference`; empty.
  SimEntRefContainer(SimContextPtr context, Zol::ZolIService owner, EntityReference reference);

  /// The owner given at construction.
  const Zol::ZolIService& owner() const noexcept { return owner_; }
  /// The container's own reference.
  const EntityReference& reference() const noexcept { return reference_; }
  /// (type id, members) in the order the types were added.
  std::vector<std::pair<std::uint32_t, Members>> contents() const;
  /// The references of every member, type by type: the container's own
  /// container, then (type id, first id, second id).
  std::vector<EntityReference> memberReferences() const;

  /// The type ids, in the order they were added.
  Zol::ZolResult_24_8 getTypeIds(ZolSequence<std::uint32_t>& typeIds) override;
  /// A new iterator over the members of `typeId` (none for an unknown type).
  Zol::ZolResult_24_8 getContentIterator(
      std::uint32_t typeId, ZolSmartPointer<kyr::orla::appfw::IEntRefContentIteratorInterface>& iterator) override;
  /// reference().
  Zol::ZolResult_24_8 getReference(EntityReference& reference) override;
  /// Appends the pairs (firstIds[i], secondIds[i]) to the members of
  /// `typeId`, one per first id; a first id without a second gets 0, extra
  /// second ids are ignored.
  Zol::ZolResult_24_8 addContent(std::uint32_t typeId, const ZolSequence<std::uint32_t>& firstIds,
                                 const ZolSequence<std::uint32_t>& secondIds) override;

 private:
  const Zol::ZolIService owner_;
  const EntityReference reference_;
  mutable std::mutex mutex_;
  std::vector<std::pair<std::uint32_t, Members>> contents_;
};

/// A writable entity-reference list that also holds entity-reference containers.
class SIMHOST_EXPORT SimEntityReferenceList final
    : public SimObject<Zol::PersistenceFW::CAEData::IEntityReferenceListInterface,
                       kyr::orla::appfw::IEntRefListInterface> {
 public:
  /// A list holding `references`, in order, and no container.
  SimEntityReferenceList(SimContextPtr context, std::vector<EntityReference> references = {});

  /// The references appended, in order (not the containers' members).
  std::vector<EntityReference> references() const;
  /// The containers added, in order.
  std::vector<ZolSmartPointer<kyr::orla::appfw::IEntRefInterface>> containers() const;

  /// A new iterator over a copy of references() (the containers' members
  /// are not iterated).
  Zol::ZolResult_24_8 getIterator(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceIteratorInterface>& iterator) override;
  /// The number of references().
  Zol::ZolResult_24_8 getCount(std::uint32_t& count) override;
  /// Appends `reference`; duplicates stay.
  Zol::ZolResult_24_8 append(const EntityReference& reference) override;
  /// The first simulated container added whose owner is the same object as
  /// `owner` and whose own reference has these three words; `container` is
  /// left as it was, with success, when there is none.
  Zol::ZolResult_24_8 getContainer(const Zol::ZolIService& owner, std::uint32_t first, std::uint32_t second,
                                   std::uint32_t third,
                                   ZolSmartPointer<kyr::orla::appfw::IEntRefInterface>& container) override;
  /// Appends `container`, empty included.
  Zol::ZolResult_24_8 addContainer(const ZolSmartPointer<kyr::orla::appfw::IEntRefInterface>& container) override;

 private:
  mutable std::mutex mutex_;
  std::vector<EntityReference> references_;
  std::vector<ZolSmartPointer<kyr::orla::appfw::IEntRefInterface>> containers_;
};

/// Every reference of `list` (empty for an empty pointer): a simulated
/// list's own, then its containers' members, read without journaling; else
/// what the list's iterator gives.
SIMHOST_EXPORT std::vector<EntityReference> referencesOf(
    const ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>& list);

/// The host's factory of writable reference lists
/// (ServiceCacheAppFrame::entRefListFactory_).
class SIMHOST_EXPORT SimEntityReferenceListFactory final
    : public SimObject<Zol::PersistenceFW::CAEData::IEntityReferenceListFactoryInterface> {
 public:
  using SimObject::SimObject;
  /// A new, empty SimEntityReferenceList.
  Zol::ZolResult_24_8 createList(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListInterface>& list) override;
};

/// Makes containers whose own reference lies in `container` (the model).
class SIMHOST_EXPORT SimEntRefContainerFactory final
    : public SimObject<kyr::orla::appfw::IEntRefContainerFactoryInterface> {
 public:
  /// A factory named `name` whose containers' references lie in `container`.
  SimEntRefContainerFactory(SimContextPtr context, std::string name, Zol::ZolIService container);
  /// Drops the model, for the host's shut-down; later containers' references
  /// have no container.
  void detach();

  /// A new, empty SimEntRefContainer of `owner` whose own reference is
  /// (model, first, second, third). `attach` is journaled and otherwise
  /// ignored.
  Zol::ZolResult_24_8 createContainer(const Zol::ZolIService& owner, std::uint32_t first, std::uint32_t second,
                                      std::uint32_t third, bool attach,
                                      ZolSmartPointer<kyr::orla::appfw::IEntRefInterface>& container) override;

 private:
  Synchronized<Zol::ZolIService> container_;
};

/// A host entity list, as the root manager makes it: the entities it was
/// made of, fixed.
class SIMHOST_EXPORT SimEntityList final : public SimObject<kyr::orla::appfw::IEntityListInterface> {
 public:
  /// A list of `entities`, empty pointers included.
  SimEntityList(SimContextPtr context, kyr::orla::appfw::IEntities entities);
  /// The entities the list was made of.
  const kyr::orla::appfw::IEntities& entities() const noexcept { return entities_; }

  /// A new SimEntityReferenceList of the entities' references (referenceOf,
  /// the empty reference for an empty entity), in order.
  Zol::ZolResult_24_8 getEntityReferenceList(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>& list) override;

 private:
  const kyr::orla::appfw::IEntities entities_;
};

/// The assembly an entity stands for.
class SIMHOST_EXPORT SimAssembly final : public SimObject<Zol::PersistenceFW::CAEData::IAssemblyInterface> {
 public:
  /// The assembly the entity of `entity` stands for.
  SimAssembly(SimContextPtr context, EntityReference entity);
  /// The reference of the entity it stands for.
  const EntityReference& entity() const noexcept { return entity_; }

  /// entity().
  Zol::ZolResult_24_8 getEntityReference(EntityReference& reference) override;

 private:
  const EntityReference entity_;
};

/// The open model: it owns its entities, found by their three words, and its
/// root assembly. Every entity reference it makes names the model as its
/// container.
class SIMHOST_EXPORT SimModel final : public SimObject<Zol::PersistenceFW::CAEData::IModelInterface> {
 public:
  using SimObject::SimObject;

  /// Adds (or replaces) the entity with these words, of `shape`.
  ZolSmartPointer<SimEntity> addEntity(std::uint32_t first, std::uint32_t second, std::uint32_t third,
                                       icu::UnicodeString name, icu::UnicodeString typeName,
                                       EntityShape shape = EntityShape::EngineeringObject);
  /// Adds (or replaces) an entity made elsewhere, under the words of its
  /// reference, which names this model (referenceOf).
  void addEntity(const ZolSmartPointer<SimEntity>& entity);
  /// Deletes the entity with these words, as the host does when a user
  /// deletes it: its references stop resolving. Unknown words are ignored.
  void removeEntity(std::uint32_t first, std::uint32_t second, std::uint32_t third);
  /// The reference (this model, first, second, third), whether or not an
  /// entity has these words.
  EntityReference referenceOf(std::uint32_t first, std::uint32_t second, std::uint32_t third);
  /// The entity of `reference`; empty for another container or unknown words.
  ZolSmartPointer<SimEntity> findEntity(const EntityReference& reference) const;
  /// Every entity, ordered by words.
  std::vector<ZolSmartPointer<SimEntity>> entities() const;

  /// Adds the root entity with these words and makes the assembly it stands
  /// for the model's root assembly; returns that assembly.
  ZolSmartPointer<SimAssembly> makeRootAssembly(std::uint32_t first, std::uint32_t second, std::uint32_t third,
                                                icu::UnicodeString name, icu::UnicodeString typeName);
  /// Replaces the root assembly; empty takes it away (its entity stays).
  void setRootAssembly(ZolSmartPointer<SimAssembly> assembly);
  /// The root assembly; empty when there is none.
  ZolSmartPointer<SimAssembly> rootAssembly() const { return rootAssembly_.get(); }
  /// Replaces the part being designed; empty (at first) means none.
  void setCurrentDesignPart(ZolSmartPointer<Zol::PersistenceFW::CAEData::IPartInterface> part) {
    designPart_.set(std::move(part));
  }
  /// The part being designed; empty when there is none.
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IPartInterface> currentDesignPart() const { return designPart_.get(); }
  /// Drops every entity, the root assembly and the design part (the host's
  /// shut-down: entities refer back to the model).
  void clear();

  /// Empty when the model has no root assembly.
  Zol::ZolResult_24_8 getRootAssembly(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IAssemblyInterface>& assembly) override;
  /// currentDesignPart(), empty included.
  Zol::ZolResult_24_8 getCurrentDesignPart(ZolSmartPointer<Zol::PersistenceFW::CAEData::IPartInterface>& part) override;

 private:
  struct Words {
    std::uint32_t first, second, third;
    bool operator==(const Words& other) const {
      return first == other.first && second == other.second && third == other.third;
    }
  };
  struct WordsHash {
    std::size_t operator()(const Words& words) const noexcept {
      return (std::size_t{words.first} * 0x9e3779b97f4a7c15ULL) ^ (std::size_t{words.second} << 21) ^ words.third;
    }
  };
  mutable std::mutex mutex_;
  std::unordered_map<Words, ZolSmartPointer<SimEntity>, WordsHash> entities_;
  Synchronized<ZolSmartPointer<SimAssembly>> rootAssembly_;
  Synchronized<ZolSmartPointer<Zol::PersistenceFW::CAEData::IPartInterface>> designPart_;
};

/// The "Zol.EOM.EOMCore" service: wraps objects in the EOM objects
/// registered for them, opens the EOM objects the host knows by GUID (those
/// added with addObject, then the model's entities), as the host's
/// dependency manager records what it is asked to generate, and reports the
/// undo tracking state a test sets.
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

}  // namespace simhost
