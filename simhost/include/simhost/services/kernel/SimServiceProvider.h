/// \file
/// The simulated host's service provider (services by dotted name) and the
/// service-access object a plug-in receives at start-up. Every provider of one
/// host shares one registry, so a service registered or removed later reaches
/// every provider a plug-in was handed.
///
/// Host operations are journaled and fault-injectable (an injected error
/// result is returned before the operation does anything); the setters and
/// readers are the host's own access, not journaled. Every class is
/// thread-safe.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "simhost/testbed/SimObject.h"
#include "zol/framework/ZolIServiceProvider.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// Services by dotted name.
///
/// \par Threads and exceptions
/// Thread-safe. Not a host object: nothing here is journaled, and its members
/// throw nothing but std::bad_alloc.
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

/// The host's service provider: looks services up in the host's registry.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimServiceProvider final : public SimObject<Zol::Framework::ZolIServiceProviderInterface> {
 public:
  /// The provider named `name`, over `registry`.
  SimServiceProvider(SimContextPtr context, std::string name, std::shared_ptr<SimServiceRegistry> registry);

  /// The registry the provider looks in.
  SimServiceRegistry& registry() noexcept { return *registry_; }
  /// Forwarded to registry(), for brevity in tests.
  void registerService(const std::string& name, const Zol::ZolIService& service);
  /// Forwarded to registry().
  void removeService(const std::string& name);
  /// Forwarded to registry().
  std::map<std::string, Zol::ZolIService> services() const;

  /// The service registered under `name` (the version is journaled, not
  /// interpreted); fails (kFailure), writing nothing, for an unknown name.
  Zol::ZolResult_24_8 getService(const std::string& name, const std::string& version,
                                 Zol::ZolIService& service) override;

 private:
  const std::shared_ptr<SimServiceRegistry> registry_;
};

/// The service access a plug-in receives at start-up. Not reference
/// counted, like the host's: owned by whoever made it. Its operations are
/// journaled as "Zol.Framework.ZolIServiceAccess" on the object "service
/// access" (with no service id) and fault-injectable.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimServiceAccess final : public Zol::Framework::ZolIServiceAccess {
 public:
  /// The access of `context`'s host, handing out `provider`.
  SimServiceAccess(SimContextPtr context, ZolSmartPointer<SimServiceProvider> provider);
  /// Releases the provider.
  ~SimServiceAccess();

  /// provider().
  Zol::ZolResult_24_8 getServiceProvider(
      ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& provider) override;
  /// The provider's getService (journaled twice: here and at the provider).
  Zol::ZolResult_24_8 getService(const std::string& name, const std::string& version,
                                 Zol::ZolIService& service) override;

  /// The provider handed out.
  const ZolSmartPointer<SimServiceProvider>& provider() const noexcept { return provider_; }

 private:
  // The access is the plug-in's handle, not a host object: it journals and
  // answers through the context itself.
  std::optional<Zol::ZolResult_24_8> hostCall(const char* operation, std::vector<std::string> arguments,
                                              const std::vector<OutputSlot>& outputs);

  SimContextPtr context_;
  ZolSmartPointer<SimServiceProvider> provider_;
};

/// @}

}  // namespace simhost
