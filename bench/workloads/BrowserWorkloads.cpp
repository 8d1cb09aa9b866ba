#include "workloads/BrowserWorkloads.h"

#include <utility>

#include "kyr/appfw/ModelBrowserRecords.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"

namespace bench {

namespace {

using kyr::orla::appfw::IEntities;
using kyr::orla::appfw::ServiceCacheAppFrame;
using Zol::Framework::ZolEvent;
using Zol::PersistenceFW::CAEData::EntityReference;
using Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceIteratorInterface;
using ConstListPtr = ZolSmartPointer<IEntityReferenceConstListInterface>;

constexpr std::int32_t kNodesUpdated = 2;

bool sameReference(const EntityReference& a, const EntityReference& b) {
  return Zol::isSameObject(a.container, b.container) && a.first == b.first && a.second == b.second &&
         a.third == b.third;
}

}  // namespace

BrowserHost::BrowserHost(long entries)
    : model_(entries),
      entities_(model_.entities().begin(), model_.entities().end()),
      eventManager_(makeHostObject<CountingEventManager>()),
      rootManager_(makeHostObject<ListingRootManager>()),
      hostEventManager_(std::exchange(ServiceCacheAppFrame::eventManager_, eventManager_)),
      hostRootManager_(std::exchange(ServiceCacheAppFrame::rootManager_, rootManager_)) {}

BrowserHost::~BrowserHost() {
  ServiceCacheAppFrame::eventManager_ = std::move(hostEventManager_);
  ServiceCacheAppFrame::rootManager_ = std::move(hostRootManager_);
}

bool BrowserHost::isUpdateOfAll(const ZolEvent& event) const {
  if (event.domainId != CountingEventManager::kModelDomain || event.eventId != kNodesUpdated ||
      event.data.getTypeCode() != kyr::orla::appfw::getTC_NodesUpdate()) {
    return false;
  }
  Zol::ZolInStream_24_8 in = event.data.openStream();
  ConstListPtr updated;
  std::uint32_t namedValues = 1;
  Zol::ZolIService second;
  Zol::marshaller_extract(in, updated);
  Zol::marshaller_extract(in, namedValues);
  Zol::marshaller_extract(in, second);
  in.expectEnd();
  if (!updated || namedValues != 0 || second) return false;

  ZolSmartPointer<IEntityReferenceIteratorInterface> iterator;
  updated->getIterator(iterator);
  EntityReference listed;
  for (const EntityPtr& entity : entities_) {
    EntityReference expected;
    entity->getReference(expected);
    if (!iterator->next(listed) || !sameReference(listed, expected)) return false;
  }
  return !iterator->next(listed);
}

UpdateNodes::UpdateNodes(long entries) : host_(entries) {}

void UpdateNodes::run() { browser_.updateNodes(host_.entities()); }

bool UpdateNodes::verify() {
  return host_.announcesUpdateOfAll([this] { run(); });
}

UpdateNodesFloor::UpdateNodesFloor(long entries)
    : host_(entries), eventManager_(&host_.eventManager()), rootManager_(host_.rootManager()) {
  eventManager_->lookUpDomainId("kyr.orla.appfw.Entity", modelDomain_);
  eventManager_->lookUpDomainId("KYR.Plugins.ModelingPlugin.StudyManager", studyDomain_);
}

void UpdateNodesFloor::run() {
  static const icu::UnicodeString kStudy(u"Simulation.Wyrdan.TessalynStudy");
  static const icu::UnicodeString kScenario(u"Simulation.Wyrdan.TessalynScenario");
  const IEntities& entities = host_.entities();
  icu::UnicodeString typeName;
  entities.front()->getTypeName(typeName);
  const std::int64_t domain = typeName == kStudy || typeName == kScenario ? studyDomain_ : modelDomain_;

  ZolSmartPointer<kyr::orla::appfw::IEntityListInterface> list;
  rootManager_->makeEntityList(entities, list);
  ConstListPtr references;
  list->getEntityReferenceList(references);

  Zol::ZolAny_24_8 record;
  Zol::ZolOutStream_24_8 out = record.initializeStream();
  Zol::marshaller_insert(out, references);
  Zol::marshaller_insert(out, std::uint32_t{0});
  Zol::marshaller_insert(out, Zol::ZolIService());
  record.setData(kyr::orla::appfw::getTC_NodesUpdate());
  eventManager_->publishEvent(ZolEvent{domain, kNodesUpdated, std::move(record)}, 0);
}

bool UpdateNodesFloor::verify() {
  return host_.announcesUpdateOfAll([this] { run(); });
}

}  // namespace bench
