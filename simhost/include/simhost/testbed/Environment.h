/// \file
/// \ingroup simhost_testbed
/// The process environment, as a test sets it for code that reads it (the
/// plug-in's log reads its filters there), the same way on every platform.
///
///   simhost::setEnvironment("WYRDAN_LOG_FILTER", "0");
///   Logger::initialize();
///   simhost::unsetEnvironment("WYRDAN_LOG_FILTER");
#pragma once

#include "simhost/SimHostExport.h"

namespace simhost {

/// Sets the environment variable `name` to `value`, replacing any value it
/// had; std::getenv sees it at once, in every module of the process. Not
/// synchronised with threads that read the environment meanwhile.
SIMHOST_EXPORT void setEnvironment(const char* name, const char* value);

/// Removes the environment variable `name`; nothing when it is not set.
SIMHOST_EXPORT void unsetEnvironment(const char* name);

}  // namespace simhost
