#include "WyrdanPluginUtilities/commands/EditEntityHelper.h"

#include "WyrdanPluginUtilities/commands/CmdInvoker.h"
#include "WyrdanPluginUtilities/entities/EntConvert.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using Zol::PersistenceFW::CAEData::EntityReference;
using Zol::PersistenceFW::CAEData::EntityReferenceSequence;
using ConstListPtr = ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>;

const char* const kModifyObjects = "ModifyObjects";
const char* const kCorePlugin = "KYR.CorePlugin";

// The reference list of a host entity list; empty for an empty list.
ConstListPtr referencesOf(ZolSmartPointer<appfw::IEntityListInterface> const& list) {
  ConstListPtr references;
  if (list) list->getEntityReferenceList(references);
  return references;
}

// The "ModifyObjects" payload: the entities and the property values.
DataBunch modifyPayload(ConstListPtr const& entities, DataBunch const& properties) {
  DataBunch bunch;
  bunch.setData("objects", entities);
  bunch.setData("values", properties.toZolAny());
  return bunch;
}

}  // namespace

EditEntityHelper::EditEntityHelper(EntityReference const& reference)
    : m_entities(referencesOf(EntConvert().toEntList(EntityReferenceSequence{reference}))) {}

EditEntityHelper::EditEntityHelper(ZolSmartPointer<appfw::IEntityInterface> const& entity)
    : m_entities(referencesOf(EntConvert().toEntList(appfw::IEntities{entity}))) {}

EditEntityHelper::EditEntityHelper(EntityReferenceSequence const& references)
    : m_entities(referencesOf(EntConvert().toEntList(references))) {}

EditEntityHelper::EditEntityHelper(appfw::IEntities const& entities)
    : m_entities(referencesOf(EntConvert().toEntList(entities))) {}

EditEntityHelper::EditEntityHelper(EditEntityHelper const& other) = default;

EditEntityHelper::EditEntityHelper(EditEntityHelper&& other) noexcept = default;

EditEntityHelper& EditEntityHelper::operator=(EditEntityHelper const& other) {
  if (this != &other) {
    m_entities.reset();
    m_entities = other.m_entities;
  }
  return *this;
}

EditEntityHelper& EditEntityHelper::operator=(EditEntityHelper&& other) noexcept {
  m_entities.swap(other.m_entities);
  return *this;
}

EditEntityHelper::~EditEntityHelper() = default;

void EditEntityHelper::setAttribute(std::string name, Zol::ZolAny_24_8 const& value) {
  const EntityReferenceSequence references = EntConvert().toEntRefSeq(m_entities);
  if (references.empty()) return;
  ZolSmartPointer<appfw::IRootManagerInterface> rootManager = appfw::ServiceCacheAppFrame::rootManager_;
  if (!rootManager) return;
  ZolSmartPointer<appfw::IEntityInterface> entity;
  rootManager->getEntity(references[0], entity);
  if (!entity) return;
  ZolSmartPointer<appfw::IURCommandInterface> undo;
  entity->setAttribute(name, value, undo);
}

// The invoker lives for the one call: the command's output is of no use here.
void EditEntityHelper::setProperties(DataBunch const& properties) {
  const DataBunch payload = modifyPayload(m_entities, properties);
  CmdInvoker(kModifyObjects, kCorePlugin).invoke(payload);
}

void EditEntityHelper::setProperties(DataBunch const& properties, bool option3, bool option1) {
  const DataBunch payload = modifyPayload(m_entities, properties);
  CmdInvoker(kModifyObjects, option3, option1, kCorePlugin).invoke(payload);
}

}  // namespace kyr::orla::plugin::wyrdan
