#include "WyrdanPluginUtilities/Version.h"

namespace kyr::orla::plugin::wyrdan {

const char* Version::string() noexcept { return WYRDAN_VERSION_STRING; }

int Version::number() noexcept { return WYRDAN_VERSION; }

bool Version::isCompatible(int headerVersion) noexcept {
  // Patch versions are the last three digits of the encoding.
  return headerVersion / 1000 == WYRDAN_VERSION / 1000;
}

}  // namespace kyr::orla::plugin::wyrdan
