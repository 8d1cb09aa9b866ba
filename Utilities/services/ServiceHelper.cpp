#include "WyrdanPluginUtilities/services/ServiceHelper.h"

#include <mutex>

#include "WyrdanPluginUtilities/host/ServiceProviderHelper.h"
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

constexpr char kAppExecutive[] = "kyr.orla.appfw.AppExecutive";
constexpr char kGuiExecutive[] = "kyr.orla.appfw.GuiExecutive";
constexpr char kAppFWUnits[] = "kyr.orla.appfw.Units";
constexpr char kObjectPropertiesManager[] = "kyr.orla.appfw.ObjectPropertiesManager";
constexpr char kPluginMgr[] = "kyr.orla.appfw.PluginMgr";
constexpr char kScriptNameManager[] = "kyr.orla.appfw.ScriptNameManager";
constexpr char kSelectionManager[] = "kyr.orla.appfw.SelectionManager";
constexpr char kBaseCommonService[] = "kyr.orla.plugin.baseplugin.BaseCommonService";
constexpr char kModelManagement[] = "kyr.orla.plugin.baseplugin.ModelManagement";
constexpr char kFEMEntities[] = "kyr.orla.plugin.fem.FEMEntities";
constexpr char kShellEntities[] = "kyr.orla.plugin.shell.ShellEntities";
constexpr char kMDPManager[] = "kyr.orla.plugin.motion.MDPManager";
constexpr char kSolverService[] = "kyr.orla.plugin.motion.SolverService";
constexpr char kDisplay3DDataManager[] = "kyr.orla.ddm.Display3DDataManager";
constexpr char kConfigurationManager[] = "Zol.Framework.ConfigurationManager";
constexpr char kPFW[] = "Zol.PersistenceFW.CAEData.PFW";
constexpr char kUtilUnits[] = "Zol.Util.Units";
constexpr char kEOMCore[] = "Zol.EOM.EOMCore";
constexpr char kTrashBinFW[] = "kyr.orla.appfw.TrashBinFW";

// The generation of the service cache: a new one starts whenever cache
// entries go. Kept beside the getters rather than in the instance, so the
// getters' fast path reads it directly. Only release() changes it, and it
// runs while no getter does.
std::uint64_t cacheGeneration = 1;

// Guards the service cache of every instance. Never held across a host call
// nor while a service is released, so that a host that calls back into the
// locator from there cannot deadlock.
std::mutex cacheMutex;

}  // namespace

ServiceHelper ServiceHelper::m_instance;

// Declared after m_instance, so it is unregistered before the instance goes.
const Zol::ZolHoldingsRegistration ServiceHelper::m_holdings("ServiceHelper", [](Zol::ZolHeldReferences& held) {
  held.add("service provider", m_instance.m_serviceProvider);
  for (const auto& [name, service] : m_instance.m_services) held.add("cached " + name, service);
});

ServiceHelper::ServiceHelper() = default;

ServiceHelper::ServiceHelper(const ServiceHelper& other) = default;

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
  decltype(m_services) released;
  const std::lock_guard<std::mutex> lock(cacheMutex);
  m_services.swap(released);
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
  {
    const std::lock_guard<std::mutex> lock(cacheMutex);
    const auto cached = m_services.find(name);
    if (cached != m_services.end()) return cached->second;
  }

  Zol::ZolIService service;
  try {
    ServiceProviderHelper::getService(name, std::string(), service);
  } catch (const Zol::ZolException_24&) {
    // A failed look-up is an absent service; the next call asks again.
    service.reset();
  }
  if (!service) return service;
  // A thread that missed at the same time may have cached its service first:
  // answer with that one, and release this one after the lock.
  const std::lock_guard<std::mutex> lock(cacheMutex);
  return m_services.try_emplace(std::move(name), std::move(service)).first->second;
}

// The getters' fast path, inlined into each: one comparison and the copy.
inline Zol::ZolIService ServiceHelper::getRemembered(const char* name, RememberedEntry& entry) {
  if (entry.generation.load(std::memory_order_acquire) == cacheGeneration) {
    return Zol::ZolIService(entry.service.load(std::memory_order_relaxed));
  }
  return lookUpAndRemember(name, entry);
}

// Kept out of line, so that the getters' fast path needs no stack frame.
[[gnu::noinline]] Zol::ZolIService ServiceHelper::lookUpAndRemember(const char* name, RememberedEntry& entry) {
  Zol::ZolIService service = getService(name);
  if (service) {
    entry.service.store(service.get(), std::memory_order_relaxed);
    entry.generation.store(cacheGeneration, std::memory_order_release);
  }
  return service;
}

template <const char* Name>
Zol::ZolIService ServiceHelper::getCached() {
  static RememberedEntry entry;  // one per service name, shared by the getters of that name
  return m_instance.getRemembered(Name, entry);
}

Zol::ZolIService ServiceHelper::getAppExecutive() { return getCached<kAppExecutive>(); }
Zol::ZolIService ServiceHelper::getFrameworkAccess() { return getCached<kAppExecutive>(); }
Zol::ZolIService ServiceHelper::getGuiExeutive() { return getCached<kGuiExecutive>(); }
Zol::ZolIService ServiceHelper::getAppFWUnitsService() { return getCached<kAppFWUnits>(); }
Zol::ZolIService ServiceHelper::getObjectPropertiesManager() { return getCached<kObjectPropertiesManager>(); }
Zol::ZolIService ServiceHelper::getPluginMgrService() { return getCached<kPluginMgr>(); }
Zol::ZolIService ServiceHelper::getScriptNameMgr() { return getCached<kScriptNameManager>(); }
Zol::ZolIService ServiceHelper::getSelectionManager() { return getCached<kSelectionManager>(); }
Zol::ZolIService ServiceHelper::getBaseCommonService() { return getCached<kBaseCommonService>(); }
Zol::ZolIService ServiceHelper::getModelManagement() { return getCached<kModelManagement>(); }
Zol::ZolIService ServiceHelper::getFEMEntities() { return getCached<kFEMEntities>(); }
Zol::ZolIService ServiceHelper::getShellEntities() { return getCached<kShellEntities>(); }
Zol::ZolIService ServiceHelper::getMDPManager() { return getCached<kMDPManager>(); }
Zol::ZolIService ServiceHelper::getSolverService() { return getCached<kSolverService>(); }
Zol::ZolIService ServiceHelper::getDisplayDataManager() { return getCached<kDisplay3DDataManager>(); }
Zol::ZolIService ServiceHelper::getConfigurationManager() { return getCached<kConfigurationManager>(); }
Zol::ZolIService ServiceHelper::getPFW() { return getCached<kPFW>(); }
Zol::ZolIService ServiceHelper::getUtilUnitsService() { return getCached<kUtilUnits>(); }
Zol::ZolIService ServiceHelper::getEOMDependencyMgr() { return getCached<kEOMCore>(); }
Zol::ZolIService ServiceHelper::getEOMObjectFactory() { return getCached<kEOMCore>(); }
Zol::ZolIService ServiceHelper::getEOMUtility() { return getCached<kEOMCore>(); }

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
  auto factory = Zol::interfaceCastOrThrow<appfw::ZolITrashBinFactoryInterface>(getCached<kTrashBinFW>());
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
