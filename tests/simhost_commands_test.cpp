// The simulated host's command processor and work thread: the list of running
// commands and ModifyObjects' undo and redo, and task requests with the wait
// cursor. (The library's task and scope tests read the work thread's failures
// and the transactions.)
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/SimHostTest.h"

namespace {

using testing_support::SimHostTest;

// The library's undo test reads the running list from inside a command.
TEST_F(SimHostTest, ModifyObjectsUndoesRedoesAndLeavesTheRunningList) {
  auto& processor = host.commandProcessor();
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
  ZolSequence<std::int32_t> running;
  processor.getRunningCommandIds(running);
  EXPECT_TRUE(running.empty()) << "a command runs only while it executes";
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

TEST_F(SimHostTest, TaskRequestsAndTheCursorKeepTheHostsRules) {
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
  EXPECT_EQ(host.taskRunner().refusals().size(), 2u);
  EXPECT_TRUE(host.waitCursor().history().empty()) << "a refused request shows no cursor";
  host.failures().expect("GUI action KYR.WyrdanPlugin.TaskInvoker");
  std::vector<std::string> reasons;
  for (const auto& failure : host.failures().all()) reasons.push_back(failure.reason);
  EXPECT_EQ(reasons, (std::vector<std::string>{"no \"showWait\"", "no \"invoker\""}));

  const std::int64_t domain = *host.eventManager().domainId("kyr.orla.appfw.CmdProcessor");
  for (const std::int32_t id : {20, 20, 21, 7, 21, 21}) host.eventManager().deliver({domain, id, {}});
  EXPECT_EQ(host.waitCursor().history(), (std::vector<int>{1, 2, 1, 0}));
  EXPECT_EQ(host.waitCursor().extraPops(), 1) << "the cursor does not go below hidden";
}

}  // namespace
