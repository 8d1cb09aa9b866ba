/// \file
/// The fault sweep: runs a scenario of plug-in code once on a clean host to
/// learn which host operations and service look-ups it makes, then again
/// with a fault at each of them, each run in a fresh child process, and says
/// what went wrong: a crash, a hang, an exception the plug-in let through
/// that is neither the host kernel's nor the injected one, a leak, or the
/// scenario's own check failing.
///
/// \code
///   simhost::FaultSweep sweep;
///   sweep.setUp([](simhost::SimHost& host) { ServiceHelper::setZolServiceAccess(host.serviceAccess()); });
///   sweep.tearDown([](simhost::SimHost&) { ServiceHelper::releaseServices(); });
///   sweep.add("ScopeWait", [](simhost::SweepRun& run) {
///     const int before = run.host().waitCursor().depth();
///     { ScopeWait wait(true, false); }
///     run.check(run.host().waitCursor().depth() == before, "the wait cursor is back where it was");
///   });
///   sweep.expect({"ScopeWait", "", std::nullopt, std::nullopt, simhost::SweepOutcome::CheckFailed,
///                 "Utilities/commands/ScopeWait.h: A guard whose constructor threw undoes nothing."});
///   const simhost::SweepReport report = sweep.run();
///   EXPECT_TRUE(report.passed()) << report.table();
/// \endcode
///
/// Each (operation, fault) and each (service, fault) is run in two modes:
/// the fault on every call of one pass; and the fault on the first call
/// only, followed by a second pass of the same scenario on the same host
/// with no fault, in which the scenario must do everything right again (does
/// the plug-in recover?). Each slot of the host service cache is run empty
/// for a pass, and in the second mode filled again for the second pass.
///
/// A missing service is a look-up of its name and version (the service
/// provider's getService) that fails, writing nothing; the service stays
/// registered. In the first mode every such look-up of the pass fails; in
/// the second only the first does, so a plug-in that looks the service up
/// again in the same pass finds it, as it does in the second pass. A
/// service that lacks its interface is handed out in the same way.
///
/// The clean run comes first, and only a scenario whose clean run passes is
/// swept: when it does not (a check, a stray exception, a leak, a crash),
/// the scenario's rows end with that one finding, since a faulted run could
/// not be told from what fails anyway. Make the clean run pass, then sweep.
///
/// How a run reaches its child: on POSIX the sweep forks, and the child runs
/// the scenario it inherited; fork needs a process with one thread, so run a
/// sweep from a test that has no host of its own. Windows has no fork: the
/// sweep starts the same program again, with the same command line and the
/// run described in the environment variable SIMHOST_SWEEP_RUN, and the
/// child's run() serves that run instead of sweeping, then ends (the child
/// runs the test program up to that call, as a death test's child does, and
/// its output is discarded). A sweep whose scenarios' names differ from the
/// one that started the child (another test's, run earlier in the same
/// program) returns an empty report there and leaves the run alone. The
/// children end at once (_exit, or TerminateProcess on Windows), so a
/// child's coverage counters, the process's exit handlers and the rest of
/// the test program do not run there. The time limit counts from the start
/// of the run in the child, not from the start of the process.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "simhost/SimHost.h"
#include "simhost/SimHostExport.h"

namespace simhost {

/// \addtogroup simhost_testbed
/// @{

/// What the sweep does to a host call or a service.
enum class SweepFault {
  None,                   ///< the clean run that learns the scenario's calls
  ErrorResult,            ///< the operation returns 2147483647 and does nothing
  KernelException,        ///< the operation throws a Zol::ZolSystemException_24
  ForeignException,       ///< the operation throws a std::runtime_error
  MissingService,         ///< the service's look-up fails (see FaultSweep.h)
  ServiceLacksInterface,  ///< the look-up finds a service that offers no interface of its own
  EmptyCacheSlot,         ///< a slot of the host service cache is empty
};

/// How long the fault lasts.
enum class SweepMode {
  EveryCall,      ///< on every call of one pass
  FirstCallOnly,  ///< on the first call, then a second pass without faults
};

/// What a run came to.
enum class SweepOutcome {
  Passed,          ///< nothing wrong
  Crashed,         ///< the child died of a signal, an exception or abort()
  Hung,            ///< the child passed the time limit
  StrayException,  ///< an exception other than the kernel's or the injected one; any in a clean pass
  Leaked,          ///< simulated objects outlived the host
  CheckFailed,     ///< the scenario's own check failed
};

/// The name of a fault, a mode or an outcome, as the table prints it.
SIMHOST_EXPORT const char* toString(SweepFault fault);
/// \copydoc toString(SweepFault)
SIMHOST_EXPORT const char* toString(SweepMode mode);
/// \copydoc toString(SweepFault)
SIMHOST_EXPORT const char* toString(SweepOutcome outcome);

/// A scenario's view of the run it is in.
///
/// \par Threads and exceptions
/// Used on the thread that runs the scenario, in the sweep's child process.
/// check() throws nothing but std::bad_alloc.
class SIMHOST_EXPORT SweepRun {
 public:
  /// The run on `host`, pass `pass` (1 or 2), with a fault armed or not.
  SweepRun(SimHost& host, int pass, bool faulted) : host_(host), pass_(pass), faulted_(faulted) {}

  /// The host of this run.
  SimHost& host() noexcept { return host_; }
  /// 1, or 2 for the pass after a first-call fault.
  int pass() const noexcept { return pass_; }
  /// True while a fault is armed, the service cache slot emptied or a
  /// service missing: a scenario checks there only what must hold under
  /// any fault.
  bool faulted() const noexcept { return faulted_; }
  /// Records a failed check (`what` says what should have held) when
  /// `condition` is false. The run goes on.
  void check(bool condition, const std::string& what);
  /// The checks that failed, in order.
  const std::vector<std::string>& failedChecks() const noexcept { return failed_; }

 private:
  SimHost& host_;
  int pass_;
  bool faulted_;
  std::vector<std::string> failed_;
};

/// One run of the sweep, a row of its table.
///
/// \par Threads and exceptions
/// A plain value: any thread may read it while no thread changes it. Copying
/// it throws only std::bad_alloc.
struct SIMHOST_EXPORT SweepRow {
  std::string scenario;  ///< the scenario's name
  /// "Interface.operation", "service <name>", "slot <member>", or "-" for the clean run.
  std::string target;
  SweepFault fault = SweepFault::None;          ///< what was done to the target
  SweepMode mode = SweepMode::EveryCall;        ///< how long it lasted
  SweepOutcome outcome = SweepOutcome::Passed;  ///< what the run came to
  /// The signal, the exception's text, the leak report or the failed
  /// checks; what the kernel exception that passed to the scenario said.
  std::string detail;
  /// The header comment that documents a finding as the library's
  /// behaviour; empty for a finding no expectation covers.
  std::string documentedBy;
};

/// A finding the library documents as its behaviour. Empty or unset parts
/// match every row.
///
/// \par Threads and exceptions
/// A plain value: any thread may read it while no thread changes it. Copying
/// it throws only std::bad_alloc.
struct SIMHOST_EXPORT SweepExpectation {
  std::string scenario;                         ///< the scenario's name, exactly
  std::string target;                           ///< a part of the row's target
  std::optional<SweepFault> fault;              ///< the fault
  std::optional<SweepMode> mode;                ///< the mode
  SweepOutcome outcome = SweepOutcome::Passed;  ///< the outcome
  /// "<header path>: <words of its comment>", the comment that says so.
  std::string documentedBy;

  /// True when `row` is of this expectation.
  bool covers(const SweepRow& row) const;
};

/// What a sweep found.
///
/// \par Threads and exceptions
/// A plain value: any thread may read it while no thread changes it. Copying
/// it throws only std::bad_alloc.
struct SIMHOST_EXPORT SweepReport {
  /// Every run, in order: each scenario's clean run first, and nothing
  /// else of a scenario whose clean run did not pass.
  std::vector<SweepRow> rows;

  /// The runs whose outcome is not Passed.
  std::vector<SweepRow> findings() const;
  /// The findings no expectation covers.
  std::vector<SweepRow> unexpected() const;
  /// True when every finding is expected.
  bool passed() const { return unexpected().empty(); }
  /// The findings as a table, one per line: scenario, target, fault, mode,
  /// outcome, detail, and the documenting comment of an expected one; then
  /// the number of runs per scenario.
  std::string table() const;
};

/// Runs scenarios under faults (see FaultSweep.h).
///
/// \par Threads and exceptions
/// One thread at a time, in a process with that one thread (fork needs it
/// on POSIX). run() throws std::runtime_error when it cannot make its scratch
/// folder (in the system's temporary folder) or start a child; what a
/// scenario throws is a finding, not an exception of run().
class SIMHOST_EXPORT FaultSweep {
 public:
  /// What a scenario does and checks.
  using Scenario = std::function<void(SweepRun&)>;
  /// What runs on the host before or after every pass.
  using HostStep = std::function<void(SimHost&)>;

  /// Runs `step` on each run's host before the scenario's first pass (the
  /// plug-in's start-up), in the child.
  void setUp(HostStep step) { setUp_ = std::move(step); }
  /// Runs `step` after the scenario's last pass, before the host goes (the
  /// plug-in's shut-down: the leak check follows). Runs whatever happened.
  void tearDown(HostStep step) { tearDown_ = std::move(step); }
  /// Adds a scenario. The body may run twice on one host (the first-call
  /// mode), so it sets up what it needs so that a second run finds it.
  void add(std::string name, Scenario body);
  /// Declares a finding expected.
  void expect(SweepExpectation expectation);
  /// The longest a run may take before it counts as hung; 10 s by default.
  void setTimeLimit(unsigned seconds) { timeLimit_ = seconds; }
  /// How many children run at once; 2 by default.
  void setJobs(unsigned jobs) { jobs_ = jobs == 0 ? 1 : jobs; }

  /// Sweeps every scenario added; see FaultSweep.h.
  SweepReport run() const;

 private:
  struct Named {
    std::string name;
    Scenario body;
  };
  struct Plan;
  std::vector<Plan> plansOf(const Named& scenario, std::vector<SweepRow>& rows) const;
  void runPlans(const std::vector<Plan>& plans, std::vector<SweepRow>& rows) const;
  // What tells this sweep from another in a child: its scenarios' names.
  std::string identity() const;
  // In a child: runs the run `request` describes, writes its report and ends
  // the process; returns when the request is not of this sweep.
  void serve(const std::string& request) const;

  HostStep setUp_;
  HostStep tearDown_;
  std::vector<Named> scenarios_;
  std::vector<SweepExpectation> expected_;
  unsigned timeLimit_ = 10;
  unsigned jobs_ = 2;
};

/// @}

}  // namespace simhost
