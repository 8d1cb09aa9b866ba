// The fixture of library tests: a fresh simulated host with the library
// started on it. Afterwards the service cache is emptied (the next test runs
// on another host), the host ends, and nothing may have leaked.
#pragma once

#include "HostTest.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"

namespace testing_support {

class PluginTest : public HostTest {
 protected:
  PluginTest() {
    kyr::orla::plugin::wyrdan::ServiceHelper::setZolServiceAccess(host.serviceAccess());
    host.journal().clear();
  }
  ~PluginTest() override { kyr::orla::plugin::wyrdan::ServiceHelper::releaseServices(); }
};

}  // namespace testing_support
