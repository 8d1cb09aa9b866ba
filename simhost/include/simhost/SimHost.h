/// \class simhost::SimHost
/// A complete simulated host in one object. Construction registers
/// the standard services and sets the host service cache; destruction lets the
/// work thread finish what was posted, then clears the cache, drops every
/// event subscription and every object the host holds. A posted task that
/// throws is reported, not fatal: its text is in workThread().failures() and
/// in the journal as "simhost.SimWorkThread.taskFailed".
///
/// \par Threads and exceptions
/// One host at a time: it sets the process-wide host service cache
/// (ServiceCacheAppFrame) and the kernel's access, and its destruction clears
/// them. Construct and destroy it on one thread; its objects may then be used
/// from any thread, as each says. The accessors return references valid while
/// the host lives, and never throw; the other members throw nothing but
/// std::bad_alloc (the constructor also std::system_error when the work
/// thread cannot start).
///
/// The host offers:
/// - a model whose root assembly stands for its one entity at start, (1, 1, 0)
///   named "Model" of type "Assembly" (model().setRootAssembly({}) takes the
///   assembly away, model().makeRootAssembly makes another);
/// - a root manager that also compares entity references
///   (IInterfaceAdapterManager; its hash, process-wide, is set with the static
///   SimRootManager::setHash);
/// - the entity-reference list and container factories, and the selection
///   manager ("kyr.orla.appfw.SelectionManager") that makes lists;
/// - the EOM service "Zol.EOM.EOMCore": the EOM object factory, which opens the
///   objects made with addEOMObject and the model's entities by GUID, and the
///   dependency manager, which records what bulkGenerate is asked; the
///   dependency edges EOM objects add are in dependencyGraph();
/// - a command processor with "ModifyObjects" of "KYR.CorePlugin" and
///   "SwitchMDPView" of "KYR.ShellPlugin", recording addToGenerateList;
/// - an event manager whose only domains at start are the model browser's,
///   "kyr.orla.appfw.Entity" and "KYR.Plugins.ModelingPlugin.StudyManager",
///   and the wait cursor's "kyr.orla.appfw.CmdProcessor" (a test defines the
///   other host domains it needs and delivers their events);
/// - the application executive ("kyr.orla.appfw.AppExecutive", also the
///   framework access): the open model's name, active modes, publishing in a
///   sender's name, a flush target, the product "Orla Modeler", messages shown
///   and installed plug-ins (appExecutive());
/// - the model browser, whose tabs are subscribed to those domains and to the
///   id 0, and decode what the plug-in announces (modelBrowser());
/// - a GUI executive that answers the GUI's event channel, shows message
///   boxes (recording them), and whose action
///   "KYR.WyrdanPlugin.WorkThreadCommandRequest" executes the posted "command"
///   with its "param" list on the work thread;
/// - the kernel access, installed in the kernel while the host lives, with a
///   kernel logger that keeps every line (kernelLogger());
/// - the plug-in "KYR.WyrdanPlugin" (id 1001), installed in the application
///   executive, whose translation table holds "UITEXT_Debug" ("Debug"),
///   "UITEXT_Info" ("Information"), "UITEXT_Warning" ("Warning"),
///   "UITEXT_Error" ("Error") and "UITEXT_OK" ("OK") until a test changes it
///   (pluginTexts());
/// - the status bar, which shows what the GUI action
///   "KYR.WyrdanPlugin.ShowStatusMessage" posts (statusBar());
/// - the wait cursor, listening to "kyr.orla.appfw.CmdProcessor", and the
///   action "KYR.WyrdanPlugin.TaskInvoker" that invokes the plug-in's invoker
///   on the work thread, waiting under the cursor when asked (SimTasks.h);
/// - the service cache's transaction broker factory, keeping the brokers it
///   makes;
/// - the model management ("kyr.orla.plugin.baseplugin.ModelManagement")
///   with a flush whose result a test sets, the host domain
///   "kyr.orla.appfw.ModelPersistence" with the host's listener decoding its
///   events (persistenceListener()), the type registry (empty, also the
///   service cache's), the configuration manager
///   ("Zol.Framework.ConfigurationManager") with the plug-in's two
///   configurations, and the session's project, made by "Orla Modeler"
///   (modelManagement(), typeRegistry(), configurationManager();
///   SimModelTools.h builds assemblies in the model).
///
/// The plug-in's listener is registered by the test, as the plug-in's
/// initializer service.
///
/// \code
///   simhost::SimHost host;
///   ServiceHelper::setZolServiceAccess(host.serviceAccess());
///   host.registerPluginListener(listener);  // one per process: simhost::makePluginListener
///   ... exercise plug-in code ...
///   EXPECT_EQ(host.journal().count("Zol.Framework.ZolIServiceProvider", "getService"), 1u);
/// \endcode
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "simhost/SimHostExport.h"
#include "simhost/services/app/SimAppExecutive.h"
#include "simhost/services/app/SimAppServices.h"
#include "simhost/services/app/SimPlugin.h"
#include "simhost/services/browser/SimModelBrowser.h"
#include "simhost/services/commands/SimCommands.h"
#include "simhost/services/commands/SimTasks.h"
#include "simhost/services/eom/SimEOM.h"
#include "simhost/services/events/SimEvents.h"
#include "simhost/services/gui/SimGuiExecutive.h"
#include "simhost/services/gui/SimStatusBar.h"
#include "simhost/services/kernel/SimConfiguration.h"
#include "simhost/services/kernel/SimKernel.h"
#include "simhost/services/kernel/SimServiceProvider.h"
#include "simhost/services/model/SimEntities.h"
#include "simhost/services/model/SimModelTools.h"
#include "simhost/services/persistence/SimPersistence.h"
#include "simhost/testbed/SimContext.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

class SIMHOST_EXPORT SimHost {
 public:
  /// Builds the host described above and installs it in the host service
  /// cache and the kernel.
  SimHost();
  /// Lets the work thread finish what was posted, uninstalls the host, and
  /// drops every subscription and every object it holds; objects the plug-in
  /// side still holds stay alive, detached.
  ~SimHost();
  /// Not copyable: one host at a time.
  SimHost(const SimHost&) = delete;
  /// Not assignable, for the same reason.
  SimHost& operator=(const SimHost&) = delete;

  /// Every service name registered at construction as a bare service
  /// (SimService), before the simulated services replace theirs.
  static const std::vector<std::string>& standardServiceNames();

  /// The access object to hand to the plug-in; lives as long as the host.
  Zol::Framework::ZolIServiceAccess* serviceAccess() noexcept { return access_.get(); }
  /// Another access object, with a provider object of its own over the same
  /// services: registrations made later reach it too.
  std::unique_ptr<SimServiceAccess> makeServiceAccess();
  /// The provider serviceAccess() hands out.
  SimServiceProvider& provider() noexcept { return *provider_; }

  /// Registers (or replaces) `service` under `name`, for every provider of
  /// this host.
  void registerService(const std::string& name, const Zol::ZolIService& service);
  /// Registers under `name` a service that offers no interface of its own.
  void registerBareService(const std::string& name);
  /// Unregisters `name`: later look-ups of it fail.
  void removeService(const std::string& name);
  /// Registers `listener` (not empty) as the plug-in's initializer service
  /// (kPluginInitializerService), where the library looks for its listener.
  void registerPluginListener(const ZolSmartPointer<SimPluginListener>& listener);

  /// Every host call made on this host's objects.
  CallJournal& journal() noexcept { return context_->journal; }
  /// The faults armed for this host's operations.
  FaultPlan& faults() noexcept { return context_->faults; }
  /// What the host could not take from the plug-in side: undecodable
  /// payloads and refused calls. Test fixtures fail on what they did not
  /// expect here.
  HostFailures& failures() noexcept { return context_->failures; }
  /// The context every object of this host shares.
  const SimContextPtr& context() const noexcept { return context_; }

  /// "Zol.PersistenceFW.CAEData.PFW", also the host service cache's.
  SimPersistenceFW& persistence() noexcept { return *persistence_; }
  /// "kyr.orla.appfw.TrashBinFW".
  SimTrashBinService& trashBinService() noexcept { return *trashBinService_; }
  /// "kyr.orla.plugin.shell.ShellEntities".
  SimShellEntities& shell() noexcept { return *shell_; }
  /// The open model of the session.
  SimModel& model() noexcept { return *model_; }
  /// The host service cache's root manager.
  SimRootManager& rootManager() noexcept { return *rootManager_; }
  /// The host service cache's command processor.
  SimCmdProcessor& commandProcessor() noexcept { return *commandProcessor_; }
  /// Also the host service cache's event manager.
  SimEventManager& eventManager() noexcept { return *eventManager_; }
  /// "kyr.orla.appfw.GuiExecutive".
  SimGuiExecutive& guiExecutive() noexcept { return *guiExecutive_; }
  /// Also the host's EOM dependency manager.
  SimEOMObjectFactory& eomObjectFactory() noexcept { return *eomObjectFactory_; }
  /// "kyr.orla.appfw.SelectionManager".
  SimSelectionManager& selectionManager() noexcept { return *selectionManager_; }
  /// The edges between this host's engineering objects.
  SimDependencyGraph& dependencyGraph() noexcept { return context_->dependencies; }
  /// The model browser and its tabs.
  SimModelBrowser& modelBrowser() noexcept { return *modelBrowser_; }
  /// Also the host service cache's framework access.
  SimAppExecutive& appExecutive() noexcept { return *appExecutive_; }
  /// The host's work thread.
  SimWorkThread& workThread() noexcept { return *workThread_; }
  /// Installed in the kernel while this host lives.
  SimKernelAccess& kernelAccess() noexcept { return *kernelAccess_; }
  /// The logger the kernel access hands out.
  SimKernelLogger& kernelLogger() noexcept { return *kernelLogger_; }
  /// The plug-in "KYR.WyrdanPlugin" as installed in the application executive.
  SimPlugin& plugin() noexcept { return *plugin_; }
  /// The plug-in's translation table.
  SimTextTranslationTable& pluginTexts() noexcept { return *pluginTexts_; }
  /// What "KYR.WyrdanPlugin.ShowStatusMessage" showed.
  SimStatusBar& statusBar() noexcept { return *statusBar_; }
  /// The wait cursor.
  SimWaitCursor& waitCursor() noexcept { return *waitCursor_; }
  /// The handler of "KYR.WyrdanPlugin.TaskInvoker".
  SimTaskRunner& taskRunner() noexcept { return *taskRunner_; }
  /// Also the host service cache's transaction broker factory.
  SimTransactionBrokerFactory& transactionBrokerFactory() noexcept { return *transactionBrokerFactory_; }
  /// "kyr.orla.plugin.baseplugin.ModelManagement".
  SimModelManagement& modelManagement() noexcept { return *modelManagement_; }
  /// Also the host service cache's type registry.
  SimTypeRegistry& typeRegistry() noexcept { return *typeRegistry_; }
  /// "Zol.Framework.ConfigurationManager".
  SimConfigurationManager& configurationManager() noexcept { return *configurationManager_; }
  /// The host's listener to the model persistence events.
  SimPersistenceListener& persistenceListener() noexcept { return *persistenceListener_; }

  /// A new EOM object of this host, known to the factory's open().
  ZolSmartPointer<SimEOMObject> addEOMObject(icu::UnicodeString name, icu::UnicodeString typeName,
                                             const GUIDDATA& guid);

 private:
  void startEntityServices();
  void startCommandServices();
  void startModelBrowser();
  void startAppExecutive();
  void startPluginSupport();
  void startTaskServices();
  void startModelTools();

  SimContextPtr context_;
  std::shared_ptr<SimServiceRegistry> services_;
  ZolSmartPointer<SimServiceProvider> provider_;
  std::unique_ptr<SimServiceAccess> access_;
  ZolSmartPointer<SimPersistenceFW> persistence_;
  ZolSmartPointer<SimTrashBinService> trashBinService_;
  ZolSmartPointer<SimShellEntities> shell_;
  ZolSmartPointer<SimModel> model_;
  ZolSmartPointer<SimEventManager> eventManager_;
  ZolSmartPointer<SimRootManager> rootManager_;
  ZolSmartPointer<SimEntRefContainerFactory> containerFactory_;
  ZolSmartPointer<SimEOMObjectFactory> eomObjectFactory_;
  ZolSmartPointer<SimSelectionManager> selectionManager_;
  ZolSmartPointer<SimCmdProcessor> commandProcessor_;
  ZolSmartPointer<SimGuiExecutive> guiExecutive_;
  std::shared_ptr<SimModelBrowser> modelBrowser_;
  ZolSmartPointer<SimAppExecutive> appExecutive_;
  std::unique_ptr<SimWorkThread> workThread_;
  ZolSmartPointer<SimKernelLogger> kernelLogger_;
  ZolSmartPointer<SimKernelAccess> kernelAccess_;
  ZolSmartPointer<SimTextTranslationTable> pluginTexts_;
  ZolSmartPointer<SimPlugin> plugin_;
  std::shared_ptr<SimStatusBar> statusBar_;
  ZolSmartPointer<SimWaitCursor> waitCursor_;
  std::unique_ptr<SimTaskRunner> taskRunner_;
  ZolSmartPointer<SimTransactionBrokerFactory> transactionBrokerFactory_;
  ZolSmartPointer<SimModelManagement> modelManagement_;
  ZolSmartPointer<SimTypeRegistry> typeRegistry_;
  ZolSmartPointer<SimConfigurationManager> configurationManager_;
  ZolSmartPointer<SimPersistenceListener> persistenceListener_;
};

/// @}

}  // namespace simhost
