#include "Comparison.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace bench {

namespace {

std::vector<Comparison>& declared() {
  static std::vector<Comparison> table;
  return table;
}

// The comparison of cost `name`, added empty on first mention: costs and
// references may be declared in any order across files.
Comparison& comparisonOf(const std::string& name) {
  auto& table = declared();
  auto it = std::find_if(table.begin(), table.end(), [&](const Comparison& c) { return c.name == name; });
  if (it != table.end()) return *it;
  table.push_back(Comparison{name, nullptr, {}, Clock::Cpu, std::nullopt, {}, {}});
  return table.back();
}

void registerAt(const std::string& name, BenchmarkFunction function, const std::vector<long>& sizes, Clock clock) {
  benchmark::internal::Benchmark* benchmark = benchmark::RegisterBenchmark(name.c_str(), function);
  for (long size : sizes) benchmark->Arg(size);
  // Also what Google Benchmark sizes its iteration counts by: the measuring
  // thread's CPU time would stay near zero while other threads work.
  if (clock == Clock::Wall) benchmark->UseRealTime();
}

}  // namespace

Cost::Cost(const char* name, BenchmarkFunction function, std::vector<long> sizes, Clock clock) {
  Comparison& comparison = comparisonOf(name);
  comparison.function = function;
  comparison.sizes = std::move(sizes);
  comparison.clock = clock;
}

Reference::Reference(const char* cost, const char* suffix, BenchmarkFunction function, std::optional<Aim> aim)
    : Reference(cost, suffix, function, aim ? std::vector<Aim>{*aim} : std::vector<Aim>{}) {}

Reference::Reference(const char* cost, const char* suffix, BenchmarkFunction function, std::vector<Aim> aims) {
  comparisonOf(cost).references.push_back(
      Comparison::Against{std::string(cost) + "_" + suffix, function, std::move(aims)});
}

AllocationLimit::AllocationLimit(const char* cost, double maxPerEntry) {
  comparisonOf(cost).maxAllocationsPerEntry = maxPerEntry;
}

ScalingLimit::ScalingLimit(const char* cost, long smallerSize, long largerSize, double maxRatio) {
  comparisonOf(cost).scalingLimits.push_back(Comparison::Scaling{smallerSize, largerSize, maxRatio});
}

std::optional<Aim> Comparison::Against::aimAt(long size) const {
  std::optional<Aim> applies;
  for (const Aim& aim : aims) {
    if (aim.fromEntries <= size && (!applies || aim.fromEntries > applies->fromEntries)) applies = aim;
  }
  return applies;
}

const std::vector<Comparison>& comparisons() { return declared(); }

void registerComparisons() {
  // Name order: static initialisation order across files is unspecified.
  auto& table = declared();
  const auto byName = [](const auto& a, const auto& b) { return a.name < b.name; };
  std::sort(table.begin(), table.end(), byName);
  for (Comparison& comparison : table) std::sort(comparison.references.begin(), comparison.references.end(), byName);
  for (const Comparison& comparison : table) {
    if (comparison.function == nullptr) {
      throw std::logic_error("benchmark references or limits of undeclared cost " + comparison.name);
    }
    const auto runsAt = [&](long size) {
      return std::find(comparison.sizes.begin(), comparison.sizes.end(), size) != comparison.sizes.end();
    };
    for (const Comparison::Scaling& scaling : comparison.scalingLimits) {
      if (!runsAt(scaling.smallerSize) || !runsAt(scaling.largerSize)) {
        throw std::logic_error("scaling limit of " + comparison.name + " at a size it does not run at");
      }
    }
    registerAt(comparison.name, comparison.function, comparison.sizes, comparison.clock);
    for (const Comparison::Against& reference : comparison.references) {
      registerAt(reference.name, reference.function, comparison.sizes, comparison.clock);
    }
  }
}

}  // namespace bench
