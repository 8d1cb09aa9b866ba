// The service locator against the simulated host.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/host/ServiceProviderHelper.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/IEntRef.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "kyr/appfw/TrashBin.h"
#include "support/DiagnosticsHelpers.h"
#include "support/PluginTest.h"
#include "zol/kernel/ZolException.h"
#include "zol/kernel/ZolHostExceptions.h"

namespace {

using kyr::orla::plugin::wyrdan::ServiceHelper;
using kyr::orla::plugin::wyrdan::ServiceProviderHelper;
using simhost::CallPattern;
using testing_support::holdersOf;
using Provider = Zol::Framework::ZolIServiceProviderInterface;

class ServiceHelperTest : public testing_support::PluginTest {
 protected:
  std::size_t lookups() { return host.journal().count(CallPattern::of<Provider>("getService")); }
  std::size_t lookupsOf(const std::string& name) {
    return host.journal().count(CallPattern::of<Provider>("getService").with(name, ""));
  }
  Zol::ZolIService registered(const std::string& name) { return host.provider().services().at(name); }
};

struct Getter {
  Zol::ZolIService (*get)();
  const char* service;
};

const std::vector<Getter>& tableGetters() {
  static const std::vector<Getter> getters = {
      {&ServiceHelper::getAppExecutive, "kyr.orla.appfw.AppExecutive"},
      {&ServiceHelper::getFrameworkAccess, "kyr.orla.appfw.AppExecutive"},
      {&ServiceHelper::getGuiExeutive, "kyr.orla.appfw.GuiExecutive"},
      {&ServiceHelper::getAppFWUnitsService, "kyr.orla.appfw.Units"},
      {&ServiceHelper::getObjectPropertiesManager, "kyr.orla.appfw.ObjectPropertiesManager"},
      {&ServiceHelper::getPluginMgrService, "kyr.orla.appfw.PluginMgr"},
      {&ServiceHelper::getScriptNameMgr, "kyr.orla.appfw.ScriptNameManager"},
      {&ServiceHelper::getSelectionManager, "kyr.orla.appfw.SelectionManager"},
      {&ServiceHelper::getBaseCommonService, "kyr.orla.plugin.baseplugin.BaseCommonService"},
      {&ServiceHelper::getModelManagement, "kyr.orla.plugin.baseplugin.ModelManagement"},
      {&ServiceHelper::getFEMEntities, "kyr.orla.plugin.fem.FEMEntities"},
      {&ServiceHelper::getShellEntities, "kyr.orla.plugin.shell.ShellEntities"},
      {&ServiceHelper::getMDPManager, "kyr.orla.plugin.motion.MDPManager"},
      {&ServiceHelper::getSolverService, "kyr.orla.plugin.motion.SolverService"},
      {&ServiceHelper::getDisplayDataManager, "kyr.orla.ddm.Display3DDataManager"},
      {&ServiceHelper::getConfigurationManager, "Zol.Framework.ConfigurationManager"},
      {&ServiceHelper::getPFW, "Zol.PersistenceFW.CAEData.PFW"},
      {&ServiceHelper::getUtilUnitsService, "Zol.Util.Units"},
      {&ServiceHelper::getEOMDependencyMgr, "Zol.EOM.EOMCore"},
      {&ServiceHelper::getEOMObjectFactory, "Zol.EOM.EOMCore"},
      {&ServiceHelper::getEOMUtility, "Zol.EOM.EOMCore"},
  };
  return getters;
}

TEST_F(ServiceHelperTest, EachServiceNameIsLookedUpOnceAndShared) {
  for (const Getter& getter : tableGetters()) {
    SCOPED_TRACE(getter.service);
    const Zol::ZolIService first = getter.get();
    EXPECT_TRUE(Zol::isSameObject(first, registered(getter.service)));
    EXPECT_TRUE(Zol::isSameObject(getter.get(), first));
    EXPECT_EQ(lookupsOf(getter.service), 1u) << "a cached name was asked for again";
  }
  EXPECT_EQ(lookups(), 18u) << "21 getters over 18 distinct names";
}

TEST_F(ServiceHelperTest, MissingServiceIsAskedForAgainUntilTheHostHasIt) {
  host.removeService("kyr.orla.appfw.GuiExecutive");
  EXPECT_FALSE(ServiceHelper::getGuiExeutive());
  EXPECT_FALSE(ServiceHelper::getGuiExeutive());
  EXPECT_EQ(lookups(), 2u);

  host.registerBareService("kyr.orla.appfw.GuiExecutive");
  const Zol::ZolIService gui = ServiceHelper::getGuiExeutive();
  EXPECT_TRUE(Zol::isSameObject(gui, registered("kyr.orla.appfw.GuiExecutive")));
  ServiceHelper::getGuiExeutive();
  EXPECT_EQ(lookups(), 3u);
}

TEST_F(ServiceHelperTest, ReleaseServicesDropsTheCacheButKeepsTheProvider) {
  const Zol::ZolIService original = registered("Zol.Util.Units");
  ServiceHelper::getUtilUnitsService();
  EXPECT_EQ(holdersOf(original), std::vector<std::string>{"ServiceHelper: cached Zol.Util.Units"});

  host.registerBareService("Zol.Util.Units");
  EXPECT_TRUE(Zol::isSameObject(ServiceHelper::getUtilUnitsService(), original)) << "served from the cache";
  ServiceHelper::releaseServices();
  EXPECT_TRUE(holdersOf(original).empty()) << "releaseServices kept a reference";

  const Zol::ZolIService fresh = ServiceHelper::getUtilUnitsService();
  EXPECT_FALSE(Zol::isSameObject(fresh, original)) << "a getter answered from a released entry";
  EXPECT_TRUE(Zol::isSameObject(fresh, registered("Zol.Util.Units")));
  EXPECT_EQ(lookups(), 2u);
  EXPECT_TRUE(Zol::isSameObject(ServiceHelper::getServiceProvider(), host.provider().asService()));
}

TEST_F(ServiceHelperTest, SecondAccessReplacesTheProviderAndKeepsTheCache) {
  const Zol::ZolIService gui = ServiceHelper::getGuiExeutive();
  const Zol::ZolIService firstProvider = host.provider().asService();
  const std::vector<std::string> bothHolders = {"ServiceHelper: service provider",
                                                "ServiceProviderHelper: service provider"};
  EXPECT_EQ(holdersOf(firstProvider), bothHolders);

  auto second = host.makeServiceAccess();
  ServiceHelper::setZolServiceAccess(second.get());
  EXPECT_TRUE(holdersOf(firstProvider).empty()) << "both holders let the old provider go";
  EXPECT_EQ(holdersOf(second->provider()), bothHolders);
  EXPECT_TRUE(Zol::isSameObject(ServiceProviderHelper::getServiceProvider(), second->provider()));

  host.journal().clear();
  EXPECT_TRUE(Zol::isSameObject(ServiceHelper::getGuiExeutive(), gui));
  EXPECT_EQ(lookups(), 0u) << "the cache survives a new access";

  host.registerBareService("Zol.Util.Units");
  EXPECT_TRUE(Zol::isSameObject(ServiceHelper::getUtilUnitsService(), registered("Zol.Util.Units")))
      << "a service registered later reaches the second provider too";
  EXPECT_EQ(host.journal().count(CallPattern::of<Provider>("getService").on(second->provider())), 1u);
}

TEST_F(ServiceHelperTest, FactoriesComeFromTheHostServiceCacheAndTheTrashBinFromItsFactory) {
  using kyr::orla::appfw::ServiceCacheAppFrame;
  auto factory = simhost::makeSimObject<simhost::SimTransactionBrokerFactory>(host.context(), "broker factory");
  ServiceCacheAppFrame::transactionBrokerFactory_ = factory;
  EXPECT_TRUE(Zol::isSameObject(ServiceHelper::getTransactionBroker(), factory));
  EXPECT_TRUE(Zol::isSameObject(ServiceHelper::getIEntRefFactory(), ServiceCacheAppFrame::entRefFactory_));
  ServiceCacheAppFrame::transactionBrokerFactory_.reset();
  ServiceCacheAppFrame::entRefFactory_.reset();
  EXPECT_FALSE(ServiceHelper::getTransactionBroker());
  EXPECT_FALSE(ServiceHelper::getIEntRefFactory());
  EXPECT_EQ(host.journal().size(), 0u);

  EXPECT_TRUE(Zol::isSameObject(ServiceHelper::getTrashbin(), host.trashBinService().trashBin()));
  EXPECT_EQ(host.journal().count(CallPattern::of<kyr::orla::appfw::ZolITrashBinFactoryInterface>("getTrashBin")), 1u);
  ServiceHelper::getTrashbin();
  EXPECT_EQ(lookupsOf("kyr.orla.appfw.TrashBinFW"), 1u) << "the trash-bin service is cached";

  host.trashBinService().setTrashBin({});
  EXPECT_FALSE(ServiceHelper::getTrashbin());
}

TEST_F(ServiceHelperTest, KernelExceptionsMeanAbsentOthersPassThrough) {
  host.faults().inject(CallPattern::of<Provider>("getService"), simhost::Fault::systemException("lookup failed"), 1);
  host.faults().inject(CallPattern::of<Provider>("getService"),
                       simhost::Fault::typedException("Zol.EOM.DependencyManagerException", "broken"), 2);
  host.faults().inject(CallPattern::of<Provider>("getService"), simhost::Fault::foreignException("not ours"), 3);
  EXPECT_FALSE(ServiceHelper::getSelectionManager());
  EXPECT_FALSE(ServiceHelper::getSelectionManager());
  EXPECT_THROW(ServiceHelper::getSelectionManager(), std::runtime_error);
  EXPECT_TRUE(ServiceHelper::getSelectionManager()) << "nothing was cached by the failures";
  EXPECT_EQ(lookups(), 4u);
}

TEST_F(ServiceHelperTest, ViewportAndCurrentModelWalkPastTheCache) {
  const auto viewport = host.shell().viewportManager()->currentViewport();
  EXPECT_TRUE(Zol::isSameObject(ServiceHelper::getViewport(), viewport));
  EXPECT_TRUE(Zol::isSameObject(ServiceHelper::getViewport(), viewport));
  EXPECT_EQ(lookupsOf("kyr.orla.plugin.shell.ShellEntities"), 2u) << "getViewport bypasses the cache";

  host.faults().inject(CallPattern::of<Provider>("getService").with("kyr.orla.plugin.shell.ShellEntities", ""),
                       simhost::Fault::systemException("shell unavailable"), 1);
  EXPECT_THROW(ServiceHelper::getViewport(), Zol::ZolSystemException_24)
      << "unlike the cached getters, getViewport lets the look-up's exception pass";

  host.shell().viewportManager()->setCurrentViewport({});
  EXPECT_FALSE(ServiceHelper::getViewport());
  host.shell().setViewportManager({});
  EXPECT_FALSE(ServiceHelper::getViewport());

  const auto session = host.persistence().session();
  EXPECT_TRUE(Zol::isSameObject(ServiceHelper::getCurrentModel(), session->model()));

  session->setModel({});
  EXPECT_FALSE(ServiceHelper::getCurrentModel());
  host.persistence().setSession({});
  EXPECT_FALSE(ServiceHelper::getCurrentModel());
}

}  // namespace
