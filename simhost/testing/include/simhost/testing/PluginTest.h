/// \file
/// GoogleTest fixtures for plug-in code on the simulated host. Each test gets
/// a host of its own; PluginTest also starts the library on it, as the
/// plug-in does. When the test ends, the fixture fails it if the host
/// recorded something it could not take that the test did not declare
/// expected (HostFailures::expect), and, once the host is gone, if a
/// simulated object is still referenced by something that did not declare it
/// holds it (ObjectAccounting::leakReport).
///
/// \code
///   namespace wyrdan = kyr::orla::plugin::wyrdan;
///
///   class PlatesTest : public simhost::testing::PluginTest {
///    protected:
///     const ZolSmartPointer<simhost::SimEntity> plate = host.model().addEntity(5, 1, 0, u"Plate 1", u"Plate");
///   };
///
///   TEST_F(PlatesTest, HidesThePlate) {
///     wyrdan::EditEntityHelper(plate).setProperties(wyrdan::DataBunch{{"visible", false}});
///     EXPECT_THAT(host.journal(), simhost::testing::HasCall(
///                                     simhost::CallPattern::of<kyr::orla::appfw::ICmdCommandInterface>("execute")));
///   }
/// \endcode
///
/// A fixture of your own built on these (one that fills a model, say) is
/// checked as any test is; to see what its own checks report, make it with
/// failuresOf(), which gives back the failures instead of failing the test.
///
/// GoogleTest is not part of the shared library: the test program links it
/// (the package's Wyrdan::WyrdanSimHostGTest target and WyrdanSimHostGTest.pc
/// bring it along), so the fixtures report to the program's own test run.
/// Like every GoogleTest fixture, each is made, run and destroyed on the
/// test's thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "simhost/SimHost.h"
#include "simhost/testing/SimHostGTestExport.h"

namespace simhost::testing {

/// \addtogroup simhost_gtest
/// @{

/// Fails the running test when, at its destruction, the leak report
/// (ObjectAccounting::leakReport) differs from what it was at construction:
/// what an earlier test of the process leaked is that test's failure. A
/// fixture declares it before anything that holds simulated objects, so it
/// checks after they are gone.
///
/// \par Threads and exceptions
/// Made and destroyed on the test's thread. The destructor reports a failure
/// to GoogleTest instead of throwing.
class SIMHOST_GTEST_EXPORT LeakCheck {
 public:
  /// Notes the leak report as it is now.
  LeakCheck();
  /// Not copyable: each check reports once.
  LeakCheck(const LeakCheck&) = delete;
  /// Not assignable, for the same reason.
  LeakCheck& operator=(const LeakCheck&) = delete;
  /// Adds a non-fatal failure to the running test, with the report, when
  /// the report is not what it was at construction.
  ~LeakCheck();

 private:
  std::string before_;
};

/// A test on a fresh simulated host, without the library started. At its
/// end it fails the test when the host recorded a failure the test did not
/// declare expected (host.failures().report() not empty, printed in the
/// message), then the host ends, then the leak check runs.
///
/// \par Threads and exceptions
/// Made, run and destroyed on the test's thread, like every GoogleTest
/// fixture. The constructor throws what making the host throws; the
/// destructor reports failures to GoogleTest instead of throwing.
class SIMHOST_GTEST_EXPORT HostTest : public ::testing::Test {
 protected:
  /// Makes the host.
  HostTest();
  /// Checks the host's failures; the host and then the leak check follow.
  ~HostTest() override;

 private:
  LeakCheck leakCheck_;  // before the host, so that it checks after the host is gone

 public:
  /// The test's host, a complete one (SimHost). Public, so that what is not
  /// the fixture reaches it too: a helper of the test's, or a test of a
  /// fixture built on this one (failuresOf).
  SimHost host;
};

/// A test of plug-in code: a fresh simulated host with the library's service
/// locator started on it (ServiceHelper::setZolServiceAccess), and the
/// journal emptied after that start-up, so that it holds the test's calls
/// only. At the end the service cache is emptied
/// (ServiceHelper::releaseServices, since the next test runs on another
/// host), then HostTest's checks run: the host's failures, and the leak
/// check once the host is gone.
///
/// \par Threads and exceptions
/// Made, run and destroyed on the test's thread, like every GoogleTest
/// fixture. The constructor throws what making the host and starting the
/// library throw; the destructor reports failures to GoogleTest instead of
/// throwing.
class SIMHOST_GTEST_EXPORT PluginTest : public HostTest {
 protected:
  /// Starts the library on the host and empties the journal.
  PluginTest();
  /// Empties the library's service cache.
  ~PluginTest() override;
};

namespace detail {
// Runs `body`, giving back the messages of the failures it adds on this
// thread instead of adding them to the running test.
inline std::vector<std::string> interceptFailures(const std::function<void()>& body) {
  ::testing::TestPartResultArray results;
  {
    const ::testing::ScopedFakeTestPartResultReporter reporter(
        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
    body();
  }
  std::vector<std::string> messages;
  for (int i = 0; i < results.size(); ++i) {
    if (results.GetTestPartResult(i).failed()) messages.emplace_back(results.GetTestPartResult(i).message());
  }
  return messages;
}
}  // namespace detail

/// What a test on `Fixture` (HostTest, PluginTest or a fixture of your own
/// built on them) reports: makes the fixture as GoogleTest does, runs `body`
/// on it, ends it, and gives back the messages of the failures that `body`
/// and the fixture's checks add, instead of failing the running test. An
/// exception of the fixture's constructor or of `body` passes through.
///
/// \code
///   EXPECT_THAT(simhost::testing::failuresOf<ModelTest>(), ::testing::IsEmpty());  // it fills cleanly
///   EXPECT_THAT(simhost::testing::failuresOf<ModelTest>([](ModelTest& test) {
///                 test.host.failures().record("status bar", "payload of the wrong type");
///               }),
///               ::testing::ElementsAre(::testing::HasSubstr("payload of the wrong type")));
/// \endcode
template <class Fixture>
std::vector<std::string> failuresOf(const std::function<void(Fixture&)>& body = {}) {
  struct Made final : Fixture {
    void TestBody() override {}
  };
  return detail::interceptFailures([&body] {
    Made test;
    if (body) body(test);
  });
}

/// @}

}  // namespace simhost::testing
