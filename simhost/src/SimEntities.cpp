#include "simhost/SimEntities.h"

#include <algorithm>
#include <functional>
#include <tuple>

#include "simhost/SimCommands.h"

namespace simhost {

using kyr::orla::appfw::IEntities;
using kyr::orla::appfw::IEntityInterface;
using kyr::orla::appfw::IEntityListInterface;
using kyr::orla::appfw::IEntRefContentIteratorInterface;
using kyr::orla::appfw::IEntRefInterface;
using kyr::orla::appfw::IURCommandInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceIteratorInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceListInterface;

SimEntity::SimEntity(SimContextPtr context, EntityReference reference, icu::UnicodeString name,
                     icu::UnicodeString typeName)
    : SimEOMBehaviour(std::move(context), "entity " + argumentText(reference), std::move(name), std::move(typeName),
                      guidOfWords(reference.first, reference.second, reference.third)),
      reference_(std::move(reference)) {}

GUIDDATA SimEntity::guidOfWords(std::uint32_t first, std::uint32_t second, std::uint32_t third) {
  GUIDDATA guid;
  guid.Data1 = first;
  guid.Data2 = static_cast<std::uint16_t>(second & 0xffffu);
  guid.Data3 = static_cast<std::uint16_t>(second >> 16);
  for (int byte = 0; byte < 4; ++byte) guid.Data4[byte] = static_cast<std::uint8_t>(third >> (8 * byte));
  const char tag[] = {'E', 'N', 'T', 'Y'};
  for (int byte = 0; byte < 4; ++byte) guid.Data4[4 + byte] = static_cast<std::uint8_t>(tag[byte]);
  return guid;
}

void SimEntity::makePlain() {
  setQueryStatus(Zol::EOM::IEOMObjectInterface::descriptor.typeId, Zol::kQueryNoInterface);
  setQueryStatus(Zol::EOM::IEOMDependenciesInterface::descriptor.typeId, Zol::kQueryNoInterface);
  plain_.store(true, std::memory_order_release);
}

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
  std::vector<EntityReference> references;
  references.reserve(children_.size());
  for (const Child& child : children_) references.push_back(child.reference);
  return references;
}

std::vector<SimEntity::Child> SimEntity::namedChildren() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return children_;
}

void SimEntity::setParent(EntityReference parent) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::swap(parent_, parent);
}

void SimEntity::addChild(EntityReference child, icu::UnicodeString name) {
  std::lock_guard<std::mutex> lock(mutex_);
  children_.push_back(Child{std::move(child), std::move(name)});
}

Zol::ZolResult_24_8 SimEntity::getReference(EntityReference& reference) {
  if (auto answered = call("getReference", out(reference))) return *answered;
  reference = reference_;
  return {};
}

Zol::ZolResult_24_8 SimEntity::setAttribute(const std::string& name, const Zol::ZolAny_24_8& value,
                                            ZolSmartPointer<IURCommandInterface>& undo) {
  if (auto answered = call("setAttribute", name, value, out(undo))) return *answered;
  const Zol::ZolAny_24_8 previous = putAttribute(name, value);
  ZolSmartPointer<SimEntity> self(this);
  undo = makeSimObject<SimURCommand>(
      context(), "set " + name, [self, name, previous] { self->putAttribute(name, previous); },
      [self, name, value] { self->putAttribute(name, value); });
  return {};
}

Zol::ZolResult_24_8 SimEntity::setParent(const ZolSmartPointer<IEntityInterface>& parent) {
  if (auto answered = call("setParent", parent)) return *answered;
  setParent(referenceOf(parent));
  return {};
}

Zol::ZolResult_24_8 SimEntity::addChild(const ZolSmartPointer<IEntityInterface>& child,
                                        const icu::UnicodeString& name) {
  if (auto answered = call("addChild", child, name)) return *answered;
  if (!child) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  addChild(referenceOf(child), name);
  return {};
}

Zol::ZolResult_24_8 SimEntity::getEntityName(icu::UnicodeString& name) {
  if (auto answered = call("getName", out(name))) return *answered;
  name = this->name();
  return {};
}

Zol::ZolResult_24_8 SimEntity::getEntityTypeName(icu::UnicodeString& typeName) {
  if (auto answered = call("getTypeName", out(typeName))) return *answered;
  typeName = this->typeName();
  return {};
}

EntityReference referenceOf(const ZolSmartPointer<IEntityInterface>& entity) {
  EntityReference reference;
  if (const auto* simulated = dynamic_cast<const SimEntity*>(entity.get())) return simulated->reference();
  if (entity) entity->getReference(reference);
  return reference;
}

SimPersistentState::SimPersistentState(EntityReference entity) : entity_(std::move(entity)) {}

SimPersistentState::~SimPersistentState() = default;

std::optional<GUIDDATA> SimPersistentState::guid() const { return guid_.get(); }
void SimPersistentState::setGUID(std::optional<GUIDDATA> guid) { guid_.set(guid); }
PersistentObjectPtr SimPersistentState::owner() const { return owner_.get(); }
void SimPersistentState::setOwner(PersistentObjectPtr owner) { owner_.set(std::move(owner)); }
bool SimPersistentState::eligible() const { return eligible_; }
void SimPersistentState::setEligible(bool eligible) { eligible_ = eligible; }

SimEntityReferenceIterator::SimEntityReferenceIterator(SimContextPtr context, std::vector<EntityReference> references)
    : SimObject(std::move(context), "entity reference iterator"), references_(std::move(references)) {}

bool SimEntityReferenceIterator::next(EntityReference& reference) {
  if (auto answered = callReturning<bool>("next", out(reference))) return *answered;
  if (position_ >= references_.size()) return false;
  reference = references_[position_++];
  return true;
}

SimEntRefContentIterator::SimEntRefContentIterator(SimContextPtr context,
                                                   std::vector<std::pair<std::uint32_t, std::uint32_t>> members)
    : SimObject(std::move(context), "container content iterator"), members_(std::move(members)) {}

bool SimEntRefContentIterator::next(std::uint32_t& firstId, std::uint32_t& secondId) {
  if (auto answered = callReturning<bool>("next", out(firstId), out(secondId))) return *answered;
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
  if (auto answered = call("getTypeIds", out(typeIds))) return *answered;
  ZolSequence<std::uint32_t> ids;
  for (const auto& entry : contents()) ids.push_back(entry.first);
  typeIds = std::move(ids);
  return {};
}

Zol::ZolResult_24_8 SimEntRefContainer::getContentIterator(std::uint32_t typeId,
                                                           ZolSmartPointer<IEntRefContentIteratorInterface>& iterator) {
  if (auto answered = call("getContentIterator", typeId, out(iterator))) return *answered;
  Members members;
  for (const auto& [id, typeMembers] : contents()) {
    if (id == typeId) members = typeMembers;
  }
  iterator = makeSimObject<SimEntRefContentIterator>(context(), std::move(members));
  return {};
}

Zol::ZolResult_24_8 SimEntRefContainer::getReference(EntityReference& reference) {
  if (auto answered = call("getReference", out(reference))) return *answered;
  reference = reference_;
  return {};
}

Zol::ZolResult_24_8 SimEntRefContainer::addContent(std::uint32_t typeId, const ZolSequence<std::uint32_t>& firstIds,
                                                   const ZolSequence<std::uint32_t>& secondIds) {
  if (auto answered = call("addContent", typeId, firstIds, secondIds)) return *answered;
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
  if (auto answered = call<IEntityReferenceConstListInterface>("getIterator", out(iterator))) return *answered;
  iterator = makeSimObject<SimEntityReferenceIterator>(context(), references());
  return {};
}

Zol::ZolResult_24_8 SimEntityReferenceList::getCount(std::uint32_t& count) {
  if (auto answered = call<IEntityReferenceConstListInterface>("getCount", out(count))) return *answered;
  count = static_cast<std::uint32_t>(references().size());
  return {};
}

Zol::ZolResult_24_8 SimEntityReferenceList::append(const EntityReference& reference) {
  if (auto answered = call("append", reference)) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  references_.push_back(reference);
  return {};
}

Zol::ZolResult_24_8 SimEntityReferenceList::getContainer(const Zol::ZolIService& owner, std::uint32_t first,
                                                         std::uint32_t second, std::uint32_t third,
                                                         ZolSmartPointer<IEntRefInterface>& container) {
  if (auto answered =
          call<kyr::orla::appfw::IEntRefListInterface>("getContainer", owner, first, second, third, out(container)))
    return *answered;
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
  if (auto answered = call<kyr::orla::appfw::IEntRefListInterface>("addContainer", container)) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  containers_.push_back(container);
  return {};
}

std::vector<EntityReference> referencesOf(const ZolSmartPointer<IEntityReferenceConstListInterface>& list) {
  if (const auto* simulated = dynamic_cast<const SimEntityReferenceList*>(list.get())) {
    std::vector<EntityReference> references = simulated->references();
    for (const auto& container : simulated->containers()) {
      if (const auto* held = dynamic_cast<const SimEntRefContainer*>(container.get())) {
        for (auto& member : held->memberReferences()) references.push_back(std::move(member));
      }
    }
    return references;
  }
  std::vector<EntityReference> references;
  ZolSmartPointer<IEntityReferenceIteratorInterface> iterator;
  if (list) list->getIterator(iterator);
  EntityReference reference;
  while (iterator && iterator->next(reference)) references.push_back(reference);
  return references;
}

Zol::ZolResult_24_8 SimEntityReferenceListFactory::createList(ZolSmartPointer<IEntityReferenceListInterface>& list) {
  if (auto answered = call("createList", out(list))) return *answered;
  list = makeSimObject<SimEntityReferenceList>(context());
  return {};
}

SimEntRefContainerFactory::SimEntRefContainerFactory(SimContextPtr context, std::string name,
                                                     Zol::ZolIService container)
    : SimObject(std::move(context), std::move(name)), container_(std::move(container)) {}

void SimEntRefContainerFactory::detach() { container_.set({}); }

Zol::ZolResult_24_8 SimEntRefContainerFactory::createContainer(const Zol::ZolIService& owner, std::uint32_t first,
                                                               std::uint32_t second, std::uint32_t third, bool attach,
                                                               ZolSmartPointer<IEntRefInterface>& container) {
  if (auto answered = call("createContainer", owner, first, second, third, attach, out(container))) return *answered;
  container =
      makeSimObject<SimEntRefContainer>(context(), owner, EntityReference{container_.get(), first, second, third});
  return {};
}

SimEntityList::SimEntityList(SimContextPtr context, IEntities entities)
    : SimObject(std::move(context), "entity list"), entities_(std::move(entities)) {}

Zol::ZolResult_24_8 SimEntityList::getEntityReferenceList(ZolSmartPointer<IEntityReferenceConstListInterface>& list) {
  if (auto answered = call("getEntityReferenceList", out(list))) return *answered;
  std::vector<EntityReference> references;
  references.reserve(entities_.size());
  for (const auto& entity : entities_) references.push_back(referenceOf(entity));
  list = makeSimObject<SimEntityReferenceList>(context(), std::move(references));
  return {};
}

SimAssembly::SimAssembly(SimContextPtr context, EntityReference entity)
    : SimObject(std::move(context), "assembly " + argumentText(entity)), entity_(std::move(entity)) {}

Zol::ZolResult_24_8 SimAssembly::getEntityReference(EntityReference& reference) {
  if (auto answered = call("getEntityReference", out(reference))) return *answered;
  reference = entity_;
  return {};
}

ZolSmartPointer<SimEntity> SimModel::addEntity(std::uint32_t first, std::uint32_t second, std::uint32_t third,
                                               icu::UnicodeString name, icu::UnicodeString typeName,
                                               EntityShape shape) {
  auto entity =
      makeSimObject<SimEntity>(context(), referenceOf(first, second, third), std::move(name), std::move(typeName));
  if (shape == EntityShape::Plain) entity->makePlain();
  std::lock_guard<std::mutex> lock(mutex_);
  entities_[Words{first, second, third}] = entity;
  return entity;
}

void SimModel::addEntity(const ZolSmartPointer<SimEntity>& entity) {
  const EntityReference& reference = entity->reference();
  ZolSmartPointer<SimEntity> replaced = entity;  // the replaced one goes outside the lock
  std::lock_guard<std::mutex> lock(mutex_);
  std::swap(entities_[Words{reference.first, reference.second, reference.third}], replaced);
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

ZolSmartPointer<SimAssembly> SimModel::makeRootAssembly(std::uint32_t first, std::uint32_t second, std::uint32_t third,
                                                        icu::UnicodeString name, icu::UnicodeString typeName) {
  const auto entity = addEntity(first, second, third, std::move(name), std::move(typeName));
  auto assembly = makeSimObject<SimAssembly>(context(), entity->reference());
  setRootAssembly(assembly);
  return assembly;
}

void SimModel::setRootAssembly(ZolSmartPointer<SimAssembly> assembly) { rootAssembly_.set(std::move(assembly)); }

void SimModel::clear() {
  rootAssembly_.set({});
  designPart_.set({});
  decltype(entities_) released;
  std::lock_guard<std::mutex> lock(mutex_);
  released.swap(entities_);
}

Zol::ZolResult_24_8 SimModel::getRootAssembly(
    ZolSmartPointer<Zol::PersistenceFW::CAEData::IAssemblyInterface>& assembly) {
  if (auto answered = call("getRootAssembly", out(assembly))) return *answered;
  assembly = rootAssembly_.get();
  return {};
}

Zol::ZolResult_24_8 SimModel::getCurrentDesignPart(ZolSmartPointer<Zol::PersistenceFW::CAEData::IPartInterface>& part) {
  if (auto answered = call("getCurrentDesignPart", out(part))) return *answered;
  part = designPart_.get();
  return {};
}

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
