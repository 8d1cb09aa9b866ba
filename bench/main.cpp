// The benchmark driver: runs every declared comparison in rounds and prints
// each cost's ratio to its references (see RoundRunner.h).
//
//   wyrdan_bench [--check] [--benchmark_repetitions=N] [--benchmark_filter=REGEX] [Google Benchmark flags]
//
// --check makes the exit status 1 when a median ratio misses its aim, a
// cost allocates more than its limit or its time per entry grows past its
// scaling limit.
// --benchmark_repetitions sets the number of rounds (7 by default): here one
// repetition of a benchmark is one round. --benchmark_list_tests lists the
// benchmarks. Each benchmark's own output is replaced by the ratio table, so
// --benchmark_out is refused.
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "Comparison.h"
#include "RoundRunner.h"

namespace {

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

int main(int argc, char** argv) {
  // A plug-in runs in a multi-threaded host. Once a thread has been started,
  // the standard library's reference counts and malloc take their
  // thread-safe paths; starting one first makes every round measure those,
  // not only the rounds after a threaded benchmark.
  std::thread([] {}).join();
  bench::RoundOptions options;
  bool check = false;
  bool listOnly = false;
  std::vector<char*> passed{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--check") {
      check = true;
    } else if (startsWith(arg, "--benchmark_repetitions=")) {
      options.rounds = std::atoi(argv[i] + std::string_view("--benchmark_repetitions=").size());
      if (options.rounds < 1) {
        std::fprintf(stderr, "%s: at least one round is needed\n", argv[i]);
        return 2;
      }
    } else if (startsWith(arg, "--benchmark_out")) {
      std::fprintf(stderr, "%s: not supported; the ratio table is the output\n", argv[i]);
      return 2;
    } else {
      listOnly = listOnly || arg == "--benchmark_list_tests" || arg == "--benchmark_list_tests=true";
      passed.push_back(argv[i]);
    }
  }
  int passedCount = static_cast<int>(passed.size());
  passed.push_back(nullptr);
  benchmark::Initialize(&passedCount, passed.data());
  if (benchmark::ReportUnrecognizedArguments(passedCount, passed.data())) return 1;
  bench::registerComparisons();

  if (listOnly) {
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
  }
  options.filter = benchmark::GetBenchmarkFilter();
  const bench::RoundOutcome outcome = bench::runRounds(options);
  benchmark::Shutdown();
  if (outcome.groups == 0) {
    std::fprintf(stderr, "No benchmark matches the filter \"%s\"\n", options.filter.c_str());
    return 1;
  }
  return check && !outcome.misses.empty() ? 1 : 0;
}
