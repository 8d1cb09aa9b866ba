// The cached service getter beside a bare ordered-map look-up of the same key
// plus one reference increment.
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "RatioReporter.h"
#include "services/ServiceHelper.h"
#include "simhost/SimHost.h"

namespace {

using kyr::orla::plugin::wyrdan::ServiceHelper;

const bench::RatioTarget kTarget("BM_CachedServiceGetter", 1.5);

void BM_CachedServiceGetter(benchmark::State& state) {
  simhost::SimHost host;
  ServiceHelper::setZolServiceAccess(host.serviceAccess());
  // Fill the cache with every standard service, as a running plug-in would.
  for (auto getter : {&ServiceHelper::getAppExecutive, &ServiceHelper::getGuiExeutive,
                      &ServiceHelper::getAppFWUnitsService, &ServiceHelper::getObjectPropertiesManager,
                      &ServiceHelper::getPluginMgrService, &ServiceHelper::getScriptNameMgr,
                      &ServiceHelper::getSelectionManager, &ServiceHelper::getTrashbin,
                      &ServiceHelper::getBaseCommonService, &ServiceHelper::getModelManagement,
                      &ServiceHelper::getFEMEntities, &ServiceHelper::getShellEntities,
                      &ServiceHelper::getMDPManager, &ServiceHelper::getSolverService,
                      &ServiceHelper::getDisplayDataManager, &ServiceHelper::getConfigurationManager,
                      &ServiceHelper::getPFW, &ServiceHelper::getUtilUnitsService, &ServiceHelper::getEOMUtility}) {
    getter();
  }
  for (auto _ : state) {
    Zol::ZolIService gui = ServiceHelper::getGuiExeutive();
    benchmark::DoNotOptimize(gui.get());
  }
  ServiceHelper::releaseServices();
}
BENCHMARK(BM_CachedServiceGetter);

void BM_CachedServiceGetter_Floor(benchmark::State& state) {
  simhost::SimHost host;
  std::map<std::string, Zol::ZolIService> cache;
  for (const auto& [name, service] : host.provider().services()) cache.emplace(name, service);
  const std::string key = "kyr.orla.appfw.GuiExecutive";
  for (auto _ : state) {
    auto it = cache.find(key);
    Zol::ZolIService gui = it->second;
    benchmark::DoNotOptimize(gui.get());
  }
}
BENCHMARK(BM_CachedServiceGetter_Floor);

}  // namespace
