#include "simhost/testbed/SimContext.h"

#include <stdexcept>

#include "zol/kernel/ZolException.h"

namespace simhost {

namespace {

[[noreturn]] void raise(const Fault& fault) {
  if (fault.kind == Fault::Kind::ForeignException) throw std::runtime_error(fault.text);
  if (fault.typeName == "Zol.ZolSystemException") {
    Zol::ZolSystemException_24(fault.code, fault.text).throwit("ZolException");
  }
  Zol::createException(fault.typeName.c_str(), fault.code, fault.text)->throwit("ZolException");
}

}  // namespace

std::optional<SimContext::Answered> SimContext::hostCall(HostCall call, const std::vector<OutputSlot>& outputs) {
  journal.record(call);
  std::optional<FaultPlan::Action> fired = faults.fire(call);
  if (!fired) return std::nullopt;
  if (const Fault* fault = std::get_if<Fault>(&*fired)) {
    switch (fault->kind) {
      case Fault::Kind::ErrorResult:
        return Answered{Zol::ZolResult_24_8(fault->code), std::nullopt};
      case Fault::Kind::Callback:
        fault->action();
        return std::nullopt;
      case Fault::Kind::KernelException:
      case Fault::Kind::ForeignException:
        break;
    }
    raise(*fault);
  }
  const Answer& answer = std::get<Answer>(*fired);
  const std::string answered = call.interfaceName + "." + call.operation;
  for (std::size_t index = 0; index < answer.outputs().size(); ++index) {
    const std::optional<AnswerValue>& value = answer.outputs()[index];
    if (!value) continue;
    if (index >= outputs.size()) {
      failures.record("test bed", "an answer to " + answered + " writes output " + std::to_string(index) +
                                      ", which the operation does not have (it has " + std::to_string(outputs.size()) +
                                      ")");
    } else if (!outputs[index].write(*value)) {
      failures.record("test bed", "an answer to " + answered + " writes a " + value->typeLabel() + " into output " +
                                      std::to_string(index) + ", a " + outputs[index].typeLabel);
    }
  }
  return Answered{Zol::ZolResult_24_8(answer.code()), answer.returned()};
}

}  // namespace simhost
