// The root manager: resolves entity references and makes entity lists.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::appfw {

/// ("kyr.orla.appfw.IRootManager")
class IRootManagerInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IRootManager"};
};

}  // namespace kyr::orla::appfw
