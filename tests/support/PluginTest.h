// The fixture of library tests: the one plug-in authors link
// (simhost::testing::PluginTest), a fresh simulated host with the library
// started on it and an empty journal. Afterwards the service cache is
// emptied (the next test runs on another host), the host's failures are
// checked, the host ends, and nothing may have leaked. HostTest.h brings the
// suite's other helpers.
#pragma once

#include "HostTest.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "simhost/testing/PluginTest.h"

namespace testing_support {

using PluginTest = simhost::testing::PluginTest;

}  // namespace testing_support
