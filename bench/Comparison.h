// What the benchmarks compare: each measured cost, the sizes it runs at, and
// the references it is set beside (its floor, a peer library), each with the
// ratio it aims for, and the most heap allocations per entry a cost may make.
// Declarations sit next to the benchmarks:
//
//   const bench::Cost kRoundTrip("BM_BunchRoundTrip", bench::measure<BunchRoundTrip>, {1, 20, 256});
//   const bench::Reference kFloor("BM_BunchRoundTrip", "Floor", bench::measure<BunchByteRoundTrip>,
//                                 bench::Aim{1.5, 20});
//   const bench::AllocationLimit kNone("BM_HandleEvent", 0);
//   const bench::ScalingLimit kFlat("BM_UpdateNodes", 100, 10000, 1.5);
//
// registerComparisons() hands them to Google Benchmark as BM_X/<size> and
// BM_X_<suffix>/<size>; RoundRunner runs them.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "AllocationCounter.h"

namespace bench {

using BenchmarkFunction = void (*)(benchmark::State&);

/// The cost per entry is at most `maxRatio` times the reference's, at sizes
/// of `fromEntries` entries and more.
struct Aim {
  double maxRatio;
  long fromEntries = 0;
};

/// What a comparison's time per entry is: the measuring thread's CPU time,
/// or the wall-clock time, for workloads that run on threads of their own.
enum class Clock { Cpu, Wall };

/// Declares the measured cost `name`, run at each of `sizes` entries, it and
/// its references timed by `clock`.
struct Cost {
  Cost(const char* name, BenchmarkFunction function, std::vector<long> sizes, Clock clock = Clock::Cpu);
};

/// Declares a reference of cost `cost`, run at the cost's sizes as
/// `cost`_`suffix`, with the aim for cost / reference when there is one.
struct Reference {
  Reference(const char* cost, const char* suffix, BenchmarkFunction function, std::optional<Aim> aim = std::nullopt);
  /// With an aim per range of sizes: at each size the aim with the largest
  /// fromEntries not above it applies.
  Reference(const char* cost, const char* suffix, BenchmarkFunction function, std::vector<Aim> aims);
};

/// Declares that cost `cost` makes at most `maxPerEntry` heap allocations
/// per entry once warm, in every round.
struct AllocationLimit {
  AllocationLimit(const char* cost, double maxPerEntry);
};

/// Declares that cost `cost`'s time per entry at `largerSize` entries is at
/// most `maxRatio` times its time per entry at `smallerSize`, each round's
/// two runs compared: a cost meant to be linear stays flat. Both sizes must
/// be among the cost's.
struct ScalingLimit {
  ScalingLimit(const char* cost, long smallerSize, long largerSize, double maxRatio);
};

/// One declared cost with its references.
struct Comparison {
  /// A reference and the aims for the cost against it.
  struct Against {
    std::string name;
    BenchmarkFunction function = nullptr;
    std::vector<Aim> aims;

    /// The aim that applies at `size` entries; none below every aim's fromEntries.
    std::optional<Aim> aimAt(long size) const;
  };

  /// The most the time per entry may grow from one size to a larger one.
  struct Scaling {
    long smallerSize;
    long largerSize;
    double maxRatio;
  };

  std::string name;
  BenchmarkFunction function = nullptr;
  std::vector<long> sizes;
  Clock clock = Clock::Cpu;
  std::optional<double> maxAllocationsPerEntry;
  std::vector<Against> references;
  std::vector<Scaling> scalingLimits;
};

/// Every declared comparison; after registerComparisons() in name order,
/// each one's references too.
const std::vector<Comparison>& comparisons();

/// Puts the declarations in name order and registers every cost and
/// reference with Google Benchmark, each at its cost's sizes. Throws
/// std::logic_error for a reference or limit whose cost was never declared,
/// and for a scaling limit at a size the cost does not run at.
void registerComparisons();

/// A benchmark body for a workload: `Workload(entries)` built once outside
/// the timing, its verify() checked, then run() timed. Reports the size as
/// the "entries" counter, and as the "allocations" counter the heap
/// allocations per entry of further runs after the timed ones, outside the
/// timing: enough runs for 1000 entries, one at least.
template <class Workload>
void measure(benchmark::State& state) {
  const long entries = static_cast<long>(state.range(0));
  Workload workload(entries);
  if (!workload.verify()) {
    state.SkipWithError("the workload's result does not match its input");
    return;
  }
  for (auto _ : state) workload.run();
  const long runs = std::max(1L, (1000 + entries - 1) / entries);
  double allocations = 0;
  {
    const CountedAllocations counted;
    for (long run = 0; run < runs; ++run) workload.run();
    allocations = static_cast<double>(counted.allocations());
  }
  state.counters["entries"] = static_cast<double>(entries);
  state.counters["allocations"] = allocations / static_cast<double>(runs * entries);
}

}  // namespace bench
