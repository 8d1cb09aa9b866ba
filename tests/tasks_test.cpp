// Work-thread tasks on the simulated host: the task invoker, and the tasks
// handed to the host's work thread with or without the wait cursor. Tests that
// involve the host's work thread carry "Concurrent" in their names and also
// run under ThreadSanitizer.
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

#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "WyrdanPluginUtilities/commands/TaskHelper.h"
#include "WyrdanPluginUtilities/commands/TaskInvoker.h"
#include "support/DataBunchChecks.h"
#include "support/PluginTest.h"
#include "zol/kernel/ZolException.h"

namespace {

using kyr::orla::appfw::ZolIInvokerInterface;
using kyr::orla::plugin::wyrdan::DataBunch;
using kyr::orla::plugin::wyrdan::TaskHelper;
using kyr::orla::plugin::wyrdan::TaskInvoker;
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

// Threads released together each invoke one invoker, then release it.
TEST_F(TaskInvokerTest, ConcurrentInvokesRunTheFunctionOnceAndReleasesDestroyItOnce) {
  constexpr int kThreads = 4;
  std::atomic<int> destroyed{0};
  for (int round = 0; round < 200; ++round) {
    std::atomic<int> runs{0};
    std::atomic<int> succeeded{0};
    std::vector<InvokerPtr> held(kThreads, InvokerPtr(new CountedInvoker([&runs] { runs.fetch_add(1); }, destroyed)));
    runTogether(kThreads, [&](int i) {
      InvokerPtr& mine = held[static_cast<std::size_t>(i)];
      if (mine->invoke().isOk()) succeeded.fetch_add(1);
      mine.reset();
    });
    ASSERT_EQ(runs.load(), 1) << "round " << round;
    ASSERT_EQ(succeeded.load(), 1) << "round " << round;
    ASSERT_EQ(destroyed.load(), round + 1) << "round " << round;
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
  EXPECT_TRUE(runs[0].showWait);
  EXPECT_EQ(runs[0].resultCode, 0);
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
  EXPECT_EQ(testing_support::keysOf(payload), (std::vector<std::string>{"invoker", "method", "showWait"}));
  Zol::ZolAny_24_8 value;
  InvokerPtr invoker;
  ASSERT_TRUE(payload.queryData("invoker", value) && Zol::extractZolAny(value, invoker));
  std::string method;
  EXPECT_TRUE(payload.queryData("method", value) && Zol::extractZolAny(value, method));
  EXPECT_EQ(method, "ExecteSyncOnWorkThread");
  bool showWait = false;
  EXPECT_TRUE(payload.queryData("showWait", value) && Zol::extractZolAny(value, showWait) && showWait);

  EXPECT_EQ(token.use_count(), 2) << "the host's references keep the invoker alive";
  EXPECT_TRUE(invoker->invoke().isOk());
  EXPECT_EQ(runs, 1);
  kept = Zol::ZolAny_24_8();
  invoker.reset();
  EXPECT_EQ(token.use_count(), 1) << "gone with the host's last reference";
}

}  // namespace
