#include "WyrdanPluginUtilities/diagnostics/LogHelper.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <string_view>

#include "WyrdanPluginUtilities/diagnostics/internal/KernelLoggerSlot.h"
#include "WyrdanPluginUtilities/diagnostics/internal/LogImpl.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

constexpr std::int32_t kInitialBufferSize = 1024;
constexpr std::int32_t kGrowthMargin = 1026;
// The most room the kept message and line strings keep between messages: a
// longer message's are let go, so that one huge message is not held twice
// more beside the format buffer, which keeps its size.
constexpr std::size_t kKeptCapacity = 4096;

constexpr std::string_view kStampSeparator = " >> ";

// Lends one of the helper's kept strings to the message being written: marks
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

// The last stamp a thread made, and the second it stands for.
struct Stamp {
  std::time_t second;
  std::size_t length;
  char text[64];
};

thread_local Stamp lastStamp{-1, 0, {}};

// Makes `stamp` the local time at `second`.
[[gnu::noinline]] std::string_view restamp(Stamp& stamp, std::time_t second) {
  std::tm local{};
  localtime_r(&second, &local);
  std::snprintf(stamp.text, sizeof stamp.text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  stamp.length = std::strlen(stamp.text);
  stamp.second = second;
  return std::string_view(stamp.text, stamp.length);
}

// "YYYY-MM-DD hh:mm:ss" of the local time now. Each thread keeps the last
// stamp it made: messages within one second reuse it. Out of line, with the
// new stamp's making apart, so that the thread's stamp is looked up once per
// message.
[[gnu::noinline]] std::string_view localTimeStamp() {
  const std::time_t now = std::time(nullptr);
  Stamp& last = lastStamp;
  if (now == last.second) return std::string_view(last.text, last.length);
  return restamp(last, now);
}

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

LogHelper::LogHelper() : m_buffer(new char[kInitialBufferSize]()), m_bufferSize(kInitialBufferSize) {}

LogHelper::~LogHelper() {
  if (theInstance == this) theInstance = nullptr;
}

LogHelper& LogHelper::operator=(const LogHelper& other) {
  if (this == &other) return *this;
  const auto size = static_cast<std::size_t>(other.m_bufferSize);
  std::unique_ptr<char[]> buffer(new char[size]);
  std::memcpy(buffer.get(), other.m_buffer.get(), size);
  m_impl = other.m_impl;
  m_buffer = std::move(buffer);
  m_bufferSize = other.m_bufferSize;
  m_enabled = other.m_enabled;
  return *this;
}

// Formats straight into the buffer. Only a message that leaves less than two
// bytes spare grows the buffer, to its length plus kGrowthMargin, and is
// formatted again. The larger buffer is allocated before the old one goes, so
// a growth that fails (std::bad_alloc) leaves the helper as it was. The
// message is then copied into the kept message string, whose room serves
// message after message.
void LogHelper::logMessage(int level, const char* format, ...) {
  std::size_t size = 0;
  if (format != nullptr) {
    std::va_list arguments;
    va_start(arguments, format);
    long long length = std::vsnprintf(m_buffer.get(), static_cast<std::size_t>(m_bufferSize), format, arguments);
    va_end(arguments);
    if (length + 2 >= m_bufferSize) {
      // The size stays an int: a message near 2 GiB gets the largest buffer
      // an int counts, which still holds it (vsnprintf counts in int too).
      const long long grown = std::min<long long>(length + kGrowthMargin, std::numeric_limits<std::int32_t>::max());
      std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(grown)]);
      std::memset(buffer.get(), 0, static_cast<std::size_t>(std::min(length + 2, grown)));
      m_buffer = std::move(buffer);
      m_bufferSize = static_cast<std::int32_t>(grown);
      va_start(arguments, format);
      length = std::vsnprintf(m_buffer.get(), static_cast<std::size_t>(m_bufferSize), format, arguments);
      va_end(arguments);
    }
    if (length > 0) size = static_cast<std::size_t>(length);
  }
  if (m_messageInUse) {  // written from within the sink: a string of its own
    write(std::string(m_buffer.get(), size), level);
    return;
  }
  const Lent lent(m_message, m_messageInUse);
  copyInto(m_message, m_buffer.get(), size);
  write(m_message, level);
}

void LogHelper::release() {
  m_impl.reset();
  m_enabled = false;
}

void LogHelper::write(const std::string& message, int level) {
  if (!m_impl) {
    if (!m_enabled) return;
    try {
      auto logger = m_kernelLogger.acquire();
      if (!logger) return;
      m_impl = std::make_shared<ZolLogImpl>(std::move(logger));
    } catch (...) {
      return;  // no sink this time; the next message tries again
    }
  }
  const std::string_view stamp = localTimeStamp();
  if (m_lineInUse) {  // written from within the sink: a line of its own
    std::string line;
    stampInto(line, stamp, message);
    m_impl->write(line, level);
    return;
  }
  const Lent lent(m_line, m_lineInUse);
  stampInto(m_line, stamp, message);
  m_impl->write(m_line, level);
}

}  // namespace kyr::orla::plugin::wyrdan
