// The simulated host as a test bed: the library's tests, and plug-in authors,
// rely on its fault plan, journal, commands, events and accounting behaving
// exactly as documented.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "kyr/appfw/ModelBrowserRecords.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/HostTest.h"
#include "zol/kernel/ZolHoldings.h"
#include "zol/kernel/ZolHostExceptions.h"

namespace {

using simhost::CallPattern;
using Provider = Zol::Framework::ZolIServiceProviderInterface;
using kyr::orla::appfw::IEntityInterface;
using Zol::PersistenceFW::CAEData::EntityReference;
using Zol::PersistenceFW::CAEData::GUIDDATA;
using EntityPtr = ZolSmartPointer<IEntityInterface>;
using EOMObject = Zol::EOM::IEOMObjectInterface;
using simhost::EOMObjectPtr;

class SimHostTest : public testing_support::HostTest {
 protected:
  Zol::ZolResult_24_8 lookUp(const std::string& name) {
    Zol::ZolIService service;
    return host.provider().getService(name, "", service);
  }
};

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

TEST_F(SimHostTest, JournalRecordsTheObjectAndEachArgument) {
  const auto first = host.model().addEntity(5, 1, 0, "plate", "Plate");
  const auto second = host.model().addEntity(5, 2, 0, "plate", "Plate");
  ZolSmartPointer<kyr::orla::appfw::IURCommandInterface> undo;
  host.journal().clear();
  first->setAttribute("thickness", Zol::ZolAny_24_8(2), undo);
  second->setAttribute("thickness", Zol::makeZolAny(std::string("thin")), undo);

  const auto calls = host.journal().calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].objectName, "entity (5, 1, 0)");
  EXPECT_EQ(calls[0].objectId, first->serviceId());
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
}

TEST(ArgumentText, RendersEachKindAsTheJournalShowsIt) {
  EXPECT_EQ(simhost::argumentText(std::string()), "");
  EXPECT_EQ(simhost::argumentText(true), "true");
  EXPECT_EQ(simhost::argumentText(std::uint32_t{4000000000u}), "4000000000");
  EXPECT_EQ(simhost::argumentText(icu::UnicodeString::fromUTF8("Tr\xC3\xA4ger")), "Tr\xC3\xA4ger");
  EXPECT_EQ(simhost::argumentText(Zol::ZolAny_24_8()), "nothing");
  EXPECT_EQ(simhost::argumentText(Zol::makeZolAny(2.5)), "Zol.Double 2.500000");
  EXPECT_EQ(simhost::argumentText(ZolSequence<std::uint32_t>{7, 9}), "[7, 9]");
  EXPECT_EQ(simhost::argumentText(Zol::ZolIService()), "null");
  kyr::orla::appfw::CmdOptions options;
  options.flags[0] = options.flags[13] = true;
  EXPECT_EQ(simhost::argumentText(options), "{0, 13}");
  EXPECT_EQ(simhost::argumentText(kyr::orla::appfw::CmdParameter{"count", 3}), "count = Zol.Int32 3");
  EXPECT_EQ(simhost::argumentText(Zol::Framework::ZolEvent{12, 2, Zol::ZolAny_24_8(5)}),
            "domain 12, event 2, Zol.Int32 5");
  EXPECT_EQ(simhost::argumentText(Zol::Framework::ZolEvent{-1, 0, {}}), "domain -1, event 0, nothing");
}

// Reports, while it performs, what the processor says is running.
class RunningProbe final : public simhost::SimCommand {
 public:
  RunningProbe(simhost::SimContextPtr context, kyr::orla::appfw::CmdIdentity identity,
               std::shared_ptr<simhost::SimRunningCommands> running, simhost::SimCmdProcessor& processor)
      : SimCommand(std::move(context), std::move(identity), std::move(running)), processor_(processor) {}
  std::vector<std::int32_t> seen;
  bool foundItself = false;

 protected:
  Zol::ZolResult_24_8 perform(const kyr::orla::appfw::CmdParameters&) override {
    ZolSequence<std::int32_t> ids;
    processor_.getRunningCommandIds(ids);
    seen.assign(ids.begin(), ids.end());
    ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface> command;
    if (!ids.empty()) processor_.getCommandById(ids[0], command);
    foundItself = Zol::isSameObject(command, asService());
    return {};
  }

 private:
  simhost::SimCmdProcessor& processor_;
};

TEST_F(SimHostTest, RunningListAndModifyObjectsUndoRedo) {
  auto& processor = host.commandProcessor();
  processor.registerCommand("Test", "Probe",
                            [&processor](const auto& context, const auto& identity, const auto& running) {
                              return ZolSmartPointer<simhost::SimCommand>(
                                  simhost::makeSimObject<RunningProbe>(context, identity, running, processor));
                            });
  ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface> probe;
  processor.createCommand({"Test", "Probe", {}}, probe);
  ASSERT_TRUE(probe);
  probe->execute({});
  const auto* seen = dynamic_cast<const RunningProbe*>(probe.get());
  EXPECT_EQ(seen->seen.size(), 1u);
  EXPECT_TRUE(seen->foundItself);
  ZolSequence<std::int32_t> afterwards;
  processor.getRunningCommandIds(afterwards);
  EXPECT_TRUE(afterwards.empty()) << "a command runs only while it executes";

  const auto plate = host.model().addEntity(5, 1, 0, "plate", "Plate");
  plate->putAttribute("thickness", 1);
  auto list = simhost::makeSimObject<simhost::SimEntityReferenceList>(
      host.context(), std::vector<Zol::PersistenceFW::CAEData::EntityReference>{plate->reference()});
  ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface> modify;
  processor.createCommand({"KYR.CorePlugin", "ModifyObjects", {}}, modify);
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface> objects = list;
  modify->execute(
      {{"objects", Zol::makeZolAny(objects)}, {"values", kyr::orla::appfw::cmdParametersToAny({{"thickness", 2}})}});
  ZolSmartPointer<kyr::orla::appfw::IURCommandInterface> undo;
  modify->getURCommand(undo);
  ASSERT_TRUE(undo);
  EXPECT_EQ(plate->attribute("thickness"), Zol::ZolAny_24_8(2));
  EXPECT_TRUE(undo->undo().isOk());
  EXPECT_EQ(plate->attribute("thickness"), Zol::ZolAny_24_8(1));
  EXPECT_FALSE(undo->undo().isOk()) << "nothing left to undo";
  EXPECT_TRUE(undo->redo().isOk());
  EXPECT_EQ(plate->attribute("thickness"), Zol::ZolAny_24_8(2));
}

TEST_F(SimHostTest, EveryProviderSeesLaterRegistrationsAndIdentityWorksForEveryObject) {
  const auto access = host.makeServiceAccess();
  host.registerBareService("Test.Late");
  Zol::ZolIService late;
  EXPECT_TRUE(access->provider()->getService("Test.Late", "", late).isOk());
  EXPECT_TRUE(Zol::isSameObject(late, host.provider().services().at("Test.Late")));
  host.removeService("Test.Late");
  EXPECT_FALSE(access->provider()->getService("Test.Late", "", late).isOk());

  // An entity offers two interfaces; each of them, and the simulated object
  // itself, is the same object.
  const ZolSmartPointer<simhost::SimEntity> plate = host.model().addEntity(5, 1, 0, "plate", "Plate");
  const auto eomObject = Zol::interfaceCast<Zol::EOM::IEOMObjectInterface>(plate->asService());
  const ZolSmartPointer<IEntityInterface> entity = plate;
  EXPECT_TRUE(Zol::isSameObject(plate, eomObject));
  EXPECT_TRUE(Zol::isSameObject(entity, plate));
  EXPECT_FALSE(Zol::isSameObject(plate, host.model().addEntity(5, 2, 0, "other", "Plate")));
}

TEST_F(SimHostTest, AFailingPostedTaskIsReportedNotFatal) {
  host.workThread().post([] { throw std::runtime_error("request failed"); });
  bool ranAfterwards = false;
  host.workThread().post([&] { ranAfterwards = true; });
  host.workThread().waitIdle();
  EXPECT_TRUE(ranAfterwards);
  EXPECT_EQ(host.workThread().failures(), std::vector<std::string>{"request failed"});
  const auto reported = host.journal().callsTo("simhost.SimWorkThread", "taskFailed");
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0].arguments, std::vector<std::string>{"request failed"});
}

// A plug-in's invoker, as the host receives it in a task request.
class CountingInvoker final : public simhost::SimObject<kyr::orla::appfw::ZolIInvokerInterface> {
 public:
  using SimObject::SimObject;
  int invokes = 0;
  Zol::ZolResult_24_8 invoke() override {
    ++invokes;
    return {};
  }
};

TEST_F(SimHostTest, TasksTheCursorAndTransactionsKeepTheHostsRules) {
  using kyr::orla::appfw::CmdParameters;
  const auto invoker = simhost::makeSimObject<CountingInvoker>(host.context(), "invoker");
  const auto request = [&](const CmdParameters& payload) {
    host.guiExecutive().runGuiAction("KYR.WyrdanPlugin.TaskInvoker", kyr::orla::appfw::cmdParametersToAny(payload));
  };
  request({{"invoker", Zol::makeZolAny(ZolSmartPointer<kyr::orla::appfw::ZolIInvokerInterface>(invoker))},
           {"method", Zol::makeZolAny("Run")}});
  request({{"method", Zol::makeZolAny("ExecteSyncOnWorkThread")}, {"showWait", true}});
  host.workThread().waitIdle();
  EXPECT_EQ(invoker->invokes, 0);
  const auto refused = host.taskRunner().refusals();
  ASSERT_EQ(refused.size(), 2u);
  EXPECT_EQ(refused[0].method, "Run");
  EXPECT_TRUE(refused[0].hadInvoker);
  EXPECT_FALSE(refused[1].hadInvoker);
  EXPECT_TRUE(host.waitCursor().history().empty()) << "a refused request shows no cursor";
  host.failures().expect("GUI action KYR.WyrdanPlugin.TaskInvoker");
  std::vector<std::string> reasons;
  for (const auto& failure : host.failures().all()) reasons.push_back(failure.reason);
  EXPECT_EQ(reasons, (std::vector<std::string>{"no \"showWait\"", "no \"invoker\""}));

  const std::int64_t domain = *host.eventManager().domainId("kyr.orla.appfw.CmdProcessor");
  for (const std::int32_t id : {20, 20, 21, 7, 21, 21}) host.eventManager().deliver({domain, id, {}});
  EXPECT_EQ(host.waitCursor().history(), (std::vector<int>{1, 2, 1, 0}));
  EXPECT_EQ(host.waitCursor().extraPops(), 1) << "the cursor does not go below hidden";

  ZolSmartPointer<kyr::orla::appfw::ZolITransactionBrokerInterface> broker;
  ASSERT_TRUE(host.transactionBrokerFactory().createTransactionBroker(broker).isOk());
  EXPECT_EQ(broker->endTransaction().getCode(), Zol::ZolResult_24_8::kFailure) << "nothing to end";
  broker->beginTransaction();
  broker->beginTransaction();
  EXPECT_TRUE(broker->endTransaction().isOk());
  const auto made = host.transactionBrokerFactory().brokers();
  ASSERT_EQ(made.size(), 1u);
  EXPECT_TRUE(made[0]->isOpen()) << "one level still open";
  EXPECT_EQ(made[0]->failedEnds(), 1);
}

// A module's declared holding, as the library declares its service cache.
Zol::ZolIService declaredHolding;

TEST(LeakAccounting, DeclaredHoldingsAreNotLeaksUndeclaredReferencesAre) {
  ASSERT_EQ(simhost::ObjectAccounting::leakReport(), "");
  const Zol::ZolHoldingsRegistration registration(
      "Test module", [](Zol::ZolHeldReferences& held) { held.add("cached object", declaredHolding); });
  Zol::ZolIServiceInterface* leaked = nullptr;
  {
    simhost::SimHost host;
    declaredHolding = host.provider().services().at("Zol.Util.Units");
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

  leaked->releaseReference();
  declaredHolding.reset();
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

using EventManager = Zol::Framework::ZolIEventManagerInterface;
using Zol::Framework::EventFilter;
using Zol::Framework::EventHandled;
using Zol::Framework::EventNotHandled;
using Zol::Framework::ZolEvent;
using Zol::Framework::ZolIEventListenerInterface;
using ListenerPtr = ZolSmartPointer<ZolIEventListenerInterface>;
using PluginListenerPtr = ZolSmartPointer<simhost::SimPluginListener>;

// Listeners that write "<name>: <event>" to one log, in delivery order, then
// run `also`. They may be called from several threads at once; the test reads
// the log while nothing is delivered.
class SimEventsTest : public SimHostTest {
 protected:
  PluginListenerPtr recorder(const std::string& name, std::function<void(const ZolEvent&)> also = {}) {
    return simhost::makeSimObject<simhost::SimPluginListener>(
        host.context(), name, [this, name, also = std::move(also)](const ZolEvent& event) {
          {
            std::lock_guard<std::mutex> lock(logMutex);
            log.push_back(entry(name, event));
          }
          if (also) also(event);
          return EventHandled;
        });
  }
  static std::string entry(const std::string& name, const ZolEvent& event) {
    return name + ": " + simhost::argumentText(event);
  }

  std::mutex logMutex;
  std::vector<std::string> log;
  simhost::SimEventManager& events = host.eventManager();
};

TEST_F(SimEventsTest, DomainsAreFoundCreatedOrUnknownAndOnlyPluginCallsAreJournaled) {
  std::int64_t id = -1;
  EXPECT_EQ(events.lookUpDomainId("Test.Domain", id).getCode(), Zol::ZolResult_24_8::kFailure);
  EXPECT_EQ(id, -1) << "a failed look-up writes nothing";
  EXPECT_FALSE(events.domainId("Test.Domain"));

  ASSERT_TRUE(events.createDomainId("Test.Domain", id).isOk());
  EXPECT_NE(id, -1);
  EXPECT_EQ(events.domainId("Test.Domain"), id);
  std::int64_t again = 0;
  EXPECT_TRUE(events.createDomainId("Test.Domain", again).isOk());
  EXPECT_EQ(again, id) << "creating a known domain finds it";
  std::int64_t found = 0;
  EXPECT_TRUE(events.lookUpDomainId("Test.Domain", found).isOk());
  EXPECT_EQ(found, id);

  const std::int64_t modes = events.defineDomain("kyr.orla.appfw.Modes");
  EXPECT_EQ(events.defineDomain("kyr.orla.appfw.Modes"), modes);
  EXPECT_NE(modes, id);
  EXPECT_TRUE(events.lookUpDomainId("kyr.orla.appfw.Modes", found).isOk());
  EXPECT_EQ(found, modes) << "a domain the host defined is known to the plug-in";

  std::int64_t channel = 0;
  std::int64_t otherChannel = 0;
  ASSERT_TRUE(events.createChannelId(channel).isOk());
  ASSERT_TRUE(events.createChannelId(otherChannel).isOk());
  EXPECT_EQ((std::set<std::int64_t>{id, modes, channel, otherChannel, host.guiExecutive().guiChannelId()}).size(), 5u)
      << "channels and domains share one numbering";

  EXPECT_EQ(host.journal().count(CallPattern::of<EventManager>()), 7u)
      << "defineDomain and domainId are the host's own, not journaled";
  EXPECT_EQ(host.journal().count(CallPattern::of<EventManager>("lookUpDomainId").with("kyr.orla.appfw.Modes")), 1u);
  EXPECT_EQ(host.journal().count(CallPattern::of<EventManager>("createChannelId").on(events.serviceId())), 2u);
}

TEST(SimEventManager, DomainsKeepTheirIdsAcrossTheHostsOfTheProcessAndChannelsNeverRepeat) {
  testing_support::LeakCheck leakCheck;
  std::vector<std::int64_t> domains;
  std::vector<std::int64_t> fresh;
  for (int round = 0; round < 2; ++round) {
    simhost::SimHost host;
    simhost::SimEventManager& events = host.eventManager();
    std::int64_t domain = 0;
    std::int64_t channel = 0;
    ASSERT_FALSE(events.lookUpDomainId("Test.Domain", domain).isOk()) << "each host starts without this domain";
    ASSERT_TRUE(events.createDomainId("Test.Domain", domain).isOk());
    ASSERT_TRUE(events.createChannelId(channel).isOk());
    domains.push_back(domain);
    fresh.insert(fresh.end(), {channel, events.defineDomain("Test.Other " + std::to_string(round)),
                               host.guiExecutive().guiChannelId()});
  }
  EXPECT_EQ(domains[0], domains[1]) << "a domain name keeps its id from host to host";
  fresh.push_back(domains[0]);
  EXPECT_EQ(std::set<std::int64_t>(fresh.begin(), fresh.end()).size(), fresh.size())
      << "channels and other domains never reuse an id";
}

TEST(SimEventManager, TheHostsShutDownEndsSubscriptionsOfListenersThatHoldTheManager) {
  testing_support::LeakCheck leakCheck;
  {
    simhost::SimHost host;
    const ZolSmartPointer<EventManager> manager(&host.eventManager());
    const auto holder = simhost::makeSimObject<simhost::SimPluginListener>(
        host.context(), "holder", [manager](const ZolEvent&) { return EventHandled; });
    ASSERT_TRUE(manager->addListenerForAllEvents(host.eventManager().defineDomain("Test.Domain"), holder, 2).isOk());
  }
  EXPECT_EQ(testing_support::liveObjectsNamed("event manager"), 0u)
      << "a subscriber that holds the manager would otherwise keep both alive";
}

TEST_F(SimEventsTest, OneSubscriptionPerIdAndListenerThatReAddingReplaces) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const std::int64_t other = events.defineDomain("Test.Other");
  const auto a = recorder("A");
  const auto b = recorder("B");
  const std::uint32_t unsubscribed = simhost::referenceCount(a);

  ASSERT_TRUE(events.addListener(domain, a, 2, {1, 2}).isOk());
  ASSERT_TRUE(events.addListener(domain, a, 3, {5}).isOk());
  ASSERT_TRUE(events.addListenerForAllEvents(domain, b, 2).isOk());
  ASSERT_TRUE(events.addListener(other, a, 2, {}).isOk());
  {
    const auto subscribed = events.subscriptions(domain);
    ASSERT_EQ(subscribed.size(), 2u);
    EXPECT_TRUE(Zol::isSameObject(subscribed[0].listener, a));
    EXPECT_EQ(subscribed[0].mode, 3);
    EXPECT_EQ(subscribed[0].filter, (EventFilter{5})) << "the second addListener replaced filter and mode";
    EXPECT_FALSE(subscribed[0].allEvents);
    EXPECT_TRUE(Zol::isSameObject(subscribed[1].listener, b));
    EXPECT_EQ(subscribed[1].mode, 2);
    EXPECT_TRUE(subscribed[1].filter.empty());
    EXPECT_TRUE(subscribed[1].allEvents);
  }
  EXPECT_EQ(events.subscriptions(other).size(), 1u);
  EXPECT_EQ(simhost::referenceCount(a), unsubscribed + 2) << "one reference per subscription";

  EXPECT_TRUE(events.removeListener(domain, a).isOk());
  EXPECT_TRUE(events.removeListener(domain, a).isOk()) << "removing an unknown pair succeeds";
  EXPECT_TRUE(events.removeListener(0, b).isOk());
  EXPECT_TRUE(events.removeListener(domain, ListenerPtr()).isOk());
  {
    const auto subscribed = events.subscriptions(domain);
    ASSERT_EQ(subscribed.size(), 1u);
    EXPECT_TRUE(Zol::isSameObject(subscribed[0].listener, b));
  }
  EXPECT_EQ(events.subscriptions(other).size(), 1u) << "a removal ends one id's subscription only";
  EXPECT_EQ(simhost::referenceCount(a), unsubscribed + 1);

  EXPECT_EQ(events.addListener(domain, ListenerPtr(), 2, {}).getCode(), Zol::ZolResult_24_8::kFailure);
  EXPECT_EQ(events.subscriptions(domain).size(), 1u) << "an empty listener is not subscribed";

  events.clear();
  EXPECT_TRUE(events.subscriptions(domain).empty());
  EXPECT_TRUE(events.subscriptions(other).empty());
  EXPECT_EQ(simhost::referenceCount(a), unsubscribed);
  EXPECT_EQ(events.domainId("Test.Domain"), domain) << "clearing keeps the domains";
}

TEST_F(SimEventsTest, PublishFireAndDeliverReachTheListenersWhoseFiltersAdmitTheEvent) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const std::int64_t other = events.defineDomain("Test.Other");
  const std::int64_t silent = events.defineDomain("Test.Silent");
  const auto a = recorder("A");
  const auto b = recorder("B");
  const auto c = recorder("C");
  ASSERT_TRUE(events.addListener(domain, a, 2, {1, 2}).isOk());
  ASSERT_TRUE(events.addListenerForAllEvents(domain, b, 2).isOk());
  ASSERT_TRUE(events.addListener(other, c, 2, {2}).isOk());
  ASSERT_TRUE(events.addListener(other, a, 3, {}).isOk());

  struct Case {
    std::int64_t domain;
    std::int32_t event;
    std::vector<std::string> reached;  // in subscription order
  };
  const Case cases[] = {
      {domain, 1, {"A", "B"}}, {domain, 2, {"A", "B"}}, {domain, 3, {"B"}},
      {other, 2, {"C", "A"}},  {other, 7, {"A"}},       {silent, 1, {}},
  };
  for (const Case& test : cases) {
    const ZolEvent event{test.domain, test.event, Zol::ZolAny_24_8(test.event * 10)};
    SCOPED_TRACE(simhost::argumentText(event));
    std::vector<std::string> expected;
    for (const std::string& name : test.reached) expected.push_back(entry(name, event));

    log.clear();
    EXPECT_TRUE(events.publishEvent(event, 0).isOk());
    EXPECT_EQ(log, expected) << "published";
    log.clear();
    EXPECT_TRUE(events.fireEvent(event, 1, a).isOk());
    EXPECT_EQ(log, expected) << "fired by A, which receives it like any subscriber";
    log.clear();
    EXPECT_EQ(events.deliver(event), expected.size());
    EXPECT_EQ(log, expected) << "delivered by the host";
  }
}

TEST_F(SimEventsTest, TheAppExecutivePublishesInASendersNameAndAnswersWhatTheTestSet) {
  using kyr::orla::appfw::IFrameworkAccessInterface;
  simhost::SimAppExecutive& executive = host.appExecutive();
  const auto access = kyr::orla::appfw::ServiceCacheAppFrame::frameworkAccess_;
  ASSERT_EQ(access.get(), static_cast<IFrameworkAccessInterface*>(&executive));
  Zol::ZolIService service;
  ASSERT_TRUE(lookUp("kyr.orla.appfw.AppExecutive").isOk());
  host.provider().getService("kyr.orla.appfw.AppExecutive", "", service);
  EXPECT_TRUE(Zol::interfaceCast<kyr::orla::appfw::ZolIAppExecutiveInterface>(service)) << "both faces on one object";

  const std::int64_t domain = events.defineDomain("kyr.orla.appfw.CmdProcessor");
  const auto listener = recorder("L");
  ASSERT_TRUE(events.addListener(domain, listener, 2, {20}).isOk());
  const ZolEvent push{domain, 20, {}};
  EXPECT_TRUE(access->publishEvent("appfw.CommandSS", push, false).isOk());
  EXPECT_TRUE(access->publishEvent("appfw.CommandSS", ZolEvent{domain, 21, {}}, false).isOk());
  EXPECT_EQ(log, std::vector<std::string>{entry("L", push)}) << "the subscription's filter holds";
  const auto publications = executive.publications();
  ASSERT_EQ(publications.size(), 2u);
  EXPECT_EQ(publications[1].sender, "appfw.CommandSS");
  EXPECT_EQ(publications[1].event.eventId, 21);
  ZolSmartPointer<EventManager> manager;
  ASSERT_TRUE(access->getEventManager(manager).isOk());
  EXPECT_EQ(manager.get(), static_cast<EventManager*>(&events));

  icu::UnicodeString name;
  ASSERT_TRUE(access->getCurrentModelName(name).isOk());
  EXPECT_EQ(name, u"Model");
  executive.setCurrentModelName(u"none");
  access->getCurrentModelName(name);
  EXPECT_EQ(name, u"none");
  executive.setActiveModes({"DRESSUP_MODE", "PROBE_MODE"});
  ZolSequence<std::string> modes;
  ASSERT_TRUE(access->getActiveModes(modes).isOk());
  EXPECT_EQ(std::vector<std::string>(modes.begin(), modes.end()),
            (std::vector<std::string>{"DRESSUP_MODE", "PROBE_MODE"}));

  ZolSmartPointer<kyr::orla::appfw::IFlushTargetInterface> target;
  ASSERT_TRUE(access->getFlushTarget(target).isOk());
  ASSERT_TRUE(target);
  target->flush();
  EXPECT_EQ(executive.flushTarget()->flushes(), 1u);
  ZolSmartPointer<kyr::orla::appfw::IProductInfoInterface> info;
  ASSERT_TRUE(access->getProductInfo(info).isOk());
  ASSERT_TRUE(info);
  info->getProductName(name);
  EXPECT_EQ(name, u"Orla Modeler");
  executive.setProductInfo({});
  access->getProductInfo(info);
  EXPECT_FALSE(info) << "a host without product information writes nothing";

  ZolSmartPointer<kyr::orla::appfw::IPluginInterface> plugin;
  EXPECT_TRUE(access->getPlugin("KYR.OtherPlugin", plugin).isOk());
  EXPECT_FALSE(plugin) << "no plug-in installed under that domain";
  EXPECT_TRUE(access->getPlugin("KYR.WyrdanPlugin", plugin).isOk());
  EXPECT_TRUE(Zol::isSameObject(plugin, host.plugin().asService())) << "the host runs the plug-in";
  access->showMessage(u"saved", kyr::orla::appfw::SeverityInfo);
  access->showMessage(Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure), kyr::orla::appfw::SeverityError, true);
  const auto shown = executive.shownMessages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, u"saved");
  EXPECT_EQ(shown[1].resultCode, Zol::ZolResult_24_8::kFailure);
  EXPECT_TRUE(shown[1].details);
  EXPECT_EQ(host.journal().count(CallPattern::of<IFrameworkAccessInterface>("showMessage").with("saved", 1)), 1u);
}

TEST_F(SimEventsTest, ListenersRunOnTheCallersThreadUnlockedAndTheirChangesReachTheNextEvent) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const auto late = recorder("late");
  simhost::SimPluginListener* first = nullptr;  // raw: a listener holding itself would never go
  PluginListenerPtr second;
  std::thread::id thread;
  const auto a = recorder("A", [&](const ZolEvent&) {
    thread = std::this_thread::get_id();
    // Would deadlock if the manager held its lock while delivering.
    events.removeListener(domain, ListenerPtr(first));
    events.removeListener(domain, second);
    events.addListenerForAllEvents(domain, late, 2);
  });
  first = a.get();
  second = recorder("B");
  ASSERT_TRUE(events.addListenerForAllEvents(domain, a, 2).isOk());
  ASSERT_TRUE(events.addListenerForAllEvents(domain, second, 2).isOk());

  const ZolEvent one{domain, 1, {}};
  const ZolEvent two{domain, 2, {}};
  ASSERT_TRUE(events.publishEvent(one, 0).isOk());
  EXPECT_EQ(thread, std::this_thread::get_id());
  EXPECT_EQ(log, (std::vector<std::string>{entry("A", one), entry("B", one)}))
      << "B, removed during the delivery, still receives it; late, added during it, does not";
  log.clear();
  EXPECT_EQ(events.deliver(two), 1u);
  EXPECT_EQ(log, std::vector<std::string>{entry("late", two)});
}

TEST_F(SimEventsTest, AListenersExceptionReachesTheOneWhoDelivered) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const auto failing = recorder("failing", [](const ZolEvent& event) {
    if (event.eventId == 9) throw std::runtime_error("listener failed");
  });
  const auto after = recorder("after");
  ASSERT_TRUE(events.addListenerForAllEvents(domain, failing, 2).isOk());
  ASSERT_TRUE(events.addListenerForAllEvents(domain, after, 2).isOk());

  EXPECT_THROW(events.publishEvent({domain, 9, {}}, 0), std::runtime_error);
  EXPECT_EQ(log, std::vector<std::string>{entry("failing", {domain, 9, {}})}) << "later listeners are not called";
  EXPECT_THROW(events.deliverOnThreads(2, {{domain, 1, {}}, {domain, 9, {}}}), std::runtime_error);
  EXPECT_EQ(after->deliveries(), 2u) << "each thread delivered the events before the failing one";
}

TEST_F(SimEventsTest, EventCallsAreJournaledAndFaultCheckedButHostDeliveryIsNot) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const auto a = recorder("A");
  host.journal().clear();
  ASSERT_TRUE(events.addListener(domain, a, 2, {1, 2}).isOk());
  ASSERT_TRUE(events.publishEvent({domain, 2, Zol::ZolAny_24_8(5)}, 0).isOk());
  ASSERT_TRUE(events.fireEvent({domain, 1, {}}, 1, a).isOk());
  EXPECT_EQ(events.deliver({domain, 1, {}}), 1u);
  ASSERT_TRUE(events.removeListener(domain, a).isOk());

  const std::string d = std::to_string(domain);
  const std::string aText = "A #" + std::to_string(a->serviceId());
  const auto calls = host.journal().calls();
  ASSERT_EQ(calls.size(), 4u) << "neither deliver() nor the listener is journaled";
  EXPECT_EQ(calls[0].toString(), "Zol.Framework.ZolIEventManager.addListener(" + d + ", " + aText +
                                     ", 2, [1, 2]) on event manager #" + std::to_string(events.serviceId()));
  EXPECT_EQ(calls[1].arguments, (std::vector<std::string>{"domain " + d + ", event 2, Zol.Int32 5", "0"}));
  EXPECT_EQ(calls[2].arguments, (std::vector<std::string>{"domain " + d + ", event 1, nothing", "1", aText}));
  EXPECT_EQ(calls[3].arguments, (std::vector<std::string>{d, aText}));
  EXPECT_EQ(host.journal().count(
                CallPattern::of<EventManager>("publishEvent").with(ZolEvent{domain, 2, Zol::ZolAny_24_8(5)}, 0)),
            1u);

  ASSERT_TRUE(events.addListenerForAllEvents(domain, a, 2).isOk());
  log.clear();
  host.faults().inject(CallPattern::of<EventManager>("publishEvent"), simhost::Fault::errorResult(9));
  host.faults().inject(CallPattern::of<EventManager>("fireEvent"), simhost::Fault::systemException("refused"));
  EXPECT_EQ(events.publishEvent({domain, 1, {}}, 0).getCode(), 9);
  EXPECT_THROW(events.fireEvent({domain, 1, {}}, 1, a), Zol::ZolSystemException_24);
  EXPECT_TRUE(log.empty()) << "a failed call delivers nothing";
  host.faults().inject(CallPattern::of<EventManager>("addListener"), simhost::Fault::errorResult());
  EXPECT_FALSE(events.addListener(domain, a, 3, {4}).isOk());
  EXPECT_TRUE(events.subscriptions(domain).at(0).allEvents) << "a failed call changes no subscription";
}

TEST_F(SimEventsTest, ACallbackFaultRunsInsideTheCallThenTheCallProceeds) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  const auto a = recorder("A");
  const auto b = recorder("B");
  ASSERT_TRUE(events.addListenerForAllEvents(domain, b, 2).isOk());

  std::size_t reached = 0;
  std::size_t subscribedMeanwhile = 0;
  const ZolEvent meanwhile{domain, 1, {}};
  host.faults().inject(CallPattern::of<EventManager>("addListener").with(domain, a, 2, EventFilter{1}),
                       simhost::Fault::callback([&] {
                         subscribedMeanwhile = events.subscriptions(domain).size();
                         std::int64_t id = 0;
                         events.lookUpDomainId("Test.Domain", id);  // a host call: the plan's lock is free
                         reached = events.deliver(meanwhile);
                       }),
                       1);
  EXPECT_TRUE(events.addListener(domain, a, 2, {1}).isOk());
  EXPECT_EQ(subscribedMeanwhile, 1u) << "the action runs before the call does anything";
  EXPECT_EQ(reached, 1u);
  EXPECT_EQ(log, std::vector<std::string>{entry("B", meanwhile)});
  EXPECT_EQ(events.subscriptions(domain).size(), 2u) << "then the call proceeds";
  EXPECT_EQ(host.journal().count(CallPattern::of<EventManager>("lookUpDomainId")), 1u);

  reached = 0;
  EXPECT_TRUE(events.addListener(domain, a, 2, {1}).isOk());
  EXPECT_EQ(reached, 0u) << "armed for the first matching call only";

  int calls = 0;
  host.faults().inject(CallPattern::of<EventManager>("createChannelId"), simhost::Fault::callback([&] { ++calls; }));
  std::int64_t channel = 0;
  events.createChannelId(channel);
  events.createChannelId(channel);
  EXPECT_EQ(calls, 2) << "armed for every call";

  host.faults().inject(CallPattern::of<EventManager>("removeListener"),
                       simhost::Fault::callback([] { throw std::runtime_error("refused"); }));
  EXPECT_THROW(events.removeListener(domain, a), std::runtime_error);
  EXPECT_EQ(events.subscriptions(domain).size(), 2u) << "an action that throws fails the call";
}

TEST_F(SimEventsTest, TheGuiExecutiveAnswersTheChannelTheHostMadeForIt) {
  using GuiExecutive = kyr::orla::appfw::ZolIGuiExecutiveInterface;
  Zol::ZolIService service;
  ASSERT_TRUE(host.provider().getService("kyr.orla.appfw.GuiExecutive", "", service).isOk());
  const auto gui = Zol::interfaceCast<GuiExecutive>(service);
  ASSERT_TRUE(gui);
  std::int64_t channel = 0;
  ASSERT_TRUE(gui->getGuiChannelId(channel).isOk());
  EXPECT_EQ(channel, host.guiExecutive().guiChannelId());
  EXPECT_NE(channel, 0);
  std::int64_t again = 0;
  ASSERT_TRUE(gui->getGuiChannelId(again).isOk());
  EXPECT_EQ(again, channel) << "one channel for the host's life";
  EXPECT_EQ(host.journal().count(CallPattern::of<GuiExecutive>("getGuiChannelId")), 2u);

  const auto a = recorder("A");
  ASSERT_TRUE(events.addListenerForAllEvents(channel, a, 2).isOk());
  EXPECT_EQ(events.deliver({channel, 4, {}}), 1u) << "the GUI's events reach the channel's listeners";

  host.faults().inject(CallPattern::of<GuiExecutive>("getGuiChannelId"), simhost::Fault::errorResult());
  std::int64_t untouched = -1;
  EXPECT_FALSE(gui->getGuiChannelId(untouched).isOk());
  EXPECT_EQ(untouched, -1);
}

TEST(SimPluginListener, OneListenerServesEveryHostOfTheProcess) {
  testing_support::LeakCheck leakCheck;
  std::vector<std::string> received;
  const auto listener = simhost::makePluginListener([&received](const ZolEvent& event) {
    received.push_back(simhost::argumentText(event));
    return event.eventId == 1 ? EventHandled : EventNotHandled;
  });
  EXPECT_EQ(listener->serviceName(), simhost::kPluginInitializerService);
  std::vector<std::string> expected;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    simhost::SimHost host;
    host.registerPluginListener(listener);
    EXPECT_TRUE(
        Zol::isSameObject(kyr::orla::appfw::ServiceCacheAppFrame::eventManager_, host.eventManager().asService()));
    Zol::ZolIService service;
    ASSERT_TRUE(host.provider().getService("kyr.orla.plugin.wyrdan.WyrdanPluginInitializer", "", service).isOk());
    const auto found = Zol::interfaceCast<ZolIEventListenerInterface>(service);
    EXPECT_TRUE(Zol::isSameObject(found, listener));

    const std::int64_t domain = host.eventManager().defineDomain("Test.Domain");
    ASSERT_TRUE(host.eventManager().addListenerForAllEvents(domain, found, 2).isOk());
    const std::size_t before = listener->deliveries();
    host.journal().clear();
    const ZolEvent handled{domain, 1, Zol::ZolAny_24_8(7)};
    const ZolEvent ignored{domain, 2, {}};
    EXPECT_EQ(host.eventManager().deliver(handled), 1u);
    EXPECT_EQ(found->handleEvent(handled), EventHandled) << "the callback's answer";
    EXPECT_EQ(found->handleEvent(ignored), EventNotHandled);
    expected.insert(expected.end(),
                    {simhost::argumentText(handled), simhost::argumentText(handled), simhost::argumentText(ignored)});
    EXPECT_EQ(listener->deliveries(), before + 3);
    EXPECT_EQ(host.journal().size(), 0u) << "the plug-in's listener is not journaled";
  }
  EXPECT_EQ(received, expected);
  EXPECT_EQ(simhost::referenceCount(listener), 1u) << "each host let go of the listener and its subscription";
  EXPECT_FALSE(kyr::orla::appfw::ServiceCacheAppFrame::eventManager_);
  EXPECT_EQ(simhost::makePluginListener({})->handleEvent({}), EventNotHandled) << "without a callback";
}

TEST_F(SimEventsTest, ConcurrentSubscribersAndDeliveriesKeepFiltersAndCounts) {
  const std::int64_t domain = events.defineDomain("Test.Domain");
  std::vector<ZolEvent> batch;
  for (std::int32_t index = 0; index < 200; ++index) batch.push_back({domain, 1 + index % 2, Zol::ZolAny_24_8(index)});

  std::atomic<bool> filterBroken{false};
  const auto stable = simhost::makeSimObject<simhost::SimPluginListener>(host.context(), "stable", nullptr);
  // Unsubscribes and subscribes itself again on each of its events.
  simhost::SimPluginListener* self = nullptr;
  const auto reentrant =
      simhost::makeSimObject<simhost::SimPluginListener>(host.context(), "reentrant", [&](const ZolEvent& event) {
        if (event.eventId != 2) filterBroken = true;
        events.removeListener(domain, ListenerPtr(self));
        events.addListener(domain, ListenerPtr(self), 2, {2});
        return EventHandled;
      });
  self = reentrant.get();
  constexpr std::size_t kChurners = 2;
  std::vector<PluginListenerPtr> churning;
  for (std::size_t index = 0; index < kChurners; ++index) {
    churning.push_back(simhost::makeSimObject<simhost::SimPluginListener>(
        host.context(), "churning " + std::to_string(index), [&](const ZolEvent& event) {
          if (event.eventId != 1) filterBroken = true;
          return EventHandled;
        }));
  }
  ASSERT_TRUE(events.addListenerForAllEvents(domain, stable, 2).isOk());
  ASSERT_TRUE(events.addListener(domain, reentrant, 2, {2}).isOk());

  for (const std::size_t threads : {1u, 4u}) {
    SCOPED_TRACE(threads);
    const std::size_t before = stable->deliveries();
    std::atomic<bool> delivering{true};
    std::vector<std::vector<std::int64_t>> channels(kChurners);
    std::vector<std::thread> churners;
    for (std::size_t index = 0; index < kChurners; ++index) {
      churners.emplace_back([&, index] {
        do {
          events.addListener(domain, churning[index], 2, {1});
          std::int64_t channel = 0;
          events.createChannelId(channel);
          channels[index].push_back(channel);
          events.removeListener(domain, churning[index]);
        } while (delivering);
      });
    }
    host.workThread().post([&] {
      for (const ZolEvent& event : batch) events.publishEvent(event, 0);
    });
    events.deliverOnThreads(threads, batch);
    host.workThread().waitIdle();
    delivering = false;
    for (std::thread& churner : churners) churner.join();

    EXPECT_EQ(stable->deliveries() - before, (threads + 1) * batch.size()) << "a steady subscriber misses nothing";
    EXPECT_FALSE(filterBroken) << "no listener received an event its filter excludes";
    const auto left = events.subscriptions(domain);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_TRUE(Zol::isSameObject(left[0].listener, stable));
    EXPECT_TRUE(Zol::isSameObject(left[1].listener, reentrant));
    std::set<std::int64_t> distinct;
    std::size_t made = 0;
    for (const auto& ids : channels) {
      distinct.insert(ids.begin(), ids.end());
      made += ids.size();
    }
    EXPECT_EQ(distinct.size(), made) << "channel ids made at once are still unique";
  }
}

std::string utf8(const icu::UnicodeString& text) { return simhost::argumentText(text); }

// A GUID told apart by its first field.
GUIDDATA guidNumber(std::uint32_t number) {
  GUIDDATA guid;
  guid.Data1 = number;
  guid.Data4[7] = 0x5a;
  return guid;
}

std::vector<GUIDDATA> guidsIn(const Zol::EOM::GUIDSequence& guids) { return {guids.begin(), guids.end()}; }

TEST_F(SimHostTest, EntitiesAnswerTheirNamesAndKeepTheirParentAndNamedChildren) {
  const auto root = host.model().findEntity(host.model().referenceOf(1, 1, 0));
  ASSERT_TRUE(root) << "the model's root entity";
  const auto plate = host.model().addEntity(5, 1, 0, "Plate 1", "Plate");
  const auto rib = host.model().addEntity(5, 2, 0, "Rib", "Stiffener");
  const EntityPtr entity = plate;
  const auto eom = Zol::interfaceCast<EOMObject>(plate->asService());
  ASSERT_TRUE(eom);

  icu::UnicodeString name;
  icu::UnicodeString typeName;
  ASSERT_TRUE(entity->getName(name).isOk());
  ASSERT_TRUE(entity->getTypeName(typeName).isOk());
  EXPECT_EQ(utf8(name), "Plate 1");
  EXPECT_EQ(utf8(typeName), "Plate");
  EXPECT_EQ(host.journal().count(CallPattern::of<IEntityInterface>("getName").on(plate)), 1u);
  EXPECT_EQ(host.journal().count(CallPattern::of<EOMObject>("getName")), 0u)
      << "each interface journals its own name queries";

  ASSERT_TRUE(eom->setName("Web").isOk());
  ASSERT_TRUE(entity->getName(name).isOk());
  EXPECT_EQ(utf8(name), "Web") << "the entity's name is its EOM name";
  ASSERT_TRUE(eom->getTypeName(typeName).isOk());
  EXPECT_EQ(utf8(typeName), "Plate");
  EXPECT_EQ(host.journal().count(CallPattern::of<EOMObject>("getTypeName").on(plate)), 1u);

  ASSERT_TRUE(entity->setParent(root).isOk());
  EXPECT_EQ(plate->parent(), root->reference());
  EXPECT_EQ(host.journal().count(CallPattern::of<IEntityInterface>("setParent").on(plate).with(EntityPtr(root))), 1u);
  ASSERT_TRUE(entity->setParent(EntityPtr()).isOk());
  EXPECT_EQ(plate->parent(), EntityReference()) << "an empty parent clears it";

  const EntityPtr rootEntity = root;
  ASSERT_TRUE(rootEntity->addChild(plate, "first").isOk());
  ASSERT_TRUE(rootEntity->addChild(rib, "second").isOk());
  EXPECT_EQ(rootEntity->addChild(EntityPtr(), "none").getCode(), Zol::ZolResult_24_8::kFailure);
  const auto children = root->namedChildren();
  ASSERT_EQ(children.size(), 2u) << "an empty child is not added";
  EXPECT_EQ(children[0].reference, plate->reference());
  EXPECT_EQ(utf8(children[0].name), "first");
  EXPECT_EQ(children[1].reference, rib->reference());
  EXPECT_EQ(utf8(children[1].name), "second");
  EXPECT_EQ(root->children(), (std::vector<EntityReference>{plate->reference(), rib->reference()}));
  EXPECT_EQ(host.journal().count(CallPattern::of<IEntityInterface>("addChild").with(EntityPtr(rib), "second")), 1u);

  host.faults().inject(CallPattern::of<IEntityInterface>("setParent"), simhost::Fault::errorResult());
  EXPECT_FALSE(entity->setParent(root).isOk());
  EXPECT_EQ(plate->parent(), EntityReference()) << "a failed call changes nothing";
}

TEST_F(SimHostTest, TheModelsRootAssemblyStandsForTheRootEntityUntilTakenAway) {
  using Assembly = Zol::PersistenceFW::CAEData::IAssemblyInterface;
  using Model = Zol::PersistenceFW::CAEData::IModelInterface;
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface> session;
  ASSERT_TRUE(host.persistence().getCurrentSession(session).isOk());
  ZolSmartPointer<Model> model;
  ASSERT_TRUE(session->getModel(model).isOk());

  ZolSmartPointer<Assembly> assembly;
  ASSERT_TRUE(model->getRootAssembly(assembly).isOk());
  ASSERT_TRUE(assembly);
  EntityReference reference;
  ASSERT_TRUE(assembly->getEntityReference(reference).isOk());
  EXPECT_EQ(reference, host.model().referenceOf(1, 1, 0));
  EntityPtr root;
  ASSERT_TRUE(host.rootManager().getEntity(reference, root).isOk());
  ASSERT_TRUE(root) << "the assembly's entity resolves";
  icu::UnicodeString name;
  icu::UnicodeString typeName;
  root->getName(name);
  root->getTypeName(typeName);
  EXPECT_EQ(utf8(name), "Model");
  EXPECT_EQ(utf8(typeName), "Assembly");

  host.model().setRootAssembly({});
  ZolSmartPointer<Assembly> taken = assembly;
  EXPECT_TRUE(model->getRootAssembly(taken).isOk());
  EXPECT_FALSE(taken) << "the model has no root assembly now";
  EXPECT_TRUE(host.model().findEntity(reference)) << "its entity stays";

  const auto study = host.model().makeRootAssembly(2, 1, 0, "Study model", "Assembly");
  ZolSmartPointer<Assembly> made;
  ASSERT_TRUE(model->getRootAssembly(made).isOk());
  EXPECT_TRUE(Zol::isSameObject(made, study));
  EXPECT_EQ(study->entity(), host.model().referenceOf(2, 1, 0));
  EXPECT_TRUE(host.model().findEntity(study->entity()));
  EXPECT_EQ(host.journal().count(CallPattern::of<Model>("getRootAssembly")), 3u);
  EXPECT_EQ(host.journal().count(CallPattern::of<Assembly>("getEntityReference").on(assembly)), 1u);
}

TEST_F(SimHostTest, TheRootManagerComparesReferencesAndATestCanReplaceItsHash) {
  using Adapter = kyr::orla::appfw::IInterfaceAdapterManagerInterface;
  const auto adapter = Zol::interfaceCast<Adapter>(host.rootManager().asService());
  ASSERT_TRUE(adapter) << "the root manager is also the adapter manager";

  // One object reached through two of its interfaces gives two pointers.
  const auto owner = host.model().addEntity(7, 1, 0, "owner", "Part");
  const Zol::ZolIService ownerAsEntity = owner->asService();
  const Zol::ZolIService ownerAsEOM = Zol::interfaceCast<EOMObject>(owner->asService());
  ASSERT_NE(ownerAsEntity.get(), ownerAsEOM.get());
  const auto otherModel = simhost::makeSimObject<simhost::SimModel>(host.context(), "other model");
  const EntityReference plate = host.model().referenceOf(5, 1, 0);

  struct Case {
    const char* name;
    EntityReference a;
    EntityReference b;
    bool equal;
  };
  const Case cases[] = {
      {"same container and words", plate, host.model().referenceOf(5, 1, 0), true},
      {"one container through two interfaces", {ownerAsEntity, 3, 4, 0}, {ownerAsEOM, 3, 4, 0}, true},
      {"other words", plate, host.model().referenceOf(5, 2, 0), false},
      {"other third word", plate, host.model().referenceOf(5, 1, 1), false},
      {"another container", plate, otherModel->referenceOf(5, 1, 0), false},
      {"no container", plate, EntityReference{{}, 5, 1, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(adapter->areEqual(c.a, c.b), c.equal);
    EXPECT_EQ(adapter->areEqual(c.b, c.a), c.equal);
    EXPECT_FALSE(adapter->isLess(c.a, c.a)) << "irreflexive";
    if (c.equal) {
      EXPECT_FALSE(adapter->isLess(c.a, c.b) || adapter->isLess(c.b, c.a)) << "equal references are unordered";
      EXPECT_EQ(adapter->hashCode(c.a), adapter->hashCode(c.b)) << "equal references hash alike";
    } else {
      EXPECT_NE(adapter->isLess(c.a, c.b), adapter->isLess(c.b, c.a)) << "exactly one is first";
    }
  }

  EXPECT_EQ(host.journal().count(CallPattern::of<Adapter>("areEqual")), 2 * std::size(cases));

  // Sorted by the adapter: each container's references together, by words.
  std::vector<EntityReference> references = {otherModel->referenceOf(2, 0, 0), plate,
                                             otherModel->referenceOf(1, 9, 0), host.model().referenceOf(1, 2, 3),
                                             otherModel->referenceOf(1, 9, 1), host.model().referenceOf(1, 2, 2)};
  std::sort(references.begin(), references.end(),
            [&adapter](const EntityReference& a, const EntityReference& b) { return adapter->isLess(a, b); });
  std::vector<std::string> order;
  for (const EntityReference& reference : references) {
    const bool inHostModel = reference.container == host.model().asService();
    order.push_back((inHostModel ? "host " : "other ") + simhost::argumentText(reference));
  }
  const bool hostFirst = order.front().rfind("host", 0) == 0;
  const std::vector<std::string> hostPart = {"host (1, 2, 2)", "host (1, 2, 3)", "host (5, 1, 0)"};
  const std::vector<std::string> otherPart = {"other (1, 9, 0)", "other (1, 9, 1)", "other (2, 0, 0)"};
  std::vector<std::string> expected = hostFirst ? hostPart : otherPart;
  const auto& rest = hostFirst ? otherPart : hostPart;
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(order, expected);

  host.journal().clear();
  const std::int32_t plateHash = adapter->hashCode(plate);
  EXPECT_EQ(plateHash, simhost::SimRootManager::defaultHash(plate));
  EXPECT_NE(plateHash, adapter->hashCode(host.model().referenceOf(5, 2, 0)));
  EXPECT_NE(plateHash, adapter->hashCode(host.model().referenceOf(1, 5, 0))) << "the words' order counts";
  host.rootManager().setHash([](const EntityReference&) { return -1; });
  EXPECT_EQ(adapter->hashCode(plate), -1);
  host.rootManager().setHash({});
  EXPECT_EQ(adapter->hashCode(plate), plateHash) << "an empty hash restores the default";
  EXPECT_EQ(host.journal().count(CallPattern::of<Adapter>("hashCode").with(plate)), 3u);
}

TEST_F(SimHostTest, TheSelectionManagerServiceMakesNewEmptyLists) {
  using Selection = kyr::orla::appfw::ISelectionManagerInterface;
  using List = Zol::PersistenceFW::CAEData::IEntityReferenceListInterface;
  Zol::ZolIService service;
  ASSERT_TRUE(host.provider().getService("kyr.orla.appfw.SelectionManager", "", service).isOk());
  const auto selection = Zol::interfaceCast<Selection>(service);
  ASSERT_TRUE(selection);

  ZolSmartPointer<List> first;
  ZolSmartPointer<List> second;
  ASSERT_TRUE(selection->createEntityReferenceList(first).isOk());
  ASSERT_TRUE(selection->createEntityReferenceList(second).isOk());
  ASSERT_TRUE(first && second);
  EXPECT_FALSE(Zol::isSameObject(first, second)) << "a new list each time";
  ASSERT_TRUE(first->append(host.model().referenceOf(5, 1, 0)).isOk());
  std::uint32_t count = 7;
  ASSERT_TRUE(second->getCount(count).isOk());
  EXPECT_EQ(count, 0u);
  ASSERT_TRUE(first->getCount(count).isOk());
  EXPECT_EQ(count, 1u);

  host.faults().inject(CallPattern::of<Selection>("createEntityReferenceList"), simhost::Fault::errorResult());
  ZolSmartPointer<List> none;
  EXPECT_FALSE(selection->createEntityReferenceList(none).isOk());
  EXPECT_FALSE(none);
  EXPECT_EQ(host.journal().count(CallPattern::of<Selection>("createEntityReferenceList")), 3u);
}

TEST_F(SimHostTest, PersistentObjectsAndContainersAnswerGUIDOwnerAndEligibility) {
  using Persistent = Zol::PersistenceFW::CAEData::IPersistentObjectInterface;
  using Container = Zol::PersistenceFW::CAEData::IContainerInterface;
  const auto object =
      simhost::makeSimObject<simhost::SimPersistentObject>(host.context(), "part data", EntityReference());
  const auto folder = simhost::makeSimObject<simhost::SimContainer>(host.context(), "folder", EntityReference());
  const ZolSmartPointer<Persistent> persistent = object;

  GUIDDATA guid = guidNumber(42);
  EXPECT_EQ(persistent->getGUID(guid).getCode(), Zol::ZolResult_24_8::kFailure);
  EXPECT_EQ(guid, guidNumber(42)) << "without a GUID nothing is written";
  object->setGUID(guidNumber(3));
  ASSERT_TRUE(persistent->getGUID(guid).isOk());
  EXPECT_EQ(guid, guidNumber(3));
  object->setGUID(std::nullopt);
  EXPECT_FALSE(persistent->getGUID(guid).isOk());

  ZolSmartPointer<Persistent> owner = folder;
  ASSERT_TRUE(persistent->getOwner(owner).isOk());
  EXPECT_FALSE(owner) << "a top-level object has no owner";
  object->setOwner(folder);
  ASSERT_TRUE(persistent->getOwner(owner).isOk());
  EXPECT_TRUE(Zol::isSameObject(owner, folder));
  EXPECT_TRUE(Zol::interfaceCast<Container>(owner)) << "the owner is a container";
  EXPECT_FALSE(Zol::interfaceCast<Container>(persistent)) << "a plain persistent object is not";

  bool eligible = false;
  ASSERT_TRUE(persistent->isEligible(eligible).isOk());
  EXPECT_TRUE(eligible);
  object->setEligible(false);
  ASSERT_TRUE(persistent->isEligible(eligible).isOk());
  EXPECT_FALSE(eligible);
  host.faults().inject(CallPattern::of<Persistent>("isEligible"), simhost::Fault::errorResult());
  eligible = true;
  EXPECT_FALSE(persistent->isEligible(eligible).isOk());
  EXPECT_TRUE(eligible) << "a failed call writes nothing";
  EXPECT_EQ(host.journal().count(CallPattern::of<Persistent>("getGUID").on(object)), 3u);
}

TEST_F(SimHostTest, EOMObjectsKeepStatePersistentObjectsMarksAndExclusion) {
  const auto part = host.addEOMObject("bracket", "Part", guidNumber(1));
  const EOMObjectPtr eom = part;
  icu::UnicodeString text;
  ASSERT_TRUE(eom->getName(text).isOk());
  EXPECT_EQ(utf8(text), "bracket");
  ASSERT_TRUE(eom->getTypeName(text).isOk());
  EXPECT_EQ(utf8(text), "Part");
  ASSERT_TRUE(eom->setName("clamp").isOk());
  EXPECT_EQ(utf8(part->name()), "clamp");
  EXPECT_EQ(eom->getGUID(), guidNumber(1));
  EXPECT_FALSE(eom->getState());
  part->setState(true);
  EXPECT_TRUE(eom->getState());
  EXPECT_FALSE(eom->isExcluded());
  part->setExcluded(true);
  EXPECT_TRUE(eom->isExcluded());

  const auto twin = simhost::makeSimObject<simhost::SimEOMObject>(host.context(), "twin", "Part", guidNumber(1));
  const auto other = host.addEOMObject("other", "Part", guidNumber(2));
  const auto anonymous = simhost::makeSimObject<simhost::SimEOMObject>(host.context(), "anonymous", "Part");
  const auto nameless = simhost::makeSimObject<simhost::SimEOMObject>(host.context(), "nameless", "Part");
  struct Case {
    const char* name;
    EOMObjectPtr a;
    EOMObjectPtr b;
    bool equal;
  };
  const Case cases[] = {
      {"itself", eom, eom, true},
      {"another object with its GUID", eom, twin, true},
      {"another GUID", eom, other, false},
      {"nothing", eom, EOMObjectPtr(), false},
      {"itself without a GUID", anonymous, anonymous, true},
      {"two objects without GUIDs", anonymous, nameless, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.a->isEqual(c.b), c.equal);
  }

  EXPECT_FALSE(eom->hasPrimaryPersistentObject());
  EXPECT_FALSE(eom->getPrimaryPersistentObject());
  EXPECT_FALSE(eom->hasSecondaryPersistentObject());
  const auto primary =
      simhost::makeSimObject<simhost::SimPersistentObject>(host.context(), "primary", EntityReference());
  const auto secondary =
      simhost::makeSimObject<simhost::SimPersistentObject>(host.context(), "secondary", EntityReference());
  part->setPrimaryPersistentObject(primary);
  part->setSecondaryPersistentObject(secondary);
  EXPECT_TRUE(eom->hasPrimaryPersistentObject());
  EXPECT_TRUE(Zol::isSameObject(eom->getPrimaryPersistentObject(), primary));
  EXPECT_TRUE(eom->hasSecondaryPersistentObject());
  part->setHasSecondaryAnswer(false);
  EXPECT_FALSE(eom->hasSecondaryPersistentObject()) << "the yes/no query can disagree with the fetch";
  EXPECT_TRUE(Zol::isSameObject(eom->getSecondaryPersistentObject(), secondary));
  part->setHasSecondaryAnswer(std::nullopt);
  EXPECT_TRUE(eom->hasSecondaryPersistentObject()) << "the default answer again";
  part->setPrimaryPersistentObject({});
  part->setHasPrimaryAnswer(true);
  EXPECT_TRUE(eom->hasPrimaryPersistentObject());
  EXPECT_FALSE(eom->getPrimaryPersistentObject());

  const EOMObjectPtr otherEOM = other;
  eom->mark();
  otherEOM->mark();
  eom->mark();
  EXPECT_EQ(part->markCount(), 2);
  EXPECT_EQ(other->markCount(), 1);
  std::vector<std::uint64_t> marked;
  for (const auto& call : host.journal().calls(CallPattern::of<EOMObject>("mark"))) marked.push_back(call.objectId);
  EXPECT_EQ(marked, (std::vector<std::uint64_t>{part->serviceId(), other->serviceId(), part->serviceId()}))
      << "the journal keeps the order of the marks";

  // Entities are EOM objects with the same behaviour.
  const auto plate = host.model().addEntity(5, 1, 0, "Plate 1", "Plate");
  const auto rib = host.model().addEntity(5, 2, 0, "Rib", "Stiffener");
  const auto plateEOM = Zol::interfaceCast<EOMObject>(plate->asService());
  const auto ribEOM = Zol::interfaceCast<EOMObject>(rib->asService());
  EXPECT_EQ(plateEOM->getGUID(), simhost::SimEntity::guidOfWords(5, 1, 0));
  EXPECT_NE(plateEOM->getGUID(), ribEOM->getGUID());
  EXPECT_NE(plateEOM->getGUID(), GUIDDATA());
  EXPECT_EQ(simhost::SimEntity::guidOfWords(5, 1, 0), simhost::SimEntity::guidOfWords(5, 1, 0));
  EXPECT_NE(simhost::SimEntity::guidOfWords(5, 1, 0), simhost::SimEntity::guidOfWords(5, 1, 1));
  EXPECT_NE(simhost::SimEntity::guidOfWords(1, 5, 0), simhost::SimEntity::guidOfWords(5, 1, 0));
  plate->setGUID(guidNumber(9));
  EXPECT_EQ(plateEOM->getGUID(), guidNumber(9));
  plate->setState(true);
  EXPECT_TRUE(plateEOM->getState());
  plateEOM->mark();
  EXPECT_EQ(plate->markCount(), 1);
  EXPECT_TRUE(plateEOM->isEqual(plateEOM));
  EXPECT_FALSE(plateEOM->isEqual(ribEOM));
}

TEST_F(SimHostTest, DependencyEdgesByObjectObjectsAndGUIDsLandInTheHostsGraph) {
  using Dependencies = Zol::EOM::IEOMDependenciesInterface;
  using Via = simhost::SimDependencyGraph::Via;
  const auto a = host.addEOMObject("a", "Part", guidNumber(1));
  const auto b = host.addEOMObject("b", "Part", guidNumber(2));
  const auto c = host.addEOMObject("c", "Part", guidNumber(3));
  const auto d = host.addEOMObject("d", "Part", guidNumber(4));
  const GUIDDATA loose = guidNumber(5);
  const auto fromA = Zol::interfaceCast<Dependencies>(a->asService());
  const auto fromB = Zol::interfaceCast<Dependencies>(b->asService());
  const auto fromC = Zol::interfaceCast<Dependencies>(c->asService());
  ASSERT_TRUE(fromA && fromB && fromC);
  const auto number = [](const GUIDDATA& guid) { return "#" + std::to_string(guid.Data1); };
  simhost::SimDependencyGraph& graph = host.dependencyGraph();

  ASSERT_TRUE(fromA->addDownstreamObject(b).isOk());
  ASSERT_TRUE(fromA->addDownstreamObjects({c, d}).isOk());
  ASSERT_TRUE(fromA->addDownstreamGUIDs({loose}).isOk());
  ASSERT_TRUE(fromA->addDownstreamObject(b).isOk());
  ASSERT_TRUE(fromB->addDownstreamObject(c).isOk());
  EXPECT_EQ(graph.render(number),
            "#1 -> #2 (by object)\n#1 -> #3 (by objects)\n#1 -> #4 (by objects)\n#1 -> #5 (by GUIDs)\n"
            "#2 -> #3 (by object)\n");
  EXPECT_EQ(graph.changes().size(), 6u) << "the repeated edge is logged but not doubled";

  Zol::EOM::GUIDSequence found;
  ASSERT_TRUE(fromA->getDownstreamGUIDs(found).isOk());
  EXPECT_EQ(guidsIn(found), (std::vector<GUIDDATA>{guidNumber(2), guidNumber(3), guidNumber(4), loose}));
  ASSERT_TRUE(fromA->getUpstreamGUIDs(found).isOk());
  EXPECT_TRUE(found.empty());
  ASSERT_TRUE(fromC->getUpstreamGUIDs(found).isOk());
  EXPECT_EQ(guidsIn(found), (std::vector<GUIDDATA>{guidNumber(1), guidNumber(2)}));
  ASSERT_TRUE(fromB->getUpstreamGUIDs(found).isOk());
  EXPECT_EQ(guidsIn(found), std::vector<GUIDDATA>{guidNumber(1)});

  ASSERT_TRUE(fromA->removeDownstreamObject(b).isOk());
  ASSERT_TRUE(fromA->removeDownstreamObjects({c}).isOk());
  ASSERT_TRUE(fromA->removeDownstreamGUIDs({loose, guidNumber(77)}).isOk()) << "an unknown edge is no error";
  ASSERT_TRUE(fromA->getDownstreamGUIDs(found).isOk());
  EXPECT_EQ(guidsIn(found), std::vector<GUIDDATA>{guidNumber(4)});
  EXPECT_EQ(graph.downstreamOf(guidNumber(2)), std::vector<GUIDDATA>{guidNumber(3)}) << "b's own edge stays";
  const auto changes = graph.changes();
  ASSERT_EQ(changes.size(), 10u);
  const Via removedVia[] = {Via::Object, Via::Objects, Via::GUIDs, Via::GUIDs};
  for (std::size_t index = 0; index < 4; ++index) {
    SCOPED_TRACE(index);
    EXPECT_FALSE(changes[6 + index].added);
    EXPECT_EQ(changes[6 + index].upstream, guidNumber(1));
    EXPECT_EQ(changes[6 + index].via, removedVia[index]);
  }
  EXPECT_EQ(changes[9].downstream, guidNumber(77));

  const auto anonymous = simhost::makeSimObject<simhost::SimEOMObject>(host.context(), "anonymous", "Part");
  EXPECT_FALSE(Zol::interfaceCast<Dependencies>(anonymous->asService())->addDownstreamObject(b).isOk())
      << "an object without a GUID has no edges";
  EXPECT_FALSE(fromA->addDownstreamObjects({b, anonymous}).isOk());
  EXPECT_FALSE(fromA->addDownstreamObject(EOMObjectPtr()).isOk());
  EXPECT_FALSE(fromA->addDownstreamGUIDs({loose, GUIDDATA()}).isOk());
  EXPECT_EQ(graph.changes().size(), 10u) << "a refused call changes nothing, not even in part";

  const auto plate = host.model().addEntity(5, 1, 0, "Plate 1", "Plate");
  ASSERT_TRUE(Zol::interfaceCast<Dependencies>(plate->asService())->addDownstreamObject(d).isOk());
  EXPECT_EQ(graph.upstreamOf(guidNumber(4)), (std::vector<GUIDDATA>{guidNumber(1), plate->guid()}))
      << "an entity's derived GUID is its upstream side";
  EXPECT_EQ(host.journal().count(
                CallPattern::of<Dependencies>("addDownstreamGUIDs").on(a).with(Zol::EOM::GUIDSequence{loose})),
            1u);
  EXPECT_EQ(host.journal().count(
                CallPattern::of<Dependencies>("addDownstreamObjects").on(a).with(Zol::EOM::IEOMObjectSequence{c, d})),
            1u);
}

TEST_F(SimHostTest, TheEOMCoreOpensKnownObjectsByGUIDAndRecordsWhatToGenerate) {
  using Factory = Zol::EOM::IEOMObjectFactoryInterface;
  using Generator = Zol::EOM::IEOMDependencyManagerInterface;
  Zol::ZolIService service;
  ASSERT_TRUE(host.provider().getService("Zol.EOM.EOMCore", "", service).isOk());
  const auto factory = Zol::interfaceCast<Factory>(service);
  const auto generator = Zol::interfaceCast<Generator>(service);
  ASSERT_TRUE(factory && generator) << "one service, both interfaces";

  const auto part = host.addEOMObject("bracket", "Part", guidNumber(1));
  const auto plate = host.model().addEntity(5, 1, 0, "Plate 1", "Plate");
  const auto stray = simhost::makeSimObject<simhost::SimEOMObject>(host.context(), "stray", "Part", guidNumber(3));
  struct Case {
    const char* name;
    GUIDDATA guid;
    EOMObjectPtr expected;
  };
  const Case cases[] = {
      {"an object the host made", guidNumber(1), part},
      {"an entity", plate->guid(), plate},
      {"an object the host was not told of", guidNumber(3), {}},
      {"the zero GUID", GUIDDATA(), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EOMObjectPtr opened = stray;
    EXPECT_EQ(factory->open(c.guid, opened).isOk(), static_cast<bool>(c.expected));
    EXPECT_TRUE(Zol::isSameObject(opened, c.expected)) << "a failed open empties the pointer";
  }
  part->setGUID(guidNumber(7));
  EOMObjectPtr opened;
  EXPECT_TRUE(factory->open(guidNumber(7), opened).isOk());
  EXPECT_TRUE(Zol::isSameObject(opened, part)) << "found by the GUID it has now";
  EXPECT_FALSE(factory->open(guidNumber(1), opened).isOk());
  EXPECT_EQ(host.journal().count(CallPattern::of<Factory>("open").with(guidNumber(7))), 1u);

  const EOMObjectPtr plateEOM = plate;
  ASSERT_TRUE(generator->bulkGenerate({part, plateEOM}).isOk());
  ASSERT_TRUE(generator->bulkGenerate({plateEOM}).isOk());
  const auto generated = host.eomObjectFactory().bulkGenerations();
  ASSERT_EQ(generated.size(), 2u);
  ASSERT_EQ(generated[0].size(), 2u);
  EXPECT_TRUE(Zol::isSameObject(generated[0][0], part));
  EXPECT_TRUE(Zol::isSameObject(generated[0][1], plate));
  ASSERT_EQ(generated[1].size(), 1u);
  EXPECT_TRUE(Zol::isSameObject(generated[1][0], plate));

  const ZolSmartPointer<kyr::orla::appfw::ICmdProcessorInterface> processor =
      kyr::orla::appfw::ServiceCacheAppFrame::commandProcessor_;
  ASSERT_TRUE(processor->addToGenerateList({plateEOM, part}).isOk());
  ASSERT_TRUE(processor->addToGenerateList({}).isOk());
  const auto lists = host.commandProcessor().generateLists();
  ASSERT_EQ(lists.size(), 2u);
  ASSERT_EQ(lists[0].size(), 2u);
  EXPECT_TRUE(Zol::isSameObject(lists[0][0], plate));
  EXPECT_TRUE(Zol::isSameObject(lists[0][1], part));
  EXPECT_TRUE(lists[1].empty());
  EXPECT_EQ(host.journal().count(CallPattern::of<kyr::orla::appfw::ICmdProcessorInterface>("addToGenerateList")), 2u);
}

using kyr::orla::appfw::CmdParameters;

// The model browser's tests publish payloads written here field by field
// from the layouts of ModelBrowserRecords.h, as a plug-in would.
class SimModelBrowserTest : public SimHostTest {
 protected:
  static Zol::ZolAny_24_8 entityPayload(const EntityPtr& entity) {
    Zol::ZolAny_24_8 payload;
    Zol::ZolOutStream_24_8 out = payload.initializeStream();
    Zol::marshaller_insert(out, entity);
    payload.setData(Zol::interfaceTypeCode<IEntityInterface>());
    return payload;
  }
  static void writeNamedValues(Zol::ZolOutStream_24_8& out, const CmdParameters& values) {
    Zol::marshaller_insert(out, static_cast<std::uint32_t>(values.size()));
    for (const auto& value : values) {
      Zol::marshaller_insert(out, kyr::orla::appfw::getTC_CmdParameter());
      Zol::marshaller_insert(out, value.name);
      Zol::marshaller_insert(out, value.value);
    }
  }
  static Zol::ZolAny_24_8 insertionPayload(const EntityReference& reference, const CmdParameters& values) {
    Zol::ZolAny_24_8 payload;
    Zol::ZolOutStream_24_8 out = payload.initializeStream();
    Zol::marshaller_insert(out, reference.container);
    Zol::marshaller_insert(out, reference.first);
    Zol::marshaller_insert(out, reference.second);
    Zol::marshaller_insert(out, reference.third);
    writeNamedValues(out, values);
    payload.setData(kyr::orla::appfw::getTC_NodeInsertion());
    return payload;
  }
  static Zol::ZolAny_24_8 additionPayload(const Zol::ZolIService& list, const CmdParameters& values) {
    Zol::ZolAny_24_8 payload;
    Zol::ZolOutStream_24_8 out = payload.initializeStream();
    Zol::marshaller_insert(out, list);
    writeNamedValues(out, values);
    payload.setData(kyr::orla::appfw::getTC_NodesAddition());
    return payload;
  }
  static Zol::ZolAny_24_8 updatePayload(const Zol::ZolIService& first, const CmdParameters& values,
                                        const Zol::ZolIService& second) {
    Zol::ZolAny_24_8 payload;
    Zol::ZolOutStream_24_8 out = payload.initializeStream();
    Zol::marshaller_insert(out, first);
    writeNamedValues(out, values);
    Zol::marshaller_insert(out, second);
    payload.setData(kyr::orla::appfw::getTC_NodesUpdate());
    return payload;
  }
  static Zol::ZolAny_24_8 removalPayload(const std::vector<EntityPtr>& entities, const CmdParameters& values,
                                         std::int32_t end = 0) {
    Zol::ZolAny_24_8 payload;
    Zol::ZolOutStream_24_8 out = payload.initializeStream();
    Zol::marshaller_insert(out, static_cast<std::uint32_t>(entities.size()));
    for (const EntityPtr& entity : entities) Zol::marshaller_insert(out, entity);
    writeNamedValues(out, values);
    Zol::marshaller_insert(out, end);
    payload.setData(kyr::orla::appfw::getTC_NodesRemoval());
    return payload;
  }
  // The command context announced with created parts: 0 as a signed 32-bit integer.
  static Zol::ZolAny_24_8 commandContext() {
    Zol::ZolAny_24_8 context;
    Zol::ZolOutStream_24_8 out = context.initializeStream();
    Zol::marshaller_insert(out, std::int32_t{0});
    context.setData(kyr::orla::appfw::getTC_CmdContext());
    return context;
  }
  Zol::ZolIService listOf(std::vector<EntityReference> references) {
    return simhost::makeSimObject<simhost::SimEntityReferenceList>(host.context(), std::move(references))->asService();
  }
  void publish(std::int64_t domain, std::int32_t eventId, Zol::ZolAny_24_8 payload) {
    EXPECT_TRUE(host.eventManager().publishEvent({domain, eventId, std::move(payload)}, 0).isOk());
  }
  static std::vector<std::string> texts(const std::vector<simhost::Announcement>& announcements) {
    std::vector<std::string> texts;
    for (const auto& announcement : announcements) texts.push_back(announcement.text());
    return texts;
  }

  simhost::SimModelBrowser& browser = host.modelBrowser();
};

TEST_F(SimModelBrowserTest, TabsListenToTheBrowserDomainsFromTheHostsStart) {
  struct Case {
    const char* name;
    simhost::SimModelBrowserTab& tab;
    std::int64_t id;
  };
  const Case cases[] = {
      {"kyr.orla.appfw.Entity", browser.entityTab(), *host.eventManager().domainId("kyr.orla.appfw.Entity")},
      {"KYR.Plugins.ModelingPlugin.StudyManager", browser.studyTab(),
       *host.eventManager().domainId("KYR.Plugins.ModelingPlugin.StudyManager")},
      {"id 0", browser.domainZeroTab(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.tab.domainId(), c.id);
    const auto subscribed = host.eventManager().subscriptions(c.id);
    ASSERT_EQ(subscribed.size(), 1u);
    EXPECT_TRUE(Zol::isSameObject(subscribed[0].listener, c.tab.asService()));
    EXPECT_TRUE(subscribed[0].allEvents);
    EXPECT_EQ(subscribed[0].mode, simhost::SimModelBrowser::kListenMode);
  }
  EXPECT_EQ(host.journal().size(), 0u) << "the host's own set-up is not journaled";

  const auto plate = host.model().addEntity(5, 1, 0, "Plate 1", "Plate");
  publish(0, 1, entityPayload(plate));
  EXPECT_EQ(browser.domainZeroTab().render(), "Plate 1 [Plate] (5, 1, 0)\n");
  EXPECT_EQ(browser.entityTab().render(), "") << "each tab hears its own domain only";
  EXPECT_TRUE(browser.studyTab().announcements().empty());
}

TEST_F(SimModelBrowserTest, TabsDecodeEveryAnnouncementIntoTheirTree) {
  const std::int64_t entities = browser.entityTab().domainId();
  const auto root = host.model().findEntity(host.model().referenceOf(1, 1, 0));
  std::vector<ZolSmartPointer<simhost::SimEntity>> plates;
  for (std::uint32_t id = 1; id <= 4; ++id) {
    plates.push_back(
        host.model().addEntity(5, id, 0, icu::UnicodeString::fromUTF8("Plate " + std::to_string(id)), "Plate"));
  }
  plates[0]->setParent(root->reference());
  plates[1]->setParent(root->reference());
  plates[2]->setParent(plates[0]->reference());
  const auto id = [](const ZolSmartPointer<simhost::SimEntity>& entity) {
    return simhost::NodeId::of(entity->reference());
  };
  host.journal().clear();

  publish(entities, 1, entityPayload(root));
  publish(entities, 1, entityPayload(EntityPtr()));
  publish(entities, 1, insertionPayload(plates[0]->reference(), {{"index", 0}}));
  const CmdParameters created{{"commandName", Zol::makeZolAny("CreatePartCommand")},
                              {"commandContext", commandContext()}};
  publish(entities, 9, additionPayload(listOf({plates[1]->reference(), plates[2]->reference()}), created));
  EXPECT_EQ(browser.entityTab().render(),
            "Model [Assembly] (1, 1, 0)\n"
            "  Plate 1 [Plate] (5, 1, 0)\n"
            "    Plate 3 [Plate] (5, 3, 0)\n"
            "  Plate 2 [Plate] (5, 2, 0)\n");

  plates[1]->rename("Plate two");
  publish(entities, 2,
          updatePayload(listOf({plates[0]->reference()}), {{"thickness", 2}}, listOf({plates[1]->reference()})));
  EXPECT_EQ(browser.entityTab().node(id(plates[0]))->lastUpdate, (CmdParameters{{"thickness", 2}}));
  EXPECT_TRUE(browser.entityTab().node(id(plates[1]))->lastUpdate.empty()) << "the second list gets no values";
  EXPECT_EQ(browser.entityTab().node(id(plates[1]))->name, "Plate two") << "but is refreshed from the model";
  EXPECT_EQ(browser.entityTab().node(id(plates[1]))->updates, 1u) << "and counts the update";
  publish(entities, 2, entityPayload(plates[0]));
  EXPECT_TRUE(browser.entityTab().node(id(plates[0]))->lastUpdate.empty());
  publish(entities, 2, updatePayload(listOf({plates[3]->reference()}), {}, {}));
  EXPECT_FALSE(browser.entityTab().node(id(plates[3]))) << "an update shows nothing new";

  publish(entities, 3, entityPayload(plates[2]));
  publish(entities, 10, removalPayload({plates[1]}, {}));
  EXPECT_EQ(browser.entityTab().render(), "Model [Assembly] (1, 1, 0)\n  Plate 1 [Plate] (5, 1, 0), updated 2 times\n");

  const auto announcements = browser.entityTab().announcements();
  EXPECT_EQ(texts(announcements),
            (std::vector<std::string>{
                "node added (1, 1, 0)",
                "node added (no entity)",
                "node inserted [(5, 1, 0)] [index = Zol.Int32 0]",
                "nodes added [(5, 2, 0), (5, 3, 0)] [commandName = Zol.ZolString \"CreatePartCommand\", "
                "commandContext = kyr.orla.appfw.CmdContext 0]",
                "nodes updated [(5, 1, 0)] [thickness = Zol.Int32 2] [(5, 2, 0)]",
                "node updated (5, 1, 0)",
                "nodes updated [(5, 4, 0)] [] []",
                "node removed (5, 3, 0)",
                "nodes removed [(5, 2, 0)] []",
            }));
  ASSERT_EQ(announcements.size(), 9u);
  ASSERT_EQ(announcements[3].values.size(), 2u);
  const Zol::ZolAny_24_8& context = announcements[3].values[1].value;
  ASSERT_EQ(context.getTypeCode(), kyr::orla::appfw::getTC_CmdContext());
  Zol::ZolInStream_24_8 in = context.openStream();
  std::int32_t contextValue = -1;
  Zol::marshaller_extract(in, contextValue);
  EXPECT_NO_THROW(in.expectEnd());
  EXPECT_EQ(contextValue, 0);
  EXPECT_TRUE(browser.entityTab().errors().empty()) << browser.entityTab().errors().front();
  EXPECT_EQ(host.journal().size(), host.journal().count(CallPattern::of<EventManager>("publishEvent")))
      << "the browser reads the host's model without host calls";
}

TEST_F(SimModelBrowserTest, UnknownEventsAndMalformedPayloadsAreRecordedAsErrors) {
  const std::int64_t entities = browser.entityTab().domainId();
  const auto plate = host.model().addEntity(5, 1, 0, "Plate 1", "Plate");
  publish(entities, 1, entityPayload(plate));
  const auto notAnEntity = simhost::makeSimObject<simhost::SimService>(host.context(), "not an entity");

  Zol::ZolAny_24_8 truncated;
  {
    Zol::ZolOutStream_24_8 out = truncated.initializeStream();
    Zol::marshaller_insert(out, host.model().asService());
    Zol::marshaller_insert(out, std::uint32_t{5});
    truncated.setData(kyr::orla::appfw::getTC_NodeInsertion());
  }
  Zol::ZolAny_24_8 trailing;
  {
    Zol::ZolOutStream_24_8 out = trailing.initializeStream();
    Zol::marshaller_insert(out, listOf({plate->reference()}));
    writeNamedValues(out, {});
    Zol::marshaller_insert(out, std::uint32_t{1});
    trailing.setData(kyr::orla::appfw::getTC_NodesAddition());
  }
  Zol::ZolAny_24_8 wrongElement;
  {
    Zol::ZolOutStream_24_8 out = wrongElement.initializeStream();
    Zol::marshaller_insert(out, listOf({plate->reference()}));
    Zol::marshaller_insert(out, std::uint32_t{1});
    Zol::marshaller_insert(out, Zol::getTC_Zol_Int32_24_8());
    Zol::marshaller_insert(out, "name");
    Zol::marshaller_insert(out, Zol::ZolAny_24_8(1));
    wrongElement.setData(kyr::orla::appfw::getTC_NodesAddition());
  }
  Zol::ZolAny_24_8 longContext;
  {
    Zol::ZolOutStream_24_8 out = longContext.initializeStream();
    Zol::marshaller_insert(out, std::int64_t{0});
    longContext.setData(kyr::orla::appfw::getTC_CmdContext());
  }
  Zol::ZolAny_24_8 notAList = updatePayload(notAnEntity->asService(), {}, {});
  Zol::ZolAny_24_8 objectNotEntity;
  {
    Zol::ZolOutStream_24_8 out = objectNotEntity.initializeStream();
    Zol::marshaller_insert(out, notAnEntity->asService());
    objectNotEntity.setData(Zol::interfaceTypeCode<IEntityInterface>());
  }

  struct Case {
    const char* name;
    std::int32_t eventId;
    Zol::ZolAny_24_8 payload;
    std::string error;  // a part of the recorded text
  };
  const Case cases[] = {
      {"an entity where an addition record belongs", 9, entityPayload(plate),
       "a payload of type kyr.orla.appfw.IEntity is not an addition record"},
      {"a removal record for event 1", 1, removalPayload({plate}, {}), "is not an entity or an insertion record"},
      {"no payload", 2, Zol::ZolAny_24_8(), "a payload of type nothing"},
      {"a truncated insertion record", 1, truncated, "past the end"},
      {"bytes after the record", 9, trailing, "bytes left after the last value"},
      {"a named value of another type", 9, wrongElement, "of type Zol.Int32 instead of kyr.orla.appfw.CmdParameter"},
      {"a command context longer than its number", 9,
       additionPayload(listOf({plate->reference()}), {{"commandContext", longContext}}), "bytes left"},
      {"an addition record without a list", 9, additionPayload({}, {}), "the record has no reference list"},
      {"an update record with an object for a list", 2, notAList, "not a reference list"},
      {"an object that is not an entity", 3, objectNotEntity, "not an entity"},
      {"a removal record not ending with 0", 10, removalPayload({plate}, {}, 1), "ends with 1, not 0"},
  };
  const std::string tree = browser.entityTab().render();
  publish(entities, 7, entityPayload(plate));
  EXPECT_TRUE(browser.entityTab().errors().empty()) << "the domain's other events are not the browser's";
  EXPECT_EQ(browser.entityTab().announcements().size(), 1u);
  std::size_t errors = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    publish(entities, c.eventId, c.payload);
    const auto recorded = browser.entityTab().errors();
    ASSERT_EQ(recorded.size(), ++errors);
    const std::string prefix = "event " + std::to_string(c.eventId) + ": ";
    EXPECT_EQ(recorded.back().rfind(prefix, 0), 0u) << recorded.back();
    EXPECT_NE(recorded.back().find(c.error), std::string::npos) << recorded.back();
    EXPECT_EQ(browser.entityTab().render(), tree) << "a payload that does not decode changes nothing";
    EXPECT_EQ(browser.entityTab().announcements().size(), 1u);
    ASSERT_EQ(host.failures().all().size(), errors);
    EXPECT_EQ(host.failures().all().back().text(), "model browser tab kyr.orla.appfw.Entity: " + recorded.back());
  }
  host.failures().expect("model browser tab kyr.orla.appfw.Entity");
}

TEST_F(SimModelBrowserTest, SwitchMDPViewShowsKnownViewsAndRecordsUnknownOnes) {
  EXPECT_EQ(browser.visibleView(), "ShellPlugin.ModelView");
  const auto text = [](const char* value) { return Zol::makeZolAny(value); };
  struct Case {
    const char* name;
    CmdParameters params;
    bool switches;
    const char* visible;
  };
  const Case cases[] = {
      {"to the study view",
       {{"fromViewId", text("")}, {"toViewId", text("ModelingPlugin.StudyView")}},
       true,
       "ModelingPlugin.StudyView"},
      {"to an unknown view",
       {{"fromViewId", text("ModelingPlugin.StudyView")}, {"toViewId", text("Nowhere")}},
       false,
       "ModelingPlugin.StudyView"},
      {"without a target", {{"fromViewId", text("ModelingPlugin.StudyView")}}, false, "ModelingPlugin.StudyView"},
      {"a target that is not a string", {{"toViewId", 3}}, false, "ModelingPlugin.StudyView"},
      {"to an itemization view",
       {{"fromViewId", text("ModelingPlugin.StudyView")},
        {"toViewId", text("ModelingPlugin.PivotDataContext.AnalysisReadiness.Itemization")}},
       true,
       "ModelingPlugin.PivotDataContext.AnalysisReadiness.Itemization"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface> command;
    ASSERT_TRUE(host.commandProcessor().createCommand({"KYR.ShellPlugin", "SwitchMDPView", {}}, command).isOk());
    ASSERT_TRUE(command);
    EXPECT_EQ(command->execute(c.params).isOk(), c.switches);
    EXPECT_EQ(browser.visibleView(), c.visible);
  }
  const auto switches = browser.viewSwitches();
  ASSERT_EQ(switches.size(), 3u) << "requests naming a view are recorded, known or not";
  host.failures().expect("command KYR.ShellPlugin.SwitchMDPView");
  std::vector<std::string> refusals;
  for (const auto& failure : host.failures().all()) refusals.push_back(failure.reason);
  EXPECT_EQ(refusals, (std::vector<std::string>{"no \"toViewId\"",
                                                "no \"fromViewId\"; \"toViewId\" is Zol.Int32, not Zol.ZolString"}));
  EXPECT_EQ(switches[0].from, "");
  EXPECT_EQ(switches[0].to, "ModelingPlugin.StudyView");
  EXPECT_TRUE(switches[0].done);
  EXPECT_EQ(switches[1].from, "ModelingPlugin.StudyView");
  EXPECT_EQ(switches[1].to, "Nowhere");
  EXPECT_FALSE(switches[1].done);
  EXPECT_TRUE(switches[2].done);
}

TEST_F(SimModelBrowserTest, ConcurrentAnnouncementsAndDependencyEdgesKeepEveryRecord) {
  const std::int64_t entities = browser.entityTab().domainId();
  constexpr std::uint32_t kPlates = 20;
  constexpr std::size_t kThreads = 3;
  constexpr std::uint32_t kEdges = 50;
  std::vector<ZolEvent> events;
  for (std::uint32_t id = 1; id <= kPlates; ++id) {
    events.push_back({entities, 1, entityPayload(host.model().addEntity(5, id, 0, "Plate", "Plate"))});
  }
  const auto part = host.addEOMObject("part", "Part", guidNumber(1000));
  const auto edges = Zol::interfaceCast<Zol::EOM::IEOMDependenciesInterface>(part->asService());

  std::atomic<bool> delivering{true};
  std::thread linker([&] {
    for (std::uint32_t index = 1; index <= kEdges; ++index) edges->addDownstreamGUIDs({guidNumber(index)});
  });
  std::thread reader([&] {
    while (delivering) {
      browser.entityTab().render();
      host.dependencyGraph().edges();
    }
  });
  host.eventManager().deliverOnThreads(kThreads, events);
  linker.join();
  delivering = false;
  reader.join();

  EXPECT_EQ(browser.entityTab().announcements().size(), kThreads * kPlates);
  EXPECT_EQ(browser.entityTab().nodes().size(), kPlates) << "one node per entity, however often announced";
  EXPECT_TRUE(browser.entityTab().errors().empty());
  EXPECT_EQ(host.dependencyGraph().downstreamOf(guidNumber(1000)).size(), kEdges);
}

TEST_F(SimHostTest, PluginTextsFillTheirPlacesAndFailForWhatTheyLack) {
  using Table = kyr::orla::appfw::ZolITextTranslationTableInterface;
  simhost::SimTextTranslationTable& texts = host.pluginTexts();
  texts.setText(3, u"{0} plates, {1} cells, {2}, {3}, {4}, {5}, {6}");
  texts.setText("BROKEN", u"{0 is not closed");
  const ZolSequence<Zol::ZolAny_24_8> arguments{Zol::ZolAny_24_8(12),
                                                Zol::makeZolAny(std::int64_t{3000000000}),
                                                Zol::makeZolAny(2.5),
                                                Zol::ZolAny_24_8(true),
                                                Zol::makeZolAny("Tr\xC3\xA4ger"),
                                                Zol::makeZolAny(icu::UnicodeString(u"Gau\u00df")),
                                                Zol::makeZolAny(std::uint64_t{18446744073709551615u})};
  icu::UnicodeString text;
  ASSERT_TRUE(texts.getMessage(3, arguments, text).isOk());
  EXPECT_EQ(text, u"12 plates, 3,000,000,000 cells, 2.5, true, Tr\u00e4ger, Gau\u00df, 18,446,744,073,709,551,615");
  EXPECT_EQ(host.journal().count(CallPattern::of<Table>("getMessage").with(3, arguments)), 1u);

  icu::UnicodeString untouched(u"untouched");
  EXPECT_FALSE(texts.getMessage(4, {}, untouched).isOk());
  EXPECT_FALSE(texts.getMessage("MISSING", {}, untouched).isOk());
  EXPECT_FALSE(texts.getMessage("BROKEN", {}, untouched).isOk()) << "a pattern ICU cannot read";
  texts.removeText(3);
  EXPECT_FALSE(texts.getMessage(3, arguments, untouched).isOk());
  EXPECT_EQ(untouched, u"untouched");
  ASSERT_TRUE(texts.getMessage("UITEXT_OK", {}, text).isOk());
  EXPECT_EQ(text, u"OK") << "the host starts with the standard button and caption texts";

  std::int32_t id = 0;
  EXPECT_TRUE(host.plugin().getPluginId(id).isOk());
  EXPECT_EQ(id, host.plugin().pluginId());
  host.plugin().setTable({});
  ZolSmartPointer<Table> table;
  EXPECT_TRUE(host.plugin().getTextTranslationTable(table).isOk());
  EXPECT_FALSE(table);
}

TEST_F(SimHostTest, TheStatusBarShowsWellFormedPostsAndRecordsWhyOthersFailed) {
  using kyr::orla::appfw::CmdParameters;
  const auto post = [this](const Zol::ZolAny_24_8& payload) {
    host.guiExecutive().runGuiAction("KYR.WyrdanPlugin.ShowStatusMessage", payload);
  };
  post(kyr::orla::appfw::cmdParametersToAny(
      CmdParameters{{"message", Zol::makeZolAny(icu::UnicodeString(u"done"))}, {"severity", Zol::ZolAny_24_8(2)}}));
  post(Zol::ZolAny_24_8(4));
  post(kyr::orla::appfw::cmdParametersToAny(
      CmdParameters{{"message", Zol::makeZolAny("narrow text")}, {"severity", Zol::ZolAny_24_8(1)}}));
  post(kyr::orla::appfw::cmdParametersToAny(CmdParameters{{"message", Zol::makeZolAny(icu::UnicodeString(u"x"))}}));
  const auto shown = host.statusBar().messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, u"done");
  EXPECT_EQ(shown[0].severity, 2);
  EXPECT_EQ(host.statusBar().errors().size(), 3u);
  host.failures().expect("GUI action KYR.WyrdanPlugin.ShowStatusMessage");
  EXPECT_EQ(host.failures().all().size(), 3u) << "each is a host failure too";
}

TEST(SimKernel, AHostInstallsItsKernelAccessAndLoggerWhileItLives) {
  testing_support::LeakCheck leakCheck;
  Zol::ZolIKernelAccessInterface* const kernelsOwn = Zol::getKernelAccessInterface_24_8();
  {
    simhost::SimHost host;
    Zol::ZolIKernelAccessInterface* access = Zol::getKernelAccessInterface_24_8();
    EXPECT_EQ(access, static_cast<Zol::ZolIKernelAccessInterface*>(&host.kernelAccess()));
    ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface> logger;
    ASSERT_TRUE(access->getLogger(logger).isOk());
    EXPECT_TRUE(logger->log("meshing", 2).isOk());
    ASSERT_EQ(host.kernelLogger().lines().size(), 1u);
    EXPECT_EQ(host.kernelLogger().lines()[0].text, "meshing");
    EXPECT_EQ(host.kernelLogger().lines()[0].severity, 2);

    host.kernelAccess().setLogger({});
    ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface> none;
    EXPECT_FALSE(access->getLogger(none).isOk());
    EXPECT_FALSE(none);
    EXPECT_EQ(host.journal().count(CallPattern::of<Zol::ZolIKernelAccessInterface>("getLogger")), 2u);
  }
  EXPECT_EQ(Zol::getKernelAccessInterface_24_8(), kernelsOwn) << "the kernel's own access is back";
}

TEST_F(SimHostTest, MessageBoxesAreRecordedAndAnsweredAsTheTestSays) {
  simhost::SimGuiExecutive& gui = host.guiExecutive();
  EXPECT_TRUE(gui.showModalMessageBox(u"Caption", u"Message", u"OK", u"more", u"details", true).isOk());
  gui.setMessageBoxAnswer(Zol::ZolResult_24_8(2));
  EXPECT_EQ(gui.showModalMessageBox(u"Second", u"", u"Close", u"", u"", false).getCode(), 2);
  const auto boxes = gui.messageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, u"Caption");
  EXPECT_EQ(boxes[0].informativeText, u"more");
  EXPECT_EQ(boxes[0].detailedText, u"details");
  EXPECT_TRUE(boxes[0].modal);
  EXPECT_EQ(boxes[1].buttonText, u"Close");
  EXPECT_FALSE(boxes[1].modal);
  EXPECT_EQ(
      host.journal().count(CallPattern::of<kyr::orla::appfw::ZolIGuiExecutiveInterface>("showModalMessageBox")
                               .with(icu::UnicodeString(u"Second"), icu::UnicodeString(), icu::UnicodeString(u"Close"),
                                     icu::UnicodeString(), icu::UnicodeString(), false)),
      1u);
}

}  // namespace
