// The application framework's trash bin and the factory service that hands it out.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::appfw {

/// The trash bin ("kyr.orla.appfw.ZolITrashBin").
class ZolITrashBinInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ZolITrashBin"};
  /// Empties the bin for good: what was deleted can no longer be restored.
  virtual Zol::ZolResult_24_8 flush() = 0;
};

/// Offered by the "kyr.orla.appfw.TrashBinFW" service ("kyr.orla.appfw.ZolITrashBinFactory").
class ZolITrashBinFactoryInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ZolITrashBinFactory"};
  virtual Zol::ZolResult_24_8 getTrashBin(ZolSmartPointer<ZolITrashBinInterface>& trashBin) = 0;
};

}  // namespace kyr::orla::appfw
