// The kernel's own services: the service manager, which hands out service
// ids, and kernel access, which holds the kernel logger slot. A host that
// provides its own kernel access installs it with setKernelAccessInterface_24_8.
//
//   std::uint64_t id = 1;
//   if (auto* manager = Zol::getServiceManagerInterface_24_8()) manager->allocateServiceId(id);
#pragma once

#include <cstdint>
#include <string>

#include "zol/kernel/ZolKernelExport.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::Framework::Logger {

/// A log sink of the host ("Zol.Framework.Logger.ZolILogger").
class ZolILoggerInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.Framework.Logger.ZolILogger"};
  virtual ZolResult_24_8 log(const std::string& text, std::int32_t severity) = 0;
};

}  // namespace Zol::Framework::Logger

namespace Zol {

/// The kernel's service manager ("Zol.ZolIServiceManager").
class ZolIServiceManagerInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.ZolIServiceManager"};
  /// Writes a fresh, process-unique service id (never 0 or 1).
  virtual ZolResult_24_8 allocateServiceId(std::uint64_t& id) = 0;
};

/// Access to kernel facilities ("Zol.ZolIKernelAccess").
class ZolIKernelAccessInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.ZolIKernelAccess"};
  /// The kernel logger; empty with a failure result when none is installed.
  virtual ZolResult_24_8 getLogger(ZolSmartPointer<Framework::Logger::ZolILoggerInterface>& logger) = 0;
  /// Installs the kernel logger (the host does this); empty uninstalls it.
  virtual void setLogger(const ZolSmartPointer<Framework::Logger::ZolILoggerInterface>& logger) = 0;
};

/// The kernel's service manager; never null.
ZOL_KERNEL_EXPORT ZolIServiceManagerInterface* getServiceManagerInterface_24_8();
/// The kernel's access interface: the one a host installed, else the
/// kernel's own; never null. Thread-safe.
ZOL_KERNEL_EXPORT ZolIKernelAccessInterface* getKernelAccessInterface_24_8();
/// Makes getKernelAccessInterface_24_8() answer `access` (the host keeps it
/// alive while installed); null restores the kernel's own. Thread-safe.
ZOL_KERNEL_EXPORT void setKernelAccessInterface_24_8(ZolIKernelAccessInterface* access);

}  // namespace Zol
