#include "simhost/services/kernel/SimKernel.h"

namespace simhost {

std::vector<SimKernelLogger::Line> SimKernelLogger::lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

void SimKernelLogger::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.clear();
}

Zol::ZolResult_24_8 SimKernelLogger::log(const std::string& text, std::int32_t severity) {
  if (auto answered = call("log", text, severity)) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.push_back(Line{text, severity});
  return {};
}

Zol::ZolResult_24_8 SimKernelAccess::getLogger(ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface>& logger) {
  if (auto answered = call("getLogger", out(logger))) return *answered;
  ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface> installed = logger_.get();
  if (!installed) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  logger = std::move(installed);
  return {};
}

void SimKernelAccess::setLogger(const ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface>& logger) {
  logger_.set(logger);
}

}  // namespace simhost
