// The application framework's access object: model name, modes, event publishing.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::appfw {

/// ("kyr.orla.appfw.IFrameworkAccess")
class IFrameworkAccessInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IFrameworkAccess"};
};

}  // namespace kyr::orla::appfw
