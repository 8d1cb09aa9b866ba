// Loading and unloading the library as a plug-in does: through dlopen and
// dlclose of a module that links it.
#include <dlfcn.h>

#include <array>
#include <string>

#include <gtest/gtest.h>

#include "simhost/ObjectAccounting.h"
#include "simhost/SimHost.h"
#include "zol/kernel/ZolException.h"

namespace {

const std::array<const char*, 6> kHostExceptionTypes = {
    "Zol.EOM.DependencyManagerException",
    "Zol.Util.SystemUtils.FileNoAccessException",
    "Zol.Util.SystemUtils.IncompatiblePathsException",
    "Zol.Framework.Reflection.TypeCodeException",
    "Zol.Services.TypeRegistry.TypeRegistryException",
    "kyr.orla.appfw.UndoRedoFWException",
};

bool libraryLoaded() {
  void* handle = dlopen(WYRDAN_LIBRARY_SONAME, RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}

template <class Fn>
Fn symbol(void* module, const char* name) {
  return reinterpret_cast<Fn>(dlsym(module, name));
}

TEST(LibraryLifetime, LoadRegistersCreatorsUnloadReleasesEverything) {
  {
    simhost::SimHost host;
    const auto baseline = simhost::ObjectAccounting::liveObjects();
    const std::uint32_t providerReferences = host.provider().referenceCount();
    for (const char* type : kHostExceptionTypes) ASSERT_FALSE(Zol::hasCreator(type)) << type;
    ASSERT_FALSE(libraryLoaded());

    void* module = dlopen(PROBE_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    EXPECT_TRUE(libraryLoaded());
    for (const char* type : kHostExceptionTypes) EXPECT_TRUE(Zol::hasCreator(type)) << type;
    EXPECT_EQ(host.journal().size(), 0u) << "the library called the host while loading";

    symbol<void (*)(Zol::Framework::ZolIServiceAccess*)>(module, "probeStart")(host.serviceAccess());
    EXPECT_EQ(symbol<int (*)()>(module, "probeLookUp")(), 3);
    EXPECT_GT(host.provider().referenceCount(), providerReferences) << "the library keeps the provider";

    ASSERT_EQ(dlclose(module), 0);
    EXPECT_FALSE(libraryLoaded()) << "the library stayed mapped after its last user was closed";
    for (const char* type : kHostExceptionTypes) EXPECT_FALSE(Zol::hasCreator(type)) << type;
    EXPECT_EQ(host.provider().referenceCount(), providerReferences);

    const auto afterUnload = simhost::ObjectAccounting::liveObjects();
    ASSERT_EQ(afterUnload.size(), baseline.size());
    for (std::size_t i = 0; i < baseline.size(); ++i) {
      EXPECT_EQ(afterUnload[i].references, baseline[i].references) << afterUnload[i].serviceName;
    }
  }
  EXPECT_EQ(simhost::ObjectAccounting::liveCount(), 0u) << simhost::ObjectAccounting::report();
}

}  // namespace
