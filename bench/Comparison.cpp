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
  table.push_back(Comparison{name, nullptr, {}, {}});
  return table.back();
}

void registerAt(const std::string& name, BenchmarkFunction function, const std::vector<long>& sizes) {
  benchmark::internal::Benchmark* benchmark = benchmark::RegisterBenchmark(name.c_str(), function);
  for (long size : sizes) benchmark->Arg(size);
}

}  // namespace

Cost::Cost(const char* name, BenchmarkFunction function, std::vector<long> sizes) {
  Comparison& comparison = comparisonOf(name);
  comparison.function = function;
  comparison.sizes = std::move(sizes);
}

Reference::Reference(const char* cost, const char* suffix, BenchmarkFunction function, std::optional<Aim> aim) {
  comparisonOf(cost).references.push_back(Comparison::Against{std::string(cost) + "_" + suffix, function, aim});
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
      throw std::logic_error("benchmark references of undeclared cost " + comparison.name);
    }
    registerAt(comparison.name, comparison.function, comparison.sizes);
    for (const Comparison::Against& reference : comparison.references) {
      registerAt(reference.name, reference.function, comparison.sizes);
    }
  }
}

}  // namespace bench
