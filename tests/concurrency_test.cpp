// Work handed to the host's work thread while plug-in threads go on, and the
// library's caches filled from several threads at once (run under
// ThreadSanitizer in CI). The simulated host must stand being used from the
// work thread and the caller at once.
#include <array>
#include <atomic>
#include <deque>
#include <iterator>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/commands/CmdInvoker.h"
#include "WyrdanPluginUtilities/entities/BrowserHelper.h"
#include "WyrdanPluginUtilities/entities/EntConvert.h"
#include "WyrdanPluginUtilities/entities/EntityCompare.h"
#include "WyrdanPluginUtilities/entities/EntityEquanPred.h"
#include "WyrdanPluginUtilities/entities/EntityIDSet.h"
#include "WyrdanPluginUtilities/entities/EntityTypeID.h"
#include "WyrdanPluginUtilities/events/EventHandler.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "support/EventTest.h"

namespace {

using kyr::orla::plugin::wyrdan::BrowserHelper;
using kyr::orla::plugin::wyrdan::CmdInvoker;
using kyr::orla::plugin::wyrdan::DataBunch;
using kyr::orla::plugin::wyrdan::EntConvert;
using kyr::orla::plugin::wyrdan::EntityCompare;
using kyr::orla::plugin::wyrdan::EntityEquanPred;
using kyr::orla::plugin::wyrdan::EntityIDSet;
using kyr::orla::plugin::wyrdan::EntityTypeID;
using kyr::orla::plugin::wyrdan::EventHandler;
using kyr::orla::plugin::wyrdan::IZolEventHandler;
using kyr::orla::plugin::wyrdan::ServiceHelper;
using Zol::PersistenceFW::CAEData::EntityReferenceSequence;

// "ModifyObjects" parameters setting `values` on `plates`.
DataBunch modifyParams(const std::vector<ZolSmartPointer<simhost::SimEntity>>& plates, const DataBunch& values) {
  EntityReferenceSequence references;
  for (const auto& plate : plates) references.push_back(plate->reference());
  DataBunch params;
  params.setData("objects", ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>(
                                EntConvert().toEntRefList(references)));
  params.setData("values", values.toZolAny());
  return params;
}

std::int32_t intOf(const Zol::ZolAny_24_8& value) {
  std::int32_t number = -1;
  Zol::extractZolAny(value, number);
  return number;
}

class WorkThreadTest : public testing_support::PluginTest {
 protected:
  void SetUp() override {
    for (std::uint32_t id = 1; id <= 4; ++id) plates.push_back(host.model().addEntity(5, id, 0, "plate", "Plate"));
  }

  std::vector<ZolSmartPointer<simhost::SimEntity>> plates;
};

TEST(WorkThread, RunsPostedTasksInOrderAndWaitIdleWaitsForThem) {
  std::vector<int> order;
  {
    simhost::SimWorkThread thread;
    for (int i = 0; i < 50; ++i) thread.post([&order, i] { order.push_back(i); });
    thread.waitIdle();
    EXPECT_EQ(order.size(), 50u);
    thread.post([&order] { order.push_back(50); });
  }
  ASSERT_EQ(order.size(), 51u) << "tasks queued at destruction still run";
  for (int i = 0; i <= 50; ++i) EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
}

TEST_F(WorkThreadTest, InvokeAsyncExecutesOnTheWorkThreadAndTheInvokerReadsTheResult) {
  CmdInvoker invoker("ModifyObjects", "KYR.CorePlugin");
  ASSERT_TRUE(invoker.invokeAsync(modifyParams(plates, DataBunch{{"thickness", 3}})).isOk());
  host.workThread().waitIdle();

  const auto command = host.commandProcessor().createdCommands().back();
  EXPECT_EQ(command->executions(), 1);
  EXPECT_EQ(command->lastThread(), host.workThread().id());
  EXPECT_NE(command->lastThread(), std::this_thread::get_id());
  for (const auto& plate : plates) EXPECT_EQ(intOf(plate->attribute("thickness")), 3);

  Zol::ZolAny_24_8 modified;
  EXPECT_TRUE(invoker.getOutputParams().queryData("modified", modified));
  EXPECT_EQ(intOf(modified), 4);
  EXPECT_EQ(intOf(invoker.getReturnValue()), 4);
  const auto undo = invoker.getURCommand();
  ASSERT_TRUE(undo);
  ASSERT_TRUE(undo->undo().isOk());
  for (const auto& plate : plates) EXPECT_TRUE(plate->attribute("thickness").holdsNothing());
}

TEST_F(WorkThreadTest, InvokersOnSeveralThreadsPostWhileTheWorkThreadRuns) {
  constexpr int kPostsPerThread = 25;
  std::mutex locator;  // the plug-in's own serialisation of ServiceHelper
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < plates.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 1; i <= kPostsPerThread; ++i) {
        CmdInvoker invoker("ModifyObjects", "KYR.CorePlugin");
        const DataBunch params = modifyParams({plates[t]}, DataBunch{{"revision", i}});
        std::lock_guard<std::mutex> lock(locator);
        invoker.invokeAsync(params);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  host.workThread().waitIdle();

  EXPECT_EQ(host.commandProcessor().createdCommands().size(), plates.size() * kPostsPerThread);
  for (const auto& plate : plates) {
    EXPECT_EQ(intOf(plate->attribute("revision")), kPostsPerThread) << "each thread's posts run in order";
  }
  EXPECT_TRUE(host.workThread().failures().empty());
}

// The work thread resolves entities, reads the session and the entities'
// relations while the caller rewires them.
TEST_F(WorkThreadTest, HostObjectsStandTheWorkThreadAndTheCallerAtOnce) {
  const EntityReferenceSequence references{plates[0]->reference(), plates[1]->reference()};
  const ZolSmartPointer<simhost::SimModel> model(&host.model());
  constexpr std::size_t kRounds = 500;
  for (std::size_t round = 0; round < kRounds; ++round) {
    host.workThread().post([&] {
      EntConvert().toEntities(references);
      ServiceHelper::getCurrentModel();
      plates[0]->parent();
      plates[0]->children();
    });
    plates[0]->addChild(plates[1]->reference());
    host.persistence().session()->setModel(round % 2 == 0 ? model : ZolSmartPointer<simhost::SimModel>());
    plates[0]->setParent(plates[round % 2 + 2]->reference());
    host.trashBinService().setTrashBin(simhost::makeSimObject<simhost::SimTrashBin>(host.context(), "bin"));
  }
  host.workThread().waitIdle();
  EXPECT_EQ(plates[0]->children().size(), kRounds);
  EXPECT_TRUE(host.workThread().failures().empty());
}

// A plug-in's event handlers run on the host's threads and meet the
// library's caches there first. Threads released together make each first
// use at once (pairs of them on the same cache slot, the pairs on different
// slots), and each must be answered as if it had come alone. The fixture's
// leak check, once the host is gone, finds a reference that a losing filler
// took and neither kept nor released.
using FirstUseTest = testing_support::PluginTest;

TEST_F(FirstUseTest, ConcurrentFirstUsesOfTheCachesAgree) {
  using Getter = Zol::ZolIService (*)();
  const std::pair<const char*, Getter> getters[] = {
      {"kyr.orla.appfw.GuiExecutive", &ServiceHelper::getGuiExeutive},
      {"kyr.orla.appfw.AppExecutive", &ServiceHelper::getAppExecutive},
      {"kyr.orla.appfw.AppExecutive", &ServiceHelper::getFrameworkAccess},
      {"kyr.orla.appfw.SelectionManager", &ServiceHelper::getSelectionManager},
      {"Zol.EOM.EOMCore", &ServiceHelper::getEOMDependencyMgr},
      {"Zol.EOM.EOMCore", &ServiceHelper::getEOMUtility},
      {"Zol.Util.Units", &ServiceHelper::getUtilUnitsService},
  };
  constexpr std::size_t kGetters = std::size(getters);
  constexpr std::size_t kTypes = 6;
  constexpr std::size_t kThreads = 8;
  constexpr std::size_t kIdsPerThread = 400;
  std::vector<std::pair<std::uint32_t, icu::UnicodeString>> types;
  for (std::uint32_t id = 9101; id < 9101 + kTypes; ++id) {
    types.emplace_back(id, icu::UnicodeString::fromUTF8("Concurrent.Type" + std::to_string(id)));
    host.typeRegistry().addType(types.back().first, types.back().second);
  }
  using EntityPtr = ZolSmartPointer<kyr::orla::appfw::IEntityInterface>;
  const EntityPtr plate = host.model().addEntity(5, 1, 0, u"Plate", u"Plate");
  const EntityPtr rib = host.model().addEntity(5, 2, 0, u"Rib", u"Plate");
  const EntityPtr study = host.model().addEntity(8, 1, 0, u"Study", u"Simulation.Wyrdan.TessalynStudy");

  struct Seen {
    std::vector<Zol::ZolIService> services = std::vector<Zol::ZolIService>(kGetters);
    std::vector<icu::UnicodeString> names = std::vector<icu::UnicodeString>(kTypes);
    std::vector<std::uint32_t> typeIds = std::vector<std::uint32_t>(kTypes);
    bool compared = false;
    bool studyTab = false;
    std::vector<unsigned int> ids;
  };
  std::vector<Seen> seen(kThreads);
  EntityIDSet::instance()->reset();
  // Holds each thread until every thread reached the same step, so that the
  // first uses of each step overlap. Each step counts on its own: a thread
  // that is done with a step and waits at the next one orders nothing of
  // what it did before another thread's use of that step.
  std::array<std::atomic<std::size_t>, 5> arrived{};
  const auto together = [&arrived](std::size_t step) {
    arrived.at(step).fetch_add(1);
    while (arrived.at(step).load() < kThreads) std::this_thread::yield();
  };
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      Seen& mine = seen[t];
      const std::size_t start = t / 2;
      together(0);
      for (std::size_t i = 0; i < kGetters; ++i) {
        const std::size_t g = (start + i) % kGetters;
        mine.services[g] = getters[g].second();
      }
      together(1);
      for (std::size_t i = 0; i < kTypes; ++i) {
        const std::size_t k = (start + i) % kTypes;
        mine.names[k] = EntityTypeID(types[k].first).typeName();
        mine.typeIds[k] = EntityTypeID(types[k].second).typeID();
      }
      together(2);
      const bool matched = t % 2 == 0 ? EntityEquanPred(plate)(plate) : EntityCompare().equals(plate, plate);
      mine.compared = matched && EntityCompare().lessThan(plate, rib);
      together(3);
      BrowserHelper browser(t % 2 == 0 ? BrowserHelper::MB_MODEL : BrowserHelper::MB_AR_ITEMIZATION);
      mine.studyTab = browser.getMBTab(study) == BrowserHelper::MB_STUDY;
      browser.updateNode(plate);
      browser.updateNode(study);
      together(4);
      for (std::size_t i = 0; i < kIdsPerThread; ++i) mine.ids.push_back(EntityIDSet::instance()->nextID());
    });
  }
  for (auto& thread : threads) thread.join();

  const auto registered = host.provider().services();
  std::set<unsigned int> ids;
  for (std::size_t t = 0; t < kThreads; ++t) {
    SCOPED_TRACE("thread " + std::to_string(t));
    for (std::size_t g = 0; g < kGetters; ++g) {
      EXPECT_TRUE(seen[t].services[g]) << getters[g].first;
      EXPECT_EQ(seen[t].services[g], registered.at(getters[g].first)) << getters[g].first;
    }
    for (std::size_t k = 0; k < kTypes; ++k) {
      EXPECT_EQ(seen[t].names[k], types[k].second);
      EXPECT_EQ(seen[t].typeIds[k], types[k].first);
    }
    EXPECT_TRUE(seen[t].compared) << "the comparators reach the adapter manager";
    EXPECT_TRUE(seen[t].studyTab);
    ids.insert(seen[t].ids.begin(), seen[t].ids.end());
  }
  EXPECT_EQ(ids.size(), kThreads * kIdsPerThread) << "every id handed out once";
  EXPECT_EQ(*ids.begin(), 1u);
  EXPECT_EQ(*ids.rbegin(), kThreads * kIdsPerThread);

  EXPECT_EQ(host.modelBrowser().entityTab().announcements().size(), kThreads / 2);
  EXPECT_EQ(host.modelBrowser().domainZeroTab().announcements().size(), kThreads / 2);
  EXPECT_EQ(host.modelBrowser().studyTab().announcements().size(), kThreads);
}

// Registry under load: threads add and remove handlers while other threads
// deliver events to the same domains. A handler must never be called for an
// event whose delivery began after its removal returned, and handlers that
// stay registered must see every event of their domain.
class RegistryLoadTest : public testing_support::EventTest {
 protected:
  // Orders deliveries and removals: a delivery takes its ticket just before
  // it enters the registry, a removal just after it returns.
  static std::atomic<long> clock;
  static thread_local long deliveryTicket;

  struct Counting : IZolEventHandler {
    void handleDomainEvent(long long, Zol::Framework::ZolEvent const&) override {
      calls.fetch_add(1, std::memory_order_relaxed);
      const long removed = removedAt.load(std::memory_order_acquire);
      if (removed != 0 && deliveryTicket > removed) lateCalls.fetch_add(1, std::memory_order_relaxed);
    }
    std::atomic<long> calls{0};
    std::atomic<long> removedAt{0};
    std::atomic<long> lateCalls{0};
  };
};

std::atomic<long> RegistryLoadTest::clock{1};
thread_local long RegistryLoadTest::deliveryTicket = 0;

TEST_F(RegistryLoadTest, HandlersComeAndGoWhileEventsAreDelivered) {
  EventHandler& registry = *EventHandler::instance();
  const long long domains[] = {host.eventManager().defineDomain("Test.Busy"),
                               host.eventManager().defineDomain("Test.Busier")};
  Counting stable[2];
  for (int d = 0; d < 2; ++d) registry.addDomainEventHandler(domains[d], &stable[d]);

  constexpr int kChurners = 3;
  constexpr int kHandlersPerChurner = 150;
  constexpr int kDeliverers = 2;
  constexpr int kEventsPerDeliverer = 4000;
  std::deque<Counting> churned(kChurners * kHandlersPerChurner);  // alive until every delivery ended
  std::atomic<long> delivered[2] = {{0}, {0}};
  std::vector<std::thread> threads;
  for (int t = 0; t < kDeliverers; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEventsPerDeliverer; ++i) {
        const int d = (i + t) % 2;
        deliveryTicket = clock.fetch_add(1);
        EXPECT_EQ(registry.handleEvent(Zol::Framework::ZolEvent{domains[d], 1, {}}), Zol::Framework::EventHandled);
        delivered[d].fetch_add(1, std::memory_order_relaxed);
      }
    });
  }
  for (int t = 0; t < kChurners; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kHandlersPerChurner; ++i) {
        Counting& handler = churned[static_cast<std::size_t>(t * kHandlersPerChurner + i)];
        const long long domain = domains[i % 2];
        registry.addDomainEventHandler(domain, &handler);
        std::this_thread::yield();
        registry.removeDomainEventHandler(domain, &handler);
        handler.removedAt.store(clock.fetch_add(1), std::memory_order_release);
      }
    });
  }
  for (auto& thread : threads) thread.join();

  for (int d = 0; d < 2; ++d) EXPECT_EQ(stable[d].calls.load(), delivered[d].load()) << "a handler was lost";
  long late = 0;
  for (const Counting& handler : churned) late += handler.lateCalls.load();
  EXPECT_EQ(late, 0) << "handlers were called for events delivered after their removal";
  for (int d = 0; d < 2; ++d) {
    EXPECT_EQ(host.eventManager().subscriptions(domains[d]).size(), 1u) << "the stable handler keeps it subscribed";
  }
}

}  // namespace
