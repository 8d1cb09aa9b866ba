#include "simhost/SimHost.h"

#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "testbed/ParameterPayload.h"

namespace simhost {

namespace {

using kyr::orla::appfw::CmdParameters;
using kyr::orla::appfw::ServiceCacheAppFrame;

constexpr const char* kPersistenceService = "Zol.PersistenceFW.CAEData.PFW";
constexpr const char* kTrashBinService = "kyr.orla.appfw.TrashBinFW";
constexpr const char* kShellService = "kyr.orla.plugin.shell.ShellEntities";
constexpr const char* kGuiService = "kyr.orla.appfw.GuiExecutive";
constexpr const char* kEOMService = "Zol.EOM.EOMCore";
constexpr const char* kSelectionService = "kyr.orla.appfw.SelectionManager";
constexpr const char* kAppExecutiveService = "kyr.orla.appfw.AppExecutive";
constexpr const char* kPluginDomain = "KYR.WyrdanPlugin";
constexpr std::int32_t kPluginId = 1001;
constexpr const char* kModelManagementService = "kyr.orla.plugin.baseplugin.ModelManagement";
constexpr const char* kConfigurationService = "Zol.Framework.ConfigurationManager";

constexpr const char* kCommandRequestAction = "KYR.WyrdanPlugin.WorkThreadCommandRequest";

// Runs the posted command on the work thread: "command" is the command
// object, "param" its parameter list in any-form. A payload that does not
// decode, or carries no command, runs nothing and is a host failure.
Zol::ZolAny_24_8 postCommand(SimContext& context, SimWorkThread& workThread, const Zol::ZolAny_24_8& payload) {
  internal::ParameterPayload request(payload);
  const auto command = request.take<ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface>>("command");
  CmdParameters params = request.takeList("param");
  if (!request.ok() || !command) {
    context.failures.record(std::string("GUI action ") + kCommandRequestAction,
                            request.ok() ? "the \"command\" is empty" : request.problems());
    return {};
  }
  workThread.post([command, params] {
    if (auto* simulated = dynamic_cast<SimCommand*>(command.get())) {
      simulated->run(params);
    } else {
      command->execute(params);
    }
  });
  return {};
}

}  // namespace

const std::vector<std::string>& SimHost::standardServiceNames() {
  static const std::vector<std::string> names = {
      "kyr.orla.appfw.AppExecutive",
      "kyr.orla.appfw.GuiExecutive",
      "kyr.orla.appfw.Units",
      "kyr.orla.appfw.ObjectPropertiesManager",
      "kyr.orla.appfw.PluginMgr",
      "kyr.orla.appfw.ScriptNameManager",
      "kyr.orla.appfw.SelectionManager",
      "kyr.orla.appfw.TrashBinFW",
      "kyr.orla.plugin.baseplugin.BaseCommonService",
      "kyr.orla.plugin.baseplugin.ModelManagement",
      "kyr.orla.plugin.fem.FEMEntities",
      "kyr.orla.plugin.shell.ShellEntities",
      "kyr.orla.plugin.motion.MDPManager",
      "kyr.orla.plugin.motion.SolverService",
      "kyr.orla.ddm.Display3DDataManager",
      "Zol.Framework.ConfigurationManager",
      "Zol.PersistenceFW.CAEData.PFW",
      "Zol.Util.Units",
      "Zol.EOM.EOMCore",
  };
  return names;
}

SimHost::SimHost()
    : context_(std::make_shared<SimContext>()),
      services_(std::make_shared<SimServiceRegistry>()),
      provider_(makeSimObject<SimServiceProvider>(context_, "Zol.Framework.ServiceProvider", services_)),
      access_(std::make_unique<SimServiceAccess>(context_, provider_)),
      persistence_(makeSimObject<SimPersistenceFW>(context_, kPersistenceService)),
      trashBinService_(makeSimObject<SimTrashBinService>(context_, kTrashBinService)),
      shell_(makeSimObject<SimShellEntities>(context_, kShellService)),
      model_(makeSimObject<SimModel>(context_, "model")),
      eventManager_(makeSimObject<SimEventManager>(context_, "event manager")),
      workThread_(std::make_unique<SimWorkThread>([context = context_](const std::string& what) {
        context->journal.record(HostCall{"simhost.SimWorkThread", "taskFailed", {what}, {}, 0, {}});
      })) {
  model_->makeRootAssembly(1, 1, 0, "Model", "Assembly");
  auto session = makeSimObject<SimPersistenceSession>(context_, "persistence session");
  session->setModel(model_);
  persistence_->setSession(session);
  trashBinService_->setTrashBin(makeSimObject<SimTrashBin>(context_, "trash bin"));
  auto viewports = makeSimObject<SimViewportManager>(context_, "viewport manager");
  viewports->setCurrentViewport(makeSimObject<SimViewport>(context_, "viewport"));
  shell_->setViewportManager(viewports);

  for (const std::string& name : standardServiceNames()) registerBareService(name);
  registerService(kPersistenceService, persistence_->asService());
  registerService(kTrashBinService, trashBinService_->asService());
  registerService(kShellService, shell_->asService());

  startEntityServices();
  startCommandServices();
  startModelBrowser();
  startAppExecutive();
  startPluginSupport();
  startTaskServices();
  startModelTools();

  ServiceCacheAppFrame::eventManager_ = eventManager_;
  ServiceCacheAppFrame::PFW_ = persistence_;
  ServiceCacheAppFrame::zolServiceAccess_ = access_.get();
}

void SimHost::startEntityServices() {
  rootManager_ = makeSimObject<SimRootManager>(context_, "root manager", model_);
  containerFactory_ = makeSimObject<SimEntRefContainerFactory>(context_, "container factory", model_->asService());
  eomObjectFactory_ = makeSimObject<SimEOMObjectFactory>(context_, kEOMService, model_);
  registerService(kEOMService, eomObjectFactory_->asService());
  selectionManager_ = makeSimObject<SimSelectionManager>(context_, kSelectionService);
  registerService(kSelectionService, selectionManager_->asService());

  ServiceCacheAppFrame::rootManager_ = rootManager_;
  ServiceCacheAppFrame::entRefListFactory_ =
      makeSimObject<SimEntityReferenceListFactory>(context_, "entity reference list factory");
  ServiceCacheAppFrame::entRefFactory_ = containerFactory_;
  ServiceCacheAppFrame::entRefContainerFactory_ = containerFactory_;
  ServiceCacheAppFrame::eomObjectFactory_ = eomObjectFactory_;
}

void SimHost::startCommandServices() {
  commandProcessor_ = makeSimObject<SimCmdProcessor>(context_, "command processor");
  commandProcessor_->registerCommand(
      "KYR.CorePlugin", "ModifyObjects",
      [model = model_](const SimContextPtr& context, const kyr::orla::appfw::CmdIdentity& identity,
                       const std::shared_ptr<SimRunningCommands>& running) -> ZolSmartPointer<SimCommand> {
        return makeSimObject<SimModifyObjectsCommand>(context, identity, running, model);
      });
  ServiceCacheAppFrame::commandProcessor_ = commandProcessor_;

  guiExecutive_ = makeSimObject<SimGuiExecutive>(context_, kGuiService, eventManager_->defineChannel());
  guiExecutive_->setHandler(kCommandRequestAction, [context = context_.get(),
                                                    workThread = workThread_.get()](const Zol::ZolAny_24_8& payload) {
    return postCommand(*context, *workThread, payload);
  });
  registerService(kGuiService, guiExecutive_->asService());
}

void SimHost::startAppExecutive() {
  appExecutive_ = makeSimObject<SimAppExecutive>(context_, kAppExecutiveService, eventManager_);
  appExecutive_->setFlushTarget(makeSimObject<SimFlushTarget>(context_, "flush target"));
  appExecutive_->setProductInfo(makeSimObject<SimProductInfo>(context_, "product info", u"Orla Modeler"));
  registerService(kAppExecutiveService, appExecutive_->asService());
  ServiceCacheAppFrame::frameworkAccess_ = appExecutive_;
}

// What the plug-in's diagnostics and messages reach: the kernel's logger,
// its own texts and the status bar.
void SimHost::startPluginSupport() {
  kernelLogger_ = makeSimObject<SimKernelLogger>(context_, "kernel logger");
  kernelAccess_ = makeSimObject<SimKernelAccess>(context_, "kernel access");
  kernelAccess_->setLogger(kernelLogger_);
  Zol::setKernelAccessInterface_24_8(kernelAccess_.get());

  pluginTexts_ = makeSimObject<SimTextTranslationTable>(context_, "KYR.WyrdanPlugin texts");
  pluginTexts_->setText("UITEXT_Debug", u"Debug");
  pluginTexts_->setText("UITEXT_Info", u"Information");
  pluginTexts_->setText("UITEXT_Warning", u"Warning");
  pluginTexts_->setText("UITEXT_Error", u"Error");
  pluginTexts_->setText("UITEXT_OK", u"OK");
  plugin_ = makeSimObject<SimPlugin>(context_, kPluginDomain, kPluginId, pluginTexts_);
  appExecutive_->setPlugin(kPluginDomain, plugin_);

  statusBar_ = std::make_shared<SimStatusBar>(context_->failures);
  guiExecutive_->setHandler(SimStatusBar::kAction, [statusBar = statusBar_](const Zol::ZolAny_24_8& payload) {
    statusBar->post(payload);
    return Zol::ZolAny_24_8();
  });
}

// Work-thread tasks: the wait cursor, the TaskInvoker action and the
// transaction brokers.
void SimHost::startTaskServices() {
  waitCursor_ = makeSimObject<SimWaitCursor>(context_, "wait cursor");
  eventManager_->addHostListener(eventManager_->defineDomain(SimWaitCursor::kDomain), waitCursor_, 0);
  taskRunner_ = std::make_unique<SimTaskRunner>(*workThread_, waitCursor_, context_->failures);
  guiExecutive_->setHandler(SimTaskRunner::kAction, [runner = taskRunner_.get()](const Zol::ZolAny_24_8& payload) {
    return runner->handle(payload);
  });
  transactionBrokerFactory_ = makeSimObject<SimTransactionBrokerFactory>(context_, "transaction broker factory");
  ServiceCacheAppFrame::transactionBrokerFactory_ = transactionBrokerFactory_;
}

// The model as a whole: its management, type registry, configurations and
// project.
void SimHost::startModelTools() {
  modelManagement_ = makeSimObject<SimModelManagement>(context_, kModelManagementService);
  registerService(kModelManagementService, modelManagement_->asService());
  persistenceListener_ = makeSimObject<SimPersistenceListener>(context_, "persistence listener");
  eventManager_->addHostListener(eventManager_->defineDomain(SimPersistenceListener::kDomain), persistenceListener_, 0);
  typeRegistry_ = makeSimObject<SimTypeRegistry>(context_, "type registry");
  ServiceCacheAppFrame::typeRegistry_ = typeRegistry_;
  configurationManager_ = makeSimObject<SimConfigurationManager>(context_, kConfigurationService);
  for (const char* name : {"KYR.WyrdanPlugin.Deliverable", "KYR.WyrdanPlugin.NonDeliverable"}) {
    configurationManager_->setConfiguration(icu::UnicodeString(name, -1, US_INV),
                                            makeSimObject<SimConfiguration>(context_, name));
  }
  registerService(kConfigurationService, configurationManager_->asService());
  persistence_->session()->setProject(makeSimObject<SimProject>(
      context_, "project", Zol::PersistenceFW::CAEData::ProductRecord{u"Kyr", u"24.8", u"1", u"Orla Modeler"}));
}

// The browser's domains are defined before any plug-in code runs: the
// library looks their ids up once per process.
void SimHost::startModelBrowser() {
  modelBrowser_ = std::make_shared<SimModelBrowser>(context_, *eventManager_, model_);
  commandProcessor_->registerCommand(
      "KYR.ShellPlugin", "SwitchMDPView",
      [browser = modelBrowser_](const SimContextPtr& context, const kyr::orla::appfw::CmdIdentity& identity,
                                const std::shared_ptr<SimRunningCommands>& running) -> ZolSmartPointer<SimCommand> {
        return makeSimObject<SimSwitchViewCommand>(context, identity, running, browser);
      });
}

ZolSmartPointer<SimEOMObject> SimHost::addEOMObject(icu::UnicodeString name, icu::UnicodeString typeName,
                                                    const GUIDDATA& guid) {
  auto object = makeSimObject<SimEOMObject>(context_, std::move(name), std::move(typeName), guid);
  eomObjectFactory_->addObject(object);
  return object;
}

// The work thread drains first: what was posted still runs against a
// complete host.
SimHost::~SimHost() {
  workThread_.reset();
  context_->faults.clear();  // answers may hold the host's objects
  Zol::setKernelAccessInterface_24_8(nullptr);
  kernelAccess_->setLogger({});
  plugin_->setTable({});
  ServiceCacheAppFrame::clear();
  eventManager_->clear();
  modelBrowser_->stop();
  guiExecutive_->clear();
  appExecutive_->clear();
  transactionBrokerFactory_->clear();
  configurationManager_->clear();
  commandProcessor_->clear();
  eomObjectFactory_->clear();
  containerFactory_->detach();
  rootManager_->detach();
  model_->clear();
  services_->clear();
  shell_->setViewportManager({});
  trashBinService_->setTrashBin({});
  persistence_->setSession({});
}

std::unique_ptr<SimServiceAccess> SimHost::makeServiceAccess() {
  return std::make_unique<SimServiceAccess>(
      context_, makeSimObject<SimServiceProvider>(context_, "Zol.Framework.ServiceProvider", services_));
}

void SimHost::registerService(const std::string& name, const Zol::ZolIService& service) {
  services_->registerService(name, service);
}

void SimHost::registerBareService(const std::string& name) {
  registerService(name, makeSimObject<SimService>(context_, name)->asService());
}

void SimHost::removeService(const std::string& name) { services_->removeService(name); }

void SimHost::registerPluginListener(const ZolSmartPointer<SimPluginListener>& listener) {
  registerService(kPluginInitializerService, listener->asService());
}

}  // namespace simhost
