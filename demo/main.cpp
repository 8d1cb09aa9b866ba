// A sample plug-in session on the simulated host: start-up, service look-ups
// and the service cache at work.
#include <iostream>
#include <string>

#include "Transcript.h"
#include "services/ServiceHelper.h"
#include "simhost/SimHost.h"

namespace {

using kyr::orla::plugin::wyrdan::ServiceHelper;

std::string describe(const Zol::ZolIService& service) {
  if (!service) return "(none)";
  return "\"" + service->getServiceName() + "\" #" + std::to_string(service->getServiceId());
}

}  // namespace

int main() {
  simhost::SimHost host;
  demo::Transcript transcript(host.journal());
  std::cout << "WyrdanPluginUtilities demo: a plug-in session on the simulated host\n";

  transcript.step("Plug-in start-up: ServiceHelper::setZolServiceAccess");
  ServiceHelper::setZolServiceAccess(host.serviceAccess());

  transcript.step("First look-up of the GUI executive");
  transcript.note("getGuiExeutive() -> " + describe(ServiceHelper::getGuiExeutive()));

  transcript.step("Second look-up of the same name: served from the cache");
  transcript.note("getGuiExeutive() -> " + describe(ServiceHelper::getGuiExeutive()));

  transcript.step("Three getters, one service name (Zol.EOM.EOMCore): one host look-up");
  transcript.note("getEOMDependencyMgr() -> " + describe(ServiceHelper::getEOMDependencyMgr()));
  transcript.note("getEOMObjectFactory() -> " + describe(ServiceHelper::getEOMObjectFactory()));
  transcript.note("getEOMUtility()       -> " + describe(ServiceHelper::getEOMUtility()));

  transcript.step("Reaching through the host: trash bin, viewport, current model");
  transcript.note("getTrashbin()     -> " + describe(ServiceHelper::getTrashbin()));
  transcript.note("getViewport()     -> " + describe(ServiceHelper::getViewport()));
  transcript.note("getCurrentModel() -> " + describe(ServiceHelper::getCurrentModel()));

  transcript.step("releaseServices(): the next look-up asks the host again");
  ServiceHelper::releaseServices();
  transcript.note("getGuiExeutive() -> " + describe(ServiceHelper::getGuiExeutive()));

  transcript.step("A service the host does not offer is asked for on every call");
  host.removeService("kyr.orla.plugin.motion.SolverService");
  transcript.note("getSolverService() -> " + describe(ServiceHelper::getSolverService()));
  transcript.note("getSolverService() -> " + describe(ServiceHelper::getSolverService()));

  transcript.step("Plug-in shut-down");
  ServiceHelper::releaseServices();
  transcript.flushHostCalls();
  std::cout << "\nDone.\n";
  return 0;
}
