#include "simhost/SimServiceProvider.h"

namespace simhost {

void SimServiceProvider::registerService(const std::string& name, const Zol::ZolIService& service) {
  std::lock_guard<std::mutex> lock(mutex_);
  services_[name] = service;
}

void SimServiceProvider::removeService(const std::string& name) {
  Zol::ZolIService removed;  // released outside the lock
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = services_.find(name);
  if (it == services_.end()) return;
  removed = std::move(it->second);
  services_.erase(it);
}

void SimServiceProvider::clear() {
  std::map<std::string, Zol::ZolIService> released;
  std::lock_guard<std::mutex> lock(mutex_);
  released.swap(services_);
}

std::map<std::string, Zol::ZolIService> SimServiceProvider::services() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return services_;
}

Zol::ZolResult_24_8 SimServiceProvider::getService(const std::string& name, const std::string& version,
                                                   Zol::ZolIService& service) {
  if (Zol::ZolResult_24_8 fault = call("getService", [&] { return name + ", " + version; }); !fault.isOk()) {
    return fault;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = services_.find(name);
  if (it == services_.end()) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  service = it->second;
  return {};
}

SimServiceAccess::SimServiceAccess(SimContextPtr context, ZolSmartPointer<SimServiceProvider> provider)
    : context_(std::move(context)), provider_(std::move(provider)) {}

SimServiceAccess::~SimServiceAccess() = default;

namespace {
constexpr const char* kAccessInterface = "Zol.Framework.ZolIServiceAccess";
}

Zol::ZolResult_24_8 SimServiceAccess::getServiceProvider(
    ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& provider) {
  if (Zol::ZolResult_24_8 fault = context_->hostCall(kAccessInterface, "getServiceProvider", {}); !fault.isOk()) {
    return fault;
  }
  provider = provider_;
  return {};
}

Zol::ZolResult_24_8 SimServiceAccess::getService(const std::string& name, const std::string& version,
                                                 Zol::ZolIService& service) {
  if (Zol::ZolResult_24_8 fault = context_->hostCall(kAccessInterface, "getService", name + ", " + version);
      !fault.isOk()) {
    return fault;
  }
  return provider_->getService(name, version, service);
}

}  // namespace simhost
