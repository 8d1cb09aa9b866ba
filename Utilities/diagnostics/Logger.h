/// \class kyr::orla::plugin::wyrdan::Logger
/// \ingroup wyrdan_diagnostics
/// The plug-in's switchable diagnostic log. Logger::initialize reads its
/// configuration from the environment once; callers ask whether a message of
/// their kind is wanted before composing it (see ScopeLog), and write sends
/// the text to every output that is on, in this order: standard output, the
/// host kernel's logger (always with severity 1), the debugger output
/// (OutputDebugStringA, which the host SDK sends to its debug sink: standard
/// error unless the host installs another).
///
/// \par Threads and exceptions
/// initialize writes the configuration unsynchronised, so it runs before
/// other threads log. Then any thread may ask and write; lines of concurrent
/// writers stay whole but may come in any order. Nothing throws but write,
/// which lets the exception of a debug sink that throws pass; the host
/// logger's failures never reach the caller.
///
/// \code
///   Logger::initialize();  // once, at plug-in start-up
///   if (Logger::enableDebugLog("mesher")) ScopeLog(0).stream() << "cells: " << cells;
/// \endcode
///
/// Environment, read by initialize in this order:
/// - "WYRDAN_LOG_FILTER": a decimal 32-bit integer, as std::stoi reads it
///   (leading blanks and a sign, trailing text ignored): the filter level;
///   turns the host-logger output on. Absent or unreadable: nothing else is
///   read.
/// - "args": console output on when it contains "-console", off when it does
///   not; unchanged when absent.
/// - "WYRDAN_LOG_SCOPE": debug scopes separated by "|", taken as written; the
///   first 10 pieces count (a trailing "|" adds none).
/// - "OutputDebugString": exactly "true": debugger output on.
///
/// Level 0 is debug, 3 is error; a level is wanted when it is at least the
/// filter level. Until initialize found a filter level, nothing is wanted and
/// write writes nowhere.
#pragma once

#include <string>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT Logger {
 public:
  /// Reads the environment (see the class comment). Never throws: a failure ends it
  /// silently with what it has set so far. Calling it again may store a new
  /// filter level, add scopes and switch outputs on; of the outputs only the
  /// console is ever switched off again (by "args" without "-console").
  static void initialize();
  /// Does nothing: the log needs no shutting down. Outputs stay as they are,
  /// and the host logger, once fetched, is kept until unload.
  static void uninitialize();

  /// Writes `text` to every output that is on, whatever the filter: callers
  /// ask first. `level` is not passed on. The first write that needs the
  /// host logger fetches it from the kernel under a lock (then keeps it until
  /// unload); without one that output is skipped and the next write asks
  /// again. Failures of the host logger, thrown or returned, never reach the
  /// caller; the console and the debugger output are not guarded (a debug
  /// sink that throws passes its exception on).
  static void write(const std::string& text, int level);

  /// True when debug messages (level 0) are wanted. No host call; never throws.
  static bool enableDebugLog();
  /// True when debug messages of `scope` are wanted: level 0 is wanted, and
  /// either no scope was configured or `scope` is one of them (exact match).
  /// No host call; never throws.
  static bool enableDebugLog(const std::string& scope);
  /// The same answer for a scope named by a C string, which is what a literal
  /// (`enableDebugLog("mesher")`) calls: no std::string is built, so a
  /// statement filtered out costs the level check whatever the name's
  /// length. A null `scope` is the empty name. No host call; never throws.
  static bool enableDebugLog(const char* scope);
  /// True when error messages (level 3) are wanted. No host call; never throws.
  static bool enableErrorLog();

 private:
  // The configuration and the kernel logger live in Logger.cpp, not
  // exported, so that the checks above read them directly.
  Logger() = default;
};

}  // namespace kyr::orla::plugin::wyrdan
