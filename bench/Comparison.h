// What the benchmarks compare: each measured cost, the sizes it runs at, and
// the references it is set beside (its floor, a peer library), each with the
// ratio it aims for. Declarations sit next to the benchmarks:
//
//   const bench::Cost kRoundTrip("BM_BunchRoundTrip", bench::measure<BunchRoundTrip>, {1, 20, 256});
//   const bench::Reference kFloor("BM_BunchRoundTrip", "Floor", bench::measure<BunchByteRoundTrip>,
//                                 bench::Aim{1.5, 20});
//
// registerComparisons() hands them to Google Benchmark as BM_X/<size> and
// BM_X_<suffix>/<size>; RoundRunner runs them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace bench {

using BenchmarkFunction = void (*)(benchmark::State&);

/// The cost per entry is at most `maxRatio` times the reference's, at sizes
/// of `fromEntries` entries and more.
struct Aim {
  double maxRatio;
  long fromEntries = 0;
};

/// Declares the measured cost `name`, run at each of `sizes` entries.
struct Cost {
  Cost(const char* name, BenchmarkFunction function, std::vector<long> sizes);
};

/// Declares a reference of cost `cost`, run at the cost's sizes as
/// `cost`_`suffix`, with the aim for cost / reference when there is one.
struct Reference {
  Reference(const char* cost, const char* suffix, BenchmarkFunction function, std::optional<Aim> aim = std::nullopt);
};

/// One declared cost with its references.
struct Comparison {
  /// A reference and the aim for the cost against it.
  struct Against {
    std::string name;
    BenchmarkFunction function = nullptr;
    std::optional<Aim> aim;
  };

  std::string name;
  BenchmarkFunction function = nullptr;
  std::vector<long> sizes;
  std::vector<Against> references;
};

/// Every declared comparison; after registerComparisons() in name order,
/// each one's references too.
const std::vector<Comparison>& comparisons();

/// Puts the declarations in name order and registers every cost and
/// reference with Google Benchmark, each at its cost's sizes. Throws
/// std::logic_error for a reference whose cost was never declared.
void registerComparisons();

/// A benchmark body for a workload: `Workload(entries)` built once outside
/// the timing, its verify() checked, then run() timed. Reports the size as
/// the "entries" counter.
template <class Workload>
void measure(benchmark::State& state) {
  const long entries = static_cast<long>(state.range(0));
  Workload workload(entries);
  if (!workload.verify()) {
    state.SkipWithError("the workload's result does not match its input");
    return;
  }
  for (auto _ : state) workload.run();
  state.counters["entries"] = static_cast<double>(entries);
}

}  // namespace bench
