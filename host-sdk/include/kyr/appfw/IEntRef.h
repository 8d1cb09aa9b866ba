// Entity-reference containers: one owner's entity ids grouped by type.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::appfw {

/// ("kyr.orla.appfw.IEntRefContainerFactory")
class IEntRefContainerFactoryInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IEntRefContainerFactory"};
};

}  // namespace kyr::orla::appfw
