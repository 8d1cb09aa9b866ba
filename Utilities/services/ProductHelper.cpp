#include "WyrdanPluginUtilities/services/ProductHelper.h"

#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/IFrameworkAccess.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/eom/IEOMAssembly.h"
#include "zol/kernel/ZolCast.h"
#include "zol/persistence/PersistenceFW.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using appfw::ServiceCacheAppFrame;
using Zol::PersistenceFW::CAEData::GUIDDATA;
using Zol::PersistenceFW::CAEData::IPartInterface;
using Zol::PersistenceFW::CAEData::IPersistentObjectInterface;

// The product name the host's product information gives; empty without one.
icu::UnicodeString hostProductName() {
  icu::UnicodeString name;
  const ZolSmartPointer<appfw::IFrameworkAccessInterface> access = ServiceCacheAppFrame::frameworkAccess_;
  if (!access) return name;
  ZolSmartPointer<appfw::IProductInfoInterface> info;
  access->getProductInfo(info);
  if (info) info->getProductName(name);
  return name;
}

// The GUID of a part as a persistent object; all zero when it cannot be read.
GUIDDATA guidOf(ZolSmartPointer<IPartInterface> const& part) {
  GUIDDATA guid;
  const auto object = Zol::interfaceCastOrThrow<IPersistentObjectInterface>(part);
  GUIDDATA read;
  if (object && object->getGUID(read).isOk()) guid = read;
  return guid;
}

}  // namespace

ProductHelper ProductHelper::m_instance;

ProductHelper* ProductHelper::instance() { return &m_instance; }

bool ProductHelper::isOrlaProduct() { return hostProductName() == u"Orla Modeler"; }

bool ProductHelper::isTSXProduct() { return hostProductName() == u"Tessaly Shaper"; }

bool ProductHelper::isProductName(icu::UnicodeString productName) {
  const ZolSmartPointer<Zol::PersistenceFW::CAEData::IPFWInterface> persistence = ServiceCacheAppFrame::PFW_;
  if (!persistence) return false;
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface> session;
  if (!persistence->getCurrentSession(session).isOk() || !session) return false;
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IProjectInterface> project;
  if (!session->getProject(project).isOk() || !project) return false;
  Zol::PersistenceFW::CAEData::ProductRecord record;
  if (!project->getProductRecord(record).isOk()) return false;
  return record.productName == productName;
}

bool ProductHelper::isDesignPart(ZolSmartPointer<appfw::IEntityInterface> entity) {
  const auto model = ServiceHelper::getCurrentModel();
  if (!model) return false;
  const auto instance = Zol::interfaceCastOrThrow<Zol::EOM::IEOMInstanceInterface>(entity);
  if (!instance) return false;
  ZolSmartPointer<Zol::EOM::IEOMObjectInterface> eomPart;
  instance->getEOMPart(eomPart);
  const auto part = Zol::interfaceCastOrThrow<Zol::EOM::IEOMPartInterface>(eomPart);
  ZolSmartPointer<IPartInterface> entityPart;
  if (part) {
    ZolSmartPointer<IPersistentObjectInterface> persistent;
    part->getPersistentPart(persistent);
    entityPart = Zol::interfaceCast<IPartInterface>(persistent);
  }
  if (!entityPart) return false;
  ZolSmartPointer<IPartInterface> designPart;
  model->getCurrentDesignPart(designPart);
  const auto entityGuid = guidOf(entityPart);
  return entityGuid == guidOf(designPart);
}

}  // namespace kyr::orla::plugin::wyrdan
