#include "simhost/testbed/SimObject.h"

#include "simhost/testbed/ObjectAccounting.h"
#include "zol/kernel/ZolKernel.h"

namespace simhost {

SimObjectBase::SimObjectBase(SimContextPtr context, std::string serviceName)
    : context_(std::move(context)), serviceName_(std::move(serviceName)) {
  std::uint64_t allocated = 1;
  Zol::getServiceManagerInterface_24_8()->allocateServiceId(allocated);
  serviceId_.store(allocated, std::memory_order_release);
  ObjectAccounting::add(this);
}

SimObjectBase::~SimObjectBase() { ObjectAccounting::remove(this); }

void SimObjectBase::reportHoldings(Zol::ZolHeldReferences&) const {}

std::vector<Payload::Field> SimObjectBase::payloadFields() const { return {}; }

void SimObjectBase::setQueryStatus(const Zol::ZolTypeId& typeId, std::int32_t status) {
  std::lock_guard<std::mutex> lock(statusMutex_);
  queryStatus_[typeId] = status;
}

std::int32_t SimObjectBase::queryStatusOverride(const Zol::ZolTypeId& typeId) const {
  std::lock_guard<std::mutex> lock(statusMutex_);
  auto it = queryStatus_.find(typeId);
  return it == queryStatus_.end() ? 0 : it->second;
}

std::optional<SimContext::Answered> SimObjectBase::hostCall(const char* interfaceName, const char* operation,
                                                            std::vector<std::string> arguments,
                                                            std::vector<Payload> payloads,
                                                            const std::vector<OutputSlot>& outputs) const {
  return context_->hostCall(
      HostCall{interfaceName, operation, std::move(arguments), serviceName_, serviceId(), std::move(payloads)},
      outputs);
}

void SimObjectBase::recordUnfitReturn(const char* interfaceName, const char* operation, const AnswerValue& value,
                                      const std::string& returnType) const {
  context_->failures.record("test bed", std::string("an answer to ") + interfaceName + "." + operation + " returns a " +
                                            value.typeLabel() + ", where the operation returns a " + returnType);
}

}  // namespace simhost
