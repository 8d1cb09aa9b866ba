#include "simhost/services/kernel/SimServiceProvider.h"

namespace simhost {

void SimServiceRegistry::registerService(const std::string& name, const Zol::ZolIService& service) {
  Zol::ZolIService replaced = service;  // the previous one is released outside the lock
  std::lock_guard<std::mutex> lock(mutex_);
  std::swap(services_[name], replaced);
}

void SimServiceRegistry::removeService(const std::string& name) {
  Zol::ZolIService removed;  // released outside the lock
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = services_.find(name);
  if (it == services_.end()) return;
  removed = std::move(it->second);
  services_.erase(it);
}

void SimServiceRegistry::clear() {
  std::map<std::string, Zol::ZolIService> released;
  std::lock_guard<std::mutex> lock(mutex_);
  released.swap(services_);
}

std::map<std::string, Zol::ZolIService> SimServiceRegistry::services() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return services_;
}

Zol::ZolIService SimServiceRegistry::find(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = services_.find(name);
  return it == services_.end() ? Zol::ZolIService() : it->second;
}

SimServiceProvider::SimServiceProvider(SimContextPtr context, std::string name,
                                       std::shared_ptr<SimServiceRegistry> registry)
    : SimObject(std::move(context), std::move(name)), registry_(std::move(registry)) {}

void SimServiceProvider::registerService(const std::string& name, const Zol::ZolIService& service) {
  registry_->registerService(name, service);
}

void SimServiceProvider::removeService(const std::string& name) { registry_->removeService(name); }

std::map<std::string, Zol::ZolIService> SimServiceProvider::services() const { return registry_->services(); }

Zol::ZolResult_24_8 SimServiceProvider::getService(const std::string& name, const std::string& version,
                                                   Zol::ZolIService& service) {
  if (auto answered = call("getService", name, version, out(service))) return *answered;
  Zol::ZolIService found = registry_->find(name);
  if (!found) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  service = std::move(found);
  return {};
}

SimServiceAccess::SimServiceAccess(SimContextPtr context, ZolSmartPointer<SimServiceProvider> provider)
    : context_(std::move(context)), provider_(std::move(provider)) {}

SimServiceAccess::~SimServiceAccess() = default;

std::optional<Zol::ZolResult_24_8> SimServiceAccess::hostCall(const char* operation, std::vector<std::string> arguments,
                                                              const std::vector<OutputSlot>& outputs) {
  if (!context_->observing()) return std::nullopt;
  auto answered = context_->hostCall(
      HostCall{"Zol.Framework.ZolIServiceAccess", operation, std::move(arguments), "service access", 0, {}}, outputs);
  if (!answered) return std::nullopt;
  return answered->result;
}

Zol::ZolResult_24_8 SimServiceAccess::getServiceProvider(
    ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& provider) {
  if (auto answered = hostCall("getServiceProvider", {}, {OutputSlot::of(provider)})) return *answered;
  provider = provider_;
  return {};
}

Zol::ZolResult_24_8 SimServiceAccess::getService(const std::string& name, const std::string& version,
                                                 Zol::ZolIService& service) {
  if (auto answered = hostCall("getService", {name, version}, {OutputSlot::of(service)})) return *answered;
  return provider_->getService(name, version, service);
}

}  // namespace simhost
