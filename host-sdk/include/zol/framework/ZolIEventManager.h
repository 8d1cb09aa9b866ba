// The host event manager: domains, channels, listeners, publishing.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::Framework {

/// ("Zol.Framework.ZolIEventManager")
class ZolIEventManagerInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"Zol.Framework.ZolIEventManager"};
};

}  // namespace Zol::Framework
