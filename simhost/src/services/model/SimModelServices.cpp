#include "simhost/services/model/SimModelServices.h"

#include <algorithm>
#include <functional>
#include <tuple>

#include "simhost/services/model/SimEntityReferences.h"

namespace simhost {

using kyr::orla::appfw::IEntities;
using kyr::orla::appfw::IEntityInterface;
using kyr::orla::appfw::IEntityListInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceListInterface;

SimEOMObjectFactory::SimEOMObjectFactory(SimContextPtr context, std::string name, ZolSmartPointer<SimModel> model)
    : SimObject(std::move(context), std::move(name)), model_(std::move(model)) {}

void SimEOMObjectFactory::setWrapper(const Zol::ZolIService& object, const EOMObjectPtr& eomObject) {
  std::lock_guard<std::mutex> lock(mutex_);
  wrappers_.emplace_back(object, eomObject);
}

void SimEOMObjectFactory::addObject(const EOMObjectPtr& object) {
  std::lock_guard<std::mutex> lock(mutex_);
  objects_.push_back(object);
}

EOMObjectPtr SimEOMObjectFactory::find(const GUIDDATA& guid) const {
  if (guid == GUIDDATA{}) return {};
  std::vector<EOMObjectPtr> candidates;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    candidates = objects_;
  }
  // GUIDs are read outside the lock: a foreign object answers for itself.
  for (const EOMObjectPtr& candidate : candidates) {
    if (guidOf(candidate) == guid) return candidate;
  }
  if (const ZolSmartPointer<SimModel> model = model_.get()) {
    for (const ZolSmartPointer<SimEntity>& entity : model->entities()) {
      if (entity->shape() == EntityShape::EngineeringObject && entity->guid() == guid) return entity;
    }
  }
  return {};
}

std::vector<Zol::EOM::IEOMObjectSequence> SimEOMObjectFactory::bulkGenerations() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return generations_;
}

void SimEOMObjectFactory::clear() {
  model_.set({});
  decltype(wrappers_) wrappers;
  decltype(objects_) objects;
  decltype(generations_) generations;
  std::lock_guard<std::mutex> lock(mutex_);
  wrappers.swap(wrappers_);
  objects.swap(objects_);
  generations.swap(generations_);
}

Zol::ZolResult_24_8 SimEOMObjectFactory::wrap(const Zol::ZolIService& object, EOMObjectPtr& eomObject) {
  if (auto answered = call("wrap", object, out(eomObject))) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [wrapped, wrapper] : wrappers_) {
    if (Zol::isSameObject(wrapped, object)) {
      eomObject = wrapper;
      return {};
    }
  }
  return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
}

Zol::ZolResult_24_8 SimEOMObjectFactory::open(const GUIDDATA& guid, EOMObjectPtr& eomObject) {
  if (auto answered = call("open", guid, out(eomObject))) return *answered;
  eomObject = find(guid);
  return eomObject ? Zol::ZolResult_24_8() : Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
}

Zol::ZolResult_24_8 SimEOMObjectFactory::bulkGenerate(const Zol::EOM::IEOMObjectSequence& objects) {
  if (auto answered = call<Zol::EOM::IEOMDependencyManagerInterface>("bulkGenerate", objects)) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  generations_.push_back(objects);
  return {};
}

void SimEOMObjectFactory::setTrackingState(bool suspended, bool restoring) {
  std::lock_guard<std::mutex> lock(mutex_);
  trackingState_ = {suspended, restoring};
}

Zol::ZolResult_24_8 SimEOMObjectFactory::getTrackingState(bool& suspended, bool& restoring) {
  if (auto answered = call<Zol::EOM::IEOMUndoRedoInterface>("getTrackingState", out(suspended), out(restoring)))
    return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  std::tie(suspended, restoring) = trackingState_;
  return {};
}

Zol::ZolResult_24_8 SimSelectionManager::createEntityReferenceList(
    ZolSmartPointer<IEntityReferenceListInterface>& list) {
  if (auto answered = call("createEntityReferenceList", out(list))) return *answered;
  list = makeSimObject<SimEntityReferenceList>(context());
  return {};
}

SimRootManager::SimRootManager(SimContextPtr context, std::string name, ZolSmartPointer<SimModel> model)
    : SimObject(std::move(context), std::move(name)), model_(std::move(model)) {}

void SimRootManager::detach() { model_.set({}); }

namespace {
Synchronized<SimRootManager::Hash>& processHash() {
  static auto* hash = new Synchronized<SimRootManager::Hash>();  // root managers outlive static destruction
  return *hash;
}
}  // namespace

void SimRootManager::setHash(Hash hash) { processHash().set(std::move(hash)); }

std::int32_t SimRootManager::defaultHash(const EntityReference& reference) noexcept {
  const std::uint32_t hash = (reference.first * 31u + reference.second) * 31u + reference.third;
  return static_cast<std::int32_t>(hash);
}

namespace {

// The container's "Zol.ZolIService" identity; null for no container.
const void* identityOf(const Zol::ZolIService& container) {
  if (!container) return nullptr;
  void* out = nullptr;
  container->queryInterface(Zol::ZolIServiceInterface::descriptor.typeId, &out);
  if (out) static_cast<Zol::ZolIServiceInterface*>(out)->releaseReference();
  return out;
}

}  // namespace

bool SimRootManager::areEqual(const EntityReference& a, const EntityReference& b) {
  if (auto answered = callReturning<bool, kyr::orla::appfw::IInterfaceAdapterManagerInterface>("areEqual", a, b)) {
    return *answered;
  }
  return identityOf(a.container) == identityOf(b.container) &&
         std::tie(a.first, a.second, a.third) == std::tie(b.first, b.second, b.third);
}

bool SimRootManager::isLess(const EntityReference& a, const EntityReference& b) {
  if (auto answered = callReturning<bool, kyr::orla::appfw::IInterfaceAdapterManagerInterface>("isLess", a, b)) {
    return *answered;
  }
  const void* left = identityOf(a.container);
  const void* right = identityOf(b.container);
  if (left != right) return std::less<const void*>()(left, right);
  return std::tie(a.first, a.second, a.third) < std::tie(b.first, b.second, b.third);
}

std::int32_t SimRootManager::hashCode(const EntityReference& reference) {
  if (auto answered =
          callReturning<std::int32_t, kyr::orla::appfw::IInterfaceAdapterManagerInterface>("hashCode", reference)) {
    return *answered;
  }
  const Hash hash = processHash().get();
  return hash ? hash(reference) : defaultHash(reference);
}

Zol::ZolResult_24_8 SimRootManager::getEntity(const EntityReference& reference,
                                              ZolSmartPointer<IEntityInterface>& entity) {
  if (auto answered = call("getEntity", reference, out(entity))) return *answered;
  if (const ZolSmartPointer<SimModel> model = model_.get()) entity = model->findEntity(reference);
  return {};
}

Zol::ZolResult_24_8 SimRootManager::makeEntityList(const IEntities& entities,
                                                   ZolSmartPointer<IEntityListInterface>& list) {
  if (auto answered = call("makeEntityList", entities, out(list))) return *answered;
  const auto empty = std::find_if(entities.begin(), entities.end(), [](const auto& entity) { return !entity; });
  if (empty != entities.end()) {
    context()->failures.record("root manager", "makeEntityList: entity " + std::to_string(empty - entities.begin()) +
                                                   " of " + std::to_string(entities.size()) + " is empty");
    return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  }
  list = makeSimObject<SimEntityList>(context(), entities);
  return {};
}

}  // namespace simhost
