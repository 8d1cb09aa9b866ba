// The model tools' services kept for the life of the library: found by the
// first flush, whatever it finds, and released when the library unloads.
// The library is loaded and unloaded through a plug-in module, so each test
// sees it as a plug-in does, from load to unload.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/HostTest.h"
#include "support/Module.h"
#include "zol/kernel/ZolException.h"
#include "zol/kernel/ZolHoldings.h"

namespace {

using kyr::orla::appfw::ServiceCacheAppFrame;
using simhost::CallPattern;

constexpr char kModelManagement[] = "kyr.orla.plugin.baseplugin.ModelManagement";

bool libraryLoaded() { return testing_support::moduleLoaded(WYRDAN_LIBRARY_SONAME); }

// What the library holds of the model tools, by holder.
std::vector<std::string> heldByModelHelper() {
  std::vector<std::string> holders;
  for (const Zol::ZolHeldReference& held : Zol::currentHeldReferences_24_8()) {
    if (held.holder.rfind("ModelHelper", 0) == 0) holders.push_back(held.holder);
  }
  std::sort(holders.begin(), holders.end());
  return holders;
}

// The probe plug-in, loaded at construction and unloaded at destruction.
class ProbePlugin {
 public:
  ProbePlugin() : module_(MODELTOOLS_PROBE_PATH) {
    if (!module_.loaded()) ADD_FAILURE() << module_.error();
  }
  ProbePlugin(const ProbePlugin&) = delete;
  ProbePlugin& operator=(const ProbePlugin&) = delete;
  ~ProbePlugin() {
    EXPECT_TRUE(module_.close()) << module_.error();
    EXPECT_FALSE(libraryLoaded()) << "the library stayed mapped after its plug-in was closed";
  }

  bool loaded() const { return module_.loaded(); }
  void start(Zol::Framework::ZolIServiceAccess* access) {
    entry<void (*)(Zol::Framework::ZolIServiceAccess*)>("modelToolsStart")(access);
  }
  void flush(bool save, bool openModelOnly) { entry<void (*)(bool, bool)>("modelToolsFlush")(save, openModelOnly); }
  int publish(int code) { return entry<int (*)(int)>("modelToolsPublish")(code); }
  void flushOnThreads(int threads) { entry<void (*)(int)>("modelToolsFlushOnThreads")(threads); }

 private:
  template <class Fn>
  Fn entry(const char* name) {
    const Fn function = module_.entry<Fn>(name);
    if (function == nullptr) throw std::logic_error(std::string("the probe exports no ") + name);
    return function;
  }

  testing_support::Module module_;
};

class ModelToolsLifetime : public testing_support::HostTest {
 protected:
  std::size_t lookUps() {
    return host.journal().count(
        CallPattern::of<Zol::Framework::ZolIServiceProviderInterface>("getService").with(kModelManagement, ""));
  }
};

TEST_F(ModelToolsLifetime, WhatTheFirstFlushFindsIsKeptUntilUnload) {
  ASSERT_FALSE(libraryLoaded());
  host.removeService(kModelManagement);
  const auto eventManager = ServiceCacheAppFrame::eventManager_;
  ServiceCacheAppFrame::eventManager_.reset();
  {
    ProbePlugin plugin;
    ASSERT_TRUE(plugin.loaded());
    plugin.start(host.serviceAccess());
    plugin.flush(true, false);
    EXPECT_EQ(lookUps(), 1u);
    EXPECT_EQ(host.appExecutive().flushTarget()->flushes(), 0u) << "without model management nothing is flushed";
    EXPECT_EQ(plugin.publish(3), 2147483647) << "no event manager";
    EXPECT_TRUE(heldByModelHelper().empty());

    host.registerService(kModelManagement, host.modelManagement().asService());
    ServiceCacheAppFrame::eventManager_ = eventManager;
    plugin.flush(true, false);
    EXPECT_EQ(lookUps(), 1u) << "the first look-up's answer stands";
    EXPECT_EQ(host.modelManagement().flushes(), 0u);
    EXPECT_EQ(plugin.publish(3), 2147483647) << "so does the first event manager's absence";
    EXPECT_TRUE(host.appExecutive().publications().empty());
  }

  ProbePlugin plugin;
  plugin.start(host.serviceAccess());
  plugin.flush(true, false);
  EXPECT_EQ(lookUps(), 2u) << "a new load looks the service up again";
  EXPECT_EQ(host.modelManagement().flushes(), 1u);
  EXPECT_EQ(host.appExecutive().flushTarget()->flushes(), 1u);
  EXPECT_EQ(plugin.publish(3), 0);
  EXPECT_EQ(host.appExecutive().publications().size(), 1u);
  EXPECT_EQ(heldByModelHelper(),
            (std::vector<std::string>{"ModelHelper: event manager", "ModelHelper: model management"}));
  // The fixture's leak check tells whether the unload released them.
}

TEST_F(ModelToolsLifetime, OnlyACallThatReachesAServiceFixesIt) {
  constexpr char kAppExecutive[] = "kyr.orla.appfw.AppExecutive";
  const auto eventManager = ServiceCacheAppFrame::eventManager_;
  ProbePlugin plugin;
  ASSERT_TRUE(plugin.loaded());
  plugin.start(host.serviceAccess());

  host.removeService(kAppExecutive);
  ServiceCacheAppFrame::eventManager_.reset();
  EXPECT_EQ(plugin.publish(3), 2147483647);
  host.registerService(kAppExecutive, host.appExecutive().asService());
  ServiceCacheAppFrame::eventManager_ = eventManager;
  EXPECT_EQ(plugin.publish(3), 0) << "without a framework access the event manager was not taken";

  host.appExecutive().setCurrentModelName(u"none");
  plugin.flush(true, true);
  EXPECT_EQ(lookUps(), 0u) << "no open model: the flush ends before the look-up";

  host.registerBareService(kModelManagement);
  EXPECT_THROW(plugin.flush(true, false), Zol::ZolSystemException_24);
  host.registerService(kModelManagement, host.modelManagement().asService());
  plugin.flush(true, false);
  EXPECT_EQ(lookUps(), 2u) << "a look-up whose cast threw is made again";
  EXPECT_EQ(host.modelManagement().flushes(), 1u);
}

TEST_F(ModelToolsLifetime, ConcurrentFirstFlushesLookTheServiceUpOnce) {
  ProbePlugin plugin;
  ASSERT_TRUE(plugin.loaded());
  plugin.start(host.serviceAccess());
  plugin.flushOnThreads(8);
  EXPECT_EQ(lookUps(), 1u);
  EXPECT_EQ(host.modelManagement().flushes(), 8u);
  EXPECT_EQ(host.trashBinService().trashBin()->flushes(), 8u);
}

}  // namespace
