#include "WyrdanPluginUtilities/events/ImproperLock.h"

namespace kyr::orla::plugin::wyrdan {

const char* ImproperLock::what() const noexcept {
  return "improper lock: the calling thread already holds this non-recursive lock";
}

}  // namespace kyr::orla::plugin::wyrdan
