/// \class kyr::orla::plugin::wyrdan::LogHelper
/// \ingroup wyrdan_diagnostics
/// The plug-in's printf-style log. Each message is stamped with the local
/// date and time ("2026-03-14 09:26:53 >> text") and handed to the host
/// kernel's logger with the caller's level as its severity. It has no filter;
/// release() silences it for the rest of the process.
///
/// \par Threads and exceptions
/// Thread-safe: any threads may log at once, each formatting in a buffer of
/// its own, and each message reaches the host logger as one call with its
/// whole line. Once a thread's buffer fits its messages and the sink is made,
/// a message takes no lock. release() and assignment may run while other
/// threads log; they return once no thread still writes through the sink
/// they let go. A thread's buffer and strings are freed when the thread
/// ends; a message from a thread whose state was already freed (from a
/// static destructor at exit, say) is formatted in a temporary buffer.
/// Failures of the host logger never reach the caller; the members throw
/// nothing but std::bad_alloc.
///
/// \code
///   LogHelper::instance()->logMessage(2, "meshed %d of %d plates", done, total);
///   ...
///   LogHelper::instance()->release();  // at plug-in shut-down
/// \endcode
///
/// The message and the stamped line are built in strings each thread keeps
/// for its next message (while they hold at most 4 KiB), so that a message
/// allocates nothing once its thread has written one of its size.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/kernel/ZolHoldings.h"

#if defined(__GNUC__)
/// Lets the compiler check a printf-style format against its arguments.
#define WYRDAN_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define WYRDAN_PRINTF_FORMAT(formatIndex, firstArgument)
#endif

namespace kyr::orla::plugin::wyrdan {

class LogImpl;
namespace internal {
class KernelLoggerSlot;
struct LogThreadState;
}  // namespace internal

class WYRDAN_EXPORT LogHelper {
 public:
  /// The one helper, made on first use (thread-safe) and destroyed at unload.
  /// Makes no host call.
  static LogHelper* instance();

  /// Copies the other's sink (both then write through it) and whether it is
  /// released; format buffers are the threads', not the helper's. The sink
  /// this helper let go is deleted, when no other helper holds it, once no
  /// thread writes through it. Never throws.
  LogHelper& operator=(const LogHelper& other);

  /// Formats `format` with its arguments by printf's rules and writes the
  /// result at `level` (through write). The calling thread's format buffer
  /// (1024 bytes at first) grows to fit: a message of n bytes, with n + 2 at
  /// least the buffer's size, makes it n + 1026 bytes (at most INT32_MAX),
  /// and it stays that large until the thread ends. A null format, or one the
  /// C library cannot format (an unconvertible wide character, say, with
  /// glibc; mingw-w64's C runtime ends the text at such a character instead),
  /// writes an empty message. After release() the message is formatted and
  /// dropped.
  /// Throws only std::bad_alloc; the host logger's failures are absorbed (see
  /// write).
  void logMessage(int level, const char* format, ...) WYRDAN_PRINTF_FORMAT(3, 4);

  /// Ends logging for the process: deletes the sink (once no thread writes
  /// through it, unless an assigned helper still holds it), and later
  /// messages are formatted but written nowhere. The kernel logger, once
  /// fetched, stays held until unload. Never throws.
  void release();

 protected:
  /// A helper with no sink yet; no host call.
  LogHelper();
  /// Releases the sink; no thread may be logging through this helper.
  virtual ~LogHelper();

  /// Stamps `message` with the local time and passes the line with `level`
  /// to the sink. The first message binds the sink to the host kernel's
  /// logger, fetched once; while the kernel has none, messages are dropped
  /// and the next one asks again. Threads whose first messages race make one
  /// sink. Failures of the host logger never reach the caller.
  void write(const std::string& message, int level);

 private:
  // write, with the calling thread's state looked up already.
  void writeLine(internal::LogThreadState& thread, const std::string& message, int level);
  // Makes the sink unless it is made or the helper released; false when
  // there is none.
  bool makeSink();

  // The sink, owned (an assigned helper shares it); changed under the lock
  // that guards every helper's sink.
  std::shared_ptr<LogImpl> m_impl;
  // The sink messages write through: m_impl's, read without a lock.
  std::atomic<LogImpl*> m_sink{nullptr};
  // Off once released.
  std::atomic<bool> m_enabled{true};

  static internal::KernelLoggerSlot m_kernelLogger;
  static const Zol::ZolHoldingsRegistration m_holdings;
};

}  // namespace kyr::orla::plugin::wyrdan
