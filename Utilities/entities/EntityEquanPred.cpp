#include "WyrdanPluginUtilities/entities/EntityEquanPred.h"

namespace kyr::orla::plugin::wyrdan {

using Zol::PersistenceFW::CAEData::EntityReference;
using EntityPtr = ZolSmartPointer<appfw::IEntityInterface>;

EntityEquanPred::EntityEquanPred(EntityPtr const& entity)
    : m_entity(entity), m_reference(getEntityReferenceSafe(entity)) {}

EntityEquanPred::EntityEquanPred(EntityReference const& reference)
    : m_entity(getByEntityReference(reference)), m_reference(reference) {}

bool EntityEquanPred::operator()(EntityReference const& reference) const { return equals(m_reference, reference); }

bool EntityEquanPred::operator()(EntityPtr const& entity) const { return equals(m_entity, entity); }

}  // namespace kyr::orla::plugin::wyrdan
