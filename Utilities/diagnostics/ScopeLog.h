/// \class kyr::orla::plugin::wyrdan::ScopeLog
/// \ingroup wyrdan_diagnostics
/// One statement of the plug-in's log (see Logger). Compose the message in
/// its stream; it is written when the statement ends, or at once with sink().
/// Ask Logger first whether the message is wanted: ScopeLog writes whatever
/// it holds.
///
/// \par Threads and exceptions
/// Not shared between threads; each thread composes its own statements.
/// Writing goes through Logger::write, which absorbs the host logger's
/// failures; a debug sink that throws makes sink() throw, and makes the
/// destructor end the program.
///
/// \code
///   if (Logger::enableErrorLog()) {
///     ScopeLog log(3);
///     log.stream() << "mesh failed on " << name;
///   }  // written here
/// \endcode
#pragma once

#include <sstream>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT ScopeLog {
 public:
  /// A statement at `level` (0 debug ... 3 error), with an empty stream.
  /// Writes nothing yet. Not explicit: a level converts to a statement.
  ScopeLog(int level);
  /// Takes over the level and the text composed so far; `other` is left
  /// empty and, like any statement, still writes its (empty) text when it
  /// ends.
  ScopeLog(ScopeLog&& other);  // NOLINT(performance-noexcept-move-constructor): copies the text
  /// Not copyable: a statement is written once.
  ScopeLog(const ScopeLog&) = delete;
  /// Not assignable: each statement keeps its own text.
  ScopeLog& operator=(const ScopeLog&) = delete;
  /// Not assignable by move either.
  ScopeLog& operator=(ScopeLog&&) = delete;
  /// Writes what the stream holds through Logger::write, an empty text
  /// included (a moved-from statement too). Should an output throw
  /// (a debug sink that throws), the exception cannot leave the destructor
  /// and the program terminates.
  ~ScopeLog();

  /// The stream to compose the message in; valid while the statement lives.
  std::ostringstream& stream();
  /// Writes the text composed so far through Logger::write now and empties
  /// the stream (clearing its error state), so that composing can go on; the
  /// end of the statement then writes what follows. Throws what
  /// Logger::write lets through.
  void sink();

 private:
  int m_level;
  std::ostringstream m_stream;
};

}  // namespace kyr::orla::plugin::wyrdan
