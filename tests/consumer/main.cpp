// Finds a host service through the installed library, on the installed simulated host.
#include <cstdio>

#include <WyrdanPluginUtilities/services/ServiceHelper.h>
#include <simhost/SimHost.h>

int main() {
  using kyr::orla::plugin::wyrdan::ServiceHelper;
  simhost::SimHost host;
  ServiceHelper::setZolServiceAccess(host.serviceAccess());
  const Zol::ZolIService gui = ServiceHelper::getGuiExeutive();
  const bool cached = host.journal().count("Zol.Framework.ZolIServiceProvider", "getService") == 1 &&
                      ServiceHelper::getGuiExeutive() == gui &&
                      host.journal().count("Zol.Framework.ZolIServiceProvider", "getService") == 1;
  ServiceHelper::releaseServices();
  if (!gui || !cached) {
    std::puts("consumer: service look-up through the installed package failed");
    return 1;
  }
  std::puts("consumer: found and cached kyr.orla.appfw.GuiExecutive");
  return 0;
}
