// A plug-in author's program built against the installed package only: it
// finds a host service, reads a setting with ICU text through the library on
// the installed simulated host, and checks that the library it runs with is
// the one whose headers it was compiled against.
#include <cstdio>
#include <cstring>
#include <string>

#include <WyrdanPluginUtilities/Version.h>
#include <WyrdanPluginUtilities/services/PluginEnv.h>
#include <WyrdanPluginUtilities/services/ServiceHelper.h>
#include <simhost/SimHost.h>
#include <simhost/testbed/ObjectAccounting.h>
#include <unicode/unistr.h>

namespace {

using kyr::orla::plugin::wyrdan::PluginEnv;
using kyr::orla::plugin::wyrdan::ServiceHelper;
using kyr::orla::plugin::wyrdan::Version;

int fail(const char* what) {
  std::printf("consumer: %s\n", what);
  return 1;
}

}  // namespace

int main() {
  if (!Version::isCompatible() || std::strcmp(Version::string(), WYRDAN_VERSION_STRING) != 0) {
    return fail("the library does not match the installed headers");
  }
  const std::string folder =
      "/srv/\xC3\x9C"
      "bersicht";
  {
    simhost::SimHost host;
    ServiceHelper::setZolServiceAccess(host.serviceAccess());
    const Zol::ZolIService gui = ServiceHelper::getGuiExeutive();
    const bool cached = host.journal().count("Zol.Framework.ZolIServiceProvider", "getService") == 1 &&
                        ServiceHelper::getGuiExeutive() == gui &&
                        host.journal().count("Zol.Framework.ZolIServiceProvider", "getService") == 1;
    host.configurationManager()
        .configuration(u"KYR.WyrdanPlugin.Deliverable")
        ->setValue(u"ExportFolder", icu::UnicodeString::fromUTF8(folder));
    const std::string read = PluginEnv().getEnvValue(u"ExportFolder", "");
    ServiceHelper::releaseServices();
    if (!gui || !cached) return fail("service look-up through the installed package failed");
    if (read != folder) return fail("the setting did not read back as written");
  }
  if (!simhost::ObjectAccounting::leakReport().empty()) return fail("host objects leaked");
  std::printf("consumer: library %s found and cached kyr.orla.appfw.GuiExecutive, read a setting, leaked nothing\n",
              Version::string());
  return 0;
}
