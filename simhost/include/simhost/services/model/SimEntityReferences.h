/// \file
/// What lists and holds references to simulated entities: entity-reference
/// lists with their iterator and factory, entity-reference containers with
/// their content iterator and factory, and the root manager's entity lists.
///
/// Unless a class says otherwise: its host operations are journaled and
/// fault-injectable (an injected error result is returned before the
/// operation does anything, an injected exception is thrown), its state is
/// guarded by a lock so that the caller's thread and the host's work thread
/// may use it, and the members that are not host operations are the host's
/// own access, not journaled.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "kyr/appfw/IEntRef.h"
#include "kyr/appfw/IEntity.h"
#include "simhost/testbed/SimObject.h"
#include "simhost/testbed/Synchronized.h"
#include "zol/persistence/EntityReferenceList.h"
#include "zol/persistence/PersistenceFW.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

using Zol::PersistenceFW::CAEData::EntityReference;

/// Iterates a copy of a reference list's references, taken when the
/// iterator was made. One reader at a time.
///
/// \par Threads and exceptions
/// One reader at a time: the position is not guarded. next() throws what a
/// fault armed for it throws, before the iterator moves.
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
///
/// \par Threads and exceptions
/// One reader at a time: the position is not guarded. next() throws what a
/// fault armed for it throws, before the iterator moves.
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
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
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
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
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
  /// references(), then the members of the simulated containers added: what
  /// the host reads of the list (referencesOf).
  std::vector<EntityReference> allReferences() const;
  /// allReferences(), each the entity-reference record Payload::of makes,
  /// as fields "0", "1", ...
  std::vector<Payload::Field> payloadFields() const override;

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
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimEntityReferenceListFactory final
    : public SimObject<Zol::PersistenceFW::CAEData::IEntityReferenceListFactoryInterface> {
 public:
  using SimObject::SimObject;
  /// A new, empty SimEntityReferenceList.
  Zol::ZolResult_24_8 createList(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListInterface>& list) override;
};

/// Makes containers whose own reference lies in `container` (the model).
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
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
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
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

/// @}

}  // namespace simhost
