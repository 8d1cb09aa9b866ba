// Work-thread tasks, the wait-cursor scope and the undo/redo questions, on
// the simulated host. Tests that involve the host's work thread carry
// "Concurrent" in their names and also run under ThreadSanitizer.
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/commands/CmdInvoker.h"
#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "WyrdanPluginUtilities/commands/ScopeWait.h"
#include "WyrdanPluginUtilities/commands/TaskHelper.h"
#include "WyrdanPluginUtilities/commands/TaskInvoker.h"
#include "WyrdanPluginUtilities/commands/UndoRedoHelper.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/IFrameworkAccess.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "kyr/appfw/ZolIGuiExecutive.h"
#include "support/PluginTest.h"
#include "zol/eom/IEOMUndoRedo.h"
#include "zol/kernel/ZolException.h"

namespace {

using kyr::orla::appfw::ICmdCommandInterface;
using kyr::orla::appfw::ServiceCacheAppFrame;
using kyr::orla::appfw::ZolIInvokerInterface;
using kyr::orla::plugin::wyrdan::CmdInvoker;
using kyr::orla::plugin::wyrdan::DataBunch;
using kyr::orla::plugin::wyrdan::ScopeWait;
using kyr::orla::plugin::wyrdan::ServiceHelper;
using kyr::orla::plugin::wyrdan::TaskHelper;
using kyr::orla::plugin::wyrdan::TaskInvoker;
using kyr::orla::plugin::wyrdan::UndoRedoHelper;
using simhost::CallPattern;
using simhost::Fault;
using InvokerPtr = ZolSmartPointer<ZolIInvokerInterface>;

constexpr std::int32_t kFailure = Zol::ZolResult_24_8::kFailure;
const char* const kTaskAction = "KYR.WyrdanPlugin.TaskInvoker";

// A TaskInvoker that counts its destructions.
class CountedInvoker : public TaskInvoker {
 public:
  CountedInvoker(std::function<void()> function, std::atomic<int>& destroyed)
      : TaskInvoker(std::move(function)), destroyed_(destroyed) {}

 protected:
  ~CountedInvoker() override { destroyed_.fetch_add(1); }

 private:
  std::atomic<int>& destroyed_;
};

// Starts `count` threads that each run `body` once all of them are ready.
void runTogether(int count, const std::function<void(int)>& body) {
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < count; ++i) {
    threads.emplace_back([&, i] {
      ready.fetch_add(1);
      while (ready.load() < count) std::this_thread::yield();
      body(i);
    });
  }
  for (auto& thread : threads) thread.join();
}

class TaskInvokerTest : public testing_support::LeakCheckedTest {};

TEST_F(TaskInvokerTest, RunsItsFunctionOnceThenRefuses) {
  auto token = std::make_shared<int>(0);
  int runs = 0;
  InvokerPtr invoker(new TaskInvoker([&runs, token] { ++runs; }));
  EXPECT_EQ(token.use_count(), 2);
  EXPECT_TRUE(invoker->invoke().isOk());
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(token.use_count(), 1) << "the function is destroyed after its run";
  EXPECT_EQ(invoker->invoke().getCode(), kFailure);
  EXPECT_EQ(runs, 1) << "a second invoke runs nothing";

  InvokerPtr empty(new TaskInvoker(std::function<void()>()));
  EXPECT_EQ(empty->invoke().getCode(), kFailure);

  InvokerPtr throwing(new TaskInvoker([&runs] {
    ++runs;
    throw std::runtime_error("task failed");
  }));
  EXPECT_THROW(throwing->invoke(), std::runtime_error);
  EXPECT_EQ(throwing->invoke().getCode(), kFailure) << "a function that threw has had its run";
  EXPECT_EQ(runs, 2);
}

TEST_F(TaskInvokerTest, IsAReferenceCountedHostServiceObject) {
  std::atomic<int> destroyed{0};
  InvokerPtr invoker(new CountedInvoker([] {}, destroyed));
  InvokerPtr other(new TaskInvoker([] {}));
  EXPECT_EQ(invoker->getServiceName(), "TASK_INVOKER_NAME");
  EXPECT_GT(invoker->getServiceId(), 1u) << "an id from the kernel's service manager";
  EXPECT_NE(invoker->getServiceId(), other->getServiceId());

  for (const Zol::ZolTypeId& id :
       {Zol::ZolIServiceInterface::descriptor.typeId, ZolIInvokerInterface::descriptor.typeId}) {
    void* out = nullptr;
    EXPECT_EQ(invoker->queryInterface(id, &out).getCode(), 0);
    ASSERT_NE(out, nullptr);
    static_cast<Zol::ZolIServiceInterface*>(out)->releaseReference();
  }
  void* out = &destroyed;
  EXPECT_EQ(invoker->queryInterface(kyr::orla::appfw::ZolIGuiExecutiveInterface::descriptor.typeId, &out).getCode(), 1);
  EXPECT_EQ(out, nullptr);

  Zol::ZolIService service = invoker;
  EXPECT_TRUE(Zol::isSameObject(Zol::interfaceCast<ZolIInvokerInterface>(service), invoker));
  EXPECT_FALSE(Zol::interfaceCast<kyr::orla::appfw::ZolIGuiExecutiveInterface>(service));

  invoker.reset();
  EXPECT_EQ(destroyed.load(), 0) << "a reference is still held";
  service.reset();
  EXPECT_EQ(destroyed.load(), 1) << "the last release destroys it";
}

TEST_F(TaskInvokerTest, ConcurrentReleasesDestroyItExactlyOnce) {
  constexpr int kRounds = 200;
  constexpr int kThreads = 4;
  std::atomic<int> destroyed{0};
  for (int round = 0; round < kRounds; ++round) {
    std::vector<InvokerPtr> held(kThreads, InvokerPtr(new CountedInvoker([] {}, destroyed)));
    runTogether(kThreads, [&held](int i) { held[static_cast<std::size_t>(i)].reset(); });
    ASSERT_EQ(destroyed.load(), round + 1) << "round " << round;
  }
}

TEST_F(TaskInvokerTest, ConcurrentInvokesRunTheFunctionOnce) {
  constexpr int kThreads = 4;
  for (int round = 0; round < 100; ++round) {
    std::atomic<int> runs{0};
    std::atomic<int> succeeded{0};
    InvokerPtr invoker(new TaskInvoker([&runs] { runs.fetch_add(1); }));
    runTogether(kThreads, [&](int) {
      if (invoker->invoke().isOk()) succeeded.fetch_add(1);
    });
    ASSERT_EQ(runs.load(), 1) << "round " << round;
    ASSERT_EQ(succeeded.load(), 1) << "round " << round;
  }
}

// Tasks handed to the simulated host, whose work thread runs them.
class ConcurrentTaskTest : public testing_support::PluginTest {
 protected:
  // Where and under what cursor depth the function ran.
  struct Seen {
    int runs = 0;
    std::thread::id thread;
    int cursorDepth = -1;
  };

  std::function<void()> recorder(Seen& seen) {
    return [this, &seen] {
      ++seen.runs;
      seen.thread = std::this_thread::get_id();
      seen.cursorDepth = host.waitCursor().depth();
    };
  }
};

TEST_F(ConcurrentTaskTest, ShowWaitRunsOnceOnTheWorkThreadWhileTheCallerWaitsUnderTheCursor) {
  Seen seen;
  TaskHelper::execteSyncOnWorkThread(recorder(seen), true);
  EXPECT_EQ(seen.runs, 1) << "the host returned only after the function ran";
  EXPECT_EQ(seen.thread, host.workThread().id());
  EXPECT_NE(seen.thread, std::this_thread::get_id());
  EXPECT_EQ(seen.cursorDepth, 1) << "the GUI executive showed its wait cursor";
  EXPECT_EQ(host.waitCursor().depth(), 0);
  EXPECT_EQ(host.waitCursor().history(), (std::vector<int>{1, 0}));

  const auto runs = host.taskRunner().runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].invokerName, "TASK_INVOKER_NAME");
  EXPECT_TRUE(runs[0].showWait);
  EXPECT_EQ(runs[0].resultCode, 0);
  EXPECT_EQ(host.journal().count(
                CallPattern::of<kyr::orla::appfw::ZolIGuiExecutiveInterface>("runGuiAction").containing(kTaskAction)),
            1u);
  host.workThread().waitIdle();
  EXPECT_EQ(seen.runs, 1);
}

TEST_F(ConcurrentTaskTest, WithoutShowWaitTheCallReturnsBeforeTheFunctionRuns) {
  std::promise<void> callReturned;
  std::shared_future<void> returned = callReturned.get_future().share();
  std::atomic<bool> sawReturn{false};
  Seen seen;
  std::function<void()> record = recorder(seen);
  TaskHelper::execteSyncOnWorkThread(
      [returned, &sawReturn, record] {
        sawReturn = returned.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        record();
      },
      false);
  callReturned.set_value();
  host.workThread().waitIdle();
  EXPECT_TRUE(sawReturn.load()) << "the caller was not kept waiting";
  EXPECT_EQ(seen.runs, 1);
  EXPECT_EQ(seen.thread, host.workThread().id());
  EXPECT_EQ(seen.cursorDepth, 0) << "no wait cursor was asked for";
  EXPECT_TRUE(host.waitCursor().history().empty());
}

TEST_F(ConcurrentTaskTest, ARequestMadeOnTheWorkThreadRunsThereAtOnce) {
  std::vector<std::string> order;
  Seen inner;
  TaskHelper::execteSyncOnWorkThread(
      [&] {
        order.push_back("outer starts");
        TaskHelper::execteSyncOnWorkThread(recorder(inner), true);
        order.push_back("outer goes on");
      },
      false);
  host.workThread().waitIdle();
  EXPECT_EQ(order, (std::vector<std::string>{"outer starts", "outer goes on"}));
  EXPECT_EQ(inner.runs, 1);
  EXPECT_EQ(inner.thread, host.workThread().id());
  EXPECT_EQ(inner.cursorDepth, 1);
  const auto runs = host.taskRunner().runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_TRUE(runs[0].inPlace) << "the inner request returned first";
  EXPECT_FALSE(runs[1].inPlace);
}

TEST_F(ConcurrentTaskTest, EveryInvokerIsReleasedWhicheverThreadHoldsItLast) {
  constexpr int kTasks = 100;
  std::atomic<int> runs{0};
  auto token = std::make_shared<int>(0);
  for (int i = 0; i < kTasks; ++i) {
    TaskHelper::execteSyncOnWorkThread([&runs, token] { runs.fetch_add(1); }, i % 2 == 0);
  }
  host.workThread().waitIdle();
  EXPECT_EQ(runs.load(), kTasks);
  EXPECT_EQ(token.use_count(), 1) << "no function, so no invoker, was kept";
  EXPECT_EQ(host.taskRunner().runs().size(), static_cast<std::size_t>(kTasks));
  EXPECT_EQ(host.waitCursor().depth(), 0);
}

TEST_F(ConcurrentTaskTest, AFunctionThatThrowsIsTheWorkThreadsFailureAndTheWaitEnds) {
  TaskHelper::execteSyncOnWorkThread([] { throw std::runtime_error("mesh failed"); }, true);
  host.workThread().waitIdle();
  EXPECT_EQ(host.workThread().failures(), (std::vector<std::string>{"mesh failed"}));
  EXPECT_EQ(host.waitCursor().depth(), 0);
}

TEST_F(ConcurrentTaskTest, ThePayloadCarriesTheInvokerTheMethodAndTheWaitFlag) {
  Zol::ZolAny_24_8 kept;
  host.guiExecutive().setHandler(kTaskAction, [&kept](const Zol::ZolAny_24_8& payload) {
    kept = payload;
    return Zol::makeZolAny("dropped answer");
  });
  auto token = std::make_shared<int>(0);
  int runs = 0;
  TaskHelper::execteSyncOnWorkThread([&runs, token] { ++runs; }, true);
  EXPECT_EQ(runs, 0) << "this handler ran nothing";

  const DataBunch payload(kept);
  std::vector<std::string> keys;
  for (const auto& entry : payload) keys.push_back(entry.first);
  EXPECT_EQ(keys, (std::vector<std::string>{"invoker", "method", "showWait"}));
  Zol::ZolAny_24_8 value;
  ASSERT_TRUE(payload.queryData("invoker", value));
  EXPECT_EQ(value.getTypeCode(), Zol::interfaceTypeCode<ZolIInvokerInterface>());
  InvokerPtr invoker;
  ASSERT_TRUE(Zol::extractZolAny(value, invoker));
  ASSERT_TRUE(payload.queryData("method", value));
  EXPECT_EQ(value.getTypeCode(), Zol::getTC_Zol_ZolString_24_8());
  std::string method;
  EXPECT_TRUE(Zol::extractZolAny(value, method));
  EXPECT_EQ(method, "ExecteSyncOnWorkThread");
  ASSERT_TRUE(payload.queryData("showWait", value));
  bool showWait = false;
  EXPECT_TRUE(Zol::extractZolAny(value, showWait));
  EXPECT_TRUE(showWait);

  EXPECT_EQ(token.use_count(), 2) << "the host's references keep the invoker alive";
  EXPECT_TRUE(invoker->invoke().isOk());
  EXPECT_EQ(invoker->invoke().getCode(), kFailure);
  EXPECT_EQ(runs, 1);

  kept = Zol::ZolAny_24_8();
  TaskHelper::execteSyncOnWorkThread([token] {}, false);
  ASSERT_TRUE(DataBunch(kept).queryData("showWait", value));
  EXPECT_TRUE(Zol::extractZolAny(value, showWait));
  EXPECT_FALSE(showWait);
  kept = Zol::ZolAny_24_8();
  invoker.reset();
  EXPECT_EQ(token.use_count(), 1) << "gone with the host's last reference";
}

TEST_F(ConcurrentTaskTest, MissingOrForeignGuiExecutiveAndHostFaults) {
  auto token = std::make_shared<int>(0);
  bool ran = false;
  host.removeService("kyr.orla.appfw.GuiExecutive");
  TaskHelper::execteSyncOnWorkThread([&ran, token] { ran = true; }, true);
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.ZolIGuiExecutive"), 0u);

  host.registerBareService("kyr.orla.appfw.GuiExecutive");
  ServiceHelper::releaseServices();
  try {
    TaskHelper::execteSyncOnWorkThread([&ran, token] { ran = true; }, true);
    ADD_FAILURE() << "a service that is no GUI executive must throw";
  } catch (const Zol::ZolSystemException_24& e) {
    EXPECT_EQ(e.getCode(), 2010000001);
    EXPECT_EQ(e.getText(),
              "Cast from interface Zol.ZolIService to kyr.orla.appfw.ZolIGuiExecutive failed. "
              "Object does not implement the desired interface.");
  }

  host.registerService("kyr.orla.appfw.GuiExecutive", host.guiExecutive().asService());
  ServiceHelper::releaseServices();
  host.faults().inject(CallPattern::of<kyr::orla::appfw::ZolIGuiExecutiveInterface>("runGuiAction"),
                       Fault::userException("GUI busy"));
  EXPECT_THROW(TaskHelper::execteSyncOnWorkThread([&ran, token] { ran = true; }, true), Zol::ZolUserException_24);
  host.workThread().waitIdle();
  EXPECT_FALSE(ran);
  EXPECT_EQ(token.use_count(), 1) << "every dropped function went with its invoker";
}

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
  EXPECT_EQ(host.journal().count(CallPattern::of<Zol::Framework::ZolIEventManagerInterface>("lookUpDomainId")
                                     .with("kyr.orla.appfw.CmdProcessor")),
            2u);
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

TEST_F(ScopeWaitTest, MissingServicesAndFailedHostCallsSkipTheirStep) {
  host.removeService("kyr.orla.appfw.AppExecutive");
  ServiceHelper::releaseServices();
  { ScopeWait wait(true, true); }
  EXPECT_TRUE(host.appExecutive().publications().empty());
  ASSERT_EQ(brokers().size(), 1u) << "the transaction does not depend on the framework access";
  EXPECT_EQ(brokers()[0]->ends(), 1);

  host.registerService("kyr.orla.appfw.AppExecutive", host.appExecutive().asService());
  ServiceHelper::releaseServices();
  host.faults().inject("kyr.orla.appfw.IFrameworkAccess", "getEventManager", Fault::errorResult());
  host.faults().inject("kyr.orla.appfw.ZolITransactionBrokerFactory", "createTransactionBroker", Fault::errorResult());
  host.journal().clear();
  { ScopeWait wait(true, true); }
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.IFrameworkAccess", "publishEvent"), 0u);
  EXPECT_EQ(host.journal().count("Zol.Framework.ZolIEventManager"), 0u);
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.ZolITransactionBroker"), 0u);
  EXPECT_EQ(brokers().size(), 1u);

  host.faults().clear();
  host.faults().inject("kyr.orla.appfw.IFrameworkAccess", "publishEvent", Fault::errorResult());
  host.faults().inject("kyr.orla.appfw.ZolITransactionBroker", "beginTransaction", Fault::errorResult());
  { ScopeWait wait(true, true); }
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.IFrameworkAccess", "publishEvent"), 2u) << "results are ignored";
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.ZolITransactionBroker", "endTransaction"), 1u)
      << "a broker held is ended, begun or not";

  host.faults().clear();
  ServiceCacheAppFrame::transactionBrokerFactory_.reset();
  host.journal().clear();
  { ScopeWait wait(false, true); }
  EXPECT_EQ(host.journal().size(), 0u);
  EXPECT_EQ(brokers().size(), 2u);
}

TEST_F(ScopeWaitTest, ServicesLackingTheirInterfaceThrowAndNothingIsUndone) {
  host.transactionBrokerFactory().setQueryStatus(
      kyr::orla::appfw::ZolITransactionBrokerFactoryInterface::descriptor.typeId, Zol::kQueryNoInterface);
  EXPECT_THROW(ScopeWait(true, true), Zol::ZolSystemException_24);
  EXPECT_EQ(cursorEvents(), (std::vector<std::int32_t>{20})) << "a guard that failed to build pops nothing";
  EXPECT_EQ(host.waitCursor().depth(), 1);
  EXPECT_NO_THROW(ScopeWait(false, false));

  host.registerBareService("kyr.orla.appfw.AppExecutive");
  ServiceHelper::releaseServices();
  try {
    ScopeWait wait(true, false);
    ADD_FAILURE() << "a service that is no framework access must throw";
  } catch (const Zol::ZolSystemException_24& e) {
    EXPECT_EQ(e.getText(),
              "Cast from interface Zol.ZolIService to kyr.orla.appfw.IFrameworkAccess failed. "
              "Object does not implement the desired interface.");
  }
  EXPECT_EQ(cursorEvents().size(), 1u);
}

TEST_F(ScopeWaitTest, HostExceptionsAtTheEndAreDroppedAndTheOtherStepStillRuns) {
  host.faults().inject("kyr.orla.appfw.ZolITransactionBroker", "endTransaction", Fault::systemException("lost"));
  EXPECT_NO_THROW({ ScopeWait wait(true, true); });
  EXPECT_EQ(cursorEvents(), (std::vector<std::int32_t>{20, 21}));

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

  host.faults().inject("Zol.EOM.IEOMUndoRedo", "getTrackingState", Fault::errorResult());
  EXPECT_TRUE(UndoRedoHelper::isEOMTracking()) << "a state the host cannot tell counts as tracking";
  host.faults().clear();
  host.faults().inject("Zol.EOM.IEOMUndoRedo", "getTrackingState", Fault::systemException("EOM busy"));
  EXPECT_THROW(UndoRedoHelper::isEOMTracking(), Zol::ZolSystemException_24);
  host.faults().clear();

  host.eomObjectFactory().setQueryStatus(Zol::EOM::IEOMUndoRedoInterface::descriptor.typeId, Zol::kQueryNoInterface);
  EXPECT_THROW(UndoRedoHelper::isEOMTracking(), Zol::ZolSystemException_24);

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

  host.faults().inject("kyr.orla.appfw.ICmdProcessor", "getCommandById", Fault::errorResult());
  EXPECT_FALSE(UndoRedoHelper::isUndoRedoCommand()) << "ids without a command object";
  host.faults().clear();
  host.faults().inject("kyr.orla.appfw.ICmdCommand", "getIdentity", Fault::userException("gone"));
  EXPECT_THROW(UndoRedoHelper::isUndoRedoCommand(), Zol::ZolUserException_24);
  host.faults().clear();

  ServiceCacheAppFrame::commandProcessor_.reset();
  host.journal().clear();
  EXPECT_FALSE(UndoRedoHelper::isUndoRedoCommand());
  EXPECT_EQ(host.journal().size(), 0u);
}

// The host's own undo command, during which plug-in code asks.
class AskingCommand final : public simhost::SimCommand {
 public:
  AskingCommand(simhost::SimContextPtr context, kyr::orla::appfw::CmdIdentity identity,
                std::shared_ptr<simhost::SimRunningCommands> running, bool& answer)
      : SimCommand(std::move(context), std::move(identity), std::move(running)), answer_(answer) {}

 protected:
  Zol::ZolResult_24_8 perform(const kyr::orla::appfw::CmdParameters&) override {
    answer_ = UndoRedoHelper::isUndoRedoCommand();
    return {};
  }

 private:
  bool& answer_;
};

TEST_F(UndoRedoHelperTest, TrueWhileTheHostRunsItsUndo) {
  bool answer = false;
  host.commandProcessor().registerCommand(
      "KYR.AppFramework", "UndoCommand",
      [&answer](const simhost::SimContextPtr& context, const kyr::orla::appfw::CmdIdentity& identity,
                const std::shared_ptr<simhost::SimRunningCommands>& running) -> ZolSmartPointer<simhost::SimCommand> {
        return simhost::makeSimObject<AskingCommand>(context, identity, running, answer);
      });
  CmdInvoker undo("UndoCommand", "KYR.AppFramework");
  ASSERT_TRUE(undo.invoke(DataBunch()).isOk());
  EXPECT_TRUE(answer);
  EXPECT_FALSE(UndoRedoHelper::isUndoRedoCommand()) << "the undo has ended";
}

}  // namespace
