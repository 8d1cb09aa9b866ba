#include "WyrdanPluginUtilities/entities/EntityCompare.h"

#include <atomic>
#include <mutex>
#include <utility>

#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

using Zol::PersistenceFW::CAEData::EntityReference;
using EntityPtr = ZolSmartPointer<appfw::IEntityInterface>;

namespace {

// The manager m_spAdpMgr holds, published with release order once it holds
// it, so that comparisons on any thread read it without a lock; null until
// then. Neither changes again before unload.
std::atomic<appfw::IInterfaceAdapterManagerInterface*> adapterManager{nullptr};

// Serialises the constructions that found a manager at once: the first keeps
// its own.
std::mutex keepMutex;

appfw::IInterfaceAdapterManagerInterface* keptManager() { return adapterManager.load(std::memory_order_acquire); }

}  // namespace

ZolSmartPointer<appfw::IInterfaceAdapterManagerInterface> EntityCompare::m_spAdpMgr;

const Zol::ZolHoldingsRegistration EntityCompare::m_holdings("EntityCompare", [](Zol::ZolHeldReferences& held) {
  held.add("adapter manager", m_spAdpMgr);
});

EntityCompare::EntityCompare() { findAdapterManager(); }

// The cast runs outside the lock; a manager found by a construction that
// lost the race is released after it.
void EntityCompare::findAdapterManager() {
  if (keptManager() != nullptr) return;
  auto found =
      Zol::interfaceCastOrThrow<appfw::IInterfaceAdapterManagerInterface>(appfw::ServiceCacheAppFrame::rootManager_);
  if (!found) return;
  const std::lock_guard<std::mutex> lock(keepMutex);
  if (m_spAdpMgr) return;
  m_spAdpMgr = std::move(found);
  adapterManager.store(m_spAdpMgr.get(), std::memory_order_release);
}

// The adapter manager is missing when every construction so far met a host
// without a root manager: then nothing is equal, nothing is less, and every
// hash is 0, instead of a call through an empty pointer.
bool EntityCompare::equals(EntityReference const& a, EntityReference const& b) const {
  auto* const manager = keptManager();
  return manager != nullptr && manager->areEqual(a, b);
}

bool EntityCompare::lessThan(EntityReference const& a, EntityReference const& b) const {
  auto* const manager = keptManager();
  return manager != nullptr && manager->isLess(a, b);
}

int EntityCompare::hashCode(EntityReference const& reference) const {
  auto* const manager = keptManager();
  return manager != nullptr ? manager->hashCode(reference) : 0;
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
