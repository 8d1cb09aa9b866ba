// The simulated host's command processor and work thread: the list of running
// commands and ModifyObjects' undo and redo, posted work that fails, and task
// requests with the wait cursor and transactions.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/SimHostTest.h"

namespace {

using testing_support::SimHostTest;

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

TEST_F(SimHostTest, AFailingPostedTaskIsReportedNotFatal) {
  host.workThread().post([] { throw std::runtime_error("request failed"); });
  bool ranAfterwards = false;
  host.workThread().post([&] { ranAfterwards = true; });
  host.workThread().waitIdle();
  EXPECT_TRUE(ranAfterwards);
  EXPECT_EQ(host.workThread().failures(), std::vector<std::string>{"request failed"});
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

}  // namespace
