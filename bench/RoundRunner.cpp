#include "RoundRunner.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <regex>
#include <string>

#include <benchmark/benchmark.h>

#include "Comparison.h"

namespace bench {

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// What one run of one benchmark gave, per entry; NaN where the run failed.
struct Measured {
  double nanoseconds = kMissing;
  double allocations = kMissing;
};

// One cost at one size with its references: what runs back to back.
struct Group {
  const Comparison* comparison;
  long size;
  // The cost's benchmark first, then each reference's, as Google Benchmark names them.
  std::vector<std::string> names;
  // Nanoseconds per entry, by member and round; NaN where the run failed.
  std::vector<std::vector<double>> perEntry;
  // Heap allocations per entry, by member and round; NaN where the run failed.
  std::vector<std::vector<double>> allocations;
};

// The median and range of one series.
struct Spread {
  double median = kMissing;
  double low = kMissing;
  double high = kMissing;
};

// The finite values' median and range.
Spread spreadOf(std::vector<double> values) {
  values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return !std::isfinite(v); }), values.end());
  Spread spread;
  if (values.empty()) return spread;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  spread.median = values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
  spread.low = values.front();
  spread.high = values.back();
  return spread;
}

double nanosecondsPer(benchmark::TimeUnit unit) {
  switch (unit) {
    case benchmark::kSecond:
      return 1e9;
    case benchmark::kMillisecond:
      return 1e6;
    case benchmark::kMicrosecond:
      return 1e3;
    default:
      return 1;
  }
}

// A filter that matches `name` and nothing else.
std::string exactly(const std::string& name) {
  std::string pattern = "^";
  for (char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '/') pattern += '\\';
    pattern += c;
  }
  return pattern + "$";
}

// Google Benchmark's filter semantics: a regular expression searched in the
// name; a leading '-' negates; empty or "all" matches everything.
class NameFilter {
 public:
  explicit NameFilter(std::string pattern) {
    negated_ = !pattern.empty() && pattern.front() == '-';
    if (negated_) pattern.erase(0, 1);
    if (pattern.empty() || pattern == "all") pattern = ".";
    pattern_ = std::regex(pattern, std::regex::extended);
  }
  bool matches(const std::string& name) const { return std::regex_search(name, pattern_) != negated_; }

 private:
  std::regex pattern_;
  bool negated_ = false;
};

// Keeps the time and allocations per entry of the one benchmark each call
// runs; prints the machine context on the first call only.
class Collector final : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context& context) override {
    if (!contextShown_) PrintBasicContext(&GetOutputStream(), context);
    contextShown_ = true;
    return true;
  }

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      if (run.error_occurred) {
        GetErrorStream() << run.benchmark_name() << " failed: " << run.error_message << std::endl;
        continue;
      }
      const auto entries = run.counters.find("entries");
      const double count = entries == run.counters.end() ? 1.0 : entries->second.value;
      const double time = clock_ == Clock::Wall ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
      measured_.nanoseconds = time * nanosecondsPer(run.time_unit) / count;
      const auto allocations = run.counters.find("allocations");
      if (allocations != run.counters.end()) measured_.allocations = allocations->second.value;
    }
  }

  /// Runs the benchmark `name`; its time per entry in nanoseconds by `clock`
  /// and its allocations per entry, NaN when it failed.
  Measured run(const std::string& name, Clock clock) {
    measured_ = Measured();
    clock_ = clock;
    benchmark::RunSpecifiedBenchmarks(this, exactly(name));
    return measured_;
  }

 private:
  bool contextShown_ = false;
  Clock clock_ = Clock::Cpu;
  Measured measured_;
};

// The name Google Benchmark gives `name` at `size`; timing by the wall clock adds a suffix.
std::string instanceName(const std::string& name, long size, Clock clock) {
  return name + "/" + std::to_string(size) + (clock == Clock::Wall ? "/real_time" : "");
}

std::string suffixOf(const Comparison& comparison, std::size_t reference) {
  return comparison.references[reference].name.substr(comparison.name.size() + 1);
}

std::vector<Group> selectGroups(const NameFilter& filter, int rounds) {
  std::vector<Group> groups;
  for (const Comparison& comparison : comparisons()) {
    for (long size : comparison.sizes) {
      Group group{&comparison, size, {instanceName(comparison.name, size, comparison.clock)}, {}, {}};
      for (const auto& reference : comparison.references) {
        group.names.push_back(instanceName(reference.name, size, comparison.clock));
      }
      if (std::none_of(group.names.begin(), group.names.end(), [&](const auto& n) { return filter.matches(n); })) {
        continue;
      }
      group.perEntry.assign(group.names.size(), std::vector<double>(static_cast<std::size_t>(rounds), kMissing));
      group.allocations = group.perEntry;
      groups.push_back(std::move(group));
    }
  }
  return groups;
}

void runRound(Collector& collector, std::vector<Group>& groups, int round, int rounds) {
  for (Group& group : groups) {
    std::string besides;
    for (std::size_t r = 0; r < group.comparison->references.size(); ++r) {
      besides += (r == 0 ? " beside " : ", ") + suffixOf(*group.comparison, r);
    }
    std::fprintf(stderr, "[round %d of %d] %s%s\n", round + 1, rounds, group.names.front().c_str(), besides.c_str());
    std::vector<std::size_t> order(group.names.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    if (round % 2 != 0) std::reverse(order.begin(), order.end());
    for (std::size_t member : order) {
      const Measured measured = collector.run(group.names[member], group.comparison->clock);
      group.perEntry[member][static_cast<std::size_t>(round)] = measured.nanoseconds;
      group.allocations[member][static_cast<std::size_t>(round)] = measured.allocations;
    }
  }
}

std::string aimText(const Aim& aim) {
  char text[48];
  if (aim.fromEntries > 0) {
    std::snprintf(text, sizeof text, "<= %.2f from %ld", aim.maxRatio, aim.fromEntries);
  } else {
    std::snprintf(text, sizeof text, "<= %.2f", aim.maxRatio);
  }
  return text;
}

// The most allocations per entry over the rounds; NaN when no round counted.
double mostOf(const std::vector<double>& values) { return spreadOf(values).high; }

std::string allocationText(double perEntry) {
  if (!std::isfinite(perEntry)) return "-";
  if (perEntry == 0) return "0";
  char text[24];
  std::snprintf(text, sizeof text, "%.3g", perEntry);
  return text;
}

// The aim shown beside `reference` at `size`: the one that applies, or else
// the first to apply at a larger size.
std::optional<Aim> shownAim(const Comparison::Against& reference, long size) {
  if (const auto applies = reference.aimAt(size)) return applies;
  std::optional<Aim> next;
  for (const Aim& aim : reference.aims) {
    if (!next || aim.fromEntries < next->fromEntries) next = aim;
  }
  return next;
}

// Prints one row per reference of `group` and records each applicable aim.
void reportGroup(const Group& group, RoundOutcome& outcome) {
  const Comparison& comparison = *group.comparison;
  const Spread cost = spreadOf(group.perEntry.front());
  const std::string costAllocations = allocationText(mostOf(group.allocations.front()));
  for (std::size_t r = 0; r < comparison.references.size(); ++r) {
    const std::vector<double>& reference = group.perEntry[r + 1];
    std::vector<double> ratios(reference.size());
    for (std::size_t round = 0; round < reference.size(); ++round) {
      ratios[round] = group.perEntry.front()[round] / reference[round];
    }
    const Spread ratio = spreadOf(ratios);
    const auto aim = comparison.references[r].aimAt(group.size);
    const auto shown = shownAim(comparison.references[r], group.size);
    std::string verdict;
    if (aim) {
      const bool met = std::isfinite(ratio.median) && ratio.median <= aim->maxRatio;
      verdict = met ? "met" : "MISSED";
      if (met) {
        ++outcome.aimsMet;
      } else {
        char line[256];
        std::snprintf(line, sizeof line, "%s beside %s at %ld entries: median ratio %.2f, aim %s",
                      comparison.name.c_str(), suffixOf(comparison, r).c_str(), group.size, ratio.median,
                      aimText(*aim).c_str());
        outcome.misses.emplace_back(line);
      }
    }
    std::printf("%-24s %-9s %8ld %13.2f %13.2f %7.2f  %6.2f - %-6.2f  %-15s %-6s  %s\n", comparison.name.c_str(),
                suffixOf(comparison, r).c_str(), group.size, cost.median, spreadOf(reference).median, ratio.median,
                ratio.low, ratio.high, shown ? aimText(*shown).c_str() : "", verdict.c_str(),
                (costAllocations + " / " + allocationText(mostOf(group.allocations[r + 1]))).c_str());
  }
}

// Holds the cost's allocations per entry, the most over the rounds, to its limit.
void reportAllocationLimit(const Group& group, RoundOutcome& outcome) {
  const Comparison& comparison = *group.comparison;
  if (!comparison.maxAllocationsPerEntry) return;
  const double most = mostOf(group.allocations.front());
  const bool met = std::isfinite(most) && most <= *comparison.maxAllocationsPerEntry;
  std::printf("%-24s %8ld  counted %-8s limit %-8s %s\n", comparison.name.c_str(), group.size,
              allocationText(most).c_str(), allocationText(*comparison.maxAllocationsPerEntry).c_str(),
              met ? "met" : "MISSED");
  if (met) {
    ++outcome.aimsMet;
  } else {
    outcome.misses.push_back(comparison.name + " at " + std::to_string(group.size) +
                             " entries: " + allocationText(most) + " allocations per entry, limit " +
                             allocationText(*comparison.maxAllocationsPerEntry));
  }
}

// The group of `comparison` at `size`; null when it did not run.
const Group* groupAt(const std::vector<Group>& groups, const Comparison& comparison, long size) {
  for (const Group& group : groups) {
    if (group.comparison == &comparison && group.size == size) return &group;
  }
  return nullptr;
}

// Holds each cost's growth in time per entry from one size to a larger one to
// its scaling limits, the two sizes' runs of each round compared. A limit
// one of whose sizes the filter left out is not shown.
void reportScalingLimits(const std::vector<Group>& groups, RoundOutcome& outcome) {
  bool headed = false;
  for (const Comparison& comparison : comparisons()) {
    for (const Comparison::Scaling& scaling : comparison.scalingLimits) {
      const Group* smaller = groupAt(groups, comparison, scaling.smallerSize);
      const Group* larger = groupAt(groups, comparison, scaling.largerSize);
      if (smaller == nullptr || larger == nullptr) continue;
      if (!headed) {
        std::printf("\nScaling limits: time per entry at the larger size / at the smaller, median of the rounds\n");
        headed = true;
      }
      const std::vector<double>& small = smaller->perEntry.front();
      const std::vector<double>& large = larger->perEntry.front();
      std::vector<double> ratios(small.size());
      for (std::size_t round = 0; round < small.size(); ++round) ratios[round] = large[round] / small[round];
      const Spread ratio = spreadOf(ratios);
      const bool met = std::isfinite(ratio.median) && ratio.median <= scaling.maxRatio;
      std::printf("%-24s %8ld over %-8ld %7.2f  %6.2f - %-6.2f  <= %-6.2f %s\n", comparison.name.c_str(),
                  scaling.largerSize, scaling.smallerSize, ratio.median, ratio.low, ratio.high, scaling.maxRatio,
                  met ? "met" : "MISSED");
      if (met) {
        ++outcome.aimsMet;
      } else {
        char line[256];
        std::snprintf(line, sizeof line, "%s: time per entry at %ld entries is %.2f times that at %ld, limit %.2f",
                      comparison.name.c_str(), scaling.largerSize, ratio.median, scaling.smallerSize, scaling.maxRatio);
        outcome.misses.emplace_back(line);
      }
    }
  }
}

// Entries per second of wall-clock comparisons, the cost's beside each
// reference's and as a multiple of it.
void reportThroughput(const Group& group) {
  const Comparison& comparison = *group.comparison;
  if (comparison.clock != Clock::Wall) return;
  const double cost = 1e9 / spreadOf(group.perEntry.front()).median;
  for (std::size_t r = 0; r < comparison.references.size(); ++r) {
    const double reference = 1e9 / spreadOf(group.perEntry[r + 1]).median;
    std::printf("%s/%ld: %.3g entries per second beside %.3g with %s: %.2f times as many\n", comparison.name.c_str(),
                group.size, cost, reference, suffixOf(comparison, r).c_str(), cost / reference);
  }
}

// How the cost per entry changes from the smallest size to the largest.
void reportScaling(const std::vector<Group>& groups) {
  for (const Comparison& comparison : comparisons()) {
    const Group* smallest = nullptr;
    const Group* largest = nullptr;
    for (const Group& group : groups) {
      if (group.comparison != &comparison) continue;
      if (smallest == nullptr || group.size < smallest->size) smallest = &group;
      if (largest == nullptr || group.size > largest->size) largest = &group;
    }
    if (smallest == nullptr || smallest == largest) continue;
    std::printf("%s: cost per entry at %ld entries is %.2f times that at %ld\n", comparison.name.c_str(), largest->size,
                spreadOf(largest->perEntry.front()).median / spreadOf(smallest->perEntry.front()).median,
                smallest->size);
  }
}

}  // namespace

RoundOutcome runRounds(const RoundOptions& options) {
  RoundOutcome outcome;
  std::vector<Group> groups = selectGroups(NameFilter(options.filter), options.rounds);
  outcome.groups = groups.size();
  if (groups.empty()) return outcome;

  Collector collector;
  for (int round = 0; round < options.rounds; ++round) runRound(collector, groups, round, options.rounds);

  std::printf("\nMedian over %d rounds of the ratio cost / reference, each ratio taken within one round\n",
              options.rounds);
  std::printf("%-24s %-9s %8s %13s %13s %7s  %15s  %-22s  %s\n", "cost", "reference", "entries", "cost ns/entry",
              "ref ns/entry", "ratio", "min - max", "aim", "allocs/entry: cost / ref");
  for (const Group& group : groups) reportGroup(group, outcome);
  if (std::any_of(groups.begin(), groups.end(), [](const Group& g) { return g.comparison->maxAllocationsPerEntry; })) {
    std::printf("\nAllocation limits: allocations per entry once warm, the most over the rounds\n");
    for (const Group& group : groups) reportAllocationLimit(group, outcome);
  }
  reportScalingLimits(groups, outcome);
  std::printf("\n");
  for (const Group& group : groups) reportThroughput(group);
  reportScaling(groups);
  std::printf("\nAims: %zu met, %zu missed\n", outcome.aimsMet, outcome.misses.size());
  for (const std::string& miss : outcome.misses) std::printf("  MISSED %s\n", miss.c_str());
  std::fflush(stdout);
  return outcome;
}

}  // namespace bench
