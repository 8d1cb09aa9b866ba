// The plug-in's log on its hot paths, and the references they are measured
// beside. A filtered statement is the one a plug-in leaves in its code: it
// asks first and composes only what is wanted, with or without naming its
// scope. The log's configuration is
// process-wide: the workloads set WYRDAN_LOG_FILTER=3 (errors only) before
// Logger::initialize, so debug statements are filtered out, and log through
// the counting kernel logger (hostobjects/CountingLogger.h).
//
//   bench::FilteredDebugLog statements(1000);  // 1000 filtered statements per run
//   if (statements.verify()) statements.run();
//   bench::FilteredScopedDebugLogLong scoped(1000);  // the same, each naming a 24-character scope
#pragma once

#include <cstdint>
#include <string>

#include "hostobjects/CountingLogger.h"

namespace bench {

/// The measured cost: `entries` debug statements, each asking
/// Logger::enableDebugLog() and composing nothing since it answers false.
class FilteredDebugLog {
 public:
  explicit FilteredDebugLog(long entries);
  void run() const;
  /// The filter holds and a run writes nothing.
  bool verify() const;

 private:
  long entries_;
};

/// The scope a scoped statement names: "mesher", or a 24-character name,
/// longer than a std::string holds without allocating.
enum class ScopeName { Short, Long };

/// The measured cost: `entries` debug statements of the scope `Name`, as a
/// plug-in writes them, the name a literal at the call:
/// `if (Logger::enableDebugLog("mesher")) ...`. Nothing is composed since
/// it answers false.
template <ScopeName Name>
class FilteredScopedDebugLog {
 public:
  explicit FilteredScopedDebugLog(long entries);
  void run() const;
  /// The filter holds for the scope and a run writes nothing.
  bool verify() const;

 private:
  long entries_;
};

using FilteredScopedDebugLogShort = FilteredScopedDebugLog<ScopeName::Short>;
using FilteredScopedDebugLogLong = FilteredScopedDebugLog<ScopeName::Long>;

/// The floor: `entries` iterations of an empty loop.
class EmptyLoop {
 public:
  explicit EmptyLoop(long entries) : entries_(entries) {}
  void run() const;
  bool verify() const { return entries_ > 0; }

 private:
  long entries_;
};

/// The message LogHelper's workloads write: 100 bytes once formatted.
inline constexpr const char* kHundredByteFormat =
    "plate %05d of assembly %s: %d cells, %d faces, quality %.3f, status %s";

/// The measured cost: LogHelper::logMessage of the 100-byte message to the
/// host's logger, `entries` times per run.
class HundredByteLogMessage {
 public:
  explicit HundredByteLogMessage(long entries);
  void run() const;
  /// Each message arrives stamped and whole, with its level.
  bool verify() const;

 private:
  long entries_;
};

/// The reference: snprintf of the same message into a buffer, `entries`
/// times per run.
class HundredByteSnprintf {
 public:
  explicit HundredByteSnprintf(long entries) : entries_(entries) {}
  void run() const;
  bool verify() const;

 private:
  long entries_;
};

/// The 100-byte message formatted for entry `index`.
std::string hundredByteMessage(int index);

}  // namespace bench
