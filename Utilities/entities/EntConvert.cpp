#include "WyrdanPluginUtilities/entities/EntConvert.h"

#include <cstdint>
#include <utility>

#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/eom/IEOMObjectFactory.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using appfw::IEntities;
using appfw::IEntityInterface;
using appfw::IEntityListInterface;
using appfw::IEntRefInterface;
using appfw::IEntRefListInterface;
using appfw::IRootManagerInterface;
using appfw::ServiceCacheAppFrame;
using Zol::PersistenceFW::CAEData::EntityReference;
using Zol::PersistenceFW::CAEData::EntityReferenceSequence;
using Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceListInterface;

using ConstListPtr = ZolSmartPointer<IEntityReferenceConstListInterface>;
using ListPtr = ZolSmartPointer<IEntityReferenceListInterface>;

// A new, empty reference list from the host's factory; empty without one.
ListPtr createReferenceList() {
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListFactoryInterface> factory =
      ServiceCacheAppFrame::entRefListFactory_;
  ListPtr list;
  if (factory) factory->createList(list);
  return list;
}

// The reference under which `owner`'s container is filed: that of the entity
// its EOM object is, else that of the entity its persistent object names,
// else the empty reference. Either service may be empty.
EntityReference ownerReference(Zol::ZolIService const& owner,
                               ZolSmartPointer<Zol::EOM::IEOMObjectFactoryInterface> const& eomFactory,
                               ZolSmartPointer<IRootManagerInterface> const& rootManager) {
  EntityReference reference;
  if (eomFactory) {
    ZolSmartPointer<Zol::EOM::IEOMObjectInterface> eomObject;
    eomFactory->wrap(owner, eomObject);
    if (auto entity = Zol::interfaceCast<IEntityInterface>(eomObject)) {
      entity->getReference(reference);
      return reference;
    }
  }

  auto persistent = Zol::interfaceCast<Zol::PersistenceFW::CAEData::IPersistentObjectInterface>(owner);
  if (persistent && persistent->getEntityReference(reference).isOk() && rootManager) {
    // Prefer the reference the entity reports for itself.
    ZolSmartPointer<IEntityInterface> entity;
    rootManager->getEntity(reference, entity);
    if (entity) entity->getReference(reference);
  }
  return reference;
}

}  // namespace

EntConvert::EntConvert() = default;
EntConvert::EntConvert(EntConvert const&) = default;
EntConvert& EntConvert::operator=(EntConvert const&) = default;
EntConvert::~EntConvert() = default;

EntityReferenceSequence EntConvert::toEntRefSeq(ConstListPtr const& list) {
  EntityReferenceSequence refs;
  if (!list) return refs;
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceIteratorInterface> iterator;
  list->getIterator(iterator);
  if (!iterator) return refs;
  EntityReference reference;
  while (iterator->next(reference)) refs.push_back(reference);
  return refs;
}

EntityReferenceSequence EntConvert::toEntRefSeq(IEntities const& entities) {
  EntityReferenceSequence refs;
  if (entities.empty()) return refs;
  refs.reserve(entities.size());
  for (const auto& entity : entities) {
    if (!entity) continue;
    EntityReference reference;
    entity->getReference(reference);
    refs.push_back(std::move(reference));
  }
  return refs;
}

IEntities EntConvert::toEntities(EntityReferenceSequence const& refs) {
  ZolSmartPointer<IRootManagerInterface> rootManager = ServiceCacheAppFrame::rootManager_;
  IEntities entities;
  if (!rootManager || refs.empty()) return entities;
  entities.reserve(refs.size());
  ZolSmartPointer<IEntityInterface> entity;
  for (const EntityReference& reference : refs) {
    // `entity` is empty here: it was never filled or was moved out.
    rootManager->getEntity(reference, entity);
    if (entity) entities.push_back(std::move(entity));
  }
  return entities;
}

IEntities EntConvert::toEntities(ConstListPtr const& list) { return toEntities(toEntRefSeq(list)); }

IEntities EntConvert::toEntity(ZolSmartPointer<IEntRefInterface> const& container) {
  ZolSmartPointer<IRootManagerInterface> rootManager = ServiceCacheAppFrame::rootManager_;
  IEntities entities;
  if (!container || !rootManager) return entities;

  ZolSequence<std::uint32_t> typeIds;
  container->getTypeIds(typeIds);
  for (std::uint32_t typeId : typeIds) {
    ZolSmartPointer<appfw::IEntRefContentIteratorInterface> iterator;
    container->getContentIterator(typeId, iterator);
    if (!iterator) continue;
    std::uint32_t firstId = 0;
    std::uint32_t secondId = 0;
    while (iterator->next(firstId, secondId)) {
      // A member's reference is the container's own with the member's words.
      EntityReference reference;
      container->getReference(reference);
      reference.first = typeId;
      reference.second = firstId;
      reference.third = secondId;
      ZolSmartPointer<IEntityInterface> entity;
      rootManager->getEntity(reference, entity);
      if (entity) entities.push_back(std::move(entity));
    }
  }
  return entities;
}

// Empty entity pointers are left out, as every other conversion does; the
// sequence is copied only when it has some.
ZolSmartPointer<IEntityListInterface> EntConvert::toEntList(IEntities const& entities) {
  ZolSmartPointer<IRootManagerInterface> rootManager = ServiceCacheAppFrame::rootManager_;
  ZolSmartPointer<IEntityListInterface> list;
  if (!rootManager) return list;
  rootManager->makeEntityList(entities, list);
  return list;
}

ZolSmartPointer<IEntityListInterface> EntConvert::toEntList(EntityReferenceSequence const& refs) {
  return toEntList(toEntities(refs));
}

ZolSmartPointer<IEntityListInterface> EntConvert::toEntList(ConstListPtr const& list) {
  return toEntList(toEntities(toEntRefSeq(list)));
}

ListPtr EntConvert::toEntRefList(EntityReferenceSequence const& refs) {
  ListPtr list = createReferenceList();
  if (!list) return list;
  for (const EntityReference& reference : refs) list->append(reference);
  return list;
}

ListPtr EntConvert::toEntRefList(IEntities const& entities) {
  ListPtr list = createReferenceList();
  if (!list) return list;
  for (const auto& entity : entities) {
    if (!entity) continue;
    EntityReference reference;
    entity->getReference(reference);
    list->append(reference);
  }
  return list;
}

ListPtr EntConvert::toEntRefList(Zol::ZolIService const& owner, unsigned int typeId,
                                 ZolSequence<unsigned int> const& firstIds,
                                 ZolSequence<unsigned int> const& secondIds) {
  ZolSmartPointer<Zol::EOM::IEOMObjectFactoryInterface> eomFactory = ServiceCacheAppFrame::eomObjectFactory_;
  ZolSmartPointer<IRootManagerInterface> rootManager = ServiceCacheAppFrame::rootManager_;
  ZolSmartPointer<appfw::IEntRefContainerFactoryInterface> containerFactory =
      ServiceCacheAppFrame::entRefContainerFactory_;
  ListPtr list = createReferenceList();
  if (!list || !owner || firstIds.empty()) return list;

  const EntityReference reference = ownerReference(owner, eomFactory, rootManager);

  ZolSmartPointer<IEntRefInterface> container;
  Zol::interfaceCastOrThrow<IEntRefListInterface>(list)->getContainer(owner, reference.first, reference.second,
                                                                      reference.third, container);
  if (!container && containerFactory) {
    containerFactory->createContainer(owner, reference.first, reference.second, reference.third, true, container);
  }
  if (!container) return list;

  container->addContent(typeId, firstIds, secondIds);
  Zol::interfaceCastOrThrow<IEntRefListInterface>(list)->addContainer(container);
  return list;
}

}  // namespace kyr::orla::plugin::wyrdan
