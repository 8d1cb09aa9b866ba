// The simulated host's service provider (services by dotted name) and the
// service-access object a plug-in receives at start-up.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "simhost/SimObject.h"
#include "zol/framework/ZolIServiceProvider.h"

namespace simhost {

class SIMHOST_EXPORT SimServiceProvider final : public SimObject<Zol::Framework::ZolIServiceProviderInterface> {
 public:
  using SimObject::SimObject;

  /// Registers (or replaces) the service under `name`.
  void registerService(const std::string& name, const Zol::ZolIService& service);
  /// Unregisters `name`; later look-ups of it fail.
  void removeService(const std::string& name);
  /// Releases every registered service.
  void clear();
  /// A snapshot of the registrations.
  std::map<std::string, Zol::ZolIService> services() const;

  Zol::ZolResult_24_8 getService(const std::string& name, const std::string& version,
                                 Zol::ZolIService& service) override;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, Zol::ZolIService> services_;
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
  SimContextPtr context_;
  ZolSmartPointer<SimServiceProvider> provider_;
};

}  // namespace simhost
