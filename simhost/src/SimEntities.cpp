#include "simhost/SimEntities.h"

#include <algorithm>
#include <tuple>

#include "simhost/SimCommands.h"

namespace simhost {

using kyr::orla::appfw::IEntRefContentIteratorInterface;
using kyr::orla::appfw::IEntRefInterface;
using kyr::orla::appfw::IEntities;
using kyr::orla::appfw::IEntityInterface;
using kyr::orla::appfw::IEntityListInterface;
using kyr::orla::appfw::IURCommandInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceIteratorInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceListInterface;

SimEntity::SimEntity(SimContextPtr context, EntityReference reference, icu::UnicodeString name,
                     icu::UnicodeString typeName)
    : SimObject(std::move(context), "entity " + argumentText(reference)),
      reference_(std::move(reference)),
      name_(std::move(name)),
      typeName_(std::move(typeName)) {}

Zol::ZolAny_24_8 SimEntity::attribute(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = attributes_.find(name);
  return it == attributes_.end() ? Zol::ZolAny_24_8() : it->second;
}

std::map<std::string, Zol::ZolAny_24_8> SimEntity::attributes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return attributes_;
}

Zol::ZolAny_24_8 SimEntity::putAttribute(const std::string& name, const Zol::ZolAny_24_8& value) {
  std::lock_guard<std::mutex> lock(mutex_);
  Zol::ZolAny_24_8& slot = attributes_[name];
  Zol::ZolAny_24_8 previous = std::move(slot);
  slot = value;
  return previous;
}

EntityReference SimEntity::parent() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return parent_;
}

std::vector<EntityReference> SimEntity::children() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return children_;
}

void SimEntity::setParent(EntityReference parent) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::swap(parent_, parent);
}

void SimEntity::addChild(EntityReference child) {
  std::lock_guard<std::mutex> lock(mutex_);
  children_.push_back(std::move(child));
}

Zol::ZolResult_24_8 SimEntity::getReference(EntityReference& reference) {
  if (Zol::ZolResult_24_8 fault = call("getReference"); !fault.isOk()) return fault;
  reference = reference_;
  return {};
}

Zol::ZolResult_24_8 SimEntity::setAttribute(const std::string& name, const Zol::ZolAny_24_8& value,
                                            ZolSmartPointer<IURCommandInterface>& undo) {
  if (Zol::ZolResult_24_8 fault = call("setAttribute", name, value); !fault.isOk()) return fault;
  const Zol::ZolAny_24_8 previous = putAttribute(name, value);
  ZolSmartPointer<SimEntity> self(this);
  undo = makeSimObject<SimURCommand>(
      context(), "set " + name, [self, name, previous] { self->putAttribute(name, previous); },
      [self, name, value] { self->putAttribute(name, value); });
  return {};
}

EntityReference referenceOf(const ZolSmartPointer<IEntityInterface>& entity) {
  EntityReference reference;
  if (const auto* simulated = dynamic_cast<const SimEntity*>(entity.get())) return simulated->reference();
  if (entity) entity->getReference(reference);
  return reference;
}

SimPersistentObject::SimPersistentObject(SimContextPtr context, std::string name, EntityReference entity)
    : SimObject(std::move(context), std::move(name)), entity_(std::move(entity)) {}

Zol::ZolResult_24_8 SimPersistentObject::getEntityReference(EntityReference& reference) {
  if (Zol::ZolResult_24_8 fault = call("getEntityReference"); !fault.isOk()) return fault;
  if (!entity_.container) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  reference = entity_;
  return {};
}

SimEntityReferenceIterator::SimEntityReferenceIterator(SimContextPtr context, std::vector<EntityReference> references)
    : SimObject(std::move(context), "entity reference iterator"), references_(std::move(references)) {}

bool SimEntityReferenceIterator::next(EntityReference& reference) {
  call("next");
  if (position_ >= references_.size()) return false;
  reference = references_[position_++];
  return true;
}

SimEntRefContentIterator::SimEntRefContentIterator(SimContextPtr context,
                                                   std::vector<std::pair<std::uint32_t, std::uint32_t>> members)
    : SimObject(std::move(context), "container content iterator"), members_(std::move(members)) {}

bool SimEntRefContentIterator::next(std::uint32_t& firstId, std::uint32_t& secondId) {
  call("next");
  if (position_ >= members_.size()) return false;
  std::tie(firstId, secondId) = members_[position_++];
  return true;
}

SimEntRefContainer::SimEntRefContainer(SimContextPtr context, Zol::ZolIService owner, EntityReference reference)
    : SimObject(std::move(context), "container " + argumentText(reference)),
      owner_(std::move(owner)),
      reference_(std::move(reference)) {}

std::vector<std::pair<std::uint32_t, SimEntRefContainer::Members>> SimEntRefContainer::contents() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return contents_;
}

std::vector<EntityReference> SimEntRefContainer::memberReferences() const {
  std::vector<EntityReference> references;
  for (const auto& [typeId, members] : contents()) {
    for (const auto& [first, second] : members) {
      references.push_back(EntityReference{reference_.container, typeId, first, second});
    }
  }
  return references;
}

Zol::ZolResult_24_8 SimEntRefContainer::getTypeIds(ZolSequence<std::uint32_t>& typeIds) {
  if (Zol::ZolResult_24_8 fault = call("getTypeIds"); !fault.isOk()) return fault;
  ZolSequence<std::uint32_t> ids;
  for (const auto& entry : contents()) ids.push_back(entry.first);
  typeIds = std::move(ids);
  return {};
}

Zol::ZolResult_24_8 SimEntRefContainer::getContentIterator(std::uint32_t typeId,
                                                           ZolSmartPointer<IEntRefContentIteratorInterface>& iterator) {
  if (Zol::ZolResult_24_8 fault = call("getContentIterator", typeId); !fault.isOk()) return fault;
  Members members;
  for (const auto& [id, typeMembers] : contents()) {
    if (id == typeId) members = typeMembers;
  }
  iterator = makeSimObject<SimEntRefContentIterator>(context(), std::move(members));
  return {};
}

Zol::ZolResult_24_8 SimEntRefContainer::getReference(EntityReference& reference) {
  if (Zol::ZolResult_24_8 fault = call("getReference"); !fault.isOk()) return fault;
  reference = reference_;
  return {};
}

Zol::ZolResult_24_8 SimEntRefContainer::addContent(std::uint32_t typeId, const ZolSequence<std::uint32_t>& firstIds,
                                                   const ZolSequence<std::uint32_t>& secondIds) {
  if (Zol::ZolResult_24_8 fault = call("addContent", typeId, firstIds, secondIds); !fault.isOk()) return fault;
  std::lock_guard<std::mutex> lock(mutex_);
  auto entry = std::find_if(contents_.begin(), contents_.end(), [&](const auto& e) { return e.first == typeId; });
  if (entry == contents_.end()) entry = contents_.insert(contents_.end(), {typeId, {}});
  for (std::size_t i = 0; i < firstIds.size(); ++i) {
    entry->second.emplace_back(firstIds[i], i < secondIds.size() ? secondIds[i] : 0);
  }
  return {};
}

SimEntityReferenceList::SimEntityReferenceList(SimContextPtr context, std::vector<EntityReference> references)
    : SimObject(std::move(context), "entity reference list"), references_(std::move(references)) {}

std::vector<EntityReference> SimEntityReferenceList::references() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return references_;
}

std::vector<ZolSmartPointer<IEntRefInterface>> SimEntityReferenceList::containers() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return containers_;
}

Zol::ZolResult_24_8 SimEntityReferenceList::getIterator(ZolSmartPointer<IEntityReferenceIteratorInterface>& iterator) {
  if (Zol::ZolResult_24_8 fault = call<IEntityReferenceConstListInterface>("getIterator"); !fault.isOk()) {
    return fault;
  }
  iterator = makeSimObject<SimEntityReferenceIterator>(context(), references());
  return {};
}

Zol::ZolResult_24_8 SimEntityReferenceList::getCount(std::uint32_t& count) {
  if (Zol::ZolResult_24_8 fault = call<IEntityReferenceConstListInterface>("getCount"); !fault.isOk()) return fault;
  count = static_cast<std::uint32_t>(references().size());
  return {};
}

Zol::ZolResult_24_8 SimEntityReferenceList::append(const EntityReference& reference) {
  if (Zol::ZolResult_24_8 fault = call("append", reference); !fault.isOk()) return fault;
  std::lock_guard<std::mutex> lock(mutex_);
  references_.push_back(reference);
  return {};
}

Zol::ZolResult_24_8 SimEntityReferenceList::getContainer(const Zol::ZolIService& owner, std::uint32_t first,
                                                         std::uint32_t second, std::uint32_t third,
                                                         ZolSmartPointer<IEntRefInterface>& container) {
  if (Zol::ZolResult_24_8 fault =
          call<kyr::orla::appfw::IEntRefListInterface>("getContainer", owner, first, second, third);
      !fault.isOk()) {
    return fault;
  }
  for (const auto& candidate : containers()) {
    const auto* held = dynamic_cast<const SimEntRefContainer*>(candidate.get());
    if (held && Zol::isSameObject(held->owner(), owner) && held->reference().first == first &&
        held->reference().second == second && held->reference().third == third) {
      container = candidate;
      return {};
    }
  }
  return {};
}

Zol::ZolResult_24_8 SimEntityReferenceList::addContainer(const ZolSmartPointer<IEntRefInterface>& container) {
  if (Zol::ZolResult_24_8 fault = call<kyr::orla::appfw::IEntRefListInterface>("addContainer", container);
      !fault.isOk()) {
    return fault;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  containers_.push_back(container);
  return {};
}

Zol::ZolResult_24_8 SimEntityReferenceListFactory::createList(ZolSmartPointer<IEntityReferenceListInterface>& list) {
  if (Zol::ZolResult_24_8 fault = call("createList"); !fault.isOk()) return fault;
  list = makeSimObject<SimEntityReferenceList>(context());
  return {};
}

SimEntRefContainerFactory::SimEntRefContainerFactory(SimContextPtr context, std::string name,
                                                     Zol::ZolIService container)
    : SimObject(std::move(context), std::move(name)), container_(std::move(container)) {}

void SimEntRefContainerFactory::detach() { container_.set({}); }

Zol::ZolResult_24_8 SimEntRefContainerFactory::createContainer(const Zol::ZolIService& owner, std::uint32_t first,
                                                               std::uint32_t second, std::uint32_t third,
                                                               bool attach,
                                                               ZolSmartPointer<IEntRefInterface>& container) {
  if (Zol::ZolResult_24_8 fault = call("createContainer", owner, first, second, third, attach); !fault.isOk()) {
    return fault;
  }
  container =
      makeSimObject<SimEntRefContainer>(context(), owner, EntityReference{container_.get(), first, second, third});
  return {};
}

SimEntityList::SimEntityList(SimContextPtr context, IEntities entities)
    : SimObject(std::move(context), "entity list"), entities_(std::move(entities)) {}

Zol::ZolResult_24_8 SimEntityList::getEntityReferenceList(ZolSmartPointer<IEntityReferenceConstListInterface>& list) {
  if (Zol::ZolResult_24_8 fault = call("getEntityReferenceList"); !fault.isOk()) return fault;
  std::vector<EntityReference> references;
  references.reserve(entities_.size());
  for (const auto& entity : entities_) references.push_back(referenceOf(entity));
  list = makeSimObject<SimEntityReferenceList>(context(), std::move(references));
  return {};
}

void SimEOMObjectFactory::setWrapper(const Zol::ZolIService& object,
                                     const ZolSmartPointer<Zol::EOM::IEOMObjectInterface>& eomObject) {
  std::lock_guard<std::mutex> lock(mutex_);
  wrappers_.emplace_back(object, eomObject);
}

void SimEOMObjectFactory::clear() {
  decltype(wrappers_) released;
  std::lock_guard<std::mutex> lock(mutex_);
  released.swap(wrappers_);
}

Zol::ZolResult_24_8 SimEOMObjectFactory::wrap(const Zol::ZolIService& object,
                                              ZolSmartPointer<Zol::EOM::IEOMObjectInterface>& eomObject) {
  if (Zol::ZolResult_24_8 fault = call("wrap", object); !fault.isOk()) return fault;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [wrapped, wrapper] : wrappers_) {
    if (Zol::isSameObject(wrapped, object)) {
      eomObject = wrapper;
      return {};
    }
  }
  return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
}

ZolSmartPointer<SimEntity> SimModel::addEntity(std::uint32_t first, std::uint32_t second, std::uint32_t third,
                                               icu::UnicodeString name, icu::UnicodeString typeName) {
  auto entity =
      makeSimObject<SimEntity>(context(), referenceOf(first, second, third), std::move(name), std::move(typeName));
  std::lock_guard<std::mutex> lock(mutex_);
  entities_[Words{first, second, third}] = entity;
  return entity;
}

void SimModel::removeEntity(std::uint32_t first, std::uint32_t second, std::uint32_t third) {
  ZolSmartPointer<SimEntity> removed;  // released outside the lock
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = entities_.find(Words{first, second, third});
  if (it == entities_.end()) return;
  removed = std::move(it->second);
  entities_.erase(it);
}

EntityReference SimModel::referenceOf(std::uint32_t first, std::uint32_t second, std::uint32_t third) {
  return EntityReference{asService(), first, second, third};
}

ZolSmartPointer<SimEntity> SimModel::findEntity(const EntityReference& reference) const {
  if (reference.container.get() != identity()) return {};
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = entities_.find(Words{reference.first, reference.second, reference.third});
  return it == entities_.end() ? ZolSmartPointer<SimEntity>() : it->second;
}

std::vector<ZolSmartPointer<SimEntity>> SimModel::entities() const {
  std::vector<ZolSmartPointer<SimEntity>> all;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& entry : entities_) all.push_back(entry.second);
  }
  std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
    const EntityReference& x = a->reference();
    const EntityReference& y = b->reference();
    return std::tie(x.first, x.second, x.third) < std::tie(y.first, y.second, y.third);
  });
  return all;
}

void SimModel::clear() {
  decltype(entities_) released;
  std::lock_guard<std::mutex> lock(mutex_);
  released.swap(entities_);
}

SimRootManager::SimRootManager(SimContextPtr context, std::string name, ZolSmartPointer<SimModel> model)
    : SimObject(std::move(context), std::move(name)), model_(std::move(model)) {}

void SimRootManager::detach() { model_.set({}); }

Zol::ZolResult_24_8 SimRootManager::getEntity(const EntityReference& reference,
                                              ZolSmartPointer<IEntityInterface>& entity) {
  if (Zol::ZolResult_24_8 fault = call("getEntity", reference); !fault.isOk()) return fault;
  if (const ZolSmartPointer<SimModel> model = model_.get()) entity = model->findEntity(reference);
  return {};
}

Zol::ZolResult_24_8 SimRootManager::makeEntityList(const IEntities& entities, ZolSmartPointer<IEntityListInterface>& list) {
  if (Zol::ZolResult_24_8 fault = call("makeEntityList", entities); !fault.isOk()) return fault;
  list = makeSimObject<SimEntityList>(context(), entities);
  return {};
}

}  // namespace simhost
