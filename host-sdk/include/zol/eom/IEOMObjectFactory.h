// Engineering objects (EOM objects) and the factory that wraps model objects in them.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::EOM {

/// An engineering object ("Zol.EOM.IEOMObject").
class IEOMObjectInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.EOM.IEOMObject"};
};

/// ("Zol.EOM.IEOMObjectFactory")
class IEOMObjectFactoryInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.EOM.IEOMObjectFactory"};
  /// The EOM object that wraps `object`; empty when none does.
  virtual ZolResult_24_8 wrap(const ZolIService& object, ZolSmartPointer<IEOMObjectInterface>& eomObject) = 0;
};

}  // namespace Zol::EOM
