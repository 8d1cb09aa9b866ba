// Fixtures that end every test with the plug-in author's checks: the host took
// everything it was sent, and once the simulated host is gone, no simulated
// object may be alive beyond what the plug-in side declares it holds on
// purpose.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "simhost/SimHost.h"
#include "simhost/testbed/ObjectAccounting.h"

namespace testing_support {

/// Checks for leaks when destroyed. A fixture declares it before anything
/// that holds simulated objects, so it runs after they are gone. What an
/// earlier test of the process leaked is that test's failure, not this one's.
class LeakCheck {
 public:
  LeakCheck() : before_(simhost::ObjectAccounting::leakReport()) {}
  LeakCheck(const LeakCheck&) = delete;
  LeakCheck& operator=(const LeakCheck&) = delete;
  ~LeakCheck() { EXPECT_EQ(simhost::ObjectAccounting::leakReport(), before_) << "simulated objects outlived the test"; }

 private:
  const std::string before_;
};

/// A test without a host that still makes simulated objects.
class LeakCheckedTest : public ::testing::Test {
 private:
  LeakCheck leakCheck_;
};

/// A test on a fresh simulated host. It fails when the host recorded a
/// failure the test did not declare expected (host.failures().expect).
class HostTest : public ::testing::Test {
 private:
  LeakCheck leakCheck_;

 protected:
  ~HostTest() override { EXPECT_EQ(host.failures().report(), "") << "the host could not take what it was sent"; }

  simhost::SimHost host;
};

/// `value` itself, for self-assignment tests the compiler would warn about.
template <class T>
T& itself(T& value) {
  return value;
}

/// How many live simulated objects carry `serviceName`.
inline std::size_t liveObjectsNamed(std::string_view serviceName) {
  std::size_t count = 0;
  for (const auto& object : simhost::ObjectAccounting::liveObjects()) {
    if (object.serviceName == serviceName) ++count;
  }
  return count;
}

}  // namespace testing_support
