#include "workloads/EntityWorkloads.h"

#include <utility>

#include <benchmark/benchmark.h>

#include "WyrdanPluginUtilities/entities/EntConvert.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"

namespace bench {

namespace {

using kyr::orla::appfw::IEntities;
using kyr::orla::appfw::IEntityInterface;
using kyr::orla::appfw::ServiceCacheAppFrame;
using Zol::PersistenceFW::CAEData::EntityReference;

// The words of the model's entities: (kFirst, id, 0) for ids 1 to entries.
constexpr std::uint32_t kFirst = 7;

}  // namespace

LocklessRootManager::LocklessRootManager(simhost::SimContextPtr context, Zol::ZolIService model, std::uint32_t first,
                                         Entities entities)
    : SimObject(std::move(context), "lockless root manager"),
      model_(std::move(model)),
      first_(first),
      entities_(std::move(entities)) {}

Zol::ZolResult_24_8 LocklessRootManager::getEntity(const EntityReference& reference,
                                                   ZolSmartPointer<IEntityInterface>& entity) {
  const std::size_t index = reference.second - std::size_t{1};
  if (reference.container == model_ && reference.first == first_ && reference.third == 0 && index < entities_.size()) {
    entity = entities_[index];
  } else {
    entity.reset();
  }
  return {};
}

Zol::ZolResult_24_8 LocklessRootManager::makeEntityList(const IEntities& entities,
                                                        ZolSmartPointer<kyr::orla::appfw::IEntityListInterface>& list) {
  list = simhost::makeSimObject<simhost::SimEntityList>(context(), entities);
  return {};
}

EntityModel::EntityModel(long entries, RootManager rootManager) {
  host_.journal().setEnabled(false);
  references_.reserve(static_cast<std::size_t>(entries));
  entities_.reserve(static_cast<std::size_t>(entries));
  for (long id = 1; id <= entries; ++id) {
    auto entity = host_.model().addEntity(kFirst, static_cast<std::uint32_t>(id), 0, "node", "Node");
    references_.push_back(entity->reference());
    entities_.emplace_back(std::move(entity));
  }
  if (rootManager == RootManager::Lockless) {
    hostRootManager_ = ServiceCacheAppFrame::rootManager_;
    ServiceCacheAppFrame::rootManager_ =
        simhost::makeSimObject<LocklessRootManager>(host_.context(), host_.model().asService(), kFirst, entities_);
  }
}

EntityModel::~EntityModel() {
  if (hostRootManager_) ServiceCacheAppFrame::rootManager_ = std::move(hostRootManager_);
}

bool EntityModel::resolvesAll(const IEntities& entities) const {
  if (entities.size() != entities_.size()) return false;
  for (std::size_t i = 0; i < entities_.size(); ++i) {
    if (entities[i] != entities_[i]) return false;
  }
  return true;
}

ToEntities::ToEntities(long entries, RootManager rootManager) : model_(entries, rootManager) {}

void ToEntities::run() const {
  const IEntities entities = kyr::orla::plugin::wyrdan::EntConvert().toEntities(model_.references());
  benchmark::DoNotOptimize(entities.size());
}

bool ToEntities::verify() const {
  return model_.resolvesAll(kyr::orla::plugin::wyrdan::EntConvert().toEntities(model_.references()));
}

ResolveEach::ResolveEach(long entries, RootManager rootManager)
    : model_(entries, rootManager), rootManager_(ServiceCacheAppFrame::rootManager_) {}

void ResolveEach::run() const {
  const IEntities entities = resolve();
  benchmark::DoNotOptimize(entities.size());
}

bool ResolveEach::verify() const { return model_.resolvesAll(resolve()); }

IEntities ResolveEach::resolve() const {
  IEntities entities;
  entities.reserve(model_.references().size());
  ZolSmartPointer<IEntityInterface> entity;
  for (const EntityReference& reference : model_.references()) {
    rootManager_->getEntity(reference, entity);
    entities.push_back(std::move(entity));
  }
  return entities;
}

}  // namespace bench
