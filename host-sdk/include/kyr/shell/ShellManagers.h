// The shell plug-in's managers: from its entities service to the current 3-D viewport.
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::plugin::shell {

/// A 3-D viewport ("kyr.orla.plugin.shell.IViewport").
class IViewportInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.plugin.shell.IViewport"};
};

/// ("kyr.orla.plugin.shell.IViewportManager")
class IViewportManagerInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.plugin.shell.IViewportManager"};
  /// The current viewport; empty when none is shown.
  virtual Zol::ZolResult_24_8 getCurrentViewport(ZolSmartPointer<IViewportInterface>& viewport) = 0;
};

/// Offered by the "kyr.orla.plugin.shell.ShellEntities" service ("kyr.orla.plugin.shell.IGetManagers").
class IGetManagersInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.plugin.shell.IGetManagers"};
  virtual Zol::ZolResult_24_8 getViewportManager(ZolSmartPointer<IViewportManagerInterface>& manager) = 0;
};

}  // namespace kyr::orla::plugin::shell
