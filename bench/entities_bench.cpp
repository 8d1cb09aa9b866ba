// EntConvert::toEntities beside resolving the same references through the
// root manager directly.
#include <benchmark/benchmark.h>

#include "RatioReporter.h"
#include "entities/EntConvert.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "simhost/SimHost.h"

namespace {

using kyr::orla::appfw::IEntities;
using kyr::orla::plugin::wyrdan::EntConvert;
using Zol::PersistenceFW::CAEData::EntityReferenceSequence;

const bench::RatioTarget kTarget("BM_ToEntities", 1.2);

// A host with `count` entities and their references; journaling off, as the
// journal would dominate and grow without bound.
EntityReferenceSequence populate(simhost::SimHost& host, long count) {
  host.journal().setEnabled(false);
  EntityReferenceSequence references;
  references.reserve(static_cast<std::size_t>(count));
  for (long id = 1; id <= count; ++id) {
    references.push_back(host.model().addEntity(7, static_cast<std::uint32_t>(id), 0, "node", "Node")->reference());
  }
  return references;
}

void BM_ToEntities(benchmark::State& state) {
  simhost::SimHost host;
  const EntityReferenceSequence references = populate(host, state.range(0));
  EntConvert convert;
  for (auto _ : state) {
    const IEntities entities = convert.toEntities(references);
    benchmark::DoNotOptimize(entities.size());
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ToEntities)->Arg(1000)->Arg(10000)->Arg(100000);

void BM_ToEntities_Floor(benchmark::State& state) {
  simhost::SimHost host;
  const EntityReferenceSequence references = populate(host, state.range(0));
  const ZolSmartPointer<kyr::orla::appfw::IRootManagerInterface> rootManager =
      kyr::orla::appfw::ServiceCacheAppFrame::rootManager_;
  for (auto _ : state) {
    IEntities entities;
    entities.reserve(references.size());
    ZolSmartPointer<kyr::orla::appfw::IEntityInterface> entity;
    for (const auto& reference : references) {
      rootManager->getEntity(reference, entity);
      entities.push_back(std::move(entity));
    }
    benchmark::DoNotOptimize(entities.size());
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ToEntities_Floor)->Arg(1000)->Arg(10000)->Arg(100000);

}  // namespace
