// The fault sweep over scenarios of the test's own, each written to go wrong
// in one way under a fault: the sweep must find each, say what it was, and
// pass only when every finding is expected. The sweep forks on POSIX: these
// tests have no host of their own.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "simhost/testbed/FaultSweep.h"
#include "simhost/testbed/ObjectAccounting.h"

namespace {

using simhost::SweepFault;
using simhost::SweepMode;
using simhost::SweepOutcome;
using simhost::SweepRun;

// Looks a domain up, as plug-in code does.
std::int64_t lookUp(SweepRun& run, const char* name) {
  std::int64_t id = 0;
  Zol::Framework::ZolIEventManagerInterface& manager = run.host().eventManager();
  if (!manager.lookUpDomainId(name, id).isOk()) return -1;
  return id;
}

// The rows of `report` for `scenario` whose outcome is not Passed.
std::vector<simhost::SweepRow> findingsOf(const simhost::SweepReport& report, const std::string& scenario) {
  std::vector<simhost::SweepRow> found;
  for (const simhost::SweepRow& row : report.findings()) {
    if (row.scenario == scenario) found.push_back(row);
  }
  return found;
}

TEST(FaultSweep, LearnsTheCallsThenFaultsEachInBothModes) {
  simhost::FaultSweep sweep;
  sweep.setUp([](simhost::SimHost& host) { host.eventManager().defineDomain("Test.Known"); });
  sweep.add("robust", [](SweepRun& run) {
    const std::int64_t id = lookUp(run, "Test.Known");
    run.check(run.faulted() || id > 0, "the domain is found without a fault");
  });
  const simhost::SweepReport report = sweep.run();
  EXPECT_TRUE(report.passed()) << report.table();
  // The clean run, then one look-up faulted three ways and twelve cache
  // slots emptied, in each of two modes.
  ASSERT_EQ(report.rows.size(), 1u + 2 * (3 + 12)) << report.table();
  EXPECT_EQ(report.rows[0].fault, SweepFault::None);
  EXPECT_EQ(report.rows[1].target, "Zol.Framework.ZolIEventManager.lookUpDomainId");
  EXPECT_EQ(report.rows[1].fault, SweepFault::ErrorResult);
  EXPECT_EQ(report.rows.back().target, "slot zolServiceAccess_");
  EXPECT_EQ(report.rows.back().mode, SweepMode::FirstCallOnly);
  EXPECT_NE(report.table().find("31 runs, 0 findings, 0 unexpected: robust 31;"), std::string::npos) << report.table();
}

TEST(FaultSweep, FindsCrashesHangsStrayExceptionsLeaksAndFailedChecks) {
  static ZolSmartPointer<simhost::SimEventManager> kept;
  simhost::FaultSweep sweep;
  sweep.setTimeLimit(1);
  sweep.setUp([](simhost::SimHost& host) { host.eventManager().defineDomain("Test.Known"); });
  sweep.add("crash", [](SweepRun& run) {
    if (lookUp(run, "Test.Known") < 0) std::abort();
  });
  sweep.add("hang", [](SweepRun& run) {
    while (lookUp(run, "Test.Known") < 0) {
    }
  });
  sweep.add("stray", [](SweepRun& run) {
    if (lookUp(run, "Test.Known") < 0) throw std::logic_error("not handled");
  });
  sweep.add("leak", [](SweepRun& run) {
    if (lookUp(run, "Test.Known") < 0) kept = ZolSmartPointer<simhost::SimEventManager>(&run.host().eventManager());
  });
  sweep.add("no recovery", [](SweepRun& run) {
    static bool failedOnce = false;
    if (lookUp(run, "Test.Known") < 0) failedOnce = true;
    run.check(!failedOnce || run.faulted(), "a failed look-up is forgotten once the host answers again");
  });
  const simhost::SweepReport report = sweep.run();

  const auto only = [&report](const char* scenario, SweepOutcome outcome, const char* detail) {
    SCOPED_TRACE(scenario);
    const auto found = findingsOf(report, scenario);
    ASSERT_FALSE(found.empty()) << report.table();
    for (const simhost::SweepRow& row : found) {
      EXPECT_EQ(row.outcome, outcome) << row.target << " " << simhost::toString(row.fault);
      EXPECT_EQ(row.target, "Zol.Framework.ZolIEventManager.lookUpDomainId") << "only the look-up's faults matter";
      EXPECT_NE(row.detail.find(detail), std::string::npos) << row.detail;
    }
  };
  only("crash", SweepOutcome::Crashed, "Aborted");
  only("hang", SweepOutcome::Hung, "over 1 s");
  only("stray", SweepOutcome::StrayException, "not handled");
  only("leak", SweepOutcome::Leaked, "event manager (1)");
  only("no recovery", SweepOutcome::CheckFailed, "pass 2: a failed look-up is forgotten");
  for (const simhost::SweepRow& row : findingsOf(report, "no recovery")) {
    EXPECT_EQ(row.mode, SweepMode::FirstCallOnly) << "under a fault on every call, the check does not apply";
  }
  EXPECT_FALSE(report.passed());
  EXPECT_EQ(report.unexpected().size(), report.findings().size());
}

TEST(FaultSweep, EachOfTwoSweepsInOneTestRunsItsOwnScenarios) {
  // A child started anew runs the test up to its own sweep: the first sweep
  // must leave the second's runs alone.
  simhost::FaultSweep first;
  first.add("first", [](SweepRun& run) { run.check(false, "the first's check"); });
  simhost::FaultSweep second;
  second.add("second", [](SweepRun& run) { run.check(false, "the second's check"); });
  const simhost::SweepReport firstReport = first.run();
  const simhost::SweepReport secondReport = second.run();
  ASSERT_EQ(firstReport.rows.size(), 1u) << firstReport.table();
  EXPECT_EQ(firstReport.rows[0].detail, "pass 1: the first's check");
  ASSERT_EQ(secondReport.rows.size(), 1u) << secondReport.table();
  EXPECT_EQ(secondReport.rows[0].detail, "pass 1: the second's check");
}

TEST(FaultSweep, AnExpectedFindingNamesItsDocumentationAndPasses) {
  simhost::FaultSweep sweep;
  sweep.add("kernel exceptions pass", [](SweepRun& run) {
    std::int64_t id = 0;
    run.host().eventManager().createDomainId("Test.Made", id);
    if (id == 0) throw std::invalid_argument("no id");
  });
  sweep.expect({"kernel exceptions pass", "createDomainId", SweepFault::ErrorResult, std::nullopt,
                SweepOutcome::StrayException, "Test.h: a failed creation is a plug-in's exception."});
  const simhost::SweepReport report = sweep.run();
  EXPECT_TRUE(report.passed()) << report.table();
  const auto found = report.findings();
  ASSERT_EQ(found.size(), 2u) << "an error result, in each mode; the kernel's exceptions pass\n" << report.table();
  EXPECT_EQ(found[0].documentedBy, "Test.h: a failed creation is a plug-in's exception.");
  EXPECT_NE(report.table().find("| expected: Test.h: a failed creation"), std::string::npos) << report.table();
  EXPECT_EQ(simhost::ObjectAccounting::leakReport(), "") << "the parent made no host";
}

}  // namespace
