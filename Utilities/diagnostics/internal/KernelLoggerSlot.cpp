#include "WyrdanPluginUtilities/diagnostics/internal/KernelLoggerSlot.h"

namespace kyr::orla::plugin::wyrdan::internal {

KernelLoggerSlot::LoggerPtr KernelLoggerSlot::acquire() {
  if (!obtained_.load(std::memory_order_acquire)) {
    Zol::Threading::RecursiveLock_24_8 lock(mutex_);
    if (!obtained_.load(std::memory_order_relaxed)) {
      LoggerPtr logger;
      Zol::getKernelAccessInterface_24_8()->getLogger(logger);
      if (!logger) return {};
      logger_ = std::move(logger);
      obtained_.store(true, std::memory_order_release);
    }
  }
  return logger_;
}

}  // namespace kyr::orla::plugin::wyrdan::internal
