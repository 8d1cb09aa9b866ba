#include "WyrdanPluginUtilities/entities/EntityCompare.h"

#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

using Zol::PersistenceFW::CAEData::EntityReference;
using EntityPtr = ZolSmartPointer<appfw::IEntityInterface>;

ZolSmartPointer<appfw::IInterfaceAdapterManagerInterface> EntityCompare::m_spAdpMgr;

const Zol::ZolHoldingsRegistration EntityCompare::m_holdings("EntityCompare", [](Zol::ZolHeldReferences& held) {
  held.add("adapter manager", m_spAdpMgr);
});

EntityCompare::EntityCompare() { findAdapterManager(); }

void EntityCompare::findAdapterManager() {
  if (!m_spAdpMgr) {
    m_spAdpMgr =
        Zol::interfaceCastOrThrow<appfw::IInterfaceAdapterManagerInterface>(appfw::ServiceCacheAppFrame::rootManager_);
  }
}

// The adapter manager is empty when every construction so far met a host
// without a root manager: then nothing is equal, nothing is less, and every
// hash is 0, instead of a call through an empty pointer.
bool EntityCompare::equals(EntityReference const& a, EntityReference const& b) const {
  return m_spAdpMgr && m_spAdpMgr->areEqual(a, b);
}

bool EntityCompare::lessThan(EntityReference const& a, EntityReference const& b) const {
  return m_spAdpMgr && m_spAdpMgr->isLess(a, b);
}

int EntityCompare::hashCode(EntityReference const& reference) const {
  return m_spAdpMgr ? m_spAdpMgr->hashCode(reference) : 0;
}

bool EntityCompare::equals(EntityPtr const& a, EntityPtr const& b) const {
  return equals(getEntityReferenceSafe(a), getEntityReferenceSafe(b));
}

bool EntityCompare::lessThan(EntityPtr const& a, EntityPtr const& b) const {
  return lessThan(getEntityReferenceSafe(a), getEntityReferenceSafe(b));
}

int EntityCompare::hashCode(EntityPtr const& entity) const { return hashCode(getEntityReferenceSafe(entity)); }

EntityPtr EntityCompare::getByEntityReference(EntityReference const& reference) const {
  EntityPtr entity;
  if (const auto& rootManager = appfw::ServiceCacheAppFrame::rootManager_) rootManager->getEntity(reference, entity);
  return entity;
}

EntityReference EntityCompare::getEntityReferenceSafe(EntityPtr const& entity) const {
  EntityReference reference;
  if (entity) entity->getReference(reference);
  return reference;
}

}  // namespace kyr::orla::plugin::wyrdan
