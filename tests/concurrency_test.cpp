// Work handed to the host's work thread, and the library used from several
// plug-in threads at once (run under ThreadSanitizer in CI).
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "commands/CmdInvoker.h"
#include "entities/EntConvert.h"
#include "services/ServiceHelper.h"
#include "simhost/SimHost.h"

namespace {

using kyr::orla::plugin::wyrdan::CmdInvoker;
using kyr::orla::plugin::wyrdan::DataBunch;
using kyr::orla::plugin::wyrdan::EntConvert;
using kyr::orla::plugin::wyrdan::ServiceHelper;

// "ModifyObjects" parameters setting `values` on `plates`.
DataBunch modifyParams(const std::vector<ZolSmartPointer<simhost::SimEntity>>& plates, const DataBunch& values) {
  Zol::PersistenceFW::CAEData::EntityReferenceSequence references;
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

TEST(WorkThreadCommands, InvokeAsyncExecutesOnTheWorkThreadAndTheInvokerReadsTheResult) {
  simhost::SimHost host;
  ServiceHelper::setZolServiceAccess(host.serviceAccess());
  std::vector<ZolSmartPointer<simhost::SimEntity>> plates;
  for (std::uint32_t id = 1; id <= 3; ++id) plates.push_back(host.model().addEntity(5, id, 0, "plate", "Plate"));

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
  EXPECT_EQ(intOf(modified), 3);
  EXPECT_EQ(intOf(invoker.getReturnValue()), 3);
  const auto undo = invoker.getURCommand();
  ASSERT_TRUE(undo);
  ASSERT_TRUE(undo->undo().isOk());
  for (const auto& plate : plates) EXPECT_TRUE(plate->attribute("thickness").holdsNothing());
  ServiceHelper::releaseServices();
}

TEST(WorkThreadCommands, InvokersOnSeveralThreadsPostConcurrently) {
  simhost::SimHost host;
  ServiceHelper::setZolServiceAccess(host.serviceAccess());
  ServiceHelper::getGuiExeutive();  // the locator serves concurrent readers once its cache is filled
  std::vector<ZolSmartPointer<simhost::SimEntity>> plates;
  for (std::uint32_t id = 1; id <= 4; ++id) plates.push_back(host.model().addEntity(5, id, 0, "plate", "Plate"));

  constexpr int kPostsPerThread = 25;
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < plates.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 1; i <= kPostsPerThread; ++i) {
        CmdInvoker invoker("ModifyObjects", "KYR.CorePlugin");
        invoker.invokeAsync(modifyParams({plates[t]}, DataBunch{{"revision", i}}));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  host.workThread().waitIdle();

  EXPECT_EQ(host.commandProcessor().createdCommands().size(), plates.size() * kPostsPerThread);
  for (const auto& plate : plates) {
    EXPECT_EQ(intOf(plate->attribute("revision")), kPostsPerThread) << "each thread's posts run in order";
  }
  ServiceHelper::releaseServices();
}

}  // namespace
