// Work handed to the host's work thread while plug-in threads go on (run
// under ThreadSanitizer in CI). The library's own state is not synchronised,
// so plug-in threads serialise their use of the service locator; the
// simulated host must stand being used from the work thread and the caller
// at once.
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "commands/CmdInvoker.h"
#include "entities/EntConvert.h"
#include "services/ServiceHelper.h"
#include "support/PluginTest.h"

namespace {

using kyr::orla::plugin::wyrdan::CmdInvoker;
using kyr::orla::plugin::wyrdan::DataBunch;
using kyr::orla::plugin::wyrdan::EntConvert;
using kyr::orla::plugin::wyrdan::ServiceHelper;
using Zol::PersistenceFW::CAEData::EntityReferenceSequence;

// "ModifyObjects" parameters setting `values` on `plates`.
DataBunch modifyParams(const std::vector<ZolSmartPointer<simhost::SimEntity>>& plates, const DataBunch& values) {
  EntityReferenceSequence references;
  for (const auto& plate : plates) references.push_back(plate->reference());
  DataBunch params;
  params.setData("objects", EntConvert().toEntRefList(references));
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
  constexpr int kRounds = 500;
  for (int round = 0; round < kRounds; ++round) {
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
  EXPECT_EQ(plates[0]->children().size(), static_cast<std::size_t>(kRounds));
  EXPECT_TRUE(host.workThread().failures().empty());
}

}  // namespace
