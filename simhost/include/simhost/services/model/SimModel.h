/// \file
/// Simulated model entities, the persistent objects and containers that
/// stand for them, and the model that owns the entities and its root
/// assembly.
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
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <unicode/unistr.h>

#include "kyr/appfw/IEntity.h"
#include "simhost/services/eom/SimEOM.h"
#include "simhost/testbed/SimObject.h"
#include "simhost/testbed/Synchronized.h"
#include "zol/persistence/PersistenceFW.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

using Zol::PersistenceFW::CAEData::EntityReference;

/// IEntity with its name queries under other names, for SimEntity, which is
/// an EOM object too; see FacetInterface.
///
/// \par Threads and exceptions
/// It keeps no state: the object that implements it is thread-safe or not
/// (every simulated one is), and getName and getTypeName throw what its
/// getEntityName and getEntityTypeName throw.
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
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimEntity : public SimEOMBehaviour<SimEntityFacet> {
 public:
  /// A child as addChild recorded it.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
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

  /// What an engineering object holds, and the containers of the entity's
  /// own reference ("reference": its model), its parent's and its children's.
  void reportHoldings(Zol::ZolHeldReferences& held) const override;

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
/// own (not journaled) access to it.
///
/// \par Threads and exceptions
/// Thread-safe. Its members throw nothing but std::bad_alloc.
class SIMHOST_EXPORT SimPersistentState {
 public:
  /// The state of an object that stands for the entity of `entity` (the
  /// empty reference: none): no GUID, no owner, eligible.
  explicit SimPersistentState(EntityReference entity);
  /// Not copyable: the state is one object's.
  SimPersistentState(const SimPersistentState&) = delete;
  /// Not assignable, for the same reason.
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
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
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
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimPersistentObject final : public SimPersistentObjectBase<> {
 public:
  using SimPersistentObjectBase::SimPersistentObjectBase;
};

/// A persistent object that holds others: an owner for persistent objects.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimContainer final
    : public SimPersistentObjectBase<Zol::PersistenceFW::CAEData::IContainerInterface> {
 public:
  using SimPersistentObjectBase::SimPersistentObjectBase;
};

/// The assembly an entity stands for.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
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
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
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

/// @}

}  // namespace simhost
