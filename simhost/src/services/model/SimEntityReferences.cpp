#include "simhost/services/model/SimEntityReferences.h"

#include <algorithm>
#include <tuple>

#include "simhost/services/model/SimModel.h"

namespace simhost {

using kyr::orla::appfw::IEntities;
using kyr::orla::appfw::IEntRefContentIteratorInterface;
using kyr::orla::appfw::IEntRefInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceIteratorInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceListInterface;

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

std::vector<EntityReference> SimEntityReferenceList::allReferences() const {
  std::vector<EntityReference> all = references();
  for (const auto& container : containers()) {
    if (const auto* held = dynamic_cast<const SimEntRefContainer*>(container.get())) {
      for (auto& member : held->memberReferences()) all.push_back(std::move(member));
    }
  }
  return all;
}

std::vector<Payload::Field> SimEntityReferenceList::payloadFields() const {
  std::vector<Payload::Field> fields;
  for (const EntityReference& reference : allReferences()) {
    fields.push_back({std::to_string(fields.size()), Payload::of(reference)});
  }
  return fields;
}

std::vector<EntityReference> referencesOf(const ZolSmartPointer<IEntityReferenceConstListInterface>& list) {
  if (const auto* simulated = dynamic_cast<const SimEntityReferenceList*>(list.get())) {
    return simulated->allReferences();
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

}  // namespace simhost
