#include "simhost/SimHost.h"

#include "kyr/appfw/ServiceCacheAppFrame.h"

namespace simhost {

namespace {

constexpr const char* kPersistenceService = "Zol.PersistenceFW.CAEData.PFW";
constexpr const char* kTrashBinService = "kyr.orla.appfw.TrashBinFW";
constexpr const char* kShellService = "kyr.orla.plugin.shell.ShellEntities";

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
      provider_(makeSimObject<SimServiceProvider>(context_, "Zol.Framework.ServiceProvider")),
      access_(std::make_unique<SimServiceAccess>(context_, provider_)),
      persistence_(makeSimObject<SimPersistenceFW>(context_, kPersistenceService)),
      trashBinService_(makeSimObject<SimTrashBinService>(context_, kTrashBinService)),
      shell_(makeSimObject<SimShellEntities>(context_, kShellService)) {
  auto session = makeSimObject<SimPersistenceSession>(context_, "persistence session");
  session->setModel(makeSimObject<SimModel>(context_, "model"));
  persistence_->setSession(session);
  trashBinService_->setTrashBin(makeSimObject<SimTrashBin>(context_, "trash bin"));
  auto viewports = makeSimObject<SimViewportManager>(context_, "viewport manager");
  viewports->setCurrentViewport(makeSimObject<SimViewport>(context_, "viewport"));
  shell_->setViewportManager(viewports);

  for (const std::string& name : standardServiceNames()) registerBareService(name);
  registerService(kPersistenceService, persistence_->asService());
  registerService(kTrashBinService, trashBinService_->asService());
  registerService(kShellService, shell_->asService());

  using kyr::orla::appfw::ServiceCacheAppFrame;
  ServiceCacheAppFrame::PFW_ = persistence_;
  ServiceCacheAppFrame::transactionBrokerFactory_ =
      makeSimObject<SimTransactionBrokerFactory>(context_, "transaction broker factory");
  ServiceCacheAppFrame::zolServiceAccess_ = access_.get();
}

SimHost::~SimHost() {
  kyr::orla::appfw::ServiceCacheAppFrame::clear();
  provider_->clear();
  shell_->setViewportManager({});
  trashBinService_->setTrashBin({});
  persistence_->setSession({});
}

std::unique_ptr<SimServiceAccess> SimHost::makeServiceAccess() {
  auto provider = makeSimObject<SimServiceProvider>(context_, "Zol.Framework.ServiceProvider");
  for (const auto& [name, service] : provider_->services()) provider->registerService(name, service);
  return std::make_unique<SimServiceAccess>(context_, provider);
}

void SimHost::registerService(const std::string& name, const Zol::ZolIService& service) {
  provider_->registerService(name, service);
}

void SimHost::registerBareService(const std::string& name) {
  registerService(name, makeSimObject<SimService>(context_, name)->asService());
}

void SimHost::removeService(const std::string& name) { provider_->removeService(name); }

}  // namespace simhost
