// A sample plug-in session on the simulated host: start-up, service look-ups
// and the service cache at work, command payloads built with a bunch.
#include <iostream>
#include <string>

#include "Describe.h"
#include "Transcript.h"
#include "commands/DataBunch.h"
#include "services/ServiceHelper.h"
#include "simhost/SimHost.h"

namespace {

using demo::describe;
using kyr::orla::plugin::wyrdan::DataBunch;
using kyr::orla::plugin::wyrdan::ServiceHelper;

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

  transcript.step("A parameter bunch, converted to the host's list and back");
  DataBunch bunch{{"visible", true}, {"count", 3}};
  bunch.setData("label", Zol::makeZolAny(icu::UnicodeString::fromUTF8("Tr\xC3\xA4ger 1")));
  bunch.setData("objects", ServiceHelper::getSelectionManager());
  transcript.note("bunch (key order)        " + describe(bunch));
  const kyr::orla::appfw::CmdParameters list = bunch.toCmdParams();
  transcript.note("toCmdParams()            " + describe(list));
  transcript.note("DataBunch(list)          " + describe(DataBunch(list)));
  const Zol::ZolAny_24_8 any = bunch.toZolAny();
  transcript.note("toZolAny()               " + describe(any));
  transcript.note("DataBunch(any)           " + describe(DataBunch(any)));

  transcript.step("Plug-in shut-down");
  ServiceHelper::releaseServices();
  transcript.flushHostCalls();
  std::cout << "\nDone.\n";
  return 0;
}
