#include "WyrdanPluginUtilities/commands/PluginHelperTool.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "WyrdanPluginUtilities/commands/ModelHelper.h"
#include "WyrdanPluginUtilities/diagnostics/LocalStr.h"
#include "WyrdanPluginUtilities/entities/EntityTypeID.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/IFrameworkAccess.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/eom/IEOMAssembly.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using appfw::IEntities;
using appfw::IEntityInterface;
using Zol::EOM::IEOMObjectInterface;
using EntityPtr = ZolSmartPointer<IEntityInterface>;
using EOMPtr = ZolSmartPointer<IEOMObjectInterface>;

constexpr char16_t kAssemblyRep[] = u"Assembly::AssemblyRep";

bool isPartRepresentation(icu::UnicodeString const& typeName) {
  return typeName == u"CompPart::FEPartRep" || typeName == u"Part::ConcentratedPartRep" ||
         typeName == u"CompPart::ComputationalPartRep";
}

icu::UnicodeString typeNameOf(EOMPtr const& object) {
  icu::UnicodeString typeName;
  object->getTypeName(typeName);
  return typeName;
}

// Appends the part a representation stands for, as an entity; nothing when
// it stands for none.
void appendPartOf(EOMPtr const& representation, std::vector<EntityPtr>& parts) {
  EOMPtr part;
  representation->getPart(part);
  EntityPtr entity =
      Zol::interfaceCastOrThrow<IEntityInterface>(Zol::interfaceCastOrThrow<Zol::EOM::IEOMPartInterface>(part));
  if (entity) parts.push_back(std::move(entity));
}

// Appends the parts under `entity`, depth-first. `enclosing` holds the
// assemblies being walked above it: a host whose assembly contains itself,
// directly or further down, would otherwise never end the walk. A
// sub-assembly met twice on different paths is walked at each place. The
// parts are gathered in a std::vector and copied into the host sequence once:
// one more caller of the host sequence's append makes the optimiser keep that
// append out of line in EntConvert's conversion loops, which the
// instruction-count check measures.
void appendPartsUnder(EntityPtr const& entity, std::vector<EOMPtr>& enclosing, std::vector<EntityPtr>& parts) {
  const auto object = Zol::interfaceCast<IEOMObjectInterface>(entity);
  if (!object) return;
  const icu::UnicodeString typeName = typeNameOf(object);
  if (isPartRepresentation(typeName)) {
    appendPartOf(object, parts);
    return;
  }
  if (typeName != kAssemblyRep) return;

  const auto assembly = Zol::interfaceCast<Zol::EOM::IEOMAssemblyRepInterface>(entity);
  if (!assembly) return;
  Zol::EOM::EOMChildSequence children;
  assembly->getChildren(children);
  enclosing.push_back(object);
  for (const Zol::EOM::EOMChild& child : children) {
    if (!child.object) continue;
    const icu::UnicodeString childType = typeNameOf(child.object);
    if (isPartRepresentation(childType)) {
      appendPartOf(child.object, parts);
    } else if (childType == kAssemblyRep &&
               std::none_of(enclosing.begin(), enclosing.end(),
                            [&child](EOMPtr const& above) { return Zol::isSameObject(above, child.object); })) {
      appendPartsUnder(Zol::interfaceCast<IEntityInterface>(child.object), enclosing, parts);
    }
  }
  enclosing.pop_back();
}

// The study objects' default names: the text's key, the entity type as the
// host's model names it, and whether objects are numbered per owner.
struct DefaultName {
  const char* key;
  const char* typeName;
  bool perOwner;
};

constexpr DefaultName kDefaultNames[] = {
    {"TessalyShaperStudy_DefaultName", "StudyManager::TessalyShaperStudy", true},
    {"TessalyShaperScenario_DefaultName", "StudyManager::TessalyShaperScenario", false},
    {"Scenario_Step_DefaultName", "StudyManager::TessalyShaperScenario", true},
    {"Scenario_Event_DefaultName", "StudyManager::TessalyShaperScenario", false},
};

// The type registry knows a type by its dotted name.
icu::UnicodeString registryTypeName(const char* modelTypeName) {
  icu::UnicodeString name(modelTypeName, -1, US_INV);
  return name.findAndReplace(u"::", u".");
}

bool isActiveMode(const char* mode) {
  const ZolSmartPointer<appfw::IFrameworkAccessInterface> access = appfw::ServiceCacheAppFrame::frameworkAccess_;
  if (!access) return true;
  ZolSequence<std::string> modes;
  access->getActiveModes(modes);
  return std::find(modes.begin(), modes.end(), mode) != modes.end();
}

}  // namespace

PluginHelperTool& PluginHelperTool::operator=(PluginHelperTool const&) = default;
PluginHelperTool& PluginHelperTool::operator=(PluginHelperTool&&) noexcept = default;

void PluginHelperTool::flushModel(bool save) { ModelHelper::flush(save, true); }

bool PluginHelperTool::isDressUpMode() { return isActiveMode("DRESSUP_MODE"); }

bool PluginHelperTool::isReadonlyMode() { return isActiveMode("READ_ONLY_MODEL"); }

IEntities PluginHelperTool::getAllParts(EntityPtr const& entity) {
  std::vector<EOMPtr> enclosing;
  std::vector<EntityPtr> parts;
  appendPartsUnder(entity, enclosing, parts);
  return IEntities(parts.begin(), parts.end());
}

ZolSmartPointer<IEOMObjectInterface> PluginHelperTool::pfwObject2EOMObject(
    ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> const& object) {
  const auto factory =
      Zol::interfaceCastOrThrow<Zol::EOM::IEOMObjectFactoryInterface>(ServiceHelper::getEOMObjectFactory());
  EOMPtr wrapped;
  if (!factory) return wrapped;
  try {
    if (!factory->wrap(object, wrapped).isOk()) wrapped.reset();
  } catch (...) {
    // The factory's failure to wrap, whatever it throws, is an object it
    // does not know.
    wrapped.reset();
  }
  return wrapped;
}

void PluginHelperTool::registerDefaultNames() {
  const ZolSmartPointer<Zol::PersistenceFW::CAEData::IPFWInterface> persistence = appfw::ServiceCacheAppFrame::PFW_;
  if (!persistence) return;
  for (const DefaultName& row : kDefaultNames) {
    const icu::UnicodeString name = LocalStr(row.key, "").getUStr();
    const unsigned int typeId = EntityTypeID(registryTypeName(row.typeName)).typeID();
    persistence->registerDefaultName(typeId, name, 1, row.perOwner);
  }
}

}  // namespace kyr::orla::plugin::wyrdan
