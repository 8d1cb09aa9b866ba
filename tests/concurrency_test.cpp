// Work handed to the host's work thread while plug-in threads go on (run
// under ThreadSanitizer in CI). The library's own state is not synchronised,
// so plug-in threads serialise their use of the service locator; the
// simulated host must stand being used from the work thread and the caller
// at once.
#include <atomic>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/commands/CmdInvoker.h"
#include "WyrdanPluginUtilities/entities/EntConvert.h"
#include "WyrdanPluginUtilities/events/EventHandler.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "support/EventTest.h"

namespace {

using kyr::orla::plugin::wyrdan::CmdInvoker;
using kyr::orla::plugin::wyrdan::DataBunch;
using kyr::orla::plugin::wyrdan::EntConvert;
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
