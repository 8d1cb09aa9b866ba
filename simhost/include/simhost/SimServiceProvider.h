// The simulated host's service provider (services by dotted name) and the
// service-access object a plug-in receives at start-up. Every provider of one
// host shares one registry, so a service registered or removed later reaches
// every provider a plug-in was handed.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "simhost/SimObject.h"
#include "zol/framework/ZolIServiceProvider.h"

namespace simhost {

/// Services by dotted name; thread-safe.
class SIMHOST_EXPORT SimServiceRegistry {
 public:
  /// Registers (or replaces) the service under `name`.
  void registerService(const std::string& name, const Zol::ZolIService& service);
  /// Unregisters `name`; later look-ups of it fail.
  void removeService(const std::string& name);
  /// Releases every registered service.
  void clear();
  /// A snapshot of the registrations.
  std::map<std::string, Zol::ZolIService> services() const;
  /// The service registered under `name`; empty when there is none.
  Zol::ZolIService find(const std::string& name) const;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, Zol::ZolIService> services_;
};

class SIMHOST_EXPORT SimServiceProvider final : public SimObject<Zol::Framework::ZolIServiceProviderInterface> {
 public:
  SimServiceProvider(SimContextPtr context, std::string name, std::shared_ptr<SimServiceRegistry> registry);

  SimServiceRegistry& registry() noexcept { return *registry_; }
  /// Forwarded to registry(), for brevity in tests.
  void registerService(const std::string& name, const Zol::ZolIService& service);
  void removeService(const std::string& name);
  std::map<std::string, Zol::ZolIService> services() const;

  Zol::ZolResult_24_8 getService(const std::string& name, const std::string& version,
                                 Zol::ZolIService& service) override;

 private:
  const std::shared_ptr<SimServiceRegistry> registry_;
};

/// Not reference counted, like the host's: owned by whoever made it.
class SIMHOST_EXPORT SimServiceAccess final : public Zol::Framework::ZolIServiceAccess {
 public:
  SimServiceAccess(SimContextPtr context, ZolSmartPointer<SimServiceProvider> provider);
  ~SimServiceAccess();

  Zol::ZolResult_24_8 getServiceProvider(
      ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& provider) override;
  Zol::ZolResult_24_8 getService(const std::string& name, const std::string& version,
                                 Zol::ZolIService& service) override;

  const ZolSmartPointer<SimServiceProvider>& provider() const noexcept { return provider_; }

 private:
  Zol::ZolResult_24_8 hostCall(const char* operation, std::vector<std::string> arguments);

  SimContextPtr context_;
  ZolSmartPointer<SimServiceProvider> provider_;
};

}  // namespace simhost
