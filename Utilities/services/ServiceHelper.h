/// \class kyr::orla::plugin::wyrdan::ServiceHelper
/// \ingroup wyrdan_services
/// The library's service locator. The plug-in hands it the host's service
/// access once; from then on every typed getter finds its host service by
/// name, once, and serves it from a cache until releaseServices().
///
/// \par Threads and exceptions
/// The getters may be called from several threads at once. A service already
/// cached is served without a lock. Threads that ask for a service not yet
/// cached may each look it up at the host, but all of them get the one
/// cached first (their own extra references are released). setZolServiceAccess
/// and releaseServices are not synchronised with the getters: call them at
/// start-up and shut-down, while no getter runs on another thread. The cached
/// look-ups absorb the host kernel's own exceptions (Zol::ZolException_24 and
/// derived) and let every other exception pass; the members below say where
/// they differ.
///
/// \code
///   ServiceHelper::setZolServiceAccess(access);
///   Zol::ZolIService gui = ServiceHelper::getGuiExeutive();
///   if (gui) ...
/// \endcode
///
/// All operations are static and act on one process-wide instance. A getter
/// whose service is cached makes no look-up. The services are generic
/// handles (Zol::ZolIService, see \ref sdk) that callers cast to the
/// interface they need. The provider and the cached services are references
/// the library holds on purpose; it names them to the kernel's held-reference
/// report (zol/kernel/ZolHoldings.h), so a host's leak check does not count
/// them.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/framework/ZolIServiceProvider.h"
#include "zol/kernel/ZolHoldings.h"
#include "zol/persistence/PersistenceFW.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT ServiceHelper {
 public:
  /// Copies share every cached service and the provider (new references).
  ServiceHelper(const ServiceHelper& other);
  /// Empties this cache first, then shares the other's services and provider.
  ServiceHelper& operator=(const ServiceHelper& other);
  /// Takes over the other's cache and provider, leaving it empty.
  ServiceHelper(ServiceHelper&& other) noexcept;
  /// Empties this cache, takes over the other's cache, shares its provider.
  ServiceHelper& operator=(ServiceHelper&& other) noexcept;
  /// Releases the provider, then every cached service.
  ~ServiceHelper();

  /// Installs the host's service access: takes its service provider (for
  /// getServiceProvider and for the look-ups). Services cached under an
  /// earlier access stay cached. A null `access` is ignored; an access
  /// without a provider leaves none held. The access is asked twice, once
  /// for this cache and once for ServiceProviderHelper::initialize. Host
  /// exceptions pass to the caller.
  static void setZolServiceAccess(Zol::Framework::ZolIServiceAccess* access);

  /// Empties the service cache, releasing every cached service; later
  /// getters ask the host again. The provider stays. Never throws. A shut-down
  /// call: no getter may run on another thread meanwhile, since a getter
  /// serves the service it remembers without looking at the cache.
  static void releaseServices();

  /// The host's service provider (a new reference); empty before
  /// setZolServiceAccess. No host call; never throws.
  static Zol::ZolIService getServiceProvider();

  /// \name Cached look-ups by service name
  /// Each returns a new reference to the service named, looked up at the
  /// service provider on the first call and cached. Empty when the host has
  /// no such service, before setZolServiceAccess (the look-up then reports a
  /// failed assertion, see ServiceProviderHelper::getService), or when the
  /// look-up raised a host kernel exception (nothing is cached then, so the
  /// next call asks again). Other exceptions pass to the caller. The service is not cast:
  /// callers cast it to the interface they need.
  ///@{

  /// "kyr.orla.appfw.AppExecutive"
  static Zol::ZolIService getAppExecutive();
  /// "kyr.orla.appfw.AppExecutive": the same service and cache entry as getAppExecutive.
  static Zol::ZolIService getFrameworkAccess();
  /// "kyr.orla.appfw.GuiExecutive"
  static Zol::ZolIService getGuiExeutive();
  /// "kyr.orla.appfw.Units"
  static Zol::ZolIService getAppFWUnitsService();
  /// "kyr.orla.appfw.ObjectPropertiesManager"
  static Zol::ZolIService getObjectPropertiesManager();
  /// "kyr.orla.appfw.PluginMgr"
  static Zol::ZolIService getPluginMgrService();
  /// "kyr.orla.appfw.ScriptNameManager"
  static Zol::ZolIService getScriptNameMgr();
  /// "kyr.orla.appfw.SelectionManager"
  static Zol::ZolIService getSelectionManager();
  /// "kyr.orla.plugin.baseplugin.BaseCommonService"
  static Zol::ZolIService getBaseCommonService();
  /// "kyr.orla.plugin.baseplugin.ModelManagement"
  static Zol::ZolIService getModelManagement();
  /// "kyr.orla.plugin.fem.FEMEntities"
  static Zol::ZolIService getFEMEntities();
  /// "kyr.orla.plugin.shell.ShellEntities"
  static Zol::ZolIService getShellEntities();
  /// "kyr.orla.plugin.motion.MDPManager"
  static Zol::ZolIService getMDPManager();
  /// "kyr.orla.plugin.motion.SolverService"
  static Zol::ZolIService getSolverService();
  /// "kyr.orla.ddm.Display3DDataManager"
  static Zol::ZolIService getDisplayDataManager();
  /// "Zol.Framework.ConfigurationManager"
  static Zol::ZolIService getConfigurationManager();
  /// "Zol.PersistenceFW.CAEData.PFW"
  static Zol::ZolIService getPFW();
  /// "Zol.Util.Units"
  static Zol::ZolIService getUtilUnitsService();
  /// "Zol.EOM.EOMCore"; getEOMObjectFactory and getEOMUtility share its cache entry.
  static Zol::ZolIService getEOMDependencyMgr();
  /// "Zol.EOM.EOMCore"
  static Zol::ZolIService getEOMObjectFactory();
  /// "Zol.EOM.EOMCore"
  static Zol::ZolIService getEOMUtility();
  ///@}

  /// The host service cache's entity-reference container factory, empty
  /// included. No look-up, no cache; never throws.
  static Zol::ZolIService getIEntRefFactory();
  /// The host service cache's transaction broker factory, empty included.
  /// No look-up, no cache; never throws.
  static Zol::ZolIService getTransactionBroker();

  /// The model of the current persistence session, through the host service
  /// cache's persistence framework (not cached here); empty when the host has
  /// no persistence framework, no session or no model, or the session query
  /// fails. Host exceptions pass to the caller.
  static ZolSmartPointer<Zol::PersistenceFW::CAEData::IModelInterface> getCurrentModel();

  /// The host's trash bin, through the cached "kyr.orla.appfw.TrashBinFW"
  /// service; empty when the service or the bin is missing. Throws
  /// Zol::ZolSystemException_24 when the service is not a trash-bin factory;
  /// exceptions of the factory pass too.
  static Zol::ZolIService getTrashbin();

  /// The shell's current 3-D viewport: "kyr.orla.plugin.shell.ShellEntities"
  /// is looked up at the provider on every call, past the cache; empty when
  /// the shell, its viewport manager or a current viewport is missing. Unlike
  /// the cached getters it absorbs nothing: the look-up's exceptions pass, and
  /// before setZolServiceAccess the look-up reports an assertion
  /// (ServiceProviderHelper::getService) and the result is empty. Throws
  /// Zol::ZolSystemException_24 when the shell service lacks its manager access.
  static Zol::ZolIService getViewport();

 private:
  // The service one getter found last, held by its cache entry. Valid while
  // the cache generation is the one recorded: entries are only ever erased
  // all at once, and every such change starts a new generation. The service
  // is stored first and the generation, with release order, after it, so a
  // getter that reads the current generation (acquire) reads its service.
  // Threads that fill an entry at once store the same two values.
  struct RememberedEntry {
    std::atomic<std::uint64_t> generation{0};
    std::atomic<Zol::ZolIServiceInterface*> service{nullptr};
  };

  ServiceHelper();

  void release();
  /// The cached look-up behind every getter. The cache is read and filled
  /// under a lock that no host call runs under: threads that miss at once
  /// each look up, and the first to cache the service wins.
  Zol::ZolIService getService(std::string name);
  /// getService(name), answered from `entry` while the cache is unchanged.
  WYRDAN_NO_EXPORT Zol::ZolIService getRemembered(const char* name, RememberedEntry& entry);
  /// getService(name), remembering the entry found in `entry`.
  Zol::ZolIService lookUpAndRemember(const char* name, RememberedEntry& entry);
  /// The cached service named `Name`, remembered between calls.
  template <const char* Name>
  static Zol::ZolIService getCached();

  std::map<std::string, Zol::ZolIService, std::less<>> m_services;
  Zol::ZolIService m_serviceProvider;

  static ServiceHelper m_instance;
  static const Zol::ZolHoldingsRegistration m_holdings;
};

}  // namespace kyr::orla::plugin::wyrdan
