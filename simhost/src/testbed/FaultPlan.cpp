#include "simhost/testbed/FaultPlan.h"

namespace simhost {

// Defined here as well, so that the DLL exports them: on Windows gcc exports
// no inline static data member of an exported class, yet a program that
// binds one to a reference imports it.
constexpr int FaultPlan::kEveryCall;
constexpr int FaultPlan::kAlways;

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

void FaultPlan::answer(CallPattern pattern, Answer answer, int times) {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.push_back(Armed{std::move(pattern), std::move(answer), times});
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

std::optional<FaultPlan::Action> FaultPlan::fire(const HostCall& call) {
  std::optional<Action> fired;
  std::lock_guard<std::mutex> lock(mutex_);
  for (Armed& armed : faults_) {
    if (!armed.pattern.matches(call)) continue;
    if (std::holds_alternative<Answer>(armed.action)) {
      // An answer counts the calls it answered: answers armed one after
      // another for n calls each answer in turn.
      if (fired || (armed.nth != 0 && armed.seen >= armed.nth)) continue;
      ++armed.seen;
      fired = armed.action;
      continue;
    }
    ++armed.seen;
    if (!fired && (armed.nth == 0 || armed.seen == armed.nth)) fired = armed.action;
  }
  return fired;
}

}  // namespace simhost
