#include "simhost/services/model/SimModel.h"

#include <algorithm>
#include <tuple>

#include "simhost/services/commands/SimCommands.h"

namespace simhost {

using kyr::orla::appfw::IEntityInterface;
using kyr::orla::appfw::IURCommandInterface;

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

void SimEntity::reportHoldings(Zol::ZolHeldReferences& held) const {
  SimEOMBehaviour::reportHoldings(held);
  held.add("reference", reference_.container);
  std::lock_guard<std::mutex> lock(mutex_);
  held.add("parent", parent_.container);
  for (const Child& child : children_) held.add("child", child.reference.container);
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

}  // namespace simhost
