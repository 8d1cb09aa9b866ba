// Entity-reference lists and their factory.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::PersistenceFW::CAEData {

/// ("Zol.PersistenceFW.CAEData.IEntityReferenceListFactory")
class IEntityReferenceListFactoryInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"Zol.PersistenceFW.CAEData.IEntityReferenceListFactory"};
};

}  // namespace Zol::PersistenceFW::CAEData
