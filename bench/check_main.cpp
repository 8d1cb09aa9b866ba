// wyrdan_bench_check: instruction counts of the deterministic hot paths
// beside their floors, per entry, with a ceiling on each ratio, and the heap
// allocations of the same runs, with a ceiling on those of the paths that
// must not allocate. Counts do not drift with the machine's load, so CI can
// hold them to tight ceilings.
//
//   valgrind --tool=callgrind --instr-atstart=no --collect-atstart=no
//            --callgrind-out-file=DIR/callgrind.out wyrdan_bench_check   (one dump per path)
//   wyrdan_bench_check --judge DIR/callgrind.out.*                       (exit 1 above a ceiling)
//
// scripts/bench-check.sh runs both steps.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include <valgrind/callgrind.h>

#include "AllocationCounter.h"
#include "workloads/BrowserWorkloads.h"
#include "workloads/BunchWorkloads.h"
#include "workloads/EntityWorkloads.h"
#include "workloads/EventWorkloads.h"
#include "workloads/GenerateWorkloads.h"
#include "workloads/LogWorkloads.h"
#ifdef WYRDAN_BENCH_MSGPACK
#include "workloads/MsgpackWorkloads.h"
#endif
#ifdef WYRDAN_BENCH_QT
#include "workloads/QtWorkloads.h"
#endif
#include "workloads/ServiceWorkloads.h"
#include "workloads/SortWorkloads.h"
#ifdef WYRDAN_BENCH_SIGC
#include "workloads/SigcWorkloads.h"
#endif
#ifdef WYRDAN_BENCH_SIGNALS2
#include "workloads/Signals2Workloads.h"
#endif
#ifdef WYRDAN_BENCH_SPDLOG
#include "workloads/SpdlogWorkloads.h"
#endif

namespace {

// One counted path: `iterations` runs of its workload at `entries` entries.
struct Path {
  const char* name;
  long entries;
  int iterations;
  bool (*count)(const char* name, long entries, int iterations);
};

// The most instructions per entry a cost may take, as a multiple of its floor's.
struct Ceiling {
  const char* cost;
  const char* floor;
  double maxRatio;
};

// The most heap allocations a path may make in all its counted runs.
struct AllocationCeiling {
  const char* path;
  std::uint64_t maxAllocations;
};

// The most calls a path may make, in all its counted runs, of the functions
// whose names contain `callee`.
struct CallCeiling {
  const char* path;
  const char* callee;
  unsigned long long maxCalls;
};

// Builds the workload with instrumentation off, runs it once instrumented but
// not collected (first calls bind symbols and fill caches), then collects
// `iterations` runs, counting their allocations, into one dump named
// "`name` allocations <count>".
template <class Workload>
bool count(const char* name, long entries, int iterations) {
  Workload workload(entries);
  if (!workload.verify()) return false;
  CALLGRIND_START_INSTRUMENTATION;
  workload.run();
  std::uint64_t allocations = 0;
  {
    const bench::CountedAllocations counted;
    CALLGRIND_TOGGLE_COLLECT;
    for (int i = 0; i < iterations; ++i) workload.run();
    CALLGRIND_TOGGLE_COLLECT;
    allocations = counted.allocations();
  }
  const std::string dump = std::string(name) + " allocations " + std::to_string(allocations);
  CALLGRIND_DUMP_STATS_AT(dump.c_str());
  CALLGRIND_STOP_INSTRUMENTATION;
  return true;
}

const Path kPaths[] = {
    {"bunch-round-trip-20", 20, 512, &count<bench::BunchRoundTrip>},
    {"bunch-byte-round-trip-20", 20, 512, &count<bench::BunchByteRoundTrip>},
#ifdef WYRDAN_BENCH_MSGPACK
    {"msgpack-round-trip-20", 20, 512, &count<bench::MsgpackRoundTrip>},
#endif
#ifdef WYRDAN_BENCH_QT
    {"qt-round-trip-20", 20, 512, &count<bench::QtVariantRoundTrip>},
#endif
    {"bunch-round-trip-256", 256, 40, &count<bench::BunchRoundTrip>},
    {"bunch-byte-round-trip-256", 256, 40, &count<bench::BunchByteRoundTrip>},
    {"cached-getter", 1, 20000, &count<bench::CachedServiceGetter>},
    {"held-handle", 1, 20000, &count<bench::HeldServiceHandle>},
    {"exported-handle", 1, 20000, &count<bench::ExportedServiceHandle>},
    {"to-entities-lockless", 10000, 10, &count<bench::ToEntitiesLockless>},
    {"resolve-each-lockless", 10000, 10, &count<bench::ResolveEachLockless>},
    {"handle-event-1", 1, 20000, &count<bench::HandleEvent>},
    {"handle-event-floor-1", 1, 20000, &count<bench::HandleEventFloor>},
    {"handle-event-spin-floor-1", 1, 20000, &count<bench::HandleEventSpinFloor>},
    {"handle-event-8", 8, 20000, &count<bench::HandleEvent>},
    {"handle-event-floor-8", 8, 20000, &count<bench::HandleEventFloor>},
    {"handle-event-spin-floor-8", 8, 20000, &count<bench::HandleEventSpinFloor>},
#ifdef WYRDAN_BENCH_SIGC
    {"sigc-1", 1, 20000, &count<bench::SigcDelivery>},
    {"sigc-8", 8, 20000, &count<bench::SigcDelivery>},
#endif
#ifdef WYRDAN_BENCH_SIGNALS2
    {"signals2-1", 1, 20000, &count<bench::Signals2Delivery>},
    {"signals2-8", 8, 20000, &count<bench::Signals2Delivery>},
#endif
    {"fast-compare-sort", 20000, 2, &count<bench::FastCompareSort>},
    {"fast-compare-sort-floor", 20000, 2, &count<bench::FetchedWordsSort>},
    {"bulk-generate", 10000, 4, &count<bench::BulkGenerate>},
    {"bulk-generate-floor", 10000, 4, &count<bench::SortUniqueGenerate>},
    {"update-nodes-100", 100, 400, &count<bench::UpdateNodes>},
    {"update-nodes-10000", 10000, 4, &count<bench::UpdateNodes>},
    {"filtered-debug-log", 1000, 200, &count<bench::FilteredDebugLog>},
    {"filtered-debug-scoped-short", 1000, 200, &count<bench::FilteredScopedDebugLogShort>},
    {"filtered-debug-scoped-long", 1000, 200, &count<bench::FilteredScopedDebugLogLong>},
    {"empty-loop", 1000, 200, &count<bench::EmptyLoop>},
#ifdef WYRDAN_BENCH_SPDLOG
    {"spdlog-filtered-debug", 1000, 200, &count<bench::SpdlogFilteredDebug>},
#endif
    {"log-message-100", 100, 100, &count<bench::HundredByteLogMessage>},
    {"snprintf-100", 100, 100, &count<bench::HundredByteSnprintf>},
};

// Each ceiling is the ratio counted when it was set plus about 15%, and never
// above the ratio the benchmarks aim for: room for small changes, none for a
// second encoding pass, a getter that looks its service up again, an event
// delivery to one handler that copies it or takes a lock exclusively, a
// de-duplication that fetches a GUID more than once per object, an
// announcement whose cost per entity grows with the selection (one cost at
// two sizes, per entity), a filtered debug statement that does more than ask
// (or builds its scope's name), or a log message formatted twice.
const Ceiling kCeilings[] = {
    // The bunch round trip's ceilings are its aims, closer than 15%.
    {"bunch-round-trip-20", "bunch-byte-round-trip-20", 1.20},    // counted 1.09
    {"bunch-round-trip-256", "bunch-byte-round-trip-256", 1.20},  // counted 1.13
#ifdef WYRDAN_BENCH_MSGPACK
    {"bunch-round-trip-20", "msgpack-round-trip-20", 1.00},  // counted 0.81
#endif
#ifdef WYRDAN_BENCH_QT
    {"bunch-round-trip-20", "qt-round-trip-20", 0.25},  // counted 0.22; aim 0.25
#endif
    {"cached-getter", "held-handle", 1.80},                   // counted 1.55
    {"cached-getter", "exported-handle", 1.12},               // counted 1.11
    {"to-entities-lockless", "resolve-each-lockless", 1.10},  // counted 0.96
    // A domain's only handler is called without a copy; more handlers are
    // copied and each checked for a removal on the delivering thread, which
    // the floors, iterating the registered list itself, skip: the aim of 1.0
    // beside the std::mutex floor is missed at 8 handlers.
    {"handle-event-1", "handle-event-floor-1", 0.93},       // counted 0.81; aim 1.0
    {"handle-event-8", "handle-event-floor-8", 1.80},       // counted 1.63; aim 1.0, missed
    {"handle-event-1", "handle-event-spin-floor-1", 1.52},  // counted 1.32
    {"handle-event-8", "handle-event-spin-floor-8", 2.30},  // counted 2.06
#ifdef WYRDAN_BENCH_SIGC
    {"handle-event-1", "sigc-1", 0.25},  // counted 0.21; aim 0.35
    {"handle-event-8", "sigc-8", 0.57},  // counted 0.50
#endif
#ifdef WYRDAN_BENCH_SIGNALS2
    {"handle-event-1", "signals2-1", 0.13},  // counted 0.11; aim 0.15
    {"handle-event-8", "signals2-8", 0.14},  // counted 0.12; aim 0.10, missed
#endif
    {"fast-compare-sort", "fast-compare-sort-floor", 1.31},  // counted 1.14
    {"bulk-generate", "bulk-generate-floor", 1.00},          // counted 0.86
    {"update-nodes-10000", "update-nodes-100", 0.80},        // counted 0.69
    {"filtered-debug-log", "empty-loop", 4.20},              // counted 3.66
    {"filtered-debug-scoped-short", "empty-loop", 4.98},     // counted 4.33
    {"filtered-debug-scoped-long", "empty-loop", 4.98},      // counted 4.33
#ifdef WYRDAN_BENCH_SPDLOG
    {"filtered-debug-log", "spdlog-filtered-debug", 0.55},           // counted 0.52; aim 0.55
    {"filtered-debug-scoped-short", "spdlog-filtered-debug", 0.71},  // counted 0.62; aim 1.0
    {"filtered-debug-scoped-long", "spdlog-filtered-debug", 0.71},   // counted 0.62; aim 1.0
#endif
    {"log-message-100", "snprintf-100", 1.10},  // counted 1.08; aim 1.10
};

// Event delivery allocates nothing once the handlers are registered; sorting
// with EntityFastCompare and a filtered debug statement, its scope named or
// not, allocate nothing; nor does LogHelper::logMessage once the thread has
// written a message of its size.
const AllocationCeiling kAllocationCeilings[] = {
    {"handle-event-1", 0},
    {"handle-event-8", 0},
    {"fast-compare-sort", 0},
    {"filtered-debug-log", 0},
    {"filtered-debug-scoped-short", 0},
    {"filtered-debug-scoped-long", 0},
    {"log-message-100", 0},
};

// Event delivery takes the registry's lock shared, never exclusively: so
// deliveries on several threads do not wait for one another.
const CallCeiling kCallCeilings[] = {
    {"handle-event-1", "CriticalSection::lock()", 0},
    {"handle-event-8", "CriticalSection::lock()", 0},
};

const Path* pathNamed(const std::string& name) {
  for (const Path& path : kPaths) {
    if (name == path.name) return &path;
  }
  return nullptr;
}

int countAll() {
  if (RUNNING_ON_VALGRIND == 0) {
    std::fprintf(stderr, "Run under valgrind --tool=callgrind (see scripts/bench-check.sh)\n");
    return 2;
  }
  for (const Path& path : kPaths) {
    if (!path.count(path.name, path.entries, path.iterations)) {
      std::fprintf(stderr, "%s: the workload's result does not match its input\n", path.name);
      return 1;
    }
  }
  return 0;
}

// What one dump counted.
struct Dump {
  std::string name;
  unsigned long long instructions = 0;
  unsigned long long allocations = 0;
  std::map<std::string, unsigned long long> calls;  // by callee
};

// The name a "fn=" or "cfn=" line gives: "(id) name" the first time an id
// comes, "(id)" after that.
std::string functionName(const std::string& value, std::map<std::string, std::string>& names) {
  const std::size_t close = value.find(')');
  if (value.empty() || value[0] != '(' || close == std::string::npos) return value;
  const std::string id = value.substr(0, close + 1);
  if (close + 2 < value.size()) names[id] = value.substr(close + 2);
  return names[id];
}

// Reads the dump's name and allocations (the client request's) and its total
// instruction count.
bool readDump(const char* file, Dump& dump) {
  static const std::string kTrigger = "desc: Trigger: Client Request: ";
  std::ifstream in(file);
  std::string line;
  bool named = false;
  bool counted = false;
  std::map<std::string, std::string> names;
  std::string callee;
  while (std::getline(in, line)) {
    if (line.compare(0, 3, "fn=") == 0) functionName(line.substr(3), names);
    if (line.compare(0, 4, "cfn=") == 0) callee = functionName(line.substr(4), names);
    if (line.compare(0, 6, "calls=") == 0) dump.calls[callee] += std::stoull(line.substr(6));
    if (line.compare(0, kTrigger.size(), kTrigger) == 0) {
      std::istringstream request(line.substr(kTrigger.size()));
      std::string word;
      named = request >> dump.name >> word >> dump.allocations && word == "allocations";
    }
    if (line.compare(0, 8, "totals: ") == 0) counted = std::sscanf(line.c_str() + 8, "%llu", &dump.instructions) == 1;
  }
  return named && counted;
}

int judge(int files, char** paths) {
  std::map<std::string, Dump> dumps;
  for (int i = 0; i < files; ++i) {
    Dump dump;
    if (readDump(paths[i], dump) && pathNamed(dump.name) != nullptr) dumps[dump.name] = dump;
  }

  std::map<std::string, double> perEntry;
  std::printf("%-24s %8s %10s %14s %12s %10s %12s\n", "path", "entries", "iterations", "instructions", "per entry",
              "per run", "allocations");
  for (const Path& path : kPaths) {
    const auto dump = dumps.find(path.name);
    if (dump == dumps.end()) continue;
    const double instructions = static_cast<double>(dump->second.instructions);
    perEntry[path.name] = instructions / (static_cast<double>(path.entries) * path.iterations);
    std::printf("%-24s %8ld %10d %14llu %12.1f %10.1f %12llu\n", path.name, path.entries, path.iterations,
                dump->second.instructions, perEntry[path.name], instructions / path.iterations,
                dump->second.allocations);
  }

  int failures = 0;
  std::printf("\n%-48s %8s %8s\n", "cost / floor", "ratio", "ceiling");
  for (const Ceiling& ceiling : kCeilings) {
    const std::string pair = std::string(ceiling.cost) + " / " + ceiling.floor;
    const auto cost = perEntry.find(ceiling.cost);
    const auto floor = perEntry.find(ceiling.floor);
    if (cost == perEntry.end() || floor == perEntry.end()) {
      std::printf("%-48s %8s %8.2f  FAILED: not counted\n", pair.c_str(), "-", ceiling.maxRatio);
      ++failures;
      continue;
    }
    const double ratio = cost->second / floor->second;
    const bool within = ratio <= ceiling.maxRatio;
    std::printf("%-48s %8.3f %8.2f  %s\n", pair.c_str(), ratio, ceiling.maxRatio,
                within ? "ok" : "FAILED: above the ceiling");
    if (!within) ++failures;
  }

  std::printf("\n%-48s %8s %8s\n", "allocations in all counted runs", "counted", "ceiling");
  for (const AllocationCeiling& ceiling : kAllocationCeilings) {
    const auto dump = dumps.find(ceiling.path);
    if (dump == dumps.end()) {
      std::printf("%-48s %8s %8llu  FAILED: not counted\n", ceiling.path, "-",
                  static_cast<unsigned long long>(ceiling.maxAllocations));
      ++failures;
      continue;
    }
    const bool within = dump->second.allocations <= ceiling.maxAllocations;
    std::printf("%-48s %8llu %8llu  %s\n", ceiling.path, dump->second.allocations,
                static_cast<unsigned long long>(ceiling.maxAllocations), within ? "ok" : "FAILED: above the ceiling");
    if (!within) ++failures;
  }
  std::printf("\n%-48s %8s %8s\n", "calls in all counted runs", "counted", "ceiling");
  for (const CallCeiling& ceiling : kCallCeilings) {
    const std::string label = std::string(ceiling.path) + ": " + ceiling.callee;
    const auto dump = dumps.find(ceiling.path);
    if (dump == dumps.end()) {
      std::printf("%-48s %8s %8llu  FAILED: not counted\n", label.c_str(), "-", ceiling.maxCalls);
      ++failures;
      continue;
    }
    unsigned long long calls = 0;
    for (const auto& [name, count] : dump->second.calls) {
      if (name.find(ceiling.callee) != std::string::npos) calls += count;
    }
    const bool within = calls <= ceiling.maxCalls;
    std::printf("%-48s %8llu %8llu  %s\n", label.c_str(), calls, ceiling.maxCalls,
                within ? "ok" : "FAILED: above the ceiling");
    if (!within) ++failures;
  }
  if (failures != 0) std::fprintf(stderr, "%d count(s) above the ceiling or not counted\n", failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--judge") == 0) return judge(argc - 2, argv + 2);
  // Counts the paths a multi-threaded host runs, as wyrdan_bench times them:
  // once a thread has been started, the standard library's reference counts
  // and malloc take their thread-safe paths.
  std::thread([] {}).join();
  return countAll();
}
