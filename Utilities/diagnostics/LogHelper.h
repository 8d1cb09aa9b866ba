/// \class kyr::orla::plugin::wyrdan::LogHelper
/// \ingroup wyrdan_diagnostics
/// The plug-in's printf-style log. Each message is stamped with the local
/// date and time ("2026-03-14 09:26:53 >> text") and handed to the host
/// kernel's logger with the caller's level as its severity. It has no filter;
/// release() silences it for the rest of the process.
///
/// \par Threads and exceptions
/// Not synchronised: messages are formatted in one shared buffer, so callers
/// on several threads serialise their calls (instance() itself is
/// thread-safe). Failures of the host logger never reach the caller; the
/// members throw nothing but std::bad_alloc.
///
/// \code
///   LogHelper::instance()->logMessage(2, "meshed %d of %d plates", done, total);
///   ...
///   LogHelper::instance()->release();  // at plug-in shut-down
/// \endcode
///
/// The message and the stamped line are built in strings the helper keeps
/// for the next message (while they hold at most 4 KiB), so that a message
/// allocates nothing once the helper has written one of its size.
#pragma once

#include <cstdint>
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
}

class WYRDAN_EXPORT LogHelper {
 public:
  /// The one helper, made on first use (thread-safe) and destroyed at unload.
  /// Makes no host call.
  static LogHelper* instance();

  /// Copies the other's sink (both then write through it), buffer and state.
  /// Throws only std::bad_alloc, leaving this helper unchanged.
  LogHelper& operator=(const LogHelper& other);

  /// Formats `format` with its arguments by printf's rules and writes the
  /// result at `level` (through write). The format buffer grows to fit: a message of n
  /// bytes, with n + 2 at least the buffer's size, makes it n + 1026 bytes
  /// (at most INT32_MAX), and it stays that large. A null format, or one the C library cannot
  /// format (an unconvertible wide character, say), writes an empty message.
  /// After release() the message is formatted and dropped. Throws only
  /// std::bad_alloc; the host logger's failures are absorbed (see write).
  void logMessage(int level, const char* format, ...) WYRDAN_PRINTF_FORMAT(3, 4);

  /// Ends logging for the process: drops the sink, and later messages are
  /// formatted but written nowhere. The kernel logger, once fetched, stays
  /// held until unload. Never throws.
  void release();

 protected:
  /// A helper with a 1024-byte buffer and no sink yet; no host call.
  LogHelper();
  /// Releases the sink.
  virtual ~LogHelper();

  /// Stamps `message` with the local time and passes the line with `level`
  /// to the sink. The first message binds the sink to the host kernel's
  /// logger, fetched once; while the kernel has none, messages are dropped
  /// and the next one asks again. Failures of the host logger never reach
  /// the caller.
  void write(const std::string& message, int level);

 private:
  std::shared_ptr<LogImpl> m_impl;
  std::unique_ptr<char[]> m_buffer;
  std::int32_t m_bufferSize;
  bool m_enabled = true;
  // Room kept between messages for the message and the stamped line, each
  // marked while a message uses it; not part of the helper's state
  // (assignment leaves them).
  std::string m_message;
  std::string m_line;
  bool m_messageInUse = false;
  bool m_lineInUse = false;

  static internal::KernelLoggerSlot m_kernelLogger;
  static const Zol::ZolHoldingsRegistration m_holdings;
};

}  // namespace kyr::orla::plugin::wyrdan
