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

void writeToSink(std::string_view text) {
  std::lock_guard<std::mutex> lock(sinkMutex());
  if (const auto& sink = currentSink()) {
    sink(text);
  } else {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
  }
}

}  // namespace

void OutputDebugStringA(const char* text) { writeToSink(text ? text : ""); }

namespace Zol {

ZolDebugSink setDebugSink(ZolDebugSink sink) {
  std::lock_guard<std::mutex> lock(sinkMutex());
  return std::exchange(currentSink(), std::move(sink));
}

void reportAssertionFailure(const char* expression, const char* file, int line) {
  writeToSink(std::string("Assertion failed: ") + expression + ", file " + file + ", line " + std::to_string(line) +
              "\n");
}

}  // namespace Zol
