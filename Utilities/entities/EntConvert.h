/// \class kyr::orla::plugin::wyrdan::EntConvert
/// \ingroup wyrdan_entities
/// Converts between the host's shapes of an entity collection: entity
/// sequences (IEntities), host entity lists, entity-reference sequences,
/// entity-reference lists and entity-reference containers.
///
/// \par Threads and exceptions
/// Stateless: any thread on which the host's objects may be called may
/// convert. Host exceptions pass to the caller; toEntRefList with an owner
/// throws Zol::ZolSystemException_24 when the new list is not a container
/// list.
///
/// \code
///   EntConvert convert;
///   ZolSmartPointer<kyr::orla::appfw::IEntityListInterface> list = convert.toEntList(references);
///   kyr::orla::appfw::IEntities entities = convert.toEntities(referenceList);
/// \endcode
///
/// Construct one where needed. Each operation takes the host services it
/// needs from kyr::orla::appfw::ServiceCacheAppFrame when it starts and
/// releases them when it returns; a missing service gives an empty result.
/// Conversions keep the input's order and duplicates; conversions towards
/// entities drop references the root manager does not resolve, and every
/// conversion leaves out empty entity pointers. Host results are not
/// examined.
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "kyr/appfw/IEntRef.h"
#include "kyr/appfw/IEntity.h"
#include "zol/persistence/EntityReferenceList.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT EntConvert {
 public:
  /// No host call: services are taken by each operation.
  EntConvert();
  ///@{

  /// Copies nothing: the converter has no state.
  EntConvert(EntConvert const& other);
  EntConvert& operator=(EntConvert const& other);
  ///@}
  /// Nothing to release.
  ~EntConvert();

  /// The references of `list`, in its iterator's order; empty for an empty
  /// list or when it gives no iterator. Needs no host service.
  Zol::PersistenceFW::CAEData::EntityReferenceSequence toEntRefSeq(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface> const& list);
  /// The reference of each entity, as the entity reports it, in order. Empty
  /// entity pointers are skipped. Needs no host service.
  Zol::PersistenceFW::CAEData::EntityReferenceSequence toEntRefSeq(kyr::orla::appfw::IEntities const& entities);

  /// The entity of each reference that resolves, in order; empty without a
  /// root manager.
  kyr::orla::appfw::IEntities toEntities(Zol::PersistenceFW::CAEData::EntityReferenceSequence const& refs);
  /// toEntities(toEntRefSeq(list)).
  kyr::orla::appfw::IEntities toEntities(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface> const& list);
  /// Every member entity of `container` that resolves: type by type in the
  /// container's order, each type in its iterator's order. Empty for an empty
  /// container or without a root manager.
  kyr::orla::appfw::IEntities toEntity(ZolSmartPointer<kyr::orla::appfw::IEntRefInterface> const& container);

  /// The root manager's entity list of `entities`, handed over as given:
  /// what the host does with an empty entity pointer is the host's. Empty
  /// without a root manager, or when the host makes no list.
  ZolSmartPointer<kyr::orla::appfw::IEntityListInterface> toEntList(kyr::orla::appfw::IEntities const& entities);
  /// toEntList(toEntities(refs)): the host never sees unresolved references.
  ZolSmartPointer<kyr::orla::appfw::IEntityListInterface> toEntList(
      Zol::PersistenceFW::CAEData::EntityReferenceSequence const& refs);
  /// toEntList(toEntities(toEntRefSeq(list))); an empty `list` gives a host
  /// list of no entities.
  ZolSmartPointer<kyr::orla::appfw::IEntityListInterface> toEntList(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface> const& list);

  /// A new reference list holding `refs` in order; empty without the
  /// reference-list factory.
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListInterface> toEntRefList(
      Zol::PersistenceFW::CAEData::EntityReferenceSequence const& refs);
  /// A new reference list holding each entity's reference in order; empty
  /// entity pointers are skipped. Empty without the reference-list factory.
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListInterface> toEntRefList(
      kyr::orla::appfw::IEntities const& entities);
  /// A new reference list with one container of `owner` holding the pairs
  /// (firstIds[i], secondIds[i]) of entity type `typeId`, both sequences
  /// handed to the container's addContent as they are. The owner's
  /// reference is that of the entity its EOM object is, else that of the
  /// entity its persistent object stands for, else the empty reference. The
  /// container is the one the list has for that reference, else a new one
  /// from the container factory. The list stays empty when `owner` is empty,
  /// `firstIds` is empty, or no container can be found or made; the result is
  /// empty without the reference-list factory. Throws
  /// Zol::ZolSystemException_24 when the new list is not a container list
  /// ("kyr.orla.appfw.IEntRefList").
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListInterface> toEntRefList(
      Zol::ZolIService const& owner, unsigned int typeId, ZolSequence<unsigned int> const& firstIds,
      ZolSequence<unsigned int> const& secondIds);
};

}  // namespace kyr::orla::plugin::wyrdan
