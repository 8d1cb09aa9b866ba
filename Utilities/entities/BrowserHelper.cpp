#include "WyrdanPluginUtilities/entities/BrowserHelper.h"

#include <atomic>
#include <mutex>
#include <utility>

#include "WyrdanPluginUtilities/commands/CmdInvoker.h"
#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "WyrdanPluginUtilities/entities/EntConvert.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/ModelBrowserRecords.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/framework/ZolIEventManager.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using appfw::CmdParameters;
using appfw::IEntities;
using appfw::ServiceCacheAppFrame;
using Zol::PersistenceFW::CAEData::EntityReference;
using Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceListInterface;
using ConstListPtr = ZolSmartPointer<IEntityReferenceConstListInterface>;
using EntityPtr = ZolSmartPointer<appfw::IEntityInterface>;

constexpr std::int32_t kNodeAdded = 1;
constexpr std::int32_t kNodesUpdated = 2;
constexpr std::int32_t kNodeRemoved = 3;
constexpr std::int32_t kNodesAdded = 9;
constexpr std::int32_t kNodesRemoved = 10;

EntityReference referenceOf(EntityPtr const& entity) {
  EntityReference reference;
  if (entity) entity->getReference(reference);
  return reference;
}

// The fields of a reference, as the host streams one.
void writeReference(Zol::ZolOutStream_24_8& out, EntityReference const& reference) {
  Zol::marshaller_insert(out, reference.container);
  Zol::marshaller_insert(out, reference.first);
  Zol::marshaller_insert(out, reference.second);
  Zol::marshaller_insert(out, reference.third);
}

// Named values: the count, then each element as the command-parameter list writes it.
void writeNamedValues(Zol::ZolOutStream_24_8& out, CmdParameters const& values) {
  appfw::marshalCmdParameterList(out, values);
}

// An any of `typeCode` whose stream `write` fills.
template <class Write>
Zol::ZolAny_24_8 record(Zol::ZolTypeCode_24_8 const& typeCode, Write write) {
  Zol::ZolAny_24_8 payload;
  Zol::ZolOutStream_24_8 out = payload.initializeStream();
  write(out);
  payload.setData(typeCode);
  return payload;
}

Zol::ZolAny_24_8 referencePayload(EntityReference const& reference) {
  return record(Zol::PersistenceFW::CAEData::getTC_EntityReference(),
                [&](Zol::ZolOutStream_24_8& out) { writeReference(out, reference); });
}

Zol::ZolAny_24_8 additionRecord(ConstListPtr const& list, CmdParameters const& values) {
  return record(appfw::getTC_NodesAddition(), [&](Zol::ZolOutStream_24_8& out) {
    Zol::marshaller_insert(out, list);
    writeNamedValues(out, values);
  });
}

Zol::ZolAny_24_8 updateRecord(ConstListPtr const& first, CmdParameters const& values, ConstListPtr const& second) {
  return record(appfw::getTC_NodesUpdate(), [&](Zol::ZolOutStream_24_8& out) {
    Zol::marshaller_insert(out, first);
    writeNamedValues(out, values);
    Zol::marshaller_insert(out, second);
  });
}

// The read-only reference list of the host's entity list of `entities`.
ConstListPtr referenceListOf(IEntities const& entities) {
  ConstListPtr references;
  if (auto list = EntConvert().toEntList(entities)) list->getEntityReferenceList(references);
  return references;
}

// The selection manager's interface; empty without the service. Throws when
// the service is not a selection manager.
ZolSmartPointer<appfw::ISelectionManagerInterface> selectionManager() {
  return Zol::interfaceCastOrThrow<appfw::ISelectionManagerInterface>(ServiceHelper::getSelectionManager());
}

ZolSmartPointer<IEntityReferenceListInterface> newList(appfw::ISelectionManagerInterface& manager) {
  ZolSmartPointer<IEntityReferenceListInterface> list;
  manager.createEntityReferenceList(list);
  return list;
}

// Set, with release order, once the tables are filled; they are never
// written again, so a construction that sees it reads them without the lock.
std::atomic<bool> tablesFilled{false};

// Serialises the constructions that fill the tables at once.
std::mutex fillMutex;

const char* viewIdOf(BrowserHelper::MBTab tab) {
  switch (tab) {
    case BrowserHelper::MB_MODEL:
      return "ShellPlugin.ModelView";
    case BrowserHelper::MB_STUDY:
      return "ModelingPlugin.StudyView";
    case BrowserHelper::MB_AR_ITEMIZATION:
      return "ModelingPlugin.PivotDataContext.AnalysisReadiness.Itemization";
    case BrowserHelper::MB_AR2_OFFENDING_OBJECT:
      return "ModelingPlugin.PivotDataContext.AR2.OffendingObject";
    default:
      return nullptr;
  }
}

}  // namespace

std::map<icu::UnicodeString, BrowserHelper::MBTab> BrowserHelper::m_typename2mbtab;
std::map<BrowserHelper::MBTab, std::int64_t> BrowserHelper::m_tabDomainIds;

BrowserHelper::BrowserHelper() : BrowserHelper(MB_MODEL) {}

BrowserHelper::BrowserHelper(MBTab defaultTab) : m_defaultTab(defaultTab) { initialize(); }

BrowserHelper& BrowserHelper::operator=(BrowserHelper const& other) = default;

BrowserHelper::~BrowserHelper() = default;

// Both look-ups write into one id: a domain the host does not know gets the
// id the previous look-up left (0 for the first). They run outside the lock;
// when constructions race, the first to take it fills the tables.
void BrowserHelper::initialize() {
  if (tablesFilled.load(std::memory_order_acquire)) return;
  ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> manager = ServiceCacheAppFrame::eventManager_;
  std::int64_t id = 0;
  if (manager) manager->lookUpDomainId("kyr.orla.appfw.Entity", id);
  const std::int64_t modelId = id;
  if (manager) manager->lookUpDomainId("KYR.Plugins.ModelingPlugin.StudyManager", id);

  const std::lock_guard<std::mutex> lock(fillMutex);
  if (tablesFilled.load(std::memory_order_relaxed)) return;
  m_typename2mbtab.emplace(icu::UnicodeString(u"Simulation.Wyrdan.TessalynStudy"), MB_STUDY);
  m_typename2mbtab.emplace(icu::UnicodeString(u"Simulation.Wyrdan.TessalynScenario"), MB_STUDY);
  m_tabDomainIds.emplace(MB_MODEL, modelId);
  m_tabDomainIds.emplace(MB_STUDY, id);
  tablesFilled.store(true, std::memory_order_release);
}

BrowserHelper::MBTab BrowserHelper::getMBTab(icu::UnicodeString const& typeName) {
  const auto entry = m_typename2mbtab.find(typeName);
  return entry == m_typename2mbtab.end() ? m_defaultTab : entry->second;
}

BrowserHelper::MBTab BrowserHelper::getMBTab(EntityPtr const& entity) {
  if (!entity) return m_defaultTab;
  icu::UnicodeString typeName;
  entity->getTypeName(typeName);
  return getMBTab(typeName);
}

void BrowserHelper::showTab(MBTab tab) {
  const char* viewId = viewIdOf(tab);
  if (viewId == nullptr) return;
  const DataBunch views{{"fromViewId", Zol::makeZolAny(std::string())}, {"toViewId", Zol::makeZolAny(viewId)}};
  CmdInvoker("SwitchMDPView", false, false, "KYR.ShellPlugin").invoke(views);
}

EntityPtr BrowserHelper::getRootEntity() {
  EntityPtr root;
  if (m_defaultTab != MB_MODEL) return root;
  const auto model = ServiceHelper::getCurrentModel();
  if (!model) return root;
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IAssemblyInterface> assembly;
  model->getRootAssembly(assembly);
  if (!assembly) return root;
  EntityReference reference;
  assembly->getEntityReference(reference);
  if (const auto& rootManager = ServiceCacheAppFrame::rootManager_) rootManager->getEntity(reference, root);
  return root;
}

void BrowserHelper::addNode(EntityPtr const& entity) { publish(getMBTab(entity), kNodeAdded, Zol::makeZolAny(entity)); }

void BrowserHelper::addNode(EntityPtr const& entity, EntityPtr const& parent) {
  if (!entity) return;
  if (parent) {
    icu::UnicodeString name;
    entity->getName(name);
    parent->addChild(entity, name);
  }
  entity->setParent(parent);
  addNode(entity);
}

void BrowserHelper::addNodeToRoot(EntityPtr const& entity) { addNode(entity, getRootEntity()); }

void BrowserHelper::addToViewport(EntityPtr const& entity) { BrowserHelper(MB_MODEL).addNode(entity, EntityPtr()); }

void BrowserHelper::addNodes(IEntities const& entities) {
  if (entities.empty()) return;
  const MBTab tab = getMBTab(entities.front());
  if (tab == MB_NONE) return;
  publish(tab, kNodesAdded, additionRecord(referenceListOf(entities), CmdParameters()));
}

void BrowserHelper::addParts(IEntities const& entities) {
  if (entities.empty()) return;
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListFactoryInterface> factory =
      ServiceCacheAppFrame::entRefListFactory_;
  if (!factory) return;
  ZolSmartPointer<IEntityReferenceListInterface> list;
  factory->createList(list);
  if (!list) return;
  for (const EntityPtr& entity : entities) {
    if (entity) list->append(referenceOf(entity));
  }
  const Zol::ZolAny_24_8 context =
      record(appfw::getTC_CmdContext(), [](Zol::ZolOutStream_24_8& out) { Zol::marshaller_insert(out, 0); });
  const CmdParameters values{{"commandName", Zol::makeZolAny("CreatePartCommand")}, {"commandContext", context}};
  publish(MB_MODEL, kNodesAdded,
          additionRecord(Zol::interfaceCastOrThrow<IEntityReferenceConstListInterface>(list), values));
}

void BrowserHelper::insertNode(EntityPtr const& entity) {
  if (!entity) return;
  const MBTab tab = getMBTab(entity);
  if (tab == MB_NONE) return;
  const EntityReference reference = referenceOf(entity);
  publish(tab, kNodeAdded, record(appfw::getTC_NodeInsertion(), [&](Zol::ZolOutStream_24_8& out) {
            writeReference(out, reference);
            writeNamedValues(out, CmdParameters{{"Insert", Zol::ZolAny_24_8()}});
          }));
}

void BrowserHelper::removeNode(EntityPtr const& entity) {
  publish(getMBTab(entity), kNodeRemoved, Zol::makeZolAny(entity));
}

void BrowserHelper::removeNodes(IEntities const& entities) {
  if (entities.empty()) return;
  const MBTab tab = getMBTab(entities.front());
  if (tab == MB_NONE) return;
  publish(tab, kNodesRemoved, record(appfw::getTC_NodesRemoval(), [&](Zol::ZolOutStream_24_8& out) {
            Zol::marshaller_insert(out, static_cast<std::uint32_t>(entities.size()));
            for (const EntityPtr& entity : entities) Zol::marshaller_insert(out, entity);
            writeNamedValues(out, CmdParameters());
            Zol::marshaller_insert(out, 0);
          }));
}

void BrowserHelper::reparentNode(EntityPtr const& entity, EntityPtr const& newParent) {
  if (!entity || !newParent) return;
  entity->setParent(newParent);
  updateAttribute(entity, "parent", referencePayload(referenceOf(newParent)), true);
}

void BrowserHelper::updateNode(EntityPtr const& entity) {
  if (!entity) return;
  publish(getMBTab(entity), kNodesUpdated, Zol::makeZolAny(entity));
}

void BrowserHelper::updateNodes(IEntities const& entities) {
  if (entities.empty()) return;
  const MBTab tab = getMBTab(entities.front());
  if (tab == MB_NONE) return;
  publish(tab, kNodesUpdated, updateRecord(referenceListOf(entities), CmdParameters(), ConstListPtr()));
}

void BrowserHelper::updateAttribute(EntityPtr const& entity, std::string const& name, Zol::ZolAny_24_8 const& value,
                                    bool setOnEntity) {
  if (!entity || name.empty()) return;
  if (setOnEntity) {
    ZolSmartPointer<appfw::IURCommandInterface> undo;
    entity->setAttribute(name, value, undo);
  }
  const auto manager = selectionManager();
  if (!manager) return;
  const auto unchanged = newList(*manager);
  const auto changed = newList(*manager);
  if (changed) changed->append(referenceOf(entity));
  const MBTab tab = getMBTab(entity);
  if (tab == MB_NONE) return;
  publish(tab, kNodesUpdated,
          updateRecord(Zol::interfaceCastOrThrow<IEntityReferenceConstListInterface>(unchanged),
                       CmdParameters{{name, value}},
                       Zol::interfaceCastOrThrow<IEntityReferenceConstListInterface>(changed)));
}

void BrowserHelper::updateNodesAttribute(IEntities const& entities, std::string const& name,
                                         Zol::ZolAny_24_8 const& value) {
  if (entities.empty() || name.empty()) return;
  const auto manager = selectionManager();
  if (!manager) return;
  const auto unchanged = newList(*manager);
  const auto changed = EntConvert().toEntRefList(entities);
  const MBTab tab = getMBTab(entities.front());
  if (tab == MB_NONE) return;
  publish(tab, kNodesUpdated,
          updateRecord(Zol::interfaceCastOrThrow<IEntityReferenceConstListInterface>(unchanged),
                       CmdParameters{{name, value}}, changed));
}

void BrowserHelper::publish(MBTab tab, std::int32_t eventId, Zol::ZolAny_24_8 payload) {
  if (tab == MB_NONE) return;
  ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> manager = ServiceCacheAppFrame::eventManager_;
  if (!manager) return;
  // Only read: a tab without an entry announces in domain 0.
  const auto domain = m_tabDomainIds.find(tab);
  const std::int64_t domainId = domain == m_tabDomainIds.end() ? 0 : domain->second;
  manager->publishEvent(Zol::Framework::ZolEvent{domainId, eventId, std::move(payload)}, 0);
}

}  // namespace kyr::orla::plugin::wyrdan
