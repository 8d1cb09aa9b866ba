#include "simhost/SimObject.h"

#include "simhost/ObjectAccounting.h"
#include "zol/kernel/ZolKernel.h"

namespace simhost {

SimObjectBase::SimObjectBase(SimContextPtr context, std::string serviceName)
    : context_(std::move(context)), serviceName_(std::move(serviceName)) {
  Zol::getServiceManagerInterface_24_8()->allocateServiceId(serviceId_);
  ObjectAccounting::add(this);
}

SimObjectBase::~SimObjectBase() { ObjectAccounting::remove(this); }

void SimObjectBase::setQueryStatus(const Zol::ZolTypeId& typeId, std::int32_t status) {
  std::lock_guard<std::mutex> lock(statusMutex_);
  queryStatus_[typeId] = status;
}

std::int32_t SimObjectBase::queryStatusOverride(const Zol::ZolTypeId& typeId) const {
  std::lock_guard<std::mutex> lock(statusMutex_);
  auto it = queryStatus_.find(typeId);
  return it == queryStatus_.end() ? 0 : it->second;
}

Zol::ZolResult_24_8 SimObjectBase::hostCall(const char* interfaceName, const char* operation,
                                            std::vector<std::string> arguments) const {
  return context_->hostCall(HostCall{interfaceName, operation, std::move(arguments), serviceName_, serviceId_});
}

}  // namespace simhost
