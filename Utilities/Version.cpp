#include "WyrdanPluginUtilities/Version.h"

namespace kyr::orla::plugin::wyrdan {

const char* Version::string() noexcept { return WYRDAN_VERSION_STRING; }

int Version::number() noexcept { return WYRDAN_VERSION; }

bool Version::isCompatible(int headerVersion) noexcept {
  return detail::compatibleVersions(WYRDAN_VERSION, headerVersion);
}

}  // namespace kyr::orla::plugin::wyrdan
