#include "kyr/appfw/ServiceCacheAppFrame.h"

#include "kyr/appfw/ICmdProcessor.h"
#include "kyr/appfw/IEntRef.h"
#include "kyr/appfw/IEntity.h"
#include "kyr/appfw/IFrameworkAccess.h"
#include "kyr/appfw/TransactionBroker.h"
#include "zol/eom/IEOMObjectFactory.h"
#include "zol/framework/ZolIEventManager.h"
#include "zol/persistence/EntityReferenceList.h"
#include "zol/persistence/PersistenceFW.h"
#include "zol/services/ITypeRegistry.h"

namespace kyr::orla::appfw {

ZolSmartPointer<IFrameworkAccessInterface> ServiceCacheAppFrame::frameworkAccess_;
ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface> ServiceCacheAppFrame::eventManager_;
ZolSmartPointer<ICmdProcessorInterface> ServiceCacheAppFrame::commandProcessor_;
ZolSmartPointer<IRootManagerInterface> ServiceCacheAppFrame::rootManager_;
ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListFactoryInterface>
    ServiceCacheAppFrame::entRefListFactory_;
ZolSmartPointer<IEntRefContainerFactoryInterface> ServiceCacheAppFrame::entRefFactory_;
ZolSmartPointer<IEntRefContainerFactoryInterface> ServiceCacheAppFrame::entRefContainerFactory_;
ZolSmartPointer<Zol::EOM::IEOMObjectFactoryInterface> ServiceCacheAppFrame::eomObjectFactory_;
ZolSmartPointer<Zol::PersistenceFW::CAEData::IPFWInterface> ServiceCacheAppFrame::PFW_;
ZolSmartPointer<ZolITransactionBrokerFactoryInterface> ServiceCacheAppFrame::transactionBrokerFactory_;
ZolSmartPointer<Zol::Services::TypeRegistry::ITypeRegistryInterface> ServiceCacheAppFrame::typeRegistry_;
Zol::Framework::ZolIServiceAccess* ServiceCacheAppFrame::zolServiceAccess_ = nullptr;

void ServiceCacheAppFrame::clear() {
  frameworkAccess_.reset();
  eventManager_.reset();
  commandProcessor_.reset();
  rootManager_.reset();
  entRefListFactory_.reset();
  entRefFactory_.reset();
  entRefContainerFactory_.reset();
  eomObjectFactory_.reset();
  PFW_.reset();
  transactionBrokerFactory_.reset();
  typeRegistry_.reset();
  zolServiceAccess_ = nullptr;
}

}  // namespace kyr::orla::appfw
