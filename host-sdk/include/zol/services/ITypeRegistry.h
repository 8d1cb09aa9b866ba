// The host type registry: entity type names and ids.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::Services::TypeRegistry {

/// ("Zol.Services.TypeRegistry.ITypeRegistry")
class ITypeRegistryInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"Zol.Services.TypeRegistry.ITypeRegistry"};
};

}  // namespace Zol::Services::TypeRegistry
