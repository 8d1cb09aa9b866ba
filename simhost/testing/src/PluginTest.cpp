#include "simhost/testing/PluginTest.h"

#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "simhost/testbed/ObjectAccounting.h"

namespace simhost::testing {

using kyr::orla::plugin::wyrdan::ServiceHelper;

LeakCheck::LeakCheck() : before_(ObjectAccounting::leakReport()) {}

LeakCheck::~LeakCheck() {
  const std::string after = ObjectAccounting::leakReport();
  if (after == before_) return;
  ADD_FAILURE() << "simulated objects outlived the test, referenced by something that did not declare it holds "
                   "them (ObjectAccounting::leakReport()):\n"
                << after << (before_.empty() ? "" : "before the test it read:\n" + before_);
}

HostTest::HostTest() = default;

HostTest::~HostTest() {
  const std::string failures = host.failures().report();
  if (failures.empty()) return;
  ADD_FAILURE() << "the host could not take what it was sent (a test that sends it on purpose declares it with "
                   "host.failures().expect(text)):\n"
                << failures;
}

PluginTest::PluginTest() {
  ServiceHelper::setZolServiceAccess(host.serviceAccess());
  host.journal().clear();
}

PluginTest::~PluginTest() { ServiceHelper::releaseServices(); }

}  // namespace simhost::testing
