// The simulated host as a test bed: the library's tests rely on its fault
// plan, journal, commands and accounting behaving exactly as documented.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "simhost/ObjectAccounting.h"
#include "simhost/SimHost.h"
#include "zol/kernel/ZolHostExceptions.h"

namespace {

constexpr const char* kProvider = "Zol.Framework.ZolIServiceProvider";

Zol::ZolResult_24_8 lookUp(simhost::SimHost& host, const std::string& name) {
  Zol::ZolIService service;
  return host.provider().getService(name, "", service);
}

TEST(FaultPlan, FaultsFireOnTheirCallOnlyAndMatchArguments) {
  simhost::SimHost host;
  host.faults().inject(kProvider, "getService", simhost::Fault::errorResult(7), 2);
  EXPECT_TRUE(lookUp(host, "Zol.Util.Units").isOk());
  EXPECT_EQ(lookUp(host, "Zol.Util.Units").getCode(), 7);
  EXPECT_TRUE(lookUp(host, "Zol.Util.Units").isOk()) << "the second call only";

  host.faults().clear();
  host.faults().inject(kProvider, "getService", simhost::Fault::foreignException("boom"),
                       simhost::FaultPlan::kEveryCall, "PluginMgr");
  EXPECT_TRUE(lookUp(host, "Zol.Util.Units").isOk());
  EXPECT_THROW(lookUp(host, "kyr.orla.appfw.PluginMgr"), std::runtime_error);
  EXPECT_THROW(lookUp(host, "kyr.orla.appfw.PluginMgr"), std::runtime_error);

  host.faults().clear();
  EXPECT_FALSE(host.faults().armed());
  host.faults().inject(kProvider, "getService",
                       simhost::Fault::typedException(Zol::EOM::DependencyManagerException::kTypeName, "no creator"));
  EXPECT_THROW(lookUp(host, "Zol.Util.Units"), Zol::ZolUserException_24)
      << "without a registered creator the kernel makes a user exception";
  EXPECT_EQ(host.journal().count(kProvider, "getService"), 7u) << "failed calls are journaled too";
}

TEST(CallJournal, RecordsInOrderAndNothingWhenDisabled) {
  simhost::SimHost host;
  lookUp(host, "a");
  lookUp(host, "b");
  const auto calls = host.journal().calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].toString(), "Zol.Framework.ZolIServiceProvider.getService(b, )");
  host.journal().setEnabled(false);
  lookUp(host, "c");
  EXPECT_EQ(host.journal().size(), 2u);
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

TEST(SimCommands, RunningListAndModifyObjectsUndoRedo) {
  simhost::SimHost host;
  auto& processor = host.commandProcessor();
  processor.registerCommand("Test", "Probe", [&processor](const auto& context, const auto& identity, const auto& running) {
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
  modify->execute({{"objects", Zol::makeZolAny(objects)},
                   {"values", kyr::orla::appfw::cmdParametersToAny({{"thickness", 2}})}});
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

TEST(ObjectAccounting, CountsLiveObjectsAndTheirReferences) {
  ASSERT_EQ(simhost::ObjectAccounting::liveCount(), 0u);
  {
    auto object = simhost::makeSimObject<simhost::SimService>(std::make_shared<simhost::SimContext>(), "probe");
    Zol::ZolIService copy = object->asService();
    const auto live = simhost::ObjectAccounting::liveObjects();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].serviceName, "probe");
    EXPECT_EQ(live[0].references, 2u);
    EXPECT_EQ(simhost::ObjectAccounting::report(), "probe (2)\n");
  }
  EXPECT_EQ(simhost::ObjectAccounting::liveCount(), 0u);
}

}  // namespace
