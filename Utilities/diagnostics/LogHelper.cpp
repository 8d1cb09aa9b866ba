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

// "YYYY-MM-DD hh:mm:ss" of the local time now. Each thread keeps the last
// stamp it made: messages within one second reuse it.
std::string_view localTimeStamp() {
  thread_local std::time_t stampedSecond = -1;
  thread_local char stamp[64];
  thread_local std::size_t length = 0;
  const std::time_t now = std::time(nullptr);
  if (now != stampedSecond) {
    std::tm local{};
    localtime_r(&now, &local);
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    length = std::strlen(stamp);
    stampedSecond = now;
  }
  return std::string_view(stamp, length);
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
// a growth that fails (std::bad_alloc) leaves the helper as it was.
void LogHelper::logMessage(int level, const char* format, ...) {
  if (format == nullptr) {
    write(std::string(), level);
    return;
  }
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
  write(length < 0 ? std::string() : std::string(m_buffer.get(), static_cast<std::size_t>(length)), level);
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
  std::string line;
  line.reserve(stamp.size() + 4 + message.size());
  line.append(stamp).append(" >> ").append(message);
  m_impl->write(line, level);
}

}  // namespace kyr::orla::plugin::wyrdan
