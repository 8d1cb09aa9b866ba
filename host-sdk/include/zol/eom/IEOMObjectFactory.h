// The engineering-object model's object factory.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::EOM {

/// ("Zol.EOM.IEOMObjectFactory")
class IEOMObjectFactoryInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"Zol.EOM.IEOMObjectFactory"};
};

}  // namespace Zol::EOM
