#include "WyrdanPluginUtilities/internal/Platform.h"

#include <cstdlib>

#if defined(_WIN32)
#include "windows/Platform.inc"
#else
#include "posix/Platform.inc"
#endif

namespace kyr::orla::plugin::wyrdan::internal {

const char* environmentValue(const char* name) noexcept { return std::getenv(name); }

}  // namespace kyr::orla::plugin::wyrdan::internal
