// The base plug-in's model management, offered by the
// "kyr.orla.plugin.baseplugin.ModelManagement" service: writes the open
// model's pending changes to its store.
//
//   auto management = Zol::interfaceCastOrThrow<ZolIModelManagementInterface>(service);
//   if (management && management->flushModel().isOk()) ...
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::plugin::baseplugin {

/// ("kyr.orla.plugin.baseplugin.ZolIModelManagement")
class ZolIModelManagementInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.plugin.baseplugin.ZolIModelManagement"};
  /// Flushes the open model; fails when the model could not be written.
  virtual Zol::ZolResult_24_8 flushModel() = 0;
};

}  // namespace kyr::orla::plugin::baseplugin
