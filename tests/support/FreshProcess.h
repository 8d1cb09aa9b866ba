// Runs part of a test in a fresh process of the test program, for the state
// the library keeps for the whole process and never resets (the log's
// configuration from the environment, the host loggers it fetched once,
// LogHelper after release). GoogleTest's "threadsafe" death-test style
// starts the program anew and runs the test up to this point, so what
// earlier tests or repetitions (--gtest_repeat) changed is not there.
//
//   TEST(Logging, ReadsTheFilter) {
//     testing_support::inFreshProcess([] {
//       simhost::setEnvironment("WYRDAN_LOG_FILTER", "0");
//       Logger::initialize();
//       EXPECT_TRUE(Logger::enableDebugLog());
//     });
//   }
//
// Expectations that fail in the fresh process fail the test, with their
// messages; a fixture's teardown does not run there, so leak checks belong
// inside `body`.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <functional>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace testing_support {

namespace detail {

// Runs `body` with every expectation's result intercepted, prints the
// failures on standard error (which the parent shows) and exits: 0 when
// none failed.
[[noreturn]] inline void runThenExit(const std::function<void()>& body) {
  ::testing::TestPartResultArray results;
  {
    const ::testing::ScopedFakeTestPartResultReporter reporter(
        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS, &results);
    body();
  }
  int failures = 0;
  for (int i = 0; i < results.size(); ++i) {
    const ::testing::TestPartResult& result = results.GetTestPartResult(i);
    if (!result.failed()) continue;
    ++failures;
    std::fprintf(stderr, "%s:%d: %s\n", result.file_name() ? result.file_name() : "?", result.line_number(),
                 result.message());
  }
  std::fflush(stderr);
  std::exit(failures == 0 ? 0 : 1);
}

}  // namespace detail

inline void inFreshProcess(const std::function<void()>& body) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(detail::runThenExit(body), ::testing::ExitedWithCode(0), "") << "in a fresh process";
}

}  // namespace testing_support
