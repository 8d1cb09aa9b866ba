#include "WyrdanPluginUtilities/diagnostics/LogHelper.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <mutex>
#include <string_view>
#include <utility>

#include "WyrdanPluginUtilities/diagnostics/internal/KernelLoggerSlot.h"
#include "WyrdanPluginUtilities/diagnostics/internal/LogImpl.h"
#include "WyrdanPluginUtilities/diagnostics/internal/LogThreadState.h"
#include "WyrdanPluginUtilities/internal/Platform.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using internal::LogThreadState;

constexpr std::int32_t kGrowthMargin = 1026;
// The most room the kept message and line strings keep between messages: a
// longer message's are let go, so that one huge message is not held twice
// more beside the format buffer, which keeps its size.
constexpr std::size_t kKeptCapacity = 4096;

constexpr std::string_view kStampSeparator = " >> ";

// Lends one of the thread's kept strings to the message being written: marks
// it in use, so that a message written meanwhile (from within the sink)
// builds a string of its own, and lets go of room beyond kKeptCapacity when
// the message is done.
class Lent {
 public:
  Lent(std::string& text, bool& inUse) noexcept : text_(text), inUse_(inUse) { inUse_ = true; }
  ~Lent() {
    if (text_.capacity() > kKeptCapacity) std::string().swap(text_);
    inUse_ = false;
  }
  Lent(const Lent&) = delete;
  Lent& operator=(const Lent&) = delete;

 private:
  std::string& text_;
  bool& inUse_;
};

// Makes `text` the `size` bytes at `from`, in the room it has: a resize and a
// copy cost less than assign's checks.
void copyInto(std::string& text, const char* from, std::size_t size) {
  text.resize(size);
  std::string::traits_type::copy(text.data(), from, size);
}

// Makes `line` `stamp` + " >> " + `message`, in the room it has.
void stampInto(std::string& line, std::string_view stamp, const std::string& message) {
  line.resize(stamp.size() + kStampSeparator.size() + message.size());
  using Traits = std::string::traits_type;
  char* at = line.data();
  Traits::copy(at, stamp.data(), stamp.size());
  at += stamp.size();
  Traits::copy(at, kStampSeparator.data(), kStampSeparator.size());
  Traits::copy(at + kStampSeparator.size(), message.data(), message.size());
}

// Makes `stamp` the local time at `second`.
[[gnu::noinline]] std::string_view restamp(LogThreadState::Stamp& stamp, std::time_t second) {
  const std::tm local = internal::localTime(second);
  std::snprintf(stamp.text, sizeof stamp.text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  stamp.length = std::strlen(stamp.text);
  stamp.second = second;
  return std::string_view(stamp.text, stamp.length);
}

// "YYYY-MM-DD hh:mm:ss" of the local time now. Each thread keeps the last
// stamp it made: messages within one second reuse it.
std::string_view localTimeStamp(LogThreadState::Stamp& last) {
  const std::time_t now = std::time(nullptr);
  if (now == last.second) return std::string_view(last.text, last.length);
  return restamp(last, now);
}

// Guards the making and changing of every helper's sink; messages do not
// take it once the sink is made.
std::mutex sinkMutex;

// The singleton while it exists, for the held-reference report (which must
// not make it).
const LogHelper* theInstance = nullptr;

}  // namespace

internal::KernelLoggerSlot LogHelper::m_kernelLogger;

const Zol::ZolHoldingsRegistration LogHelper::m_holdings("LogHelper", [](Zol::ZolHeldReferences& held) {
  held.add("kernel logger", m_kernelLogger.held());
  if (theInstance == nullptr) return;
  if (const auto* sink = dynamic_cast<const ZolLogImpl*>(theInstance->m_impl.get())) {
    held.add("log sink's logger", sink->logger());
  }
});

LogHelper* LogHelper::instance() {
  static LogHelper helper;
  static LogHelper* const made = (theInstance = &helper, &helper);
  return made;
}

LogHelper::LogHelper() = default;

LogHelper::~LogHelper() {
  if (theInstance == this) theInstance = nullptr;
}

// The sink this helper let go is deleted once no thread still writes through
// it (when no other helper holds it too).
LogHelper& LogHelper::operator=(const LogHelper& other) {
  if (this == &other) return *this;
  std::shared_ptr<LogImpl> dropped;
  {
    const std::lock_guard<std::mutex> lock(sinkMutex);
    m_enabled.store(other.m_enabled.load());
    if (m_impl != other.m_impl) {
      dropped = std::exchange(m_impl, other.m_impl);
      m_sink.store(m_impl.get());
    }
  }
  if (dropped) internal::SinkReads::awaitReaders();
  return *this;
}

// Formats straight into the thread's buffer. Only a message that leaves less
// than two bytes spare grows the buffer, to its length plus kGrowthMargin, and
// is formatted again. The larger buffer is allocated before the old one goes,
// so a growth that fails (std::bad_alloc) leaves the buffer as it was. The
// message is then copied into the thread's kept message string, whose room
// serves message after message.
void LogHelper::logMessage(int level, const char* format, ...) {
  const internal::LogThreadUse use;
  LogThreadState& thread = *use;
  std::size_t size = 0;
  if (format != nullptr) {
    std::va_list arguments;
    va_start(arguments, format);
    long long length =
        std::vsnprintf(thread.buffer.get(), static_cast<std::size_t>(thread.bufferSize), format, arguments);
    va_end(arguments);
    if (length + 2 >= thread.bufferSize) {
      // The size stays an int: a message near 2 GiB gets the largest buffer
      // an int counts, which still holds it (vsnprintf counts in int too).
      const long long grown = std::min<long long>(length + kGrowthMargin, std::numeric_limits<std::int32_t>::max());
      std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(grown)]);
      std::memset(buffer.get(), 0, static_cast<std::size_t>(std::min(length + 2, grown)));
      thread.buffer = std::move(buffer);
      thread.bufferSize = static_cast<std::int32_t>(grown);
      va_start(arguments, format);
      length = std::vsnprintf(thread.buffer.get(), static_cast<std::size_t>(thread.bufferSize), format, arguments);
      va_end(arguments);
    }
    if (length > 0) size = static_cast<std::size_t>(length);
  }
  if (thread.messageInUse) {  // written from within the sink: a string of its own
    writeLine(thread, std::string(thread.buffer.get(), size), level);
    return;
  }
  const Lent lent(thread.message, thread.messageInUse);
  copyInto(thread.message, thread.buffer.get(), size);
  writeLine(thread, thread.message, level);
}

// Shares the sink's making with release and assignment through sinkMutex; the
// kernel logger is fetched before, under the slot's own lock.
bool LogHelper::makeSink() {
  if (!m_enabled.load(std::memory_order_relaxed)) return false;
  try {
    auto logger = m_kernelLogger.acquire();
    if (!logger) return false;
    const std::lock_guard<std::mutex> lock(sinkMutex);
    if (!m_enabled.load(std::memory_order_relaxed)) return false;
    if (!m_impl) {
      m_impl = std::make_shared<ZolLogImpl>(std::move(logger));
      m_sink.store(m_impl.get());
    }
    return true;
  } catch (...) {
    return false;  // no sink this time; the next message tries again
  }
}

void LogHelper::release() {
  std::shared_ptr<LogImpl> dropped;
  {
    const std::lock_guard<std::mutex> lock(sinkMutex);
    m_enabled.store(false);
    m_sink.store(nullptr);
    dropped = std::move(m_impl);
  }
  if (dropped) internal::SinkReads::awaitReaders();
}

void LogHelper::write(const std::string& message, int level) {
  const internal::LogThreadUse use;
  writeLine(*use, message, level);
}

// The sink is read inside the thread's Reading, after the thread marked it:
// a helper that lets the sink go first publishes that, then awaits the reads
// begun before, so a read either finds the sink gone or ends before it is
// deleted.
void LogHelper::writeLine(LogThreadState& thread, const std::string& message, int level) {
  if (m_sink.load(std::memory_order_relaxed) == nullptr && !makeSink()) return;
  const std::string_view stamp = localTimeStamp(thread.stamp);
  if (thread.lineInUse) {  // written from within the sink: a line of its own
    std::string line;
    stampInto(line, stamp, message);
    const internal::SinkReads::Reading reading(thread.reads);
    if (LogImpl* const sink = m_sink.load()) sink->write(line, level);
    return;
  }
  const Lent lent(thread.line, thread.lineInUse);
  stampInto(thread.line, stamp, message);
  const internal::SinkReads::Reading reading(thread.reads);
  if (LogImpl* const sink = m_sink.load()) sink->write(thread.line, level);
}

}  // namespace kyr::orla::plugin::wyrdan
