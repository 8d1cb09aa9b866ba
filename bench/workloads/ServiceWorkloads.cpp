#include "workloads/ServiceWorkloads.h"

#include <benchmark/benchmark.h>

#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "exported/ExportedHandle.h"

namespace bench {

namespace {

using kyr::orla::plugin::wyrdan::ServiceHelper;

const std::string kGuiExecutive = "kyr.orla.appfw.GuiExecutive";

// Installs the host's access and asks every standard getter once.
void fillServiceCache(simhost::SimHost& host) {
  ServiceHelper::setZolServiceAccess(host.serviceAccess());
  for (auto getter :
       {&ServiceHelper::getAppExecutive, &ServiceHelper::getGuiExeutive, &ServiceHelper::getAppFWUnitsService,
        &ServiceHelper::getObjectPropertiesManager, &ServiceHelper::getPluginMgrService,
        &ServiceHelper::getScriptNameMgr, &ServiceHelper::getSelectionManager, &ServiceHelper::getTrashbin,
        &ServiceHelper::getBaseCommonService, &ServiceHelper::getModelManagement, &ServiceHelper::getFEMEntities,
        &ServiceHelper::getShellEntities, &ServiceHelper::getMDPManager, &ServiceHelper::getSolverService,
        &ServiceHelper::getDisplayDataManager, &ServiceHelper::getConfigurationManager, &ServiceHelper::getPFW,
        &ServiceHelper::getUtilUnitsService, &ServiceHelper::getEOMUtility}) {
    getter();
  }
}

// The host's own registration of the GUI executive.
Zol::ZolIService registeredGuiExecutive(simhost::SimHost& host) {
  const auto services = host.provider().services();
  const auto it = services.find(kGuiExecutive);
  return it == services.end() ? Zol::ZolIService() : it->second;
}

}  // namespace

CachedServiceGetter::CachedServiceGetter(long /*entries*/) : registered_(registeredGuiExecutive(host_)) {
  fillServiceCache(host_);
}

CachedServiceGetter::~CachedServiceGetter() { ServiceHelper::releaseServices(); }

void CachedServiceGetter::run() const {
  const Zol::ZolIService gui = ServiceHelper::getGuiExeutive();
  benchmark::DoNotOptimize(gui.get());
}

bool CachedServiceGetter::verify() const {
  const Zol::ZolIService gui = ServiceHelper::getGuiExeutive();
  return gui && gui == registered_;
}

HeldServiceHandle::HeldServiceHandle(long /*entries*/) : held_(registeredGuiExecutive(host_)) {}

void HeldServiceHandle::run() const {
  const Zol::ZolIService gui = held_;
  benchmark::DoNotOptimize(gui.get());
}

bool HeldServiceHandle::verify() const { return static_cast<bool>(held_); }

ExportedServiceHandle::ExportedServiceHandle(long /*entries*/) : registered_(registeredGuiExecutive(host_)) {
  keepExportedHandle(registered_);
}

ExportedServiceHandle::~ExportedServiceHandle() { keepExportedHandle({}); }

void ExportedServiceHandle::run() const {
  const Zol::ZolIService gui = exportedHandle();
  benchmark::DoNotOptimize(gui.get());
}

bool ExportedServiceHandle::verify() const { return exportedHandle() == registered_; }

ServiceMapLookup::ServiceMapLookup(long /*entries*/) : services_(host_.provider().services()) {}

void ServiceMapLookup::run() const {
  const Zol::ZolIService gui = lookUp();
  benchmark::DoNotOptimize(gui.get());
}

bool ServiceMapLookup::verify() const { return static_cast<bool>(lookUp()); }

Zol::ZolIService ServiceMapLookup::lookUp() const {
  const auto it = services_.find(kGuiExecutive);
  return it == services_.end() ? Zol::ZolIService() : it->second;
}

}  // namespace bench
