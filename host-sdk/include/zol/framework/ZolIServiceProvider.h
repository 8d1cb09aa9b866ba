// The host's service provider and service access: how a plug-in finds host
// services by dotted name.
#pragma once

#include <string>

#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::Framework {

/// Finds services by name ("Zol.Framework.ZolIServiceProvider").
class ZolIServiceProviderInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.Framework.ZolIServiceProvider"};
  /// Fills `service` with the service registered under `name` (an empty
  /// `version` accepts any); leaves it empty and fails when there is none.
  virtual ZolResult_24_8 getService(const std::string& name, const std::string& version, ZolIService& service) = 0;
};

/// The host's entry object handed to a plug-in at start-up. Not reference
/// counted: the host keeps it alive for the plug-in's whole life.
class ZolIServiceAccess {
 public:
  virtual ZolResult_24_8 getServiceProvider(ZolSmartPointer<ZolIServiceProviderInterface>& provider) = 0;
  /// The same look-up as the provider's getService.
  virtual ZolResult_24_8 getService(const std::string& name, const std::string& version, ZolIService& service) = 0;

 protected:
  ~ZolIServiceAccess() = default;
};

}  // namespace Zol::Framework
