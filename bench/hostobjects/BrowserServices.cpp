#include "hostobjects/BrowserServices.h"

#include <memory>
#include <utility>
#include <vector>

namespace bench {

namespace {

using kyr::orla::appfw::IEntities;
using Zol::Framework::ZolEvent;
using Zol::PersistenceFW::CAEData::EntityReference;
using Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceIteratorInterface;
using ListenerPtr = ZolSmartPointer<Zol::Framework::ZolIEventListenerInterface>;
using ConstListPtr = ZolSmartPointer<IEntityReferenceConstListInterface>;

Zol::ZolResult_24_8 failure() { return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure); }

// Walks a ReferenceVector from its first reference.
class ReferenceIterator final : public HostObject<IEntityReferenceIteratorInterface> {
 public:
  explicit ReferenceIterator(std::shared_ptr<const std::vector<EntityReference>> references)
      : references_(std::move(references)) {}

  bool next(EntityReference& reference) override {
    if (next_ == references_->size()) return false;
    reference = (*references_)[next_++];
    return true;
  }

 private:
  const std::shared_ptr<const std::vector<EntityReference>> references_;
  std::size_t next_ = 0;
};

// A read-only reference list over a vector its iterators share.
class ReferenceVector final : public HostObject<IEntityReferenceConstListInterface> {
 public:
  explicit ReferenceVector(std::vector<EntityReference> references)
      : references_(std::make_shared<const std::vector<EntityReference>>(std::move(references))) {}

  Zol::ZolResult_24_8 getIterator(ZolSmartPointer<IEntityReferenceIteratorInterface>& iterator) override {
    iterator = makeHostObject<ReferenceIterator>(references_);
    return {};
  }
  Zol::ZolResult_24_8 getCount(std::uint32_t& count) override {
    count = static_cast<std::uint32_t>(references_->size());
    return {};
  }

 private:
  const std::shared_ptr<const std::vector<EntityReference>> references_;
};

// An entity list holding its entities; its reference list is made on request.
class EntityList final : public HostObject<kyr::orla::appfw::IEntityListInterface> {
 public:
  explicit EntityList(IEntities entities) : entities_(std::move(entities)) {}

  Zol::ZolResult_24_8 getEntityReferenceList(ConstListPtr& list) override {
    std::vector<EntityReference> references(entities_.size());
    for (std::size_t i = 0; i < references.size(); ++i) entities_[i]->getReference(references[i]);
    list = makeHostObject<ReferenceVector>(std::move(references));
    return {};
  }

 private:
  const IEntities entities_;
};

}  // namespace

Zol::ZolResult_24_8 CountingEventManager::lookUpDomainId(const std::string& name, std::int64_t& id) {
  if (name == "kyr.orla.appfw.Entity") {
    id = kModelDomain;
  } else if (name == "KYR.Plugins.ModelingPlugin.StudyManager") {
    id = kStudyDomain;
  } else {
    return failure();
  }
  return {};
}

Zol::ZolResult_24_8 CountingEventManager::createDomainId(const std::string& /*name*/, std::int64_t& /*id*/) {
  return failure();
}

Zol::ZolResult_24_8 CountingEventManager::createChannelId(std::int64_t& /*id*/) { return failure(); }

Zol::ZolResult_24_8 CountingEventManager::addListener(std::int64_t /*id*/, const ListenerPtr& /*listener*/,
                                                      std::int32_t /*mode*/,
                                                      const Zol::Framework::EventFilter& /*filter*/) {
  return failure();
}

Zol::ZolResult_24_8 CountingEventManager::addListenerForAllEvents(std::int64_t /*id*/, const ListenerPtr& /*listener*/,
                                                                  std::int32_t /*mode*/) {
  return failure();
}

Zol::ZolResult_24_8 CountingEventManager::fireEvent(const ZolEvent& /*event*/, std::int32_t /*value*/,
                                                    const ListenerPtr& /*sender*/) {
  return failure();
}

Zol::ZolResult_24_8 CountingEventManager::publishEvent(const ZolEvent& event, std::int32_t /*value*/) {
  ++published_;
  if (keep_) last_ = event;
  return {};
}

Zol::ZolResult_24_8 CountingEventManager::removeListener(std::int64_t /*id*/, const ListenerPtr& /*listener*/) {
  return failure();
}

Zol::ZolResult_24_8 ListingRootManager::getEntity(const EntityReference& /*reference*/, EntityPtr& entity) {
  entity.reset();
  return {};
}

Zol::ZolResult_24_8 ListingRootManager::makeEntityList(const IEntities& entities,
                                                       ZolSmartPointer<kyr::orla::appfw::IEntityListInterface>& list) {
  list = makeHostObject<EntityList>(entities);
  return {};
}

}  // namespace bench
