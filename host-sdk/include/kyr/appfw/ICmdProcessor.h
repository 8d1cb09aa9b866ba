// The command processor: creates and runs host commands.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::appfw {

/// ("kyr.orla.appfw.ICmdProcessor")
class ICmdProcessorInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ICmdProcessor"};
};

}  // namespace kyr::orla::appfw
