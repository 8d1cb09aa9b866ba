// The simulated host's bookkeeping, which the other tests rely on: the fault
// plan and the call journal with the argument texts it shows, service
// registration, the accounting of live objects, and the
// order in which a host shuts down.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/SimHostTest.h"
#include "zol/kernel/ZolHoldings.h"
#include "zol/kernel/ZolHostExceptions.h"

namespace {

using simhost::CallPattern;
using Provider = Zol::Framework::ZolIServiceProviderInterface;
using kyr::orla::appfw::IEntityInterface;
using testing_support::SimHostTest;

TEST_F(SimHostTest, FaultsFireOnTheirCallOnlyAndMatchTypedArguments) {
  host.faults().inject(CallPattern::of<Provider>("getService"), simhost::Fault::errorResult(7), 2);
  EXPECT_TRUE(lookUp("Zol.Util.Units").isOk());
  EXPECT_EQ(lookUp("Zol.Util.Units").getCode(), 7);
  EXPECT_TRUE(lookUp("Zol.Util.Units").isOk()) << "the second call only";

  host.faults().clear();
  host.faults().inject(CallPattern::of<Provider>("getService").with("kyr.orla.appfw.PluginMgr", ""),
                       simhost::Fault::foreignException("boom"));
  EXPECT_NO_THROW(lookUp("kyr.orla.appfw.PluginMgr.Other")) << "arguments match exactly, not as a prefix";
  EXPECT_THROW(lookUp("kyr.orla.appfw.PluginMgr"), std::runtime_error);
  Zol::ZolIService service;
  EXPECT_TRUE(host.provider().getService("kyr.orla.appfw.PluginMgr", "2", service).isOk())
      << "another version is another argument list";

  host.faults().clear();
  EXPECT_FALSE(host.faults().armed());
  host.faults().inject(CallPattern::of<Provider>("getService").containing("Units"),
                       simhost::Fault::typedException(Zol::EOM::DependencyManagerException::kTypeName, "no creator"));
  EXPECT_THROW(lookUp("Zol.Util.Units"), Zol::ZolUserException_24)
      << "without a registered creator the kernel makes a user exception";
  EXPECT_EQ(host.journal().count(CallPattern::of<Provider>("getService")), 7u) << "failed calls are journaled too";
}

TEST_F(SimHostTest, JournalRecordsTheObjectAndEachArgumentAsItsText) {
  const auto first = host.model().addEntity(5, 1, 0, "plate", "Plate");
  const auto second = host.model().addEntity(5, 2, 0, "plate", "Plate");
  ZolSmartPointer<kyr::orla::appfw::IURCommandInterface> undo;
  host.journal().clear();
  first->setAttribute("thickness", Zol::ZolAny_24_8(2), undo);
  second->setAttribute("thickness", Zol::makeZolAny(std::string("thin")), undo);

  const auto calls = host.journal().calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].arguments, (std::vector<std::string>{"thickness", "Zol.ZolString \"thin\""}));
  EXPECT_EQ(calls[0].toString(), "kyr.orla.appfw.IEntity.setAttribute(thickness, Zol.Int32 2) on entity (5, 1, 0) #" +
                                     std::to_string(first->serviceId()));

  const auto onSecond = CallPattern::of<IEntityInterface>("setAttribute").on(second);
  EXPECT_EQ(host.journal().count(onSecond), 1u);
  EXPECT_EQ(host.journal().count(CallPattern::of<IEntityInterface>().on(first).with("thickness", Zol::ZolAny_24_8(2))),
            1u);
  EXPECT_EQ(host.journal().count(CallPattern::of<IEntityInterface>().with("thickness", Zol::ZolAny_24_8(3))), 0u);

  host.journal().setEnabled(false);
  lookUp("c");
  EXPECT_EQ(host.journal().size(), 2u) << "a disabled journal records nothing";

  // Each kind of argument as the journal shows it.
  EXPECT_EQ(simhost::argumentText(std::uint32_t{4000000000u}), "4000000000");
  EXPECT_EQ(simhost::argumentText(icu::UnicodeString::fromUTF8("Tr\xC3\xA4ger")), "Tr\xC3\xA4ger");
  EXPECT_EQ(simhost::argumentText(Zol::makeZolAny(2.5)), "Zol.Double 2.500000");
  EXPECT_EQ(simhost::argumentText(ZolSequence<std::uint32_t>{7, 9}), "[7, 9]");
  EXPECT_EQ(simhost::argumentText(Zol::ZolIService()), "null");
  kyr::orla::appfw::CmdOptions options;
  options.flags[0] = options.flags[13] = true;
  EXPECT_EQ(simhost::argumentText(options), "{0, 13}");
}

TEST_F(SimHostTest, EveryProviderSeesLaterRegistrations) {
  const auto access = host.makeServiceAccess();
  host.registerBareService("Test.Late");
  Zol::ZolIService late;
  EXPECT_TRUE(access->provider()->getService("Test.Late", "", late).isOk());
  EXPECT_TRUE(Zol::isSameObject(late, host.provider().services().at("Test.Late")));
  host.removeService("Test.Late");
  EXPECT_FALSE(access->provider()->getService("Test.Late", "", late).isOk());
}

// A module's declared holdings, as the library declares its service cache.
Zol::ZolIService declaredHolding;
ZolSmartPointer<simhost::SimEntity> declaredEntity;  // held by its own class

TEST(LeakAccounting, DeclaredHoldingsAreNotLeaksUndeclaredReferencesAre) {
  ASSERT_EQ(simhost::ObjectAccounting::leakReport(), "");
  const Zol::ZolHoldingsRegistration registration("Test module", [](Zol::ZolHeldReferences& held) {
    held.add("cached object", declaredHolding);
    held.add("entity", declaredEntity);
  });
  Zol::ZolIServiceInterface* leaked = nullptr;
  {
    simhost::SimHost host;
    declaredHolding = host.provider().services().at("Zol.Util.Units");
    declaredEntity = host.model().addEntity(5, 1, 0, "plate", "Plate");
    leaked = host.provider().services().at("kyr.orla.appfw.Units").get();
    leaked->addReference();
  }
  const auto leaks = simhost::ObjectAccounting::leaks();
  ASSERT_EQ(leaks.size(), 1u) << simhost::ObjectAccounting::report();
  EXPECT_EQ(leaks[0].serviceName, "kyr.orla.appfw.Units");
  EXPECT_EQ(leaks[0].references, 1u);
  EXPECT_EQ(simhost::ObjectAccounting::leakReport(), "kyr.orla.appfw.Units (1)\n");
  EXPECT_EQ(testing_support::liveObjectsNamed("Zol.Util.Units"), 1u) << "the held object stays alive";
  EXPECT_NE(simhost::ObjectAccounting::report().find("Zol.Util.Units (1, held: Test module: cached object)"),
            std::string::npos)
      << simhost::ObjectAccounting::report();
  EXPECT_NE(simhost::ObjectAccounting::report().find("model (1, held: entity (5, 1, 0): reference)"), std::string::npos)
      << "what a held object holds is held too";

  leaked->releaseReference();
  declaredHolding.reset();
  declaredEntity.reset();
  EXPECT_EQ(simhost::ObjectAccounting::liveCount(), 0u) << simhost::ObjectAccounting::report();
}

TEST(SimHostLifetime, PostedWorkDrainsBeforeTheHostServiceCacheIsCleared) {
  testing_support::LeakCheck leakCheck;
  std::atomic<bool> destroying{false};
  std::atomic<bool> sawRootManager{false};
  auto host = std::make_unique<simhost::SimHost>();
  host->workThread().post([&] {
    while (!destroying) std::this_thread::yield();
    // Give a destructor that clears first the time to do so.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    sawRootManager = static_cast<bool>(kyr::orla::appfw::ServiceCacheAppFrame::rootManager_);
  });
  destroying = true;
  host.reset();
  EXPECT_TRUE(sawRootManager) << "queued work ran against an emptied host";
  EXPECT_FALSE(kyr::orla::appfw::ServiceCacheAppFrame::rootManager_);
}

}  // namespace
