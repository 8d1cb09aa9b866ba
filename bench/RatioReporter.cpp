#include "RatioReporter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

constexpr std::string_view kFloorSuffix = "_Floor";

std::map<std::string, double>& targets() {
  static std::map<std::string, double> table;
  return table;
}

bool isFloor(const std::string& name) {
  return name.size() > kFloorSuffix.size() && name.compare(name.size() - kFloorSuffix.size(), std::string::npos,
                                                           kFloorSuffix) == 0;
}

}  // namespace

RatioTarget::RatioTarget(const char* benchmark, double maxRatio) { targets()[benchmark] = maxRatio; }

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    const bool usable = run.run_type == Run::RT_Iteration ? run.repetitions <= 1 : run.aggregate_name == "median";
    if (!usable || run.error_occurred) continue;
    std::string name = run.run_name.function_name;
    const bool floor = isFloor(name);
    if (floor) name.resize(name.size() - kFloorSuffix.size());
    auto entries = run.counters.find("entries");
    const double count = entries == run.counters.end() ? 1.0 : static_cast<double>(entries->second);
    if (costs_.find(name) == costs_.end()) order_.push_back(name);
    Cost& cost = floor ? costs_[name][run.run_name.args].second : costs_[name][run.run_name.args].first;
    cost.perEntry = run.GetAdjustedCPUTime() / count;
    cost.measured = true;
  }
}

void RatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  std::printf("\n%-28s %8s %14s %14s %8s %8s\n", "cost beside floor", "args", "ns per entry", "floor ns", "ratio",
              "aim");
  for (const std::string& name : order_) {
    const auto target = targets().find(name);
    double smallest = 0;
    double largest = 0;
    std::string smallestArgs;
    std::string largestArgs;
    for (const auto& [args, pair] : costs_[name]) {
      const auto& [cost, floor] = pair;
      if (!cost.measured || !floor.measured) continue;
      const double ratio = cost.perEntry / floor.perEntry;
      std::printf("%-28s %8s %14.2f %14.2f %8.2f %8s\n", name.c_str(), args.empty() ? "-" : args.c_str(),
                  cost.perEntry, floor.perEntry, ratio,
                  target == targets().end() ? "" : ("<= " + std::to_string(target->second).substr(0, 3)).c_str());
      const long size = std::atol(args.c_str());
      if (smallestArgs.empty() || size < std::atol(smallestArgs.c_str())) {
        smallestArgs = args;
        smallest = cost.perEntry;
      }
      if (largestArgs.empty() || size > std::atol(largestArgs.c_str())) {
        largestArgs = args;
        largest = cost.perEntry;
      }
    }
    if (!smallestArgs.empty() && smallestArgs != largestArgs) {
      std::printf("%-28s per-entry cost at %s over %s: %.2f\n", name.c_str(), largestArgs.c_str(),
                  smallestArgs.c_str(), largest / smallest);
    }
  }
}

}  // namespace bench
