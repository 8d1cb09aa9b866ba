#include "workloads/LogWorkloads.h"

#include <cstdio>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "WyrdanPluginUtilities/diagnostics/LogHelper.h"
#include "WyrdanPluginUtilities/diagnostics/Logger.h"
#include "WyrdanPluginUtilities/diagnostics/ScopeLog.h"

namespace bench {

namespace {

using kyr::orla::plugin::wyrdan::Logger;
using kyr::orla::plugin::wyrdan::LogHelper;
using kyr::orla::plugin::wyrdan::ScopeLog;

constexpr int kMessageLevel = 2;

// The scope names of the scoped statements, constants as a literal is. The
// long one is past what a std::string holds without allocating (15
// characters).
constexpr char kShortScope[] = "mesher";
constexpr char kLongScope[] = "mesher.boundary-layers.3";
static_assert(sizeof kLongScope - 1 == 24);

template <ScopeName Name>
constexpr const char* kScope = Name == ScopeName::Short ? kShortScope : kLongScope;

// Errors only, through the counting kernel logger.
void configureLog() {
  kernelCountingLogger();
  setenv("WYRDAN_LOG_FILTER", "3", 1);
  Logger::initialize();
}

}  // namespace

FilteredDebugLog::FilteredDebugLog(long entries) : entries_(entries) { configureLog(); }

void FilteredDebugLog::run() const {
  for (long i = 0; i < entries_; ++i) {
    if (Logger::enableDebugLog()) {
      ScopeLog statement(0);
      statement.stream() << "cells meshed: " << i;
    }
  }
}

bool FilteredDebugLog::verify() const {
  const std::uint64_t before = kernelCountingLogger()->lines();
  run();
  return !Logger::enableDebugLog() && Logger::enableErrorLog() && kernelCountingLogger()->lines() == before;
}

template <ScopeName Name>
FilteredScopedDebugLog<Name>::FilteredScopedDebugLog(long entries) : entries_(entries) {
  configureLog();
}

template <ScopeName Name>
void FilteredScopedDebugLog<Name>::run() const {
  for (long i = 0; i < entries_; ++i) {
    if (Logger::enableDebugLog(kScope<Name>)) {
      ScopeLog statement(0);
      statement.stream() << "cells meshed: " << i;
    }
  }
}

template <ScopeName Name>
bool FilteredScopedDebugLog<Name>::verify() const {
  const std::uint64_t before = kernelCountingLogger()->lines();
  run();
  return !Logger::enableDebugLog(kScope<Name>) && Logger::enableErrorLog() && kernelCountingLogger()->lines() == before;
}

template class FilteredScopedDebugLog<ScopeName::Short>;
template class FilteredScopedDebugLog<ScopeName::Long>;

void EmptyLoop::run() const {
  for (long i = 0; i < entries_; ++i) benchmark::DoNotOptimize(i);
}

std::string hundredByteMessage(int index) {
  char text[128];
  std::snprintf(text, sizeof text, kHundredByteFormat, index, "bracket-left", 182400 + index, 60811, 0.873,
                "meshed-and-ok");
  return text;
}

HundredByteLogMessage::HundredByteLogMessage(long entries) : entries_(entries) { configureLog(); }

void HundredByteLogMessage::run() const {
  LogHelper* const helper = LogHelper::instance();
  for (long i = 0; i < entries_; ++i) {
    helper->logMessage(kMessageLevel, kHundredByteFormat, static_cast<int>(i), "bracket-left",
                       182400 + static_cast<int>(i), 60811, 0.873, "meshed-and-ok");
  }
}

bool HundredByteLogMessage::verify() const {
  const CountingLogger& logger = *kernelCountingLogger();
  const std::uint64_t before = logger.lines();
  run();
  const std::string expected = " >> " + hundredByteMessage(static_cast<int>(entries_ - 1));
  const std::string& last = logger.last();
  return expected.size() == 104 && logger.lines() == before + static_cast<std::uint64_t>(entries_) &&
         last.size() == 19 + expected.size() && last.compare(19, std::string::npos, expected) == 0 &&
         logger.lastSeverity() == kMessageLevel;
}

void HundredByteSnprintf::run() const {
  char text[128];
  for (long i = 0; i < entries_; ++i) {
    std::snprintf(text, sizeof text, kHundredByteFormat, static_cast<int>(i), "bracket-left",
                  182400 + static_cast<int>(i), 60811, 0.873, "meshed-and-ok");
    benchmark::DoNotOptimize(text);
  }
}

bool HundredByteSnprintf::verify() const { return hundredByteMessage(0).size() == 100; }

}  // namespace bench
