// The parameter bunch's any round trip (toZolAny, then unpacking) beside
// copying the same map of keys and any-values.
#include <cstdio>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "RatioReporter.h"
#include "commands/DataBunch.h"

namespace {

using kyr::orla::plugin::wyrdan::DataBunch;

const bench::RatioTarget kTarget("BM_BunchRoundTrip", 3.0);

std::string keyOf(long i) {
  char key[16];
  std::snprintf(key, sizeof key, "key%04ld", i);
  return key;
}

void BM_BunchRoundTrip(benchmark::State& state) {
  DataBunch bunch;
  for (long i = 0; i < state.range(0); ++i) bunch.setData(keyOf(i), static_cast<std::int32_t>(i));
  for (auto _ : state) {
    const Zol::ZolAny_24_8 any = bunch.toZolAny();
    DataBunch back(any);
    benchmark::DoNotOptimize(&back);
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_BunchRoundTrip)->Arg(1)->Arg(16)->Arg(256);

void BM_BunchRoundTrip_Floor(benchmark::State& state) {
  std::map<std::string, Zol::ZolAny_24_8> map;
  for (long i = 0; i < state.range(0); ++i) map.emplace(keyOf(i), static_cast<std::int32_t>(i));
  for (auto _ : state) {
    std::map<std::string, Zol::ZolAny_24_8> copy = map;
    benchmark::DoNotOptimize(&copy);
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_BunchRoundTrip_Floor)->Arg(1)->Arg(16)->Arg(256);

}  // namespace
