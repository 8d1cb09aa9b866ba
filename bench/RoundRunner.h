// Runs the declared comparisons (Comparison.h) in rounds. In each round every
// cost runs, at each size, back to back with its references, so that each
// round gives one ratio per reference taken under the same machine
// conditions; which side runs first alternates from round to round. The
// table shows, per cost, reference and size, the median of the per-round
// ratios and their range, beside the aim, and the heap allocations per entry
// of cost and reference (the most over the rounds), held to the cost's
// allocation limit where it has one, and the growth of a cost's time per
// entry between two sizes, held to its scaling limit where it has one.
// Wall-clock comparisons also show their entries per second.
//
//   bench::RoundOutcome outcome = bench::runRounds({7, benchmark::GetBenchmarkFilter()});
//   if (!outcome.misses.empty()) ...
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

/// What runRounds() runs.
struct RoundOptions {
  int rounds = 7;
  /// A Google Benchmark filter: a regular expression, negated by a leading
  /// '-'; empty runs everything. A cost at one size runs with all its
  /// references when any of their names matches.
  std::string filter;
};

/// What runRounds() found.
struct RoundOutcome {
  /// How many (cost, size) groups ran.
  std::size_t groups = 0;
  /// Ratio aims, allocation limits and scaling limits met.
  std::size_t aimsMet = 0;
  /// One line per aim, allocation limit or scaling limit missed, or left
  /// unmeasured by a failed run.
  std::vector<std::string> misses;
};

/// Runs the rounds: progress on stderr, the machine context and the ratio
/// table on stdout.
RoundOutcome runRounds(const RoundOptions& options);

}  // namespace bench
