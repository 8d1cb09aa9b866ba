#include "zol/kernel/ZolDebug.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <utility>

namespace {

std::mutex& sinkMutex() {
  static std::mutex mutex;
  return mutex;
}

Zol::ZolDebugSink& currentSink() {
  static auto* sink = new Zol::ZolDebugSink();  // used until the very end of the process
  return *sink;
}

// Hands `text` to the sink; false when none is installed.
bool writeToSink(std::string_view text) {
  std::lock_guard<std::mutex> lock(sinkMutex());
  const auto& sink = currentSink();
  if (!sink) return false;
  sink(text);
  return true;
}

void writeToStandardError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

#if defined(_WIN32)
#include "windows/DebugOutput.inc"
#else
#include "posix/DebugOutput.inc"
#endif

namespace Zol {

ZolDebugSink setDebugSink(ZolDebugSink sink) {
  watchDebuggerOutput();
  std::lock_guard<std::mutex> lock(sinkMutex());
  return std::exchange(currentSink(), std::move(sink));
}

void reportAssertionFailure(const char* expression, const char* file, int line) {
  const std::string report =
      std::string("Assertion failed: ") + expression + ", file " + file + ", line " + std::to_string(line) + "\n";
  if (!writeToSink(report)) writeToStandardError(report);
}

}  // namespace Zol
