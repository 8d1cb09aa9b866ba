#include "WyrdanPluginUtilities/diagnostics/Logger.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <set>
#include <sstream>
#include <string_view>

#include "WyrdanPluginUtilities/diagnostics/internal/KernelLoggerSlot.h"
#include "WyrdanPluginUtilities/internal/Platform.h"
#include "zol/kernel/ZolHoldings.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

constexpr int kHostSeverity = 1;
constexpr int kDebugLevel = 0;
constexpr int kErrorLevel = 3;
constexpr int kMaxScopes = 10;

// The variable's value; empty when it is not set.
std::optional<std::string> environment(const char* name) {
  const char* value = internal::environmentValue(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

// `text` read as std::stoi reads it; empty without leading digits or outside
// the 32-bit range.
std::optional<std::int32_t> parseLevel(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(begin, &end, 10);
  if (end == begin || errno == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

void writeConsoleLine(const std::string& text) {
  std::FILE* out = stdout;
  internal::lockStream(out);
  internal::writeUnlocked(text.data(), text.size(), out);
  internal::putUnlocked('\n', out);
  internal::unlockStream(out);
  std::fflush(out);
}

// The log's process-wide state, as initialize left it.
std::int32_t filterLevel = std::numeric_limits<std::int32_t>::max();
bool hostLoggerOutput = false;
bool consoleOutput = false;
bool debuggerOutput = false;
// Transparent, so that a name is looked up without building a std::string.
std::set<std::string, std::less<>> debugScopes;
internal::KernelLoggerSlot kernelLogger;

const Zol::ZolHoldingsRegistration holdings("Logger", [](Zol::ZolHeldReferences& held) {
  held.add("kernel logger", kernelLogger.held());
});

}  // namespace

void Logger::initialize() {
  try {
    const std::optional<std::string> filter = environment("WYRDAN_LOG_FILTER");
    if (!filter) return;
    const std::optional<std::int32_t> level = parseLevel(*filter);
    if (!level) return;
    filterLevel = *level;
    hostLoggerOutput = true;

    if (const std::optional<std::string> args = environment("args")) {
      consoleOutput = args->find("-console") != std::string::npos;
    }
    if (const std::optional<std::string> scopes = environment("WYRDAN_LOG_SCOPE")) {
      std::istringstream pieces(*scopes);
      std::string scope;
      for (int taken = 0; taken < kMaxScopes && std::getline(pieces, scope, '|'); ++taken) {
        debugScopes.insert(scope);
      }
    }
    if (environment("OutputDebugString") == std::optional<std::string>("true")) debuggerOutput = true;
  } catch (...) {
    // Logging stays as far as it got: configuring it must not fail the plug-in.
  }
}

void Logger::uninitialize() {}

void Logger::write(const std::string& text, int /*level*/) {
  if (consoleOutput) writeConsoleLine(text);
  if (hostLoggerOutput) {
    try {
      if (const auto logger = kernelLogger.acquire()) logger->log(text, kHostSeverity);
    } catch (...) {
      // A failing host logger must not disturb the caller, nor the next output.
    }
  }
  if (debuggerOutput) {
    internal::writeToDebugger(text.c_str());
    internal::writeToDebugger("\n");
  }
}

bool Logger::enableDebugLog() { return filterLevel <= kDebugLevel; }

bool Logger::enableDebugLog(const std::string& scope) {
  if (filterLevel > kDebugLevel) return false;
  return debugScopes.empty() || debugScopes.find(std::string_view(scope)) != debugScopes.end();
}

// The level first: a filtered statement never reads the name.
bool Logger::enableDebugLog(const char* scope) {
  if (filterLevel > kDebugLevel) return false;
  if (debugScopes.empty()) return true;
  return debugScopes.find(std::string_view(scope == nullptr ? "" : scope)) != debugScopes.end();
}

bool Logger::enableErrorLog() { return filterLevel <= kErrorLevel; }

}  // namespace kyr::orla::plugin::wyrdan
