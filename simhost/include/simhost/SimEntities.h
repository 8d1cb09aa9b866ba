// Simulated model entities and everything that lists or resolves them:
// entity lists, entity-reference lists with their iterator and factory,
// entity-reference containers with theirs, persistent objects, EOM objects
// and the factory that wraps objects in them, and the root manager.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <unicode/unistr.h>

#include "kyr/appfw/IEntRef.h"
#include "kyr/appfw/IEntity.h"
#include "simhost/SimObject.h"
#include "simhost/Synchronized.h"
#include "zol/eom/IEOMObjectFactory.h"
#include "zol/persistence/EntityReferenceList.h"
#include "zol/persistence/PersistenceFW.h"

namespace simhost {

using Zol::PersistenceFW::CAEData::EntityReference;

/// A model entity: reference, name, type name, attributes, parent and
/// children. Entities are EOM objects too.
class SIMHOST_EXPORT SimEntity final
    : public SimObject<kyr::orla::appfw::IEntityInterface, Zol::EOM::IEOMObjectInterface> {
 public:
  SimEntity(SimContextPtr context, EntityReference reference, icu::UnicodeString name, icu::UnicodeString typeName);

  const EntityReference& reference() const noexcept { return reference_; }
  const icu::UnicodeString& name() const noexcept { return name_; }
  const icu::UnicodeString& typeName() const noexcept { return typeName_; }

  /// The attribute's value; holds nothing when it is not set.
  Zol::ZolAny_24_8 attribute(const std::string& name) const;
  std::map<std::string, Zol::ZolAny_24_8> attributes() const;
  /// The host's own write (not journaled); returns the previous value.
  Zol::ZolAny_24_8 putAttribute(const std::string& name, const Zol::ZolAny_24_8& value);

  EntityReference parent() const;
  std::vector<EntityReference> children() const;
  void setParent(EntityReference parent);
  void addChild(EntityReference child);

  Zol::ZolResult_24_8 getReference(EntityReference& reference) override;
  Zol::ZolResult_24_8 setAttribute(const std::string& name, const Zol::ZolAny_24_8& value,
                                   ZolSmartPointer<kyr::orla::appfw::IURCommandInterface>& undo) override;

 private:
  const EntityReference reference_;
  const icu::UnicodeString name_;
  const icu::UnicodeString typeName_;
  mutable std::mutex mutex_;  // the work thread changes entities too
  EntityReference parent_;
  std::vector<EntityReference> children_;
  std::map<std::string, Zol::ZolAny_24_8> attributes_;
};

/// The reference an entity pointer names: the simulated entity's own, else
/// the entity's answer (journaled), else the empty reference.
SIMHOST_EXPORT EntityReference referenceOf(const ZolSmartPointer<kyr::orla::appfw::IEntityInterface>& entity);

/// An EOM object that is not an entity.
class SIMHOST_EXPORT SimEOMObject final : public SimObject<Zol::EOM::IEOMObjectInterface> {
 public:
  using SimObject::SimObject;
};

/// A persistent object that stands for the entity of a reference (or for
/// none, when the reference is empty).
class SIMHOST_EXPORT SimPersistentObject final
    : public SimObject<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> {
 public:
  SimPersistentObject(SimContextPtr context, std::string name, EntityReference entity);
  Zol::ZolResult_24_8 getEntityReference(EntityReference& reference) override;

 private:
  const EntityReference entity_;
};

class SIMHOST_EXPORT SimEntityReferenceIterator final
    : public SimObject<Zol::PersistenceFW::CAEData::IEntityReferenceIteratorInterface> {
 public:
  SimEntityReferenceIterator(SimContextPtr context, std::vector<EntityReference> references);
  bool next(EntityReference& reference) override;

 private:
  const std::vector<EntityReference> references_;
  std::size_t position_ = 0;
};

class SIMHOST_EXPORT SimEntRefContentIterator final
    : public SimObject<kyr::orla::appfw::IEntRefContentIteratorInterface> {
 public:
  SimEntRefContentIterator(SimContextPtr context, std::vector<std::pair<std::uint32_t, std::uint32_t>> members);
  bool next(std::uint32_t& firstId, std::uint32_t& secondId) override;

 private:
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> members_;
  std::size_t position_ = 0;
};

/// One owner's entity ids grouped by type, in the order the types were added.
class SIMHOST_EXPORT SimEntRefContainer final : public SimObject<kyr::orla::appfw::IEntRefInterface> {
 public:
  using Members = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

  SimEntRefContainer(SimContextPtr context, Zol::ZolIService owner, EntityReference reference);

  const Zol::ZolIService& owner() const noexcept { return owner_; }
  const EntityReference& reference() const noexcept { return reference_; }
  /// (type id, members) in the order the types were added.
  std::vector<std::pair<std::uint32_t, Members>> contents() const;
  /// The references of every member, type by type.
  std::vector<EntityReference> memberReferences() const;

  Zol::ZolResult_24_8 getTypeIds(ZolSequence<std::uint32_t>& typeIds) override;
  Zol::ZolResult_24_8 getContentIterator(
      std::uint32_t typeId, ZolSmartPointer<kyr::orla::appfw::IEntRefContentIteratorInterface>& iterator) override;
  Zol::ZolResult_24_8 getReference(EntityReference& reference) override;
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
  SimEntityReferenceList(SimContextPtr context, std::vector<EntityReference> references = {});

  std::vector<EntityReference> references() const;
  std::vector<ZolSmartPointer<kyr::orla::appfw::IEntRefInterface>> containers() const;

  Zol::ZolResult_24_8 getIterator(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceIteratorInterface>& iterator) override;
  Zol::ZolResult_24_8 getCount(std::uint32_t& count) override;
  Zol::ZolResult_24_8 append(const EntityReference& reference) override;
  Zol::ZolResult_24_8 getContainer(const Zol::ZolIService& owner, std::uint32_t first, std::uint32_t second,
                                   std::uint32_t third,
                                   ZolSmartPointer<kyr::orla::appfw::IEntRefInterface>& container) override;
  Zol::ZolResult_24_8 addContainer(const ZolSmartPointer<kyr::orla::appfw::IEntRefInterface>& container) override;

 private:
  mutable std::mutex mutex_;
  std::vector<EntityReference> references_;
  std::vector<ZolSmartPointer<kyr::orla::appfw::IEntRefInterface>> containers_;
};

class SIMHOST_EXPORT SimEntityReferenceListFactory final
    : public SimObject<Zol::PersistenceFW::CAEData::IEntityReferenceListFactoryInterface> {
 public:
  using SimObject::SimObject;
  Zol::ZolResult_24_8 createList(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListInterface>& list) override;
};

/// Makes containers whose own reference lies in `container` (the model).
class SIMHOST_EXPORT SimEntRefContainerFactory final
    : public SimObject<kyr::orla::appfw::IEntRefContainerFactoryInterface> {
 public:
  SimEntRefContainerFactory(SimContextPtr context, std::string name, Zol::ZolIService container);
  /// Drops the model, for the host's shut-down.
  void detach();

  Zol::ZolResult_24_8 createContainer(const Zol::ZolIService& owner, std::uint32_t first, std::uint32_t second,
                                      std::uint32_t third, bool attach,
                                      ZolSmartPointer<kyr::orla::appfw::IEntRefInterface>& container) override;

 private:
  Synchronized<Zol::ZolIService> container_;
};

class SIMHOST_EXPORT SimEntityList final : public SimObject<kyr::orla::appfw::IEntityListInterface> {
 public:
  SimEntityList(SimContextPtr context, kyr::orla::appfw::IEntities entities);
  const kyr::orla::appfw::IEntities& entities() const noexcept { return entities_; }

  Zol::ZolResult_24_8 getEntityReferenceList(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>& list) override;

 private:
  const kyr::orla::appfw::IEntities entities_;
};

/// Wraps objects in the EOM objects registered for them.
class SIMHOST_EXPORT SimEOMObjectFactory final : public SimObject<Zol::EOM::IEOMObjectFactoryInterface> {
 public:
  using SimObject::SimObject;

  /// Makes wrap(`object`) answer `eomObject`.
  void setWrapper(const Zol::ZolIService& object, const ZolSmartPointer<Zol::EOM::IEOMObjectInterface>& eomObject);
  void clear();

  Zol::ZolResult_24_8 wrap(const Zol::ZolIService& object,
                           ZolSmartPointer<Zol::EOM::IEOMObjectInterface>& eomObject) override;

 private:
  std::mutex mutex_;
  std::vector<std::pair<Zol::ZolIService, ZolSmartPointer<Zol::EOM::IEOMObjectInterface>>> wrappers_;
};

/// The open model: it owns its entities, found by their three words. Every
/// entity reference it makes names the model as its container.
class SIMHOST_EXPORT SimModel final : public SimObject<Zol::PersistenceFW::CAEData::IModelInterface> {
 public:
  using SimObject::SimObject;

  /// Adds (or replaces) the entity with these words.
  ZolSmartPointer<SimEntity> addEntity(std::uint32_t first, std::uint32_t second, std::uint32_t third,
                                       icu::UnicodeString name, icu::UnicodeString typeName);
  /// Deletes the entity with these words, as the host does when a user
  /// deletes it: its references stop resolving. Unknown words are ignored.
  void removeEntity(std::uint32_t first, std::uint32_t second, std::uint32_t third);
  EntityReference referenceOf(std::uint32_t first, std::uint32_t second, std::uint32_t third);
  /// The entity of `reference`; empty for another container or unknown words.
  ZolSmartPointer<SimEntity> findEntity(const EntityReference& reference) const;
  /// Every entity, ordered by words.
  std::vector<ZolSmartPointer<SimEntity>> entities() const;
  /// Drops every entity (the host's shut-down: entities refer back to the model).
  void clear();

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
};

/// Resolves references in the model and makes entity lists.
class SIMHOST_EXPORT SimRootManager final : public SimObject<kyr::orla::appfw::IRootManagerInterface> {
 public:
  SimRootManager(SimContextPtr context, std::string name, ZolSmartPointer<SimModel> model);
  /// Drops the model, for the host's shut-down.
  void detach();

  Zol::ZolResult_24_8 getEntity(const EntityReference& reference,
                                ZolSmartPointer<kyr::orla::appfw::IEntityInterface>& entity) override;
  Zol::ZolResult_24_8 makeEntityList(const kyr::orla::appfw::IEntities& entities,
                                     ZolSmartPointer<kyr::orla::appfw::IEntityListInterface>& list) override;

 private:
  Synchronized<ZolSmartPointer<SimModel>> model_;
};

}  // namespace simhost
