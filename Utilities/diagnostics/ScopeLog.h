// ScopeLog: one statement of the plug-in's log (see Logger). Compose the
// message in its stream; it is written when the statement ends, or at once
// with sink(). Ask Logger first whether the message is wanted: ScopeLog
// writes whatever it holds.
//
//   if (Logger::enableErrorLog()) {
//     ScopeLog log(3);
//     log.stream() << "mesh failed on " << name;
//   }  // written here
//
// Not shared between threads; each thread composes its own statements.
#pragma once

#include <sstream>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT ScopeLog {
 public:
  /// A statement at `level` (0 debug ... 3 error), with an empty stream.
  explicit ScopeLog(int level);
  /// Takes over the level and the text composed so far; `other` is left
  /// empty and writes nothing when it ends.
  ScopeLog(ScopeLog&& other);  // NOLINT(performance-noexcept-move-constructor): copies the text
  ScopeLog(const ScopeLog&) = delete;
  ScopeLog& operator=(const ScopeLog&) = delete;
  ScopeLog& operator=(ScopeLog&&) = delete;
  /// Writes what the stream holds through Logger::write, an empty text
  /// included, unless the statement was moved from.
  ~ScopeLog();

  /// The stream to compose the message in.
  std::ostringstream& stream();
  /// Writes the text composed so far through Logger::write now and empties
  /// the stream, so that composing can go on.
  void sink();

 private:
  int m_level;
  std::ostringstream m_stream;
  bool m_movedFrom = false;
};

}  // namespace kyr::orla::plugin::wyrdan
