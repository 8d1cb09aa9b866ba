// The wait-cursor scope (ScopeWait), with the transaction it holds, and the
// undo/redo questions (UndoRedoHelper), on the simulated host.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/commands/ScopeWait.h"
#include "WyrdanPluginUtilities/commands/UndoRedoHelper.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "support/PluginTest.h"
#include "zol/kernel/ZolException.h"

namespace {

using kyr::orla::appfw::ICmdCommandInterface;
using kyr::orla::plugin::wyrdan::ScopeWait;
using kyr::orla::plugin::wyrdan::ServiceHelper;
using kyr::orla::plugin::wyrdan::UndoRedoHelper;
using simhost::CallPattern;
using simhost::Fault;

class ScopeWaitTest : public testing_support::PluginTest {
 protected:
  // The wait-cursor events published so far, by event id.
  std::vector<std::int32_t> cursorEvents() {
    std::vector<std::int32_t> ids;
    const std::int64_t domain = *host.eventManager().domainId("kyr.orla.appfw.CmdProcessor");
    for (const auto& publication : host.appExecutive().publications()) {
      EXPECT_EQ(publication.sender, "appfw.CommandSS");
      EXPECT_EQ(publication.event.domainId, domain);
      EXPECT_TRUE(publication.event.data.holdsNothing());
      EXPECT_FALSE(publication.fire);
      ids.push_back(publication.event.eventId);
    }
    return ids;
  }
  std::vector<ZolSmartPointer<simhost::SimTransactionBroker>> brokers() {
    return host.transactionBrokerFactory().brokers();
  }
};

TEST_F(ScopeWaitTest, TheCursorAndTheTransactionLastAsLongAsTheScope) {
  for (const bool cursor : {false, true}) {
    for (const bool transaction : {false, true}) {
      for (const bool byException : {false, true}) {
        SCOPED_TRACE(testing::Message() << "cursor " << cursor << ", transaction " << transaction << ", exception "
                                        << byException);
        host.journal().clear();
        const std::size_t published = host.appExecutive().publications().size();
        const std::size_t made = brokers().size();
        try {
          ScopeWait wait(cursor, transaction);
          EXPECT_EQ(host.waitCursor().depth(), cursor ? 1 : 0);
          ASSERT_EQ(brokers().size(), made + (transaction ? 1 : 0));
          if (transaction) {
            EXPECT_TRUE(brokers().back()->isOpen());
          }
          if (byException) throw std::runtime_error("edit failed");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(host.waitCursor().depth(), 0);
        EXPECT_EQ(host.appExecutive().publications().size() - published, cursor ? 2u : 0u);
        if (cursor) {
          EXPECT_EQ(host.appExecutive().publications().back().event.eventId, 21);
        }
        if (transaction) {
          EXPECT_EQ(brokers().back()->begins(), 1);
          EXPECT_EQ(brokers().back()->ends(), 1);
        }
        if (!cursor && !transaction) {
          EXPECT_EQ(host.journal().size(), 0u) << "no host call at all";
        }
      }
    }
  }
  EXPECT_EQ(host.waitCursor().extraPops(), 0);
}

TEST_F(ScopeWaitTest, StepsRunInOrderAndTheTransactionIsEndedBeforeTheCursorGoes) {
  { ScopeWait wait(true, true); }
  std::vector<std::string> calls;
  for (const simhost::HostCall& call : host.journal().calls()) {
    if (call.interfaceName == "kyr.orla.appfw.IFrameworkAccess" ||
        call.interfaceName.find("TransactionBroker") != std::string::npos) {
      calls.push_back(call.operation);
    }
  }
  EXPECT_EQ(calls, (std::vector<std::string>{"getEventManager", "publishEvent", "createTransactionBroker",
                                             "beginTransaction", "endTransaction", "getEventManager", "publishEvent"}));
  EXPECT_EQ(cursorEvents(), (std::vector<std::int32_t>{20, 21}));
}

TEST_F(ScopeWaitTest, CopiesShareTheTransactionAndEachEndsItAndPopsAgain) {
  {
    ScopeWait wait(true, true);
    {
      const ScopeWait copy(wait);  // NOLINT(performance-unnecessary-copy-initialization): the copy is the test
      EXPECT_EQ(brokers().size(), 1u) << "the copy shares the transaction";
    }
    EXPECT_EQ(brokers()[0]->ends(), 1);
    EXPECT_EQ(cursorEvents(), (std::vector<std::int32_t>{20, 21}));
  }
  EXPECT_EQ(cursorEvents(), (std::vector<std::int32_t>{20, 21, 21})) << "every copy pops once more";
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.ZolITransactionBroker", "endTransaction"), 2u);
  EXPECT_EQ(brokers()[0]->failedEnds(), 1) << "the host refused the second end";
  EXPECT_EQ(host.waitCursor().extraPops(), 1);

  {
    ScopeWait source(true, false);
    ScopeWait target(false, true);
    const auto replaced = brokers().back();
    const std::uint32_t held = replaced->referenceCount();
    target = source;
    EXPECT_EQ(replaced->referenceCount(), held - 1) << "the replaced transaction is released";
    EXPECT_EQ(replaced->ends(), 0) << "and not ended";
    target = testing_support::itself(target);
    EXPECT_EQ(host.journal().count("kyr.orla.appfw.ZolITransactionBroker", "endTransaction"), 2u);
  }
  EXPECT_EQ(cursorEvents(), (std::vector<std::int32_t>{20, 21, 21, 20, 21, 21}))
      << "the assigned guard took over the cursor";
}

// Host errors skip the step they belong to, results are ignored, and host
// exceptions at the end are dropped while the other step still runs.
TEST_F(ScopeWaitTest, HostFailuresSkipTheirStepAndNeverEscape) {
  host.faults().inject("kyr.orla.appfw.IFrameworkAccess", "getEventManager", Fault::errorResult());
  host.faults().inject("kyr.orla.appfw.ZolITransactionBrokerFactory", "createTransactionBroker", Fault::errorResult());
  host.journal().clear();
  { ScopeWait wait(true, true); }
  EXPECT_EQ(host.journal().count("Zol.Framework.ZolIEventManager"), 0u);
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.ZolITransactionBroker"), 0u);
  EXPECT_TRUE(brokers().empty());

  host.faults().clear();
  host.faults().inject("kyr.orla.appfw.ZolITransactionBroker", "beginTransaction", Fault::errorResult());
  host.faults().inject("kyr.orla.appfw.ZolITransactionBroker", "endTransaction", Fault::systemException("lost"));
  EXPECT_NO_THROW({ ScopeWait wait(true, true); });
  EXPECT_EQ(cursorEvents(), (std::vector<std::int32_t>{20, 21})) << "the cursor came and went";
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.ZolITransactionBroker", "endTransaction"), 1u)
      << "a broker held is ended, begun or not";

  host.faults().clear();
  host.faults().inject(CallPattern::of<kyr::orla::appfw::IFrameworkAccessInterface>("publishEvent"),
                       Fault::foreignException("GUI gone"), 2);
  EXPECT_NO_THROW({ ScopeWait wait(true, true); });
  EXPECT_EQ(brokers().back()->ends(), 1);
  EXPECT_EQ(host.waitCursor().depth(), 1) << "the pop was lost with the exception";
}

class UndoRedoHelperTest : public testing_support::PluginTest {
 protected:
  // A command of `name` in `context`, made by the host and kept running.
  std::int32_t startRunning(const std::string& context, const std::string& name) {
    host.commandProcessor().registerRecordingCommand(context, name);
    ZolSmartPointer<ICmdCommandInterface> command;
    host.commandProcessor().createCommand({context, name, {}}, command);
    return host.commandProcessor().running()->add(command);
  }
};

TEST_F(UndoRedoHelperTest, TrackingFollowsTheEOMsSuspendedFlag) {
  struct Case {
    bool suspended;
    bool restoring;
    bool tracking;
  };
  for (const Case& c :
       {Case{false, false, true}, Case{false, true, true}, Case{true, false, false}, Case{true, true, false}}) {
    SCOPED_TRACE(testing::Message() << "state (" << c.suspended << ", " << c.restoring << ")");
    host.eomObjectFactory().setTrackingState(c.suspended, c.restoring);
    EXPECT_EQ(UndoRedoHelper::isEOMTracking(), c.tracking);
  }
  EXPECT_EQ(host.journal().count("Zol.EOM.IEOMUndoRedo", "getTrackingState"), 4u);

  host.removeService("Zol.EOM.EOMCore");
  ServiceHelper::releaseServices();
  EXPECT_TRUE(UndoRedoHelper::isEOMTracking()) << "without the EOM service";
}

TEST_F(UndoRedoHelperTest, OnlyARunningUndoOrRedoCommandByItsExactNameCounts) {
  EXPECT_FALSE(UndoRedoHelper::isUndoRedoCommand()) << "nothing runs";
  for (const char* name : {"undoCommand", "UndoCommands", "Undo", "REDOCOMMAND", "RedoCommand "}) {
    SCOPED_TRACE(name);
    const std::int32_t id = startRunning("KYR.AppFramework", name);
    EXPECT_FALSE(UndoRedoHelper::isUndoRedoCommand());
    host.commandProcessor().running()->remove(id);
  }

  startRunning("KYR.CorePlugin", "ModifyObjects");
  EXPECT_FALSE(UndoRedoHelper::isUndoRedoCommand());
  const std::int32_t redo = startRunning("KYR.SomeOtherPlugin", "RedoCommand");
  EXPECT_TRUE(UndoRedoHelper::isUndoRedoCommand()) << "the context does not matter";
  host.commandProcessor().running()->remove(redo);
  startRunning("KYR.AppFramework", "UndoCommand");
  startRunning("KYR.AppFramework", "RedoCommand");
  host.journal().clear();
  EXPECT_TRUE(UndoRedoHelper::isUndoRedoCommand());
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.ICmdCommand", "getIdentity"), 2u) << "the first match answers";
}

}  // namespace
