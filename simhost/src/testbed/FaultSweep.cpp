#include "simhost/testbed/FaultSweep.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <typeinfo>
#include <utility>

#include "SweepChildren.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "simhost/testbed/ObjectAccounting.h"
#include "zol/kernel/ZolException.h"

#if defined(_WIN32)
#include "windows/SweepChildren.inc"
#else
#include "posix/SweepChildren.inc"
#endif

namespace simhost {

namespace {

using kyr::orla::appfw::ServiceCacheAppFrame;

constexpr const char* kInjected = "injected by the fault sweep";
constexpr const char* kProvider = "Zol.Framework.ZolIServiceProvider";

// Empties a slot of the host service cache; the returned action fills it
// again.
template <class Pointer>
std::function<void()> emptySlot(Pointer& slot) {
  Pointer saved = slot;
  slot = Pointer();
  return [&slot, saved] { slot = saved; };
}

struct CacheSlot {
  const char* name;
  std::function<void()> (*empty)();
};

const CacheSlot kCacheSlots[] = {
    {"frameworkAccess_", [] { return emptySlot(ServiceCacheAppFrame::frameworkAccess_); }},
    {"eventManager_", [] { return emptySlot(ServiceCacheAppFrame::eventManager_); }},
    {"commandProcessor_", [] { return emptySlot(ServiceCacheAppFrame::commandProcessor_); }},
    {"rootManager_", [] { return emptySlot(ServiceCacheAppFrame::rootManager_); }},
    {"entRefListFactory_", [] { return emptySlot(ServiceCacheAppFrame::entRefListFactory_); }},
    {"entRefFactory_", [] { return emptySlot(ServiceCacheAppFrame::entRefFactory_); }},
    {"entRefContainerFactory_", [] { return emptySlot(ServiceCacheAppFrame::entRefContainerFactory_); }},
    {"eomObjectFactory_", [] { return emptySlot(ServiceCacheAppFrame::eomObjectFactory_); }},
    {"PFW_", [] { return emptySlot(ServiceCacheAppFrame::PFW_); }},
    {"transactionBrokerFactory_", [] { return emptySlot(ServiceCacheAppFrame::transactionBrokerFactory_); }},
    {"typeRegistry_", [] { return emptySlot(ServiceCacheAppFrame::typeRegistry_); }},
    {"zolServiceAccess_", [] { return emptySlot(ServiceCacheAppFrame::zolServiceAccess_); }},
};

// What one run came to, as the child reports it.
struct Result {
  SweepOutcome outcome = SweepOutcome::Passed;
  std::string detail;
};

std::string joined(const std::vector<std::string>& texts, const char* separator) {
  std::string text;
  for (const std::string& part : texts) text += (text.empty() ? "" : separator) + part;
  return text;
}

std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\t') c = ' ';
  }
  return text;
}

// The folder of a sweep's reports, removed with whatever is left in it.
struct ScratchFolder {
  const std::filesystem::path path = sweep::makeScratchFolder();
  ScratchFolder() = default;
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

const char* toString(SweepFault fault) {
  switch (fault) {
    case SweepFault::None:
      return "none";
    case SweepFault::ErrorResult:
      return "error result";
    case SweepFault::KernelException:
      return "kernel exception";
    case SweepFault::ForeignException:
      return "foreign exception";
    case SweepFault::MissingService:
      return "missing";
    case SweepFault::ServiceLacksInterface:
      return "lacks its interface";
    case SweepFault::EmptyCacheSlot:
      return "empty";
  }
  return "?";
}

const char* toString(SweepMode mode) { return mode == SweepMode::EveryCall ? "every call" : "first call, then again"; }

const char* toString(SweepOutcome outcome) {
  switch (outcome) {
    case SweepOutcome::Passed:
      return "passed";
    case SweepOutcome::Crashed:
      return "CRASHED";
    case SweepOutcome::Hung:
      return "HUNG";
    case SweepOutcome::StrayException:
      return "STRAY EXCEPTION";
    case SweepOutcome::Leaked:
      return "LEAKED";
    case SweepOutcome::CheckFailed:
      return "CHECK FAILED";
  }
  return "?";
}

void SweepRun::check(bool condition, const std::string& what) {
  if (!condition) failed_.push_back("pass " + std::to_string(pass_) + ": " + what);
}

bool SweepExpectation::covers(const SweepRow& row) const {
  return row.scenario == scenario && row.target.find(target) != std::string::npos && (!fault || *fault == row.fault) &&
         (!mode || *mode == row.mode) && row.outcome == outcome;
}

std::vector<SweepRow> SweepReport::findings() const {
  std::vector<SweepRow> found;
  for (const SweepRow& row : rows) {
    if (row.outcome != SweepOutcome::Passed) found.push_back(row);
  }
  return found;
}

std::vector<SweepRow> SweepReport::unexpected() const {
  std::vector<SweepRow> left;
  for (const SweepRow& row : findings()) {
    if (row.documentedBy.empty()) left.push_back(row);
  }
  return left;
}

std::string SweepReport::table() const {
  std::ostringstream text;
  std::map<std::string, std::size_t> runs;
  for (const SweepRow& row : rows) ++runs[row.scenario];
  for (const SweepRow& row : findings()) {
    text << row.scenario << " | " << row.target << " | " << toString(row.fault) << " | " << toString(row.mode) << " | "
         << toString(row.outcome) << " | " << oneLine(row.detail);
    if (!row.documentedBy.empty()) text << " | expected: " << row.documentedBy;
    text << "\n";
  }
  text << rows.size() << " runs, " << findings().size() << " findings, " << unexpected().size() << " unexpected:";
  for (const auto& [scenario, count] : runs) text << " " << scenario << " " << count << ";";
  text << "\n";
  return text.str();
}

// One run to make: a fault at one target in one mode.
struct FaultSweep::Plan {
  const Named* scenario = nullptr;
  std::string target = "-";
  SweepFault fault = SweepFault::None;
  SweepMode mode = SweepMode::EveryCall;
  std::string interfaceName;  // an operation's
  std::string operation;
  std::string service;  // a service look-up's
  std::string version;
  int slot = -1;  // a cache slot's index in kCacheSlots
};

void FaultSweep::add(std::string name, Scenario body) { scenarios_.push_back({std::move(name), std::move(body)}); }

void FaultSweep::expect(SweepExpectation expectation) { expected_.push_back(std::move(expectation)); }

namespace {

// Arms the plan's fault on `host`; returns what fills an emptied slot again.
std::function<void()> arm(SimHost& host, SweepFault fault, SweepMode mode, const std::string& interfaceName,
                          const std::string& operation, const std::string& service, const std::string& version,
                          int slot) {
  const int nth = mode == SweepMode::EveryCall ? FaultPlan::kEveryCall : 1;
  const int times = mode == SweepMode::EveryCall ? FaultPlan::kAlways : 1;
  const CallPattern lookUp = CallPattern(kProvider, "getService").with(service, version);
  switch (fault) {
    case SweepFault::None:
      break;
    case SweepFault::ErrorResult:
      host.faults().inject(CallPattern(interfaceName, operation), Fault::errorResult(), nth);
      break;
    case SweepFault::KernelException:
      host.faults().inject(CallPattern(interfaceName, operation), Fault::systemException(kInjected), nth);
      break;
    case SweepFault::ForeignException:
      host.faults().inject(CallPattern(interfaceName, operation), Fault::foreignException(kInjected), nth);
      break;
    case SweepFault::MissingService:
      host.faults().answer(lookUp, Answer::failure(), times);
      break;
    case SweepFault::ServiceLacksInterface:
      host.faults().answer(lookUp, Answer::success().writing(makeSimObject<SimService>(host.context(), service)),
                           times);
      break;
    case SweepFault::EmptyCacheSlot:
      return kCacheSlots[slot].empty();
  }
  return {};
}

// One pass of the scenario.
Result runPass(const FaultSweep::Scenario& body, SimHost& host, int number, bool faulted) {
  SweepRun run(host, number, faulted);
  std::string passedThrough;
  try {
    body(run);
  } catch (const Zol::ZolException_24& e) {
    if (!faulted) return {SweepOutcome::StrayException, "a kernel exception in a pass without fault: " + e.getText()};
    passedThrough = "the kernel exception passed: " + e.getText();
  } catch (const std::exception& e) {
    if (!faulted || std::strcmp(e.what(), kInjected) != 0) {
      return {SweepOutcome::StrayException, std::string(typeid(e).name()) + ": " + e.what()};
    }
    passedThrough = "the injected exception passed";
  } catch (...) {
    return {SweepOutcome::StrayException, "an exception of unknown type"};
  }
  if (!run.failedChecks().empty()) return {SweepOutcome::CheckFailed, joined(run.failedChecks(), "; ")};
  return {SweepOutcome::Passed, passedThrough};
}

}  // namespace

std::vector<FaultSweep::Plan> FaultSweep::plansOf(const Named& scenario, std::vector<SweepRow>& rows) const {
  Plan learning;
  learning.scenario = &scenario;
  std::vector<Plan> plans{learning};
  runPlans(plans, rows);
  const SweepRow& clean = rows.back();
  plans.clear();
  if (clean.outcome != SweepOutcome::Passed) return plans;

  // The clean run's detail lists the calls it made, one per line:
  // "call <interface> <operation>" and "service <name> <version>".
  std::set<std::pair<std::string, std::string>> calls;
  std::set<std::pair<std::string, std::string>> services;
  std::istringstream lines(clean.detail);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string kind;
    std::string first;
    std::string second;
    words >> kind >> first;
    std::getline(words >> std::ws, second);
    if (kind == "call") calls.emplace(first, second);
    if (kind == "service") services.emplace(first, second);
  }
  rows.back().detail.clear();
  for (const SweepMode mode : {SweepMode::EveryCall, SweepMode::FirstCallOnly}) {
    for (const auto& [interfaceName, operation] : calls) {
      for (const SweepFault fault :
           {SweepFault::ErrorResult, SweepFault::KernelException, SweepFault::ForeignException}) {
        Plan plan;
        plan.scenario = &scenario;
        plan.target = interfaceName + "." + operation;
        plan.fault = fault;
        plan.mode = mode;
        plan.interfaceName = interfaceName;
        plan.operation = operation;
        plans.push_back(plan);
      }
    }
    for (const auto& [service, version] : services) {
      for (const SweepFault fault : {SweepFault::MissingService, SweepFault::ServiceLacksInterface}) {
        Plan plan;
        plan.scenario = &scenario;
        plan.target = "service " + service;
        plan.fault = fault;
        plan.mode = mode;
        plan.service = service;
        plan.version = version;
        plans.push_back(plan);
      }
    }
    for (int slot = 0; slot < static_cast<int>(std::size(kCacheSlots)); ++slot) {
      Plan plan;
      plan.scenario = &scenario;
      plan.target = std::string("slot ") + kCacheSlots[slot].name;
      plan.fault = SweepFault::EmptyCacheSlot;
      plan.mode = mode;
      plan.slot = slot;
      plans.push_back(plan);
    }
  }
  return plans;
}

std::string FaultSweep::identity() const {
  // The count and an FNV-1a hash of the names, each ended by a zero.
  std::uint64_t hash = 14695981039346656037u;
  for (const Named& scenario : scenarios_) {
    for (const char c : scenario.name + '\0') hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
  }
  std::ostringstream text;
  text << scenarios_.size() << " " << std::hex << hash;
  return text.str();
}

// A request reads, a line each: the sweep's identity, the report file, then
// the plan: its scenario's index, fault, mode, target, operation's interface
// and name, service's name and version, and slot.
void FaultSweep::serve(const std::string& request) const {
  std::istringstream lines(request);
  std::string line;
  const auto next = [&lines, &line]() -> const std::string& {
    std::getline(lines, line);
    return line;
  };
  if (next() != identity()) return;
  const std::filesystem::path file = std::filesystem::u8path(next());
  Plan plan;
  const std::size_t index = std::stoul(next());
  if (index >= scenarios_.size()) return;
  plan.scenario = &scenarios_[index];
  plan.fault = static_cast<SweepFault>(std::stoi(next()));
  plan.mode = static_cast<SweepMode>(std::stoi(next()));
  plan.target = next();
  plan.interfaceName = next();
  plan.operation = next();
  plan.service = next();
  plan.version = next();
  plan.slot = std::stoi(next());

  sweep::prepareChild(timeLimit_);
  const std::string leaksBefore = ObjectAccounting::leakReport();
  Result result;
  {
    SimHost host;
    std::function<void()> refill;
    try {
      if (setUp_) setUp_(host);
      host.journal().clear();
      refill =
          arm(host, plan.fault, plan.mode, plan.interfaceName, plan.operation, plan.service, plan.version, plan.slot);
      const bool faulted = plan.fault != SweepFault::None;
      result = runPass(plan.scenario->body, host, 1, faulted);
      if (plan.fault == SweepFault::None && result.outcome == SweepOutcome::Passed) {
        for (const HostCall& call : host.journal().calls()) {
          result.detail += "\ncall " + call.interfaceName + " " + call.operation;
          if (call.interfaceName == kProvider && call.operation == "getService" && call.arguments.size() == 2) {
            result.detail += "\nservice " + call.arguments[0] + " " + call.arguments[1];
          }
        }
      }
      host.faults().clear();
      if (refill) refill();
      refill = nullptr;
      if (plan.mode == SweepMode::FirstCallOnly && result.outcome == SweepOutcome::Passed) {
        Result again = runPass(plan.scenario->body, host, 2, false);
        if (again.outcome != SweepOutcome::Passed) result = again;
      }
    } catch (const std::exception& e) {
      result = {SweepOutcome::StrayException, std::string("setting up: ") + e.what()};
    }
    host.faults().clear();
    if (refill) refill();
    try {
      if (tearDown_) tearDown_(host);
    } catch (const std::exception& e) {
      if (result.outcome == SweepOutcome::Passed) {
        result = {SweepOutcome::StrayException, std::string("tearing down: ") + e.what()};
      }
    }
  }
  const std::string leaks = ObjectAccounting::leakReport();
  if (result.outcome == SweepOutcome::Passed && leaks != leaksBefore) result = {SweepOutcome::Leaked, leaks};
  std::ofstream(file) << static_cast<int>(result.outcome) << "\n" << result.detail;
  sweep::endChild(0);
}

void FaultSweep::runPlans(const std::vector<Plan>& plans, std::vector<SweepRow>& rows) const {
  const ScratchFolder folder;
  sweep::Children children(timeLimit_, [this](const std::string& request) { serve(request); });
  const std::size_t atOnce = std::min<std::size_t>(jobs_, sweep::Children::mostAtOnce());
  const std::string self = identity();
  const auto reportOf = [&folder](std::size_t run) { return folder.path / ("run-" + std::to_string(run)); };

  std::size_t next = 0;
  std::vector<SweepRow> done(plans.size());
  while (next < plans.size() || children.running() > 0) {
    while (children.running() < atOnce && next < plans.size()) {
      const Plan& plan = plans[next];
      std::ostringstream request;
      request << self << "\n"
              << reportOf(next).u8string() << "\n"
              << plan.scenario - scenarios_.data() << "\n"
              << static_cast<int>(plan.fault) << "\n"
              << static_cast<int>(plan.mode) << "\n"
              << plan.target << "\n"
              << plan.interfaceName << "\n"
              << plan.operation << "\n"
              << plan.service << "\n"
              << plan.version << "\n"
              << plan.slot << "\n";
      children.start(next, request.str());
      ++next;
    }
    const sweep::ChildEnd end = children.waitForOne();
    const Plan& plan = plans[end.run];
    SweepRow row{plan.scenario->name, plan.target, plan.fault, plan.mode, SweepOutcome::Passed, {}, {}};
    const std::filesystem::path file = reportOf(end.run);
    if (end.how == sweep::ChildEnd::How::OverTime) {
      row.outcome = SweepOutcome::Hung;
      row.detail = "over " + std::to_string(timeLimit_) + " s";
    } else if (end.how == sweep::ChildEnd::How::Crashed) {
      row.outcome = SweepOutcome::Crashed;
      row.detail = end.detail;
    } else {
      std::ifstream in(file);
      int outcome = -1;
      in >> outcome;
      in.ignore(1);
      row.detail.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      row.outcome = outcome >= 0 ? static_cast<SweepOutcome>(outcome) : SweepOutcome::Crashed;
      if (outcome < 0) row.detail = "the run ended with " + std::to_string(end.exitCode) + " and no report";
    }
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    for (const SweepExpectation& expectation : expected_) {
      if (row.outcome != SweepOutcome::Passed && expectation.covers(row)) row.documentedBy = expectation.documentedBy;
    }
    done[end.run] = std::move(row);
  }
  rows.insert(rows.end(), done.begin(), done.end());
}

SweepReport FaultSweep::run() const {
  // A program started again to serve one run (on Windows) serves it here and
  // ends; a sweep that did not start it, another test's, leaves it alone.
  if (const std::optional<std::string> request = sweep::requestOfThisProcess()) {
    serve(*request);
    return {};
  }
  SweepReport report;
  for (const Named& scenario : scenarios_) {
    const std::vector<Plan> plans = plansOf(scenario, report.rows);
    runPlans(plans, report.rows);
  }
  return report;
}

}  // namespace simhost
