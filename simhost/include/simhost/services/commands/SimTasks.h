/// \file
/// The host side of the plug-in's work-thread tasks: the wait cursor and the
/// handler of the GUI action "KYR.WyrdanPlugin.TaskInvoker".
///
/// The wait cursor is a depth. Event 20 of the host domain
/// "kyr.orla.appfw.CmdProcessor" pushes it and event 21 pops it (the cursor
/// listens to that domain); the GUI executive pushes and pops it itself while
/// it makes the user wait for a task. It shows while the depth is above 0.
///
/// The task runner decodes the action's payload: "invoker" (a
/// kyr.orla.appfw.ZolIInvoker), "method" (a narrow string; the one operation
/// it knows is "ExecteSyncOnWorkThread", which calls invoke()) and "showWait"
/// (a boolean; false when absent). It honours "showWait" as a modal wait:
/// - with it, the GUI executive shows the wait cursor, has the work thread
///   invoke, and waits until that has returned before it takes the cursor
///   away and answers: the plug-in's call returns after the function has run;
/// - without it, the invoke is queued on the work thread and the call answers
///   at once.
///
/// A request made on the work thread itself runs in place, under the cursor
/// when asked: waiting for its own queue would never end. A request that
/// does not decode (not a parameter list, a key missing, a value of another
/// type), has an empty invoker or names another method runs nothing: it is
/// recorded as refused and as a host failure.
///
/// \code
///   TaskHelper::execteSyncOnWorkThread([&] { depth = host.waitCursor().depth(); }, true);
///   EXPECT_EQ(host.taskRunner().runs().back().thread, host.workThread().id());
/// \endcode
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "kyr/appfw/ZolIInvoker.h"
#include "simhost/services/gui/SimGuiExecutive.h"
#include "simhost/testbed/HostFailures.h"
#include "simhost/testbed/SimObject.h"
#include "zol/framework/ZolIEventManager.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// The host's wait cursor. A pop at depth 0 changes nothing and
/// is counted (extraPops()). Its handleEvent is the host's own, not journaled.
///
/// \par Threads and exceptions
/// Thread-safe. Its members throw nothing but std::bad_alloc: handleEvent is
/// the host's own, and no fault is armed for it.
class SIMHOST_EXPORT SimWaitCursor final : public SimObject<Zol::Framework::ZolIEventListenerInterface> {
 public:
  /// The host domain whose events move the cursor.
  static constexpr const char* kDomain = "kyr.orla.appfw.CmdProcessor";
  /// The event that pushes the cursor.
  static constexpr std::int32_t kPushEvent = 20;
  /// The event that pops the cursor.
  static constexpr std::int32_t kPopEvent = 21;

  using SimObject::SimObject;

  /// One level deeper.
  void push();
  /// One level up; at depth 0 it only counts an extra pop.
  void pop();
  /// The depth now; 0 at first.
  int depth() const;
  /// True while the depth is above 0.
  bool showing() const { return depth() > 0; }
  /// The depth after each push and pop, oldest first.
  std::vector<int> history() const;
  /// How many pops came at depth 0.
  int extraPops() const;

  /// Pushes for event 20, pops for event 21; other events are not handled.
  Zol::Framework::HandleEventStatus handleEvent(const Zol::Framework::ZolEvent& event) override;

 private:
  mutable std::mutex mutex_;
  int depth_ = 0;
  int extraPops_ = 0;
  std::vector<int> history_;
};

/// Handles "KYR.WyrdanPlugin.TaskInvoker" (see SimTasks.h).
///
/// \par Threads and exceptions
/// Thread-safe. handle() passes on the exception of an invoke run in place
/// (one on the work thread is the work thread's failure); its other members
/// throw nothing but std::bad_alloc.
class SIMHOST_EXPORT SimTaskRunner {
 public:
  /// The GUI action the runner handles.
  static constexpr const char* kAction = "KYR.WyrdanPlugin.TaskInvoker";
  /// The one method the runner knows.
  static constexpr const char* kInvokeMethod = "ExecteSyncOnWorkThread";

  /// One invoke the runner made.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct Run {
    std::string invokerName;  ///< the invoker's service name
    /// The request's "showWait".
    bool showWait = false;
    bool inPlace = false;    ///< asked on the work thread and run there at once
    std::thread::id thread;  ///< where invoke() ran
    int cursorDepth = 0;     ///< the wait cursor's depth while it ran
    /// The code invoke() returned.
    std::int32_t resultCode = 0;
  };
  /// One request that ran nothing.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct Refusal {
    /// The method named; empty when none was.
    std::string method;
    /// Whether the payload carried an invoker.
    bool hadInvoker = false;
  };

  /// A runner posting to `workThread` and recording its refusals in
  /// `failures` (both must outlive it), showing `cursor`, which must not be
  /// empty.
  SimTaskRunner(SimWorkThread& workThread, ZolSmartPointer<SimWaitCursor> cursor, HostFailures& failures);
  /// Not copyable: it is the GUI action's one handler.
  SimTaskRunner(const SimTaskRunner&) = delete;
  /// Not assignable, for the same reason.
  SimTaskRunner& operator=(const SimTaskRunner&) = delete;

  /// The GUI action's handler; answers nothing. An invoke that throws in
  /// place passes its exception on, one on the work thread is the work
  /// thread's failure.
  Zol::ZolAny_24_8 handle(const Zol::ZolAny_24_8& payload);

  /// Invokes that have returned, in the order they returned.
  std::vector<Run> runs() const;
  /// The requests that ran nothing, oldest first.
  std::vector<Refusal> refusals() const;

 private:
  void invoke(const ZolSmartPointer<kyr::orla::appfw::ZolIInvokerInterface>& invoker, bool showWait, bool inPlace);

  SimWorkThread& workThread_;
  const ZolSmartPointer<SimWaitCursor> cursor_;
  HostFailures& failures_;
  mutable std::mutex mutex_;
  std::vector<Run> runs_;
  std::vector<Refusal> refusals_;
};

/// @}

}  // namespace simhost
