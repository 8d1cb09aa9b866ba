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

// The generation of the service cache: a new one starts whenever cache
// entries go. Kept beside the getters rather than in the instance, so the
// getters' fast path reads it directly.
std::uint64_t cacheGeneration = 1;

}  // namespace

ServiceHelper ServiceHelper::m_instance;

// Declared after m_instance, so it is unregistered before the instance goes.
const Zol::ZolHoldingsRegistration ServiceHelper::m_holdings("ServiceHelper", [](Zol::ZolHeldReferences& held) {
  held.add("service provider", m_instance.m_serviceProvider);
  for (const auto& [name, service] : m_instance.m_services) held.add("cached " + name, service);
});

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
  other.release();
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

void ServiceHelper::release() {
  m_services.clear();
  ++cacheGeneration;
}

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

Zol::ZolIService ServiceHelper::getService(std::string name) {
  auto cached = m_services.find(name);
  if (cached != m_services.end()) return cached->second;

  Zol::ZolIService service;
  try {
    ServiceProviderHelper::getService(name, std::string(), service);
  } catch (const Zol::ZolException_24&) {
    // A failed look-up is an absent service; the next call asks again.
    service.reset();
  }
  if (service) m_services.emplace(std::move(name), service);
  return service;
}

// The getters' fast path, inlined into each: one comparison and the copy.
inline Zol::ZolIService ServiceHelper::getRemembered(const char* name, RememberedEntry& entry) {
  if (entry.generation == cacheGeneration) return Zol::ZolIService(entry.service);
  return lookUpAndRemember(name, entry);
}

// Kept out of line, so that the getters' fast path needs no stack frame.
[[gnu::noinline]] Zol::ZolIService ServiceHelper::lookUpAndRemember(const char* name, RememberedEntry& entry) {
  Zol::ZolIService service = getService(name);
  if (service) entry = RememberedEntry{cacheGeneration, service.get()};
  return service;
}

Zol::ZolIService ServiceHelper::getAppExecutive() {
  static RememberedEntry entry;
  return m_instance.getRemembered(kAppExecutive, entry);
}
Zol::ZolIService ServiceHelper::getFrameworkAccess() {
  static RememberedEntry entry;
  return m_instance.getRemembered(kAppExecutive, entry);
}
Zol::ZolIService ServiceHelper::getGuiExeutive() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.appfw.GuiExecutive", entry);
}
Zol::ZolIService ServiceHelper::getAppFWUnitsService() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.appfw.Units", entry);
}
Zol::ZolIService ServiceHelper::getObjectPropertiesManager() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.appfw.ObjectPropertiesManager", entry);
}
Zol::ZolIService ServiceHelper::getPluginMgrService() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.appfw.PluginMgr", entry);
}
Zol::ZolIService ServiceHelper::getScriptNameMgr() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.appfw.ScriptNameManager", entry);
}
Zol::ZolIService ServiceHelper::getSelectionManager() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.appfw.SelectionManager", entry);
}
Zol::ZolIService ServiceHelper::getBaseCommonService() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.plugin.baseplugin.BaseCommonService", entry);
}
Zol::ZolIService ServiceHelper::getModelManagement() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.plugin.baseplugin.ModelManagement", entry);
}
Zol::ZolIService ServiceHelper::getFEMEntities() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.plugin.fem.FEMEntities", entry);
}
Zol::ZolIService ServiceHelper::getShellEntities() {
  static RememberedEntry entry;
  return m_instance.getRemembered(kShellEntities, entry);
}
Zol::ZolIService ServiceHelper::getMDPManager() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.plugin.motion.MDPManager", entry);
}
Zol::ZolIService ServiceHelper::getSolverService() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.plugin.motion.SolverService", entry);
}
Zol::ZolIService ServiceHelper::getDisplayDataManager() {
  static RememberedEntry entry;
  return m_instance.getRemembered("kyr.orla.ddm.Display3DDataManager", entry);
}
Zol::ZolIService ServiceHelper::getConfigurationManager() {
  static RememberedEntry entry;
  return m_instance.getRemembered("Zol.Framework.ConfigurationManager", entry);
}
Zol::ZolIService ServiceHelper::getPFW() {
  static RememberedEntry entry;
  return m_instance.getRemembered("Zol.PersistenceFW.CAEData.PFW", entry);
}
Zol::ZolIService ServiceHelper::getUtilUnitsService() {
  static RememberedEntry entry;
  return m_instance.getRemembered("Zol.Util.Units", entry);
}
Zol::ZolIService ServiceHelper::getEOMDependencyMgr() {
  static RememberedEntry entry;
  return m_instance.getRemembered(kEOMCore, entry);
}
Zol::ZolIService ServiceHelper::getEOMObjectFactory() {
  static RememberedEntry entry;
  return m_instance.getRemembered(kEOMCore, entry);
}
Zol::ZolIService ServiceHelper::getEOMUtility() {
  static RememberedEntry entry;
  return m_instance.getRemembered(kEOMCore, entry);
}

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
  static RememberedEntry entry;
  auto factory =
      Zol::interfaceCastOrThrow<appfw::ZolITrashBinFactoryInterface>(m_instance.getRemembered(kTrashBinFW, entry));
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
