// Loading and unloading the library as a plug-in does: through a module that
// links it, loaded and closed at run time. Each phase sees the library's
// process-wide state as the plug-in does, from load to unload.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/HostTest.h"
#include "support/Module.h"
#include "zol/kernel/ZolDebug.h"
#include "zol/kernel/ZolException.h"
#include "zol/kernel/ZolHoldings.h"

namespace {

const std::array<const char*, 6> kHostExceptionTypes = {
    "Zol.EOM.DependencyManagerException",
    "Zol.Util.SystemUtils.FileNoAccessException",
    "Zol.Util.SystemUtils.IncompatiblePathsException",
    "Zol.Framework.Reflection.TypeCodeException",
    "Zol.Services.TypeRegistry.TypeRegistryException",
    "kyr.orla.appfw.UndoRedoFWException",
};

bool libraryLoaded() { return testing_support::moduleLoaded(WYRDAN_LIBRARY_SONAME); }

std::vector<std::string> heldReferences() {
  std::vector<std::string> holders;
  for (const Zol::ZolHeldReference& held : Zol::currentHeldReferences_24_8()) holders.push_back(held.holder);
  std::sort(holders.begin(), holders.end());
  return holders;
}

TEST(LibraryLifetime, LoadStartUseAndUnload) {
  testing_support::LeakCheck leakCheck;
  simhost::SimHost host;
  for (const char* type : kHostExceptionTypes) ASSERT_FALSE(Zol::hasCreator(type)) << type;
  ASSERT_FALSE(libraryLoaded());

  testing_support::Module module(PROBE_PLUGIN_PATH);
  ASSERT_TRUE(module.loaded()) << module.error();
  EXPECT_TRUE(libraryLoaded());
  for (const char* type : kHostExceptionTypes) EXPECT_TRUE(Zol::hasCreator(type)) << type;
  EXPECT_EQ(host.journal().size(), 0u) << "the library called the host while loading";
  EXPECT_TRUE(heldReferences().empty()) << "the library holds nothing before start-up";

  // Before the service access: no provider, and a look-up is a reported
  // programming error that finds nothing.
  const auto start = module.entry<void (*)(Zol::Framework::ZolIServiceAccess*)>("probeStart");
  const auto hasProvider = module.entry<bool (*)()>("probeHasProvider");
  const auto lookUp = module.entry<int (*)()>("probeLookUp");
  ASSERT_TRUE(start && hasProvider && lookUp) << "the probe exports its entry points";
  std::string reported;
  Zol::setDebugSink([&](std::string_view text) { reported += text; });
  EXPECT_FALSE(hasProvider());
  EXPECT_EQ(lookUp(), 0);
  Zol::setDebugSink({});
  EXPECT_NE(reported.find("Assertion failed: m_zolServiceProvider != NULLSP"), std::string::npos) << reported;
  start(nullptr);
  EXPECT_FALSE(hasProvider()) << "a null access is ignored";
  EXPECT_EQ(host.journal().size(), 0u);

  start(host.serviceAccess());
  EXPECT_EQ(host.journal().count("Zol.Framework.ZolIServiceAccess", "getServiceProvider"), 2u)
      << "the locator and the provider holder each ask once";
  EXPECT_TRUE(hasProvider());
  EXPECT_EQ(lookUp(), 3);
  EXPECT_EQ(heldReferences(), (std::vector<std::string>{
                                  "ServiceHelper: cached Zol.EOM.EOMCore",
                                  "ServiceHelper: cached Zol.PersistenceFW.CAEData.PFW",
                                  "ServiceHelper: cached kyr.orla.appfw.GuiExecutive",
                                  "ServiceHelper: service provider",
                                  "ServiceProviderHelper: service provider",
                              }));

  ASSERT_TRUE(module.close()) << module.error();
  EXPECT_FALSE(libraryLoaded()) << "the library stayed mapped after its last user was closed";
  for (const char* type : kHostExceptionTypes) EXPECT_FALSE(Zol::hasCreator(type)) << type;
  EXPECT_TRUE(heldReferences().empty()) << "an unloaded library still reports holdings";
}

}  // namespace
