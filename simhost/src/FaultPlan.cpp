#include "simhost/FaultPlan.h"

#include <stdexcept>

#include "zol/kernel/ZolException.h"

namespace simhost {

Fault Fault::errorResult(std::int32_t code) { return Fault{Kind::ErrorResult, code, {}, {}, {}}; }

Fault Fault::systemException(std::string text, std::int32_t code) {
  return Fault{Kind::KernelException, code, std::move(text), "Zol.ZolSystemException", {}};
}

Fault Fault::userException(std::string text, std::int32_t code) {
  return Fault{Kind::KernelException, code, std::move(text), "Zol.ZolUserException", {}};
}

Fault Fault::typedException(std::string typeName, std::string text, std::int32_t code) {
  return Fault{Kind::KernelException, code, std::move(text), std::move(typeName), {}};
}

Fault Fault::foreignException(std::string text) { return Fault{Kind::ForeignException, 0, std::move(text), {}, {}}; }

Fault Fault::callback(std::function<void()> action) { return Fault{Kind::Callback, 0, {}, {}, std::move(action)}; }

void FaultPlan::inject(CallPattern pattern, Fault fault, int nthCall) {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.push_back(Armed{std::move(pattern), std::move(fault), nthCall});
  armed_.store(true, std::memory_order_release);
}

void FaultPlan::inject(std::string interfaceName, std::string operation, Fault fault, int nthCall) {
  inject(CallPattern(std::move(interfaceName), std::move(operation)), std::move(fault), nthCall);
}

void FaultPlan::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.clear();
  armed_.store(false, std::memory_order_release);
}

namespace {

[[noreturn]] void raise(const Fault& fault) {
  if (fault.kind == Fault::Kind::ForeignException) throw std::runtime_error(fault.text);
  if (fault.typeName == "Zol.ZolSystemException") {
    Zol::ZolSystemException_24(fault.code, fault.text).throwit("ZolException");
  }
  Zol::createException(fault.typeName.c_str(), fault.code, fault.text)->throwit("ZolException");
}

}  // namespace

Zol::ZolResult_24_8 FaultPlan::apply(const HostCall& call) {
  Fault triggered;
  bool fires = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (Armed& armed : faults_) {
      if (!armed.pattern.matches(call)) continue;
      ++armed.seen;
      if (!fires && (armed.nthCall == kEveryCall || armed.seen == armed.nthCall)) {
        triggered = armed.fault;
        fires = true;
      }
    }
  }
  if (!fires) return {};
  switch (triggered.kind) {
    case Fault::Kind::ErrorResult:
      return Zol::ZolResult_24_8(triggered.code);
    case Fault::Kind::Callback:
      triggered.action();
      return {};
    case Fault::Kind::KernelException:
    case Fault::Kind::ForeignException:
      break;
  }
  raise(triggered);
}

}  // namespace simhost
