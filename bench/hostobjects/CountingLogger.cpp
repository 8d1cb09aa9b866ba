#include "hostobjects/CountingLogger.h"

namespace bench {

Zol::ZolResult_24_8 CountingLogger::log(const std::string& text, std::int32_t severity) {
  ++lines_;
  last_.assign(text);
  lastSeverity_ = severity;
  return {};
}

const ZolSmartPointer<CountingLogger>& kernelCountingLogger() {
  static const ZolSmartPointer<CountingLogger> logger = [] {
    auto made = makeHostObject<CountingLogger>();
    Zol::getKernelAccessInterface_24_8()->setLogger(made);
    return made;
  }();
  return logger;
}

}  // namespace bench
