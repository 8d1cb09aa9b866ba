#include "services/ServiceHelper.h"

#include "host/ServiceProviderHelper.h"
#include "kyr/appfw/IEntRef.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "kyr/appfw/TransactionBroker.h"
#include "kyr/appfw/TrashBin.h"
#include "kyr/shell/ShellManagers.h"
#include "zol/kernel/ZolCast.h"
#include "zol/kernel/ZolException.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using appfw::ServiceCacheAppFrame;

const char* const kAppExecutive = "kyr.orla.appfw.AppExecutive";
const char* const kEOMCore = "Zol.EOM.EOMCore";
const char* const kShellEntities = "kyr.orla.plugin.shell.ShellEntities";
const char* const kTrashBinFW = "kyr.orla.appfw.TrashBinFW";

}  // namespace

ServiceHelper ServiceHelper::m_instance;

ServiceHelper::ServiceHelper() = default;

ServiceHelper::ServiceHelper(const ServiceHelper& other)
    : m_services(other.m_services), m_serviceProvider(other.m_serviceProvider) {}

ServiceHelper& ServiceHelper::operator=(const ServiceHelper& other) {
  if (this != &other) {
    release();
    m_services = other.m_services;
    m_serviceProvider = other.m_serviceProvider;
  }
  return *this;
}

ServiceHelper::ServiceHelper(ServiceHelper&& other) noexcept
    : m_services(std::move(other.m_services)), m_serviceProvider(std::move(other.m_serviceProvider)) {
  other.m_services.clear();
}

ServiceHelper& ServiceHelper::operator=(ServiceHelper&& other) noexcept {
  if (this != &other) {
    release();
    m_services.swap(other.m_services);
    m_serviceProvider = other.m_serviceProvider;
  }
  return *this;
}

ServiceHelper::~ServiceHelper() {
  m_serviceProvider.reset();
  release();
}

void ServiceHelper::release() { m_services.clear(); }

void ServiceHelper::setZolServiceAccess(Zol::Framework::ZolIServiceAccess* access) {
  if (access == nullptr) return;
  ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface> provider;
  access->getServiceProvider(provider);
  if (m_instance.m_serviceProvider.get() != provider.get()) m_instance.m_serviceProvider = provider;
  provider.reset();
  ServiceProviderHelper::initialize(access);
}

void ServiceHelper::releaseServices() { m_instance.release(); }

Zol::ZolIService ServiceHelper::getServiceProvider() { return m_instance.m_serviceProvider; }

Zol::ZolIService ServiceHelper::getService(std::string_view name) {
  auto cached = m_services.find(name);
  if (cached != m_services.end()) return cached->second;

  std::string key(name);
  Zol::ZolIService service;
  try {
    ServiceProviderHelper::getService(key, std::string(), service);
  } catch (const Zol::ZolException_24&) {
    // A failed look-up is an absent service; the next call asks again.
    service.reset();
  }
  if (service) m_services.emplace(std::move(key), service);
  return service;
}

Zol::ZolIService ServiceHelper::getAppExecutive() { return m_instance.getService(kAppExecutive); }
Zol::ZolIService ServiceHelper::getFrameworkAccess() { return m_instance.getService(kAppExecutive); }
Zol::ZolIService ServiceHelper::getGuiExeutive() { return m_instance.getService("kyr.orla.appfw.GuiExecutive"); }
Zol::ZolIService ServiceHelper::getAppFWUnitsService() { return m_instance.getService("kyr.orla.appfw.Units"); }
Zol::ZolIService ServiceHelper::getObjectPropertiesManager() {
  return m_instance.getService("kyr.orla.appfw.ObjectPropertiesManager");
}
Zol::ZolIService ServiceHelper::getPluginMgrService() { return m_instance.getService("kyr.orla.appfw.PluginMgr"); }
Zol::ZolIService ServiceHelper::getScriptNameMgr() { return m_instance.getService("kyr.orla.appfw.ScriptNameManager"); }
Zol::ZolIService ServiceHelper::getSelectionManager() {
  return m_instance.getService("kyr.orla.appfw.SelectionManager");
}
Zol::ZolIService ServiceHelper::getBaseCommonService() {
  return m_instance.getService("kyr.orla.plugin.baseplugin.BaseCommonService");
}
Zol::ZolIService ServiceHelper::getModelManagement() {
  return m_instance.getService("kyr.orla.plugin.baseplugin.ModelManagement");
}
Zol::ZolIService ServiceHelper::getFEMEntities() { return m_instance.getService("kyr.orla.plugin.fem.FEMEntities"); }
Zol::ZolIService ServiceHelper::getShellEntities() { return m_instance.getService(kShellEntities); }
Zol::ZolIService ServiceHelper::getMDPManager() { return m_instance.getService("kyr.orla.plugin.motion.MDPManager"); }
Zol::ZolIService ServiceHelper::getSolverService() {
  return m_instance.getService("kyr.orla.plugin.motion.SolverService");
}
Zol::ZolIService ServiceHelper::getDisplayDataManager() {
  return m_instance.getService("kyr.orla.ddm.Display3DDataManager");
}
Zol::ZolIService ServiceHelper::getConfigurationManager() {
  return m_instance.getService("Zol.Framework.ConfigurationManager");
}
Zol::ZolIService ServiceHelper::getPFW() { return m_instance.getService("Zol.PersistenceFW.CAEData.PFW"); }
Zol::ZolIService ServiceHelper::getUtilUnitsService() { return m_instance.getService("Zol.Util.Units"); }
Zol::ZolIService ServiceHelper::getEOMDependencyMgr() { return m_instance.getService(kEOMCore); }
Zol::ZolIService ServiceHelper::getEOMObjectFactory() { return m_instance.getService(kEOMCore); }
Zol::ZolIService ServiceHelper::getEOMUtility() { return m_instance.getService(kEOMCore); }

Zol::ZolIService ServiceHelper::getIEntRefFactory() { return ServiceCacheAppFrame::entRefFactory_; }

Zol::ZolIService ServiceHelper::getTransactionBroker() { return ServiceCacheAppFrame::transactionBrokerFactory_; }

ZolSmartPointer<Zol::PersistenceFW::CAEData::IModelInterface> ServiceHelper::getCurrentModel() {
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IModelInterface> model;
  const auto& persistence = ServiceCacheAppFrame::PFW_;
  if (!persistence) return model;
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface> session;
  if (persistence->getCurrentSession(session).isOk() && session) session->getModel(model);
  return model;
}

Zol::ZolIService ServiceHelper::getTrashbin() {
  auto factory = Zol::interfaceCastOrThrow<appfw::ZolITrashBinFactoryInterface>(m_instance.getService(kTrashBinFW));
  if (!factory) return {};
  ZolSmartPointer<appfw::ZolITrashBinInterface> trashBin;
  factory->getTrashBin(trashBin);
  return trashBin;
}

Zol::ZolIService ServiceHelper::getViewport() {
  Zol::ZolIService shell;
  ServiceProviderHelper::getService(kShellEntities, std::string(), shell);
  auto managers = Zol::interfaceCastOrThrow<plugin::shell::IGetManagersInterface>(shell);
  if (!managers) return {};
  ZolSmartPointer<plugin::shell::IViewportManagerInterface> viewportManager;
  managers->getViewportManager(viewportManager);
  if (!viewportManager) return {};
  ZolSmartPointer<plugin::shell::IViewportInterface> viewport;
  viewportManager->getCurrentViewport(viewport);
  return viewport;
}

}  // namespace kyr::orla::plugin::wyrdan
